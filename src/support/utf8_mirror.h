// A GB18030 text together with its UTF-8 form, converted once. Several regular-expression
// passes over many overlapping stretches of one page (every element of a kind, nested in each
// other) then cost one conversion: the UTF-8 of a stretch is a slice of the whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yelian {

class Utf8Mirror {
  public:
    Utf8Mirror() = default;
    explicit Utf8Mirror(std::string gbk);

    // The text the mirror was made of; empty for a default mirror.
    std::string_view gbk() const { return gbk_; }

    // gbkToUtf8 of gbk[start, end), which must lie in the text. Taken from the whole conversion
    // when both ends sit next to an ASCII character (tags begin with "<" and end with ">", so
    // elements always do); converted on its own otherwise.
    std::string utf8Of(std::size_t start, std::size_t end) const;

  private:
    // Where gbk position pos lies in the UTF-8, when the conversion of the text splits there
    // into the conversions of the two sides.
    std::optional<std::size_t> utf8Offset(std::size_t pos) const;

    std::string gbk_;
    std::string utf8_;
    // Positions where the conversion splits, at least kCheckpointSpacing bytes apart, with
    // their UTF-8 offsets; the first is 0 and the last the end.
    std::vector<std::size_t> gbkCheckpoints_;
    std::vector<std::size_t> utf8Checkpoints_;
};

}  // namespace yelian
