// The main window's events through the shell's dispatch: tag insertion and its target, the
// "更多" menu, the live samples, the paste buttons, drops, the header links and the keyword
// dialog.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "controls/template_maker_table.h"
#include "shell/help_links.h"
#include "shell/startup.h"
#include "shell/tests/desktop_session.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/shared_texts.h"
#include "testing/start_states.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::DesktopSession;

class WindowEventsTest : public ::testing::Test {
  protected:
    WindowEventsTest() { s.showMainWindow(); }

    std::string main(std::string_view control) const { return s.text(kMainWindow, control); }
    void focus(std::string_view editor) { s.send(kMainWindow, editor, ControlEvent::FocusGained); }

    DesktopSession s;
};

TEST_F(WindowEventsTest, TagButtonsDoNothingBeforeATemplateEditorHadTheFocus) {
    const std::string before = main(kTemplateEditor1);
    EXPECT_TRUE(s.click(kThisTitleButton));
    EXPECT_EQ(main(kTemplateEditor1), before);
    EXPECT_TRUE(s.controls.focus().control.empty());
}

TEST_F(WindowEventsTest, ATagReplacesTheSelectionAndKeepsTheFocus) {
    s.controls.setText(kMainWindow, kTemplateEditor2, "ab中文cd"_gbk);
    focus(kTemplateEditor2);
    focus(kTemplateEditor2);
    s.controls.selectRange(kMainWindow, kTemplateEditor2, 2, 2);
    s.controls.setFocus(kMainWindow, kTemplateEditor4);
    s.click(kThisTitleButton);
    EXPECT_EQ(main(kTemplateEditor2), "ab#本篇标题#cd"_gbk);
    EXPECT_EQ(s.controls.focus().control, kTemplateEditor2.str());
    // Without a selection the tag goes in at the caret, behind the last one.
    s.click(kRandomLinkButton);
    EXPECT_EQ(main(kTemplateEditor2), "ab#本篇标题##随机篇链接#cd"_gbk);
}

TEST_F(WindowEventsTest, TheOpenTemplateMakerTakesTheTagsUntilItCloses) {
    s.controls.addWindow(templateMakerSpec());
    s.controls.setText(kMainWindow, kTemplateEditor1, {});
    focus(kTemplateEditor1);
    s.click(kTemplateMakerPicture);
    ASSERT_TRUE(s.controls.windowExists(kTemplateMakerWindow));
    EXPECT_EQ(s.controls.ownerOf(kTemplateMakerWindow), kMainWindow.str());
    s.controls.setText(kTemplateMakerWindow, kTemplateSourceEdit, "<p>x</p>");
    s.click(kKeywordTagButton);
    EXPECT_EQ(s.text(kTemplateMakerWindow, kTemplateSourceEdit), "#关键词#<p>x</p>"_gbk);
    EXPECT_EQ(main(kTemplateEditor1), "");

    s.controls.closeWindow(kTemplateMakerWindow);
    s.click(kKeywordTagButton);
    EXPECT_EQ(main(kTemplateEditor1), "");
    focus(kTemplateEditor1);
    s.click(kKeywordTagButton);
    EXPECT_EQ(main(kTemplateEditor1), "#关键词#"_gbk);
}

TEST_F(WindowEventsTest, TheMoreMenuOffersFourTagsAndInsertsTheChosenOne) {
    s.controls.setText(kMainWindow, kTemplateEditor3, {});
    focus(kTemplateEditor3);
    s.desktop.answerPopupMenu(1);
    s.desktop.answerPopupMenu(-1);
    s.click(kMoreButton);
    s.click(kMoreButton);
    ASSERT_EQ(s.desktop.menus().size(), 2u);
    EXPECT_EQ(
        s.desktop.menus()[0].items,
        (std::vector<std::string>{kCounterTag, kTimeTag, kRandomChineseTag, kRandomLettersTag}));
    EXPECT_EQ(main(kTemplateEditor3), kTimeTag.str());
}

TEST_F(WindowEventsTest, EachKeystrokeInACountBoxDrawsANewSample) {
    const std::string prefix = "#随机汉字# - "_gbk;
    std::set<std::string> captions;
    for (std::string_view typed : {"2", "20", "200"}) {
        s.type(kMainWindow, kChineseLengthMaxEdit, typed);
        const std::string caption = s.controls.caption(kMainWindow, kRandomChineseGroup);
        ASSERT_TRUE(caption.starts_with(prefix)) << gbkToUtf8(caption);
        captions.insert(caption);
    }
    EXPECT_EQ(captions.size(), 3u);
    // 5 to 200 characters of two bytes each.
    EXPECT_GE(s.controls.caption(kMainWindow, kRandomChineseGroup).size(), prefix.size() + 10);

    s.controls.setChecked(kMainWindow, kDigitsCheck, true);
    s.click(kDigitsCheck);
    EXPECT_TRUE(
        s.controls.caption(kMainWindow, kRandomLettersGroup).starts_with("#随机数母# - "_gbk));
    s.type(kMainWindow, kTimeFormatEdit, "<年>年"_gbk);
    const std::string time = gbkToUtf8(s.controls.caption(kMainWindow, kTimeGroup));
    EXPECT_TRUE(time.starts_with("#时间# - ")) << time;
    EXPECT_TRUE(time.ends_with("年")) << time;
}

TEST_F(WindowEventsTest, PasteButtonsReplaceTheWholeBoxAndAnEmptyClipboardEmptiesIt) {
    s.desktop.setClipboardText("<div>");
    s.click(kPasteListHeadButton);
    EXPECT_EQ(main(kListHeadEdit), "<div>");
    s.desktop.setClipboardText({});
    for (auto [button, edit] :
         {std::pair{std::string_view(kPastePageEntryButton), std::string_view(kPageEntryEdit)},
          std::pair{std::string_view(kPasteArticleEntryButton),
                    std::string_view(kArticleEntryEdit)},
          std::pair{std::string_view(kPasteListTailButton), std::string_view(kListTailEdit)}}) {
        s.click(button);
        EXPECT_EQ(main(edit), "") << gbkToUtf8(button);
    }
}

