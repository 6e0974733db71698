// The ordering the body recogniser ranks blocks with: items are inserted one by one into a
// sorted list, each search starting from the list's middle. Where several items have equal
// keys, the midpoint decides which lands first, and with it which of several equally long
// blocks is chosen, so the procedure is kept exactly rather than replaced by a library sort.
#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "support/event_hook.h"

namespace yelian {

// Reorders items by keyOf(item) (a number), longest first when descending. Stable only where
// the midpoint makes it so. processEvents runs at every step of every walk, and goOn is asked
// after it: when it says no, the sort ends there, the items not yet placed following the
// placed ones in their order (every item is kept; the order is then meaningless).
template <typename Item, typename KeyOf>
void midpointInsertionSort(std::vector<Item>& items, bool descending, KeyOf keyOf,
                           const ProcessEvents& processEvents = {},
                           const std::function<bool()>& goOn = {}) {
    bool going = true;
    const auto step = [&] {
        if (processEvents) processEvents();
        if (goOn && !goOn()) going = false;
        return going;
    };
    // The sorted list holds indexes into items; the items move once, at the end.
    std::vector<std::size_t> sorted;
    sorted.reserve(items.size());
    std::size_t next = 0;
    for (; next < items.size() && going; ++next) {
        const auto key = keyOf(items[next]);
        const auto keyAt = [&](std::size_t k) { return keyOf(items[sorted[k]]); };
        const std::size_t count = sorted.size();
        if (count == 0) {
            sorted.push_back(next);
            continue;
        }
        // The 1-based midpoint ceil(count / 2), as a 0-based index.
        const std::size_t middle = (count + 1) / 2 - 1;
        // Walking towards the back inserts before the first item that passes; towards the
        // front, after it. A walk that finds none inserts at its end of the list.
        const auto walkBack = [&](auto passes) {
            std::size_t k = middle;
            for (; k < count; ++k) {
                if (!step() || passes(keyAt(k))) break;
            }
            return k;
        };
        const auto walkFront = [&](auto passes) {
            for (std::size_t k = middle + 1; k-- > 0;) {
                if (!step() || passes(keyAt(k))) return k + 1;
            }
            return std::size_t{0};
        };
        const bool middleShorter = keyAt(middle) < key;
        std::size_t at = 0;
        if (descending) {
            at = middleShorter ? walkFront([&](auto k) { return k > key; })
                               : walkBack([&](auto k) { return k < key; });
        } else {
            at = middleShorter ? walkBack([&](auto k) { return k > key; })
                               : walkFront([&](auto k) { return k < key; });
        }
        sorted.insert(sorted.begin() + static_cast<std::ptrdiff_t>(at), next);
    }
    for (; next < items.size(); ++next) sorted.push_back(next);
    std::vector<Item> result;
    result.reserve(items.size());
    for (const std::size_t index : sorted) result.push_back(std::move(items[index]));
    items = std::move(result);
}

}  // namespace yelian
