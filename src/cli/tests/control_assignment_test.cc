#include "cli/control_assignment.h"

#include <gtest/gtest.h>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

TEST(ControlAssignment, SetsEachKindOfControl) {
    RecordControls controls{mainWindowSpec()};
    EXPECT_FALSE(assignControl(controls, "编辑框目录过滤", "*.txt"));
    EXPECT_EQ(controls.text(kMainWindow, kFolderFilterEdit), "*.txt");
    for (const auto& [value, checked] :
         std::vector<std::pair<const char*, bool>>{{"真", true},
                                                   {"假", false},
                                                   {"1", true},
                                                   {"0", false},
                                                   {"TRUE", true},
                                                   {"false", false}}) {
        EXPECT_FALSE(assignControl(controls, "选择框按顺序", value)) << value;
        EXPECT_EQ(controls.checked(kMainWindow, kOrderedCheck), checked) << value;
    }
    EXPECT_FALSE(assignControl(controls, "单选框一般常用", "1"));
    EXPECT_TRUE(controls.checked(kMainWindow, kCommonRadio));
    EXPECT_FALSE(controls.checked(kMainWindow, kMostCommonRadio));
    EXPECT_FALSE(assignControl(controls, "组合框输出编码", "2"));
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kOutputEncodingCombo), 2);
    EXPECT_FALSE(assignControl(controls, "选择夹模板", "6"));
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kTemplateTabs), 6);
    EXPECT_TRUE(assignControl(controls, "选择夹模板", "7"));
    EXPECT_TRUE(assignControl(controls, "组合框输出编码", "1.5"));
}

// The phrase group's combo box takes any text, as its edit part does in the window.
TEST(ControlAssignment, EditableComboTakesItsText) {
    RecordControls controls{mainWindowSpec()};
    EXPECT_FALSE(assignControl(controls, "组合框词", "词甲|词乙"));
    EXPECT_EQ(controls.text(kMainWindow, kPhraseCombo), "词甲|词乙"_gbk);
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kPhraseCombo), -1);
}

// A keyword list typed in a shell has bare LF; the run splits it at CR LF.
TEST(ControlAssignment, EditBoxLinesGetCrLfOnce) {
    RecordControls controls{mainWindowSpec()};
    EXPECT_FALSE(assignControl(controls, "编辑框关键词", "甲\n乙\r\n丙\n"));
    EXPECT_EQ(controls.text(kMainWindow, kKeywordListEdit), "甲\r\n乙\r\n丙\r\n"_gbk);
}

}  // namespace
}  // namespace yelian
