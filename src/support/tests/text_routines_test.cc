#include "support/text_routines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/native_path.h"
#include "support/posix_file.h"
#include "testing/temp_dir.h"

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

TEST(MultiReplace, ReplacesPairByPairInListOrder) {
    struct Case {
        std::string text;
        std::string finds;
        std::string replacements;
        ReplaceOptions options;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"a-b_c", "-|_", "", {}, "abc"},
        {"a-b_c", "-|_", "1|2", {}, "a1b2c"},
        {"a-b_c", "-|_", "1|2|3", {}, "a1b2c"},
        {"a-b_c", "-|_", "1", {.fillEmpty = true}, "a1b1c"},
        {"Aa", "a", "x", {}, "xx"},
        {"Aa", "a", "x", {.caseSensitive = true}, "Ax"},
        {"aaa", "a", "b", {.count = 2}, "bba"},
        {"ab", "a|b", "b|c", {}, "cc"},  // each step works on the result of the previous one
        {"a,b", ",", ";", {.separator = "#"}, "a;b"},
        {"a|b", "|", "-", {.separator = ""}, "a|b"},  // "|" splits "|" into one empty find
        {"aaaa", "aa", "a", {}, "aa"},
        {"a-b-c-", "-", "<>", {}, "a<>b<>c<>"},
        {"a-b-c-", "-", "<>", {.count = 2}, "a<>b<>c-"},
        {"x##y##", "##|y", "|long", {}, "xlong"},
        {"\x81\x61\x61", "a", "b", {}, "\x81\x61\x62"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(multiReplace(c.text, c.finds, c.replacements, c.options), c.expected)
            << c.text << " " << c.finds << " " << c.replacements;
    }
}

TEST(ReplaceAtOnce, GivesEachFindExactlyItsOwnValue) {
    const std::vector<ReplacePair> pairs = {{"#A#", "[#B#]"}, {"#B#", "|"}, {"#AB#", "x"}};
    EXPECT_EQ(replaceAtOnce("#a#-#B#-#AB#", pairs), "[#B#]-|-x");
    EXPECT_EQ(replacePairs("#a#-#B#", pairs), "[|]-|");
    EXPECT_EQ(replaceAtOnce("#a#", pairs, true), "#a#");
}

TEST(CountOccurrences, NonOverlappingIgnoringCase) {
    EXPECT_EQ(countOccurrences("aAaA", "aa"), 2);
    EXPECT_EQ(countOccurrences("<p></P></p>", "</p>"), 2);
    EXPECT_EQ(countOccurrences("abc", ""), 0);
    EXPECT_EQ(countOccurrences("\x81\x61", "a"), 0);
}

TEST(CharCount, CountsCharactersAndLineBreaksByMode) {
    const std::string text = "a" + "中文"_gbk + "\x94\x39\xFC\x36" + "\r\n\r\n";
    EXPECT_EQ(charCount(text, LineBreaks::NotCounted), 4);
    EXPECT_EQ(charCount(text), 6);
    EXPECT_EQ(charCount(text, LineBreaks::EveryByte), 8);
    EXPECT_EQ(charCount(""), 0);
    EXPECT_EQ(charCount("\n\r"), 2);  // LF CR is two lone breaks
}

TEST(LeftAndMidChars, CutOnCharacterBoundaries) {
    const std::string zhong = "中"_gbk;
    const std::string emoji = "\x94\x39\xFC\x36";
    EXPECT_EQ(leftChars("中文abc"_gbk, 3), "中文a"_gbk);
    EXPECT_EQ(leftChars("a\r\nb", 2), "a\r\n");
    EXPECT_EQ(leftChars("abc", 0), "");
    EXPECT_EQ(leftChars("abc", 9), "abc");
    EXPECT_EQ(leftChars("abc", -1), "ab");
    EXPECT_EQ(leftChars("abc", -3), "abc");  // nothing would be left: the whole text
    EXPECT_EQ(leftChars(emoji + "x", 1), emoji);
    EXPECT_EQ(leftChars("\xD6", 1), "\xD6");  // a lead byte cut off at the end

    EXPECT_EQ(midChars("a" + zhong + emoji + "b", 2, 2), zhong + emoji);
    EXPECT_EQ(midChars("abc", 0, 1), "a");
    EXPECT_EQ(midChars("abc", 3, 5), "c");
    EXPECT_EQ(midChars("abc", 4, 1), "");
    EXPECT_EQ(midChars("abc", 1, 0), "");
    EXPECT_EQ(midChars("a\r\nb", 2, 1), "\r\n");
}

