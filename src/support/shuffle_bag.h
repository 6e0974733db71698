// Draws whole numbers from a range without repetition until the range is used up, then starts
// over: every number of a..b comes once, in random order, before any repeats.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "support/random_source.h"

namespace yelian {

class ShuffleBag {
  public:
    // The bag draws from this generator. It never reseeds it, so a generator with a fixed
    // seed gives the same draws on every run.
    explicit ShuffleBag(RandomSource& random) : random_(random) {}

    // One number still in the bag. An empty bag is first filled with a..b (the bounds may come
    // in either order); the range matters only then. O(1) whatever the size of the range.
    std::int64_t draw(std::int64_t a, std::int64_t b);

    // Empties the bag, so the next draw refills it.
    void reset();

  private:
    std::int64_t valueAt(std::uint64_t slot) const;

    RandomSource& random_;
    // The bag is the slots 0 .. remaining_ - 1; slot i holds lowest_ + i unless moved_ says
    // otherwise, so a range is filled without writing it out.
    std::int64_t lowest_ = 0;
    std::uint64_t remaining_ = 0;
    std::unordered_map<std::uint64_t, std::int64_t> moved_;
};

}  // namespace yelian
