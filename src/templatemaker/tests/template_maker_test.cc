// The template maker on pages of our own: which download an address takes, the title,
// description and body replacements, the window's captions and messages, and find next and
// previous by the edit control's character positions.
#include "templatemaker/template_maker.h"

#include <gtest/gtest.h>

#include <functional>

#include "controls/record_controls.h"
#include "controls/template_maker_table.h"
#include "support/gbk_text.h"
#include "support/text_encoding.h"
#include "testing/gzip.h"
#include "testing/scripted_desktop.h"

namespace yelian {
namespace {

using testing::gzip;

using namespace yelian::literals;
using testing::ScriptedDesktop;

// Serves one page for every address and logs which download each address took.
class FakePages : public PageSource {
  public:
    std::string fetchBytes(std::string_view url, const GoOn&) override {
        secure.emplace_back(url);
        if (duringDownload) duringDownload();
        return bytes;
    }
    std::string requestText(std::string_view url, const GoOn&) override {
        plain.emplace_back(url);
        if (duringDownload) duringDownload();
        return text;
    }

    std::string bytes;
    std::string text;
    std::vector<std::string> secure;
    std::vector<std::string> plain;
    std::function<void()> duringDownload;
};

// An article page: navigation, the article under an h1 headline, comments, a footer. UTF-8.
std::string articlePageUtf8(std::string_view titleTag = "title") {
    std::string paragraphs;
    for (int i = 0; i < 6; ++i) {
        paragraphs +=
            "<p>青河地铁五号线今日开通试运营，全长二十六公里，共设车站十九座，"
            "串联起城东新区、老城区和南部高教园区，市民纷纷前来体验。</p>\n";
    }
    return "<html><head><meta charset=\"utf-8\">\n<" + std::string(titleTag) +
           ">五号线开通_青河晚报</" + std::string(titleTag) +
           ">\n<meta name=\"description\" content=\"旧的描述\">\n</head><body>\n"
           "<div class=\"nav\"><a href=\"/\">首页</a> <a href=\"/local/\">本地</a></div>\n"
           "<div class=\"article\"><h1>青河地铁五号线今日开通试运营</h1>\n"
           "<div class=\"content\">\n" +
           paragraphs +
           "</div></div>\n<div class=\"foot\"><a href=\"/about\">关于我们</a></div>\n"
           "</body></html>";
}

TEST(TemplateMakerPages, SecureAddressesAreDownloadedAsBytesAndDecoded) {
    FakePages pages;
    pages.bytes = gzip(articlePageUtf8());
    pages.text = "plain"_gbk;
    const std::string secure = readPage(pages, "HTTPS://example.test/a.html");
    EXPECT_NE(secure.find("五号线开通_青河晚报"_gbk), std::string::npos);
    EXPECT_EQ(readPage(pages, "http://example.test/a.html"), "plain");
    EXPECT_EQ(readPage(pages, "example.test/https://"), "plain");
    EXPECT_EQ(pages.secure, (std::vector<std::string>{"HTTPS://example.test/a.html"}));
    EXPECT_EQ(pages.plain.size(), 2u);
}

TEST(TemplateMakerPages, TitleAndDescriptionAreReplaced) {
    MarkupScanner scanner;
    struct Case {
        const char* page;
        const char* expected;
    };
    const Case cases[] = {
        {"<TITLE>Old</TITLE><p>x", "<title>#本篇标题#</title> <p>x"},
        {"<title></title>x", "<title>#本篇标题#</title> x"},
        {"no title here", "no title here"},
        {"<meta name=\"description\" content=\"old\">",
         "<meta name=\"description\" content=\"#描述#\">"},
        {"<meta name=\"description\"/>", "<meta name=\"description\" content=\"#描述#\"/>"},
        // Two description tags: the first one takes the tag.
        {"<meta name=\"description\" content=\"a\"><meta name=\"description\" content=\"b\">",
         "<meta name=\"description\" content=\"#描述#\"><meta name=\"description\" content=\"b\">"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gbkToUtf8(replaceTitleAndDescription(utf8ToGbk(c.page), scanner)), c.expected)
            << c.page;
    }
}

TEST(TemplateMakerPages, BodyAndArticleTitleBecomeTags) {
    BodyExtractor extractor;
    const MadeTemplate made = makeTemplateFromPage(
        readTextBytes(articlePageUtf8(), TextEncoding::Auto).text, true, extractor);
    ASSERT_FALSE(made.recognitionFailed);
    const std::string text = gbkToUtf8(made.text);
    EXPECT_NE(text.find("<title>#本篇标题#</title> "), std::string::npos);
    EXPECT_NE(text.find("content=\"#描述#\""), std::string::npos);
    EXPECT_NE(text.find("#导入的文件内容#"), std::string::npos);
    EXPECT_EQ(text.find("市民纷纷前来体验"), std::string::npos);
    EXPECT_NE(text.find("<h1>#本篇标题#</h1>"), std::string::npos);
    EXPECT_NE(text.find("关于我们"), std::string::npos);
}

class TemplateMakerWindowTest : public ::testing::Test {
  protected:
    TemplateMakerWindowTest() { controls.showWindow(kTemplateMakerWindow, false, kMainWindow); }

