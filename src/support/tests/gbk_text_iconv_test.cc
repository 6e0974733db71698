// The table-driven conversions against iconv alone: every two-byte code, every BMP code point
// and many random byte strings, valid or not, must come out byte for byte as iconv gives them.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "support/gbk_text.h"
#include "support/iconv_converter.h"

namespace yelian {
namespace {

constexpr char32_t kPreservedBase = 0x10FF00;

// Encodes any value up to 0x1FFFFF the UTF-8 way, surrogates included.
std::string utf8Of(char32_t cp) {
    std::string out;
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
    return out;
}

std::size_t wellFormedLength(std::string_view s, std::size_t pos) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const auto cont = [&](std::size_t i) { return pos + i < s.size() && (at(i) & 0xC0) == 0x80; };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return cont(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if ((lead == 0xE0 && at(1) < 0xA0) || (lead == 0xED && at(1) >= 0xA0)) return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if ((lead == 0xF0 && at(1) < 0x90) || (lead == 0xF4 && at(1) >= 0x90)) return 0;
        return 4;
    }
    return 0;
}

// The byte 0x80..0xFF that U+10FF80..U+10FFFF at pos carries, or -1.
int preservedByteAt(std::string_view s, std::size_t pos) {
    if (s.size() - pos < 4 || s.substr(pos, 2) != "\xF4\x8F") return -1;
    const auto b2 = static_cast<unsigned char>(s[pos + 2]);
    const auto b3 = static_cast<unsigned char>(s[pos + 3]);
    if ((b2 != 0xBE && b2 != 0xBF) || (b3 & 0xC0) != 0x80) return -1;
    return ((b2 & 0x3F) << 6 | (b3 & 0x3F)) - 0xF00;
}

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// The conversions by iconv alone, a run of characters per call, as they were done before
// there were tables.
class IconvReference {
  public:
    std::string gbkToUtf8(std::string_view gbk, InvalidBytes invalid) {
        std::string out;
        std::size_t i = 0;
        while (i < gbk.size()) {
            std::size_t end = i;
            while (end < gbk.size() && isAscii(gbk[end])) ++end;
            out.append(gbk.substr(i, end - i));
            i = end;
            while (end < gbk.size() && !isAscii(gbk[end])) end += charLengthAt(gbk, end);
            while (i < end) {
                i += toUtf8_.append(gbk.data() + i, end - i, out);
                if (i >= end) break;
                const auto byte = static_cast<unsigned char>(gbk[i]);
                out += invalid == InvalidBytes::Preserve ? utf8Of(kPreservedBase + byte)
                                                         : std::string(1, gbk[i]);
                ++i;
            }
        }
        return out;
    }

    std::string utf8ToGbk(std::string_view utf8) {
        std::string out;
        std::size_t i = 0;
        while (i < utf8.size()) {
            if (isAscii(utf8[i])) {
                out += utf8[i++];
                continue;
            }
            if (const int byte = preservedByteAt(utf8, i); byte >= 0) {
                out += static_cast<char>(byte);
                i += 4;
                continue;
            }
            std::size_t end = i;
            while (end < utf8.size() && !isAscii(utf8[end]) && preservedByteAt(utf8, end) < 0) {
                const std::size_t length = wellFormedLength(utf8, end);
                if (length == 0) break;
                end += length;
            }
            if (end == i) {
                out += utf8[i++];
                continue;
            }
            const std::size_t used = toGbk_.append(utf8.data() + i, end - i, out);
            out.append(utf8.substr(i + used, end - i - used));
            i = end;
        }
        return out;
    }

    std::optional<std::string> strictToUtf8(std::string_view gbk) { return strict(toUtf8_, gbk); }
    std::optional<std::string> strictToGbk(std::string_view utf8) { return strict(toGbk_, utf8); }

  private:
    static std::optional<std::string> strict(IconvConverter& converter, std::string_view in) {
        std::string out;
        if (converter.append(in.data(), in.size(), out) != in.size()) return std::nullopt;
        return out;
    }

