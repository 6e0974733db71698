// Speed and peak memory of a whole generation run: 10,000 articles of 2-6 KB, the first
// sample template (five random links, description and keywords), shuffled order, one thread.
// The articles are GBK (utf8 0) or UTF-8 (utf8 1); pages keep the article's encoding. With
// features 1 the run also writes list pages (the default 9 articles per page, so every list
// page carries a bar of about 1,100 links) and inserts linked keywords into every body.
// The files go to the temporary folder: TMPDIR=/dev/shm measures the run without the disk.
// Also the expansion of that template for one 4 KB article, and its description alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench_support.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "engine/generate_site.h"
#include "engine/keyword_insertion.h"
#include "engine/tag_expansion.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/regex_object.h"
#include "support/text_encoding.h"

namespace {

using namespace yelian;

constexpr int kArticles = 10000;

// A GBK article page: a title, then paragraphs of common characters up to the size.
std::string articleText(int number, std::size_t size, std::mt19937& engine) {
    std::string text = "<html><head><title>" + utf8ToGbk("文章标题") + std::to_string(number) +
                       utf8ToGbk("_某某网") + "</title></head>\r\n<body>\r\n<p>";
    std::uniform_int_distribution<int> lead(0xB0, 0xD7);
    std::uniform_int_distribution<int> trail(0xA1, 0xF9);
    for (int i = 0; text.size() < size; ++i) {
        text += static_cast<char>(lead(engine));
        text += static_cast<char>(trail(engine));
        if (i % 60 == 59) text += "</p>\r\n<p>";
        if (i % 200 == 199) text += "<a href=\"http://www.example.com/x.htm\">link</a>";
    }
    return text + "</p>\r\n</body></html>\r\n";
}

GenerationJob writeArticles(const std::filesystem::path& folder, bool utf8) {
    std::filesystem::create_directories(folder);
    std::mt19937 engine(42);
    std::uniform_int_distribution<std::size_t> size(2000, 6000);
    GenerationJob job;
    for (int k = 0; k < kArticles; ++k) {
        std::string text = articleText(k, size(engine), engine);
        if (utf8) text = gbkToUtf8(text);
        const std::string path = fromNativePath(folder / ("a" + std::to_string(k) + ".htm"));
        std::ofstream(toNativePath(path), std::ios::binary) << text;
        job.push_back(path);
    }
    return job;
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_GenerateSite(benchmark::State& state) {
    const bool utf8 = state.range(0) == 1;
    const bool features = state.range(1) == 1;
    const BenchFolder folder;
    const GenerationJob articles = writeArticles(folder.path(), utf8);
    RecordControls controls{mainWindowSpec()};
    controls.setChecked(kMainWindow, kListPagesCheck, features);
    controls.setChecked(kMainWindow, kInsertPhrasesCheck, features);
    controls.setText(kMainWindow, kPhraseCombo,
                     utf8ToGbk("关键词|另一个词|http://a.example*http://b.example"));
    QuietDesktop desktop;
    RandomSource random(7);
    RegexObject titlePattern;
    bool stop = false;
    KeywordInserter keywords(random);
    GenerationContext context{Ui{controls, desktop}, random, titlePattern, stop, keywords};
    const long before = peakResidentKiB();
    for (auto _ : state) {
        GenerationJob job = articles;
        const RunOutcome outcome = generateSite(context, job);
        if (outcome.articlesDone != kArticles || outcome.pagesFailed != 0) {
            state.SkipWithError("pages missing");
        }
    }
    state.counters["pages/s"] =
        benchmark::Counter(static_cast<double>(kArticles) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["peakRSS_MiB"] = static_cast<double>(peakResidentKiB()) / 1024.0;
    state.counters["peakRSS_before_MiB"] = static_cast<double>(before) / 1024.0;
}
BENCHMARK(BM_GenerateSite)
    ->ArgNames({"utf8", "features"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The page of one article without any file access: the sample template expanded.
void BM_ExpandSampleTemplate(benchmark::State& state) {
    RecordControls controls{mainWindowSpec()};
    RandomSource random(7);
    std::mt19937 engine(42);
    const std::string content = articleText(1, 4000, engine);
    const std::string pageTemplate = controls.text(kMainWindow, kTemplateEditor1);
    const std::vector<std::string> titles(5, "title");
    const std::vector<std::string> links(5, "a1.htm");
    ExpansionState expansion(controls, random);
    PageValues values{"t", "a.htm", "p", "p.htm", "n", "n.htm", titles, links, content, false};
    for (auto _ : state) benchmark::DoNotOptimize(expandPage(pageTemplate, values, expansion));
}
BENCHMARK(BM_ExpandSampleTemplate);

void BM_DescriptionOf(benchmark::State& state) {
    RecordControls controls{mainWindowSpec()};
    RandomSource random(7);
    std::mt19937 engine(42);
    const std::string content = articleText(1, 4000, engine);
    ExpansionState expansion(controls, random);
    for (auto _ : state) benchmark::DoNotOptimize(descriptionOf(content, expansion));
}
BENCHMARK(BM_DescriptionOf);

}  // namespace
