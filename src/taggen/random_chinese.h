// The generator behind "#随机汉字#": a run of characters drawn at random from one of the
// built-in character tables, optionally in traditional form.
#pragma once

#include <cstdint>
#include <string>

#include "support/random_source.h"
#include "support/traditional_chinese.h"
#include "taggen/hanzi_tables.h"

namespace yelian {

class Controls;

struct RandomChineseSettings {
    // The number of characters is drawn from between the two bounds (either order).
    std::int64_t minCount = 0;
    std::int64_t maxCount = 0;
    HanziTable table = HanziTable::MostCommon;
    bool traditional = false;
};

// A GBK text of n double-byte characters, n drawn from the count range; a range that draws
// 0 (both bounds empty or negative, for instance) gives 8 characters. Never empty.
std::string makeRandomChinese(const RandomChineseSettings& settings, RandomSource& random,
                              const TraditionalChinese& traditional);

// The settings as the main window's controls hold them at this moment.
RandomChineseSettings readRandomChineseSettings(const Controls& controls);

}  // namespace yelian
