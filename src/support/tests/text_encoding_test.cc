#include "support/text_encoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/gbk_text.h"
#include "support/iconv_converter.h"
#include "support/native_path.h"
#include "support/posix_file.h"
#include "testing/gzip.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using testing::gzip;

using namespace yelian::literals;
using namespace std::string_literals;

// Traditional characters, so that every encoding (Big5 too) can express the text.
const std::string& sampleText() {
    return "<p>中文繁體 abc</p>"_gbk;
}

struct EncodingCase {
    TextEncoding encoding;
    std::string mark;
};

class TextEncodingRoundTrip : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(TextEncodingRoundTrip, WrittenFileReadsBackWithTheSameEncoding) {
    const auto& [encoding, mark] = GetParam();
    testing::TempDir dir;
    const std::string path = fromNativePath(dir.path()) + "/" + "文章.htm"_gbk;
    const auto written = writeTextFile(path, sampleText(), encoding);
    ASSERT_TRUE(written.written);
    EXPECT_TRUE(written.bytes.starts_with(mark));
    EXPECT_EQ(testing::readBytes(toNativePath(path)), written.bytes);
    if (encoding != TextEncoding::Gbk) {
        EXPECT_NE(written.bytes, sampleText());
    }

    const auto read = readTextFile(path, encoding);
    EXPECT_TRUE(read.readable);
    EXPECT_EQ(read.encoding, encoding);
    EXPECT_EQ(read.text, sampleText());
}

TEST_P(TextEncodingRoundTrip, BytesWithoutMarkReadWithTheEncoding) {
    const auto& [encoding, mark] = GetParam();
    const std::string bytes = writeTextFile("", sampleText(), encoding).bytes.substr(mark.size());
    // UTF-16 always drops two bytes, mark or not, so it needs two bytes in front.
    const bool utf16 = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
    const auto read = readTextBytes(utf16 ? "??" + bytes : bytes, encoding);
    EXPECT_EQ(read.encoding, encoding);
    EXPECT_EQ(read.text, sampleText());
}

INSTANTIATE_TEST_SUITE_P(AllEncodings, TextEncodingRoundTrip,
                         ::testing::Values(EncodingCase{TextEncoding::Gbk, ""},
                                           EncodingCase{TextEncoding::Utf8, "\xEF\xBB\xBF"},
                                           EncodingCase{TextEncoding::Utf16Le, "\xFF\xFE"},
                                           EncodingCase{TextEncoding::Utf16Be, "\xFE\xFF"},
                                           EncodingCase{TextEncoding::Big5, ""},
                                           EncodingCase{TextEncoding::Big5Hkscs, ""}));

