// The multi-line input dialog's control names and table.
#pragma once

#include "controls/main_window_names.h"
#include "controls/window_table.h"
#include "support/gbk_text.h"

namespace yelian {

inline constexpr GbkConstant<"编辑框提示"> kInputPromptEdit;
inline constexpr GbkConstant<"编辑框正文"> kInputTextEdit;
inline constexpr GbkConstant<"外形框"> kInputToolbarFrame;
inline constexpr GbkConstant<"按钮恢复"> kInputRestoreButton;
inline constexpr GbkConstant<"按钮清空"> kInputClearButton;
inline constexpr GbkConstant<"按钮粘贴"> kInputPasteButton;
inline constexpr GbkConstant<"按钮确定"> kInputOkButton;
inline constexpr GbkConstant<"按钮取消"> kInputCancelButton;

// Built once on first use; the window is named kInputDialogWindow. The dialog sets its caption,
// prompt and text each time it opens and recomputes the layout, so the table gives the design
// state only.
const WindowSpec& inputDialogSpec();

}  // namespace yelian
