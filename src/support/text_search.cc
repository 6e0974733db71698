// Boundary-aware text search.
#include "support/text_search.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "support/gbk_text.h"

namespace yelian {
namespace {

unsigned char byteAt(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

bool isAsciiLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

unsigned char lowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

unsigned char otherCase(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - ('a' - 'A'));
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + ('a' - 'A'));
    return c;
}

// True when a character surely begins at pos (pos < size), judged from the byte before it
// alone. A byte below 0x80 other than a digit always ends a character (it is a single-byte
// character or the second byte of a double-byte one). A digit may be the second byte of a
// four-byte sequence, but then the byte after it is 0x81 or more.
bool surelyBeginsCharacter(std::string_view text, std::size_t pos) {
    if (pos == 0) return true;
    const unsigned char before = byteAt(text, pos - 1);
    if (before >= 0x80) return false;
    return !isDigit(before) || byteAt(text, pos) < 0x80;
}

// Answers "does a character begin here?" for increasing positions, starting from a known
// boundary. The walks it makes never overlap, so a whole search stays linear.
class ForwardBoundaries {
  public:
    ForwardBoundaries(std::string_view text, std::size_t known) : text_(text), known_(known) {}

    bool contains(std::size_t pos) {
        if (pos == known_) return true;
        // known_ lies past pos only after a walk that stepped over pos.
        if (pos < known_) return false;
        if (surelyBeginsCharacter(text_, pos)) {
            known_ = pos;
            return true;
        }
        std::size_t walk = pos - 1;
        while (walk > known_ && !surelyBeginsCharacter(text_, walk)) --walk;
        while (walk < pos) walk += charLengthAt(text_, walk);
        known_ = walk;
        return walk == pos;
    }

  private:
    std::string_view text_;
    std::size_t known_;
};

// The same question for decreasing positions: each walk records the boundaries of one
// stretch of text, and later positions inside that stretch are looked up.
class BackwardBoundaries {
  public:
    explicit BackwardBoundaries(std::string_view text) : text_(text) {}

    bool contains(std::size_t pos) {
        if (surelyBeginsCharacter(text_, pos)) return true;
        if (marks_.empty() || pos < marks_.front()) walkUpTo(pos);
        return std::binary_search(marks_.begin(), marks_.end(), pos);
    }

  private:
    void walkUpTo(std::size_t pos) {
        std::size_t walk = pos - 1;
        while (walk > 0 && !surelyBeginsCharacter(text_, walk)) --walk;
        marks_.clear();
        for (; walk <= pos; walk += charLengthAt(text_, walk)) marks_.push_back(walk);
    }

    std::string_view text_;
    std::vector<std::size_t> marks_;
};

// How good a byte is for locating candidates with memchr: lower is rarer in web pages and
// Chinese text. A byte compared without case costs two scans.
int anchorCost(unsigned char c, bool folded) {
    constexpr std::string_view kCommonInMarkup = " <>=\"'/\t\r\n;:.,-_()";
    constexpr std::string_view kLettersByFrequency = "etaoinshrdlcumwfgypbvkjxqz";
    if (c >= 0x80) return 60;
    if (kCommonInMarkup.find(static_cast<char>(c)) != std::string_view::npos) return 50;
    if (isAsciiLetter(c)) {
        const auto rank =
            static_cast<int>(kLettersByFrequency.find(static_cast<char>(lowerAscii(c))));
        return 10 + rank + (folded ? 20 : 0);
    }
    if (isDigit(c) || c < 0x20) return 30;
    return 0;
}

const char* scanForward(const char* from, unsigned char c, std::size_t count) {
    return static_cast<const char*>(std::memchr(from, c, count));
}

// The last c among count bytes starting at from, or nullptr.
const char* scanBackward(const char* from, unsigned char c, std::size_t count) {
#ifdef __GLIBC__
    return static_cast<const char*>(memrchr(from, c, count));
#else
    for (std::size_t i = count; i > 0; --i) {
        if (static_cast<unsigned char>(from[i - 1]) == c) return from + i - 1;
    }
    return nullptr;
#endif
}

}  // namespace

