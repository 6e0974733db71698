#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

class CliTest : public testing::CliFixture {
  protected:
    CliTest() {
        dir.write("arts/m.htm", "<title>M</title>m");
        dir.write("arts/z.htm", "<title>Z</title>z");
        dir.write("arts/sub/s.htm", "<title>S</title>s");
    }

    // A run over the articles folder in job order, with a template that shows the neighbours.
    std::vector<std::string> orderedRun(std::vector<std::string> extra) {
        std::vector<std::string> args = {"generate",
                                         "--set",
                                         "选择框按顺序=真",
                                         "--template",
                                         "2",
                                         "--set",
                                         "编辑框模板2=#上一篇链接#|#本篇链接#|#下一篇链接#"};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }

    std::string page(std::string_view name) const {
        return readBytes(dir.path() / "arts" / "单页目录" / name);
    }
};

TEST_F(CliTest, LostStandardOutputIsAnErrorForEveryCommand) {
    std::ostringstream err;
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(finishStandardOutput(out, err, kExitAllWritten), kExitOutputLost);
    EXPECT_NE(err.str().find("无法写入标准输出"), std::string::npos);

    std::ostringstream good;
    EXPECT_EQ(finishStandardOutput(good, err, kExitPagesFailed), kExitPagesFailed);
}

TEST_F(CliTest, CollidingPagesAreNamedOnStandardError) {
    dir.write("arts/sub/m.htm", "<title>M2</title>m");
    const CliRun run =
        this->run(orderedRun({"--quiet", dir.file("arts/m.htm"), dir.file("arts/sub/m.htm")}));
    EXPECT_EQ(run.status, kExitPagesFailed);
    EXPECT_NE(run.err.find("后一个页面未写入"), std::string::npos) << run.err;
    EXPECT_EQ(page("m.htm"), "#|m.htm|m.htm");
}

TEST_F(CliTest, ASettingsFileNameThatIsNotUtf8IsKeptAsItsBytes) {
    // An existing file of that name is the one saved; a new one is refused, never saved as
    // the UTF-8 name that spells the same characters.
    const std::string name = (dir.path() / "\xC4\xE3.ini").string();
    EXPECT_EQ(run({"settings", "--settings", name, "--save"}).status, kExitUsage);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "你.ini"));
    std::ofstream(name) << "";
    const CliRun saved = run({"settings", "--settings", name, "--save"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_NE(readBytes(name).find("[主界面]"_gbk), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "你.ini"));
}

TEST_F(CliTest, VersionIsTheProjectsVersion) {
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "yelian 1.8.1.1\n");
}

TEST_F(CliTest, HelpListsEveryOptionWithAnExample) {
    const CliRun main = run({"--help"});
    EXPECT_EQ(main.status, 0);
    EXPECT_NE(main.out.find("Example"), std::string::npos);
    for (const char* command : {"generate", "recognise", "settings"}) {
        EXPECT_NE(main.out.find(std::string("yelian ") + command), std::string::npos) << command;
    }

    const CliRun generate = run({"generate", "--help"});
    EXPECT_EQ(generate.status, 0);
    for (const char* option :
         {"--settings", "--set", "--template", "--seed", "--yes", "--quiet", "--help"}) {
        EXPECT_NE(generate.out.find(option), std::string::npos) << option;
        EXPECT_NE(generate.out.find(std::string("yelian generate ") + option), std::string::npos)
            << "no example for " << option;
    }
}

struct UsageCase {
    std::vector<std::string> args;
    const char* named;
};

