// Conversions between the internal GB18030 text and UTF-8, over iconv.
#include "support/gbk_text.h"

#include <vector>

#include "support/iconv_converter.h"

namespace yelian {
namespace {

// Bytes that are not valid GB18030 travel as U+10FF80..U+10FFFF (plane 16 private use).
constexpr char32_t kPreservedBase = 0x10FF00;

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

void appendUtf8(std::string& out, char32_t cp) {
    // One append per code point: texts of many megabytes pass through here.
    char bytes[4];
    std::size_t size = 0;
    if (cp < 0x80) {
        bytes[size++] = static_cast<char>(cp);
    } else if (cp < 0x800) {
        bytes[size++] = static_cast<char>(0xC0 | (cp >> 6));
        bytes[size++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        bytes[size++] = static_cast<char>(0xE0 | (cp >> 12));
        bytes[size++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[size++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        bytes[size++] = static_cast<char>(0xF0 | (cp >> 18));
        bytes[size++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        bytes[size++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[size++] = static_cast<char>(0x80 | (cp & 0x3F));
    }
    out.append(bytes, size);
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

// The code points of the double-byte GB18030 characters, looked up instead of going through
// iconv for each: pages are converted for every regular-expression pass, and iconv's decoder
// costs far more per character. Filled once from iconv itself, so the two agree; 0 marks a
// pair iconv does not take as one character or takes for one beyond U+FFFF (those still go
// through iconv).
class DoubleByteTable {
  public:
    DoubleByteTable() : codes_(kLeads * kTrails, 0) {
        IconvConverter converter("UTF-32LE", "GB18030");
        std::string out;
        for (unsigned lead = kFirstLead; lead < kFirstLead + kLeads; ++lead) {
            for (unsigned trail = kFirstTrail; trail < kFirstTrail + kTrails; ++trail) {
                const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
                out.clear();
                if (converter.append(pair, 2, out) != 2 || out.size() != 4) continue;
                const auto byte = [&out](std::size_t i) {
                    return static_cast<char32_t>(static_cast<unsigned char>(out[i]));
                };
                const char32_t cp = byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
                // A few pairs stand for characters beyond U+FFFF; they stay with iconv, so
                // that every code point of the table has at most three UTF-8 bytes.
                if (cp < 0x10000) codes_[index(lead, trail)] = cp;
            }
        }
    }

    // The code point of the pair at pos (two bytes must be there), or 0.
    char32_t at(std::string_view text, std::size_t pos) const {
        const unsigned lead = static_cast<unsigned char>(text[pos]);
        const unsigned trail = static_cast<unsigned char>(text[pos + 1]);
        if (lead - kFirstLead >= kLeads || trail - kFirstTrail >= kTrails) return 0;
        return codes_[index(lead, trail)];
    }

  private:
    static constexpr unsigned kFirstLead = 0x81;
    static constexpr unsigned kLeads = 0xFE - 0x81 + 1;
    static constexpr unsigned kFirstTrail = 0x40;
    static constexpr unsigned kTrails = 0xFE - 0x40 + 1;

    static std::size_t index(unsigned lead, unsigned trail) {
        return (lead - kFirstLead) * kTrails + (trail - kFirstTrail);
    }

    std::vector<char32_t> codes_;
};

}  // namespace

bool isFourByteSequenceAt(std::string_view text, std::size_t pos) {
    if (text.size() - pos < 4) return false;
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    return b(0) >= 0x81 && b(0) <= 0xFE && b(1) >= 0x30 && b(1) <= 0x39 && b(2) >= 0x81 &&
           b(2) <= 0xFE && b(3) >= 0x30 && b(3) <= 0x39;
}

std::string gbkToUtf8(std::string_view gbk, InvalidBytes invalid) {
    static const DoubleByteTable table;
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    IconvConverter converter("UTF-8", "GB18030");
    std::size_t i = 0;
    while (i < gbk.size()) {
        std::size_t end = i;
        while (end < gbk.size() && isAscii(gbk[end])) ++end;
        out.append(gbk.substr(i, end - i));
        i = end;
        // Double-byte characters the table knows are written straight into the output (each
        // is a code point below U+10000, at most three UTF-8 bytes).
        std::size_t pairsEnd = i;
        while (pairsEnd + 1 < gbk.size() && !isAscii(gbk[pairsEnd])) pairsEnd += 2;
        const std::size_t written = out.size();
        out.resize(written + (pairsEnd - i) / 2 * 3);
        char* next = out.data() + written;
        for (; i < pairsEnd; i += 2) {
            const char32_t cp = table.at(gbk, i);
            if (cp == 0) break;
            if (cp < 0x800) {
                *next++ = static_cast<char>(0xC0 | (cp >> 6));
            } else {
                *next++ = static_cast<char>(0xE0 | (cp >> 12));
                *next++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            }
            *next++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
        out.resize(static_cast<std::size_t>(next - out.data()));
        // The rest of a run of other characters goes to iconv, which also decides what is
        // invalid. The table's pairs are characters to iconv too, so it starts where it would
        // have been after them.
        end = i;
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
