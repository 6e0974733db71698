#include "support/regex_object.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Replaces with a freshly compiled expression and the default flags.
std::string replaceAll(std::string_view pattern, std::string_view subject,
                       std::string_view replacement) {
    RegexObject regex;
    EXPECT_TRUE(regex.create(pattern));
    return regex.replace(subject, replacement);
}

std::vector<std::string> matchesOf(RegexObject& regex, std::string_view subject) {
    std::vector<std::string> values;
    const int count = regex.execute(subject);
    for (int i = 1; i <= count; ++i) values.push_back(regex.matchValue(i));
    return values;
}

std::vector<std::string> matchesOf(std::string_view pattern, std::string_view subject) {
    RegexObject regex;
    EXPECT_TRUE(regex.create(pattern));
    return matchesOf(regex, subject);
}

// Chinese characters whose second byte is "\", "[", "]", "{", "|" and "}".
const std::string& trickyChinese() {
    static const std::string text = "乗乕乚亄亅亇"_gbk;
    return text;
}

TEST(RegexEscaping, EachRoutineEscapesItsOwnList) {
    const std::string text = "\\^$+.{}[]=()?*|\"-;a";
    EXPECT_EQ(RegexObject::escapeAll(text),
              "\\\\\\^\\$\\+\\.\\{\\}\\[\\]\\=\\(\\)\\?\\*\\|\\\"-;a");
    EXPECT_EQ(RegexObject::escapeKeepAlternation(text),
              "\\\\\\^\\$\\+\\.\\{\\}\\[\\]\\=\\(\\)\\?\\*|\\\"-;a");
    EXPECT_EQ(RegexObject::escapeKeepGroups(text),
              "\\\\\\^\\$\\+\\.\\{\\}\\[\\]\\=()\\?\\*|\\\"-;a");
    EXPECT_EQ(RegexObject::wildcardToPattern(text),
              "\\\\\\^\\$\\+\\.\\{\\}\\[\\]\\=\\(\\).?.*|\\\"\\-;a");
}

TEST(RegexEscaping, TrailingBytesOfChineseCharactersAreNeverEscaped) {
    const std::string text = trickyChinese() + "\\" + trickyChinese();
    const std::string expected = trickyChinese() + "\\\\" + trickyChinese();
    EXPECT_EQ(RegexObject::escapeAll(text), expected);
    EXPECT_EQ(RegexObject::escapeKeepAlternation(text), expected);
    EXPECT_EQ(RegexObject::escapeKeepGroups(text), expected);
    EXPECT_EQ(RegexObject::wildcardToPattern(text), expected);
    // And the escaped text matches the original literally.
    RegexObject regex;
    ASSERT_TRUE(regex.create(RegexObject::escapeAll(text)));
    EXPECT_EQ(regex.execute("x" + text + "y"), 1);
    EXPECT_EQ(regex.matchValue(1), text);
}

TEST(RegexEscaping, ABrokenLeadByteLeavesNoMetacharacterLive) {
    for (const std::string& text : {std::string("\x81)"), std::string("a\x81*"),
                                    std::string("\xFE|x"), std::string("\x81")}) {
        std::vector<std::string> escapes = {RegexObject::escapeAll(text)};
        if (text.find('|') == std::string::npos) {
            escapes.push_back(RegexObject::escapeKeepAlternation(text));
        }
        for (const std::string& escaped : escapes) {
            RegexObject regex;
            ASSERT_TRUE(regex.create(escaped)) << escaped;
            EXPECT_EQ(regex.execute("<" + text + ">"), 1) << escaped;
            EXPECT_EQ(regex.matchValue(1), text);
        }
    }
}

// 0x80 and 0xFF never begin a double-byte character, whatever follows them: a backslash
// after one is a character of its own and must be escaped.
TEST(RegexEscaping, ByteThatIsNoLeadLeavesNoBackslashLive) {
    for (const std::string& text : {std::string("\x80\\"), std::string("\xFF\\"),
                                    std::string("\xFF\\x"), std::string("\x80\\u4e00"),
                                    // Stray bytes shift which bytes pair up after them.
                                    std::string("\xFF\xFF\xFF\xE9\xE9\xE9\\")}) {
        RegexObject regex;
        ASSERT_TRUE(regex.create(RegexObject::escapeAll(text), false)) << regex.errorText();
        EXPECT_EQ(regex.execute("<" + text + ">"), 1);
        EXPECT_EQ(regex.matchValue(1), text);
    }
}

