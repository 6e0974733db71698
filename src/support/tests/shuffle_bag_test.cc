#include "support/shuffle_bag.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace yelian {
namespace {

using ::testing::ElementsAre;

std::vector<std::int64_t> drawMany(ShuffleBag& bag, int count, std::int64_t a, std::int64_t b) {
    std::vector<std::int64_t> drawn;
    for (int i = 0; i < count; ++i) drawn.push_back(bag.draw(a, b));
    return drawn;
}

std::vector<std::int64_t> sorted(std::vector<std::int64_t> values) {
    std::sort(values.begin(), values.end());
    return values;
}

TEST(ShuffleBag, EachCycleIsAPermutationOfTheRange) {
    RandomSource random(7);
    ShuffleBag bag(random);
    for (int cycle = 0; cycle < 50; ++cycle) {
        EXPECT_THAT(sorted(drawMany(bag, 5, 1, 5)), ElementsAre(1, 2, 3, 4, 5));
    }
}

TEST(ShuffleBag, RangeCountsOnlyWhenRefilling) {
    RandomSource random(7);
    ShuffleBag bag(random);
    std::vector<std::int64_t> drawn = drawMany(bag, 2, 1, 3);
    drawn.push_back(bag.draw(10, 20));
    EXPECT_THAT(sorted(drawn), ElementsAre(1, 2, 3));
    const std::int64_t refilled = bag.draw(10, 20);
    EXPECT_GE(refilled, 10);
    EXPECT_LE(refilled, 20);
}

TEST(ShuffleBag, ResetRefillsAndBoundsMayComeInEitherOrder) {
    RandomSource random(7);
    ShuffleBag bag(random);
    bag.draw(1, 3);
    bag.reset();
    EXPECT_THAT(sorted(drawMany(bag, 3, 9, 7)), ElementsAre(7, 8, 9));
    EXPECT_EQ(bag.draw(4, 4), 4);
    EXPECT_EQ(bag.draw(-3, -3), -3);
}

TEST(ShuffleBag, HugeRangesNeedNoFilling) {
    RandomSource random(7);
    ShuffleBag bag(random);
    const std::int64_t top = std::numeric_limits<std::int64_t>::max();
    const std::vector<std::int64_t> drawn = drawMany(bag, 1000, top - 2'000'000'000, top);
    EXPECT_EQ(std::set<std::int64_t>(drawn.begin(), drawn.end()).size(), drawn.size());
}

TEST(ShuffleBag, FirstDrawIsRoughlyUniform) {
    RandomSource random(11);
    std::map<std::int64_t, int> firsts;
    for (int i = 0; i < 4000; ++i) {
        ShuffleBag bag(random);
        ++firsts[bag.draw(1, 4)];
    }
    for (const auto& [value, count] : firsts) EXPECT_NEAR(count, 1000, 150) << value;
}

TEST(ShuffleBag, SameSeedSameDraws) {
    RandomSource first(3);
    RandomSource second(3);
    ShuffleBag a(first);
    ShuffleBag b(second);
    EXPECT_EQ(drawMany(a, 20, 1, 9), drawMany(b, 20, 1, 9));
}

}  // namespace
}  // namespace yelian