TEST_F(WindowEventsTest, DropsGoToTheSelectedTemplatePageOnly) {
    s.controls.setSelectedIndex(kMainWindow, kTemplateTabs, 2);
    dispatchFilesDropped(s.app, kMainWindow, {"/文章/一.htm"_gbk});
    EXPECT_EQ(main(kTemplateEditor3), "/文章/一.htm"_gbk);
    dispatchFilesDropped(s.app, kMainWindow, {"/a.htm", "/b.htm"});
    EXPECT_EQ(main(kTemplateEditor3), "/a.htm\r\n/b.htm\r\n");
    s.controls.setSelectedIndex(kMainWindow, kTemplateTabs, 6);
    dispatchFilesDropped(s.app, kMainWindow, {"/c.htm"});
    EXPECT_EQ(main(kTemplateEditor3), "/a.htm\r\n/b.htm\r\n");
}

TEST_F(WindowEventsTest, HeaderLinksOpenTheirPagesAndTheHelpIsReadOnly) {
    s.click(kContactLink);
    s.click(kHomePagePicture);
    s.click(kLogoPicture);
    EXPECT_EQ(s.desktop.openedUrls(), (std::vector<std::string>{std::string(contactPageAddress()),
                                                                std::string(homePageAddress()),
                                                                std::string(homePageAddress())}));

    s.whileModal([this] {
        EXPECT_EQ(s.controls.caption(kInputDialogWindow, {}), "疑点说明"_gbk);
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), helpText());
        EXPECT_TRUE(s.controls.readOnly(kInputDialogWindow, kInputTextEdit));
        EXPECT_FALSE(s.controls.visible(kInputDialogWindow, kInputOkButton));
        EXPECT_FALSE(s.controls.visible(kInputDialogWindow, kInputToolbarFrame));
        EXPECT_EQ(s.controls.caption(kInputDialogWindow, kInputCancelButton), "关闭(&G)"_gbk);
        EXPECT_EQ(s.text(kInputDialogWindow, kInputPromptEdit), "");
        // Even a changed text closes without a question.
        s.controls.setText(kInputDialogWindow, kInputTextEdit, "x");
        s.send(kInputDialogWindow, {}, ControlEvent::Closing);
        EXPECT_FALSE(s.controls.windowExists(kInputDialogWindow));
    });
    s.click(kHelpLink);
    EXPECT_TRUE(s.desktop.messages().empty());
    EXPECT_EQ(s.controls.ownerOf(kInputDialogWindow), kMainWindow.str());
    EXPECT_TRUE(gbkToUtf8(helpText()).starts_with("-----------------【软件介绍】"));
}

TEST_F(WindowEventsTest, TheKeywordDialogReplacesTheListOnlyWhenConfirmed) {
    const std::string design = main(kKeywordListEdit);
    s.whileModal([this, design] {
        EXPECT_EQ(s.text(kInputDialogWindow, kInputTextEdit), design);
        EXPECT_TRUE(gbkToUtf8(s.text(kInputDialogWindow, kInputPromptEdit))
                        .starts_with("输入多个关键词，一行一个"));
        EXPECT_EQ(s.controls.caption(kInputDialogWindow, {}), "输入："_gbk);
        s.controls.setText(kInputDialogWindow, kInputTextEdit, "改了");
        s.click(kInputCancelButton, kInputDialogWindow);
    });
    s.click(kEnterKeywordsButton);
    EXPECT_EQ(main(kKeywordListEdit), design);

    s.confirmDialogWith("甲\r\n乙"_gbk);
    s.click(kEnterKeywordsButton);
    EXPECT_EQ(main(kKeywordListEdit), "甲\r\n乙"_gbk);
}

TEST_F(WindowEventsTest, EventsWithoutAHandlerAreLeftToTheToolkit) {
    EXPECT_FALSE(s.click(kTimeHelpButton));
    EXPECT_FALSE(s.send(kMainWindow, kTemplateEditor1, ControlEvent::Changed));
    EXPECT_FALSE(s.send(kMainWindow, {}, ControlEvent::Opened));
    EXPECT_FALSE(s.send(kMainWindow, kImportFilesButton, ControlEvent::RightClicked));
}

TEST(WindowStartTest, TheStartEnablesOnlyWhatTheDesignStatesAllow) {
    testing::TempDir dir;
    DesktopSession s;
    startProgram(s.app, fromNativePath(dir.path()));
    for (std::string_view name : testing::kDisabledAtStart) {
        EXPECT_FALSE(s.controls.enabled(kMainWindow, name)) << gbkToUtf8(name);
    }
    for (std::string_view name : testing::kEnabledAtStart) {
        EXPECT_TRUE(s.controls.enabled(kMainWindow, name)) << gbkToUtf8(name);
    }
}

TEST_F(WindowEventsTest, DependentControlsFollowTheirTriggers) {
    s.controls.setChecked(kMainWindow, kListPagesCheck, true);
    s.click(kListPagesCheck);
    EXPECT_TRUE(s.controls.enabled(kMainWindow, kArticlesPerListPageEdit));
    s.controls.setSelectedIndex(kMainWindow, kTitleSourceCombo, 2);
    s.send(kMainWindow, kTitleSourceCombo, ControlEvent::Changed);
    EXPECT_TRUE(s.controls.enabled(kMainWindow, kDropFirstLineCheck));
}

}  // namespace
}  // namespace yelian
