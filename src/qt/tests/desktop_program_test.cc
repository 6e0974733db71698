// The desktop program on real widgets: its start and close through the shell, a whole run
// started from the window, and the end by SIGTERM.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/tests/desktop_under_test.h"
#include "shell/import_handlers.h"
#include "support/gbk_text.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

using DesktopRun = testing::DesktopUnderTest;

TEST(DesktopProgram, ClosingAndRestartingRestoresThePageAndTheControls) {
    const testing::TempDir dir;
    const std::string settings = dir.file("settings.ini");
    {
        DesktopRun run(settings);
        Controls& c = run.controls;
        ASSERT_TRUE(c.windowExists(kMainWindow));
        c.setSelectedIndex(kMainWindow, kTemplateTabs, 6);
        c.setText(kMainWindow, kYearFromEdit, "1999");
        c.setChecked(kMainWindow, kListPagesCheck, true);
        c.setChecked(kMainWindow, kLessCommonRadio, true);
        c.setSelectedIndex(kMainWindow, kOutputEncodingCombo, 2);
        c.setText(kMainWindow, kTemplateEditor3, "甲\r\n\r\n乙"_gbk);
        // The close box.
        run.controls.windowWidget(kMainWindow)->close();
        EXPECT_FALSE(c.windowExists(kMainWindow));
    }
    DesktopRun again(settings);
    const Controls& c = again.controls;
    EXPECT_EQ(c.selectedIndex(kMainWindow, kTemplateTabs), 6);
    EXPECT_EQ(c.text(kMainWindow, kYearFromEdit), "1999");
    EXPECT_TRUE(c.checked(kMainWindow, kListPagesCheck));
    EXPECT_TRUE(c.checked(kMainWindow, kLessCommonRadio));
    EXPECT_FALSE(c.checked(kMainWindow, kMostCommonRadio));
    EXPECT_EQ(c.selectedIndex(kMainWindow, kOutputEncodingCombo), 2);
    EXPECT_EQ(c.text(kMainWindow, kTemplateEditor3), "甲\r\n\r\n乙"_gbk);
    // The dependent controls follow the restored options.
    EXPECT_TRUE(c.enabled(kMainWindow, kArticlesPerListPageEdit));
}

TEST(DesktopProgram, AFolderImportedFromTheWindowWritesItsPages) {
    const testing::TempDir dir;
    const std::filesystem::path articles = dir.path() / "articles";
    std::filesystem::create_directories(articles);
    for (const char* name : {"a", "b", "c"}) {
        std::ofstream(articles / (std::string(name) + ".htm"), std::ios::binary)
            << "<html><head><title>"
            << "标题"_gbk << name << "</title></head><body>"
            << "正文"_gbk << name << "</body></html>";
    }
    DesktopRun run(dir.file("settings.ini"));
    Controls& c = run.controls;
    c.setSelectedIndex(kMainWindow, kTemplateTabs, 1);
    c.setText(kMainWindow, kTemplateEditor2, "<h1>#本篇标题#</h1>#导入的文件内容#"_gbk);
    c.setChecked(kMainWindow, kExtensionCheck, true);
    c.setText(kMainWindow, kExtensionEdit, "html");
    run.desktop.answerFolder(articles.string());
    run.desktop.answerMessage(MessageAnswer::No);
    importFolder(run.app, true);

    const std::filesystem::path output = articles / std::filesystem::path(u8"单页目录");
    ASSERT_TRUE(std::filesystem::is_directory(output));
    std::string all;
    int pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(output)) {
        if (entry.path().extension() != ".html") continue;
        ++pages;
        all += readFile(entry.path());
    }
    EXPECT_EQ(pages, 3);
    for (const char* name : {"a", "b", "c"}) {
        EXPECT_NE(all.find("<h1>"_gbk + "标题"_gbk + name + "</h1>"), std::string::npos);
        EXPECT_NE(all.find("正文"_gbk + name), std::string::npos);
    }
    EXPECT_EQ(c.caption(kMainWindow, kImportFolderButton), "  导入目录生成"_gbk);
    EXPECT_EQ(c.tagText(kMainWindow, kImportFolderButton), articles.string());
}

TEST(DesktopProgram, SigtermClosesTheWindowAsItsCloseBoxDoes) {
    const QString program = qEnvironmentVariable("YELIAN_GUI");
    if (program.isEmpty()) GTEST_SKIP() << "YELIAN_GUI names no program";
    const testing::TempDir dir;
    const std::string settings = dir.file("settings.ini");
    QProcess gui;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    gui.setProcessEnvironment(environment);
    gui.start(program, {QStringLiteral("--settings"), QString::fromStdString(settings)});
    ASSERT_TRUE(gui.waitForStarted(10000));
    // The settings file exists once the window has been restored from it.
    for (int i = 0; i < 200 && !std::filesystem::exists(settings); ++i) QThread::msleep(50);
    QThread::msleep(300);
    gui.terminate();
    ASSERT_TRUE(gui.waitForFinished(20000));
    EXPECT_EQ(gui.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(gui.exitCode(), 0);
    EXPECT_NE(readFile(settings).find("模板序号"_gbk), std::string::npos);
}

}  // namespace
}  // namespace yelian
