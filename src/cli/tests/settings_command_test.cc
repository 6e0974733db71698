// "yelian settings" and the settings a generation reads: printing, --save round trips, a
// second instance holding the file, and runs that must not write.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/tests/cli_fixture.h"
#include "settings/settings_store.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::CliRun;
using testing::readBytes;
namespace fs = std::filesystem;

class SettingsCommandTest : public testing::CliFixture {
  protected:
    CliRun settings(std::vector<std::string> extra) {
        std::vector<std::string> args = {"settings", "--settings", settingsFile};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }

    // The printed line of one control, without its name; nothing when it is not listed.
    static std::optional<std::string> lineOf(const std::string& listing, std::string_view name) {
        const std::string start = std::string(name) + "\t";
        for (std::size_t at = 0; at < listing.size();) {
            const std::size_t end = listing.find('\n', at);
            const std::string line = listing.substr(at, end - at);
            if (line.starts_with(start)) return line.substr(start.size());
            if (end == std::string::npos) break;
            at = end + 1;
        }
        return std::nullopt;
    }

    std::string sideFile(std::string_view key) const {
        return readBytes(dir.path() / "inibin" / ("主界面-" + std::string(key) + ".ibn"));
    }

    const std::string settingsFile = dir.file("site.ini");
};

TEST_F(SettingsCommandTest, PrintsTheDesignStateWithoutCreatingTheFile) {
    const CliRun result = settings({});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lineOf(result.out, "选择框按顺序"), "假");
    EXPECT_EQ(lineOf(result.out, "编辑框目录过滤"), "*.htm");
    EXPECT_EQ(lineOf(result.out, "组合框输出编码"), "0\t自动识别");
    EXPECT_EQ(lineOf(result.out, "选择夹模板"), "0\t 模板1 ");
    EXPECT_EQ(lineOf(result.out, "组合框词"), "-1\t");
    // Labels and buttons hold no setting.
    EXPECT_EQ(lineOf(result.out, "按钮文件导入"), std::nullopt);
    EXPECT_FALSE(fs::exists(settingsFile));
    EXPECT_FALSE(fs::exists(dir.path() / "inibin"));
}