TextFinder::TextFinder(std::string_view needle, bool ignoreCase) : pattern_(needle) {
    folded_.assign(needle.size(), 0);
    if (ignoreCase) {
        // Only single-byte characters are folded: the trailing byte of a double-byte
        // character that looks like a letter is part of a different character.
        for (std::size_t i = 0; i < needle.size(); i += charLengthAt(needle, i)) {
            const unsigned char c = byteAt(needle, i);
            if (isAsciiLetter(c)) {
                pattern_[i] = static_cast<char>(lowerAscii(c));
                folded_[i] = 1;
            }
        }
    }
    int best = 1000;
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        const int cost = anchorCost(byteAt(pattern_, i), folded_[i] != 0);
        if (cost < best) {
            best = cost;
            anchor_ = i;
        }
    }
    if (!pattern_.empty()) {
        anchorByte_ = byteAt(pattern_, anchor_);
        anchorOtherCase_ = folded_[anchor_] != 0 ? otherCase(anchorByte_) : anchorByte_;
    }
}

bool TextFinder::matchesAt(std::string_view text, std::size_t pos) const {
    const char* candidate = text.data() + pos;
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        auto c = static_cast<unsigned char>(candidate[i]);
        if (folded_[i] != 0) c = lowerAscii(c);
        if (c != static_cast<unsigned char>(pattern_[i])) return false;
    }
    return true;
}

std::size_t TextFinder::findIn(std::string_view text, std::size_t from) const {
    const std::size_t m = pattern_.size();
    if (m == 0 || from > text.size() || text.size() - from < m) return kNotFound;
    const char* base = text.data();
    // Anchor bytes of possible matches lie in [scan, scanEnd).
    std::size_t scan = from + anchor_;
    const std::size_t scanEnd = text.size() - m + anchor_ + 1;
    // The next hit of each spelling of the anchor byte, kept until it is passed.
    std::size_t next[2] = {scan, scan};
    const unsigned char spellings[2] = {anchorByte_, anchorOtherCase_};
    const int spellingCount = anchorByte_ == anchorOtherCase_ ? 1 : 2;
    ForwardBoundaries boundaries(text, from);
    while (scan < scanEnd) {
        std::size_t hit = kNotFound;
        for (int s = 0; s < spellingCount; ++s) {
            if (next[s] != kNotFound && next[s] < scan) next[s] = scan;
            if (next[s] != kNotFound && next[s] == scan) {
                const char* found = scanForward(base + scan, spellings[s], scanEnd - scan);
                next[s] = found == nullptr ? kNotFound : static_cast<std::size_t>(found - base);
            }
            hit = std::min(hit, next[s]);
        }
        if (hit == kNotFound) return kNotFound;
        const std::size_t pos = hit - anchor_;
        if (matchesAt(text, pos) && boundaries.contains(pos)) return pos;
        scan = hit + 1;
    }
    return kNotFound;
}

std::size_t TextFinder::findLastIn(std::string_view text, std::size_t end) const {
    const std::size_t m = pattern_.size();
    end = std::min(end, text.size());
    if (m == 0 || end < m) return kNotFound;
    const char* base = text.data();
    // Anchor bytes of possible matches lie in [anchor_, scanEnd).
    std::size_t scanEnd = end - m + anchor_ + 1;
    const unsigned char spellings[2] = {anchorByte_, anchorOtherCase_};
    const int spellingCount = anchorByte_ == anchorOtherCase_ ? 1 : 2;
    // The last hit of each spelling below scanEnd, kept until scanEnd passes it.
    std::size_t last[2] = {kNotFound, kNotFound};
    bool scanned[2] = {false, false};
    BackwardBoundaries boundaries(text);
    while (scanEnd > anchor_) {
        std::size_t hit = kNotFound;
        for (int s = 0; s < spellingCount; ++s) {
            if (!scanned[s] || (last[s] != kNotFound && last[s] >= scanEnd)) {
                const char* found = scanBackward(base + anchor_, spellings[s], scanEnd - anchor_);
                last[s] = found == nullptr ? kNotFound : static_cast<std::size_t>(found - base);
                scanned[s] = true;
            }
            if (last[s] != kNotFound && (hit == kNotFound || last[s] > hit)) hit = last[s];
        }
        if (hit == kNotFound) return kNotFound;
        const std::size_t pos = hit - anchor_;
        if (matchesAt(text, pos) && boundaries.contains(pos)) return pos;
        scanEnd = hit;
    }
    return kNotFound;
}

std::size_t findText(std::string_view text, std::string_view needle, std::size_t from,
                     bool ignoreCase) {
    return TextFinder(needle, ignoreCase).findIn(text, from);
}

std::size_t findTextBackward(std::string_view text, std::string_view needle, std::size_t end,
                             bool ignoreCase) {
    return TextFinder(needle, ignoreCase).findLastIn(text, end);
}

}  // namespace yelian
