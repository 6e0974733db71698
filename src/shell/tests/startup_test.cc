// Start-up and shutdown: the settings restored and saved around one run of the main window,
// the one-time takeover of older versions' template files, and a second instance.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "settings/settings_store.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/text_routines.h"
#include "testing/fault_file_env.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::readBytes;
using testing::ScriptedDesktop;
using testing::TempDir;

constexpr int kListSettingsPageIndex = 6;

// One run of the program: its desktop, its main window and its application object.
struct Session {
    ScriptedDesktop desktop;
    RecordControls controls{mainWindowSpec()};
    Application app{controls, desktop};

    std::string editor(std::string_view name) const { return controls.text(kMainWindow, name); }
    int page() const { return controls.selectedIndex(kMainWindow, kTemplateTabs); }
};

class StartupTest : public ::testing::Test {
  protected:
    std::string programFolder() const { return fromNativePath(dir.path()); }
    std::filesystem::path settingsFile() const { return dir.path() / "澜川·页链站坊.ini"; }
    std::string settingsBytes() const { return readBytes(settingsFile()); }
    void writeSettings(std::string_view utf8) const {
        dir.write("澜川·页链站坊.ini", utf8ToGbk(utf8));
    }
    std::filesystem::path oldTemplate(int n) const {
        return dir.path() / ("模板" + std::to_string(n));
    }

    // Starts the program anew, as the next run after the previous one ended.
    Session& start() {
        session = nullptr;
        session = std::make_unique<Session>();
        startProgram(session->app, programFolder());
        return *session;
    }

    TempDir dir;
    std::unique_ptr<Session> session;
};

TEST_F(StartupTest, FirstStartKeepsTheDesignPageAndRecordsTheTakeover) {
    Session& s = start();
    EXPECT_TRUE(s.controls.windowExists(kMainWindow));
    EXPECT_FALSE(s.controls.shownModal(kMainWindow));
    EXPECT_EQ(s.page(), 0);
    EXPECT_EQ(s.desktop.dropTargets(), std::vector<std::string>{kMainWindow.str()});
    EXPECT_TRUE(s.desktop.messages().empty());
    EXPECT_EQ(s.app.settings().persistence(), SettingsPersistence::Saving);
    EXPECT_EQ(settingsBytes(), "[主界面]\r\n兼容旧版2014年8月22日=真"_gbk);
}

TEST_F(StartupTest, OldTemplateFilesAreTakenOverOnceAndRemoved) {
    writeSettings("[主界面]\r\n编辑框模板3=保留的模板");
    dir.write("模板1", "<p>旧模板</p>"_gbk + '\0' + "残余"_gbk);
    dir.write("模板3", "");
    dir.write("模板5", "#本篇标题#"_gbk);
    const std::string designTemplate2 = Session().editor(kTemplateEditor2);

    Session& first = start();
    EXPECT_EQ(first.editor(kTemplateEditor1), "<p>旧模板</p>"_gbk);
    EXPECT_EQ(first.editor(kTemplateEditor2), designTemplate2);
    EXPECT_EQ(first.editor(kTemplateEditor3), "保留的模板"_gbk) << "an empty file clears nothing";
    EXPECT_EQ(first.editor(kTemplateEditor5), "#本篇标题#"_gbk);
    for (int n = 1; n <= 5; ++n) EXPECT_FALSE(std::filesystem::exists(oldTemplate(n))) << n;
    EXPECT_NE(settingsBytes().find("兼容旧版2014年8月22日=真"_gbk), std::string::npos);

    // The files are gone, so the texts must already be kept, even if the run never closes.
    Session& next = start();
    EXPECT_EQ(next.editor(kTemplateEditor1), "<p>旧模板</p>"_gbk);
    EXPECT_EQ(next.editor(kTemplateEditor5), "#本篇标题#"_gbk);
}

TEST_F(StartupTest, AfterTheTakeoverOldTemplateFilesAreLeftAlone) {
    writeSettings("[主界面]\r\n兼容旧版2014年8月22日=真");
    dir.write("模板1", "旧模板"_gbk);
    const std::string designTemplate1 = Session().editor(kTemplateEditor1);

    Session& s = start();
    EXPECT_EQ(s.editor(kTemplateEditor1), designTemplate1);
    EXPECT_TRUE(std::filesystem::exists(oldTemplate(1)));
}

