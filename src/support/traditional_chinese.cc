// Simplified-to-traditional conversion over OpenCC.
#include "support/traditional_chinese.h"

#include <opencc/opencc.h>

#include <cstdint>

#include "support/gbk_text.h"

namespace yelian {
namespace {

constexpr unsigned kFirstLead = 0x81;
constexpr unsigned kLastLead = 0xFE;
constexpr std::size_t kDoubleByteCodes = (kLastLead - kFirstLead + 1) * 256;

bool isDoubleByteLead(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= kFirstLead && byte <= kLastLead;
}

// OpenCC's own failure value for opencc_open.
opencc_t failedHandle() {
    return reinterpret_cast<opencc_t>(static_cast<std::intptr_t>(-1));
}

std::uint16_t codeAt(std::string_view text, std::size_t pos) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(text[pos]) << 8 |
                                      static_cast<unsigned char>(text[pos + 1]));
}

std::string textOf(std::uint16_t code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

}  // namespace

TraditionalChinese::~TraditionalChinese() {
    if (converter_ != nullptr) opencc_close(converter_);
}

bool TraditionalChinese::open() const {
    if (converter_ != nullptr) return true;
    if (openFailed_) return false;
    opencc_t handle = opencc_open(OPENCC_DEFAULT_CONFIG_SIMP_TO_TRAD);
    if (handle == failedHandle() || handle == nullptr) {
        openFailed_ = true;
        return false;
    }
    converter_ = handle;
    known_.assign(kDoubleByteCodes, 0);
    return true;
}

std::uint16_t TraditionalChinese::convertCharacter(std::uint16_t code) const {
    std::uint16_t& known = known_[code - (kFirstLead << 8)];
    if (known != 0) return known;
    known = code;
    const std::string utf8 = gbkToUtf8(textOf(code));
    char* converted = opencc_convert_utf8(converter_, utf8.data(), utf8.size());
    if (converted == nullptr) return known;
    const std::string gbk = utf8ToGbk(converted);
    opencc_convert_utf8_free(converted);
    // Only a single double-byte character keeps the byte length; anything else (a four-byte
    // GB18030 form, several characters) leaves the character as it was.
    if (gbk.size() == 2 && isDoubleByteLead(gbk[0])) {
        known = codeAt(gbk, 0);
    }
    return known;
}

std::string TraditionalChinese::toTraditional(std::string_view gbk) const {
    std::string result(gbk);
    if (!open()) return result;
    for (std::size_t pos = 0; pos < gbk.size();) {
        const std::size_t length = charLengthAt(gbk, pos);
        if (length == 2 && isDoubleByteLead(gbk[pos])) {
            const std::uint16_t code = convertCharacter(codeAt(gbk, pos));
            result[pos] = static_cast<char>(code >> 8);
            result[pos + 1] = static_cast<char>(code & 0xFF);
        }
        pos += length;
    }
    return result;
}

}  // namespace yelian
