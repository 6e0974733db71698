#include "shell/import_handlers.h"

#include <gtest/gtest.h>

#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "testing/scripted_desktop.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::ScriptedDesktop;

TEST(FormatElapsed, ChoosesTheUnitAtTheLimits) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0 毫秒"},
        {531, "531 毫秒"},
        {999, "999 毫秒"},
        {1000, "1 秒"},
        {1234, "1.23 秒"},
        {1005, "1.01 秒"},
        {1500, "1.5 秒"},
        {59994, "59.99 秒"},
        {59995, "60 秒"},
        {60000, "1 分"},
        {90000, "1.5 分"},
        {3599999, "60 分"},
        {3600000, "1 时"},
        {7200000, "2 时"},
        {86400000, "1 天"},
        {30LL * 86400000, "1 月"},
        {360LL * 86400000, "1 年"},
        {540LL * 86400000, "1.5 年"},
    };
    for (const auto& [milliseconds, text] : cases) {
        SCOPED_TRACE(milliseconds);
        EXPECT_EQ(gbkToUtf8(formatElapsed(milliseconds)), text);
    }
}

class RunReport : public ::testing::Test {
  protected:
    RunReport() {
        outcome.end = RunOutcome::End::Finished;
        outcome.outputFolder = "/w/"_gbk + "单页目录/"_gbk;
        outcome.elapsedMilliseconds = 1234;
        outcome.pagesWritten = 3;
        outcome.articlesDone = 3;
    }

    RecordControls controls{mainWindowSpec()};
    ScriptedDesktop desktop;
    Ui ui{controls, desktop};
    RunOutcome outcome;
};

TEST_F(RunReport, AsksToOpenTheOutputFolder) {
    desktop.answerMessage(MessageAnswer::Yes);
    showRunReport(ui, outcome);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messageTextsUtf8()[0],
              "耗时 1.23 秒 处理完毕，已保存在这个目录，是否打开它：/w/单页目录/");
    EXPECT_EQ(desktop.messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(desktop.openedFolders(), (std::vector<std::string>{outcome.outputFolder}));

    desktop.answerMessage(MessageAnswer::No);
    showRunReport(ui, outcome);
    EXPECT_EQ(desktop.openedFolders().size(), 1u);
}

TEST_F(RunReport, SaysHowManyPagesFailedAndTheFirstOfThem) {
    outcome.pagesFailed = 2;
    outcome.pagesWritten = 1;
    outcome.firstFailedPath = "/w/"_gbk + "单页目录/b.htm"_gbk;
    desktop.answerMessage(MessageAnswer::No);
    showRunReport(ui, outcome);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messageTextsUtf8()[0],
              "耗时 1.23 秒 处理完毕，其中 2 个页面未能写入（第一个：/w/单页目录/b.htm），"
              "已保存在这个目录，是否打开它：/w/单页目录/");
    EXPECT_EQ(desktop.messages()[0].icon, MessageIcon::Warning);
}

TEST_F(RunReport, ShowsTheProblemOfARefusedRunAndNothingForOthers) {
    outcome.end = RunOutcome::End::Refused;
    outcome.problem = "标题表达式有误"_gbk;
    showRunReport(ui, outcome);
    outcome.end = RunOutcome::End::Nothing;
    showRunReport(ui, outcome);
    outcome.end = RunOutcome::End::Cancelled;
    showRunReport(ui, outcome);
    EXPECT_EQ(desktop.messageTextsUtf8(), (std::vector<std::string>{"标题表达式有误"}));
    EXPECT_TRUE(desktop.openedFolders().empty());
}

TEST(ChooseFolder, TrimsBlanksAndPassesTheInitialFolder) {
    ScriptedDesktop desktop;
    desktop.answerFolder("  /home/a b \t");
    desktop.answerFolder("");
    EXPECT_EQ(chooseFolder(desktop, "/start", "t"), "/home/a b");
    EXPECT_EQ(chooseFolder(desktop, "/start", "t"), "");
    EXPECT_EQ(desktop.folderDialogInitialFolders(), (std::vector<std::string>{"/start", "/start"}));
}

}  // namespace
}  // namespace yelian
