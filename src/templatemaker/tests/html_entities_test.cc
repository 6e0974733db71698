#include "templatemaker/html_entities.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using namespace std::string_literals;

struct Case {
    std::string input;
    std::string expected;
};

TEST(DecodeEntities, NamedReferencesGiveTheirGbkCharacters) {
    const std::string all =
        "&amp;&ndash;&mdash;&ldquo;&rdquo;&nbsp;&lt;&gt;&quot;&times;&divide;&middot;&hellip;"
        "&lsquo;&rsquo;&permil;&prime;&Prime;&larr;&uarr;&rarr;&darr;&radic;&prop;&infin;&ang;"
        "&and;&or;&cap;&cup;&int;&there4;&sim;&asymp;&ne;&equiv;&le;&ge;&oplus;&perp;";
    EXPECT_EQ(decodeEntities(all), "&–—“” <>\"×÷·…‘’‰′″←↑→↓√∝∞∠∧∨∩∪∫∴～≈≠≡≤≥⊕⊥"_gbk);
}

TEST(DecodeEntities, NamedReferencesInOrder) {
    const Case cases[] = {
        // "&amp;" is decoded first and its "&" is not read again by the same step...
        {"&amp;amp;", "&amp;"},
        // ...but the later names see it.
        {"&amp;lt;", "<"},
        {"&AMP; &Lt; &nbsp", "&AMP; &Lt; &nbsp"},
        {"&prime;&Prime;", "′″"_gbk},
        {"a&lt;b&gt;c", "a<b>c"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeEntities(c.input), c.expected) << c.input;
}

TEST(DecodeEntities, NumericReferences) {
    const Case cases[] = {
        {"&#65;", "A"},
        {"&#065;", "A"},
        {"&#x41;", "A"},
        {"&#X41;", "A"},
        {"&#20013;&#x6587;", "中文"_gbk},
        // The decimal reading stops at the first letter; a value of 0 reads hex digits after
        // the first byte.
        {"&#1a;", "\x01"},
        {"&#a1;", "\x01"},
        {"a&#;b&#0;c&#x0;d", "abcd"},
        {"x&#65;&#66;y", "xABy"},
        // Beyond the basic plane: a four-byte GB18030 character.
        {"&#128512;", "\x94\x39\xFC\x36"},
        {"&#x1F600;", "\x94\x39\xFC\x36"},
        {"中&#65;文"_gbk, "中A文"_gbk},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeEntities(c.input), c.expected) << c.input;
}

TEST(DecodeEntities, LeavesReferencesWithoutACharacterUnchanged) {
    const Case cases[] = {
        {"a&#65", "a&#65"},
        {"&#65 &#", "&#65 &#"},
        {"&#55357;", "&#55357;"},
        {"&#xDC00;", "&#xDC00;"},
        {"&#1114112;", "&#1114112;"},
        {"&#xZZ;", "&#xZZ;"},
        {"&#99999999999999999999999;", "&#99999999999999999999999;"},
        // A "&#" without its own ";" does not reach for a later one.
        {"&#169 2020; all", "&#169 2020; all"},
        {"&#65&#66;", "&#65B"},
        {"&#65 &#xD800;", "&#65 &#xD800;"},
    };
    for (const Case& c : cases) EXPECT_EQ(decodeEntities(c.input), c.expected) << c.input;
}

TEST(DecodeEntities, ReplacementsAreNotReadAgain) {
    EXPECT_EQ(decodeEntities("&#38;#65;"), "&#65;");
    EXPECT_EQ(decodeEntities("&&#35;65;"), "&#65;");
    // Named references are decoded before numeric ones.
    EXPECT_EQ(decodeEntities("&amp;#65;"), "A");
}

TEST(DecodeEntities, ProcessesEventsOncePerNumericReference) {
    int calls = 0;
    decodeEntities("&#65;&amp;&#66;b&#67", [&calls] { ++calls; });
    EXPECT_EQ(calls, 3);
}

TEST(HexToNumber, ReadsDigitsAndCountsOthersAsMinusTwo) {
    EXPECT_EQ(hexToNumber(""), 0);
    EXPECT_EQ(hexToNumber("41"), 65);
    EXPECT_EQ(hexToNumber("fF"), 255);
    EXPECT_EQ(hexToNumber("7FFFFFFF"), 0x7FFFFFFF);
    EXPECT_EQ(hexToNumber("G"), -2);
    EXPECT_EQ(hexToNumber("1G"), 14);
    EXPECT_EQ(hexToNumber("x41"), -2 * 256 + 4 * 16 + 1);
}

TEST(HexToNumber, StaysAtTheLimitsBeyondThe64BitRange) {
    EXPECT_EQ(hexToNumber(std::string(40, 'F')), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(hexToNumber(std::string(40, 'Z')), std::numeric_limits<std::int64_t>::min());
}

TEST(Utf16ToGbk, ConvertsCodeUnitsUpToTheFirstZeroUnit) {
    const Case cases[] = {
        {"", ""},
        {"A\0"s, "A"},
        {"\x2D\x4E\x87\x65"s, "中文"_gbk},
        {"A\0\0\0B\0"s, "A"},
        {"A\0B"s, "A"},
        {"\x3D\xD8\x00\xDE"s, "\x94\x39\xFC\x36"},
        // Lone surrogates have no character.
        {"\x3D\xD8"s, "?"},
        {"\x00\xDC\x41\x00"s, "?A"},
        {"\x3D\xD8\x41\x00"s, "?A"},
    };
    for (const Case& c : cases) EXPECT_EQ(utf16ToGbk(c.input), c.expected);
}

TEST(SanitiseTitle, MakesATitleSafeAsAFileName) {
    const Case cases[] = {
        {"a/b:c", "a／b：c"_gbk},
        {"\\/:*?|<>", "＼／：＊？｜＜＞"_gbk},
        {"say \"hi\"", "say hi"},
        {"one\r\ntwo\rthree\nfour\tfive", "onetwothreefourfive"},
        {"\r\n\r\n\n", ""},
        {"", ""},
        // Trailing bytes equal to "\" and "|" belong to their characters.
        {"\x81\x5C\x81\x7C", "\x81\x5C\x81\x7C"},
        {"标题 - 站点"_gbk, "标题 - 站点"_gbk},
    };
    for (const Case& c : cases) EXPECT_EQ(sanitiseTitle(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace yelian
