#include "templatemaker/length_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "templatemaker/text_ratio.h"

namespace yelian {
namespace {

// Items named by a letter, keyed by their length: "ppp" has key 3.
std::string sortedNames(std::vector<std::string> items, bool descending) {
    midpointInsertionSort(items, descending, [](const std::string& s) { return s.size(); });
    std::string names;
    for (const std::string& item : items) names += item.front();
    return names;
}

TEST(MidpointInsertionSort, EqualKeysLandWhereTheMidpointPutsThem) {
    // The later "ttt" walks from the midpoint towards the front past "ppp" and lands first.
    EXPECT_EQ(sortedNames({"ppp", "q", "r", "ttt"}, true), "tpqr");
    // Ascending, an equal key walks towards the front and lands before its equal.
    EXPECT_EQ(sortedNames({"aaa", "bbb"}, false), "ba");
    EXPECT_EQ(sortedNames({"aaa", "bbb", "ccc"}, false), "cba");
    EXPECT_EQ(sortedNames({"aaa", "bbb", "ccc"}, true), "abc");
}

TEST(MidpointInsertionSort, OrdersAnyKeys) {
    std::vector<std::size_t> keys;
    for (std::size_t i = 0; i < 200; ++i) keys.push_back((i * 7919) % 53);
    for (const bool descending : {true, false}) {
        std::vector<std::size_t> sorted = keys;
        int steps = 0;
        midpointInsertionSort(
            sorted, descending, [](std::size_t k) { return k; }, [&steps] { ++steps; });
        if (descending) {
            EXPECT_TRUE(std::is_sorted(sorted.rbegin(), sorted.rend()));
        } else {
            EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
        }
        EXPECT_TRUE(std::is_permutation(sorted.begin(), sorted.end(), keys.begin()));
        EXPECT_GE(steps, 199);
    }
    std::vector<std::size_t> empty;
    midpointInsertionSort(empty, true, [](std::size_t k) { return k; });
    EXPECT_TRUE(empty.empty());
}

TEST(TextRatio, ComparesWithTolerance) {
    struct Case {
        double x;
        double limit;
        bool above;
        bool atLeast;
        bool below;
    };
    const Case cases[] = {
        {percentOf(81, 100), 80, true, true, false},
        {percentOf(4, 5), 80, false, true, false},
        {80.00000001, 80, false, true, false},
        {4.99999999, 5, false, true, false},
        {4.9999, 5, false, false, true},
        // A block without markup length: a positive part is above every limit, 0 over 0 is
        // neither above nor below.
        {percentOf(1, 0), 80, true, true, false},
        {percentOf(0, 0), 80, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isAbove(c.x, c.limit), c.above) << c.x;
        EXPECT_EQ(isAtLeast(c.x, c.limit), c.atLeast) << c.x;
        EXPECT_EQ(isBelow(c.x, c.limit), c.below) << c.x;
    }
}

TEST(MidpointInsertionSort, EndsWhenToldToStopAndKeepsEveryItem) {
    std::vector<std::size_t> items;
    for (std::size_t i = 0; i < 50; ++i) items.push_back((i * 31) % 17);
    for (const int allowed : {0, 1, 7, 40}) {
        std::vector<std::size_t> sorted = items;
        int asked = 0;
        int processed = 0;
        midpointInsertionSort(
            sorted, true, [](std::size_t k) { return k; }, [&processed] { ++processed; },
            [&asked, allowed] { return asked++ < allowed; });
        // No step after the refused one.
        EXPECT_EQ(asked, allowed + 1);
        EXPECT_EQ(processed, allowed + 1);
        std::vector<std::size_t> expected = items;
        std::sort(expected.begin(), expected.end());
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, expected) << allowed;
    }
}

}  // namespace
}  // namespace yelian
