// How many characters a generated tag value gets.
#pragma once

#include <cstdint>

#include "support/random_source.h"

namespace yelian {

// A count typed into a settings box is not allowed to make a single tag value so large that
// generating it (on every keystroke, for the sample captions) exhausts memory or hangs.
inline constexpr std::int64_t kMaxGeneratedLength = 100000;

// A length drawn between the two bounds; below 1 it is 8, above the limit the limit.
std::int64_t drawGeneratedLength(RandomSource& random, std::int64_t minCount,
                                 std::int64_t maxCount);

}  // namespace yelian
