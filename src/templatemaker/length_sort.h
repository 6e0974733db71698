// The ordering the body recogniser ranks blocks with: items are inserted one by one into a
// sorted list, each search starting from the list's middle. Where several items have equal
// keys, the midpoint decides which lands first, and with it which of several equally long
// blocks is chosen, so the procedure is kept exactly rather than replaced by a library sort.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/event_hook.h"

namespace yelian {

// Reorders items by keyOf(item) (a number), longest first when descending. Stable only where
// the midpoint makes it so. processEvents runs once for every item placed, and goOn is asked
// after it: when it says no, the sort ends there, the items not yet placed following the
// placed ones in their order (every item is kept; the order is then meaningless).
//
// The list stays sorted, so each walk from the midpoint ends at one end of the run of keys
// equal to the new one: before that run when the midpoint's key is shorter than the new key,
// after it otherwise (in both directions). Only the midpoint's key matters, and a count per
// distinct key finds it, so the same order comes out in O(n log n) instead of the walks'
// O(n^2) (400,000 blocks of one page took minutes).
template <typename Item, typename KeyOf>
void midpointInsertionSort(std::vector<Item>& items, bool descending, KeyOf keyOf,
                           const ProcessEvents& processEvents = {},
                           const std::function<bool()>& goOn = {}) {
    using Key = std::decay_t<decltype(keyOf(items.front()))>;
    std::vector<Key> keys;
    keys.reserve(items.size());
    for (const Item& item : items) keys.push_back(keyOf(item));
    // The distinct keys in list order; rank r is the r-th run of equal keys in the list.
    std::vector<Key> distinct = keys;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (descending) std::reverse(distinct.begin(), distinct.end());
    const auto rankOf = [&](const Key& key) {
        const auto at = descending ? std::lower_bound(distinct.begin(), distinct.end(), key,
                                                      std::greater<Key>())
                                   : std::lower_bound(distinct.begin(), distinct.end(), key);
        return static_cast<std::size_t>(at - distinct.begin());
    };
    // Items placed per rank, as a Fenwick tree, to find the key at a position of the list.
    std::vector<std::size_t> tree(distinct.size() + 1, 0);
    const auto add = [&](std::size_t rank) {
        for (std::size_t i = rank + 1; i < tree.size(); i += i & (~i + 1)) ++tree[i];
    };
    const auto rankAtPosition = [&](std::size_t position) {
        std::size_t rank = 0;
        std::size_t bit = 1;
        while (bit * 2 < tree.size()) bit *= 2;
        for (; bit > 0; bit /= 2) {
            if (rank + bit < tree.size() && tree[rank + bit] <= position) {
                rank += bit;
                position -= tree[rank];
            }
        }
        return rank;  // 0-based: the tree's prefix [1, rank] holds at most position items
    };
    // Each run of equal keys: the items put in front of it (latest first) and behind it.
    struct Run {
        std::vector<std::size_t> front;
        std::vector<std::size_t> back;
    };
    std::vector<Run> runs(distinct.size());
    std::size_t next = 0;
    for (; next < items.size(); ++next) {
        if (processEvents) processEvents();
        if (goOn && !goOn()) break;
        const std::size_t rank = rankOf(keys[next]);
        if (next > 0) {
            // The 1-based midpoint ceil(count / 2), as a 0-based index.
            const std::size_t middle = (next + 1) / 2 - 1;
            const bool middleShorter = distinct[rankAtPosition(middle)] < keys[next];
            if (middleShorter == descending) {
                runs[rank].front.push_back(next);
            } else {
                runs[rank].back.push_back(next);
            }
        } else {
            runs[rank].back.push_back(next);
        }
        add(rank);
    }
    std::vector<Item> result;
    result.reserve(items.size());
    for (const Run& run : runs) {
        for (auto at = run.front.rbegin(); at != run.front.rend(); ++at) {
            result.push_back(std::move(items[*at]));
        }
        for (const std::size_t index : run.back) result.push_back(std::move(items[index]));
    }
    for (; next < items.size(); ++next) result.push_back(std::move(items[next]));
    items = std::move(result);
}

}  // namespace yelian
