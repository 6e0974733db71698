#include "templatemaker/length_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
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

// The procedure as first written: walks from the midpoint, one step per item compared.
std::vector<std::size_t> walkedOrder(const std::vector<int>& keys, bool descending) {
    std::vector<std::size_t> sorted;
    for (std::size_t next = 0; next < keys.size(); ++next) {
        const int key = keys[next];
        const std::size_t count = sorted.size();
        std::size_t at = 0;
        if (count > 0) {
            const std::size_t middle = (count + 1) / 2 - 1;
            const auto keyAt = [&](std::size_t k) { return keys[sorted[k]]; };
            const auto walkBack = [&](auto passes) {
                std::size_t k = middle;
                while (k < count && !passes(keyAt(k))) ++k;
                return k;
            };
            const auto walkFront = [&](auto passes) {
                for (std::size_t k = middle + 1; k-- > 0;) {
                    if (passes(keyAt(k))) return k + 1;
                }
                return std::size_t{0};
            };
            const bool middleShorter = keyAt(middle) < key;
            if (descending) {
                at = middleShorter ? walkFront([&](int k) { return k > key; })
                                   : walkBack([&](int k) { return k < key; });
            } else {
                at = middleShorter ? walkBack([&](int k) { return k > key; })
                                   : walkFront([&](int k) { return k < key; });
            }
        }
        sorted.insert(sorted.begin() + static_cast<std::ptrdiff_t>(at), next);
    }
    return sorted;
}

TEST(MidpointInsertionSort, TiesLandExactlyWhereTheWalksFromTheMidpointPutThem) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<int> keys(random() % 60);
        const int spread = 1 + static_cast<int>(random() % 8);
        for (int& key : keys) key = static_cast<int>(random() % spread);
        for (const bool descending : {true, false}) {
            std::vector<std::size_t> items(keys.size());
            for (std::size_t i = 0; i < items.size(); ++i) items[i] = i;
            midpointInsertionSort(items, descending, [&](std::size_t i) { return keys[i]; });
            EXPECT_EQ(items, walkedOrder(keys, descending)) << round << descending;
        }
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