TEST(RegexEscaping, WildcardFilterMatchesWholeNames) {
    RegexObject regex;
    ASSERT_TRUE(regex.create(RegexObject::wildcardToPattern("a*.txt|b?.htm"), true, true, false));
    const auto firstMatch = [&](std::string_view name) {
        return regex.execute(name) > 0 ? regex.matchValue(1) : std::string();
    };
    EXPECT_EQ(firstMatch("abc.txt"), "abc.txt");
    EXPECT_EQ(firstMatch("b.htm"), "b.htm");  // "?" is zero or one character
    EXPECT_EQ(firstMatch("bx.htm"), "bx.htm");
    EXPECT_EQ(firstMatch("xbx.htm"), "bx.htm");  // found, but not the whole name
    EXPECT_EQ(firstMatch("abctxt"), "");
}

TEST(RegexMatching, MatchListIsOneBasedWithGroupsAndCharacterIndexes) {
    RegexObject regex;
    ASSERT_TRUE(regex.create("(\\d+)([a-z])?"));
    const std::string subject = "中文12a 34"_gbk;
    ASSERT_EQ(regex.execute(subject), 2);
    EXPECT_EQ(regex.matchValue(1), "12a");
    EXPECT_EQ(regex.matchValue(2), "34");
    EXPECT_EQ(regex.subMatch(1, 1), "12");
    EXPECT_EQ(regex.subMatch(1, 2), "a");
    EXPECT_EQ(regex.subMatch(2, 2), "");  // did not take part
    EXPECT_EQ(regex.subMatchCount(), 2);
    EXPECT_EQ(regex.matchValueAt(2).firstIndex, 6);  // two Chinese characters count 1 each
    const RegexMatch group = regex.subMatchAt(2, 1);
    EXPECT_EQ(group.value, "34");
    EXPECT_EQ(group.firstIndex, 6);
    // Out of range.
    EXPECT_EQ(regex.matchValue(0), "");
    EXPECT_EQ(regex.matchValue(3), "");
    EXPECT_EQ(regex.subMatch(1, 0), "");
    EXPECT_EQ(regex.subMatch(1, 3), "");
    EXPECT_EQ(regex.matchValueAt(3).firstIndex, -1);
    EXPECT_EQ(regex.execute("none"), 0);
    EXPECT_EQ(regex.subMatchCount(), 0);
}

TEST(RegexMatching, MatchListStaysUntilTheNextExecute) {
    RegexObject regex;
    ASSERT_TRUE(regex.create("b"));
    ASSERT_EQ(regex.execute("abcb"), 2);
    ASSERT_TRUE(regex.create("c"));
    EXPECT_EQ(regex.pattern(), "c");
    EXPECT_EQ(regex.matchCount(), 2);
    EXPECT_EQ(regex.replace("abc", "x"), "abx");  // replace leaves the list alone
    EXPECT_EQ(regex.matchValue(2), "b");
    EXPECT_EQ(regex.execute("abc"), 1);
}

TEST(RegexMatching, CopiesShareResultsButSearchOnTheirOwn) {
    RegexObject original;
    ASSERT_TRUE(original.create("\\d"));
    original.execute("1 2");
    RegexObject copy = original;
    EXPECT_EQ(copy.matchCount(), 2);
    original.create("[a-z]");
    original.execute("abc");
    EXPECT_EQ(copy.matchCount(), 2);
    EXPECT_EQ(copy.pattern(), "\\d");
    EXPECT_EQ(copy.replace("a1", "#"), "a#");
    EXPECT_EQ(original.matchCount(), 3);
}

