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

    void setEditor(std::string_view utf8Text) {
        controls.setText(kMainWindow, kTemplateEditor2, utf8ToGbk(utf8Text));
    }
    std::string editorUtf8() const {
        return gbkToUtf8(controls.text(kMainWindow, kTemplateEditor2));
    }
};

TEST_F(RecordControlsTest, StartsInTheDesignState) {
    EXPECT_EQ(controls.text(kMainWindow, kYearFromEdit), "2012");
    EXPECT_TRUE(controls.checked(kMainWindow, kCutContentCheck));
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kTitleSourceCombo), 1);
    EXPECT_EQ(controls.text(kMainWindow, kTitleSourceCombo), "<title>网页标题</title>"_gbk);
    EXPECT_EQ(controls.tagText(kMainWindow, kTemplateEditor1), "字节集方式"_gbk);
    EXPECT_FALSE(controls.visible(kMainWindow, kKeywordListEdit));
    EXPECT_EQ(controls.caption(kMainWindow, ""),
              "澜川·页链站坊 v1.8.1.1 - 文章模板，自动上下篇、随机链接，一体化静态网站"_gbk);
    EXPECT_EQ(controls.caption(kMainWindow, kImportFolderButton), "  导入目录生成"_gbk);
}

// Selections count characters: a GBK character is two bytes, a GB18030 four-byte sequence one
// character.
struct SelectionCase {
    const char* before;
    int start;
    int length;
    const char* inserted;
    const char* after;
    int caret;
};

class SelectionReplace : public RecordControlsTest,
                         public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionReplace, ReplacesTheSelectedCharacters) {
    const SelectionCase& c = GetParam();
    setEditor(c.before);
    controls.selectRange(kMainWindow, kTemplateEditor2, c.start, c.length);
    controls.replaceSelection(kMainWindow, kTemplateEditor2, utf8ToGbk(c.inserted));
    EXPECT_EQ(editorUtf8(), c.after);
    EXPECT_EQ(controls.selectionStart(kMainWindow, kTemplateEditor2), c.caret);
    EXPECT_EQ(controls.selectionLength(kMainWindow, kTemplateEditor2), 0);
    EXPECT_EQ(controls.focus().window, std::string(kMainWindow));
    EXPECT_EQ(controls.focus().control, std::string(kTemplateEditor2));
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectionReplace,
                         ::testing::Values(SelectionCase{"甲乙丙丁", 1, 2, "#本篇标题#",
                                                         "甲#本篇标题#丁", 7},
                                           SelectionCase{"甲乙", 0, 0, "#描述#", "#描述#甲乙", 4},
                                           SelectionCase{"ab甲", 3, 0, "乙", "ab甲乙", 4},
                                           SelectionCase{"a😀b", 1, 1, "甲", "a甲b", 2},
                                           SelectionCase{"a😀b", 2, 0, "x", "a😀xb", 3},
                                           SelectionCase{"甲乙", 1, -1, "", "甲", 1},
                                           SelectionCase{"甲乙", 9, 3, "丙", "甲乙丙", 3},
                                           SelectionCase{"", 0, 0, "甲\r\n乙", "甲\r\n乙", 4}));

TEST_F(RecordControlsTest, SettingTheTextPutsTheCaretAtTheStart) {
    setEditor("甲乙");
    controls.selectRange(kMainWindow, kTemplateEditor2, 1, 1);
    setEditor("丙丁");
    controls.replaceSelection(kMainWindow, kTemplateEditor2, "x");
    EXPECT_EQ(editorUtf8(), "x丙丁");
}

TEST_F(RecordControlsTest, ListItemsKeepTheSelectionOnItsItem) {
    const std::string_view w = kPhraseEditorWindow;
    for (const char* item : {"a", "b", "c"}) controls.addItem(w, kPhraseList, item);
    controls.setSelectedIndex(w, kPhraseList, 2);
    controls.removeItem(w, kPhraseList, 0);
    EXPECT_EQ(controls.selectedIndex(w, kPhraseList), 1);
    EXPECT_EQ(controls.item(w, kPhraseList, 1), "c");
    controls.removeItem(w, kPhraseList, 5);
    controls.setItem(w, kPhraseList, -1, "x");
    EXPECT_EQ(controls.itemCount(w, kPhraseList), 2);
    controls.setItem(w, kPhraseList, 0, "甲"_gbk);
    EXPECT_EQ(controls.item(w, kPhraseList, 0), "甲"_gbk);
    EXPECT_EQ(controls.item(w, kPhraseList, 2), "");
    controls.removeItem(w, kPhraseList, 1);
    EXPECT_EQ(controls.selectedIndex(w, kPhraseList), -1);
    controls.setSelectedIndex(w, kPhraseList, 1);
    EXPECT_EQ(controls.selectedIndex(w, kPhraseList), -1);
}

TEST_F(RecordControlsTest, ListComboShowsItsSelectedItem) {
    controls.setSelectedIndex(kMainWindow, kInputEncodingCombo, 2);
    EXPECT_EQ(controls.text(kMainWindow, kInputEncodingCombo), "UTF-8");
    controls.setText(kMainWindow, kInputEncodingCombo, "Big5");
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kInputEncodingCombo), 5);
    controls.setText(kMainWindow, kInputEncodingCombo, "nothing like it");
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kInputEncodingCombo), 5);
    controls.setSelectedIndex(kMainWindow, kInputEncodingCombo, 6);
    EXPECT_EQ(controls.text(kMainWindow, kInputEncodingCombo), "");
}

