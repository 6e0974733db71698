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
    for (const Case& c : cases) EXPECT_EQ(extractor.strippedText(c.input), c.expected);
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
