#include "support/text_routines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(TextBetween, CutsBetweenMarkersWithShiftsAndStandIns) {
    struct Case {
        std::string text;
        std::string left;
        std::string right;
        BetweenOptions options;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"a<b>c</b>d", "<b>", "</b>", {}, "c"},
        {"a<b>c</b>d", "<b>", "</b>", {.shiftStart = 1}, ""},
        {"a<b>cde</b>d", "<b>", "</b>", {.shiftStart = 1, .shiftEnd = 1}, "d"},
        {"a<b>c</b>d", "", "</b>", {}, "a<b>c"},
        {"a<b>c", "<b>", "", {}, "c"},
        {"x", "", "", {}, "x"},
        {"<TITLE>t</Title>", "<title>", "</title>", {}, "t"},
        {"a<b>c", "<b>", "</b>", {}, ""},
        {"a</b>c<b>", "<b>", "</b>", {}, ""},
        {"1[2]3[4]5", "[", "]", {.backward = true}, "4"},
        {"[2]3[4]", "[", "]", {.shiftStart = 10, .shiftEnd = -20}, ""},  // shifted past the end
        {"a=\"v\"", "a=''", "''", {.convertQuotes = true}, "v"},
        {"a=''v''", "a=''", "''", {}, "v"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textBetween(c.text, c.left, c.right, c.options), c.expected)
            << c.text << " " << c.left << " " << c.right;
    }
}

TEST(TextBetween, CursorMovesBehindTheBlockAndBackward) {
    const std::string text = "<i>1</i><i>2</i>";
    int cursor = 0;
    EXPECT_EQ(textBetween(text, "<i>", "</i>", cursor), "1");
    EXPECT_EQ(cursor, 9);
    EXPECT_EQ(textBetween(text, "<i>", "</i>", cursor), "2");
    EXPECT_EQ(cursor, 17);
    EXPECT_EQ(textBetween(text, "<i>", "</i>", cursor), "");
    EXPECT_EQ(cursor, 17);

    cursor = 0;
    const BetweenOptions backward{.backward = true};
    EXPECT_EQ(textBetween(text, "<i>", "</i>", cursor, backward), "2");
    EXPECT_EQ(cursor, 9);
    EXPECT_EQ(textBetween(text, "<i>", "</i>", cursor, backward), "1");
    EXPECT_EQ(cursor, 1);
    EXPECT_EQ(textBetween(text, "<i>", "</i>", cursor, backward), "");
}

TEST(TextBetween, EmptyLeftMarkerCountsPositionsWithTheStandIn) {
    int cursor = 0;
    EXPECT_EQ(textBetween("ab|c", "", "|", cursor), "ab");
    EXPECT_EQ(cursor, static_cast<int>(kHeadMarker.str().size()) + 4);
}

TEST(TextBetween, FourByteCharactersStayWhole) {
    const std::string emoji = "\x94\x39\xFC\x36";  // U+1F600 in GB18030
    EXPECT_EQ(textBetween("<p>" + emoji + "</p>", "<p>", "</p>"), emoji);
    // The digits inside the sequence are not markers.
    EXPECT_EQ(textBetween("[" + emoji + "6]", "9", "]"), "");
}

TEST(TextBetweenNext, WalksBlocksUntilFinished) {
    const std::string text = "<meta a><meta b>";
    int cursor = 0;
    EXPECT_EQ(textBetweenNext(text, "<meta", ">", cursor), " a");
    EXPECT_EQ(textBetweenNext(text, "<meta", ">", cursor), " b");
    EXPECT_EQ(textBetweenNext(text, "<meta", ">", cursor), "");
    EXPECT_EQ(cursor, kWalkFinished);
    EXPECT_EQ(textBetweenNext(text, "<", ">", cursor), "");
}

TEST(TextBetweenNext, RetriesWithoutQuotes) {
    // '' is read as a double quote; the blocks are found with and without the quotes.
    const std::string text = "<i class=x>1</i><i class=\"x\">2</i>";
    int cursor = 0;
    EXPECT_EQ(textBetweenNext("<i class=x>1</i>", "class=''x''>", "</i>", cursor), "1");
    cursor = 0;
    EXPECT_EQ(textBetweenNext(text, "class=''x''>", "</i>", cursor), "2");
    EXPECT_EQ(textBetweenNext(text, "class=''x''>", "</i>", cursor), "");
    cursor = 0;
    EXPECT_EQ(textBetweenNext(text, "class=''x''>", "</i>", cursor, {.keepQuotes = true}), "");
}

TEST(TextBetweenNext, BackwardTakesTheNearestOpenBeforeEachClose) {
    const std::string text = "<h2 x>a</h2><h2>b</h2>";
    int cursor = 0;
    const NextOptions backward{.backward = true};
    EXPECT_EQ(textBetweenNext(text, "<h2", "</h2>", cursor, backward), " x>a");
    EXPECT_EQ(textBetweenNext(text, "<h2", "</h2>", cursor, backward), ">b");
    EXPECT_EQ(textBetweenNext(text, "<h2", "</h2>", cursor, backward), "");
    EXPECT_EQ(cursor, kWalkFinished);
}

TEST(TextBetweenNext, BackwardWithLimitStopsAtAnOpenAlreadyUsed) {
    const std::string text = "<h2>a</h2>b</h2>";
    int cursor = 0;
    int limit = 0;
    const NextOptions backward{.backward = true};
    EXPECT_EQ(textBetweenNext(text, "<h2", "</h2>", cursor, limit, backward), ">a");
    EXPECT_EQ(limit, 6);
    EXPECT_EQ(textBetweenNext(text, "<h2", "</h2>", cursor, limit, backward), "");
    EXPECT_EQ(cursor, kWalkFinished);
}

TEST(QuotePairs, BecomeDoubleQuotes) {
    EXPECT_EQ(quotePairsToQuote("a=''b'''"), "a=\"b\"'");
    EXPECT_EQ(quotePairsToQuote(""), "");
}

TEST(ContainsAlternatives, AnyOrAll) {
    const std::string list = "charset=UTF-8[fg]charset=''UTF-8''";
    EXPECT_TRUE(containsAlternatives("<meta CHARSET=utf-8>", list, true));
    EXPECT_FALSE(containsAlternatives("<meta CHARSET=utf-8>", list, false));
    EXPECT_TRUE(containsAlternatives("x charset=utf-8 charset=''utf-8''", list, false));
    EXPECT_FALSE(containsAlternatives("gbk", list, true));
    EXPECT_FALSE(containsAlternatives("gbk", "", true));
    EXPECT_TRUE(containsAlternatives("gbk", "", false));
}

TEST(SplitText, FollowsTheSharedRule) {
    EXPECT_THAT(splitText("", "|"), IsEmpty());
    EXPECT_THAT(splitText("a|b", "|"), ElementsAre("a", "b"));
    EXPECT_THAT(splitText("a||b|", "|"), ElementsAre("a", "", "b"));
    EXPECT_THAT(splitText("|", "|"), ElementsAre(""));
    EXPECT_THAT(splitText("a[fg]b", "[fg]"), ElementsAre("a", "b"));
    EXPECT_THAT(splitText("ab", ""), ElementsAre("ab"));
    // A trailing byte equal to '|' (0x7C) is not a separator.
    EXPECT_THAT(splitText("\x81|x|y", "|"), ElementsAre("\x81|x", "y"));
}

}  // namespace
}  // namespace yelian
