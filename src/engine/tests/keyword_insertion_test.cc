#include "engine/keyword_insertion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "support/text_routines.h"
#include "testing/scripted_desktop.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct PhraseCase {
    const char* line;
    std::vector<std::string> words;
    bool urlMode;
    std::vector<std::string> urls;
};

class PhraseLines : public ::testing::TestWithParam<PhraseCase> {};

TEST_P(PhraseLines, SplitIntoWordsAndAddresses) {
    const PhraseLine line = preparePhraseLine(GetParam().line);
    EXPECT_EQ(line.words, GetParam().words);
    EXPECT_EQ(line.urlMode, GetParam().urlMode);
    EXPECT_EQ(line.urls, GetParam().urls);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PhraseLines,
    ::testing::Values(
        PhraseCase{"", {}, false, {}}, PhraseCase{"a|b", {"a", "b"}, false, {}},
        PhraseCase{"a", {"a", "a"}, false, {}}, PhraseCase{"a||b|", {"a", "", "b"}, false, {}},
        PhraseCase{"a|b|http://x*http://y", {"a", "b"}, true, {"http://x", "http://y"}},
        PhraseCase{"a|http://x*", {"a"}, true, {"http://x"}},
        PhraseCase{"a|HTTP://X", {"a"}, true, {"HTTP://X"}},
        PhraseCase{"a|https://x", {"a", "https://x"}, false, {}},
        PhraseCase{"a|http://", {"a"}, true, {"/"}}, PhraseCase{"http://", {""}, true, {"/"}},
        PhraseCase{"http:///", {"/"}, true, {"/"}},
        PhraseCase{"http://x", {"http://x"}, true, {"http://x"}}));

// With as many insertions as characters every character is drawn exactly once, so the result
// does not depend on the draws.
std::string insertEverywhere(std::string_view utf8Content, std::string_view utf8Text = "K") {
    RandomSource random(7);
    const std::string content = utf8ToGbk(utf8Content);
    return gbkToUtf8(insertKeywords(content, utf8ToGbk(utf8Text), charCount(content), random));
}

struct PlacementCase {
    const char* content;
    const char* result;
};

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, PutsTheTextBetweenWordsAndOutsideTags) {
    EXPECT_EQ(insertEverywhere(GetParam().content), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, Placement,
    ::testing::Values(
        // Letters move after the nearest blank; a blank keeps the insertion after it.
        PlacementCase{"hello world", "hello K K K K K K K K K K K world"},
        // Equally far from both blanks: the one after wins.
        PlacementCase{" abc ", " K K abc K K K "},
        // Characters that are not letters take the text right after them, without a blank;
        // a CR LF is one character and is never split.
        PlacementCase{"中\r\n文", "中K\r\nK文K"}, PlacementCase{"中 文", "中K K 文K"},

        // No blank at all: right before the word.
        PlacementCase{"ab中", "K K ab中K"},
        // Inside a tag: before its "<" or after its ">", whichever is nearer.
        PlacementCase{"<b>中</b>", "KK<b>K中KKKK</b>K"},
        PlacementCase{"<img src=x>", "KKKKKKKKK<img src=x>KK"},
        // A blank inside a tag does not count as a place between words.
        PlacementCase{"<a b>", "K<a b>KKKK"}));

TEST(InsertKeywords, StepsOverWholeCharactersOfAnyLength) {
    struct Case {
        std::string content;
        std::string result;
    };
    // A four-byte character is one character, a second byte '0' alone does not make one, and
    // a lead byte at the very end stands alone. The long case runs past many stretches of
    // double-byte text into a four-byte character.
    std::vector<Case> cases = {{"\x81\x30\x81\x30.", "\x81\x30\x81\x30K.K"},
                               {"\xD6\x30\x81.", "\xD6\x30K\x81.K"},
                               {".\xD6", ".K\xD6K"},
                               {"", ""}};
    for (int i = 0; i < 100; ++i) {
        const std::string piece = i % 7 == 6 ? "\x81\x30\x81\x30" : i % 5 == 4 ? "." : "中"_gbk;
        cases.back().content += piece;
        cases.back().result += piece + "K";
    }
    for (const Case& c : cases) {
        RandomSource random(7);
        EXPECT_EQ(insertKeywords(c.content, "K", charCount(c.content), random), c.result);
    }
}

TEST(InsertKeywords, HelloWorldGetsTheWordAfterTheBlankWhereverTheDrawFalls) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        RandomSource random(seed);
        EXPECT_EQ(insertKeywords("hello world", "KW", 1, random), "hello KW world");
    }
}

