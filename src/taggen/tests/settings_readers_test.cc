// The generators' settings as read from the main window's controls.
#include <gtest/gtest.h>

#include "controls/main_window_names.h"
#include "support/gbk_text.h"
#include "taggen/random_chinese.h"
#include "taggen/random_letters.h"
#include "taggen/tests/fake_controls.h"
#include "taggen/time_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::FakeControls;

TEST(RandomChineseSettings, ReadsCountsTableAndTraditionalFromTheWindow) {
    FakeControls controls;
    controls.setText(kMainWindow, kChineseLengthMinEdit, "１０"_gbk);  // full-width digits
    controls.setText(kMainWindow, kChineseLengthMaxEdit, " 2x");
    controls.setChecked(kMainWindow, kTraditionalCheck, true);
    const RandomChineseSettings settings = readRandomChineseSettings(controls);
    EXPECT_EQ(settings.minCount, 10);
    EXPECT_EQ(settings.maxCount, 2);
    EXPECT_TRUE(settings.traditional);
}

TEST(RandomChineseSettings, TheFirstCheckedTableButtonWins) {
    struct Case {
        bool mostCommon, common, lessCommon;
        HanziTable expected;
    };
    const Case cases[] = {
        {false, false, false, HanziTable::MostCommon}, {true, false, false, HanziTable::MostCommon},
        {false, true, false, HanziTable::Common},      {false, false, true, HanziTable::LessCommon},
        {false, true, true, HanziTable::Common},       {true, false, true, HanziTable::MostCommon},
    };
    for (const Case& c : cases) {
        FakeControls controls;
        controls.setChecked(kMainWindow, kMostCommonRadio, c.mostCommon);
        controls.setChecked(kMainWindow, kCommonRadio, c.common);
        controls.setChecked(kMainWindow, kLessCommonRadio, c.lessCommon);
        EXPECT_EQ(readRandomChineseSettings(controls).table, c.expected)
            << c.mostCommon << c.common << c.lessCommon;
    }
}

TEST(RandomChineseSettings, EmptyCountBoxesGiveEightCharacters) {
    const FakeControls controls;
    RandomSource random(1);
    const TraditionalChinese traditional;
    EXPECT_EQ(makeRandomChinese(readRandomChineseSettings(controls), random, traditional).size(),
              16u);
}

TEST(RandomLettersSettings, ReadsCountsAndClassesFromTheWindow) {
    FakeControls controls;
    controls.setText(kMainWindow, kLettersLengthMinEdit, "１２"_gbk);
    controls.setText(kMainWindow, kLettersLengthMaxEdit, "abc");
    controls.setChecked(kMainWindow, kDigitsCheck, true);
    controls.setChecked(kMainWindow, kUppercaseCheck, true);
    controls.setChecked(kMainWindow, kFullWidthCheck, true);
    const RandomLettersSettings settings = readRandomLettersSettings(controls);
    EXPECT_EQ(settings.minCount, 12);
    EXPECT_EQ(settings.maxCount, 0);
    EXPECT_TRUE(settings.digits);
    EXPECT_FALSE(settings.lower);
    EXPECT_TRUE(settings.upper);
    EXPECT_TRUE(settings.fullWidth);
}

TEST(TimeSettings, ReadsModeYearsAndExpressionFromTheWindow) {
    FakeControls controls;
    controls.setChecked(kMainWindow, kRandomTimeCheck, true);
    controls.setText(kMainWindow, kYearFromEdit, "2012");
    controls.setText(kMainWindow, kYearToEdit, "");
    controls.setText(kMainWindow, kTimeFormatEdit, "<年>年"_gbk);
    const TimeSettings settings = readTimeSettings(controls);
    EXPECT_TRUE(settings.random);
    EXPECT_EQ(settings.firstYear, 2012);
    EXPECT_EQ(settings.lastYear, 0);
    EXPECT_EQ(settings.expression, "<年>年"_gbk);
}

}  // namespace
}  // namespace yelian
