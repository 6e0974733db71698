// Conversions between the internal GB18030 text and UTF-8. iconv decides every answer; the
// two-byte codes, which make up nearly all Chinese text, go through tables of iconv's answers
// asked once per process, and everything else goes to iconv as it comes.
#include "support/gbk_text.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "support/iconv_converter.h"

namespace yelian {
namespace {

// Bytes that are not valid GB18030 travel as U+10FF80..U+10FFFF (plane 16 private use).
constexpr char32_t kPreservedBase = 0x10FF00;
constexpr const char* kGb18030 = "GB18030";
constexpr const char* kUtf8 = "UTF-8";

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
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

// The code point of the two- or three-byte UTF-8 sequence at in.
char32_t codePointOf(const unsigned char* in, std::size_t length) {
    return length == 2 ? (in[0] & 0x1Fu) << 6 | (in[1] & 0x3Fu)
                       : (in[0] & 0x0Fu) << 12 | (in[1] & 0x3Fu) << 6 | (in[2] & 0x3Fu);
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

// Two-byte codes have a lead byte of 0x81..0xFE and a trail byte of 0x40..0xFE. The table of
// them has rows for leads 0x80..0xFF and 0xC0 columns for trails 0x40..0xFF, so that only the
// trail needs a range check and the rows of Chinese text stay close together in the cache.
constexpr std::size_t kTrailColumns = 0xC0;

std::size_t twoByteIndex(unsigned lead, unsigned trailColumn) {
    return (lead - 0x80) * kTrailColumns + trailColumn;
}

// iconv's answers for the two-byte GB18030 codes, both ways.
struct TwoByteTables {
    // The UTF-8 of each two-byte code at twoByteIndex(), padded with zero bytes; all zero
    // where iconv does not turn the code alone into one BMP character beyond ASCII (four-byte
    // lead-ins, invalid codes, the few codes of characters beyond the BMP).
    std::array<std::array<char, 4>, 0x80 * kTrailColumns> utf8{};
    // The two-byte code of each BMP code point; zero where iconv gives none (ASCII, code
    // points with four-byte codes, surrogates).
    std::array<std::array<char, 2>, 0x10000> gbk{};
};

// Asks iconv about each of many short inputs in a few calls. Each input ends with '\n', which
// appears nowhere else in them and converts to '\n' in both charsets, so the output splits
// at '\n' into the answers. onAnswer(index, answer) sees each input that iconv converts; one
// that it refuses is skipped.
template <typename OnAnswer>
void askIconvEach(const char* to, const char* from, std::string_view inputs, OnAnswer onAnswer) {
    // Each refused input starts a new call, so the calls take a few KB at a time.
    constexpr std::size_t kChunk = 4096;
    IconvConverter converter(to, from);
    if (!converter.ready() || inputs.empty()) return;
    std::string out;
    std::size_t index = 0;
    std::size_t pos = 0;
    while (pos < inputs.size()) {
        const std::size_t chunkEnd =
            inputs.find('\n', std::min(pos + kChunk, inputs.size() - 1)) + 1;
        out.clear();
        pos += converter.append(inputs.data() + pos, chunkEnd - pos, out);
        std::size_t start = 0;
        for (std::size_t end = 0; end < out.size(); ++end) {
            if (out[end] != '\n') continue;
            onAnswer(index++, std::string_view(out).substr(start, end - start));
            start = end + 1;
        }
        if (pos < chunkEnd) {
            pos = inputs.find('\n', pos) + 1;
            ++index;
        }
    }
}

std::unique_ptr<const TwoByteTables> askTwoByteTables() {
    auto tables = std::make_unique<TwoByteTables>();
    std::vector<std::uint16_t> codes;
    std::string inputs(4 * 0x10000, '\0');
    std::size_t size = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            codes.push_back(static_cast<std::uint16_t>(lead << 8 | trail));
            inputs[size++] = static_cast<char>(lead);
            inputs[size++] = static_cast<char>(trail);
            inputs[size++] = '\n';
        }
    }
    inputs.resize(size);
    askIconvEach(kUtf8, kGb18030, inputs, [&](std::size_t index, std::string_view answer) {
        // The fast path tells the length from the first byte.
        const auto lead = static_cast<unsigned char>(answer.empty() ? 0 : answer[0]);
        if ((answer.size() == 2 && lead >= 0xC2 && lead <= 0xDF) ||
            (answer.size() == 3 && lead >= 0xE0 && lead <= 0xEF)) {
            const unsigned column = (codes[index] & 0xFFu) - 0x40;
            std::memcpy(tables->utf8[twoByteIndex(codes[index] >> 8, column)].data(), answer.data(),
                        answer.size());
        }
    });
    std::vector<char32_t> codePoints;
    inputs.resize(4 * 0x10000);
    size = 0;
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        codePoints.push_back(cp);
        if (cp < 0x800) {
            inputs[size++] = static_cast<char>(0xC0 | cp >> 6);
        } else {
            inputs[size++] = static_cast<char>(0xE0 | cp >> 12);
            inputs[size++] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        }
        inputs[size++] = static_cast<char>(0x80 | (cp & 0x3F));
        inputs[size++] = '\n';
    }
    inputs.resize(size);
    askIconvEach(kGb18030, kUtf8, inputs, [&](std::size_t index, std::string_view answer) {
        if (answer.size() == 2 && answer[0] != 0) {
            std::memcpy(tables->gbk[codePoints[index]].data(), answer.data(), 2);
        }
    });
    return tables;
}

