// How many characters a generated tag value gets.
#include "taggen/generated_length.h"

#include <algorithm>

namespace yelian {

std::int64_t drawGeneratedLength(RandomSource& random, std::int64_t minCount,
                                 std::int64_t maxCount) {
    const std::int64_t count = random.random(minCount, maxCount);
    return count < 1 ? 8 : std::min(count, kMaxGeneratedLength);
}

}  // namespace yelian