TEST_F(StartupTest, TheSelectedPageComesBackAtTheNextStart) {
    Session& first = start();
    first.controls.setSelectedIndex(kMainWindow, kTemplateTabs, kListSettingsPageIndex);
    onMainWindowClosing(first.app);

    EXPECT_EQ(start().page(), kListSettingsPageIndex);
}

TEST_F(StartupTest, AStoredPageBeyondAnyIndexKeepsTheDesignPage) {
    writeSettings("[主界面]\r\n模板序号=1e300\r\n兼容旧版2014年8月22日=真");
    EXPECT_EQ(start().page(), 0);
}

TEST_F(StartupTest, SavingTwiceKeepsOneLinePerKey) {
    Session& s = start();
    s.controls.setText(kMainWindow, kYearFromEdit, "2010");
    s.controls.setText(kMainWindow, kPhraseCombo, "词一|词二"_gbk);
    onSaveSettingsLink(s.app);
    ASSERT_EQ(s.desktop.messages().size(), 1U);
    EXPECT_EQ(s.desktop.messages()[0].text, "保存完毕！"_gbk);
    EXPECT_EQ(s.desktop.messages()[0].title, "信息："_gbk);
    const std::string afterLink = settingsBytes();
    onMainWindowClosing(s.app);

    const std::string saved = settingsBytes();
    EXPECT_EQ(saved, afterLink);
    for (const char* key : {"编辑框年1=", "模板序号=", "当前词=", "选择框启用插词=",
                            "组合框标题来源=", "兼容旧版2014年8月22日="}) {
        EXPECT_EQ(countOccurrences(saved, "\r\n"_gbk + utf8ToGbk(key)), 1) << key;
    }
    Session& next = start();
    EXPECT_EQ(next.editor(kYearFromEdit), "2010");
    EXPECT_EQ(next.controls.text(kMainWindow, kPhraseCombo), "词一|词二"_gbk);
}

TEST_F(StartupTest, ASecondInstanceSaysOnceThatItKeepsNothing) {
    Session& first = start();
    ScriptedDesktop otherDesktop;
    RecordControls otherControls{mainWindowSpec()};
    Application other{otherControls, otherDesktop};
    startProgram(other, programFolder());

    EXPECT_EQ(other.settings().persistence(), SettingsPersistence::InUse);
    ASSERT_EQ(otherDesktop.messages().size(), 1U);
    EXPECT_EQ(otherDesktop.messages()[0].title, "澜川："_gbk);
    EXPECT_EQ(otherDesktop.messages()[0].icon, MessageIcon::Warning);
    const std::string expected =
        "另一个正在运行的澜川·页链站坊正在使用配置文件，"
        "本次运行的设置将不会保存！\r\n配置文件："_gbk +
        first.app.settings().path();
    EXPECT_EQ(otherDesktop.messages()[0].text, expected);

    // Its save link must not claim to have saved.
    onSaveSettingsLink(other);
    ASSERT_EQ(otherDesktop.messages().size(), 2U);
    EXPECT_EQ(otherDesktop.messages()[1].text, expected);
    EXPECT_EQ(first.desktop.messages().size(), 0U);
}

TEST_F(StartupTest, ARunThatKeepsNothingLeavesOldTemplateFilesForTheNext) {
    ScriptedDesktop holderDesktop;
    SettingsStore holder(holderDesktop);
    ASSERT_TRUE(holder.open(fromNativePath(settingsFile())));
    dir.write("模板2", "旧模板二"_gbk);

    Session& s = start();
    EXPECT_EQ(s.app.settings().persistence(), SettingsPersistence::InUse);
    EXPECT_EQ(s.editor(kTemplateEditor2), "旧模板二"_gbk);
    EXPECT_TRUE(std::filesystem::exists(oldTemplate(2)));
}

