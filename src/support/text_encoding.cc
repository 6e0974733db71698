// Text encodings of article files and pages: detection, conversion through iconv, gzip
// through zlib.
#include "support/text_encoding.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "support/gbk_text.h"
#include "support/iconv_converter.h"
#include "support/native_path.h"
#include "support/posix_file.h"
#include "support/text_routines.h"

namespace yelian {
namespace {

using namespace yelian::literals;

constexpr std::string_view kGzipMagic = "\x1F\x8B";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr const char* kInternalCharset = "GB18030";
constexpr const char* kUtf8Charset = "UTF-8";

// The iconv name of an encoding that needs conversion; nullptr for Auto, GBK and values
// outside the list, whose bytes are used as they are.
const char* charsetNameOf(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf16Le:
            return "UTF-16LE";
        case TextEncoding::Utf16Be:
            return "UTF-16BE";
        case TextEncoding::Big5:
            return "BIG5";
        case TextEncoding::Big5Hkscs:
            return "BIG5-HKSCS";
        default:
            return nullptr;
    }
}

std::string_view markOf(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return kUtf8Mark;
        case TextEncoding::Utf16Le:
            return kUtf16LeMark;
        case TextEncoding::Utf16Be:
            return kUtf16BeMark;
        default:
            return {};
    }
}

// The bytes of the regular file at the GBK path, or why it cannot be read.
Expected<std::string> readFileAt(FileEnv& files, std::string_view gbkPath) {
    if (gbkPath.empty()) return Error{"文件不存在"_gbk};
    Expected<std::filesystem::path> native = toUnambiguousNativePath(gbkPath);
    if (!native) return native.error();
    return files.readFile(*native, kMaxArticleSize);
}

// Where the text of the source begins for the encoding, and the encoding it turns out to be
// (Auto stays Auto when neither a mark nor a meta declaration says anything).
struct TextStart {
    TextEncoding encoding;
    std::size_t offset;
};

TextStart findTextStart(std::string_view source, TextEncoding requested) {
    switch (requested) {
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            // The mark is assumed, not checked: the first two bytes go whatever they are.
            return {requested, std::min<std::size_t>(2, source.size())};
        case TextEncoding::Utf8:
            return {requested, source.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0};
        case TextEncoding::Auto:
            break;
        default:
            return {requested, 0};
    }
    if (source.starts_with(kUtf8Mark)) return {TextEncoding::Utf8, kUtf8Mark.size()};
    if (source.starts_with(kUtf16LeMark)) return {TextEncoding::Utf16Le, kUtf16LeMark.size()};
    if (source.starts_with(kUtf16BeMark)) return {TextEncoding::Utf16Be, kUtf16BeMark.size()};
    switch (detectMetaCharset(source)) {
        case 1:
            return {TextEncoding::Utf8, 0};
        case 2:
            return {TextEncoding::Big5, 0};
        case 3:
            return {TextEncoding::Big5Hkscs, 0};
        default:
            return {TextEncoding::Auto, 0};
    }
}

TextReadResult decodeSource(std::string_view source, TextEncoding requested,
                            const ProcessEvents& processEvents) {
    auto [encoding, offset] = findTextStart(source, requested);
    const std::string_view data = source.substr(offset);
    if (encoding == TextEncoding::Auto && looksLikeUtf8(data, processEvents)) {
        encoding = TextEncoding::Utf8;
    }
    TextReadResult result;
    result.readable = true;
    result.encoding = encoding;
    if (const char* charset = charsetNameOf(encoding); charset && !data.empty()) {
        result.text = convertCharset(data, charset, kInternalCharset);
    }
    if (result.text.empty()) {
        // Nothing converted (GBK, undetected, a failed conversion or nothing after a mark):
        // the whole source, marks included, is the text.
        result.text = std::string(source);
        result.encoding = TextEncoding::Gbk;
    }
    return result;
}

// Writes the bytes to the file at the GBK path, creating or replacing it; an empty path
// writes nothing. True only when the bytes reached the file.
bool writeBytes(FileEnv& files, std::string_view gbkPath, std::string_view bytes) {
    if (gbkPath.empty()) return false;
    return files.writeFile(toNativePath(gbkPath), bytes).hasValue();
}