// Built on first use; immutable after.
const TwoByteTables& twoByteTables() {
    static const std::unique_ptr<const TwoByteTables> tables = askTwoByteTables();
    return *tables;
}

// The loops below work in blocks, with room made for a whole block at a time.
constexpr std::size_t kBlock = 4096;

// The result of a conversion, written through a raw cursor into room made ahead, so that the
// loops over each character do not grow a string byte by byte.
class Output {
  public:
    // roomNeeded: the most room the conversion asks for when nothing unusual comes up.
    explicit Output(std::size_t roomNeeded) { text_.resize(roomNeeded); }

    // Where the next bytes go, with room for at least n of them.
    char* room(std::size_t n) {
        if (text_.size() - used_ < n) text_.resize(std::max(text_.size() * 2, used_ + n));
        return text_.data() + used_;
    }
    // The bytes up to cursor are written.
    void advanceTo(const char* cursor) { used_ = static_cast<std::size_t>(cursor - text_.data()); }

    void put(std::string_view bytes) {
        std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    void put(char byte) { put(std::string_view(&byte, 1)); }

    // Converts with iconv and puts what it gives; returns how many bytes of in it took.
    std::size_t putConverted(IconvConverter& converter, std::string_view in) {
        // Through a scratch string: iconv appending to text_ would cut off the room made ahead,
        // and making it again each time would clear the whole text over and over.
        scratch_.clear();
        const std::size_t consumed = converter.append(in.data(), in.size(), scratch_);
        put(scratch_);
        return consumed;
    }

    std::string take() && {
        text_.resize(used_);
        return std::move(text_);
    }

  private:
    std::string text_;
    std::size_t used_ = 0;
    std::string scratch_;
};

// Copies the ASCII bytes at the front of in[0, size) to out, eight at a time; returns how many.
std::size_t copyAscii(const unsigned char* in, std::size_t size, char* out) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t done = 0;
    std::uint64_t word;
    while (done + 8 <= size) {
        std::memcpy(&word, in + done, 8);
        if (word & kHighBits) break;
        std::memcpy(out + done, &word, 8);
        done += 8;
    }
    while (done < size && in[done] < 0x80) {
        out[done] = static_cast<char>(in[done]);
        ++done;
    }
    return done;
}

// Output for the UTF-8 of GB18030 text: at most three bytes for two, plus what the room for the
// last block asks beyond that.
Output utf8OutputFor(std::string_view gbk) {
    return Output(gbk.size() + gbk.size() / 2 + std::min(gbk.size(), kBlock) / 2 + 16);
}

// Output for the GB18030 of UTF-8 text: never more bytes than it has.
Output gbkOutputFor(std::string_view utf8) {
    return Output(utf8.size() + 16);
}

