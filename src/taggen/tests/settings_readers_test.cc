// The generators' settings as read from the main window's controls.
#include <gtest/gtest.h>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "taggen/generated_length.h"
#include "taggen/random_chinese.h"
#include "taggen/random_letters.h"
#include "taggen/time_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

RecordControls mainWindow() {
    return RecordControls{mainWindowSpec()};
}

TEST(RandomChineseSettings, ReadsCountsTableAndTraditionalFromTheWindow) {
    RecordControls controls = mainWindow();
    controls.setText(kMainWindow, kChineseLengthMinEdit, "１０"_gbk);  // full-width digits
    controls.setText(kMainWindow, kChineseLengthMaxEdit, " 2x");
    controls.setChecked(kMainWindow, kTraditionalCheck, true);
    const RandomChineseSettings settings = readRandomChineseSettings(controls);
    EXPECT_EQ(settings.minCount, 10);
    EXPECT_EQ(settings.maxCount, 2);
    EXPECT_TRUE(settings.traditional);
}

TEST(RandomChineseSettings, TheCheckedTableButtonChoosesTheTable) {
    RecordControls controls = mainWindow();
    EXPECT_EQ(readRandomChineseSettings(controls).table, HanziTable::MostCommon);
    controls.setChecked(kMainWindow, kCommonRadio, true);
    EXPECT_EQ(readRandomChineseSettings(controls).table, HanziTable::Common);
    controls.setChecked(kMainWindow, kLessCommonRadio, true);
    EXPECT_EQ(readRandomChineseSettings(controls).table, HanziTable::LessCommon);
    controls.setChecked(kMainWindow, kLessCommonRadio, false);
    EXPECT_EQ(readRandomChineseSettings(controls).table, HanziTable::MostCommon);
}

TEST(RandomLettersSettings, ReadsCountsAndClassesFromTheWindow) {
    RecordControls controls = mainWindow();
    controls.setText(kMainWindow, kLettersLengthMinEdit, "１２"_gbk);
    controls.setText(kMainWindow, kLettersLengthMaxEdit, "abc");
    controls.setChecked(kMainWindow, kDigitsCheck, true);
    controls.setChecked(kMainWindow, kLowercaseCheck, false);
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
    RecordControls controls = mainWindow();
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

TEST(GeneratedLength, AHugeCountIsCappedAndAnEmptyOneGivesEight) {
    RecordControls controls = mainWindow();
    controls.setText(kMainWindow, kLettersLengthMinEdit, "99999999999");
    controls.setText(kMainWindow, kLettersLengthMaxEdit, "99999999999");
    RandomSource random(3);
    EXPECT_EQ(makeRandomLetters(readRandomLettersSettings(controls), random).size(),
              static_cast<std::size_t>(kMaxGeneratedLength));
    EXPECT_EQ(drawGeneratedLength(random, 0, 0), 8);
}

}  // namespace
}  // namespace yelian