TEST(ReadTextBytes, DetectsMarksMetaAndUtf8InThatOrder) {
    const std::string utf8 = gbkToUtf8(sampleText());
    const std::string big5 = "\xA4\xA4\xA4\xE5";  // 中文
    const std::string hkscs = "\x9D\xEE";         // a character Big5 lacks
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::string text;
    };
    const Case cases[] = {
        {"utf-8 mark", "\xEF\xBB\xBF" + utf8, TextEncoding::Utf8, sampleText()},
        {"utf-16le mark", writeTextFile("", sampleText(), TextEncoding::Utf16Le).bytes,
         TextEncoding::Utf16Le, sampleText()},
        {"utf-16be mark", writeTextFile("", sampleText(), TextEncoding::Utf16Be).bytes,
         TextEncoding::Utf16Be, sampleText()},
        {"mark before meta", "\xEF\xBB\xBF<meta charset=Big5>" + utf8, TextEncoding::Utf8,
         "<meta charset=Big5>" + sampleText()},
        {"meta utf-8 on ascii", "<meta charset=\"utf-8\">", TextEncoding::Utf8,
         "<meta charset=\"utf-8\">"},
        {"meta big5", "<meta content='text/html; charset=big5'>" + big5, TextEncoding::Big5,
         "<meta content='text/html; charset=big5'>" + "中文"_gbk},
        {"unquoted big5-hkscs is big5", "<meta charset=Big5-HKSCS>" + big5, TextEncoding::Big5,
         "<meta charset=Big5-HKSCS>" + "中文"_gbk},
        {"quoted big5-hkscs", "<meta charset=\"big5-hkscs\">" + hkscs, TextEncoding::Big5Hkscs,
         "<meta charset=\"big5-hkscs\">" + convertCharset(hkscs, "BIG5-HKSCS", "GB18030")},
        {"utf-8 by content", utf8, TextEncoding::Utf8, sampleText()},
        {"utf-8 by content beside gb2312", "<meta charset=gb2312>" + utf8, TextEncoding::Utf8,
         "<meta charset=gb2312>" + sampleText()},
        {"pure ascii", "<p>abc</p>", TextEncoding::Gbk, "<p>abc</p>"},
        {"gbk declaring gb2312", "<meta charset=gb2312>" + sampleText(), TextEncoding::Gbk,
         "<meta charset=gb2312>" + sampleText()},
        {"only a utf-8 mark", "\xEF\xBB\xBF", TextEncoding::Gbk, "\xEF\xBB\xBF"},
        {"empty", "", TextEncoding::Gbk, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = readTextBytes(c.bytes, TextEncoding::Auto);
        EXPECT_TRUE(read.readable);
        EXPECT_EQ(read.encoding, c.encoding);
        EXPECT_EQ(read.text, c.text);
    }
}

TEST(DetectMetaCharset, RecognisesUtf8AndBig5DeclarationsInTheHead) {
    struct Case {
        std::string text;
        int charset;
    };
    const Case cases[] = {
        {"<html>no meta at all</html>", 0},
        // A declaration that is not recognised does not end the walk.
        {"<meta charset=gb2312><meta charset=utf-8>", 1},
        {"<META HTTP-EQUIV=Content-Type CONTENT=\"text/html; CHARSET=UTF-8\">", 1},
        {"<meta name=keywords content=x><meta charset='big5'>", 2},
        {"<meta charset=\"Big5-HKSCS\">", 3},
        {"<HEAD><title>t</title></HEAD><body><meta charset=utf-8></body>", 0},
        {"<head></head><meta charset=utf-8>", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(detectMetaCharset(c.text), c.charset);
    }
}

TEST(ReadTextBytes, InvalidBytesForTheEncodingAreKeptAsGbk) {
    const std::string gbk = sampleText();
    const std::string utf8 = gbkToUtf8(gbk);
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding requested;
    };
    const Case cases[] = {
        {"gbk read as utf-8", gbk, TextEncoding::Utf8},
        {"utf-8 cut inside a character", utf8.substr(0, 5), TextEncoding::Utf8},
        {"odd length utf-16", "\xFF\xFE\x41\x00\x42", TextEncoding::Utf16Le},
        {"not a big5 lead byte", "\x81\x40", TextEncoding::Big5},
        {"meta declares utf-8 on gbk", "<meta charset=utf-8>" + gbk, TextEncoding::Auto},
        {"broken utf-8 after a mark", "\xEF\xBB\xBF\xE4\xB8", TextEncoding::Auto},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = readTextBytes(c.bytes, c.requested);
        EXPECT_EQ(read.encoding, TextEncoding::Gbk);
        EXPECT_EQ(read.text, c.bytes);
    }
}

TEST(ReadTextBytes, GzipIsUndoneBeforeDetection) {
    const std::string page = "\xEF\xBB\xBF" + gbkToUtf8(sampleText());
    const auto read = readTextBytes(gzip(page), TextEncoding::Auto);
    EXPECT_EQ(read.encoding, TextEncoding::Utf8);
    EXPECT_EQ(read.text, sampleText());
}

