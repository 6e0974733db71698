// The generator behind "#随机数母#".
#include "taggen/random_letters.h"

#include "controls/control_ops.h"
#include "controls/main_window_names.h"
#include "support/full_width.h"
#include "support/number_text.h"
#include "taggen/generated_length.h"

namespace yelian {
namespace {

enum class CharClass { Digit, Lower, Upper };

CharClass drawClass(const RandomLettersSettings& settings, RandomSource& random) {
    if (!settings.digits && !settings.lower) return CharClass::Upper;
    if (!settings.digits && !settings.upper) return CharClass::Lower;
    if (!settings.lower && !settings.upper) return CharClass::Digit;
    if (!settings.digits) return random.random(1, 2) == 1 ? CharClass::Lower : CharClass::Upper;
    if (!settings.lower) return random.random(0, 1) == 0 ? CharClass::Digit : CharClass::Upper;
    if (!settings.upper) return random.random(0, 1) == 0 ? CharClass::Digit : CharClass::Lower;
    return static_cast<CharClass>(random.random(0, 2));
}

char drawCharacter(CharClass charClass, RandomSource& random) {
    switch (charClass) {
        case CharClass::Digit:
            return static_cast<char>(random.random('0', '9'));
        case CharClass::Lower:
            return static_cast<char>(random.random('a', 'z'));
        case CharClass::Upper:
            break;
    }
    return static_cast<char>(random.random('A', 'Z'));
}

}  // namespace

std::string makeRandomLetters(const RandomLettersSettings& settings, RandomSource& random) {
    const std::int64_t count = drawGeneratedLength(random, settings.minCount, settings.maxCount);
    std::string result;
    for (std::int64_t i = 0; i < count; ++i) {
        result += drawCharacter(drawClass(settings, random), random);
    }
    return settings.fullWidth ? toFullWidth(result) : result;
}

RandomLettersSettings readRandomLettersSettings(const Controls& controls) {
    return {
        .minCount = textToInteger(controls.text(kMainWindow, kLettersLengthMinEdit)),
        .maxCount = textToInteger(controls.text(kMainWindow, kLettersLengthMaxEdit)),
        .digits = controls.checked(kMainWindow, kDigitsCheck),
        .lower = controls.checked(kMainWindow, kLowercaseCheck),
        .upper = controls.checked(kMainWindow, kUppercaseCheck),
        .fullWidth = controls.checked(kMainWindow, kFullWidthCheck),
    };
}

}  // namespace yelian
