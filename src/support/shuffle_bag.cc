// Draws without repetition, by a lazily filled swap-with-last removal.
#include "support/shuffle_bag.h"

#include <algorithm>
#include <limits>

namespace yelian {

std::int64_t ShuffleBag::valueAt(std::uint64_t slot) const {
    const auto found = moved_.find(slot);
    if (found != moved_.end()) return found->second;
    // Unsigned so that a range reaching the top of int64 does not overflow.
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(lowest_) + slot);
}

std::int64_t ShuffleBag::draw(std::int64_t a, std::int64_t b) {
    if (remaining_ == 0) {
        lowest_ = std::min(a, b);
        remaining_ =
            static_cast<std::uint64_t>(std::max(a, b)) - static_cast<std::uint64_t>(lowest_) + 1;
        // Only the whole int64 range wraps to 0; one number short of it is as good.
        if (remaining_ == 0) remaining_ = std::numeric_limits<std::uint64_t>::max();
        moved_.clear();
    }
    const std::uint64_t slot = random_.below(remaining_);
    const std::uint64_t last = remaining_ - 1;
    const std::int64_t value = valueAt(slot);
    if (slot != last) moved_[slot] = valueAt(last);
    moved_.erase(last);
    --remaining_;
    return value;
}

void ShuffleBag::reset() {
    remaining_ = 0;
    moved_.clear();
}

}  // namespace yelian
