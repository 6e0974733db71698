// Reading article files and downloaded pages of any supported encoding into internal text,
// and writing internal text out in a chosen encoding. Reading detects the encoding (byte-order
// mark, then the page's meta charset declaration, then a UTF-8 check) and undoes gzip.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/event_hook.h"
#include "support/file_env.h"

namespace yelian {

// The values are the item indexes of the input and output encoding combo boxes; Big5-HKSCS is
// not in the lists and only comes out of detection.
enum class TextEncoding {
    Auto = 0,
    Gbk = 1,
    Utf8 = 2,
    Utf16Le = 3,
    Utf16Be = 4,
    Big5 = 5,
    Big5Hkscs = 6
};

struct TextReadResult {
    // Internal (GBK) text.
    std::string text;
    // The encoding the text was read as, Gbk..Big5Hkscs; Auto when the source was unreadable,
    // so that the caller keeps its previous value.
    TextEncoding encoding = TextEncoding::Auto;
    bool readable = false;
    // Why an unreadable source could not be read (GBK, for the user); empty when readable.
    std::string problem;
};

// Reads the file at a GBK path as text of the requested encoding (Auto: detect it). A folder,
// a FIFO or device, a file larger than kMaxArticleSize, a name with two spellings on disk or a
// file that cannot be read gives an unreadable result with empty text and its problem. Bytes that
// are not valid in the chosen encoding are taken as they are, as GBK.
TextReadResult readTextFile(std::string_view gbkPath, TextEncoding requested,
                            const ProcessEvents& processEvents = {});
// The same through another file system.
TextReadResult readTextFile(FileEnv& files, std::string_view gbkPath, TextEncoding requested,
                            const ProcessEvents& processEvents = {});

// The same for bytes already in memory (a downloaded page); readable unless they are a gzip
// stream that inflates past kMaxArticleSize.
TextReadResult readTextBytes(std::string_view bytes, TextEncoding requested,
                             const ProcessEvents& processEvents = {});

struct TextWriteResult {
    // True only when the bytes reached the file.
    bool written = false;
    // The bytes produced for the encoding, byte-order mark included.
    std::string bytes;
};

// Converts internal text into the encoding, putting the byte-order mark in front for UTF-8 and
// UTF-16, and writes it to the file at the GBK path, creating or replacing it. An empty path
// only produces the bytes. Text the target encoding cannot express is written as GBK bytes
// without a mark. Auto writes GBK: the caller resolves it to the detected input encoding.
TextWriteResult writeTextFile(std::string_view gbkPath, std::string_view text,
                              TextEncoding encoding);
// The same through another file system.
TextWriteResult writeTextFile(FileEnv& files, std::string_view gbkPath, std::string_view text,
                              TextEncoding encoding);

// A text converted once for many files that all contain it (the bar every list page
// carries), or nothing when its converted bytes cannot simply be put between the converted
// texts around it: for GBK and Auto (nothing to convert), for Big5-HKSCS (whose conversion
// joins a character with a combining mark that follows it) and when the text does not convert.
std::optional<std::string> encodeForSplicing(std::string_view text, TextEncoding encoding);

// writeTextFile of before + middle + after, where middleBytes is encodeForSplicing(middle,
// encoding): the same bytes, without converting middle again.
TextWriteResult writeSplicedTextFile(std::string_view gbkPath, std::string_view before,
                                     std::string_view middle, std::string_view middleBytes,
                                     std::string_view after, TextEncoding encoding);
TextWriteResult writeSplicedTextFile(FileEnv& files, std::string_view gbkPath,
                                     std::string_view before, std::string_view middle,
                                     std::string_view middleBytes, std::string_view after,
                                     TextEncoding encoding);

// The charset a page declares in its meta tags: 0 none (or one not recognised, such as gb2312),
// 1 UTF-8, 2 Big5, 3 Big5-HKSCS.
int detectMetaCharset(std::string_view text);

// True when the bytes are UTF-8 with at least one multi-byte character; pure ASCII is not
// taken for UTF-8. Calls processEvents (when set) about every 64 KiB.
bool looksLikeUtf8(std::string_view bytes, const ProcessEvents& processEvents = {});

// Converts bytes between two iconv charsets ("GB18030", "UTF-8", "UTF-16LE", "UTF-16BE",
// "BIG5", "BIG5-HKSCS"). The result carries no byte-order mark. Empty when the conversion
// fails: an unknown charset, a byte sequence that is invalid or cut off, or a character the
// target charset lacks.
std::string convertCharset(std::string_view bytes, const char* from, const char* to);

// The most bytes a gzip stream may decompress to; beyond it the stream is not undone.
inline constexpr std::size_t kMaxGunzipSize = std::size_t{512} << 20;

// Decompresses a gzip stream (several members back to back are one stream; bytes after the
// last member are ignored, as gzip does). Nothing when the bytes are not a complete, intact
// gzip stream or would decompress to more than maxSize bytes.
std::optional<std::string> gunzipBytes(std::string_view bytes,
                                       std::size_t maxSize = kMaxGunzipSize);
// gunzipBytes that also says, with tooLarge, when the stream was refused for its size.
std::optional<std::string> inflateGzip(std::string_view bytes, std::size_t maxSize, bool& tooLarge);

}  // namespace yelian
