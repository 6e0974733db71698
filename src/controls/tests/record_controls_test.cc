// What only the plain record tells: where the focus is, the selected length and how a window
// was shown. The behaviour every backend shares is in control_contract_test.cc.
#include "controls/record_controls.h"

#include <gtest/gtest.h>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

class RecordControlsTest : public ::testing::Test {
  protected:
    RecordControls controls{mainWindowSpec(), phraseEditorSpec()};
};

TEST_F(RecordControlsTest, ReplacingTheSelectionGivesTheFocusAndLeavesNothingSelected) {
    controls.setText(kMainWindow, kTemplateEditor2, "甲乙丙丁"_gbk);
    controls.selectRange(kMainWindow, kTemplateEditor2, 1, 2);
    EXPECT_EQ(controls.selectionLength(kMainWindow, kTemplateEditor2), 2);
    controls.replaceSelection(kMainWindow, kTemplateEditor2, "#本篇标题#"_gbk);
    EXPECT_EQ(controls.selectionLength(kMainWindow, kTemplateEditor2), 0);
    EXPECT_EQ(controls.focus().window, std::string(kMainWindow));
    EXPECT_EQ(controls.focus().control, std::string(kTemplateEditor2));
    controls.setFocus(kMainWindow, "编辑框不存在"_gbk);
    EXPECT_EQ(controls.focus().control, std::string(kTemplateEditor2));
}

TEST_F(RecordControlsTest, RemembersHowAWindowWasShownAndDropsItsFocusOnClose) {
    const std::string_view w = kPhraseEditorWindow;
    controls.showWindow(w, false, kMainWindow);
    EXPECT_EQ(controls.ownerOf(w), std::string(kMainWindow));
    EXPECT_FALSE(controls.shownModal(w));
    controls.setFocus(w, kPhraseList);
    controls.closeWindow(w);
    EXPECT_EQ(controls.focus().window, "");
    controls.showWindow(w, true, "");
    EXPECT_TRUE(controls.shownModal(w));
}

}  // namespace
}  // namespace yelian