TEST_F(CliTest, UsageErrorsExitWithTwoAndNameTheirCause) {
    const std::string arts = dir.file("arts");
    const UsageCase cases[] = {
        {{}, "Usage"},
        {{"build"}, "'build'"},
        {{"generate"}, "no PATH"},
        {{"generate", "--frobnicate", arts}, "--frobnicate"},
        {{"generate", "--template", "6", arts}, "'6'"},
        {{"generate", "--template=0", arts}, "'0'"},
        {{"generate", "--seed", "x1", arts}, "'x1'"},
        {{"generate", arts, "--set"}, "--set needs a value"},
        {{"generate", "--set", "选择框按顺序", arts}, "NAME=VALUE"},
        {{"generate", "--set", "编辑框不存在=1", arts}, "编辑框不存在"},
        {{"generate", "--set", "选择框按顺序=是的", arts}, "选择框按顺序"},
        {{"generate", "--set", "组合框输出编码=7", arts}, "组合框输出编码"},
        {{"generate", "--set", "选择夹模板=-1", arts}, "选择夹模板"},
        {{"generate", "--set", "按钮更多=1", arts}, "按钮更多"},
        {{"generate", dir.file("missing.htm")}, "missing.htm"},
        {{"generate", "--settings", arts, arts}, "is not a file"},
    };
    for (const UsageCase& c : cases) {
        const CliRun result = run(c.args);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.named), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_FALSE(fs::exists(dir.path() / "arts" / "单页目录"));
}

TEST_F(CliTest, SettingsPagesAreRefusedWithTheSystemsMessage) {
    const CliRun result = run({"generate", "--set", "选择夹模板=5", dir.file("arts")});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "请选择左边5个模板的其中一个来处理\n");
}

TEST_F(CliTest, GeneratesTheFolderSortedByNameAndPrintsTheOutputFolder) {
    const CliRun result = run(orderedRun({"--seed", "3", dir.file("arts")}));
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string output = dir.file("arts") + "/单页目录/";
    EXPECT_EQ(result.out, output + "\n");
    EXPECT_NE(result.err.find("处理完毕，已保存在这个目录：" + output), std::string::npos);
    EXPECT_EQ(page("a.htm"), "#|a.htm|m.htm");
    EXPECT_EQ(page("m.htm"), "a.htm|m.htm|z.htm");
    EXPECT_EQ(page("z.htm"), "m.htm|z.htm|#");
    EXPECT_FALSE(fs::exists(dir.path() / "arts" / "单页目录" / "n.txt"));
    EXPECT_FALSE(fs::exists(dir.path() / "arts" / "单页目录" / "s.htm"));
    // A generation never creates the settings file.
    EXPECT_TRUE(fs::is_empty(environment.programFolder));
}

TEST_F(CliTest, PathsKeepTheirOrderAndFoldersUseTheFilter) {
    const CliRun result = run(
        orderedRun({"--set", "编辑框目录过滤=*.txt", dir.file("arts/z.htm"), dir.file("arts")}));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(page("z.htm"), "#|z.htm|n.txt");
    EXPECT_EQ(page("n.txt"), "z.htm|n.txt|#");
}

TEST_F(CliTest, QuestionsAreCancelledWithoutATerminalAndAnsweredByYes) {
    const std::vector<std::string> unequal = {"generate",
                                              "--template",
                                              "2",
                                              "--set",
                                              "编辑框模板2=#随机篇链接##随机篇链接##随机篇标题#",
                                              dir.file("arts/a.htm")};
    const CliRun cancelled = run(unequal);
    EXPECT_EQ(cancelled.status, 3);
    EXPECT_NE(cancelled.err.find("数量不一致"), std::string::npos);
    EXPECT_NE(cancelled.err.find("answered Cancel"), std::string::npos);
    EXPECT_TRUE(cancelled.out.empty());

    environment.inputIsTerminal = true;
    EXPECT_EQ(run(unequal, "n\n").status, 3);
    EXPECT_EQ(run(unequal, "").status, 3);
    EXPECT_EQ(run(unequal, "y\n").status, 0);

    environment.inputIsTerminal = false;
    std::vector<std::string> withYes = unequal;
    withYes.insert(withYes.begin() + 1, "--yes");
    EXPECT_EQ(run(withYes).status, 0);
}