// The old template files are the texts' only copy until the settings hold them on disk.
TEST_F(StartupTest, OldTemplateFilesStayWhenTheirTextDidNotReachTheDisk) {
    dir.write("模板1", "旧模板一"_gbk);
    std::ofstream(dir.path() / "inibin") << "in the way of the side files";
    start();
    EXPECT_EQ(readBytes(oldTemplate(1)), "旧模板一"_gbk);
    EXPECT_EQ(settingsBytes().find("兼容旧版2014年8月22日"_gbk), std::string::npos);

    // With the way clear, the next start takes it over and only then removes it.
    std::filesystem::remove(dir.path() / "inibin");
    EXPECT_EQ(start().editor(kTemplateEditor1), "旧模板一"_gbk);
    EXPECT_FALSE(std::filesystem::exists(oldTemplate(1)));
}

TEST_F(StartupTest, UnreadableOldTemplateFilesAreLeftInPlaceWithoutBlocking) {
    dir.write("模板2", "旧模板二"_gbk);
    {
        std::ofstream(oldTemplate(3)) << "";
        std::filesystem::resize_file(oldTemplate(3), std::uintmax_t{65} << 20);
    }
    ASSERT_EQ(::mkfifo(oldTemplate(4).c_str(), 0600), 0);
    Session& s = start();
    EXPECT_EQ(s.editor(kTemplateEditor2), "旧模板二"_gbk);
    EXPECT_FALSE(std::filesystem::exists(oldTemplate(2)));
    EXPECT_EQ(std::filesystem::file_size(oldTemplate(3)), std::uintmax_t{65} << 20);
    EXPECT_TRUE(std::filesystem::is_fifo(oldTemplate(4)));
    // Not marked as done, so nothing is given up for good.
    EXPECT_EQ(settingsBytes().find("兼容旧版2014年8月22日=真"_gbk), std::string::npos);
}

// The same run on a file system that fails on purpose.
struct FaultySession {
    FaultFileEnv files;
    ScriptedDesktop desktop;
    RecordControls controls{mainWindowSpec()};
    Application app{controls, desktop, files};
};

TEST_F(StartupTest, OldTemplateFilesStayWhenTheSettingsCannotBeReplaced) {
    dir.write("模板1", "旧模板一"_gbk);
    for (const bool fullDisk : {false, true}) {
        SCOPED_TRACE(fullDisk ? "full disk" : "failing rename");
        FaultySession s;
        if (fullDisk) {
            s.files.setFreeBytes(10);
        } else {
            s.files.failRenames();
        }
        startProgram(s.app, programFolder());
        EXPECT_EQ(s.controls.text(kMainWindow, kTemplateEditor1), "旧模板一"_gbk);
        EXPECT_EQ(readBytes(oldTemplate(1)), "旧模板一"_gbk);
        EXPECT_EQ(settingsBytes().find("兼容旧版2014年8月22日"_gbk), std::string::npos);
    }
}

TEST_F(StartupTest, AnOldTemplateFileGoneBeforeItWasReadIsTriedAgainNextTime) {
    dir.write("模板1", "旧模板一"_gbk);
    dir.write("模板2", "旧模板二"_gbk);
    {
        FaultySession s;
        s.files.vanishBeforeRead(oldTemplate(2));
        startProgram(s.app, programFolder());
        EXPECT_EQ(s.controls.text(kMainWindow, kTemplateEditor1), "旧模板一"_gbk);
        EXPECT_FALSE(std::filesystem::exists(oldTemplate(1)));
        EXPECT_EQ(settingsBytes().find("兼容旧版2014年8月22日=真"_gbk), std::string::npos);
    }
    // Nothing is left to take over: the next start records the takeover as done.
    start();
    EXPECT_NE(settingsBytes().find("兼容旧版2014年8月22日=真"_gbk), std::string::npos);
}

// A side file that cannot be written (its folder's name is taken by a file): the link says so
// rather than "saved".
TEST_F(StartupTest, TheSaveLinkSaysWhenTheSettingsDidNotAllReachTheDisk) {
    Session& s = start();
    std::filesystem::remove_all(dir.path() / "inibin");
    std::ofstream(dir.path() / "inibin") << "x";
    onSaveSettingsLink(s.app);
    ASSERT_EQ(s.desktop.messages().size(), 1U);
    EXPECT_EQ(s.desktop.messages()[0].icon, MessageIcon::Warning);
    EXPECT_NE(s.desktop.messages()[0].text.find("设置可能没有保存"_gbk), std::string::npos);
}

}  // namespace
}  // namespace yelian
