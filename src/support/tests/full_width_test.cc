#include "support/full_width.h"

#include <gtest/gtest.h>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

TEST(FullWidth, ConvertsPrintableAsciiAndKeepsTheRest) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {" ", "\xA1\xA1"},
        {"!", "\xA3\xA1"},
        {"09", "\xA3\xB0\xA3\xB9"},
        {"AZ", "\xA3\xC1\xA3\xDA"},
        {"az", "\xA3\xE1\xA3\xFA"},
        {"}", "\xA3\xFD"},
        {"~", "\xA1\xAB"},
        {"a中b"_gbk, "ａ中ｂ"_gbk},
        {"\t\r\n\x7F", "\t\r\n\x7F"},
        {"\x94\x39\xFC\x36", "\x94\x39\xFC\x36"},
        // A lead byte cut off at the end ends the conversion.
        {"a\xD6", "\xA3\xE1"},
        {"", ""},
        {"Hello, World 2024!", "Ｈｅｌｌｏ，　Ｗｏｒｌｄ　２０２４！"_gbk},
    };
    for (const Case& c : cases) EXPECT_EQ(toFullWidth(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace yelian