TEST_F(SettingsCommandTest, SaveRoundTripsAndGenerationReadsIt) {
    const CliRun saved =
        settings({"--set", "选择框按顺序=真", "--set", "编辑框目录过滤=*.txt", "--set",
                  "编辑框模板3=第一行\r\n第二行\t\\", "--set", "编辑框模板2=[#本篇链接#]", "--set",
                  "选择夹模板=1", "--set", "组合框输出编码=2", "--save"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(lineOf(saved.out, "选择框按顺序"), "真");

    const std::string content = readBytes(settingsFile);
    EXPECT_TRUE(content.starts_with("[主界面]"_gbk));
    EXPECT_NE(content.find("\r\n模板序号=1"_gbk), std::string::npos);
    EXPECT_NE(content.find("\r\n编辑框模板3=第一行┊*┊第二行\t\\"_gbk), std::string::npos);
    EXPECT_EQ(sideFile("编辑框模板2"), "[#本篇链接#]"_gbk);

    const CliRun printed = settings({});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(printed.out, saved.out);
    EXPECT_EQ(lineOf(printed.out, "编辑框目录过滤"), "*.txt");
    EXPECT_EQ(lineOf(printed.out, "编辑框模板3"), "第一行\\r\\n第二行\\t\\\\");
    EXPECT_EQ(lineOf(printed.out, "选择夹模板"), "1\t 模板2 ");
    EXPECT_EQ(lineOf(printed.out, "组合框输出编码"), "2\tUTF-8");

    // --set without --save shows the change and writes nothing.
    const CliRun unsaved = settings({"--set", "选择框按顺序=假"});
    EXPECT_EQ(lineOf(unsaved.out, "选择框按顺序"), "假");
    EXPECT_EQ(readBytes(settingsFile), content);

    const CliRun generated = run({"generate", "--settings", settingsFile, dir.file("arts")});
    EXPECT_EQ(generated.status, 0) << generated.err;
    EXPECT_EQ(readBytes(dir.path() / "arts" / "单页目录" / "n.txt"), "\xEF\xBB\xBF[n.txt]");
    EXPECT_FALSE(fs::exists(dir.path() / "arts" / "单页目录" / "a.htm"));
    EXPECT_EQ(readBytes(settingsFile), content);
    EXPECT_EQ(sideFile("编辑框模板2"), "[#本篇链接#]"_gbk);
}

TEST_F(SettingsCommandTest, PhraseGroupsFillTheComboBoxAndTheCurrentGroupIsSaved) {
    dir.write(
        "site.ini",
        "[随机词组]\r\n当前词=乙|http://b.example\r\n随机词组=甲|http://a.example┊*┊乙|http://b.example"_gbk);
    const CliRun printed = settings({});
    EXPECT_EQ(lineOf(printed.out, "组合框词"), "-1\t乙|http://b.example");

    const CliRun saved = settings({"--set", "组合框词=0", "--save"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(lineOf(saved.out, "组合框词"), "0\t甲|http://a.example");
    EXPECT_NE(readBytes(settingsFile).find("\r\n当前词=甲|http://a.example"_gbk),
              std::string::npos);
}

TEST_F(SettingsCommandTest, SaveRefusesWhenAnotherInstanceHoldsTheFile) {
    dir.write("site.ini", "[主界面]\r\n选择框按顺序=假"_gbk);
    testing::ScriptedDesktop desktop;
    SettingsStore running(desktop);
    ASSERT_TRUE(running.open(fromNativePath(settingsFile)));

    const CliRun result = settings({"--set", "选择框按顺序=真", "--save"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find(
                  "另一个正在运行的澜川·页链站坊正在使用配置文件，本次运行的设置将不会保存！"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("nothing was saved"), std::string::npos);
    EXPECT_EQ(readBytes(settingsFile), "[主界面]\r\n选择框按顺序=假"_gbk);
    // Reading while the other instance runs works.
    EXPECT_EQ(lineOf(settings({}).out, "选择框按顺序"), "假");
}

TEST_F(SettingsCommandTest, SaveRefusesAnUnwritablePlace) {
    const std::string nowhere = dir.file("missing-folder/site.ini");
    const CliRun result = run({"settings", "--settings", nowhere, "--save"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("配置文件无法写入"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(dir.path() / "missing-folder"));
}

TEST_F(SettingsCommandTest, MistakesExitWithTwoAndWriteNothing) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--set", "编辑框不存在=1", "--save"}, "编辑框不存在"},
        {{"--set", "选择框按顺序", "--save"}, "NAME=VALUE"},
        {{"--set", "组合框输出编码=9", "--save"}, "组合框输出编码"},
        {{"--frobnicate"}, "--frobnicate"},
        {{"extra"}, "'extra'"},
        {{"--settings"}, "--settings needs a value"},
    };
    for (const auto& [extra, named] : cases) {
        std::vector<std::string> args = {"settings"};
        if (extra.front() != "--settings") {
            args.insert(args.end(), {"--settings", settingsFile});
        }
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun result = run(args);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(named), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_FALSE(fs::exists(settingsFile));
    EXPECT_FALSE(fs::exists(dir.path() / "inibin"));
}

TEST_F(SettingsCommandTest, SaveUsesTheDesktopProgramsFileByDefault) {
    const CliRun saved = run({"settings", "--set", "选择框按顺序=真", "--save"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const fs::path file = fs::path(environment.programFolder) / "澜川·页链站坊.ini";
    EXPECT_NE(readBytes(file).find("\r\n选择框按顺序=真"_gbk), std::string::npos);
    EXPECT_EQ(lineOf(run({"settings"}).out, "选择框按顺序"), "真");
}

TEST_F(SettingsCommandTest, GenerationTakesNoOldTemplatesOverAndWritesNoFlag) {
    dir.write("site.ini", "[主界面]\r\n编辑框模板3=<b>#本篇链接#</b>"_gbk);
    dir.write("模板1", "old template");
    const CliRun result = run({"generate", "--settings", settingsFile, "--template", "3", "--set",
                               "编辑框目录过滤=*.txt", dir.file("arts")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readBytes(dir.path() / "arts" / "单页目录" / "n.txt"), "<b>n.txt</b>");
    EXPECT_EQ(readBytes(dir.path() / "模板1"), "old template");
    EXPECT_EQ(readBytes(settingsFile), "[主界面]\r\n编辑框模板3=<b>#本篇链接#</b>"_gbk);

    // Saving is the desktop program's start and close: the old template is taken over.
    const CliRun saved = settings({"--save"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(lineOf(saved.out, "编辑框模板1"), "old template");
    EXPECT_FALSE(fs::exists(dir.path() / "模板1"));
    EXPECT_NE(readBytes(settingsFile).find("兼容旧版2014年8月22日=真"_gbk), std::string::npos);
}

TEST_F(SettingsCommandTest, HelpListsEveryOptionWithAnExample) {
    const CliRun result = run({"settings", "--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* option : {"--settings", "--set", "--save", "--help"}) {
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
    }
    EXPECT_NE(result.out.find("NAME<TAB>VALUE"), std::string::npos);
}

}  // namespace
}  // namespace yelian