TEST(InsertKeywords, AnImgTagNeverReceivesTheText) {
    std::set<std::string> results;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        RandomSource random(seed);
        results.insert(insertKeywords("<img src=\"a b.png\">", "K", 1, random));
    }
    EXPECT_THAT(results, ElementsAre("<img src=\"a b.png\">K", "K<img src=\"a b.png\">"));
}

TEST(InsertKeywords, CountsAtLeastOneAndRepeatsPlacesOnlyAfterAllWereUsed) {
    RandomSource random(3);
    EXPECT_EQ(insertKeywords("中"_gbk, "K", 0, random), "中K"_gbk);
    EXPECT_EQ(insertKeywords("中"_gbk, "K", -5, random), "中K"_gbk);
    EXPECT_EQ(insertKeywords("中"_gbk, "K", 3, random), "中KKK"_gbk);
    EXPECT_EQ(insertKeywords("", "K", 3, random), "");
}

TEST(InsertKeywords, CountsAtTheEndsOfTheirRangeAreCapped) {
    RandomSource random(3);
    const auto inserted = [&random](std::int64_t n) {
        const std::string result = insertKeywords("a", "K", n, random);
        return std::count(result.begin(), result.end(), 'K');
    };
    EXPECT_EQ(inserted(std::numeric_limits<std::int64_t>::min()), 1);
    EXPECT_EQ(inserted(std::numeric_limits<std::int64_t>::max()), kMaxInsertionsPerArticle);
}

TEST(InsertKeywords, LetsTheWindowProcessEventsOncePerInsertion) {
    RandomSource random(3);
    int calls = 0;
    insertKeywords("abc def", "K", 5, random, [&calls] { ++calls; });
    EXPECT_EQ(calls, 5);
}

// Random contents of words, Chinese, line breaks and tags: the text never lands inside a tag
// and never between two letters, and the content around it is unchanged.
TEST(InsertKeywords, NeverSplitsAWordOrATagInMixedContent) {
    const std::vector<std::string> pieces = {
        "word",   " ",  "中文"_gbk,        "<p>", "</p>", "<a href=\"x y\">", "\r\n", "x",
        "。"_gbk, "Ab", "中文中文中文"_gbk};
    RandomSource random(11);
    for (int round = 0; round < 300; ++round) {
        std::string content;
        const auto count = random.random(1, 60);
        for (std::int64_t i = 0; i < count; ++i) {
            content += pieces[static_cast<std::size_t>(random.random(0, 10))];
        }
        const std::int64_t n = random.random(1, 12);
        const std::string result = insertKeywords(content, "@", n, random);
        ASSERT_EQ(std::count(result.begin(), result.end(), '@'), n) << result;
        bool inTag = false;
        std::string rest;
        for (std::size_t i = 0; i < result.size(); ++i) {
            const char c = result[i];
            if (c == '<') inTag = true;
            if (c == '>') inTag = false;
            if (c != '@') {
                rest += c;
                continue;
            }
            ASSERT_FALSE(inTag) << result;
            const bool letterBefore =
                i > 0 && std::isalpha(static_cast<unsigned char>(result[i - 1]));
            const bool letterAfter =
                i + 1 < result.size() && std::isalpha(static_cast<unsigned char>(result[i + 1]));
            ASSERT_FALSE(letterBefore && letterAfter) << result;
        }
        // Only the texts and their blanks were added.
        const auto withoutBlanks = [](std::string text) {
            std::erase(text, ' ');
            return text;
        };
        ASSERT_EQ(withoutBlanks(rest), withoutBlanks(content)) << result;
    }
}

class KeywordInserterTest : public ::testing::Test {
  protected:
    RecordControls controls{mainWindowSpec()};
    testing::ScriptedDesktop desktop;
    RandomSource random{5};
    KeywordInserter inserter{random};

