#include "testing/scripted_desktop.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/gbk_text.h"

namespace yelian::testing {
namespace {

using namespace yelian::literals;

TEST(ScriptedDesktop, AnswersInOrderAndLogsEveryBox) {
    ScriptedDesktop desktop;
    desktop.answerMessage(MessageAnswer::Yes);
    desktop.answerMessage(MessageAnswer::Cancel);
    EXPECT_EQ(desktop.messageBox("保存完毕！"_gbk, "", MessageButtons::Ok, MessageIcon::None),
              MessageAnswer::Ok);
    EXPECT_EQ(
        desktop.messageBox("a", "澜川："_gbk, MessageButtons::YesNo, MessageIcon::Information),
        MessageAnswer::Yes);
    EXPECT_EQ(desktop.messageBox("b", "", MessageButtons::OkCancel, MessageIcon::Question),
              MessageAnswer::Cancel);
    ASSERT_EQ(desktop.messages().size(), 3u);
    EXPECT_EQ(desktop.messages()[1].title, "澜川："_gbk);
    EXPECT_EQ(desktop.messages()[1].icon, MessageIcon::Information);
    EXPECT_EQ(desktop.messageTextsUtf8(), (std::vector<std::string>{"保存完毕！", "a", "b"}));
}

TEST(ScriptedDesktop, UnansweredQuestionsFailAndCancel) {
    ScriptedDesktop desktop;
    MessageAnswer answer = MessageAnswer::Yes;
    EXPECT_NONFATAL_FAILURE(answer = desktop.messageBox("确定要清空全部项目吗？"_gbk, "",
                                                        MessageButtons::YesNo, MessageIcon::None),
                            "确定要清空全部项目吗？");
    EXPECT_EQ(answer, MessageAnswer::No);
    std::vector<std::string> files{"x"};
    EXPECT_NONFATAL_FAILURE(files = desktop.chooseFiles("t", {}), "file dialog");
    EXPECT_TRUE(files.empty());
    std::string folder = "x";
    EXPECT_NONFATAL_FAILURE(folder = desktop.chooseFolder("t", "/tmp"), "folder dialog");
    EXPECT_EQ(folder, "");
    int item = 0;
    EXPECT_NONFATAL_FAILURE(item = desktop.popupMenu("w", {"a"}), "popup menu");
    EXPECT_EQ(item, -1);
}

TEST(ScriptedDesktop, AnswerThatDoesNotFitTheButtonsFails) {
    ScriptedDesktop desktop;
    desktop.answerMessage(MessageAnswer::Ok);
    MessageAnswer answer = MessageAnswer::Yes;
    EXPECT_NONFATAL_FAILURE(
        answer = desktop.messageBox("q", "", MessageButtons::YesNo, MessageIcon::None),
        "does not fit");
    EXPECT_EQ(answer, MessageAnswer::No);
}

TEST(ScriptedDesktop, LeftoverAnswersFailTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDesktop desktop;
            desktop.answerFolder("/tmp");
        },
        "never used");
}

TEST(ScriptedDesktop, EventsRunTheTestsHandlerAndTheClockIsFake) {
    ScriptedDesktop desktop;
    bool stop = false;
    desktop.onProcessEvents([&] {
        if (desktop.processEventsCount() == 3) stop = true;
    });
    int steps = 0;
    while (!stop && steps < 10) {
        ++steps;
        desktop.processPendingEvents();
    }
    EXPECT_EQ(steps, 3);
    const std::int64_t start = desktop.ticks();
    desktop.sleep(10);
    desktop.advanceClock(5);
    EXPECT_EQ(desktop.ticks() - start, 15);
    EXPECT_EQ(desktop.sleptMilliseconds(), 10);
}

}  // namespace
}  // namespace yelian::testing
