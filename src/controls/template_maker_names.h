// The template maker's control names that the main window's handlers use: its code editor takes
// the main window's tags while the window is open, and its paste and copy buttons move the
// template through the clipboard.
#pragma once

#include "controls/main_window_names.h"
#include "support/gbk_text.h"

namespace yelian {

inline constexpr GbkConstant<"编辑框模板代码"> kTemplateCodeEdit;
inline constexpr GbkConstant<"按钮粘贴"> kTemplatePasteButton;
inline constexpr GbkConstant<"按钮复制"> kTemplateCopyButton;

}  // namespace yelian