TEST_F(CliTest, CtrlCFinishesTheCurrentArticleAndReports) {
    // Pressed once the run has made its output folder, while the first article is written.
    const fs::path output = dir.path() / "arts" / "单页目录";
    environment.interrupted = [output] { return fs::exists(output); };
    const CliRun result = run(orderedRun({dir.file("arts")}));
    EXPECT_EQ(result.status, 130);
    EXPECT_EQ(page("a.htm"), "#|a.htm|m.htm");
    EXPECT_FALSE(fs::exists(dir.path() / "arts" / "单页目录" / "m.htm"));
    EXPECT_NE(result.err.find("处理完毕"), std::string::npos);
    EXPECT_FALSE(result.out.empty());
}

TEST_F(CliTest, CtrlCBeforeTheRunWritesNoPage) {
    environment.interrupted = [] { return true; };
    const CliRun result = run(orderedRun({dir.file("arts")}));
    EXPECT_EQ(result.status, 130);
    EXPECT_FALSE(fs::exists(dir.path() / "arts" / "单页目录" / "a.htm"));
}

TEST_F(CliTest, PagesThatCannotBeWrittenGiveStatusOne) {
    // A folder in the place of a page.
    fs::create_directories(dir.path() / "arts" / "单页目录" / "m.htm");
    const CliRun result = run(orderedRun({dir.file("arts")}));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("其中 1 个页面未能写入（第一个："), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("m.htm"), std::string::npos);
    EXPECT_EQ(page("z.htm"), "m.htm|z.htm|#");
}

TEST_F(CliTest, KeywordInsertionUsesTheStoredPhraseGroupAndWarnsOnce) {
    const std::string settings = dir.file("site.ini");
    {
        testing::ScriptedDesktop desktop;
        SettingsStore store(desktop);
        store.open(fromNativePath(settings));
        store.selectSection("随机词组"_gbk);
        store.writeText("当前词"_gbk, "KW");
    }
    const std::vector<std::string> insert = {
        "--set", "选择框启用插词=真", "--set", "编辑框模板2=#导入的文件内容#", "--template", "2"};
    std::vector<std::string> args = {"generate", "--settings", settings};
    args.insert(args.end(), insert.begin(), insert.end());
    args.push_back(dir.file("arts"));
    const CliRun stored = run(args);
    EXPECT_EQ(stored.status, 0) << stored.err;
    EXPECT_NE(page("a.htm").find("KW"), std::string::npos) << page("a.htm");

    // Without a phrase group nothing is inserted, and the run says so once.
    args = {"generate"};
    args.insert(args.end(), insert.begin(), insert.end());
    args.push_back(dir.file("arts"));
    const CliRun empty = run(args);
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(page("a.htm").find("KW"), std::string::npos);
    const std::string warning = "已启用插词，但词组为空，文章内容中没有插入任何词。\n";
    const std::size_t at = empty.err.find(warning);
    EXPECT_NE(at, std::string::npos) << empty.err;
    EXPECT_EQ(empty.err.find(warning, at + 1), std::string::npos);
}

TEST_F(CliTest, ProgressBarOnlyOnATerminalAndNotWhenQuiet) {
    environment.errorIsTerminal = true;
    const CliRun shown = run(orderedRun({dir.file("arts")}));
    EXPECT_NE(shown.err.find("] 3/3 已处理 3 个文件"), std::string::npos) << shown.err;
    const CliRun quiet = run(orderedRun({"--quiet", dir.file("arts")}));
    EXPECT_EQ(quiet.err.find("] "), std::string::npos) << quiet.err;
    environment.errorIsTerminal = false;
    EXPECT_EQ(run(orderedRun({dir.file("arts")})).err.find("] "), std::string::npos);
}

TEST_F(CliTest, AFolderWithoutMatchesRunsNothing) {
    const CliRun result = run({"generate", "--set", "编辑框目录过滤=*.none", dir.file("arts")});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.empty());
    EXPECT_FALSE(fs::exists(dir.path() / "arts" / "单页目录"));
}

}  // namespace
}  // namespace yelian