TEST(RegexMatching, DoubleByteCharactersAreSingleCharacters) {
    const std::string emoji = "\x94\x39\xFC\x36";  // a four-byte GB18030 character
    EXPECT_EQ(matchesOf("^.$", "中"_gbk), std::vector<std::string>{"中"_gbk});
    EXPECT_EQ(matchesOf("^.$", emoji), std::vector<std::string>{emoji});
    EXPECT_EQ(matchesOf("[中文]+"_gbk, "英中文英"_gbk), std::vector<std::string>{"中文"_gbk});
    EXPECT_EQ(matchesOf("[^中]"_gbk, "中文"_gbk), std::vector<std::string>{"文"_gbk});
    EXPECT_EQ(matchesOf("[\\u4e00-\\u9fa5]+", "ab中文cd"_gbk),
              std::vector<std::string>{"中文"_gbk});
    // A class with a tricky trailing byte does not match the byte on its own.
    EXPECT_THAT(matchesOf("[乗]"_gbk, "\\"), IsEmpty());
}

TEST(RegexMatching, ResultsAreTheSubjectsOwnBytes) {
    // Every kind of character: ASCII, GBK, valid four-byte sequences (U+0080, an emoji,
    // U+FFFF, and U+10FFE3, whose code point is also the stand-in for a lone byte E3), a
    // four-byte pattern past the end of the table (each of its bytes stands alone),
    // bytes that are not GBK at all and a lead byte cut off at the end.
    const std::vector<std::string> characters = {"a",
                                                 "中"_gbk,
                                                 "\x81\x30\x81\x30",
                                                 "\x94\x39\xFC\x36",
                                                 "\x84\x31\xA4\x39",
                                                 "\xE3\x32\x97\x37",
                                                 "\xE3",
                                                 "2",
                                                 "\x9A",
                                                 "6",
                                                 "\x80",
                                                 "\xFF",
                                                 "\r",
                                                 "b",
                                                 "\xD6"};
    std::string subject;
    std::string bracketed;
    for (const std::string& c : characters) {
        subject += c;
        bracketed += "<" + c + ">";
    }
    RegexObject regex;
    ASSERT_TRUE(regex.create("[\\s\\S]"));
    ASSERT_EQ(regex.execute(subject), static_cast<int>(characters.size()));
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const RegexMatch match = regex.matchValueAt(static_cast<int>(i) + 1);
        EXPECT_EQ(match.value, characters[i]) << i;
        EXPECT_EQ(match.firstIndex, static_cast<int>(i));
    }
    EXPECT_EQ(regex.replace(subject, "<$&>"), bracketed);
}

TEST(RegexMatching, GroupsBeforeTheMatchAndRepeatedReferences) {
    EXPECT_EQ(replaceAll("(?<=(中))文"_gbk, "中文中文"_gbk, "[$1$&$1$&]"),
              "中[中文中文]中[中文中文]"_gbk);
    RegexObject regex;
    ASSERT_TRUE(regex.create("(?<=(\\d))字"_gbk));
    ASSERT_EQ(regex.execute("1字2字"_gbk), 2);
    EXPECT_EQ(regex.subMatchAt(2, 1).value, "2");
    EXPECT_EQ(regex.subMatchAt(2, 1).firstIndex, 3);
}

TEST(RegexMatching, WhitespaceAndWordClassesAreAscii) {
    const std::string blank = "　"_gbk;
    EXPECT_EQ(matchesOf("\\s+", "a \t\r\n\f\vb" + blank), std::vector<std::string>{" \t\r\n\f\v"});
    EXPECT_EQ(matchesOf("[\\s　]+"_gbk, "a " + blank + "\tb"),
              std::vector<std::string>{" " + blank + "\t"});
    EXPECT_EQ(matchesOf("\\S+", "a中 b"_gbk), (std::vector<std::string>{"a中"_gbk, "b"}));
    EXPECT_EQ(matchesOf("<[\\s\\S]+?>", "<a\r\nb>c<d>"),
              (std::vector<std::string>{"<a\r\nb>", "<d>"}));
    EXPECT_EQ(matchesOf("\\w+", "ab_1中文x"_gbk), (std::vector<std::string>{"ab_1", "x"}));
}

