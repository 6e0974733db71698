// The generator behind "#随机数母#": a run of random ASCII digits and letters of the chosen
// classes, optionally in full-width form.
#pragma once

#include <cstdint>
#include <string>

#include "support/random_source.h"

namespace yelian {

class Controls;

struct RandomLettersSettings {
    // The number of characters is drawn from between the two bounds (either order).
    std::int64_t minCount = 0;
    std::int64_t maxCount = 0;
    bool digits = false;
    bool lower = false;
    bool upper = false;
    bool fullWidth = false;
};

// n characters (2 × n bytes in full width), n drawn from the count range, 8 when the draw
// gives 0. At every position each enabled class is equally likely, whatever its size; with no
// class enabled every character is an upper-case letter.
std::string makeRandomLetters(const RandomLettersSettings& settings, RandomSource& random);

// The settings as the main window's controls hold them at this moment.
RandomLettersSettings readRandomLettersSettings(const Controls& controls);

}  // namespace yelian
