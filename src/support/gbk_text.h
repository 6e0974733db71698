// The internal text model: text is GB18030 bytes in std::string (GBK for every common
// character). This header says where characters begin and end, converts text for the
// libraries that work on Unicode, and turns the system's own UTF-8 literals into GBK
// constants ("#本篇标题#"_gbk).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace yelian {

// True for the four-byte GB18030 sequence starting at pos: lead 0x81-0xFE, then 0x30-0x39,
// 0x81-0xFE, 0x30-0x39.
inline bool isFourByteSequenceAt(std::string_view text, std::size_t pos) {
    if (text.size() - pos < 4) return false;
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    return b(0) >= 0x81 && b(0) <= 0xFE && b(1) >= 0x30 && b(1) <= 0x39 && b(2) >= 0x81 &&
           b(2) <= 0xFE && b(3) >= 0x30 && b(3) <= 0x39;
}

// Length in bytes of the character that starts at pos: 1 below 0x80, 4 for a GB18030
// four-byte sequence, else 2. Never runs past the end of the text, so a cut made with it
// never splits a character.
inline std::size_t charLengthAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return 1;
    if (pos + 1 == text.size()) return 1;
    // Most characters are double-byte ones, told apart by a second byte that is no digit.
    const auto next = static_cast<unsigned char>(text[pos + 1]);
    if (next >= 0x30 && next <= 0x39 && isFourByteSequenceAt(text, pos)) return 4;
    return 2;
}

// True when the eight bytes from pos, a character start, all have the high bit set: they are
// then four double-byte characters (a four-byte sequence has a digit as second byte). Walks
// over Chinese text step over such runs a word at a time.
inline bool isFourDoubleByteCharactersAt(std::string_view text, std::size_t pos) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    if (text.size() - pos < sizeof kHighBits) return false;
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + pos, sizeof word);
    return (word & kHighBits) == kHighBits;
}

// How conversions to UTF-8 treat bytes that are not valid GB18030.
enum class InvalidBytes {
    // Each byte becomes a private-use code point that the way back restores, so text handed
    // to a library (regex engine, OpenCC, the GUI) survives any bytes.
    Preserve,
    // Each byte is copied as it is (file names that were never UTF-8).
    Raw,
};

// GB18030 -> UTF-8. Never fails.
std::string gbkToUtf8(std::string_view gbk, InvalidBytes invalid = InvalidBytes::Preserve);

// UTF-8 -> GB18030. Private-use code points made by gbkToUtf8 become their original bytes
// again; bytes that are not valid UTF-8 are copied as they are. Never fails.
std::string utf8ToGbk(std::string_view utf8);

// Strict conversions of whole documents, for reading and writing files: nothing when iconv
// refuses any of it (an invalid or cut-off byte sequence, a character the target lacks).
std::optional<std::string> gb18030ToUtf8Strict(std::string_view gb18030);
std::optional<std::string> utf8ToGb18030Strict(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (any length of sequence up to four bytes).
bool isValidUtf8(std::string_view bytes);

// A string literal as a template argument, so that each literal gets its own constant.
template <std::size_t N>
struct Utf8Literal {
    char bytes[N];
    constexpr Utf8Literal(const char (&text)[N]) { std::copy_n(text, N, bytes); }
    constexpr std::string_view view() const { return {bytes, N - 1}; }
};

namespace literals {

// "#本篇标题#"_gbk: the GBK form of a UTF-8 source literal, converted once.
template <Utf8Literal literal>
const std::string& operator""_gbk() {
    static const std::string converted = utf8ToGbk(literal.view());
    return converted;
}

}  // namespace literals

// A named GBK constant written once in UTF-8 source, for control names and the system's own
// texts: inline constexpr GbkConstant<"编辑框模板1"> kTemplateEditor1; It converts to
// std::string_view where a text is expected and compares with any text.
template <Utf8Literal literal>
struct GbkConstant {
    const std::string& str() const { return literals::operator""_gbk<literal>(); }
    // The UTF-8 source form, for tables that take UTF-8 captions.
    static constexpr std::string_view utf8() { return literal.view(); }
    operator std::string_view() const { return str(); }
    operator const std::string&() const { return str(); }
    friend bool operator==(std::string_view text, GbkConstant constant) {
        return text == constant.str();
    }
};

}  // namespace yelian