TEST(RegexMatching, DotAndAnchorsStopAtEveryKindOfLineBreak) {
    const std::string subject = "ab\rcd\r\nef\ngh";
    EXPECT_EQ(matchesOf(".+", subject), (std::vector<std::string>{"ab", "cd", "ef", "gh"}));
    EXPECT_EQ(matchesOf("^\\w+$", subject), (std::vector<std::string>{"ab", "cd", "ef", "gh"}));
    // CR LF is one line boundary.
    EXPECT_EQ(replaceAll("^", subject, ">"), ">ab\r>cd\r\n>ef\n>gh");
    EXPECT_EQ(replaceAll("$", subject, "|"), "ab|\rcd|\r\nef|\ngh|");
    EXPECT_EQ(replaceAll("^$", "a\r\n\r\nb\n\nc\n", "-"), "a\r\n-\r\nb\n-\nc\n-");

    RegexObject singleLine;
    ASSERT_TRUE(singleLine.create("^\\w+$", true, false));
    EXPECT_EQ(singleLine.execute(subject), 0);
    EXPECT_EQ(singleLine.execute("ab\n"), 0);  // "$" only at the very end
    EXPECT_EQ(singleLine.execute("ab"), 1);
}

TEST(RegexMatching, LazyAndGreedyQuantifiers) {
    EXPECT_EQ(matchesOf("<.+?>", "<a><b>"), (std::vector<std::string>{"<a>", "<b>"}));
    EXPECT_EQ(matchesOf("<.+>", "<a><b>"), std::vector<std::string>{"<a><b>"});
    EXPECT_EQ(replaceAll("(.+?)(-|_|—).+"_gbk, "标题—站点-栏目"_gbk, "$1"), "标题"_gbk);
    EXPECT_EQ(replaceAll("(.+)[_-].*", "标题_站点-栏目"_gbk, "$1"), "标题_站点"_gbk);
}

TEST(RegexMatching, IgnoreCaseAndFirstOnly) {
    EXPECT_EQ(replaceAll("abc", "ABC abc", "x"), "x x");
    RegexObject exact;
    ASSERT_TRUE(exact.create("abc", false));
    EXPECT_EQ(exact.replace("ABC abc", "x"), "ABC x");
    RegexObject firstOnly;
    ASSERT_TRUE(firstOnly.create("b", true, true, false));
    EXPECT_EQ(firstOnly.replace("abcb", "x"), "axcb");
    EXPECT_EQ(firstOnly.execute("abcb"), 1);
    // Letters outside ASCII fold too (full-width forms), as the engine's Unicode mode does.
    EXPECT_EQ(replaceAll("ａ"_gbk, "Ａａ"_gbk, "x"), "xx");
}

