#include "engine/tag_expansion.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "support/text_routines.h"
#include "taggen/generated_length.h"

namespace yelian {
namespace {

using namespace yelian::literals;

class TagExpansionTest : public ::testing::Test {
  protected:
    void set(std::string_view control, std::string_view text) {
        controls_.setText(kMainWindow, control, text);
    }
    // Pages made one after the other with one run state, as a run makes them.
    std::vector<std::string> expandPages(std::string_view pageTemplate, int pages,
                                         PageValues values = {}) {
        ExpansionState state(controls_, random_);
        std::vector<std::string> result;
        for (int i = 0; i < pages; ++i) result.push_back(expandPage(pageTemplate, values, state));
        return result;
    }
    std::string expandOne(std::string_view pageTemplate, const PageValues& values = {}) {
        return expandPages(pageTemplate, 1, values).front();
    }

    RecordControls controls_{mainWindowSpec()};
    RandomSource random_{7};
};

TEST_F(TagExpansionTest, ChainTagsGetExactlyTheirOwnValues) {
    PageValues values;
    values.currentTitle = "a|b #上一篇标题#"_gbk;
    values.currentLink = "a.htm";
    values.previousTitle = "没有上一篇了"_gbk;
    values.previousLink = "#";
    values.nextTitle = "n";
    values.nextLink = "n.htm";
    const std::string pageTemplate =
        "#本篇标题#|#本篇链接#|#上一篇标题#|#上一篇链接#|#下一篇标题#|#下一篇链接#"_gbk;
    EXPECT_EQ(expandOne(pageTemplate, values), "a|b #上一篇标题#|a.htm|没有上一篇了|#|n|n.htm"_gbk);
    values.folderForm = true;
    EXPECT_EQ(expandOne(pageTemplate, values),
              "a|b #上一篇标题#|../a.htm|没有上一篇了|../#|n|../n.htm"_gbk);
}

TEST_F(TagExpansionTest, RandomTagsTakeTheDrawsInOrder) {
    const std::vector<std::string> titles{"T1", "T2", "T3"};
    const std::vector<std::string> links{"l1/", "l2/", "l3/"};
    PageValues values;
    values.randomTitles = titles;
    values.randomLinks = links;
    const std::string pageTemplate =
        "#随机篇链接#:#随机篇标题# #随机篇链接#:#随机篇标题# #随机篇链接#"_gbk;
    EXPECT_EQ(expandOne(pageTemplate, values), "l1/:T1 l2/:T2 l3/");
    values.folderForm = true;
    EXPECT_EQ(expandOne(pageTemplate, values), "../l1/:T1 ../l2/:T2 ../l3/");
    // More tags than draws: the surplus tags stay.
    values.randomTitles = std::span(titles).first(1);
    values.randomLinks = std::span(links).first(1);
    EXPECT_EQ(expandOne(pageTemplate, values),
              "../l1/:T1 #随机篇链接#:#随机篇标题# #随机篇链接#"_gbk);
}

TEST_F(TagExpansionTest, ContentIsInsertedBeforeTheGeneratedTags) {
    set(kKeywordListEdit, "K");
    set(kKeywordCountMinEdit, "1");
    set(kKeywordCountMaxEdit, "1");
    PageValues values;
    values.content = "body #关键词# #本篇标题#"_gbk;
    // Chain tags in the content are not replaced (the content comes after them).
    EXPECT_EQ(expandOne("[#导入的文件内容#]"_gbk, values), "[body K #本篇标题#]"_gbk);
}

TEST_F(TagExpansionTest, CounterAdvancesOnlyOnPagesWithTheTag) {
    set(kCounterStartEdit, "10");
    set(kCounterStepEdit, "5");
    ExpansionState state(controls_, random_);
    PageValues values;
    EXPECT_EQ(expandPage("#递增# #递增#"_gbk, values, state), "10 10");
    EXPECT_EQ(expandPage("none", values, state), "none");
    EXPECT_EQ(expandPage("#递增#"_gbk, values, state), "15");
    // The step is read again on every page that has the tag.
    set(kCounterStepEdit, "100");
    EXPECT_EQ(expandPage("#递增#"_gbk, values, state), "115");

    set(kCounterStartEdit, "");
    set(kCounterStepEdit, "");
    EXPECT_EQ(expandOne("#递增#"_gbk), "0");
}

TEST_F(TagExpansionTest, DescriptionWithoutTagsLinksAndLineBreaks) {
    set(kDescriptionLengthMinEdit, "100");
    set(kDescriptionLengthMaxEdit, "100");
    ExpansionState state(controls_, random_);
    struct Case {
        std::string content;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"<p>Hello</p>\r\n  \r\n  <b>world</b> see http://x.com/a.htm end", "Helloworld see  end"},
        {"　 lead\r\nline \r\n"_gbk, "leadline"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"<p></p>\r\n", ""},
        {"www.example.com/x text", "text"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(descriptionOf(c.content, state), c.expected) << c.content;
    }

    set(kDescriptionLengthMinEdit, "3");
    set(kDescriptionLengthMaxEdit, "3");
    EXPECT_EQ(descriptionOf("中文字符"_gbk, state), "中文字"_gbk);
    PageValues values;
    values.content = "abcdef";
    EXPECT_EQ(expandOne("#描述#|#描述#"_gbk, values), "abc|abc");
}

// The description cleans only as much of the article as its length needs; it must equal the
// cut of the whole article cleaned.
TEST_F(TagExpansionTest, DescriptionEqualsTheCutOfTheWholeCleanedContent) {
    RegexObject linksAndTags;
    RegexObject lineBlanks;
    ASSERT_TRUE(linksAndTags.create(R"(([a-zA-z]+://|www.)[\w./]+|<[\S\s]+?>)"));
    ASSERT_TRUE(lineBlanks.create(R"(^[　 \t]*$(\r\n)|^[ 　\t]+|[ 　\t]+$|\r|\n)"_gbk));
    auto reference = [&](std::string_view content, int n) {
        std::string text = lineBlanks.replace(linksAndTags.replace(content, ""), "");
        while (text.starts_with(' ') || text.starts_with("　"_gbk)) {
            text.erase(0, text.starts_with(' ') ? 1 : 2);
        }
        return multiReplace(leftChars(text, n), "\"", "\\\"", {.caseSensitive = true});
    };
    const std::vector<std::string> pieces = {
        "<p>", "</p>", "<",           ">",          "<>",           "\r\n",      "\n",
        "\r",  " ",    "　"_gbk,      "\t",         "http://a.b/c", "www.x.y/z", "文字"_gbk,
        "abc", "\"",   "<a\nhref=x>", "\r\n  \r\n", "<!--\r\n-->"};
    std::mt19937 engine(5);
    for (int round = 0; round < 400; ++round) {
        std::string content;
        const std::size_t length = engine() % 400;
        for (std::size_t i = 0; i < length; ++i) content += pieces[engine() % pieces.size()];
        const int n = static_cast<int>(engine() % 150);
        set(kDescriptionLengthMinEdit, std::to_string(n));
        set(kDescriptionLengthMaxEdit, std::to_string(n));
        ExpansionState state(controls_, random_);
        ASSERT_EQ(descriptionOf(content, state), reference(content, n)) << content;
    }
}

TEST_F(TagExpansionTest, CounterStopsAtTheEndsOfItsRange) {
    PageValues values;
    set(kCounterStartEdit, "9223372036854775800");
    set(kCounterStepEdit, "5");
    ExpansionState up(controls_, random_);
    EXPECT_EQ(expandPage("#递增#"_gbk, values, up), "9223372036854775800");
    EXPECT_EQ(expandPage("#递增#"_gbk, values, up), "9223372036854775805");
    EXPECT_EQ(expandPage("#递增#"_gbk, values, up), "9223372036854775807");
    EXPECT_EQ(expandPage("#递增#"_gbk, values, up), "9223372036854775807");

    set(kCounterStartEdit, "-9223372036854775800");
    set(kCounterStepEdit, "-9223372036854775808");
    ExpansionState down(controls_, random_);
    EXPECT_EQ(expandPage("#递增#"_gbk, values, down), "-9223372036854775800");
    EXPECT_EQ(expandPage("#递增#"_gbk, values, down), "-9223372036854775808");
    EXPECT_EQ(expandPage("#递增#"_gbk, values, down), "-9223372036854775808");
}

TEST_F(TagExpansionTest, AHugeKeywordCountIsCappedLikeTheOtherGeneratedValues) {
    set(kKeywordListEdit, "k");
    set(kKeywordCountMinEdit, "99999999999");
    set(kKeywordCountMaxEdit, "99999999999");
    const std::string keywords = expandOne("#关键词#"_gbk);
    EXPECT_EQ(std::count(keywords.begin(), keywords.end(), 'k'), kMaxGeneratedLength);
}

TEST_F(TagExpansionTest, KeywordsCycleInListOrderAcrossPages) {
    set(kKeywordListEdit, "A\r\nB\r\nC\r\n");
    set(kKeywordCountMinEdit, "2");
    set(kKeywordCountMaxEdit, "2");
    controls_.setChecked(kMainWindow, kOrderedCheck, true);
    EXPECT_EQ(expandPages("#关键词#;#关键词#"_gbk, 3),
              (std::vector<std::string>{"A,B;A,B", "C,A;C,A", "B,C;B,C"}));
}

TEST_F(TagExpansionTest, EmptyKeywordAddsNoCommaWhenFirst) {
    set(kKeywordListEdit, "A\r\n\r\nC");
    set(kKeywordCountMinEdit, "2");
    set(kKeywordCountMaxEdit, "2");
    controls_.setChecked(kMainWindow, kOrderedCheck, true);
    EXPECT_EQ(expandPages("#关键词#"_gbk, 3), (std::vector<std::string>{"A,", "C,A", "C"}));

    set(kKeywordCountMinEdit, "");
    set(kKeywordCountMaxEdit, "");
    EXPECT_EQ(expandOne("[#关键词#]"_gbk), "[]");
    set(kKeywordListEdit, "");
    set(kKeywordCountMinEdit, "3");
    EXPECT_EQ(expandOne("[#关键词#]"_gbk), "[]");
}

TEST_F(TagExpansionTest, RandomKeywordsRepeatOnlyAfterTheWholeList) {
    set(kKeywordListEdit, "A\r\nB\r\nC\r\nD");
    set(kKeywordCountMinEdit, "2");
    set(kKeywordCountMaxEdit, "2");
    const std::vector<std::string> pages = expandPages("#关键词#"_gbk, 2);
    std::vector<std::string> drawn = splitText(pages[0] + "," + pages[1], ",");
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST_F(TagExpansionTest, GeneratedTagsGetOneValuePerPage) {
    set(kChineseLengthMinEdit, "4");
    set(kChineseLengthMaxEdit, "4");
    set(kLettersLengthMinEdit, "6");
    set(kLettersLengthMaxEdit, "6");
    controls_.setChecked(kMainWindow, kRandomTimeCheck, true);
    set(kYearFromEdit, "2001");
    set(kYearToEdit, "2001");
    set(kTimeFormatEdit, "<年>"_gbk);
    const std::string page =
        expandOne("#随机汉字#|#随机汉字#|#随机数母#|#随机数母#|#时间#|#时间#"_gbk);
    const std::vector<std::string> parts = splitText(page, "|");
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_EQ(parts[0].size(), 8u);
    EXPECT_EQ(parts[0], parts[1]);
    EXPECT_EQ(parts[2].size(), 6u);
    EXPECT_EQ(parts[2], parts[3]);
    EXPECT_EQ(parts[4], "2001");
    EXPECT_EQ(parts[5], "2001");
}

}  // namespace
}  // namespace yelian