TEST_F(RecordControlsTest, EditableComboKeepsItsOwnText) {
    controls.addItem(kMainWindow, kPhraseCombo, "a|b");
    controls.addItem(kMainWindow, kPhraseCombo, "c|d");
    controls.setText(kMainWindow, kPhraseCombo, "typed");
    EXPECT_EQ(controls.text(kMainWindow, kPhraseCombo), "typed");
    controls.setSelectedIndex(kMainWindow, kPhraseCombo, 1);
    EXPECT_EQ(controls.text(kMainWindow, kPhraseCombo), "c|d");
    controls.clearItems(kMainWindow, kPhraseCombo);
    EXPECT_EQ(controls.itemCount(kMainWindow, kPhraseCombo), 0);
    EXPECT_EQ(controls.text(kMainWindow, kPhraseCombo), "");
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kPhraseCombo), -1);
}

TEST_F(RecordControlsTest, TabControlStaysOnOneOfItsPages) {
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, 6);
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kTemplateTabs), 6);
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, 7);
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, -1);
    EXPECT_EQ(controls.selectedIndex(kMainWindow, kTemplateTabs), 6);
}

TEST_F(RecordControlsTest, CheckingARadioButtonUnchecksItsGroup) {
    controls.setChecked(kMainWindow, kLessCommonRadio, true);
    EXPECT_FALSE(controls.checked(kMainWindow, kMostCommonRadio));
    EXPECT_TRUE(controls.checked(kMainWindow, kLessCommonRadio));
    controls.setChecked(kMainWindow, kLessCommonRadio, false);
    EXPECT_FALSE(controls.checked(kMainWindow, kLessCommonRadio));
    // Check boxes are independent.
    controls.setChecked(kMainWindow, kDigitsCheck, true);
    EXPECT_TRUE(controls.checked(kMainWindow, kLowercaseCheck));
}

TEST_F(RecordControlsTest, UnknownNamesReadEmptyAndIgnoreWrites) {
    for (auto [window, control] :
         {std::pair<std::string_view, std::string_view>{"nowhere", kYearFromEdit},
          {kMainWindow, "编辑框不存在"_gbk}}) {
        controls.setText(window, control, "x");
        controls.setChecked(window, control, true);
        controls.setSelectedIndex(window, control, 0);
        controls.addItem(window, control, "x");
        controls.setEnabled(window, control, true);
        controls.setVisible(window, control, true);
        controls.setTagText(window, control, "x");
        controls.replaceSelection(window, control, "x");
        controls.setFocus(window, control);
        EXPECT_EQ(controls.text(window, control), "");
        EXPECT_FALSE(controls.checked(window, control));
        EXPECT_EQ(controls.selectedIndex(window, control), -1);
        EXPECT_EQ(controls.itemCount(window, control), 0);
        EXPECT_EQ(controls.item(window, control, 0), "");
        EXPECT_FALSE(controls.enabled(window, control));
        EXPECT_FALSE(controls.visible(window, control));
        EXPECT_EQ(controls.tagText(window, control), "");
        EXPECT_EQ(controls.selectionStart(window, control), 0);
        EXPECT_EQ(controls.focus().control, "");
    }
    EXPECT_TRUE(controls.controlsOf("nowhere").empty());
    controls.showWindow("nowhere", false, "");
    EXPECT_FALSE(controls.windowExists("nowhere"));
}

TEST_F(RecordControlsTest, WritesGoOnlyToControlsOfTheirKind) {
    controls.setChecked(kMainWindow, kYearFromEdit, true);
    EXPECT_FALSE(controls.checked(kMainWindow, kYearFromEdit));
    controls.addItem(kMainWindow, kYearFromEdit, "x");
    EXPECT_EQ(controls.itemCount(kMainWindow, kYearFromEdit), 0);
    controls.replaceSelection(kMainWindow, kImportFilesButton, "x");
    EXPECT_EQ(controls.caption(kMainWindow, kImportFilesButton), "批量导入多个文件生成.."_gbk);
}

TEST_F(RecordControlsTest, ControlsOfListsTheDesignOrderWithoutTheWindow) {
    const std::vector<ControlInfo> all = controls.controlsOf(kMainWindow);
    ASSERT_EQ(all.size(), mainWindowSpec().controls.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].name, mainWindowSpec().controls[i].name);
        EXPECT_EQ(all[i].kind, mainWindowSpec().controls[i].kind);
    }
}

TEST_F(RecordControlsTest, WindowsExistWhileShownAndReopenInTheirDesignState) {
    const std::string_view w = kPhraseEditorWindow;
    EXPECT_FALSE(controls.windowExists(w));
    controls.showWindow(w, false, kMainWindow);
    EXPECT_TRUE(controls.windowExists(w));
    EXPECT_EQ(controls.ownerOf(w), std::string(kMainWindow));
    EXPECT_FALSE(controls.shownModal(w));
    controls.addItem(w, kPhraseList, "a");
    controls.setFocus(w, kPhraseList);
    controls.closeWindow(w);
    EXPECT_FALSE(controls.windowExists(w));
    EXPECT_EQ(controls.focus().window, "");
    controls.showWindow(w, true, "");
    EXPECT_TRUE(controls.shownModal(w));
    EXPECT_EQ(controls.itemCount(w, kPhraseList), 0);
}

}  // namespace
}  // namespace yelian
