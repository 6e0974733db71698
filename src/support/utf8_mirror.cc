// The conversion of a text splits at a character boundary next to an ASCII character: a run of
// non-ASCII characters, the only part whose conversion looks at its neighbours, never crosses
// an ASCII character.
#include "support/utf8_mirror.h"

#include <algorithm>
#include <utility>

#include "support/gbk_text.h"

namespace yelian {
namespace {

constexpr std::size_t kCheckpointSpacing = 256;

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

}  // namespace

Utf8Mirror::Utf8Mirror(std::string text) : gbk_(std::move(text)) {
    const std::string_view gbk = gbk_;
    gbkCheckpoints_.push_back(0);
    utf8Checkpoints_.push_back(0);
    std::size_t last = 0;
    for (std::size_t i = 0; i < gbk.size(); i += charLengthAt(gbk, i)) {
        if (i - last < kCheckpointSpacing || !isAscii(gbk[i])) continue;
        utf8_ += gbkToUtf8(gbk.substr(last, i - last));
        gbkCheckpoints_.push_back(i);
        utf8Checkpoints_.push_back(utf8_.size());
        last = i;
    }
    if (last < gbk.size()) {
        utf8_ += gbkToUtf8(gbk.substr(last));
        gbkCheckpoints_.push_back(gbk.size());
        utf8Checkpoints_.push_back(utf8_.size());
    }
}

std::optional<std::size_t> Utf8Mirror::utf8Offset(std::size_t pos) const {
    const auto after = std::upper_bound(gbkCheckpoints_.begin(), gbkCheckpoints_.end(), pos);
    const auto index = static_cast<std::size_t>(after - gbkCheckpoints_.begin()) - 1;
    const std::size_t checkpoint = gbkCheckpoints_[index];
    if (pos == checkpoint) return utf8Checkpoints_[index];
    // Walk from the checkpoint, a character boundary, to see whether pos is one too and what
    // precedes it.
    std::size_t i = checkpoint;
    std::size_t previous = i;
    while (i < pos) {
        previous = i;
        i += charLengthAt(gbk_, i);
    }
    if (i != pos) return std::nullopt;
    const bool splits = pos == gbk_.size() || isAscii(gbk_[pos]) ||
                        (pos - previous == 1 && isAscii(gbk_[previous]));
    if (!splits) return std::nullopt;
    return utf8Checkpoints_[index] + gbkToUtf8(gbk_.substr(checkpoint, pos - checkpoint)).size();
}

std::string Utf8Mirror::utf8Of(std::size_t start, std::size_t end) const {
    const std::optional<std::size_t> from = utf8Offset(start);
    const std::optional<std::size_t> to = from ? utf8Offset(end) : std::nullopt;
    if (!to) return gbkToUtf8(gbk_.substr(start, end - start));
    return utf8_.substr(*from, *to - *from);
}

}  // namespace yelian