TEST(FindCharPos, CountsInCharactersForwardAndBackward) {
    const std::string text = "中"_gbk + "Ab\r\nab";  // characters: 中 A b CRLF a b
    EXPECT_EQ(findCharPos(text, "ab"), 2);
    EXPECT_EQ(findCharPos(text, "ab", 3), 5);
    EXPECT_EQ(findCharPos(text, "ab", -2), 5);
    EXPECT_EQ(findCharPos(text, "ab", 0, false), 5);
    EXPECT_EQ(findCharPos(text, "ab", 1, true, true), 2);
    EXPECT_EQ(findCharPos(text, "ab", 4, true, true), 6);  // CR and LF count one each
    EXPECT_EQ(findCharPos(text, "\n"), -1);                // inside the CR LF character
    EXPECT_EQ(findCharPos(text, "\n", 1, true, true), 5);
    EXPECT_EQ(findCharPos(text, ""), -1);
    EXPECT_EQ(findCharPos("xaab", "ab"), 3);

    EXPECT_EQ(findCharPosBackward(text, "ab"), 5);
    EXPECT_EQ(findCharPosBackward(text, "ab", 5), 2);
    EXPECT_EQ(findCharPosBackward(text, "ab", 6), 5);
    EXPECT_EQ(findCharPosBackward(text, "ab", -1), 2);
    EXPECT_EQ(findCharPosBackward(text, "ab", 2), -1);
    EXPECT_EQ(findCharPosBackward(text, "Ab", 0, false), 2);
    EXPECT_EQ(findCharPosBackward(text, "ab", 7, true, true), 6);
}

TEST(PathParts, SplitAtTheLastSeparator) {
    const std::string sep(1, kPathSeparator);
    const std::string path = "d" + sep + "x" + sep + "a.b.htm";
    EXPECT_EQ(fileNameOf(path), "a.b.htm");
    EXPECT_EQ(baseNameOf(path), "a.b");
    EXPECT_EQ(folderOf(path), "d" + sep + "x");
    EXPECT_EQ(fileNameOf("name"), "name");
    EXPECT_EQ(baseNameOf("name"), "name");
    EXPECT_EQ(folderOf("name"), "");
    EXPECT_EQ(fileNameOf("a/b.htm", true), "b.htm");
    EXPECT_EQ(baseNameOf("x.y/b", true), "b");
    EXPECT_EQ(folderOf("http://x/a/b.htm", true), "http://x/a");
}

TEST(UrlPath, TakesThePartBehindTheHost) {
    struct Case {
        std::string url;
        bool keepWhole;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"http://x.com/a/b.htm", true, "a/b.htm"},
        {"http://x.com/a/b.htm", false, "/a/b.htm"},
        {"http://x.com/index_2.htm", true, "index_2.htm"},
        {"list/index_2.htm", true, "index_2.htm"},
        {"index.htm", true, "index.htm"},
        {"index.htm", false, ""},
        {"http://x.com", true, "http://x.com"},
        {"/a", false, "/a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(urlPathOf(c.url, c.keepWhole), c.expected) << c.url;
    }
}

TEST(MakeFolders, CreatesEveryMissingFolderButNotTheFile) {
    const testing::TempDir dir;
    PosixFileEnv files;
    const std::string sep(1, kPathSeparator);
    const std::string root = fromNativePath(dir.path());
    const std::string x = root + sep + "x";
    const std::string y = x + sep + "目录"_gbk;
    const MakeFoldersResult result = makeFolders(files, y + sep + "z.htm");
    EXPECT_TRUE(result.ok);
    EXPECT_THAT(result.created, ElementsAre(x, y));
    EXPECT_TRUE(std::filesystem::is_directory(toNativePath(y)));
    EXPECT_FALSE(std::filesystem::exists(toNativePath(y + sep + "z.htm")));

    const MakeFoldersResult again = makeFolders(files, y + sep + "w" + sep);
    EXPECT_TRUE(again.ok);
    EXPECT_THAT(again.created, ElementsAre(y + sep + "w"));
}

TEST(MakeFolders, FailsAtAFileInTheWay) {
    const testing::TempDir dir;
    PosixFileEnv files;
    const std::string sep(1, kPathSeparator);
    dir.write("f", "not a folder");
    const std::string root = fromNativePath(dir.path());
    EXPECT_FALSE(makeFolders(files, root + sep + "f" + sep + "z.htm").ok);
    const MakeFoldersResult deeper = makeFolders(files, root + sep + "n" + sep + "f" + sep + "q");
    EXPECT_TRUE(deeper.ok);
    EXPECT_THAT(deeper.created, ElementsAre(root + sep + "n", root + sep + "n" + sep + "f"));
    dir.write("n/f/file", "x");
    const MakeFoldersResult blocked =
        makeFolders(files, root + sep + "n" + sep + "f" + sep + "file" + sep + "a" + sep + "b.htm");
    EXPECT_FALSE(blocked.ok);
    EXPECT_THAT(blocked.created, IsEmpty());
}

}  // namespace
}  // namespace yelian
