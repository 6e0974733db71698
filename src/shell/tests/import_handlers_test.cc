#include <gtest/gtest.h>

#include <filesystem>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "shell/import_handlers.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::ScriptedDesktop;
using testing::TempDir;

class ImportHandlers : public ::testing::Test {
  protected:
    ImportHandlers() {
        for (const char* name : {"a.htm", "b.htm", "c.htm", "d.txt", "sub/e.htm"}) {
            dir.write(name, std::string("<title>") + name + "</title>body");
        }
        controls.setChecked(kMainWindow, kOrderedCheck, true);
        controls.setSelectedIndex(kMainWindow, kTemplateTabs, 1);
        app.random().seed(7);
        stopRequested = true;
    }

    std::string folder() const { return fromNativePath(dir.path()); }
    std::filesystem::path output() const { return dir.path() / "单页目录"; }
    std::string filesCaption() const { return controls.caption(kMainWindow, kImportFilesButton); }
    std::string folderCaption() const { return controls.caption(kMainWindow, kImportFolderButton); }

    TempDir dir;
    RecordControls controls{mainWindowSpec()};
    ScriptedDesktop desktop;
    Application app{controls, desktop};
    bool& stopRequested = app.stopRequested();
};

TEST_F(ImportHandlers, ASecondClickDuringARunRequestsTheStop) {
    desktop.answerFiles({folder() + "/a.htm", folder() + "/b.htm", folder() + "/c.htm"});
    desktop.answerMessage(MessageAnswer::No);
    int clicks = 0;
    desktop.onProcessEvents([&] {
        if (clicks++ > 0) return;
        EXPECT_EQ(filesCaption(), kImportFilesRunning.str());
        EXPECT_FALSE(stopRequested);
        EXPECT_FALSE(controls.enabled(kMainWindow, kImportFolderButton));
        importFiles(app);
        EXPECT_EQ(filesCaption(), kImportFilesStopping.str());
        EXPECT_TRUE(stopRequested);
    });
    importFiles(app);

    // The article in progress was written, the next one was not, and the report came.
    EXPECT_TRUE(std::filesystem::exists(output() / "a.htm"));
    EXPECT_FALSE(std::filesystem::exists(output() / "b.htm"));
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_TRUE(desktop.messageTextsUtf8()[0].starts_with("耗时 "));
    EXPECT_EQ(filesCaption(), kImportFilesIdle.str());
    EXPECT_TRUE(controls.enabled(kMainWindow, kImportFolderButton));
}

TEST_F(ImportHandlers, RefuseTheSettingsPages) {
    for (int page : {5, 6}) {
        controls.setSelectedIndex(kMainWindow, kTemplateTabs, page);
        importFiles(app);
        importFolder(app, true);
    }
    EXPECT_EQ(desktop.messages().size(), 4u);
    for (const auto& message : desktop.messageTextsUtf8()) {
        EXPECT_EQ(message, "请选择左边5个模板的其中一个来处理");
    }
    EXPECT_EQ(filesCaption(), kImportFilesIdle.str());
    EXPECT_EQ(folderCaption(), kImportFolderIdle.str());
    EXPECT_FALSE(std::filesystem::exists(output()));
}

TEST_F(ImportHandlers, ACancelledFilePickRunsNothing) {
    desktop.answerFiles({});
    importFiles(app);
    EXPECT_TRUE(desktop.messages().empty());
    EXPECT_EQ(desktop.fileDialogTitles(), (std::vector<std::string>{"请选择文件："_gbk}));
    EXPECT_FALSE(std::filesystem::exists(output()));
    EXPECT_EQ(filesCaption(), kImportFilesIdle.str());
}

TEST_F(ImportHandlers, FolderImportRemembersTheFolderAndListsWithTheFilter) {
    controls.setTagText(kMainWindow, kImportFolderButton, "/before");
    desktop.answerFolder("");
    importFolder(app, true);
    EXPECT_EQ(controls.tagText(kMainWindow, kImportFolderButton), "/before");
    EXPECT_TRUE(stopRequested);

    desktop.answerFolder(" " + folder() + " ");
    desktop.answerMessage(MessageAnswer::Yes);
    desktop.onProcessEvents([&] {
        EXPECT_EQ(folderCaption(), kImportFolderRunning.str());
        EXPECT_FALSE(controls.enabled(kMainWindow, kImportFilesButton));
    });
    importFolder(app, true);
    EXPECT_EQ(controls.tagText(kMainWindow, kImportFolderButton), folder());
    for (const char* page : {"a.htm", "b.htm", "c.htm"}) {
        EXPECT_TRUE(std::filesystem::exists(output() / page)) << page;
    }
    EXPECT_FALSE(std::filesystem::exists(output() / "d.txt"));
    EXPECT_FALSE(std::filesystem::exists(output() / "e.htm"));
    EXPECT_EQ(desktop.openedFolders().size(), 1u);
    EXPECT_EQ(folderCaption(), kImportFolderIdle.str());
    EXPECT_TRUE(controls.enabled(kMainWindow, kImportFilesButton));
    EXPECT_EQ(desktop.folderDialogInitialFolders().back(), "/before");
}

TEST_F(ImportHandlers, RightClickListsEachPatternAndAFolderWithoutMatchesRunsNothing) {
    controls.setText(kMainWindow, kFolderFilterEdit, "*.txt");
    desktop.answerFolder(folder());
    desktop.answerMessage(MessageAnswer::No);
    importFolder(app, false);
    EXPECT_TRUE(std::filesystem::exists(output() / "d.txt"));
    EXPECT_FALSE(std::filesystem::exists(output() / "a.htm"));

    controls.setText(kMainWindow, kFolderFilterEdit, "*.none");
    desktop.answerFolder(folder());
    importFolder(app, false);
    EXPECT_EQ(desktop.messages().size(), 1u);
}

}  // namespace
}  // namespace yelian
