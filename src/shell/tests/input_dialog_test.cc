// The multi-line input dialog: its answers, its close question and the prompt's layout rule.
#include <gtest/gtest.h>

#include <string>

#include "shell/input_dialog.h"
#include "shell/tests/desktop_session.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::DesktopSession;

class InputDialogTest : public ::testing::Test {
  protected:
    InputDialogTest() { s.showMainWindow(); }

    TextDialogResult ask(std::string_view initial) {
        return showTextDialog(s.app, initial, ""_gbk, {}, kMainWindow, true);
    }
    void closeBox() { s.send(kInputDialogWindow, {}, ControlEvent::Closing); }
    bool open() const { return s.controls.windowExists(kInputDialogWindow); }
    void edit(std::string_view text) {
        s.controls.setText(kInputDialogWindow, kInputTextEdit, text);
    }

    DesktopSession s;
};

TEST_F(InputDialogTest, OkReturnsTheTextAndCancelReturnsNothing) {
    s.whileModal([this] {
        EXPECT_EQ(s.text(kInputDialogWindow, kInputPromptEdit), "请输入数据："_gbk);
        EXPECT_EQ(s.controls.focus().control, kInputTextEdit.str());
        s.click(kInputOkButton, kInputDialogWindow);
    });
    const TextDialogResult unchanged = ask("原文"_gbk);
    EXPECT_TRUE(unchanged.confirmed);
    EXPECT_EQ(unchanged.text, "原文"_gbk);

    s.whileModal([this] {
        edit("新的");
        s.click(kInputCancelButton, kInputDialogWindow);
    });
    const TextDialogResult cancelled = ask("原文"_gbk);
    EXPECT_FALSE(cancelled.confirmed);
    EXPECT_EQ(cancelled.text, "");
    EXPECT_TRUE(s.desktop.messages().empty());
}

TEST_F(InputDialogTest, TheToolBarRestoresClearsAndPastes) {
    s.whileModal([this] {
        s.click(kInputClearButton, kInputDialogWindow);
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), "");
        s.click(kInputRestoreButton, kInputDialogWindow);
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), "起点"_gbk);
        s.desktop.setClipboardText({});
        s.click(kInputPasteButton, kInputDialogWindow);
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), "");
        s.click(kInputCancelButton, kInputDialogWindow);
    });
    (void)ask("起点"_gbk);

    s.whileModal([this] {
        edit("有字");
        s.click(kInputRestoreButton, kInputDialogWindow);
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), "有字");
        s.click(kInputCancelButton, kInputDialogWindow);
    });
    (void)ask({});
    ASSERT_EQ(s.desktop.messages().size(), 1u);
    EXPECT_EQ(s.desktop.messageTextsUtf8()[0], "启动值为空！");
    EXPECT_EQ(s.desktop.messages()[0].title, "澜川："_gbk);
}

TEST_F(InputDialogTest, TheCloseBoxAsksOnlyWhenTheTextWasChanged) {
    // No keeps the dialog open; Yes gives the edit up.
    s.desktop.answerMessage(MessageAnswer::No);
    s.desktop.answerMessage(MessageAnswer::Yes);
    s.whileModal([this] {
        edit("改动");
        closeBox();
        EXPECT_TRUE(open());
        closeBox();
        EXPECT_FALSE(open());
    });
    EXPECT_FALSE(ask("原样"_gbk).confirmed);
    ASSERT_EQ(s.desktop.messages().size(), 2u);
    EXPECT_EQ(s.desktop.messageTextsUtf8()[0], "内容已被改动，是否要放弃？");
    EXPECT_EQ(s.desktop.messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(s.desktop.messages()[0].title, "澜川："_gbk);

    s.whileModal([this] {
        closeBox();
        EXPECT_FALSE(open());
    });
    EXPECT_FALSE(ask("原样"_gbk).confirmed);
    EXPECT_EQ(s.desktop.messages().size(), 2u);
}

TEST_F(InputDialogTest, ASecondCallWhileOpenReturnsAtOnce) {
    s.whileModal([this] {
        const TextDialogResult nested = ask("内层"_gbk);
        EXPECT_FALSE(nested.confirmed);
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), "外层"_gbk);
        s.click(kInputOkButton, kInputDialogWindow);
    });
    EXPECT_EQ(ask("外层"_gbk).text, "外层"_gbk);
    // A dialog left open by a desktop whose modal windows do not wait is ended by the call.
    EXPECT_FALSE(ask("无人回答"_gbk).confirmed);
    EXPECT_FALSE(open());
}

TEST_F(InputDialogTest, ThePromptTakesTwelvePixelsPerDisplayLine) {
    DialogRequest request;
    // 400 pixels leave 390 for the prompt: 65 bytes per line.
    const auto height = [&](std::optional<std::string> prompt) {
        request.prompt = std::move(prompt);
        return inputDialogLayout(request, 400, 300).prompt.height;
    };
    EXPECT_EQ(height(std::string(130, 'a')), 24);
    EXPECT_EQ(height(std::string(131, 'a')), 36);
    EXPECT_EQ(height("第一行\r\n\r\n第三行"_gbk), 36);
    EXPECT_EQ(height("一行\r\n"_gbk), 12);
    EXPECT_EQ(height(std::nullopt), 0);
    // An empty prompt shows the mode's default in one line.
    EXPECT_EQ(height(std::string()), 12);

    request.prompt = std::string(130, 'a');
    const InputDialogLayout layout = inputDialogLayout(request, 400, 300);
    EXPECT_EQ(layout.prompt.left, 5);
    EXPECT_EQ(layout.prompt.width, 390);
    EXPECT_EQ(layout.text.top, 5 + 24 + 5);
    EXPECT_EQ(layout.text.top + layout.text.height + layout.toolbar.height, 300);
    EXPECT_EQ(layout.toolbar.top, layout.text.top + layout.text.height);
    EXPECT_EQ(layout.cancel.left + layout.cancel.width, 395);
    EXPECT_EQ(layout.ok.left + layout.ok.width, layout.cancel.left);
    EXPECT_EQ(layout.ok.top, layout.toolbar.top + (layout.toolbar.height - layout.ok.height) / 2);
    // A window too small for its boxes gives none a negative size.
    EXPECT_EQ(inputDialogLayout(request, 4, 10).text.height, 0);
}

}  // namespace
}  // namespace yelian
