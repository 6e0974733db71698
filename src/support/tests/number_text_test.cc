#include "support/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace yelian {
namespace {

using namespace yelian::literals;

TEST(TextToInteger, ReadsLikeAnEditBox) {
    struct Case {
        std::string text;
        std::int64_t expected;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"abc", 0},
        {"42", 42},
        {"  -17x", -17},
        {"+8", 8},
        {"\t5", 5},
        {"1 2", 1},
        {"- 3", 0},
        {"１２３"_gbk, 123},    // full-width digits
        {"　－４５"_gbk, -45},  // ideographic space and full-width minus
        {"3.9", 3},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"99999999999999999999", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"-99999999999999999999", std::numeric_limits<std::int64_t>::min()},
        {"中5"_gbk, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(textToInteger(c.text), c.expected) << c.text;
}

TEST(TextToReal, ReadsADecimalNumber) {
    struct Case {
        std::string text;
        double expected;
    };
    const std::vector<Case> cases = {
        {"", 0},       {"x", 0},  {"1.5", 1.5},   {" -2.25kg", -2.25}, {".5", 0.5},   {"5.", 5},
        {"1e3", 1000}, {"1e", 1}, {"2E-2", 0.02}, {"１．５"_gbk, 1.5}, {"1e-999", 0}, {"0x10", 0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(textToReal(c.text), c.expected) << c.text;
    EXPECT_EQ(textToReal("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(textToReal("-1e999"), -std::numeric_limits<double>::infinity());
}

TEST(NumberToText, WholeNumbersWithoutPointOthersWithThirteenDigits) {
    EXPECT_EQ(integerToText(-12), "-12");
    EXPECT_EQ(realToText(3.0), "3");
    EXPECT_EQ(realToText(-0.0), "0");
    EXPECT_EQ(realToText(0.1), "0.1");
    EXPECT_EQ(realToText(1.0 / 3), "0.3333333333333");
    EXPECT_EQ(realToText(1e-5), "1e-05");
    EXPECT_EQ(realToText(1e20), "1e+20");
    EXPECT_EQ(booleanToText(true), "真"_gbk);
    EXPECT_EQ(booleanToText(false), "假"_gbk);
}

}  // namespace
}  // namespace yelian
