// The generator behind "#时间#": the current or a random date and time, written through a
// user-editable expression with the placeholders <年> <月> <日> <时> <分> <秒> (or their
// internal forms #1 … #6).
#pragma once

#include <cstdint>
#include <string>

#include "support/date_time.h"
#include "support/random_source.h"

namespace yelian {

class Controls;

struct TimeSettings {
    // Draw a random date and time instead of taking the current one.
    bool random = false;
    // The bounds of the random year (either order).
    std::int64_t firstYear = 0;
    std::int64_t lastYear = 0;
    std::string expression;
};

// The expression with its placeholders replaced by the values of now, or of a random date and
// time when settings.random is set (then now is not used). Values of one digit get a leading
// zero; the year is not padded. A random year outside 100 … 9999 gives 0100-01-01 00:00:00.
std::string makeTimeText(const TimeSettings& settings, RandomSource& random, const DateTime& now);

// The settings as the main window's controls hold them at this moment.
TimeSettings readTimeSettings(const Controls& controls);

}  // namespace yelian
