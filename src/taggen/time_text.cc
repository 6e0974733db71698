// The generator behind "#时间#".
#include "taggen/time_text.h"

#include "controls/control_ops.h"
#include "controls/main_window_names.h"
#include "support/gbk_text.h"
#include "support/number_text.h"
#include "support/text_routines.h"

namespace yelian {
namespace {

using namespace yelian::literals;

constexpr int kFirstRepresentableYear = 100;
constexpr int kLastRepresentableYear = 9999;

DateTime randomDateTime(std::int64_t firstYear, std::int64_t lastYear, RandomSource& random) {
    // Drawn in this order so that one seed always gives the same value. The day stops at 28,
    // so every drawn date exists.
    const std::int64_t year = random.random(firstYear, lastYear);
    DateTime value;
    value.month = static_cast<int>(random.random(1, 12));
    value.day = static_cast<int>(random.random(1, 28));
    value.hour = static_cast<int>(random.random(0, 23));
    value.minute = static_cast<int>(random.random(0, 59));
    value.second = static_cast<int>(random.random(0, 59));
    if (year < kFirstRepresentableYear || year > kLastRepresentableYear) {
        return {kFirstRepresentableYear, 1, 1, 0, 0, 0};
    }
    value.year = static_cast<int>(year);
    return value;
}

std::string twoDigitsAtLeast(int value) {
    std::string text = std::to_string(value);
    if (text.size() == 1) text.insert(0, 1, '0');
    return text;
}

}  // namespace

std::string makeTimeText(const TimeSettings& settings, RandomSource& random, const DateTime& now) {
    const DateTime value =
        settings.random ? randomDateTime(settings.firstYear, settings.lastYear, random) : now;
    const std::string values = twoDigitsAtLeast(value.year) + "|" + twoDigitsAtLeast(value.month) +
                               "|" + twoDigitsAtLeast(value.day) + "|" +
                               twoDigitsAtLeast(value.hour) + "|" + twoDigitsAtLeast(value.minute) +
                               "|" + twoDigitsAtLeast(value.second);
    // The placeholders become their internal forms first, so "#1" … "#6" typed directly act
    // as placeholders too.
    const std::string internal =
        multiReplace(settings.expression, "<年>|<月>|<日>|<时>|<分>|<秒>"_gbk, "#1|#2|#3|#4|#5|#6");
    return multiReplace(internal, "#1|#2|#3|#4|#5|#6", values, {.caseSensitive = true});
}

TimeSettings readTimeSettings(const Controls& controls) {
    return {
        .random = controls.checked(kMainWindow, kRandomTimeCheck),
        .firstYear = textToInteger(controls.text(kMainWindow, kYearFromEdit)),
        .lastYear = textToInteger(controls.text(kMainWindow, kYearToEdit)),
        .expression = controls.text(kMainWindow, kTimeFormatEdit),
    };
}

}  // namespace yelian
