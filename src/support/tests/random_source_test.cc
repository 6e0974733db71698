#include "support/random_source.h"

#include <gtest/gtest.h>

#include <set>

namespace yelian {
namespace {

TEST(RandomSource, InclusiveRangeInEitherOrderWithNegativeBoundsAsZero) {
    RandomSource rng(7);
    std::set<std::int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const auto value = rng.random(5, 1);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 5);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(rng.random(3, 3), 3);
    for (int i = 0; i < 100; ++i) EXPECT_LE(rng.random(-10, 1), 1);
    EXPECT_EQ(rng.random(-4, -2), 0);
}

TEST(RandomSource, ReachesBeyondFifteenBits) {
    RandomSource rng(1);
    std::int64_t highest = 0;
    for (int i = 0; i < 1000; ++i) highest = std::max(highest, rng.random(1, 100000));
    EXPECT_GT(highest, 32768);
}

TEST(RandomSource, SameSeedSameSequence) {
    RandomSource a(42), b(42);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(a.random(0, 1000000), b.random(0, 1000000));
}

}  // namespace
}  // namespace yelian
