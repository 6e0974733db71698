// What every backend of the control operations does alike; see control_contract.h.
#include "controls/tests/control_contract.h"

#include <string_view>
#include <utility>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "support/gbk_text.h"

namespace yelian::testing {
namespace {

using namespace yelian::literals;

std::string editorUtf8(const Controls& controls, std::string_view editor) {
    return gbkToUtf8(controls.text(kMainWindow, editor));
}

TEST_P(ControlContract, StartsInTheDesignState) {
    const Controls& c = *controls;
    EXPECT_EQ(c.text(kMainWindow, kYearFromEdit), "2012");
    EXPECT_TRUE(c.checked(kMainWindow, kCutContentCheck));
    EXPECT_FALSE(c.checked(kMainWindow, kReplaceTitleCheck));
    EXPECT_TRUE(c.checked(kMainWindow, kMostCommonRadio));
    EXPECT_EQ(c.selectedIndex(kMainWindow, kTitleSourceCombo), 1);
    EXPECT_EQ(c.itemCount(kMainWindow, kTitleSourceCombo), 3);
    EXPECT_EQ(c.text(kMainWindow, kTitleSourceCombo), "<title>网页标题</title>"_gbk);
    EXPECT_EQ(c.selectedIndex(kMainWindow, kTemplateTabs), 0);
    EXPECT_EQ(c.tagText(kMainWindow, kTemplateEditor1), "字节集方式"_gbk);
    EXPECT_FALSE(c.visible(kMainWindow, kKeywordListEdit));
    EXPECT_TRUE(c.visible(kMainWindow, kYearFromEdit));
    EXPECT_TRUE(c.enabled(kMainWindow, kYearFromEdit));
    EXPECT_EQ(c.caption(kMainWindow, ""),
              "澜川·页链站坊 v1.8.1.1 - 文章模板，自动上下篇、随机链接，一体化静态网站"_gbk);
    EXPECT_EQ(c.caption(kMainWindow, kImportFolderButton), "  导入目录生成"_gbk);
    EXPECT_EQ(c.caption(kMainWindow, kListSettingsPage), " 列表页设置 "_gbk);
    EXPECT_EQ(c.caption(kMainWindow, kRandomChineseGroup), "#随机汉字#"_gbk);
    EXPECT_EQ(c.caption(kMainWindow, kCounterMenuItem), "#递增#"_gbk);
    // Multi-line texts keep their CR LF line breaks.
    EXPECT_EQ(editorUtf8(c, kTemplateEditor2),
              "<title>#本篇标题#</title>\r\n<body>\r\n#导入的文件内容#\r\n</body>");
    EXPECT_NE(c.caption(kPhraseEditorWindow, kPhraseHintLabel).find("\r\n"), std::string::npos);
}

TEST_P(ControlContract, TextsSurviveTheRoundTrip) {
    Controls& c = *controls;
    for (std::string_view utf8 : {"a😀b", "甲\r\n\r\n乙\r\n", "", "x\r\ny"}) {
        c.setText(kMainWindow, kTemplateEditor3, utf8ToGbk(utf8));
        EXPECT_EQ(editorUtf8(c, kTemplateEditor3), utf8);
    }
    // A byte that is no GB18030 character comes back as it went.
    const std::string broken =
        "ab\x80"
        "cd";
    c.setText(kMainWindow, kCutHeadEdit, broken);
    EXPECT_EQ(c.text(kMainWindow, kCutHeadEdit), broken);
    c.setCaption(kMainWindow, kImportFilesButton, "正在导入.."_gbk);
    EXPECT_EQ(c.caption(kMainWindow, kImportFilesButton), "正在导入.."_gbk);
    c.setCaption(kMainWindow, "", "甲"_gbk);
    EXPECT_EQ(c.caption(kMainWindow, ""), "甲"_gbk);
    c.setCaption(kMainWindow, kTimeGroup, "#时间# - 2013"_gbk);
    EXPECT_EQ(c.caption(kMainWindow, kTimeGroup), "#时间# - 2013"_gbk);
}

// Selections count characters: a GBK character is two bytes, a GB18030 four-byte sequence one
// character, a CR LF line break two.
struct SelectionCase {
    const char* before;
    int start;
    int length;
    const char* inserted;
    const char* after;
    int caret;
};

const SelectionCase kSelectionCases[] = {
    {"甲乙丙丁", 1, 2, "#本篇标题#", "甲#本篇标题#丁", 7},
    {"甲乙", 0, 0, "#描述#", "#描述#甲乙", 4},
    {"ab甲", 3, 0, "乙", "ab甲乙", 4},
    {"a😀b", 1, 1, "甲", "a甲b", 2},
    {"a😀b", 2, 0, "x", "a😀xb", 3},
    {"甲乙", 1, -1, "", "甲", 1},
    {"甲乙", 9, 3, "丙", "甲乙丙", 3},
    {"", 0, 0, "甲\r\n乙", "甲\r\n乙", 4},
    {"a\r\nb", 3, 1, "c", "a\r\nc", 4},
};

TEST_P(ControlContract, ReplacesTheSelectedCharacters) {
    Controls& c = *controls;
    for (const SelectionCase& s : kSelectionCases) {
        SCOPED_TRACE(s.before);
        c.setText(kMainWindow, kTemplateEditor2, utf8ToGbk(s.before));
        c.selectRange(kMainWindow, kTemplateEditor2, s.start, s.length);
        c.replaceSelection(kMainWindow, kTemplateEditor2, utf8ToGbk(s.inserted));
        EXPECT_EQ(editorUtf8(c, kTemplateEditor2), s.after);
        EXPECT_EQ(c.selectionStart(kMainWindow, kTemplateEditor2), s.caret);
    }
}

TEST_P(ControlContract, SingleLineEditsSelectAsWell) {
    Controls& c = *controls;
    c.setText(kMainWindow, kTimeFormatEdit, "甲乙丙"_gbk);
    c.selectRange(kMainWindow, kTimeFormatEdit, 1, 1);
    EXPECT_EQ(c.selectionStart(kMainWindow, kTimeFormatEdit), 1);
    c.replaceSelection(kMainWindow, kTimeFormatEdit, "<年>"_gbk);
    EXPECT_EQ(c.text(kMainWindow, kTimeFormatEdit), "甲<年>丙"_gbk);
    EXPECT_EQ(c.selectionStart(kMainWindow, kTimeFormatEdit), 4);
}

TEST_P(ControlContract, SettingTheTextPutsTheCaretAtTheStart) {
    Controls& c = *controls;
    c.setText(kMainWindow, kTemplateEditor2, "甲乙"_gbk);
    c.selectRange(kMainWindow, kTemplateEditor2, 1, 1);
    c.setText(kMainWindow, kTemplateEditor2, "丙丁"_gbk);
    c.replaceSelection(kMainWindow, kTemplateEditor2, "x");
    EXPECT_EQ(editorUtf8(c, kTemplateEditor2), "x丙丁");
}

TEST_P(ControlContract, ListItemsKeepTheSelectionOnItsItem) {
    Controls& c = *controls;
    const std::string_view w = kPhraseEditorWindow;
    for (const char* item : {"a", "b", "c"}) c.addItem(w, kPhraseList, item);
    EXPECT_EQ(c.selectedIndex(w, kPhraseList), -1);
    c.setSelectedIndex(w, kPhraseList, 2);
    c.removeItem(w, kPhraseList, 0);
    EXPECT_EQ(c.selectedIndex(w, kPhraseList), 1);
    EXPECT_EQ(c.item(w, kPhraseList, 1), "c");
    c.removeItem(w, kPhraseList, 5);
    c.setItem(w, kPhraseList, -1, "x");
    EXPECT_EQ(c.itemCount(w, kPhraseList), 2);
    c.setItem(w, kPhraseList, 0, "甲"_gbk);
    EXPECT_EQ(c.item(w, kPhraseList, 0), "甲"_gbk);
    EXPECT_EQ(c.item(w, kPhraseList, 2), "");
    c.removeItem(w, kPhraseList, 1);
    EXPECT_EQ(c.selectedIndex(w, kPhraseList), -1);
    c.setSelectedIndex(w, kPhraseList, 1);
    EXPECT_EQ(c.selectedIndex(w, kPhraseList), -1);
    c.setSelectedIndex(w, kPhraseList, 0);
    c.clearItems(w, kPhraseList);
    EXPECT_EQ(c.itemCount(w, kPhraseList), 0);
    EXPECT_EQ(c.selectedIndex(w, kPhraseList), -1);
}

TEST_P(ControlContract, ListComboShowsItsSelectedItem) {
    Controls& c = *controls;
    c.setSelectedIndex(kMainWindow, kInputEncodingCombo, 2);
    EXPECT_EQ(c.text(kMainWindow, kInputEncodingCombo), "UTF-8");
    c.setText(kMainWindow, kInputEncodingCombo, "Big5");
    EXPECT_EQ(c.selectedIndex(kMainWindow, kInputEncodingCombo), 5);
    c.setText(kMainWindow, kInputEncodingCombo, "nothing like it");
    EXPECT_EQ(c.selectedIndex(kMainWindow, kInputEncodingCombo), 5);
    c.setSelectedIndex(kMainWindow, kInputEncodingCombo, 6);
    EXPECT_EQ(c.selectedIndex(kMainWindow, kInputEncodingCombo), -1);
    EXPECT_EQ(c.text(kMainWindow, kInputEncodingCombo), "");
}

TEST_P(ControlContract, EditableComboKeepsItsOwnText) {
    Controls& c = *controls;
    c.addItem(kMainWindow, kPhraseCombo, "a|b");
    c.addItem(kMainWindow, kPhraseCombo, "c|d");
    EXPECT_EQ(c.selectedIndex(kMainWindow, kPhraseCombo), -1);
    c.setText(kMainWindow, kPhraseCombo, "typed");
    EXPECT_EQ(c.text(kMainWindow, kPhraseCombo), "typed");
    c.addItem(kMainWindow, kPhraseCombo, "e|f");
    EXPECT_EQ(c.text(kMainWindow, kPhraseCombo), "typed");
    c.setSelectedIndex(kMainWindow, kPhraseCombo, 1);
    EXPECT_EQ(c.text(kMainWindow, kPhraseCombo), "c|d");
    c.clearItems(kMainWindow, kPhraseCombo);
    EXPECT_EQ(c.itemCount(kMainWindow, kPhraseCombo), 0);
    EXPECT_EQ(c.text(kMainWindow, kPhraseCombo), "");
    EXPECT_EQ(c.selectedIndex(kMainWindow, kPhraseCombo), -1);
}

TEST_P(ControlContract, TabControlStaysOnOneOfItsPages) {
    Controls& c = *controls;
    c.setSelectedIndex(kMainWindow, kTemplateTabs, 6);
    EXPECT_EQ(c.selectedIndex(kMainWindow, kTemplateTabs), 6);
    c.setSelectedIndex(kMainWindow, kTemplateTabs, 7);
    c.setSelectedIndex(kMainWindow, kTemplateTabs, -1);
    EXPECT_EQ(c.selectedIndex(kMainWindow, kTemplateTabs), 6);
}

TEST_P(ControlContract, CheckingARadioButtonUnchecksItsGroup) {
    Controls& c = *controls;
    c.setChecked(kMainWindow, kLessCommonRadio, true);
    EXPECT_FALSE(c.checked(kMainWindow, kMostCommonRadio));
    EXPECT_TRUE(c.checked(kMainWindow, kLessCommonRadio));
    c.setChecked(kMainWindow, kLessCommonRadio, false);
    EXPECT_FALSE(c.checked(kMainWindow, kLessCommonRadio));
    // Check boxes are independent.
    c.setChecked(kMainWindow, kDigitsCheck, true);
    EXPECT_TRUE(c.checked(kMainWindow, kLowercaseCheck));
}

TEST_P(ControlContract, StatesAreTheControlsOwn) {
    Controls& c = *controls;
    c.setEnabled(kMainWindow, kGenerateGroup, false);
    EXPECT_FALSE(c.enabled(kMainWindow, kGenerateGroup));
    // A control in a disabled group box keeps its own state.
    EXPECT_TRUE(c.enabled(kMainWindow, kImportFilesButton));
    c.setVisible(kMainWindow, kKeywordListEdit, true);
    EXPECT_TRUE(c.visible(kMainWindow, kKeywordListEdit));
    c.setReadOnly(kMainWindow, kCutHeadEdit, true);
    EXPECT_TRUE(c.readOnly(kMainWindow, kCutHeadEdit));
    c.setText(kMainWindow, kCutHeadEdit, "<div>");
    EXPECT_EQ(c.text(kMainWindow, kCutHeadEdit), "<div>");
    c.setTagText(kMainWindow, kImportFolderButton, "/home/甲"_gbk);
    EXPECT_EQ(c.tagText(kMainWindow, kImportFolderButton), "/home/甲"_gbk);
}

TEST_P(ControlContract, UnknownNamesReadEmptyAndIgnoreWrites) {
    Controls& c = *controls;
    for (auto [window, control] :
         {std::pair<std::string_view, std::string_view>{"nowhere", kYearFromEdit},
          {kMainWindow, "编辑框不存在"_gbk}}) {
        c.setText(window, control, "x");
        c.setChecked(window, control, true);
        c.setSelectedIndex(window, control, 0);
        c.addItem(window, control, "x");
        c.setEnabled(window, control, true);
        c.setVisible(window, control, true);
        c.setTagText(window, control, "x");
        c.replaceSelection(window, control, "x");
        c.setFocus(window, control);
        EXPECT_EQ(c.text(window, control), "");
        EXPECT_FALSE(c.checked(window, control));
        EXPECT_EQ(c.selectedIndex(window, control), -1);
        EXPECT_EQ(c.itemCount(window, control), 0);
        EXPECT_EQ(c.item(window, control, 0), "");
        EXPECT_FALSE(c.enabled(window, control));
        EXPECT_FALSE(c.visible(window, control));
        EXPECT_EQ(c.tagText(window, control), "");
        EXPECT_EQ(c.selectionStart(window, control), 0);
    }
    EXPECT_TRUE(c.controlsOf("nowhere").empty());
    c.showWindow("nowhere", false, "");
    EXPECT_FALSE(c.windowExists("nowhere"));
}

TEST_P(ControlContract, WritesGoOnlyToControlsOfTheirKind) {
    Controls& c = *controls;
    c.setChecked(kMainWindow, kYearFromEdit, true);
    EXPECT_FALSE(c.checked(kMainWindow, kYearFromEdit));
    c.addItem(kMainWindow, kYearFromEdit, "x");
    EXPECT_EQ(c.itemCount(kMainWindow, kYearFromEdit), 0);
    c.replaceSelection(kMainWindow, kImportFilesButton, "x");
    EXPECT_EQ(c.caption(kMainWindow, kImportFilesButton), "批量导入多个文件生成.."_gbk);
}

TEST_P(ControlContract, ControlsOfListsTheDesignOrderWithoutTheWindow) {
    const std::vector<ControlInfo> all = controls->controlsOf(kMainWindow);
    ASSERT_EQ(all.size(), mainWindowSpec().controls.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].name, mainWindowSpec().controls[i].name);
        EXPECT_EQ(all[i].kind, mainWindowSpec().controls[i].kind);
    }
}

TEST_P(ControlContract, WindowsExistWhileShownAndReopenInTheirDesignState) {
    Controls& c = *controls;
    const std::string_view w = kPhraseEditorWindow;
    EXPECT_FALSE(c.windowExists(w));
    c.showWindow(kMainWindow, false, "");
    c.showWindow(w, false, kMainWindow);
    EXPECT_TRUE(c.windowExists(w));
    c.addItem(w, kPhraseList, "a");
    c.closeWindow(w);
    EXPECT_FALSE(c.windowExists(w));
    EXPECT_TRUE(c.windowExists(kMainWindow));
    c.showWindow(w, false, kMainWindow);
    EXPECT_EQ(c.itemCount(w, kPhraseList), 0);
}

}  // namespace
}  // namespace yelian::testing
