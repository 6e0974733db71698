// The run's random generator: one 64-bit generator owned by the application object and
// passed by reference. A fixed seed makes a whole run reproducible byte for byte.
#pragma once

#include <cstdint>
#include <random>

namespace yelian {

class RandomSource {
  public:
    // Seeded from the system's entropy source and the clock.
    RandomSource();
    explicit RandomSource(std::uint64_t seed) : engine_(seed) {}

    void seed(std::uint64_t seed) { engine_.seed(seed); }

    // A uniform whole number in the inclusive range between a and b: bounds below 0 count
    // as 0, the bounds may come in either order, equal bounds give that value.
    std::int64_t random(std::int64_t a, std::int64_t b);

    // A uniform number in [0, n); n must be above 0.
    std::uint64_t below(std::uint64_t n);

  private:
    std::mt19937_64 engine_;
};

}  // namespace yelian
