// Cost of the generated tags and of the traditional conversion of a whole page.
#include <benchmark/benchmark.h>

#include <string>

#include "support/random_source.h"
#include "support/traditional_chinese.h"
#include "taggen/hanzi_tables.h"
#include "taggen/random_chinese.h"
#include "taggen/random_letters.h"

namespace yelian {
namespace {

void BM_ToTraditionalPage(benchmark::State& state) {
    // About 100 KB of common characters with some markup between them.
    std::string page;
    while (page.size() < 100000) {
        page += "<p class=\"x\">";
        page += hanziTable(HanziTable::Common).substr(page.size() % 4000, 400);
        page += "</p>\r\n";
    }
    const TraditionalChinese converter;
    benchmark::DoNotOptimize(converter.toTraditional(page));  // fills the per-character memo
    for (auto _ : state) benchmark::DoNotOptimize(converter.toTraditional(page));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ToTraditionalPage);

void BM_FirstTraditionalConversion(benchmark::State& state) {
    // Opening OpenCC and converting a short sample, as the first page of a run does.
    for (auto _ : state) {
        const TraditionalChinese converter;
        benchmark::DoNotOptimize(converter.toTraditional(hanziTable(HanziTable::MostCommon)));
    }
}
BENCHMARK(BM_FirstTraditionalConversion)->Unit(benchmark::kMillisecond);

void BM_RandomChinese(benchmark::State& state) {
    RandomSource random(1);
    const TraditionalChinese converter;
    const RandomChineseSettings settings{5, 10, HanziTable::Common, state.range(0) != 0};
    for (auto _ : state) benchmark::DoNotOptimize(makeRandomChinese(settings, random, converter));
}
BENCHMARK(BM_RandomChinese)->Arg(0)->Arg(1);

void BM_RandomLetters(benchmark::State& state) {
    RandomSource random(1);
    const RandomLettersSettings settings{10, 15, true, true, true, state.range(0) != 0};
    for (auto _ : state) benchmark::DoNotOptimize(makeRandomLetters(settings, random));
}
BENCHMARK(BM_RandomLetters)->Arg(0)->Arg(1);

}  // namespace
}  // namespace yelian
