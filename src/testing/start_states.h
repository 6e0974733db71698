// The main window's controls whose enabled state at the start the design fixes: the ones that
// wait for a tick or a choice, and the cut controls that are on from the first moment. The
// tests of every backend check the same lists.
#pragma once

#include <array>
#include <string_view>

#include "controls/main_window_names.h"

namespace yelian::testing {

inline const std::array<std::string_view, 10> kDisabledAtStart = {
    kArticlesPerListPageEdit, kExtensionEdit,     kTitlePatternEdit,  kTitleReplacementEdit,
    kUseRegexCheck,           kPhraseCombo,       kEditPhrasesButton, kInsertCountMinEdit,
    kInsertCountMaxEdit,      kDropFirstLineCheck};

inline const std::array<std::string_view, 3> kEnabledAtStart = {kCutHeadEdit, kCutTailEdit,
                                                                kCutFallbackCheck};

}  // namespace yelian::testing
