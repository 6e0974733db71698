// Speed of the list-pair replacement over a generated page (the chain tags of every
// generated page) and of counting on a page of the size the body recogniser walks.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "support/gbk_text.h"
#include "support/text_routines.h"

namespace {

using namespace yelian::literals;

// A GBK page of about size bytes: markup, Chinese text (some characters with trailing bytes
// that look like ASCII letters), '#' in links and colours, and each tag a few times.
std::string makePage(std::size_t size, const std::vector<std::string>& tags) {
    std::mt19937 random(42);
    std::string page = "<html><head><title>t</title></head><body>\r\n";
    std::size_t tagIndex = 0;
    while (page.size() < size) {
        page += "<div class=\"c\" style=\"color:#333\"><a href=\"#\">";
        for (int i = 0; i < 200; ++i) {
            if (random() % 8 == 0) {
                page += static_cast<char>(0x81 + random() % 0x20);  // extended GBK
                page += static_cast<char>(0x40 + random() % 0x3F);
            } else {
                page += static_cast<char>(0xB0 + random() % 0x40);
                page += static_cast<char>(0xA1 + random() % 0x5E);
            }
        }
        page += "</a></div>\r\n";
        if (!tags.empty() && page.size() % 7 < 3) page += tags[tagIndex++ % tags.size()];
    }
    return page;
}

const std::vector<std::string>& chainTags() {
    static const std::vector<std::string> tags = {"#本篇链接#"_gbk,   "#上一篇链接#"_gbk,
                                                  "#下一篇链接#"_gbk, "#本篇标题#"_gbk,
                                                  "#上一篇标题#"_gbk, "#下一篇标题#"_gbk};
    return tags;
}

const std::string& chainPage() {
    static const std::string page = [] {
        std::string p = makePage(100 * 1024, {});
        // Each tag three times, spread over the page.
        for (int round = 0; round < 3; ++round) {
            for (std::size_t t = 0; t < chainTags().size(); ++t) {
                const std::size_t at = (round * 6 + t + 1) * p.size() / 19;
                p.insert(p.find('<', at), chainTags()[t]);
            }
        }
        return p;
    }();
    return page;
}

void BM_MultiReplaceChainTags(benchmark::State& state) {
    const std::string& page = chainPage();
    std::string finds;
    for (const std::string& tag : chainTags()) finds += (finds.empty() ? "" : "|") + tag;
    const std::string values =
        "../a/1.htm|../a/0.htm|../a/2.htm|" + "本篇"_gbk + "|" + "上一篇"_gbk + "|" + "下一篇"_gbk;
    for (auto _ : state) {
        benchmark::DoNotOptimize(yelian::multiReplace(page, finds, values));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_MultiReplaceChainTags)->Unit(benchmark::kMicrosecond);

void BM_ReplaceAtOnceChainTags(benchmark::State& state) {
    const std::string& page = chainPage();
    const std::vector<yelian::ReplacePair> pairs = {
        {chainTags()[0], "../a/1.htm"}, {chainTags()[1], "../a/0.htm"},
        {chainTags()[2], "../a/2.htm"}, {chainTags()[3], "本篇"_gbk},
        {chainTags()[4], "上一篇"_gbk}, {chainTags()[5], "下一篇"_gbk}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(yelian::replaceAtOnce(page, pairs));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ReplaceAtOnceChainTags)->Unit(benchmark::kMicrosecond);

void BM_CountOccurrences2MB(benchmark::State& state, const std::string& needle) {
    static const std::string page = makePage(2 * 1024 * 1024, {});
    for (auto _ : state) {
        benchmark::DoNotOptimize(yelian::countOccurrences(page, needle));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK_CAPTURE(BM_CountOccurrences2MB, close_div, std::string("</DIV>"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CountOccurrences2MB, letters_only, std::string("style"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CountOccurrences2MB, chinese, "中文"_gbk)->Unit(benchmark::kMicrosecond);

}  // namespace