// iconv takes charset names in any case; charset is given in upper case.
bool isCharset(const char* name, std::string_view charset) {
    const std::string_view given(name);
    return std::equal(
        given.begin(), given.end(), charset.begin(), charset.end(),
        [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

// The byte-order mark iconv puts in front when the target charset leaves the byte order open
// ("UTF-16", "UTF-32", "UCS-2", "UCS-4", "UNICODE"); zero for every other target.
std::size_t addedMarkLength(std::string_view to, std::string_view converted) {
    std::string name(to);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (name == "UTF-16" || name == "UCS-2" || name == "UNICODE") {
        return converted.starts_with(kUtf16LeMark) || converted.starts_with(kUtf16BeMark) ? 2 : 0;
    }
    if (name == "UTF-32" || name == "UCS-4") {
        using namespace std::string_view_literals;
        return converted.starts_with("\xFF\xFE\0\0"sv) || converted.starts_with("\0\0\xFE\xFF"sv)
                   ? 4
                   : 0;
    }
    return 0;
}

// Inflates one gzip member from the front of input into out. Returns the number of input bytes
// the member took, or nothing when it is cut off, corrupt or grows out beyond maxSize.
std::optional<std::size_t> inflateMember(z_stream& stream, std::string_view input,
                                         std::size_t maxSize, std::string& out, bool& tooLarge) {
    if (inflateReset(&stream) != Z_OK) return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = 0;
    // zlib counts in uInt; a larger input is fed in slices.
    std::size_t inputLeft = input.size();
    std::array<char, 1 << 16> chunk;
    for (;;) {
        if (stream.avail_in == 0) {
            const auto slice = std::min<std::size_t>(inputLeft, 1u << 30);
            stream.avail_in = static_cast<uInt>(slice);
            inputLeft -= slice;
        }
        stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
        stream.avail_out = static_cast<uInt>(chunk.size());
        const int status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = chunk.size() - stream.avail_out;
        if (produced > maxSize - out.size()) {
            tooLarge = true;
            return std::nullopt;
        }
        if (out.size() + produced > out.capacity()) {
            // Grow by doubling, but never reserve beyond the cap.
            out.reserve(std::min(maxSize, std::max(out.capacity() * 2, out.size() + produced)));
        }
        out.append(chunk.data(), produced);
        if (status == Z_STREAM_END) return input.size() - inputLeft - stream.avail_in;
        // Z_BUF_ERROR with no input left means the stream was cut off.
        if (status != Z_OK) return std::nullopt;
    }
}

// Skips ASCII eight bytes at a time (articles are mostly ASCII markup); returns the position
// of the first byte at or above 0x80, or a position at or beyond end.
std::size_t skipAscii(const unsigned char* p, std::size_t pos, std::size_t end) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::uint64_t word;
    while (pos + 8 <= end) {
        std::memcpy(&word, p + pos, 8);
        if (word & kHighBits) break;
        pos += 8;
    }
    while (pos < end && p[pos] < 0x80) ++pos;
    return pos;
}

// Skips pairs of well-formed three-byte characters (Chinese text is mostly those), checking
// six bytes with one mask; returns pos unchanged when no pair starts there. Reads up to eight
// bytes from each position, so it stops eight bytes before end.
std::size_t skipThreeByteRun(const unsigned char* p, std::size_t pos, std::size_t end) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kMask = 0xC0C0F0C0C0F0ULL;
        constexpr std::uint64_t kPattern = 0x8080E08080E0ULL;
        std::uint64_t word;
        while (pos + 8 <= end) {
            std::memcpy(&word, p + pos, 8);
            if ((word & kMask) != kPattern) break;
            pos += 6;
        }
    }
    return pos;
}

// The length of the UTF-8 sequence a byte begins; 0 when it cannot begin one.
std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    // Four-byte characters (emoji, rare ideographs) are UTF-8 too.
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

