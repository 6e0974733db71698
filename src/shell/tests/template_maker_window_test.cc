// The template maker window in the desktop program: opened from the main window, its controls
// kept in their own section, its buttons reaching their handlers, and its closing.
#include <gtest/gtest.h>

#include "controls/template_maker_table.h"
#include "shell/startup.h"
#include "shell/tests/desktop_session.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::DesktopSession;
using testing::TempDir;

class TemplateMakerSessionTest : public ::testing::Test {
  protected:
    TemplateMakerSessionTest() { startProgram(s.app, fromNativePath(dir.path())); }

    void open() {
        ASSERT_TRUE(s.click(kTemplateMakerLink));
        ASSERT_TRUE(s.controls.windowExists(kTemplateMakerWindow));
    }
    std::string text(std::string_view control) const {
        return gbkToUtf8(s.text(kTemplateMakerWindow, control));
    }

    TempDir dir;
    DesktopSession s;
};

TEST_F(TemplateMakerSessionTest, AddressAndSearchTextComeBackButNotTheTemplate) {
    open();
    EXPECT_FALSE(s.controls.shownModal(kTemplateMakerWindow));
    const std::string help = text(kTemplateSourceEdit);
    EXPECT_NE(help.find("点击【生成模板】时"), std::string::npos);
    s.controls.setText(kTemplateMakerWindow, kAddressEdit, "https://example.test/a.html"_gbk);
    s.controls.setText(kTemplateMakerWindow, kSearchEdit, "正文"_gbk);
    s.controls.setText(kTemplateMakerWindow, kTemplateSourceEdit, "<p>edited</p>"_gbk);
    EXPECT_TRUE(s.send(kTemplateMakerWindow, {}, ControlEvent::Closing));
    EXPECT_FALSE(s.controls.windowExists(kTemplateMakerWindow));

    open();
    EXPECT_EQ(text(kAddressEdit), "https://example.test/a.html");
    EXPECT_EQ(text(kSearchEdit), "正文");
    EXPECT_EQ(text(kTemplateSourceEdit), help);
}

TEST_F(TemplateMakerSessionTest, ButtonsReachTheirHandlers) {
    open();
    s.desktop.setClipboardText("http://127.0.0.1:1/unreachable"_gbk);
    EXPECT_TRUE(s.click(kPasteAddressButton, kTemplateMakerWindow));
    EXPECT_EQ(text(kAddressEdit), "http://127.0.0.1:1/unreachable");
    // An unreachable server: an empty template and, with recognition, the failure message.
    EXPECT_TRUE(s.click(kMakeTemplateButton, kTemplateMakerWindow));
    EXPECT_EQ(text(kTemplateSourceEdit), "");
    EXPECT_EQ(s.desktop.messages().size(), 1u);
    EXPECT_TRUE(s.send(kTemplateMakerWindow, kMakeTemplateButton, ControlEvent::RightClicked));
    EXPECT_EQ(s.desktop.messages().size(), 1u);
    EXPECT_EQ(gbkToUtf8(s.controls.caption(kTemplateMakerWindow, kMakeTemplateButton)), "生成模板");
}

TEST_F(TemplateMakerSessionTest, ClosingTheMainWindowSavesAndClosesTheTemplateMaker) {
    open();
    s.controls.setText(kTemplateMakerWindow, kAddressEdit, "example.test/kept"_gbk);
    s.send(kMainWindow, {}, ControlEvent::Closing);
    EXPECT_FALSE(s.controls.windowExists(kTemplateMakerWindow));
    const std::string saved = s.app.settings().content();
    EXPECT_NE(saved.find("[模板制作]"_gbk), std::string::npos);
    EXPECT_NE(saved.find("编辑框网页地址=example.test/kept"_gbk), std::string::npos);
}

}  // namespace
}  // namespace yelian
