#include "templatemaker/body_extractor.h"

#include <gtest/gtest.h>

#include <string>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

struct Case {
    std::string input;
    std::string expected;
};

std::string nestedDivs(std::size_t depth, std::string_view text) {
    std::string page = "<html><body>";
    for (std::size_t i = 0; i < depth; ++i) page += "<div>";
    page += text;
    for (std::size_t i = 0; i < depth; ++i) page += "</div>";
    return page + "</body></html>";
}

TEST(BodyExtractorHostilePages, DeepNestingIsRefusedAndAMilderOneStillRecognised) {
    BodyExtractor extractor;
    for (const RecognitionMode mode : {RecognitionMode::Nesting, RecognitionMode::Grouping}) {
        const Recognition refused = extractor.recognise(nestedDivs(100000, "text text"), mode);
        EXPECT_EQ(refused.failure, RecognitionFailure::TooComplex);
        EXPECT_TRUE(refused.body.empty());
    }
    // The next page starts afresh.
    const std::string text(200, 'x');
    const Recognition found = extractor.recognise(nestedDivs(20, text), RecognitionMode::Nesting);
    EXPECT_EQ(found.failure, RecognitionFailure::None);
    EXPECT_NE(found.body.find(text), std::string::npos);
}

TEST(BodyExtractorText, StrippedTextKeepsVisibleTextOutsideLinks) {
    BodyExtractor extractor;
    const Case cases[] = {
        {"<div><script type=x>var a;</script><!-- note -->Hello <a href=x>link</a>\r\n"
         "<b>World</b>\t</div>",
         "HelloWorld"},
        {"<head><title>T</title></head><style>p{}</style>/* c */正文<input value=1>"_gbk,
         "正文"_gbk},
        {"<a href=x>only links</a> <a href=y>more</a>", ""},
        // The link text of "<a\n" is not an anchor written "<a ", so only its tags go.
        {"<A\nhref=x>text</A>", "text"},
        {"<textarea rows=2>typed</textarea>", "typed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(extractor.visibleUtf8Text(gbkToUtf8(c.input)), gbkToUtf8(c.expected));
    }
}

TEST(BodyExtractorText, CleanTextGivesOneSafeLine) {
    BodyExtractor extractor;
    const Case cases[] = {
        {"<h1 class=t>A &amp; B: C</h1>", "A & B： C"_gbk},
        {"  <b>Title</b>  \r\n\r\n  second line \r\n", "Titlesecond line"},
        {"　全角空格　\r\n"_gbk, "全角空格"_gbk},
        {"&lt;b&gt;bold&lt;/b&gt; &quot;quoted&quot;", "bold quoted"},
        {"<script>x</script>", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(extractor.cleanText(c.input), c.expected);
}

TEST(BodyExtractorText, SmallConveniences) {
    BodyExtractor extractor;
    EXPECT_EQ(extractor.compactText("<p>a b</p>\r\n<p>c</p>"), "abc");
    EXPECT_EQ(extractor.stripTags("<p>a b</p>"), "a b");
    EXPECT_EQ(extractor.stripAnchorTags("<p><a href=x>a</a> <A\nhref=y>b</a></p>"), "<p>a b</p>");
    EXPECT_EQ(extractor.stripNonContent("a<select><option>1</select>b<button>c</button>"), "ab");
    EXPECT_EQ(extractor.textWithoutLinks("x&nbsp;&lt;i&gt;y <a href=z>link</a>"), "xy");
}

TEST(BodyExtractorHeadings, KeepsTheLongestHeadingWhilePageTitleContainsTheKeptOne) {
    BodyExtractor extractor;
    const std::string page =
        "<h1>Site</h1><p>x</p><h1 class=title>Article title here</h1><h1>Tiny</h1>";
    EXPECT_EQ(extractor.findHeadingTitle(1, "Article title here - Site", page),
              "Article title here");
    // Without a page title nothing counts as contained: the longest heading.
    EXPECT_EQ(extractor.findHeadingTitle(1, "", page), "Article title here");
    // Once the kept heading is not in the page title, longer headings no longer replace it.
    EXPECT_EQ(extractor.findHeadingTitle(1, "Short", "<h1>Other</h1><h1>Much longer</h1>"),
              "Other");
    EXPECT_EQ(extractor.findHeadingTitle(2, "", page), "");
}

TEST(BodyExtractorHeadings, EmptyHeadingEndsTheWalk) {
    BodyExtractor extractor;
    EXPECT_EQ(extractor.findHeadingTitle(2, "", "<h2>A</h2><h2> </h2><h2>Longer</h2>"), "A");
    EXPECT_EQ(extractor.findHeadingTitle(3, "t", "<H3>Upper &amp; case</H3>"), "Upper & case");
}

TEST(BodyExtractorSimilarity, SharesOfSentencesFoundInTheOtherText) {
    BodyExtractor extractor;
    EXPECT_EQ(extractor.similarity("甲。乙。"_gbk, "甲，丙"_gbk), 50);
    EXPECT_EQ(extractor.similarity("one, two; three", "one, two; three"), 100);
    EXPECT_EQ(extractor.similarity("one,two", "one"), 75);
    // A text without sentences shares nothing, instead of dividing by zero.
    EXPECT_EQ(extractor.similarity("", "abc"), 0);
    EXPECT_EQ(extractor.similarity("", ""), 0);
}

}  // namespace
}  // namespace yelian

namespace yelian {
namespace {

using namespace yelian::literals;

// An article div inside two wrapper divs that hold nothing else, beside a navigation div of
// links only.
std::string wrappedArticlePage() {
    return "<html><head><title>文章标题 - 站点</title></head><body>"
           "<div class=nav><a href=1>首页</a> <a href=2>新闻</a></div>"
           "<div class=wrap><div class=main><div class=article>"
           "<p>这是正文第一段。</p><p>这是正文第二段，内容较长一些。</p>"
           "</div></div></div></body></html>"_gbk;
}

TEST(BodyExtractorRecognise, NestingTakesTheInnermostArticleElement) {
    BodyExtractor extractor;
    const Recognition result = extractor.recognise(wrappedArticlePage(), RecognitionMode::Nesting);
    EXPECT_EQ(result.body,
              "<div class=article><p>这是正文第一段。</p>"
              "<p>这是正文第二段，内容较长一些。</p></div>"_gbk);
    EXPECT_EQ(result.pageTitle, "文章标题 - 站点"_gbk);
    // The site name goes, the blank before the separator stays.
    EXPECT_EQ(result.title, "文章标题 "_gbk);
}

TEST(BodyExtractorRecognise, GroupingTakesTheOutermostOfEqualTexts) {
    BodyExtractor extractor;
    const std::string page = wrappedArticlePage();
    const Recognition result = extractor.recognise(page, RecognitionMode::Grouping);
    EXPECT_EQ(result.body.substr(0, 42), "<div class=wrap><div class=main><div class");
    EXPECT_NE(page.find(result.body + "</body>"), std::string::npos);
}

TEST(BodyExtractorRecognise, GroupingDropsABlockMostlyMadeOfAShorterOne) {
    BodyExtractor extractor;
    EXPECT_EQ(extractor.pickBlockByGrouping(
                  "<div id=a><div id=b>Long article text 12345</div>short</div>", "div"),
              "<div id=b>Long article text 12345</div>");
    EXPECT_EQ(
        extractor.pickBlockByGrouping("<div id=a><div id=b>abc</div>defghijklmnop</div>", "div"),
        "<div id=a><div id=b>abc</div>defghijklmnop</div>");
}

TEST(BodyExtractorRecognise, TableWinsAboveEightyPercentOfTheDivText) {
    BodyExtractor extractor;
    const std::string table90 = "<table><tr><td>abcdefghi</td></tr></table>";
    const std::string table80 = "<table><tr><td>abcdefgh</td></tr></table>";
    for (const RecognitionMode mode : {RecognitionMode::Nesting, RecognitionMode::Grouping}) {
        EXPECT_EQ(extractor.recognise("<div>abcdefghij</div>" + table90, mode).body, table90);
        EXPECT_EQ(extractor.recognise("<div>abcdefghij</div>" + table80, mode).body,
                  "<div>abcdefghij</div>");
        // Without a div candidate any table with visible text wins.
        EXPECT_EQ(extractor.recognise("<p>x</p>" + table80, mode).body, table80);
    }
}

TEST(BodyExtractorRecognise, LowTextRatioGivesNoBodyAndNoTitle) {
    BodyExtractor extractor;
    const std::string page =
        "<title>T</title><div><span class=\"" + std::string(100, 'x') + "\">a</span></div>";
    EXPECT_EQ(extractor.pickBlockByNesting(page, "div"), kLowTextRatioMarker.str());
    EXPECT_EQ(extractor.pickBlockByGrouping(page, "div"), kLowTextRatioMarker.str());
    for (const RecognitionMode mode : {RecognitionMode::Nesting, RecognitionMode::Grouping}) {
        const Recognition result = extractor.recognise(page, mode);
        EXPECT_EQ(result.body, "");
        EXPECT_EQ(result.title, "");
    }
}

TEST(BodyExtractorRecognise, NestingEdgeResults) {
    BodyExtractor extractor;
    // Fewer than 10 bytes of markup.
    EXPECT_EQ(extractor.pickBlockByNesting("<b>xy</b>", "b"), "");
    EXPECT_EQ(extractor.pickBlockByNesting("<div><a href=x>link</a></div>", "div"), "");
    EXPECT_EQ(extractor.pickBlockByGrouping("<p>no divs</p>", "div"), "");
    // Equally long texts: the midpoint insertion puts the later "ttt" first.
    EXPECT_EQ(
        extractor.pickBlockByNesting("<div>ppp</div><div>q</div><div>r</div><div>ttt</div>", "div"),
        "<div>ttt</div>");
}

TEST(BodyExtractorRecognise, BodyIsTheMarkupAsItStandsInThePage) {
    BodyExtractor extractor;
    const std::string page = "<DIV class = \"text\">Some article text</DIV>";
    EXPECT_EQ(extractor.recognise(page, RecognitionMode::Nesting).body, page);
    EXPECT_EQ(extractor.recognise(page, RecognitionMode::Grouping).body, page);
}

TEST(BodyExtractorRecognise, HeadingTitleNeedsToFitThePageTitle) {
    BodyExtractor extractor;
    const std::string body = "<div>article text here</div>";
    const std::string title = "<title>#本篇标题#</title>"_gbk;
    // A 10-byte page title takes only a heading that is longer than it.
    EXPECT_EQ(extractor
                  .recognise(title + body + "<h1>Heading</h1><h2>A longer heading</h2>",
                             RecognitionMode::Nesting)
                  .title,
              "A longer heading");
    EXPECT_EQ(
        extractor.recognise(title + body + "<h1>Heading</h1>", RecognitionMode::Nesting).title,
        "#本篇标题#"_gbk);
    EXPECT_EQ(extractor
                  .recognise("<title>News: Big day - Site</title><h1>Big day</h1>" + body,
                             RecognitionMode::Nesting)
                  .title,
              "Big day");
    // skipHeadings goes straight to the page title.
    EXPECT_EQ(extractor
                  .recognise("<title>Big day - Site</title><h1>Big day</h1>" + body,
                             RecognitionMode::Nesting, {}, true)
                  .title,
              "Big day ");
}

TEST(BodyExtractorRecognise, PageTitleUpToItsFirstSeparator) {
    BodyExtractor extractor;
    const auto titleOf = [&extractor](const std::string& pageTitle, bool guard) {
        return extractor
            .recognise("<title>" + pageTitle + "</title><div>article text</div>",
                       RecognitionMode::Nesting, {}, false, guard)
            .title;
    };
    EXPECT_EQ(titleOf("first_second-third", false), "first");
    EXPECT_EQ(titleOf("标题—网站"_gbk, false), "标题"_gbk);
    EXPECT_EQ(titleOf("no separator", false), "no separator");
    EXPECT_EQ(titleOf("-leading", false), "-leading");
    // The guard keeps a title that the cut would leave with less than a third.
    EXPECT_EQ(titleOf("ab-cdefghijklmnop", false), "ab");
    EXPECT_EQ(titleOf("ab-cdefghijklmnop", true), "ab-cdefghijklmnop");
    EXPECT_EQ(titleOf("", false), "");
}

TEST(BodyExtractorRecognise, ProcessesEventsWhileWorking) {
    int calls = 0;
    BodyExtractor extractor([&calls] { ++calls; });
    extractor.recognise(wrappedArticlePage(), RecognitionMode::Nesting);
    EXPECT_GT(calls, 10);
}

TEST(BodyExtractorRecognise, StopsBetweenStepsWhenGoOnSaysNo) {
    // Every step count up to one beyond the whole recognition: the last one finishes.
    int steps = 0;
    BodyExtractor counter({}, [&steps] { return ++steps > 0; });
    const Recognition whole = counter.recognise(wrappedArticlePage(), RecognitionMode::Grouping);
    ASSERT_EQ(whole.failure, RecognitionFailure::None);
    for (const RecognitionMode mode : {RecognitionMode::Nesting, RecognitionMode::Grouping}) {
        for (int allowed = 0; allowed <= steps; ++allowed) {
            int asked = 0;
            BodyExtractor extractor({}, [&asked, allowed] { return asked++ < allowed; });
            const Recognition result = extractor.recognise(wrappedArticlePage(), mode);
            if (result.failure != RecognitionFailure::Stopped) {
                EXPECT_EQ(result.failure, RecognitionFailure::None);
                EXPECT_FALSE(result.body.empty());
                continue;
            }
            // Nothing after the refused step, and nothing of the page half-recognised.
            EXPECT_EQ(asked, allowed + 1);
            EXPECT_TRUE(result.body.empty());
            EXPECT_TRUE(result.title.empty());
        }
    }
    // A stop ends one recognition, not the extractor.
    bool stop = true;
    BodyExtractor extractor({}, [&stop] { return !stop; });
    EXPECT_EQ(extractor.recognise(wrappedArticlePage(), RecognitionMode::Nesting).failure,
              RecognitionFailure::Stopped);
    stop = false;
    EXPECT_EQ(extractor.recognise(wrappedArticlePage(), RecognitionMode::Nesting).body,
              counter.recognise(wrappedArticlePage(), RecognitionMode::Nesting).body);
}

TEST(BodyExtractorRecognise, SaysWhyNothingWasFound) {
    BodyExtractor extractor;
    const auto failureOf = [&extractor](const std::string& page, RecognitionMode mode) {
        return extractor.recognise(page, mode).failure;
    };
    const std::string lowRatio = "<div data-x=\"" + std::string(200, 'x') + "\">abc</div>";
    for (const RecognitionMode mode : {RecognitionMode::Nesting, RecognitionMode::Grouping}) {
        EXPECT_EQ(failureOf("<p>no blocks</p>", mode), RecognitionFailure::NoBlock);
        EXPECT_EQ(failureOf(lowRatio, mode), RecognitionFailure::LowTextRatio);
        EXPECT_EQ(failureOf(wrappedArticlePage(), mode), RecognitionFailure::None);
    }
    EXPECT_EQ(failureOf("<div><a href=x>only a link</a></div>", RecognitionMode::Nesting),
              RecognitionFailure::NoBlock);
}

TEST(BodyExtractorRecognise, SelectorModes) {
    BodyExtractor extractor;
    const std::string page =
        "<script>x</script><div class=a>one</div><!-- c --><div class=a>two</div>";
    EXPECT_EQ(extractor.recognise(page, RecognitionMode::FirstBySpecs, "div class=a").body,
              "<div class=a>one</div>");
    EXPECT_EQ(extractor.recognise(page, RecognitionMode::AllBySpecs, "div class=a").body,
              "<div class=a>one</div>\r\n<div class=a>two</div>");
}

}  // namespace
}  // namespace yelian