int detectMetaCharset(std::string_view text) {
    // Tried in this order, so an unquoted charset=Big5-HKSCS counts as Big5 (its prefix).
    constexpr std::string_view kDeclarations[] = {
        "charset=UTF-8[fg]charset=\"UTF-8\"[fg]charset='UTF-8'",
        "charset=Big5[fg]charset=\"Big5\"[fg]charset='Big5'",
        "charset=Big5-HKSCS[fg]charset=\"Big5-HKSCS\"[fg]charset='Big5-HKSCS'",
    };
    const std::string head = textBetween(text, "<head>", "</head>");
    const std::string_view scope = head.empty() ? text : std::string_view(head);
    int cursor = 0;
    for (;;) {
        const std::string meta = textBetweenNext(scope, "<meta", ">", cursor);
        if (meta.empty()) return 0;
        for (int i = 0; i < 3; ++i) {
            if (containsAlternatives(meta, kDeclarations[i], true)) return i + 1;
        }
    }
}

TextReadResult readTextFile(std::string_view gbkPath, TextEncoding requested,
                            const ProcessEvents& processEvents) {
    PosixFileEnv files;
    return readTextFile(files, gbkPath, requested, processEvents);
}

TextReadResult readTextFile(FileEnv& files, std::string_view gbkPath, TextEncoding requested,
                            const ProcessEvents& processEvents) {
    const auto bytes = readFileAt(files, gbkPath);
    if (!bytes) {
        TextReadResult unreadable;
        unreadable.problem = bytes.error().message;
        return unreadable;
    }
    return readTextBytes(*bytes, requested, processEvents);
}

TextReadResult readTextBytes(std::string_view bytes, TextEncoding requested,
                             const ProcessEvents& processEvents) {
    if (bytes.starts_with(kGzipMagic)) {
        // A stream that does not inflate cleanly is taken as ordinary bytes, so nothing is lost;
        // one that inflates past the size limit is refused, as a file that large would be.
        bool tooLarge = false;
        if (const auto inflated = inflateGzip(bytes, kMaxArticleSize, tooLarge)) {
            return decodeSource(*inflated, requested, processEvents);
        }
        if (tooLarge) {
            TextReadResult refused;
            refused.problem = "文件太大（解压后超过 64 MB）"_gbk;
            return refused;
        }
    }
    return decodeSource(bytes, requested, processEvents);
}

TextWriteResult writeTextFile(std::string_view gbkPath, std::string_view text,
                              TextEncoding encoding) {
    PosixFileEnv files;
    return writeTextFile(files, gbkPath, text, encoding);
}

TextWriteResult writeTextFile(FileEnv& files, std::string_view gbkPath, std::string_view text,
                              TextEncoding encoding) {
    TextWriteResult result;
    const char* charset = charsetNameOf(encoding);
    std::string converted;
    if (charset) converted = convertCharset(text, kInternalCharset, charset);
    if (converted.empty()) {
        result.bytes = std::string(text);
    } else {
        const std::string_view mark = markOf(encoding);
        result.bytes.reserve(mark.size() + converted.size());
        result.bytes.append(mark).append(converted);
    }
    result.written = writeBytes(files, gbkPath, result.bytes);
    return result;
}

std::optional<std::string> encodeForSplicing(std::string_view text, TextEncoding encoding) {
    // Conversions without state: a text that converts on its own ends on a whole character,
    // so its bytes are the same wherever it stands. Big5-HKSCS holds a character back to
    // join it with a combining mark that may follow.
    if (encoding == TextEncoding::Big5Hkscs) return std::nullopt;
    const char* charset = charsetNameOf(encoding);
    if (!charset) return std::nullopt;
    IconvConverter converter(charset, kInternalCharset);
    std::string converted;
    if (converter.append(text.data(), text.size(), converted) != text.size()) return std::nullopt;
    return converted;
}

TextWriteResult writeSplicedTextFile(std::string_view gbkPath, std::string_view before,
                                     std::string_view middle, std::string_view middleBytes,
                                     std::string_view after, TextEncoding encoding) {
    PosixFileEnv files;
    return writeSplicedTextFile(files, gbkPath, before, middle, middleBytes, after, encoding);
}

