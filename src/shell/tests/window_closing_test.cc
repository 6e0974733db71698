// Closing windows while handlers run inside other handlers: the main window closed during a
// run or while a dialog is open, a second click that stops a run, and the phrase editor
// closed while its dialog is open.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/import_handlers.h"
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
using testing::readBytes;
using testing::TempDir;

class WindowClosingTest : public ::testing::Test {
  protected:
    WindowClosingTest() {
        startProgram(s.app, fromNativePath(program.path()));
        s.controls.setChecked(kMainWindow, kOrderedCheck, true);
        s.controls.setSelectedIndex(kMainWindow, kTemplateTabs, 1);
        for (int i = 0; i < 10; ++i) {
            const std::string name = "a" + std::to_string(i) + ".htm";
            articleDir.write(name, "<title>t</title>x");
            articles.push_back(fromNativePath(articleDir.path() / name));
        }
    }

    std::filesystem::path output() const { return articleDir.path() / "单页目录"; }
    int pagesWritten() const {
        if (!std::filesystem::exists(output())) return 0;
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(output())) {
            count += entry.is_regular_file() ? 1 : 0;
        }
        return count;
    }
    std::string settings() const {
        return gbkToUtf8(readBytes(program.path() / "澜川·页链站坊.ini"));
    }
    bool mainOpen() const { return s.controls.windowExists(kMainWindow); }
    void closeMain() { s.send(kMainWindow, {}, ControlEvent::Closing); }
    // Runs the handler once, at the first processed event after three pages were written.
    void afterThreePages(std::function<void()> act) {
        s.desktop.onProcessEvents([this, act = std::move(act), done = false]() mutable {
            if (done || pagesWritten() < 3) return;
            done = true;
            act();
        });
    }

    TempDir program;
    TempDir articleDir;
    DesktopSession s;
    std::vector<std::string> articles;
};

TEST_F(WindowClosingTest, ASecondClickStopsTheRunAfterTheArticleInProgress) {
    s.desktop.answerFiles(articles);
    s.desktop.answerMessage(MessageAnswer::No);
    afterThreePages([this] {
        s.click(kImportFilesButton);
        EXPECT_EQ(s.controls.caption(kMainWindow, kImportFilesButton), kImportFilesStopping.str());
    });
    s.click(kImportFilesButton);
    EXPECT_EQ(pagesWritten(), 3);
    ASSERT_EQ(s.desktop.messages().size(), 1u);
    EXPECT_TRUE(s.desktop.messageTextsUtf8()[0].starts_with("耗时 "));
    EXPECT_EQ(s.controls.caption(kMainWindow, kImportFilesButton), kImportFilesIdle.str());
    EXPECT_TRUE(mainOpen());
}

TEST_F(WindowClosingTest, ClosingDuringARunStopsItThenSavesOnceAndCloses) {
    s.desktop.answerFiles(articles);
    s.controls.setText(kMainWindow, kArticlesPerListPageEdit, "17");
    const std::string before = settings();
    int lateEvents = 0;
    afterThreePages([this, before, &lateEvents] {
        closeMain();
        // Nothing is saved or closed under the running loop.
        EXPECT_TRUE(mainOpen());
        EXPECT_EQ(settings(), before);
        EXPECT_TRUE(s.app.stopRequested());
        // The close box again, and a click on a handler: the close is already on its way.
        closeMain();
        EXPECT_TRUE(mainOpen());
        s.desktop.onProcessEvents([this, &lateEvents] {
            if (s.app.windowActivity().closeState(kMainWindow) != CloseState::InProgress) {
                return;
            }
            ++lateEvents;
            // Events that arrive while the close saves come too late.
            closeMain();
            EXPECT_TRUE(mainOpen());
            EXPECT_TRUE(s.click(kSaveSettingsLink));
        });
    });
    s.click(kImportFilesButton);

    EXPECT_EQ(pagesWritten(), 3);
    EXPECT_FALSE(mainOpen());
    EXPECT_GT(lateEvents, 0);
    // No report: the user has left.
    EXPECT_TRUE(s.desktop.messages().empty());
    EXPECT_NE(settings().find("编辑框分页=17"), std::string::npos) << settings();
    // A close box after the window has gone does nothing.
    closeMain();
    EXPECT_TRUE(s.desktop.messages().empty());
}

TEST_F(WindowClosingTest, ClosingWithTheKeywordDialogOpenEndsItUnansweredFirst) {
    const std::string keywords = s.text(kMainWindow, kKeywordListEdit);
    s.whileModal([this] {
        s.controls.setText(kInputDialogWindow, kInputTextEdit, "未确认");
        closeMain();
        EXPECT_FALSE(s.controls.windowExists(kInputDialogWindow));
        EXPECT_TRUE(mainOpen());
    });
    s.click(kEnterKeywordsButton);
    EXPECT_FALSE(mainOpen());
    EXPECT_EQ(s.text(kMainWindow, kKeywordListEdit), keywords);
    EXPECT_TRUE(s.desktop.messages().empty());
}

TEST_F(WindowClosingTest, ThePhraseEditorClosedDuringItsDialogClosesAfterItAndSaves) {
    s.click(kEditPhrasesButton);
    s.whileModal([this] {
        s.send(kPhraseEditorWindow, {}, ControlEvent::Closing);
        EXPECT_TRUE(s.controls.windowExists(kPhraseEditorWindow));
        s.controls.setText(kInputDialogWindow, kInputTextEdit, "新|组");
        s.click(kInputOkButton, kInputDialogWindow);
    });
    s.click(kPhraseAddButton, kPhraseEditorWindow);
    EXPECT_FALSE(s.controls.windowExists(kPhraseEditorWindow));
    EXPECT_EQ(storedPhraseGroups(s.app.settings()), std::vector<std::string>{"新|组"});
}

TEST_F(WindowClosingTest, ClosingTheMainWindowLetsTheOpenPhraseEditorSaveItsList) {
    s.click(kEditPhrasesButton);
    s.controls.addItem(kPhraseEditorWindow, kPhraseList, "留下");
    closeMain();
    EXPECT_FALSE(s.controls.windowExists(kPhraseEditorWindow));
    EXPECT_FALSE(mainOpen());
    EXPECT_EQ(storedPhraseGroups(s.app.settings()), std::vector<std::string>{"留下"});
}

}  // namespace
}  // namespace yelian