// Converts GB18030 ASCII and the two-byte codes the table knows, from pos on, stopping at end
// or at the first character that is neither; returns where it stopped.
std::size_t convertKnownGbk(std::string_view gbk, std::size_t pos, const TwoByteTables& tables,
                            Output& out) {
    const unsigned char* in = bytesOf(gbk);
    const std::size_t end = gbk.size();
    while (pos < end) {
        const std::size_t blockEnd = std::min(end, pos + kBlock);
        // Two bytes give at most three; a code finishing past the block needs a few more.
        char* cursor = out.room(2 * (blockEnd - pos) + 8);
        while (pos < blockEnd) {
            const unsigned char lead = in[pos];
            if (lead < 0x80) {
                const std::size_t copied = copyAscii(in + pos, blockEnd - pos, cursor);
                cursor += copied;
                pos += copied;
                continue;
            }
            if (pos + 1 >= end) break;
            const unsigned trailColumn = in[pos + 1] - 0x40u;
            if (trailColumn >= kTrailColumns) break;
            const std::array<char, 4>& utf8 = tables.utf8[twoByteIndex(lead, trailColumn)];
            if (utf8[0] == 0) break;
            std::memcpy(cursor, utf8.data(), 4);
            cursor += static_cast<unsigned char>(utf8[0]) >= 0xE0 ? 3 : 2;
            pos += 2;
        }
        out.advanceTo(cursor);
        if (pos < blockEnd) break;
    }
    return pos;
}

// Converts all of gbk from pos on as one iconv call over it would, character for character:
// where iconv stops at a byte, invalid says what becomes of it; without it the conversion
// fails (returns false).
bool convertGbk(std::string_view gbk, std::size_t pos, std::optional<InvalidBytes> invalid,
                const TwoByteTables& tables, IconvConverter& converter, Output& out) {
    for (;;) {
        pos = convertKnownGbk(gbk, pos, tables, out);
        if (pos >= gbk.size()) return true;
        // Four-byte codes go to iconv together; anything else on its own, with the bytes
        // iconv may need to decide on it.
        std::size_t pieceEnd = pos;
        while (isFourByteSequenceAt(gbk, pieceEnd)) pieceEnd += 4;
        if (pieceEnd == pos) pieceEnd = std::min(pos + 4, gbk.size());
        const std::size_t used = out.putConverted(converter, gbk.substr(pos, pieceEnd - pos));
        if (used > 0) {
            pos += used;
            continue;
        }
        if (!invalid) return false;
        if (*invalid == InvalidBytes::Preserve) {
            std::string preserved;
            appendUtf8(preserved, kPreservedBase + static_cast<unsigned char>(gbk[pos]));
            out.put(preserved);
        } else {
            out.put(gbk[pos]);
        }
        ++pos;
    }
}

// Converts UTF-8 ASCII and the characters the table has a two-byte code for, from pos on,
// stopping at the end or at the first character that is neither; returns where it stopped.
std::size_t convertKnownUtf8(std::string_view utf8, std::size_t pos, const TwoByteTables& tables,
                             Output& out) {
    const unsigned char* in = bytesOf(utf8);
    const std::size_t end = utf8.size();
    while (pos < end) {
        const std::size_t blockEnd = std::min(end, pos + kBlock);
        // No character gives more bytes than it has.
        char* cursor = out.room(blockEnd - pos + 8);
        while (pos < blockEnd) {
            const unsigned char lead = in[pos];
            if (lead < 0x80) {
                const std::size_t copied = copyAscii(in + pos, blockEnd - pos, cursor);
                cursor += copied;
                pos += copied;
                continue;
            }
            std::size_t length;
            if (lead >= 0xE0 && lead <= 0xEF) {
                // Overlong forms give code points below 0x800, and surrogates have no code.
                if (end - pos < 3 || (in[pos + 1] & 0xC0) != 0x80 || (in[pos + 2] & 0xC0) != 0x80 ||
                    (lead == 0xE0 && in[pos + 1] < 0xA0)) {
                    break;
                }
                length = 3;
            } else if (lead >= 0xC2 && lead <= 0xDF) {
                if (end - pos < 2 || (in[pos + 1] & 0xC0) != 0x80) break;
                length = 2;
            } else {
                break;
            }
            const std::array<char, 2>& code = tables.gbk[codePointOf(in + pos, length)];
            if (code[0] == 0) break;
            std::memcpy(cursor, code.data(), 2);
            cursor += 2;
            pos += length;
        }
        out.advanceTo(cursor);
        if (pos < blockEnd) break;
    }
    return pos;
}

