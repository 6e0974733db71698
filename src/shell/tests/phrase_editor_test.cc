// The random-phrase editor: the list loaded and stored around one opening, its buttons and the
// double-click that hands a group to the main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/startup.h"
#include "shell/tests/desktop_session.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "taggen/phrase_groups.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::DesktopSession;
using testing::TempDir;

class PhraseEditorTest : public ::testing::Test {
  protected:
    PhraseEditorTest() {
        startProgram(s.app, fromNativePath(dir.path()));
        s.controls.setChecked(kMainWindow, kInsertPhrasesCheck, true);
        s.click(kInsertPhrasesCheck);
    }

    void open() {
        ASSERT_TRUE(s.click(kEditPhrasesButton));
        ASSERT_TRUE(s.controls.windowExists(kPhraseEditorWindow));
    }
    void openWith(const std::vector<std::string>& groups, int selected) {
        savePhraseGroups(s.app.settings(), s.app.ui(), groups, selected);
        open();
    }
    void close() { s.send(kPhraseEditorWindow, {}, ControlEvent::Closing); }
    bool press(std::string_view button) { return s.click(button, kPhraseEditorWindow); }
    std::vector<std::string> items() const {
        std::vector<std::string> list;
        for (int i = 0; i < s.controls.itemCount(kPhraseEditorWindow, kPhraseList); ++i) {
            list.push_back(s.controls.item(kPhraseEditorWindow, kPhraseList, i));
        }
        return list;
    }
    int selected() const { return s.controls.selectedIndex(kPhraseEditorWindow, kPhraseList); }
    void select(int index) { s.controls.setSelectedIndex(kPhraseEditorWindow, kPhraseList, index); }

    TempDir dir;
    DesktopSession s;
};

TEST_F(PhraseEditorTest, FirstUseShowsAnEmptyListOwnedByTheMainWindow) {
    open();
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(selected(), -1);
    EXPECT_FALSE(s.controls.shownModal(kPhraseEditorWindow));
    EXPECT_EQ(s.controls.ownerOf(kPhraseEditorWindow), kMainWindow.str());
}

TEST_F(PhraseEditorTest, DeletingKeepsASelectionAtTheSamePlace) {
    openWith({"a", "b", "c"}, 2);
    EXPECT_EQ(selected(), 2);
    press(kPhraseDeleteButton);
    EXPECT_EQ(items(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(selected(), 1);
    select(0);
    press(kPhraseDeleteButton);
    EXPECT_EQ(items(), std::vector<std::string>{"b"});
    EXPECT_EQ(selected(), 0);
    press(kPhraseDeleteButton);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(selected(), -1);
    press(kPhraseDeleteButton);
    EXPECT_EQ(s.desktop.messageTextsUtf8(), std::vector<std::string>{"请先选择一个项目再删除"});
}

TEST_F(PhraseEditorTest, AddAndModifyGoThroughTheDialogAndCancelChangesNothing) {
    openWith({"a|b"}, -1);
    press(kPhraseModifyButton);
    EXPECT_EQ(s.desktop.messageTextsUtf8(), std::vector<std::string>{"请先选择一个项目再修改"});

    s.whileModal([this] {
        EXPECT_TRUE(s.text(kInputDialogWindow, kInputTextEdit).starts_with("词1|词2|词3|"_gbk));
        EXPECT_EQ(s.controls.ownerOf(kInputDialogWindow), "");
        EXPECT_EQ(s.text(kInputDialogWindow, kInputPromptEdit), "");
        s.click(kInputCancelButton, kInputDialogWindow);
    });
    press(kPhraseAddButton);
    EXPECT_EQ(items(), std::vector<std::string>{"a|b"});

    s.confirmDialogWith("x|y\r\nz|w");
    press(kPhraseAddButton);
    EXPECT_EQ(selected(), -1);
    select(0);
    s.cancelDialog();
    press(kPhraseModifyButton);
    s.whileModal([this] {
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), "a|b");
        s.controls.setText(kInputDialogWindow, kInputTextEdit, "a|c");
        s.click(kInputOkButton, kInputDialogWindow);
    });
    press(kPhraseModifyButton);
    EXPECT_EQ(items(), (std::vector<std::string>{"a|c", "x|y\r\nz|w"}));

    // The group with a line break comes back as two.
    close();
    EXPECT_FALSE(s.controls.windowExists(kPhraseEditorWindow));
    open();
    EXPECT_EQ(items(), (std::vector<std::string>{"a|c", "x|y", "z|w"}));
    EXPECT_EQ(selected(), 0);
    EXPECT_FALSE(s.modalActionsLeft());
}

TEST_F(PhraseEditorTest, ClearingAndClosingStoresAnEmptyList) {
    openWith({"a", "b"}, 0);
    s.controls.setText(kMainWindow, kPhraseCombo, "typed");
    s.desktop.answerMessage(MessageAnswer::Cancel);
    s.desktop.answerMessage(MessageAnswer::Ok);
    press(kPhraseClearButton);
    EXPECT_EQ(items().size(), 2u);
    press(kPhraseClearButton);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(s.desktop.messageTextsUtf8().back(), "确定要清空全部项目吗？");
    close();
    EXPECT_TRUE(storedPhraseGroups(s.app.settings()).empty());
    EXPECT_EQ(s.controls.itemCount(kMainWindow, kPhraseCombo), 0);
    // The combo box shows the stored current group, which nothing has stored yet.
    EXPECT_EQ(s.text(kMainWindow, kPhraseCombo), "");
}

TEST_F(PhraseEditorTest, DoubleClickingHandsTheGroupToTheMainWindowAndCloses) {
    openWith({"甲|乙"_gbk, "丙|丁"_gbk}, 0);
    s.controls.setText(kMainWindow, kPhraseCombo, "甲|乙"_gbk);
    select(1);
    EXPECT_TRUE(s.send(kPhraseEditorWindow, kPhraseList, ControlEvent::DoubleClicked));
    EXPECT_FALSE(s.controls.windowExists(kPhraseEditorWindow));
    EXPECT_EQ(s.text(kMainWindow, kPhraseCombo), "丙|丁"_gbk);
    EXPECT_EQ(s.controls.itemCount(kMainWindow, kPhraseCombo), 2);
    EXPECT_EQ(storedPhraseGroupIndex(s.app.settings(), -5), 1);
}

}  // namespace
}  // namespace yelian