TextWriteResult writeSplicedTextFile(FileEnv& files, std::string_view gbkPath,
                                     std::string_view before, std::string_view middle,
                                     std::string_view middleBytes, std::string_view after,
                                     TextEncoding encoding) {
    const std::optional<std::string> head = encodeForSplicing(before, encoding);
    const std::optional<std::string> tail =
        head ? encodeForSplicing(after, encoding) : std::nullopt;
    // A part that does not convert makes the whole text fall back to GBK, and an empty text is
    // written without a mark: writeTextFile decides those cases on the whole text.
    if (!head || !tail || (before.empty() && middle.empty() && after.empty())) {
        std::string whole;
        whole.reserve(before.size() + middle.size() + after.size());
        whole.append(before).append(middle).append(after);
        return writeTextFile(files, gbkPath, whole, encoding);
    }
    TextWriteResult result;
    const std::string_view mark = markOf(encoding);
    result.bytes.reserve(mark.size() + head->size() + middleBytes.size() + tail->size());
    result.bytes.append(mark).append(*head).append(middleBytes).append(*tail);
    result.written = writeBytes(files, gbkPath, result.bytes);
    return result;
}

bool looksLikeUtf8(std::string_view bytes, const ProcessEvents& processEvents) {
    constexpr std::size_t kEventInterval = 1 << 16;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    bool multiByte = false;
    std::size_t pos = 0;
    while (pos < size) {
        if (pos != 0 && processEvents) processEvents();
        const std::size_t blockEnd = std::min(size, pos + kEventInterval);
        while (pos < blockEnd) {
            pos = skipAscii(p, pos, blockEnd);
            if (pos >= blockEnd) break;
            const std::size_t ideographs = skipThreeByteRun(p, pos, blockEnd);
            if (ideographs != pos) {
                multiByte = true;
                pos = ideographs;
                continue;
            }
            const std::size_t length = utf8SequenceLength(p[pos]);
            if (length == 0 || size - pos < length) return false;
            unsigned char continuationBits = 0;
            for (std::size_t k = 1; k < length; ++k) continuationBits |= p[pos + k] ^ 0x80;
            if (continuationBits & 0xC0) return false;
            multiByte = true;
            pos += length;
        }
    }
    return multiByte;
}

std::string convertCharset(std::string_view bytes, const char* from, const char* to) {
    // Every UTF-8 article and every file written as UTF-8 crosses between these two, so they
    // take the table-driven path, which gives iconv's answers without asking it each time.
    if (isCharset(from, kInternalCharset) && isCharset(to, kUtf8Charset)) {
        return gb18030ToUtf8Strict(bytes).value_or(std::string());
    }
    if (isCharset(from, kUtf8Charset) && isCharset(to, kInternalCharset)) {
        return utf8ToGb18030Strict(bytes).value_or(std::string());
    }
    IconvConverter converter(to, from);
    std::string converted;
    if (converter.append(bytes.data(), bytes.size(), converted) != bytes.size()) return {};
    converted.erase(0, addedMarkLength(to, converted));
    return converted;
}

std::optional<std::string> gunzipBytes(std::string_view bytes, std::size_t maxSize) {
    bool tooLarge = false;
    return inflateGzip(bytes, maxSize, tooLarge);
}

std::optional<std::string> inflateGzip(std::string_view bytes, std::size_t maxSize,
                                       bool& tooLarge) {
    if (!bytes.starts_with(kGzipMagic)) return std::nullopt;
    z_stream stream{};
    // 16 + the largest window: gzip framing only, header and CRC checked by zlib.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return std::nullopt;
    std::string out;
    std::optional<std::string> result;
    std::string_view rest = bytes;
    while (rest.starts_with(kGzipMagic)) {
        const auto used = inflateMember(stream, rest, maxSize, out, tooLarge);
        if (!used) break;
        rest.remove_prefix(*used);
        if (!rest.starts_with(kGzipMagic)) result = std::move(out);
    }
    inflateEnd(&stream);
    return result;
}

}  // namespace yelian
