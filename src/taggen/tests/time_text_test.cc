#include "taggen/time_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

const std::string& defaultExpression() {
    return "<年>-<月>-<日> <时>:<分>:<秒>"_gbk;
}

constexpr DateTime kNow{2024, 3, 5, 7, 8, 9};

std::string currentTimeText(std::string_view expression, const DateTime& now = kNow) {
    RandomSource random(1);
    return makeTimeText({false, 0, 0, std::string(expression)}, random, now);
}

TEST(TimeText, WritesTheCurrentTimeThroughTheExpression) {
    struct Case {
        std::string expression;
        std::string expected;
    };
    const Case cases[] = {
        {defaultExpression(), "2024-03-05 07:08:09"},
        {"<年>年<月>月<日>日"_gbk, "2024年03月05日"_gbk},
        {"<年>/<年>"_gbk, "2024/2024"},
        // The internal forms act as placeholders too.
        {"#1#2#3#4#5#6", "20240305070809"},
        {"#7 #0 ## #", "#7 #0 ## #"},
        {"no placeholders", "no placeholders"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(currentTimeText(c.expression), c.expected) << gbkToUtf8(c.expression);
    }
}

TEST(TimeText, PadsOneDigitValuesButNeverTheYear) {
    EXPECT_EQ(currentTimeText(defaultExpression(), {987, 12, 31, 23, 59, 0}), "987-12-31 23:59:00");
    EXPECT_EQ(currentTimeText(defaultExpression(), {5, 1, 1, 0, 0, 0}), "05-01-01 00:00:00");
}

struct Parsed {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

Parsed parse(const std::string& text) {
    Parsed p;
    EXPECT_EQ(std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &p.year, &p.month, &p.day, &p.hour,
                          &p.minute, &p.second),
              6)
        << text;
    return p;
}

TEST(TimeText, RandomTimeLiesInTheYearRangeOnExistingDays) {
    RandomSource random(8);
    for (int i = 0; i < 500; ++i) {
        const std::string text =
            makeTimeText({true, 2015, 2012, defaultExpression()}, random, kNow);
        ASSERT_EQ(text.size(), 19u) << text;
        const Parsed p = parse(text);
        EXPECT_GE(p.year, 2012);
        EXPECT_LE(p.year, 2015);
        EXPECT_GE(p.month, 1);
        EXPECT_LE(p.month, 12);
        EXPECT_GE(p.day, 1);
        EXPECT_LE(p.day, 28);
        EXPECT_LE(p.hour, 23);
        EXPECT_LE(p.minute, 59);
        EXPECT_LE(p.second, 59);
    }
}

TEST(TimeText, UnrepresentableRandomYearGivesTheFirstDayOfYear100) {
    RandomSource random(8);
    EXPECT_EQ(makeTimeText({true, 10000, 12000, defaultExpression()}, random, kNow),
              "100-01-01 00:00:00");
    int fixed = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::string text = makeTimeText({true, 0, 2015, defaultExpression()}, random, kNow);
        if (parse(text).year < 100) ADD_FAILURE() << text;
        if (text == "100-01-01 00:00:00") ++fixed;
    }
    // About one draw in twenty gives a year below 100.
    EXPECT_GT(fixed, 20);
}

}  // namespace
}  // namespace yelian
