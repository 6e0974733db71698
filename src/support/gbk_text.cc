// Conversions between the internal GB18030 text and UTF-8, over iconv.
#include "support/gbk_text.h"

#include "support/iconv_converter.h"

namespace yelian {
namespace {

// Bytes that are not valid GB18030 travel as U+10FF80..U+10FFFF (plane 16 private use).
constexpr char32_t kPreservedBase = 0x10FF00;

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at pos, or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t pos) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const std::size_t left = s.size() - pos;
    const unsigned char lead = at(0);
    const auto cont = [&](std::size_t i) { return i < left && (at(i) & 0xC0) == 0x80; };
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return cont(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (lead == 0xE0 && at(1) < 0xA0) return 0;   // overlong
        if (lead == 0xED && at(1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (lead == 0xF0 && at(1) < 0x90) return 0;   // overlong
        if (lead == 0xF4 && at(1) >= 0x90) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

// The byte carried by a preserved code point at pos, or -1.
int preservedByteAt(std::string_view s, std::size_t pos) {
    if (s.size() - pos < 4 || static_cast<unsigned char>(s[pos]) != 0xF4) return -1;
    const auto b1 = static_cast<unsigned char>(s[pos + 1]);
    const auto b2 = static_cast<unsigned char>(s[pos + 2]);
    const auto b3 = static_cast<unsigned char>(s[pos + 3]);
    if (b1 != 0x8F || (b2 != 0xBE && b2 != 0xBF) || (b3 & 0xC0) != 0x80) return -1;
    const char32_t cp = 0x100000 | (0x0F << 12) | ((b2 & 0x3F) << 6) | (b3 & 0x3F);
    return static_cast<int>(cp - kPreservedBase);
}

}  // namespace

bool isFourByteSequenceAt(std::string_view text, std::size_t pos) {
    if (text.size() - pos < 4) return false;
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    return b(0) >= 0x81 && b(0) <= 0xFE && b(1) >= 0x30 && b(1) <= 0x39 && b(2) >= 0x81 &&
           b(2) <= 0xFE && b(3) >= 0x30 && b(3) <= 0x39;
}

std::string gbkToUtf8(std::string_view gbk, InvalidBytes invalid) {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    IconvConverter converter("UTF-8", "GB18030");
    std::size_t i = 0;
    while (i < gbk.size()) {
        std::size_t end = i;
        while (end < gbk.size() && isAscii(gbk[end])) ++end;
        out.append(gbk.substr(i, end - i));
        i = end;
        while (end < gbk.size() && !isAscii(gbk[end])) end += charLengthAt(gbk, end);
        while (i < end) {
            i += converter.append(gbk.data() + i, end - i, out);
            if (i >= end) break;
            if (invalid == InvalidBytes::Preserve) {
                appendUtf8(out, kPreservedBase + static_cast<unsigned char>(gbk[i]));
            } else {
                out += gbk[i];
            }
            ++i;
        }
    }
    return out;
}

std::string utf8ToGbk(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    IconvConverter converter("GB18030", "UTF-8");
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (isAscii(utf8[i])) {
            std::size_t end = i;
            while (end < utf8.size() && isAscii(utf8[end])) ++end;
            out.append(utf8.substr(i, end - i));
            i = end;
            continue;
        }
        if (const int byte = preservedByteAt(utf8, i); byte >= 0x80) {
            out += static_cast<char>(byte);
            i += 4;
            continue;
        }
        // A run of well-formed non-ASCII sequences goes to iconv in one call.
        std::size_t end = i;
        while (end < utf8.size() && !isAscii(utf8[end]) && preservedByteAt(utf8, end) < 0) {
            const std::size_t length = utf8SequenceLength(utf8, end);
            if (length == 0) break;
            end += length;
        }
        if (end == i) {
            out += utf8[i++];
            continue;
        }
        const std::size_t used = converter.append(utf8.data() + i, end - i, out);
        if (used < end - i) {
            // Cannot happen for well-formed UTF-8; keep the bytes rather than lose them.
            out.append(utf8.substr(i + used, end - i - used));
        }
        i = end;
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8SequenceLength(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace yelian