TEST(RegexReplace, ReplacementSyntax) {
    struct Case {
        const char* pattern;
        const char* subject;
        const char* replacement;
        const char* expected;
    };
    const Case cases[] = {
        {"(a)(b)?(x)?", "abc", "[$1|$2|$3]", "[a|b|]c"},  // a group not taking part is empty
        {"(a)", "abc", "$&$&", "aabc"},
        {"(a)", "abc", "$$1", "$1bc"},
        {"(a)", "abc", "$0$4$x$", "$0$4$x$bc"},  // no such group, or not a reference: literal
        {"(a)", "abc", "$10-$01", "a0-abc"},     // one group: "$10" is group 1 and a "0"
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghijk", "$10-$11-$1", "j-a1-ak"},
        {"b", "abc", "", "ac"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(replaceAll(c.pattern, c.subject, c.replacement), c.expected)
            << c.pattern << " / " << c.replacement;
        RegexObject regex;
        regex.create(c.pattern);
        EXPECT_EQ(regex.replaceUtf8(c.subject, c.replacement), c.expected) << c.pattern;
    }
    EXPECT_EQ(replaceAll("(中)"_gbk, "中文"_gbk, "[$1]$$"), "[中]$文"_gbk);
    // The same on text already in UTF-8: offsets are the text's own.
    RegexObject regex;
    regex.create("(中)"_gbk);
    EXPECT_EQ(regex.replaceUtf8("中文中", "[$1]"), "[中]文[中]");
}

TEST(RegexReplace, EmptyMatchesAdvanceOneCharacter) {
    EXPECT_EQ(replaceAll("x*", "中x文"_gbk, "-"), "-中--文-"_gbk);
    EXPECT_EQ(replaceAll("", "\x94\x39\xFC\x36\x61", "|"), "|\x94\x39\xFC\x36|a|");
    EXPECT_EQ(replaceAll("x*", "", "-"), "-");
}

TEST(RegexReplace, InvalidBytesSurviveUntouched) {
    const std::string subject =
        "a\x80"
        "b\xFF" +
        "中"_gbk + "b\xD6";
    EXPECT_EQ(replaceAll("b", subject, "x"), "a\x80x\xFF" + "中"_gbk + "x\xD6");
    EXPECT_EQ(replaceAll("\\s", subject, ""), subject);
}

TEST(RegexReplace, DescriptionCleanersRemoveLinksTagsAndBlankLines) {
    const std::string linksAndTags = "([a-zA-z]+://|www.)[\\w./]+|<[\\S\\s]+?>";
    const std::string blanks = "^[　 \\t]*$(\\r\\n)|^[ 　\\t]+|[ 　\\t]+$|\\r|\\n"_gbk;
    const std::string page =
        "<p class=\"x\">　　正文见http://a.com/b.htm。</p>\r\n \t\r\n"
        "<p>第二段 www.b.cn 完</p>  \r\n"_gbk;
    const std::string text = replaceAll(linksAndTags, page, "");
    EXPECT_EQ(text, "　　正文见。\r\n \t\r\n第二段  完  \r\n"_gbk);
    EXPECT_EQ(replaceAll(blanks, text, ""), "正文见。第二段  完"_gbk);
}

TEST(RegexErrors, InvalidPatternGivesEmptyResultsAndSaysWhere) {
    RegexObject regex;
    EXPECT_FALSE(regex.create("中(a"_gbk));
    EXPECT_EQ(regex.pattern(), "中(a"_gbk);
    EXPECT_THAT(regex.errorText(), HasSubstr("正则表达式有误："_gbk));
    EXPECT_THAT(regex.errorText(), HasSubstr("missing closing parenthesis"));
    EXPECT_THAT(regex.errorText(), HasSubstr("位置：3"_gbk));
    EXPECT_EQ(regex.execute("abc"), 0);
    EXPECT_EQ(regex.replace("abc", "x"), "");
    EXPECT_THAT(regex.errorText(), HasSubstr("正则表达式有误："_gbk));
    // A good pattern clears it.
    EXPECT_TRUE(regex.create("a"));
    EXPECT_EQ(regex.errorText(), "");
}

TEST(RegexErrors, SearchWithoutExpressionIsAnError) {
    RegexObject regex;
    EXPECT_EQ(regex.pattern(), "");
    EXPECT_EQ(regex.execute("abc"), 0);
    EXPECT_EQ(regex.errorText(), "正则表达式尚未创建"_gbk);
}

TEST(RegexErrors, CatastrophicBacktrackingStopsAtTheLimit) {
    RegexObject regex;
    ASSERT_TRUE(regex.create("(a+)+$"));
    const std::string subject = std::string(40, 'a') + "!";
    EXPECT_EQ(regex.execute(subject), 0);
    EXPECT_THAT(regex.errorText(), HasSubstr("正则表达式匹配失败："_gbk));
    EXPECT_EQ(regex.replace(subject, "x"), "");
    EXPECT_THAT(regex.errorText(), HasSubstr("limit"));
    // The next successful search clears the error.
    EXPECT_EQ(regex.execute("aa"), 1);
    EXPECT_EQ(regex.errorText(), "");
}

TEST(RegexErrors, DeepBacktrackingFallsBackInsteadOfFailing) {
    // Alternation inside a repeated group keeps one backtracking frame per character.
    RegexObject regex;
    ASSERT_TRUE(regex.create("(?:a|b)*c"));
    const std::string subject = std::string(200000, 'a') + "c";
    EXPECT_EQ(regex.execute(subject), 1);
    EXPECT_EQ(regex.errorText(), "");
    EXPECT_EQ(regex.matchValue(1).size(), subject.size());
}

}  // namespace
}  // namespace yelian
