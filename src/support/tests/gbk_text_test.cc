#include "support/gbk_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/iconv_converter.h"

namespace yelian {
namespace {

using namespace yelian::literals;

TEST(GbkLiteral, ConvertsSourceTextToGbkBytes) {
    EXPECT_EQ("中文"_gbk, "\xD6\xD0\xCE\xC4");
    EXPECT_EQ("#本篇标题#"_gbk, "#\xB1\xBE\xC6\xAA\xB1\xEA\xCC\xE2#");
    EXPECT_EQ("　"_gbk, "\xA1\xA1");
    // The same literal is one constant.
    EXPECT_EQ(&"中文"_gbk, &"中文"_gbk);
}

TEST(CharLength, OneTwoOrFourBytesNeverPastTheEnd) {
    const std::string text = "a\xD6\xD0\x81\x30\x81\x30\xD6";
    EXPECT_EQ(charLengthAt(text, 0), 1u);
    EXPECT_EQ(charLengthAt(text, 1), 2u);
    EXPECT_EQ(charLengthAt(text, 3), 4u);
    EXPECT_EQ(charLengthAt(text, 7), 1u);  // a lead byte cut off at the end
    EXPECT_FALSE(isFourByteSequenceAt("\x81\x30\x81", 0));
}

TEST(GbkUtf8, RoundTripsEveryKindOfCharacter) {
    // ASCII, GBK, a four-byte GB18030 emoji (U+1F600) and the ideographic space.
    const std::string gbk = "Ab " + "中文"_gbk + "\x94\x39\xFC\x36" + "\xA1\xA1";
    const std::string utf8 = gbkToUtf8(gbk);
    EXPECT_EQ(utf8, "Ab 中文\xF0\x9F\x98\x80　");
    EXPECT_EQ(utf8ToGbk(utf8), gbk);
}

TEST(GbkUtf8, InvalidBytesSurviveTheRoundTrip) {
    for (const std::string& gbk :
         {std::string("\x80"), std::string("a\xFF\x62"), std::string("\xD6"),
          std::string("x\x81\x30\x81"), std::string("\x80\x41\xD6\xD0")}) {
        const std::string utf8 = gbkToUtf8(gbk);
        EXPECT_TRUE(isValidUtf8(utf8));
        EXPECT_EQ(utf8ToGbk(utf8), gbk);
    }
}

TEST(GbkUtf8, DoubleByteCharactersBesideOtherSequences) {
    // A pair that is no character (0x81 0x7F) keeps its lead byte and gives DEL; the
    // characters after it, double-byte, four-byte and a cut-off lead byte, come out as usual.
    EXPECT_EQ(gbkToUtf8("\xD6\xD0\x81\x7F\xCE\xC4\x94\x39\xFC\x36\xA1"),
              "中\xF4\x8F\xBE\x81\x7F文\xF0\x9F\x98\x80\xF4\x8F\xBE\xA1");
    // Every double-byte character comes out as iconv converts it on its own.
    IconvConverter iconv("UTF-8", "GB18030");
    std::string gbk;
    std::string expected;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char pair[] = {static_cast<char>(lead), static_cast<char>(trail), ' '};
            std::string utf8;
            if (iconv.append(pair, 2, utf8) != 2) continue;
            // A blank now and then, so that runs of pairs start and end everywhere.
            const std::size_t size = trail % 7 == 0 ? 3 : 2;
            gbk.append(pair, size);
            expected += utf8 + std::string(size - 2, ' ');
        }
    }
    EXPECT_EQ(gbkToUtf8(gbk), expected);
}

TEST(GbkUtf8, RawModeCopiesInvalidBytes) {
    EXPECT_EQ(gbkToUtf8("a\xFF\x62", InvalidBytes::Raw), "a\xFF\x62");
}

TEST(GbkUtf8, InvalidUtf8IsKeptAsBytes) {
    EXPECT_EQ(utf8ToGbk("a\xC0\xAF\x62"), "a\xC0\xAF\x62");
    EXPECT_EQ(utf8ToGbk("\xED\xA0\x80"), "\xED\xA0\x80");  // an encoded surrogate
}

TEST(Utf8Validity, RejectsOverlongSurrogatesAndTruncation) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("中\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));
    EXPECT_FALSE(isValidUtf8("\xE4\xB8"));
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));
}

}  // namespace
}  // namespace yelian

namespace yelian {
namespace {

constexpr GbkConstant<"编辑框模板1"> kName;

std::string_view passThrough(std::string_view text) {
    return text;
}

TEST(GbkConstant, ActsAsItsGbkText) {
    using namespace yelian::literals;
    EXPECT_EQ(passThrough(kName), "编辑框模板1"_gbk);
    EXPECT_TRUE(std::string("编辑框模板1"_gbk) == kName);
    EXPECT_FALSE(std::string("x") == kName);
    const std::string& reference = kName;
    EXPECT_EQ(&reference, &"编辑框模板1"_gbk);
}

}  // namespace
}  // namespace yelian