// Length of the well-formed non-ASCII character at pos that the table has no code for; 0
// for any other.
std::size_t unknownCharacterAt(std::string_view utf8, std::size_t pos,
                               const TwoByteTables& tables) {
    if (isAscii(utf8[pos])) return 0;
    const std::size_t length = utf8SequenceLength(utf8, pos);
    if (length == 2 || length == 3) {
        return tables.gbk[codePointOf(bytesOf(utf8) + pos, length)][0] != 0 ? 0 : length;
    }
    return length;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk, InvalidBytes invalid) {
    const TwoByteTables& tables = twoByteTables();
    Output out = utf8OutputFor(gbk);
    IconvConverter converter(kUtf8, kGb18030);
    std::size_t pos = 0;
    while (pos < gbk.size()) {
        pos = convertKnownGbk(gbk, pos, tables, out);
        if (pos >= gbk.size()) break;
        // The non-ASCII characters up to the next ASCII byte go to iconv as one piece, so that
        // a lead byte before that ASCII byte counts as cut off rather than taking it as trail.
        std::size_t end = pos;
        while (end < gbk.size() && !isAscii(gbk[end])) end += charLengthAt(gbk, end);
        convertGbk(gbk.substr(0, end), pos, invalid, tables, converter, out);
        pos = end;
    }
    return std::move(out).take();
}

std::optional<std::string> gb18030ToUtf8Strict(std::string_view gb18030) {
    Output out = utf8OutputFor(gb18030);
    IconvConverter converter(kUtf8, kGb18030);
    if (!convertGbk(gb18030, 0, std::nullopt, twoByteTables(), converter, out)) return {};
    return std::move(out).take();
}

std::string utf8ToGbk(std::string_view utf8) {
    const TwoByteTables& tables = twoByteTables();
    Output out = gbkOutputFor(utf8);
    IconvConverter converter(kGb18030, kUtf8);
    // A run of well-formed characters that iconv cannot convert is kept as bytes from the
    // character it stops at up to the end of the run.
    const auto runEnd = [&](std::size_t pos) {
        while (pos < utf8.size() && !isAscii(utf8[pos]) && preservedByteAt(utf8, pos) < 0) {
            const std::size_t length = utf8SequenceLength(utf8, pos);
            if (length == 0) break;
            pos += length;
        }
        return pos;
    };
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        pos = convertKnownUtf8(utf8, pos, tables, out);
        if (pos >= utf8.size()) break;
        if (const int byte = preservedByteAt(utf8, pos); byte >= 0x80) {
            out.put(static_cast<char>(byte));
            pos += 4;
            continue;
        }
        std::size_t end = pos;
        while (end < utf8.size() && preservedByteAt(utf8, end) < 0) {
            const std::size_t length = unknownCharacterAt(utf8, end, tables);
            if (length == 0) break;
            end += length;
        }
        if (end == pos) {
            out.put(utf8[pos++]);
            continue;
        }
        const std::size_t used = out.putConverted(converter, utf8.substr(pos, end - pos));
        if (used < end - pos) {
            const std::size_t stop = pos + used;
            end = runEnd(stop);
            out.put(utf8.substr(stop, end - stop));
        }
        pos = end;
    }
    return std::move(out).take();
}

std::optional<std::string> utf8ToGb18030Strict(std::string_view utf8) {
    const TwoByteTables& tables = twoByteTables();
    Output out = gbkOutputFor(utf8);
    IconvConverter converter(kGb18030, kUtf8);
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        pos = convertKnownUtf8(utf8, pos, tables, out);
        if (pos >= utf8.size()) break;
        std::size_t end = pos;
        while (end < utf8.size()) {
            const std::size_t length = unknownCharacterAt(utf8, end, tables);
            if (length == 0) break;
            end += length;
        }
        // Bytes that are not well-formed: iconv decides with the most it may need.
        if (end == pos) end = std::min(pos + 4, utf8.size());
        const std::size_t used = out.putConverted(converter, utf8.substr(pos, end - pos));
        if (used == 0) return {};
        pos += used;
    }
    return std::move(out).take();
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
