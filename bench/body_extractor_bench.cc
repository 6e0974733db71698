// Cost of recognising the article of a page, and of decoding character references.
#include <benchmark/benchmark.h>

#include <string>

#include "support/gbk_text.h"
#include "templatemaker/body_extractor.h"
#include "templatemaker/html_entities.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// A news page of about 100 KB: navigation of links, a sidebar and a comment list of small
// divs, and the article of paragraphs inside a few wrapper divs.
std::string newsPage() {
    std::string page =
        "<html><head><title>新闻标题 - 站点</title><script>var x=1;</script>"
        "</head><body><div class=nav>"_gbk;
    for (int i = 0; i < 60; ++i) page += "<a href=/c" + std::to_string(i) + ">栏目</a> "_gbk;
    page += "</div><div class=side>";
    for (int i = 0; i < 150; ++i) {
        page += "<div class=item><a href=/n" + std::to_string(i) + ">相关新闻</a>摘要</div>"_gbk;
    }
    page += "</div><div class=wrap><div class=main><h1>新闻标题</h1><div class=article>"_gbk;
    while (page.size() < 80000) {
        page += "<p>这是正文的一段，讲述了一件事情的经过，并且带有一些标点符号。</p>\r\n"_gbk;
    }
    page += "</div></div></div><div class=comments>";
    for (int i = 0; i < 200; ++i) page += "<div class=c><span>网友</span>评论内容</div>"_gbk;
    return page + "</div></body></html>";
}

void BM_RecogniseNewsPage(benchmark::State& state) {
    const std::string page = newsPage();
    const auto mode = static_cast<RecognitionMode>(state.range(0));
    BodyExtractor extractor;
    for (auto _ : state) benchmark::DoNotOptimize(extractor.recognise(page, mode));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_RecogniseNewsPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Divs nested n deep, each adding a little text: every block is a container of the next, the
// worst case of the nesting mode's container test.
void BM_RecogniseDeepNesting(benchmark::State& state) {
    const auto depth = static_cast<int>(state.range(0));
    std::string page;
    for (int i = 0; i < depth; ++i) page += "<div>一段文字的内容</div><div>"_gbk;
    for (int i = 0; i < depth; ++i) page += "</div>";
    BodyExtractor extractor;
    for (auto _ : state) {
        benchmark::DoNotOptimize(extractor.recognise(page, RecognitionMode::Nesting));
    }
    state.SetComplexityN(depth);
}
BENCHMARK(BM_RecogniseDeepNesting)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_DecodeEntities(benchmark::State& state) {
    std::string text;
    while (text.size() < 100000)
        text += "标题&amp;内容&nbsp;&ldquo;引用&rdquo;&#20013;&#x6587;，"_gbk;
    for (auto _ : state) benchmark::DoNotOptimize(decodeEntities(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DecodeEntities);

}  // namespace
}  // namespace yelian
