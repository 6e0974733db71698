// Finding one text inside another the way the whole system counts characters: a match only
// ever begins where a character begins (charLengthAt of gbk_text.h), so a trailing byte that
// happens to equal an ASCII letter is never taken for one, and ignoring case folds ASCII
// letters only. Offsets here are 0-based bytes; the routines with 1-based positions sit on top.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yelian {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// One searched text, prepared once and used on any number of texts. The searches are linear
// in the part of the text they cover: candidates are located with memchr on the rarest byte
// of the needle, and the character boundary of a candidate is settled from its neighbour byte
// or by a short walk from the nearest byte that surely begins a character.
class TextFinder {
  public:
    TextFinder(std::string_view needle, bool ignoreCase);

    std::size_t size() const { return pattern_.size(); }

    // The first occurrence that begins at or after from, which must be a character boundary
    // of text; kNotFound when there is none or the needle is empty.
    std::size_t findIn(std::string_view text, std::size_t from = 0) const;

    // The last occurrence that lies wholly before end (end clamped to the text's length).
    std::size_t findLastIn(std::string_view text, std::size_t end = kNotFound) const;

  private:
    bool matchesAt(std::string_view text, std::size_t pos) const;

    // The needle with ASCII letters lowered where they are compared without case.
    std::string pattern_;
    // 1 where the byte at that index is compared without case, else 0.
    std::string folded_;
    // The byte located with memchr: its index in the needle and its one or two spellings.
    std::size_t anchor_ = 0;
    unsigned char anchorByte_ = 0;
    unsigned char anchorOtherCase_ = 0;
};

// One-off forms of TextFinder's searches.
std::size_t findText(std::string_view text, std::string_view needle, std::size_t from = 0,
                     bool ignoreCase = true);
std::size_t findTextBackward(std::string_view text, std::string_view needle,
                             std::size_t end = kNotFound, bool ignoreCase = true);

}  // namespace yelian
