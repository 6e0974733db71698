// The random-phrase editor's control names and table.
#pragma once

#include "controls/main_window_names.h"
#include "controls/window_table.h"
#include "support/gbk_text.h"

namespace yelian {

inline constexpr GbkConstant<"标签2"> kPhraseHintLabel;
inline constexpr GbkConstant<"标签3"> kPhraseListLabel;
inline constexpr GbkConstant<"按钮添加"> kPhraseAddButton;
inline constexpr GbkConstant<"按钮删除"> kPhraseDeleteButton;
inline constexpr GbkConstant<"按钮修改"> kPhraseModifyButton;
inline constexpr GbkConstant<"按钮清空"> kPhraseClearButton;
inline constexpr GbkConstant<"列表框词组列表"> kPhraseList;

// Built once on first use; the window is named kPhraseEditorWindow.
const WindowSpec& phraseEditorSpec();

}  // namespace yelian
