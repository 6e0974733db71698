// Speed of the UTF-8 check and of the charset conversions on 10 MB inputs, and of the
// conversions on a 4 KB article, where the cost of each call shows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "support/text_encoding.h"

namespace {

constexpr std::size_t kSize = 10 << 20;

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

// Mostly Chinese UTF-8: common ideographs with a little ASCII punctuation and line breaks.
const std::string& chineseUtf8() {
    static const std::string text = [] {
        std::string out;
        out.reserve(kSize + 16);
        std::uint32_t state = 12345;
        for (std::size_t i = 0; out.size() < kSize; ++i) {
            state = state * 1103515245 + 12345;
            appendUtf8(out, 0x4E00 + (state >> 8) % 0x51A6);
            if (i % 40 == 39) out += ", ";
            if (i % 400 == 399) out += "\r\n";
        }
        return out;
    }();
    return text;
}

// An HTML page as it is downloaded: mostly ASCII markup with Chinese text here and there.
const std::string& markupUtf8() {
    static const std::string text = [] {
        std::string out;
        out.reserve(kSize + 256);
        for (std::uint32_t i = 0; out.size() < kSize; ++i) {
            out += "<div class=\"article-item\"><a href=\"/news/2024/item.html\">";
            for (std::uint32_t k = 0; k < 10; ++k) appendUtf8(out, 0x4E00 + (i * 10 + k) % 0x51A6);
            out += "</a></div>\n";
        }
        return out;
    }();
    return text;
}

const std::string& chineseGb18030() {
    static const std::string text = yelian::convertCharset(chineseUtf8(), "UTF-8", "GB18030");
    return text;
}

// The first 4 KB of the Chinese text, cut before a character.
const std::string& articleUtf8() {
    static const std::string text = [] {
        const std::string& all = chineseUtf8();
        std::size_t cut = 4096;
        while ((static_cast<unsigned char>(all[cut]) & 0xC0) == 0x80) --cut;
        return all.substr(0, cut);
    }();
    return text;
}

const std::string& articleGb18030() {
    static const std::string text = yelian::convertCharset(articleUtf8(), "UTF-8", "GB18030");
    return text;
}

void runLooksLikeUtf8(benchmark::State& state, const std::string& input) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(yelian::looksLikeUtf8(input, [] {}));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_LooksLikeUtf8Chinese(benchmark::State& state) {
    runLooksLikeUtf8(state, chineseUtf8());
}
BENCHMARK(BM_LooksLikeUtf8Chinese)->Unit(benchmark::kMillisecond);

void BM_LooksLikeUtf8Markup(benchmark::State& state) {
    runLooksLikeUtf8(state, markupUtf8());
}
BENCHMARK(BM_LooksLikeUtf8Markup)->Unit(benchmark::kMillisecond);

void runConversion(benchmark::State& state, const std::string& input, const char* from,
                   const char* to) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(yelian::convertCharset(input, from, to));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_Gb18030ToUtf8(benchmark::State& state) {
    runConversion(state, chineseGb18030(), "GB18030", "UTF-8");
}
BENCHMARK(BM_Gb18030ToUtf8)->Unit(benchmark::kMillisecond);

void BM_Utf8ToGb18030(benchmark::State& state) {
    runConversion(state, chineseUtf8(), "UTF-8", "GB18030");
}
BENCHMARK(BM_Utf8ToGb18030)->Unit(benchmark::kMillisecond);

void BM_Gb18030ToUtf8Article(benchmark::State& state) {
    runConversion(state, articleGb18030(), "GB18030", "UTF-8");
}
BENCHMARK(BM_Gb18030ToUtf8Article)->Unit(benchmark::kMicrosecond);

void BM_Utf8ToGb18030Article(benchmark::State& state) {
    runConversion(state, articleUtf8(), "UTF-8", "GB18030");
}
BENCHMARK(BM_Utf8ToGb18030Article)->Unit(benchmark::kMicrosecond);

}  // namespace
