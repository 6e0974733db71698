// HTML character references and title-safe text.
#include "templatemaker/html_entities.h"

#include <limits>
#include <optional>

#include "support/full_width.h"
#include "support/gbk_text.h"
#include "support/iconv_converter.h"
#include "support/number_text.h"
#include "support/text_routines.h"

namespace yelian {
namespace {

// The named references and their GBK characters, applied in this order. "&nbsp;" is an
// ordinary space and "&sim;" the full-width tilde, which is what GBK pages mean by them.
constexpr ReplacePair kNamedEntities[] = {
    {"&amp;", "&"},           {"&ndash;", "\xA8\x43"},  // –
    {"&mdash;", "\xA1\xAA"},                            // —
    {"&ldquo;", "\xA1\xB0"},                            // “
    {"&rdquo;", "\xA1\xB1"},                            // ”
    {"&nbsp;", " "},          {"&lt;", "<"},           {"&gt;", ">"},
    {"&quot;", "\""},         {"&times;", "\xA1\xC1"},  // ×
    {"&divide;", "\xA1\xC2"},                           // ÷
    {"&middot;", "\xA1\xA4"},                           // ·
    {"&hellip;", "\xA1\xAD"},                           // …
    {"&lsquo;", "\xA1\xAE"},                            // ‘
    {"&rsquo;", "\xA1\xAF"},                            // ’
    {"&permil;", "\xA1\xEB"},                           // ‰
    {"&prime;", "\xA1\xE4"},                            // ′
    {"&Prime;", "\xA1\xE5"},                            // ″
    {"&larr;", "\xA1\xFB"},                             // ←
    {"&uarr;", "\xA1\xFC"},                             // ↑
    {"&rarr;", "\xA1\xFA"},                             // →
    {"&darr;", "\xA1\xFD"},                             // ↓
    {"&radic;", "\xA1\xCC"},                            // √
    {"&prop;", "\xA1\xD8"},                             // ∝
    {"&infin;", "\xA1\xDE"},                            // ∞
    {"&ang;", "\xA1\xCF"},                              // ∠
    {"&and;", "\xA1\xC4"},                              // ∧
    {"&or;", "\xA1\xC5"},                               // ∨
    {"&cap;", "\xA1\xC9"},                              // ∩
    {"&cup;", "\xA1\xC8"},                              // ∪
    {"&int;", "\xA1\xD2"},                              // ∫
    {"&there4;", "\xA1\xE0"},                           // ∴
    {"&sim;", "\xA1\xAB"},                              // ～
    {"&asymp;", "\xA1\xD6"},                            // ≈
    {"&ne;", "\xA1\xD9"},                               // ≠
    {"&equiv;", "\xA1\xD4"},                            // ≡
    {"&le;", "\xA1\xDC"},                               // ≤
    {"&ge;", "\xA1\xDD"},                               // ≥
    {"&oplus;", "\xA8\x92"},                            // ⊕
    {"&perp;", "\xA1\xCD"},                             // ⊥
};

bool isAsciiAlphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void appendUnit(std::string& out, std::uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

// Converts whole code units up to the first zero unit; a unit iconv refuses (a lone
// surrogate) becomes "?" and the conversion goes on behind it.
void appendUtf16AsGbk(IconvConverter& converter, std::string_view bytes, std::string& out) {
    std::size_t end = 0;
    while (end + 1 < bytes.size() && (bytes[end] != '\0' || bytes[end + 1] != '\0')) end += 2;
    std::size_t pos = 0;
    while (pos < end) {
        pos += converter.append(bytes.data() + pos, end - pos, out);
        if (pos < end) {
            out += '?';
            pos += 2;
        }
    }
}

// The text of a numeric reference's value: empty for 0, nothing for a value that names no
// character (the reference then stays).
std::optional<std::string> referencedCharacter(IconvConverter& converter, std::string_view inner) {
    std::int64_t code = textToInteger(inner);
    if (code == 0) code = hexToNumber(inner.empty() ? inner : inner.substr(1));
    if (code == 0) return std::string();
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    std::string utf16;
    const auto scalar = static_cast<std::uint32_t>(code);
    if (scalar < 0x10000) {
        appendUnit(utf16, scalar);
    } else {
        appendUnit(utf16, 0xD800 + ((scalar - 0x10000) >> 10));
        appendUnit(utf16, 0xDC00 + ((scalar - 0x10000) & 0x3FF));
    }
    std::string result;
    appendUtf16AsGbk(converter, utf16, result);
    return result;
}

// One pass from the left. A reference is "&#", ASCII letters and digits, ";": bounding it so
// keeps a "&#" without its own ";" from swallowing the text up to some later ";". References
// therefore never overlap, and as a replacement is never read again, the order in which they
// are replaced does not matter.
std::string decodeNumericReferences(std::string_view text, const ProcessEvents& processEvents) {
    IconvConverter converter("GB18030", "UTF-16LE");
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t at = text.find("&#"); at != std::string_view::npos;) {
        if (processEvents) processEvents();
        std::size_t end = at + 2;
        while (end < text.size() && isAsciiAlphanumeric(text[end])) ++end;
        if (end < text.size() && text[end] == ';') {
            const std::optional<std::string> character =
                referencedCharacter(converter, text.substr(at + 2, end - at - 2));
            if (character) {
                out.append(text.substr(done, at - done));
                out += *character;
                done = end + 1;
            }
        }
        at = text.find("&#", end);
    }
    out.append(text.substr(done));
    return out;
}

std::int64_t truncateToInt64(double value) {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (value < -kLimit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

}  // namespace

std::string decodeEntities(std::string_view text, const ProcessEvents& processEvents) {
    // "&" is never a trailing byte of a GBK character, so a text without it has no reference.
    if (text.find('&') == std::string_view::npos) return std::string(text);
    const std::string named = replacePairs(text, kNamedEntities, /*caseSensitive=*/true);
    return decodeNumericReferences(named, processEvents);
}

std::string sanitiseTitle(std::string_view text) {
    constexpr std::string_view kUnsafe = "\\/:*?|<>";
    static const std::string kSafeForms = toFullWidth(kUnsafe);
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = charLengthAt(text, pos);
        const char c = text[pos];
        const std::size_t unsafe = length == 1 ? kUnsafe.find(c) : std::string_view::npos;
        if (unsafe != std::string_view::npos) {
            out.append(kSafeForms, unsafe * 2, 2);
        } else if (length > 1 || (c != '"' && c != '\r' && c != '\n' && c != '\t')) {
            out.append(text.substr(pos, length));
        }
        pos += length;
    }
    return out;
}

std::int64_t hexToNumber(std::string_view text) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::int64_t value = 0;
    for (const char c : text) {
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        const std::size_t digit = kDigits.find(upper);
        const double added = digit == std::string_view::npos ? -2.0 : static_cast<double>(digit);
        value = truncateToInt64(static_cast<double>(value) * 16.0 + added);
    }
    return value;
}

std::string utf16ToGbk(std::string_view bytes) {
    IconvConverter converter("GB18030", "UTF-16LE");
    std::string out;
    appendUtf16AsGbk(converter, bytes, out);
    return out;
}

}  // namespace yelian