    void SetUp() override {
        controls.setChecked(kMainWindow, kInsertPhrasesCheck, true);
        setText(kInsertCountMinEdit, "1");
        setText(kInsertCountMaxEdit, "1");
    }
    void setText(std::string_view control, std::string_view utf8) {
        controls.setText(kMainWindow, control, utf8ToGbk(utf8));
    }
    std::string article(std::string_view utf8Content) {
        return gbkToUtf8(inserter.insertIntoArticle(Ui{controls, desktop}, utf8ToGbk(utf8Content)));
    }
};

TEST_F(KeywordInserterTest, LinksTheWordsToTheAddressesWithoutRepeatsWithinACycle) {
    setText(kPhraseCombo, "甲|乙|http://a.com*http://b.com");
    inserter.prepareRun(controls);
    std::vector<std::string> words;
    std::vector<std::string> urls;
    for (int i = 0; i < 6; ++i) {
        const std::string result = article("中");
        ASSERT_TRUE(result.starts_with("中<a target=\"_blank\" href=\"http://")) << result;
        urls.push_back(result.substr(result.find("http://"), 12));
        words.push_back(result.substr(result.find("\">") + 2, 3));
    }
    for (std::size_t cycle = 0; cycle < 6; cycle += 2) {
        EXPECT_THAT((std::set<std::string>{words[cycle], words[cycle + 1]}),
                    ElementsAre("乙", "甲"));
        EXPECT_THAT((std::set<std::string>{urls[cycle], urls[cycle + 1]}),
                    ElementsAre("http://a.com", "http://b.com"));
    }
}

TEST_F(KeywordInserterTest, AnAddressAloneGivesAnEmptyWordLinkingToTheRoot) {
    setText(kPhraseCombo, "http://");
    inserter.prepareRun(controls);
    EXPECT_EQ(article("中"), "中<a target=\"_blank\" href=\"/\"></a>");
}

TEST_F(KeywordInserterTest, ReadsTheBoundsForEveryArticleAndEmptyBoundsMeanOne) {
    setText(kPhraseCombo, "词");
    setText(kInsertCountMinEdit, "");
    setText(kInsertCountMaxEdit, "");
    inserter.prepareRun(controls);
    EXPECT_EQ(article("中"), "中词");
    setText(kInsertCountMinEdit, "3");
    setText(kInsertCountMaxEdit, "3");
    EXPECT_EQ(article("中"), "中词词词");
}

TEST_F(KeywordInserterTest, TakesTheGroupAtTheStartOfTheRunAndTheSwitchAtEveryArticle) {
    setText(kPhraseCombo, "甲");
    inserter.prepareRun(controls);
    setText(kPhraseCombo, "乙");
    EXPECT_EQ(article("中"), "中甲");
    controls.setChecked(kMainWindow, kInsertPhrasesCheck, false);
    EXPECT_EQ(article("中"), "中");
}

TEST_F(KeywordInserterTest, AnEmptyGroupChangesNothingAndIsSaidOncePerRun) {
    inserter.prepareRun(controls);
    EXPECT_EQ(article("中"), "中");
    EXPECT_EQ(article("abc"), "abc");
    EXPECT_TRUE(inserter.nothingInserted());
    EXPECT_EQ(desktop.messages().size(), 1u);
    inserter.prepareRun(controls);
    EXPECT_FALSE(inserter.nothingInserted());
    article("中");
    EXPECT_EQ(desktop.messages().size(), 2u);
}

TEST_F(KeywordInserterTest, OneSeedGivesOneRun) {
    setText(kPhraseCombo, "甲|乙|丙|http://a*http://b");
    setText(kInsertCountMaxEdit, "5");
    const auto runOnce = [this](std::uint64_t seed) {
        random.seed(seed);
        inserter.prepareRun(controls);
        std::vector<std::string> pages;
        for (int i = 0; i < 5; ++i) pages.push_back(article("one two 中文 <b>three</b> four"));
        return pages;
    };
    const std::vector<std::string> first = runOnce(9);
    EXPECT_THAT(runOnce(9), ElementsAreArray(first));
}

}  // namespace
}  // namespace yelian
