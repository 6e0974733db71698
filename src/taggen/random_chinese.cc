// The generator behind "#随机汉字#".
#include "taggen/random_chinese.h"

#include "controls/control_ops.h"
#include "controls/main_window_names.h"
#include "support/number_text.h"
#include "taggen/generated_length.h"

namespace yelian {

std::string makeRandomChinese(const RandomChineseSettings& settings, RandomSource& random,
                              const TraditionalChinese& traditional) {
    const std::int64_t count = drawGeneratedLength(random, settings.minCount, settings.maxCount);
    const std::string_view table = hanziTable(settings.table);
    const auto last = static_cast<std::int64_t>(table.size()) - 2;
    std::string result;
    for (std::int64_t i = 0; i < count; ++i) {
        // An odd draw moves down to the character it falls into, so the table's last
        // character is drawn by one value and every other by two.
        const auto at = static_cast<std::size_t>(random.random(0, last) & ~std::int64_t{1});
        result.append(table.substr(at, 2));
    }
    return settings.traditional ? traditional.toTraditional(result) : result;
}

RandomChineseSettings readRandomChineseSettings(const Controls& controls) {
    RandomChineseSettings settings;
    settings.minCount = textToInteger(controls.text(kMainWindow, kChineseLengthMinEdit));
    settings.maxCount = textToInteger(controls.text(kMainWindow, kChineseLengthMaxEdit));
    // The first checked button wins; with none checked the most common table is used.
    if (controls.checked(kMainWindow, kMostCommonRadio)) {
        settings.table = HanziTable::MostCommon;
    } else if (controls.checked(kMainWindow, kCommonRadio)) {
        settings.table = HanziTable::Common;
    } else if (controls.checked(kMainWindow, kLessCommonRadio)) {
        settings.table = HanziTable::LessCommon;
    }
    settings.traditional = controls.checked(kMainWindow, kTraditionalCheck);
    return settings;
}

}  // namespace yelian
