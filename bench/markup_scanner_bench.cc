// Speed of the element search over article pages of growing size: every div of a page whose
// divs nest up to 30 deep inside one wrapper (the body recogniser's search), every element of
// any name, and reading the listed elements back.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "support/gbk_text.h"
#include "support/markup_scanner.h"

namespace {

// About 262 bytes of page per div, as on a 2 MB page with 8,000 divs.
constexpr std::size_t kBytesPerDiv = 262;
constexpr int kMaxDepth = 30;

void addFiller(std::string& page, std::mt19937& random, std::size_t size) {
    const std::size_t target = page.size() + size;
    while (page.size() < target) {
        switch (random() % 6) {
            case 0:
                page += "<p class=\"t\">";
                break;
            case 1:
                page += "</p>\r\n";
                break;
            case 2:
                page += "<a href=\"/a/b.htm\" target=_blank>";
                break;
            case 3:
                page += "</a><br>";
                break;
            default:
                for (int i = 0; i < 12; ++i) {
                    page += static_cast<char>(0xB0 + random() % 0x40);
                    page += static_cast<char>(0xA1 + random() % 0x5E);
                }
        }
    }
}

// A page of about size bytes with size / kBytesPerDiv divs: one wrapper holds a random walk
// of nested divs (depth 1 to kMaxDepth) with text and inline tags between them.
std::string makePage(std::size_t size) {
    std::mt19937 random(11);
    const std::size_t divs = size / kBytesPerDiv;
    const std::size_t fillerPerTag = kBytesPerDiv / 2 - 20;
    std::string page =
        "<!DOCTYPE html><html><head><meta name=\"description\" content=\"d\">"
        "<title>t</title></head><body>\r\n<DIV id=\"wrap\">";
    int depth = 1;
    for (std::size_t opened = 1; opened < divs;) {
        addFiller(page, random, fillerPerTag);
        const bool open = depth == 1 || (depth < kMaxDepth && random() % 2 == 0);
        if (open) {
            page += "<div class=\"c" + std::to_string(depth) + "\">";
            ++depth;
            ++opened;
        } else {
            page += "</div>\r\n";
            --depth;
        }
    }
    for (; depth > 0; --depth) page += "</div>";
    page += "</body></html>";
    return page;
}

void searchEveryDiv(benchmark::State& state) {
    const std::string page = makePage(static_cast<std::size_t>(state.range(0)) * 1024);
    yelian::MarkupScanner scanner([] {});
    yelian::ElementSearch search;
    search.occurrence = -1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanner.searchElements(page, "div", {}, {}, search));
    }
    state.counters["divs"] = scanner.elementCount();
    state.counters["pageKB"] = static_cast<double>(page.size()) / 1024;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}
BENCHMARK(searchEveryDiv)
    ->Arg(50)
    ->Arg(200)
    ->Arg(500)
    ->Arg(1024)
    ->Arg(2048)
    ->Unit(benchmark::kMillisecond);

void listEveryElement(benchmark::State& state) {
    const std::string page = makePage(static_cast<std::size_t>(state.range(0)) * 1024);
    yelian::MarkupScanner scanner;
    yelian::ElementFilter filter;
    filter.letterStart = true;
    for (auto _ : state) benchmark::DoNotOptimize(scanner.findElements(page, "", {}, {}, filter));
    state.counters["elements"] = scanner.elementCount();
}
BENCHMARK(listEveryElement)->Arg(200)->Arg(2048)->Unit(benchmark::kMillisecond);

// Reading every listed div back, tightened as the body recogniser reads them; the nested
// markup adds up to many times the page.
void readEveryDiv(benchmark::State& state) {
    const std::string page = makePage(static_cast<std::size_t>(state.range(0)) * 1024);
    yelian::MarkupScanner scanner;
    const int count = scanner.findElements(page, "div");
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (int i = 1; i <= count; ++i) bytes += scanner.element(i, state.range(1) != 0).size();
    }
    state.counters["markupMB"] = static_cast<double>(bytes) / (1024 * 1024);
}
BENCHMARK(readEveryDiv)->Args({200, 0})->Args({200, 1})->Unit(benchmark::kMillisecond);

// The template maker's description lookup: one tag near the top of a long page.
void findDescription(benchmark::State& state) {
    const std::string page = makePage(2048 * 1024);
    yelian::MarkupScanner scanner;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanner.searchElements(page, "meta", {"name"}, {"description"}));
    }
}
BENCHMARK(findDescription)->Unit(benchmark::kMillisecond);

}  // namespace