    IconvConverter toUtf8_{"UTF-8", "GB18030"};
    IconvConverter toGbk_{"GB18030", "UTF-8"};
};

std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
        out += ' ';
    }
    return out;
}

// Compares every conversion of GB18030 text, and the way back from its UTF-8.
void expectGbkLikeIconv(IconvReference& iconv, std::string_view gbk) {
    SCOPED_TRACE(hex(gbk));
    const std::string utf8 = gbkToUtf8(gbk);
    ASSERT_EQ(utf8, iconv.gbkToUtf8(gbk, InvalidBytes::Preserve));
    ASSERT_EQ(gbkToUtf8(gbk, InvalidBytes::Raw), iconv.gbkToUtf8(gbk, InvalidBytes::Raw));
    ASSERT_EQ(gb18030ToUtf8Strict(gbk), iconv.strictToUtf8(gbk));
    ASSERT_EQ(utf8ToGbk(utf8), iconv.utf8ToGbk(utf8));
}

void expectUtf8LikeIconv(IconvReference& iconv, std::string_view utf8) {
    SCOPED_TRACE(hex(utf8));
    ASSERT_EQ(utf8ToGbk(utf8), iconv.utf8ToGbk(utf8));
    ASSERT_EQ(utf8ToGb18030Strict(utf8), iconv.strictToGbk(utf8));
}

TEST(GbkTextAgainstIconv, EveryTwoByteCode) {
    IconvReference iconv;
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        std::string row;
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            row += code;
            // Alone (a lead cut off by the end), before ASCII, and between a two-byte and a
            // four-byte character.
            ASSERT_NO_FATAL_FAILURE(expectGbkLikeIconv(iconv, code));
            ASSERT_NO_FATAL_FAILURE(expectGbkLikeIconv(iconv, code + "A"));
            ASSERT_NO_FATAL_FAILURE(
                expectGbkLikeIconv(iconv, "\xD6\xD0" + code + "\x81\x30\x81\x30"));
        }
        // Back to back, where an invalid code shifts the pairing of all that follow.
        ASSERT_NO_FATAL_FAILURE(expectGbkLikeIconv(iconv, row));
    }
}

TEST(GbkTextAgainstIconv, EveryBmpCodePoint) {
    IconvReference iconv;
    std::string all;
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        const std::string utf8 = utf8Of(cp);
        all += utf8;
        ASSERT_NO_FATAL_FAILURE(expectUtf8LikeIconv(iconv, utf8));
        ASSERT_NO_FATAL_FAILURE(expectUtf8LikeIconv(iconv, "a" + utf8 + "\xE4\xB8\xAD"));
        // Cut off before its last byte.
        ASSERT_NO_FATAL_FAILURE(expectUtf8LikeIconv(iconv, utf8.substr(0, utf8.size() - 1)));
    }
    // Every one of them in one text, long enough to span many blocks.
    ASSERT_NO_FATAL_FAILURE(expectUtf8LikeIconv(iconv, all));
    const auto gbk = utf8ToGb18030Strict(all);
    EXPECT_FALSE(gbk);  // the encoded surrogates are not UTF-8
}

TEST(GbkTextAgainstIconv, PreservedAndSupplementaryCodePoints) {
    IconvReference iconv;
    for (char32_t cp = 0x10FE00; cp <= 0x10FFFF; ++cp) {
        ASSERT_NO_FATAL_FAILURE(expectUtf8LikeIconv(iconv, "x" + utf8Of(cp) + "\xC2\xB7"));
    }
    for (char32_t cp = 0x10000; cp <= 0x10FFFF; cp += 0x3FF) {
        ASSERT_NO_FATAL_FAILURE(expectUtf8LikeIconv(iconv, utf8Of(cp) + utf8Of(cp + 1)));
    }
}

