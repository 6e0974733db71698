// Speed of the lossless GBK <-> UTF-8 conversions: on 10 MB of mostly Chinese text, on the same
// with a four-byte character (an emoji) every 50 characters, which goes the slow way, and on a
// typical 4 KB article, where the cost of each call shows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "support/gbk_text.h"

namespace {

constexpr std::size_t kLargeSize = 10 << 20;
constexpr std::size_t kArticleSize = 4 << 10;

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

// Common ideographs with a little ASCII punctuation and line breaks, and an emoji every
// emojiEvery characters when that is not 0.
std::string chineseUtf8(std::size_t size, std::size_t emojiEvery = 0) {
    std::string out;
    out.reserve(size + 16);
    std::uint32_t state = 12345;
    for (std::size_t i = 0; out.size() < size; ++i) {
        state = state * 1103515245 + 12345;
        appendUtf8(out, 0x4E00 + (state >> 8) % 0x51A6);
        if (i % 40 == 39) out += ", ";
        if (i % 400 == 399) out += "\r\n";
        if (emojiEvery != 0 && i % emojiEvery == 0) out += "\xF0\x9F\x98\x80";
    }
    return out;
}

// An article as the generator writes it: paragraphs of Chinese in light markup.
std::string articleUtf8() {
    std::string out;
    std::uint32_t state = 777;
    while (out.size() < kArticleSize) {
        out += "<p>";
        for (int i = 0; i < 60; ++i) {
            state = state * 1103515245 + 12345;
            appendUtf8(out, 0x4E00 + (state >> 8) % 0x51A6);
        }
        out += "</p>\r\n";
    }
    return out;
}

const std::string& largeUtf8() {
    static const std::string text = chineseUtf8(kLargeSize);
    return text;
}

const std::string& largeGbk() {
    static const std::string text = yelian::utf8ToGbk(largeUtf8());
    return text;
}

const std::string& mixedUtf8() {
    static const std::string text = chineseUtf8(kLargeSize, 50);
    return text;
}

const std::string& mixedGbk() {
    static const std::string text = yelian::utf8ToGbk(mixedUtf8());
    return text;
}

const std::string& smallUtf8() {
    static const std::string text = articleUtf8();
    return text;
}

const std::string& smallGbk() {
    static const std::string text = yelian::utf8ToGbk(smallUtf8());
    return text;
}

template <typename Convert>
void run(benchmark::State& state, const std::string& input, Convert convert) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(convert(input));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

std::string toUtf8(const std::string& gbk) {
    return yelian::gbkToUtf8(gbk);
}

std::string toGbk(const std::string& utf8) {
    return yelian::utf8ToGbk(utf8);
}

void BM_GbkToUtf8Chinese(benchmark::State& state) {
    run(state, largeGbk(), toUtf8);
}
BENCHMARK(BM_GbkToUtf8Chinese)->Unit(benchmark::kMillisecond);

void BM_Utf8ToGbkChinese(benchmark::State& state) {
    run(state, largeUtf8(), toGbk);
}
BENCHMARK(BM_Utf8ToGbkChinese)->Unit(benchmark::kMillisecond);

void BM_GbkToUtf8Mixed(benchmark::State& state) {
    run(state, mixedGbk(), toUtf8);
}
BENCHMARK(BM_GbkToUtf8Mixed)->Unit(benchmark::kMillisecond);

void BM_Utf8ToGbkMixed(benchmark::State& state) {
    run(state, mixedUtf8(), toGbk);
}
BENCHMARK(BM_Utf8ToGbkMixed)->Unit(benchmark::kMillisecond);

void BM_GbkToUtf8Article(benchmark::State& state) {
    run(state, smallGbk(), toUtf8);
}
BENCHMARK(BM_GbkToUtf8Article)->Unit(benchmark::kMicrosecond);

void BM_Utf8ToGbkArticle(benchmark::State& state) {
    run(state, smallUtf8(), toGbk);
}
BENCHMARK(BM_Utf8ToGbkArticle)->Unit(benchmark::kMicrosecond);

}  // namespace