TEST(ReadTextBytes, GzipThatDoesNotInflateIsReadAsItIs) {
    const std::string good = gzip(sampleText());
    std::string corrupt = good;
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x55);
    std::string badChecksum = good;
    badChecksum[badChecksum.size() - 6] =
        static_cast<char>(badChecksum[badChecksum.size() - 6] ^ 1);
    const std::string inputs[] = {
        good.substr(0, good.size() - 3),  // cut off in the trailer
        good.substr(0, 12),               // cut off in the data
        corrupt,
        badChecksum,
        "\x1F\x8B",
        "\x1F\x8B\x08",
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(::testing::PrintToString(input));
        EXPECT_FALSE(gunzipBytes(input));
        const auto read = readTextBytes(input, TextEncoding::Auto);
        EXPECT_EQ(read.encoding, TextEncoding::Gbk);
        EXPECT_EQ(read.text, input);
    }
}

TEST(GunzipBytes, AcceptsEmptyContentMembersAndTrailingBytes) {
    EXPECT_EQ(gunzipBytes(gzip("")), "");
    EXPECT_EQ(readTextBytes(gzip(""), TextEncoding::Auto).text, "");
    EXPECT_EQ(gunzipBytes(gzip("ab") + gzip("cd")), "abcd");
    EXPECT_EQ(gunzipBytes(gzip("ab") + std::string(8, '\0')), "ab");
    // A second member that is broken spoils the whole stream.
    EXPECT_FALSE(gunzipBytes(gzip("ab") + gzip("cd").substr(0, 10)));
    EXPECT_FALSE(gunzipBytes(""));
    EXPECT_FALSE(gunzipBytes("plain text"));
}

TEST(GunzipBytes, RefusesOutputBeyondTheCap) {
    const std::string big(1 << 20, 'x');
    const std::string packed = gzip(big);
    EXPECT_EQ(gunzipBytes(packed, big.size()), big);
    EXPECT_FALSE(gunzipBytes(packed, big.size() - 1));
    EXPECT_FALSE(gunzipBytes(gzip("ab") + packed, big.size()));
}

TEST(GunzipBytes, AnArticleThatInflatesPastTheLimitIsRefusedNotTakenAsBytes) {
    // A few kilobytes that would become 65 MB: refused with its reason, never decoded as the
    // compressed bytes themselves.
    const std::string bomb = gzip(std::string(kMaxArticleSize + 1, 'a'));
    ASSERT_LT(bomb.size(), std::size_t{1} << 20);
    const TextReadResult read = readTextBytes(bomb, TextEncoding::Auto);
    EXPECT_FALSE(read.readable);
    EXPECT_EQ(read.text, "");
    EXPECT_EQ(gbkToUtf8(read.problem), "文件太大（解压后超过 64 MB）");
    bool tooLarge = false;
    EXPECT_FALSE(inflateGzip("\x1f\x8b broken", kMaxArticleSize, tooLarge));
    EXPECT_FALSE(tooLarge);
}

TEST(ReadTextFile, UnreadableSourcesGiveNoEncoding) {
    testing::TempDir dir;
    const std::string folder = fromNativePath(dir.path());
    for (const std::string& path : {folder, folder + "/missing.txt", std::string()}) {
        SCOPED_TRACE(path);
        const auto read = readTextFile(path, TextEncoding::Auto);
        EXPECT_FALSE(read.readable);
        EXPECT_EQ(read.encoding, TextEncoding::Auto);
        EXPECT_EQ(read.text, "");
    }
}

TEST(WriteTextFile, TextTheEncodingLacksIsWrittenAsGbkWithoutMark) {
    const std::string simplified = "简体"_gbk;
    EXPECT_EQ(writeTextFile("", simplified, TextEncoding::Big5).bytes, simplified);
    EXPECT_EQ(writeTextFile("", "\x81", TextEncoding::Utf8).bytes, "\x81");
    EXPECT_EQ(writeTextFile("", simplified, TextEncoding::Auto).bytes, simplified);
    EXPECT_EQ(writeTextFile("", "", TextEncoding::Utf8).bytes, "");
}

