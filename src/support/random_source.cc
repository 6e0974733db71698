// The run's random generator.
#include "support/random_source.h"

#include <algorithm>
#include <chrono>

namespace yelian {

RandomSource::RandomSource() {
    std::random_device device;
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    engine_.seed((static_cast<std::uint64_t>(device()) << 32) ^ device() ^ ticks);
}

std::uint64_t RandomSource::below(std::uint64_t n) {
    return std::uniform_int_distribution<std::uint64_t>(0, n - 1)(engine_);
}

std::int64_t RandomSource::random(std::int64_t a, std::int64_t b) {
    a = std::max<std::int64_t>(a, 0);
    b = std::max<std::int64_t>(b, 0);
    if (a > b) std::swap(a, b);
    const auto span = static_cast<std::uint64_t>(b - a) + 1;
    return a + static_cast<std::int64_t>(below(span));
}

}  // namespace yelian
