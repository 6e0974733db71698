// What list pages and keyword insertion add to a run: 10,000 articles written as pages, once
// with both off and once with both on, and the insertion alone on one long article.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "engine/keyword_insertion.h"
#include "engine/list_pages.h"
#include "support/gbk_text.h"
#include "support/markup_scanner.h"
#include "support/native_path.h"
#include "support/number_text.h"
#include "support/text_encoding.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// An article body of about 3 KB: paragraphs of Chinese with English words and links.
std::string articleBody(int seed) {
    std::string body;
    for (int paragraph = 0; paragraph < 12; ++paragraph) {
        body += "<p>";
        body += "这是第"_gbk + integerToText(seed) + "篇文章的一段正文，"_gbk;
        body += "with some English words in it, ";
        body += "<a href=\"http://example.com/x.htm\">链接</a>，还有更多的中文内容在这里。"_gbk;
        body += "</p>\r\n";
    }
    return body;
}

constexpr int kArticles = 10000;

// The part of a run that the two features touch: each article's body goes into its page, the
// page is written, and the article is listed. Without the article pages (pages 0) it measures
// what the two features cost on their own.
void articleRun(benchmark::State& state) {
    const bool features = state.range(0) != 0;
    const bool pages = state.range(2) != 0;
    RecordControls controls{mainWindowSpec()};
    QuietDesktop desktop;
    const Ui ui{controls, desktop};
    controls.setChecked(kMainWindow, kListPagesCheck, features);
    controls.setText(kMainWindow, kArticlesPerListPageEdit, integerToText(state.range(1)));
    controls.setChecked(kMainWindow, kInsertPhrasesCheck, features);
    controls.setText(kMainWindow, kPhraseCombo, "关键词|另一个词|http://a.com*http://b.com"_gbk);
    RandomSource random(1);
    KeywordInserter inserter(random);
    MarkupScanner tags;

    const BenchFolder folder;
    const std::filesystem::path& root = folder.path();
    const std::string outputFolder = fromNativePath(root) + kPathSeparator;
    std::vector<std::string> bodies;
    for (int i = 0; i < 20; ++i) bodies.push_back(articleBody(i));
    const std::string head = "<html><head><title>#本篇标题#</title></head><body>\r\n"_gbk;
    const std::string tail = "\r\n</body></html>";

    for (auto _ : state) {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        ListPages lists(ui);
        lists.startListPages(outputFolder, kArticles, tags);
        inserter.prepareRun(controls);
        for (int i = 1; i <= kArticles; ++i) {
            std::string content = bodies[static_cast<std::size_t>(i % 20)];
            if (features) content = inserter.insertIntoArticle(ui, std::move(content));
            const std::string link = "a" + integerToText(i) + ".htm";
            if (pages) {
                writeTextFile(outputFolder + link, head + content + tail, TextEncoding::Gbk);
            }
            benchmark::DoNotOptimize(content);
            lists.addListEntry(link, "标题"_gbk + integerToText(i), TextEncoding::Gbk, i,
                               kArticles);
        }
        lists.finishListPages(TextEncoding::Gbk);
    }
    state.SetItemsProcessed(state.iterations() * kArticles);
}
BENCHMARK(articleRun)
    ->ArgNames({"features", "perPage", "pages"})
    ->Args({0, 50, 1})
    ->Args({1, 50, 1})
    ->Args({1, 50, 0})
    ->Args({1, 9, 1})
    ->Args({1, 9, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Insertion into one long article: the cost grows with the content, not with content x count.
void insertIntoLongArticle(benchmark::State& state) {
    std::string content;
    while (content.size() < (std::size_t{1} << 20)) content += articleBody(1);
    RandomSource random(1);
    const std::string text = keywordAnchor("关键词"_gbk, "http://a.com");
    for (auto _ : state) {
        benchmark::DoNotOptimize(insertKeywords(content, text, state.range(0), random));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(content.size()));
}
BENCHMARK(insertIntoLongArticle)->Arg(4)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yelian