TEST(WriteTextFile, ReportsWhetherTheFileWasWritten) {
    testing::TempDir dir;
    const std::string folder = fromNativePath(dir.path());
    EXPECT_FALSE(writeTextFile("", "abc", TextEncoding::Gbk).written);
    EXPECT_FALSE(writeTextFile(folder, "abc", TextEncoding::Gbk).written);
    EXPECT_FALSE(writeTextFile(folder + "/no/such/folder.txt", "abc", TextEncoding::Gbk).written);
    const std::string path = folder + "/out.txt";
    dir.write("out.txt", "a much longer old content");
    EXPECT_TRUE(writeTextFile(path, "abc", TextEncoding::Gbk).written);
    EXPECT_EQ(testing::readBytes(toNativePath(path)), "abc");
}

TEST(WriteSplicedTextFile, GivesTheBytesOfTheWholeTextInEveryEncoding) {
    struct Parts {
        const char* what;
        std::string before;
        std::string middle;
        std::string after;
    };
    const std::string combining = utf8ToGbk("\u0304");  // joins with Ê in Big5-HKSCS
    const std::vector<Parts> cases = {
        {"plain", "<p>中文"_gbk, "繁體 abc"_gbk, "</p>"},
        {"empty", "", "", ""},
        {"empty ends", "", "繁體"_gbk, ""},
        {"simplified only", "这个"_gbk, "繁體"_gbk, "这个"_gbk},
        {"four-byte character", "\x81\x30\x81\x30", "a", "\x95\x32\x82\x36"},
        {"character cut by the splice", "abc\xD6", "\xD0xyz", "."},
        {"lead byte at the end", "a", "b", "c\xD6"},
        {"combining mark after the middle", "x", utf8ToGbk("Ê"), combining + "y"},
    };
    for (int e = 0; e <= static_cast<int>(TextEncoding::Big5Hkscs); ++e) {
        const auto encoding = static_cast<TextEncoding>(e);
        for (const Parts& parts : cases) {
            SCOPED_TRACE(std::string(parts.what) + " in encoding " + std::to_string(e));
            const std::optional<std::string> middleBytes =
                encodeForSplicing(parts.middle, encoding);
            const bool converts = encoding != TextEncoding::Auto && encoding != TextEncoding::Gbk &&
                                  encoding != TextEncoding::Big5Hkscs;
            if (!converts) {
                EXPECT_FALSE(middleBytes);
                continue;
            }
            if (!middleBytes) continue;  // the middle alone does not convert: nothing to splice
            const std::string whole = parts.before + parts.middle + parts.after;
            EXPECT_EQ(writeSplicedTextFile("", parts.before, parts.middle, *middleBytes,
                                           parts.after, encoding)
                          .bytes,
                      writeTextFile("", whole, encoding).bytes);
        }
    }
}

TEST(ConvertCharset, GivesNoMarkAndFailsOnAnyBadByte) {
    const std::string gbk = "中"_gbk;
    EXPECT_EQ(convertCharset(gbk, "GB18030", "UTF-16LE"), "\x2D\x4E");
    EXPECT_EQ(convertCharset(gbk, "GB18030", "UTF-16BE"), "\x4E\x2D");
    EXPECT_EQ(convertCharset(gbk, "GB18030", "UTF-8"), "\xE4\xB8\xAD");
    // Charsets that leave the byte order open make iconv add a mark; it is dropped.
    EXPECT_EQ(convertCharset(gbk, "GB18030", "UTF-16").size(), 2u);
    // An emoji is a four-byte GB18030 sequence.
    EXPECT_EQ(
        convertCharset(convertCharset("\xF0\x9F\x98\x80", "UTF-8", "GB18030"), "GB18030", "UTF-8"),
        "\xF0\x9F\x98\x80");
    EXPECT_EQ(convertCharset("a\xE4\xB8", "UTF-8", "GB18030"), "");
    EXPECT_EQ(convertCharset("a\xFF\x62", "UTF-8", "GB18030"), "");
    EXPECT_EQ(convertCharset("abc", "NO-SUCH-CHARSET", "UTF-8"), "");
    EXPECT_EQ(convertCharset("", "UTF-8", "GB18030"), "");
}