// Random GB18030-like text: ASCII (digits often, as they follow four-byte leads), two-byte
// codes, four-byte sequences in and out of the valid ranges, and stray high bytes.
std::string randomGbk(std::mt19937& random, std::size_t pieces) {
    const auto byteIn = [&](unsigned low, unsigned high) {
        return static_cast<char>(std::uniform_int_distribution<unsigned>(low, high)(random));
    };
    std::string out;
    for (std::size_t i = 0; i < pieces; ++i) {
        switch (random() % 6) {
            case 0:
                out += byteIn(0x00, 0x7F);
                break;
            case 1:
                out += byteIn(0x30, 0x39);
                break;
            case 2:
                out += byteIn(0x81, 0xFE);
                out += byteIn(0x40, 0xFE);
                break;
            case 3:
                out += byteIn(0xB0, 0xF7);
                out += byteIn(0xA1, 0xFE);
                break;
            case 4:
                out += byteIn(0x81, 0xFE);
                out += byteIn(0x30, 0x39);
                out += byteIn(0x81, 0xFE);
                out += byteIn(0x30, 0x39);
                break;
            default:
                out += byteIn(0x80, 0xFF);
                break;
        }
    }
    return out;
}

// Random UTF-8-like text: characters of every length, preserved bytes, and broken sequences.
std::string randomUtf8(std::mt19937& random, std::size_t pieces) {
    const auto in = [&](unsigned low, unsigned high) {
        return std::uniform_int_distribution<unsigned>(low, high)(random);
    };
    std::string out;
    for (std::size_t i = 0; i < pieces; ++i) {
        switch (random() % 8) {
            case 0:
                out += static_cast<char>(in(0x00, 0x7F));
                break;
            case 1:
                out += utf8Of(in(0x80, 0x7FF));
                break;
            case 2:
            case 3:
                out += utf8Of(in(0x800, 0xFFFF));
                break;
            case 4:
                out += utf8Of(in(0x4E00, 0x9FA5));
                break;
            case 5:
                out += utf8Of(in(0x10000, 0x10FFFF));
                break;
            case 6:
                out += utf8Of(in(0x10FF00, 0x10FFFF));
                break;
            default:
                out += static_cast<char>(in(0x80, 0xFF));
                break;
        }
    }
    return out;
}

TEST(GbkTextAgainstIconv, RandomText) {
    IconvReference iconv;
    std::mt19937 gbkRandom(20240611);
    std::mt19937 utf8Random(7);
    for (int i = 0; i < 20000; ++i) {
        ASSERT_NO_FATAL_FAILURE(expectGbkLikeIconv(iconv, randomGbk(gbkRandom, gbkRandom() % 24)));
        ASSERT_NO_FATAL_FAILURE(
            expectUtf8LikeIconv(iconv, randomUtf8(utf8Random, utf8Random() % 16)));
    }
    // Long texts, across many blocks, cut off anywhere.
    for (int i = 0; i < 20; ++i) {
        const std::string gbk = randomGbk(gbkRandom, 5000);
        ASSERT_NO_FATAL_FAILURE(expectGbkLikeIconv(iconv, gbk.substr(0, gbkRandom() % gbk.size())));
        const std::string utf8 = randomUtf8(utf8Random, 5000);
        ASSERT_NO_FATAL_FAILURE(
            expectUtf8LikeIconv(iconv, utf8.substr(0, utf8Random() % utf8.size())));
    }
}

TEST(GbkTextAgainstIconv, MostlyValidTextStaysValid) {
    // The tables must cover the whole of ordinary text: valid input converts strictly, both
    // ways, to what iconv gives.
    IconvReference iconv;
    std::mt19937 random(99);
    std::string utf8;
    for (int i = 0; i < 50000; ++i) utf8 += utf8Of(0x4E00 + random() % 0x51A6);
    const auto gbk = utf8ToGb18030Strict(utf8);
    ASSERT_TRUE(gbk);
    EXPECT_EQ(gbk, iconv.strictToGbk(utf8));
    EXPECT_EQ(gb18030ToUtf8Strict(*gbk), utf8);
}

}  // namespace
}  // namespace yelian