    std::string text(std::string_view control) const {
        return gbkToUtf8(controls.text(kTemplateMakerWindow, control));
    }
    std::string caption(std::string_view control) const {
        return gbkToUtf8(controls.caption(kTemplateMakerWindow, control));
    }
    void setText(std::string_view control, std::string_view utf8) {
        controls.setText(kTemplateMakerWindow, control, utf8ToGbk(utf8));
    }

    RecordControls controls{templateMakerSpec()};
    ScriptedDesktop desktop;
    FakePages pages;
    TemplateMakerWindow window{{controls, desktop}, pages};
};

TEST_F(TemplateMakerWindowTest, ALeftClickShowsTheStepsAndTheTemplate) {
    pages.text = readTextBytes(articlePageUtf8(), TextEncoding::Auto).text;
    setText(kAddressEdit, "www.example.test/news/1.html");
    std::vector<std::string> captions;
    pages.duringDownload = [&] { captions.push_back(caption(kMakeTemplateButton)); };
    desktop.onProcessEvents([&] { captions.push_back(caption(kMakeTemplateButton)); });
    window.makeTemplate(true);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.front(), "读取网页...");
    EXPECT_EQ(captions.back(), "识别正文...");
    EXPECT_EQ(caption(kMakeTemplateButton), "生成模板");
    EXPECT_NE(text(kTemplateSourceEdit).find("#导入的文件内容#"), std::string::npos);
    ASSERT_EQ(desktop.browserWrites().size(), 1u);
    EXPECT_EQ(desktop.browserWrites()[0].html,
              controls.text(kTemplateMakerWindow, kTemplateSourceEdit));
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(TemplateMakerWindowTest, AChosenCandidateBecomesTheBodyWithoutANewDownload) {
    const std::string page = readTextBytes(articlePageUtf8(), TextEncoding::Auto).text;
    pages.text = page;
    window.makeTemplate(true);
    const int listed = controls.itemCount(kTemplateMakerWindow, kCandidateCombo);
    ASSERT_GE(listed, 2);
    EXPECT_TRUE(controls.enabled(kTemplateMakerWindow, kCandidateCombo));
    EXPECT_EQ(controls.selectedIndex(kTemplateMakerWindow, kCandidateCombo), 0);
    EXPECT_TRUE(
        gbkToUtf8(controls.item(kTemplateMakerWindow, kCandidateCombo, 0)).starts_with("1. "));
    const std::string picked = text(kTemplateSourceEdit);
    for (int i = 1; i < listed; ++i) {
        controls.setSelectedIndex(kTemplateMakerWindow, kCandidateCombo, i);
        window.onCandidateChosen();
        const std::string chosen = text(kTemplateSourceEdit);
        EXPECT_NE(chosen, picked) << i;
        EXPECT_NE(chosen.find("#导入的文件内容#"), std::string::npos) << i;
        EXPECT_NE(chosen.find("<title>#本篇标题#</title> "), std::string::npos) << i;
    }
    controls.setSelectedIndex(kTemplateMakerWindow, kCandidateCombo, 0);
    window.onCandidateChosen();
    EXPECT_EQ(text(kTemplateSourceEdit), picked);
    EXPECT_EQ(pages.plain.size(), 1u);
    EXPECT_EQ(desktop.browserWrites().size(), static_cast<std::size_t>(listed) + 1);
    // The right click lists nothing to choose from.
    window.makeTemplate(false);
    EXPECT_EQ(controls.itemCount(kTemplateMakerWindow, kCandidateCombo), 0);
    EXPECT_FALSE(controls.enabled(kTemplateMakerWindow, kCandidateCombo));
}

TEST_F(TemplateMakerWindowTest, AFailedRecognitionSaysSoOnceAndKeepsThePage) {
    pages.text = "<html><head><title>Menu</title></head><body><a href=/>home</a></body></html>";
    window.makeTemplate(true);
    EXPECT_EQ(desktop.messageTextsUtf8(),
              (std::vector<std::string>{gbkToUtf8(kRecognitionFailedMessage)}));
    EXPECT_EQ(
        text(kTemplateSourceEdit),
        "<html><head><title>#本篇标题#</title> </head><body><a href=/>home</a></body></html>");
    // The right click never recognises, so it never complains.
    window.makeTemplate(false);
    EXPECT_EQ(desktop.messages().size(), 1u);
}

TEST_F(TemplateMakerWindowTest, AnEmptyOrUnreachableAddressEmptiesTheEditor) {
    window.makeTemplate(false);
    EXPECT_EQ(text(kTemplateSourceEdit), "");
    EXPECT_TRUE(desktop.messages().empty());
    setText(kTemplateSourceEdit, "old");
    window.makeTemplate(true);
    EXPECT_EQ(text(kTemplateSourceEdit), "");
    EXPECT_EQ(desktop.messages().size(), 1u);
}

TEST_F(TemplateMakerWindowTest, AClickDuringAGenerationStartsNoSecond) {
    pages.text = "<title>t</title>";
    pages.duringDownload = [&] { window.makeTemplate(true); };
    window.makeTemplate(false);
    EXPECT_EQ(pages.plain.size(), 1u);
    EXPECT_FALSE(window.generating());
}

TEST_F(TemplateMakerWindowTest, ClosingTheWindowDuringTheDownloadWritesNothing) {
    pages.text = readTextBytes(articlePageUtf8(), TextEncoding::Auto).text;
    setText(kTemplateSourceEdit, "kept");
    pages.duringDownload = [&] { controls.closeWindow(kTemplateMakerWindow); };
    window.makeTemplate(true);
    EXPECT_TRUE(desktop.messages().empty());
    EXPECT_TRUE(desktop.browserWrites().empty());
    EXPECT_FALSE(window.generating());
}

TEST_F(TemplateMakerWindowTest, FindNextAndPreviousWalkByEditPositions) {
    // Every CR and LF counts one position, a Chinese character one.
    setText(kTemplateSourceEdit, "甲ab\r\nAB乙\r\nab");
    setText(kSearchEdit, "ab");
    const auto selection = [&] {
        return controls.selectionStart(kTemplateMakerWindow, kTemplateSourceEdit);
    };
    // A match that begins within the search text's length after the caret is skipped, so
    // from the caret at the top the first "ab" is passed over.
    for (int expected : {5, 10, 1, 5}) {
        window.findNext();
        EXPECT_EQ(selection(), expected);
    }
    window.findPrevious();
    EXPECT_EQ(selection(), 1);
    window.findPrevious();  // nothing ends before position 1: from the end
    EXPECT_EQ(selection(), 10);
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(TemplateMakerWindowTest, NotFoundShowsOnTheButtonForASecond) {
    setText(kTemplateSourceEdit, "abc");
    setText(kSearchEdit, "zz");
    std::string during;
    desktop.onProcessEvents([&] { during = caption(kFindPreviousButton); });
    window.findPrevious();
    EXPECT_EQ(during, "找不到！");
    EXPECT_EQ(caption(kFindPreviousButton), "上一个");
    EXPECT_EQ(desktop.sleptMilliseconds(), 1000);
    window.findNext();
    EXPECT_EQ(caption(kFindNextButton), "下一个");
}

TEST_F(TemplateMakerWindowTest, PasteAndCopyGoThroughTheClipboard) {
    desktop.setClipboardText("https://example.test/"_gbk);
    window.pasteAddress();
    window.pasteSearchText();
    window.pasteTemplate();
    EXPECT_EQ(text(kAddressEdit), "https://example.test/");
    EXPECT_EQ(text(kSearchEdit), "https://example.test/");
    setText(kTemplateSourceEdit, "<p>模板</p>");
    window.copyTemplate();
    EXPECT_EQ(gbkToUtf8(desktop.clipboardText()), "<p>模板</p>");
    controls.setSelectedIndex(kTemplateMakerWindow, kTemplateMakerTabs, 1);
    window.onTabChanged();
    ASSERT_EQ(desktop.browserWrites().size(), 1u);
    EXPECT_EQ(gbkToUtf8(desktop.browserWrites()[0].html), "<p>模板</p>");
}

// Stands in for the desktop's browser engine: the page as its scripts would leave it.
class FakeRenderer : public PageRenderer {
  public:
    std::string renderedPage(std::string_view url, const std::function<bool()>& goOn) override {
        urls.emplace_back(url);
        if (duringRender) duringRender();
        stillWanted = goOn();
        return page;
    }

    std::string page;
    std::vector<std::string> urls;
    std::function<void()> duringRender;
    bool stillWanted = true;
};

TEST_F(TemplateMakerWindowTest, TheRenderedPageIsUsedOnlyWhenTickedAndARendererIsThere) {
    const std::string article = readTextBytes(articlePageUtf8(), TextEncoding::Auto).text;
    pages.text = "<html><head><title>Shell</title></head><body><div id=app></div></body></html>";
    FakeRenderer renderer;
    renderer.page = article;
    setText(kAddressEdit, "http://127.0.0.1/shell.html");
    // Ticked without a renderer (the command line): the source as downloaded.
    controls.setChecked(kTemplateMakerWindow, kRenderedCheck, true);
    window.makeTemplate(true);
    EXPECT_EQ(pages.plain.size(), 1u);
    EXPECT_EQ(desktop.messages().size(), 1u);

    window.setRenderer(&renderer);
    controls.setChecked(kTemplateMakerWindow, kRenderedCheck, false);
    window.makeTemplate(true);
    EXPECT_EQ(pages.plain.size(), 2u);
    EXPECT_TRUE(renderer.urls.empty());

    controls.setChecked(kTemplateMakerWindow, kRenderedCheck, true);
    window.makeTemplate(true);
    EXPECT_EQ(pages.plain.size(), 2u);
    EXPECT_EQ(renderer.urls, (std::vector<std::string>{"http://127.0.0.1/shell.html"}));
    EXPECT_NE(text(kTemplateSourceEdit).find("#导入的文件内容#"), std::string::npos);
    // The right click renders too, and keeps the body.
    window.makeTemplate(false);
    EXPECT_EQ(renderer.urls.size(), 2u);
    EXPECT_NE(text(kTemplateSourceEdit).find("市民纷纷前来体验"), std::string::npos);
}

TEST_F(TemplateMakerWindowTest, ClosingTheWindowWhileRenderingStopsTheWaitAndWritesNothing) {
    FakeRenderer renderer;
    renderer.page = readTextBytes(articlePageUtf8(), TextEncoding::Auto).text;
    renderer.duringRender = [&] { controls.closeWindow(kTemplateMakerWindow); };
    window.setRenderer(&renderer);
    controls.setChecked(kTemplateMakerWindow, kRenderedCheck, true);
    window.makeTemplate(true);
    EXPECT_FALSE(renderer.stillWanted);
    EXPECT_FALSE(window.generating());
    EXPECT_TRUE(desktop.browserWrites().empty());
    EXPECT_TRUE(desktop.messages().empty());
}

}  // namespace
}  // namespace yelian
