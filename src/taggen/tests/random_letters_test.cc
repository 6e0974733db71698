#include "taggen/random_letters.h"

#include <gtest/gtest.h>

#include <cctype>

namespace yelian {
namespace {

enum Classes { kDigits = 1, kLower = 2, kUpper = 4 };

int classesOf(const std::string& text) {
    int classes = 0;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            classes |= kDigits;
        } else if (c >= 'a' && c <= 'z') {
            classes |= kLower;
        } else if (c >= 'A' && c <= 'Z') {
            classes |= kUpper;
        } else {
            ADD_FAILURE() << "unexpected byte in " << text;
        }
    }
    return classes;
}

TEST(RandomLetters, DrawsFromTheEnabledClassesOnly) {
    struct Case {
        bool digits, lower, upper;
        int expected;
    };
    const Case cases[] = {
        {false, false, false, kUpper},  // no class enabled: upper case
        {true, false, false, kDigits},
        {false, true, false, kLower},
        {false, false, true, kUpper},
        {true, true, false, kDigits | kLower},
        {true, false, true, kDigits | kUpper},
        {false, true, true, kLower | kUpper},
        {true, true, true, kDigits | kLower | kUpper},
    };
    for (const Case& c : cases) {
        RandomSource random(2);
        const std::string text =
            makeRandomLetters({300, 300, c.digits, c.lower, c.upper, false}, random);
        ASSERT_EQ(text.size(), 300u);
        EXPECT_EQ(classesOf(text), c.expected) << c.digits << c.lower << c.upper;
    }
}

TEST(RandomLetters, EachEnabledClassIsEquallyLikelyWhateverItsSize) {
    RandomSource random(4);
    const std::string text = makeRandomLetters({10000, 10000, true, false, true, false}, random);
    std::size_t digits = 0;
    for (const char c : text) digits += std::isdigit(static_cast<unsigned char>(c)) ? 1 : 0;
    EXPECT_GT(digits, 4700u);
    EXPECT_LT(digits, 5300u);
}

TEST(RandomLetters, FullWidthGivesTwoBytesPerCharacter) {
    RandomSource random(6);
    const std::string text = makeRandomLetters({12, 12, true, true, true, true}, random);
    ASSERT_EQ(text.size(), 24u);
    for (std::size_t pos = 0; pos < text.size(); pos += 2) {
        EXPECT_EQ(text[pos], '\xA3');
        const auto low = static_cast<unsigned char>(text[pos + 1]);
        EXPECT_TRUE((low >= 0xB0 && low <= 0xB9) || (low >= 0xC1 && low <= 0xDA) ||
                    (low >= 0xE1 && low <= 0xFA))
            << static_cast<int>(low);
    }
}

}  // namespace
}  // namespace yelian
