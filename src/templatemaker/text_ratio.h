// Comparing how much visible text a block carries: percentages of byte lengths, compared with a
// small tolerance so that a ratio computed as exactly the limit counts as reaching it.
#pragma once

#include <cstddef>

namespace yelian {

inline constexpr double kRatioTolerance = 0.0000001;

// part * 100 / whole in double precision. A whole of 0 follows IEEE rules: a positive part
// gives +infinity (above every limit), a part of 0 gives NaN (neither above nor below any).
inline double percentOf(std::size_t part, std::size_t whole) {
    return static_cast<double>(part) * 100.0 / static_cast<double>(whole);
}

// x > limit: more than the tolerance above it.
inline bool isAbove(double x, double limit) {
    return x - limit > kRatioTolerance;
}
// x >= limit: not more than the tolerance below it.
inline bool isAtLeast(double x, double limit) {
    return x - limit >= -kRatioTolerance;
}
// x < limit: more than the tolerance below it.
inline bool isBelow(double x, double limit) {
    return x - limit < -kRatioTolerance;
}

}  // namespace yelian
