#include "support/traditional_chinese.h"

#include <gtest/gtest.h>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

TEST(TraditionalChinese, ConvertsEachCharacterAndKeepsTheByteLength) {
    const TraditionalChinese converter;
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"们"_gbk, "們"_gbk},
        {"发电机"_gbk, "發電機"_gbk},
        {"a们b 1"_gbk, "a們b 1"_gbk},
        // Already traditional, or without a distinct traditional form.
        {"們中人"_gbk, "們中人"_gbk},
        // The traditional form of 刾 exists only as a four-byte GB18030 character.
        {"刾"_gbk, "刾"_gbk},
        // A four-byte character, a stray byte and a lead byte cut off at the end.
        {"\x94\x39\xFC\x36" + "们"_gbk + "\xFF\x80" + "\xC3",
         "\x94\x39\xFC\x36" + "們"_gbk + "\xFF\x80" + "\xC3"},
        {"", ""},
        {"们们国国"_gbk, "們們國國"_gbk},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(converter.toTraditional(c.input), c.expected) << gbkToUtf8(c.input);
        // A second call must not see what the first one left behind.
        EXPECT_EQ(converter.toTraditional(c.input), c.expected) << gbkToUtf8(c.input);
    }
}

}  // namespace
}  // namespace yelian
