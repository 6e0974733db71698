// The main window's dependent controls and dropped files.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "shell/main_window.h"
#include "support/gbk_text.h"
#include "testing/start_states.h"

namespace yelian {
namespace {

using namespace yelian::literals;

class MainWindowTest : public ::testing::Test {
  protected:
    bool enabled(std::string_view name) const { return controls.enabled(kMainWindow, name); }

    RecordControls controls{mainWindowSpec()};
};

TEST_F(MainWindowTest, DesignStatesEnableOnlyTheCutControlsAtStart) {
    bringDependentControlsInLine(controls);
    for (std::string_view name : testing::kDisabledAtStart) {
        EXPECT_FALSE(enabled(name)) << gbkToUtf8(name);
    }
    for (std::string_view name : testing::kEnabledAtStart) {
        EXPECT_TRUE(enabled(name)) << gbkToUtf8(name);
    }
}

struct DependentRule {
    const char* name;
    std::string_view trigger;
    void (*handler)(Controls&);
    std::vector<std::string_view> dependents;
};

TEST_F(MainWindowTest, EachCheckBoxEnablesItsDependentsExactlyWhileChecked) {
    const std::vector<DependentRule> rules = {
        {"cut",
         kCutContentCheck,
         onCutContentClicked,
         {kCutFallbackCheck, kCutHeadEdit, kCutTailEdit}},
        {"extension", kExtensionCheck, onExtensionClicked, {kExtensionEdit}},
        {"replace title",
         kReplaceTitleCheck,
         onReplaceTitleClicked,
         {kTitlePatternEdit, kTitleReplacementEdit, kUseRegexCheck}},
        {"list pages", kListPagesCheck, onListPagesClicked, {kArticlesPerListPageEdit}},
        {"insertion",
         kInsertPhrasesCheck,
         onInsertPhrasesClicked,
         {kPhraseCombo, kEditPhrasesButton, kInsertCountMinEdit, kInsertCountMaxEdit}},
    };
    for (const DependentRule& rule : rules) {
        for (bool on : {true, false, true}) {
            controls.setChecked(kMainWindow, rule.trigger, on);
            rule.handler(controls);
            for (std::string_view dependent : rule.dependents) {
                EXPECT_EQ(enabled(dependent), on) << rule.name << ": " << gbkToUtf8(dependent);
            }
        }
    }
}

TEST_F(MainWindowTest, OnlyTheFirstLineTitleSourceEnablesDroppingTheFirstLine) {
    for (int source : {2, 0, 1, 2}) {
        controls.setSelectedIndex(kMainWindow, kTitleSourceCombo, source);
        onTitleSourceChanged(controls);
        EXPECT_EQ(enabled(kDropFirstLineCheck), source == 2) << source;
    }
}

TEST_F(MainWindowTest, DroppedFilesGoToTheSelectedEditorButNotToASettingsPage) {
    const RecordControls design{mainWindowSpec()};
    for (int page : {5, 6}) {
        controls.setSelectedIndex(kMainWindow, kTemplateTabs, page);
        onFilesDropped(controls, {"/a/三.txt"_gbk});
        for (std::string_view editor : templateEditors()) {
            EXPECT_EQ(controls.text(kMainWindow, editor), design.text(kMainWindow, editor));
        }
    }
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, 2);
    onFilesDropped(controls, {"/文章/模板.htm"_gbk});
    EXPECT_EQ(controls.text(kMainWindow, kTemplateEditor3), "/文章/模板.htm"_gbk);
    // Several files each end with a line break.
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, 0);
    onFilesDropped(controls, {"/a/一.txt"_gbk, "/a/二.txt"_gbk});
    EXPECT_EQ(controls.text(kMainWindow, kTemplateEditor1), "/a/一.txt\r\n/a/二.txt\r\n"_gbk);
}

}  // namespace
}  // namespace yelian
