// Simplified-to-traditional conversion of GBK text, character by character, over OpenCC's
// character table. A character becomes its traditional form only when that form is itself
// one double-byte GBK character, so the byte length of a text never changes: callers cut
// and count the converted text by the positions of the original.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace yelian {

class TraditionalChinese {
  public:
    // The converter is opened on first use and closed with the object.
    TraditionalChinese() = default;
    TraditionalChinese(const TraditionalChinese&) = delete;
    TraditionalChinese& operator=(const TraditionalChinese&) = delete;
    ~TraditionalChinese();

    // The text with every double-byte character replaced by its traditional form. ASCII,
    // four-byte characters, invalid bytes and characters whose traditional form is not one
    // double-byte GBK character stay as they are. When OpenCC cannot be opened the text
    // comes back unchanged. Results are remembered per character, so one object serves many
    // calls cheaply; it is not safe to share one object between threads.
    std::string toTraditional(std::string_view gbk) const;

  private:
    bool open() const;
    std::uint16_t convertCharacter(std::uint16_t code) const;

    mutable void* converter_ = nullptr;
    mutable bool openFailed_ = false;
    // Traditional form per double-byte code, indexed from lead byte 0x81; 0 = not yet known.
    mutable std::vector<std::uint16_t> known_;
};

}  // namespace yelian