TEST(ConvertCharset, Gb18030AndUtf8GiveWhatIconvGives) {
    // These two pairs do not ask iconv each time; whatever the spelling of the names, the
    // bytes and the failures must be iconv's own.
    const auto iconvAlone = [](std::string_view in, const char* from, const char* to) {
        IconvConverter converter(to, from);
        std::string out;
        return converter.append(in.data(), in.size(), out) == in.size() ? out : std::string();
    };
    const std::string gbk = "<p>" + "中文，全角ＡＢ"_gbk + "\x94\x39\xFC\x36\xA1\xA1\r\n";
    const std::string utf8 = iconvAlone(gbk, "GB18030", "UTF-8");
    ASSERT_FALSE(utf8.empty());
    for (const auto& [gbkName, utf8Name] : {std::pair{"GB18030", "UTF-8"}, {"gb18030", "utf-8"}}) {
        EXPECT_EQ(convertCharset(gbk, gbkName, utf8Name), utf8);
        EXPECT_EQ(convertCharset(utf8, utf8Name, gbkName), gbk);
    }
    for (const std::string& bad : {gbk + "\x81", gbk + "\x81\x30", "\xFF" + gbk, gbk + "\x80"}) {
        EXPECT_EQ(convertCharset(bad, "GB18030", "UTF-8"), iconvAlone(bad, "GB18030", "UTF-8"));
    }
    for (const std::string& bad : {utf8 + "\xE4", "\xC0\xAF" + utf8, utf8 + "\xED\xA0\x80"}) {
        EXPECT_EQ(convertCharset(bad, "UTF-8", "GB18030"), "");
    }
}

TEST(LooksLikeUtf8, AcceptsWellFormedMultiByteTextOnly) {
    struct Case {
        std::string bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"", false},
        {"plain ascii text, long enough for whole words", false},
        {"caf\xC3\xA9", true},
        {std::string(100, 'a') + "\xE4\xB8\xAD" + std::string(100, 'b'), true},
        {"emoji \xF0\x9F\x98\x80", true},
        {"cut \xE4\xB8", false},
        {"lone \x80 continuation", false},
        {"\xE4\x41\xAD", false},
        {"\xF8\x88\x80\x80\x80", false},
        {sampleText(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        EXPECT_EQ(looksLikeUtf8(c.bytes), c.utf8);
    }
}

TEST(LooksLikeUtf8, FindsFaultsAtEveryAlignmentAndAcrossBlocks) {
    // The fault must be found whatever its place in an eight-byte word and at the edge of
    // the 64 KiB blocks between event calls.
    for (std::size_t size : {std::size_t{9}, std::size_t{70000}}) {
        for (std::size_t at : {std::size_t{0}, std::size_t{3}, size - 1}) {
            std::string bytes(size, 'a');
            bytes[at] = '\x80';
            EXPECT_FALSE(looksLikeUtf8(bytes)) << size << " " << at;
        }
    }
    std::string ideographs;
    for (int i = 0; i < 20; ++i) ideographs += "\xE4\xB8\xAD";
    for (std::size_t at = 0; at < ideographs.size(); ++at) {
        for (char bad : {'a', '\xC0', '\xE4'}) {
            std::string bytes = ideographs;
            if (bytes[at] == bad) continue;
            bytes[at] = bad;
            EXPECT_FALSE(looksLikeUtf8(bytes)) << at << " " << int(bad);
        }
    }
    std::string straddling(65535, 'a');
    straddling += "\xE4\xB8\xAD";
    EXPECT_TRUE(looksLikeUtf8(straddling));
}

TEST(LooksLikeUtf8, CallsTheEventHookPerBlockNotPerByte) {
    int calls = 0;
    const ProcessEvents count = [&calls] { ++calls; };
    EXPECT_TRUE(looksLikeUtf8(std::string(200 * 1024, 'a') + "\xC3\xA9", count));
    EXPECT_EQ(calls, 3);
    calls = 0;
    readTextBytes(std::string(100, 'a'), TextEncoding::Auto, count);
    EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace yelian
