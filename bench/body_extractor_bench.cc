// Cost of recognising the article of a page, and of decoding character references.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <utility>

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

// Builds a portal-style article page of about the given size and number of divs, the same
// for the same arguments: a header with navigation, layout wrappers twelve deep around the
// article (paragraphs with the odd inline link and image), a sidebar of link boxes, and
// comment threads whose replies nest inside one another up to 30 divs deep. Ad scripts and
// markup comments sit in the body, as they do on real pages. The sidebar takes
// a quarter of the divs, the comments the rest; the article fills the page to its size.
class PageGenerator {
  public:
    PageGenerator(std::size_t bytes, int divs) : bytes_(bytes), divs_(divs) {}

    std::string page() {
        std::string head =
            "<!DOCTYPE html>\r\n<html><head><meta charset=gbk><title>市政府召开专题会议部署"
            "年度重点工作_要闻_示例新闻网</title>\r\n<style>.nav a{margin:0 4px}"
            ".box{border:1px solid #ddd}</style>\r\n<script>var pageId=1024;function "
            "track(){return pageId>0?1:0;}</script>\r\n</head><body>\r\n"_gbk;
        out_ = std::move(head);
        header();
        for (int i = 0; i < kLayoutDepth; ++i) open("layout l" + std::to_string(i));
        std::string top = std::exchange(out_, {});
        close();  // the innermost layout div, after the article
        sidebar(divs_ / 4);
        comments(divs_ - divCount_ - 3);  // the article, its byline and the footer follow
        for (int i = 1; i < kLayoutDepth; ++i) close();
        out_ += "<div class=footer>版权所有 示例新闻网 <a href=/about>关于我们</a></div>"_gbk;
        out_ += "\r\n</body></html>\r\n";
        std::string rest = std::exchange(out_, {});
        depth_ = kLayoutDepth;
        article(bytes_ - std::min(bytes_, top.size() + rest.size()));
        return top + out_ + rest;
    }

  private:
    static constexpr int kLayoutDepth = 12;
    static constexpr int kMaxDepth = 30;

    int pick(int low, int high) {
        return low + static_cast<int>(random_() % static_cast<unsigned>(high - low + 1));
    }

    void open(const std::string& className) {
        out_ += "<div class=\"" + className + "\">";
        ++depth_;
        ++divCount_;
    }
    void close() {
        out_ += "</div>\r\n";
        --depth_;
    }

    std::string sentence() {
        static const std::string words[] = {
            "会议指出"_gbk, "今年以来"_gbk, "各级部门"_gbk,   "认真落实"_gbk, "重点项目"_gbk,
            "稳步推进"_gbk, "群众反映"_gbk, "进一步加强"_gbk, "统筹协调"_gbk, "取得明显成效"_gbk,
            "下一步"_gbk,   "要坚持"_gbk,   "服务质量"_gbk,   "城乡建设"_gbk, "民生保障"_gbk,
        };
        std::string text;
        const int count = pick(4, 9);
        for (int i = 0; i < count; ++i) {
            text += words[random_() % std::size(words)];
            text += i + 1 == count ? "。"_gbk : (i % 3 == 2 ? "，"_gbk : "");
        }
        return text;
    }

    void header() {
        open("header");
        open("logo");
        out_ += "<a href=/><img src=/logo.png alt=示例新闻网></a>"_gbk;
        close();
        open("nav");
        for (int i = 0; i < 24; ++i) {
            out_ += "<a href=\"/channel/" + std::to_string(i) + "/\">频道"_gbk + std::to_string(i) +
                    "</a> ";
        }
        close();
        close();
    }

    void article(std::size_t bytes) {
        open("article");
        out_ += "<!-- 正文开始 -->\r\n<h1>市政府召开专题会议部署年度重点工作</h1>\r\n"_gbk;
        out_ += "<div class=\"info\">2024-03-18 09:30 来源：示例新闻网</div>\r\n"_gbk;
        const std::size_t end = bytes;
        for (int p = 0; out_.size() + 8 < end; ++p) {
            out_ += "<p>";
            for (int s = pick(2, 5); s > 0; --s) out_ += sentence();
            if (p % 7 == 3) out_ += "<a href=\"/topic/" + std::to_string(p) + "\">相关专题</a>"_gbk;
            if (p % 11 == 5) out_ += "<img src=\"/img/" + std::to_string(p) + ".jpg\">";
            out_ += "</p>\r\n";
        }
        close();
    }

    // Boxes of five linked items, eight divs each.
    void sidebar(int divs) {
        const int end = divCount_ + divs;
        open("sidebar");
        for (int box = 0; divCount_ + 8 <= end; ++box) {
            open("box");
            if (box % 10 == 0) {
                out_ += "<script type=\"text/javascript\">var slot = \"ad-" + std::to_string(box) +
                        "\"; showAd(slot, 300, 250);</script>";
            }
            open("box-title");
            out_ += "<h3><a href=/list/" + std::to_string(box) + ">热点排行</a></h3>"_gbk;
            close();
            open("box-body");
            for (int i = 0; i < 5; ++i) {
                open("item");
                out_ += "<a href=\"/n/" + std::to_string(box * 10 + i) + ".html\">" +
                        sentence().substr(0, 16) + "</a><span>03-18</span>";
                close();
            }
            close();
            close();
        }
        close();
    }

    // Threads of replies, three divs a comment; each reply sits inside the one it answers, as
    // far as the depth limit allows.
    void comments(int divs) {
        const int end = divCount_ + divs;
        open("comments");
        for (int thread = 0; divCount_ + 3 <= end; ++thread) {
            const int replies = std::min(pick(0, 20), kMaxDepth - depth_ - 2);
            int opened = 0;
            for (int r = 0; r <= replies && divCount_ + 3 <= end; ++r) {
                open("comment");
                ++opened;
                open("meta");
                out_ += "<a href=/u/" + std::to_string(thread) + ">网友"_gbk + std::to_string(r) +
                        "</a> 2024-03-18";
                close();
                open("content");
                out_ += sentence();
                close();
            }
            for (; opened > 0; --opened) close();
        }
        close();
    }

    std::size_t bytes_;
    int divs_;
    std::string out_;
    int depth_ = 0;
    int divCount_ = 0;
    std::mt19937 random_{20240318};
};

struct PageShape {
    int divs = 0;
    int depth = 0;
};

// The number of divs and how deep they nest, to show what a generated page holds.
PageShape shapeOf(std::string_view page) {
    PageShape shape;
    int depth = 0;
    for (std::size_t at = page.find('<'); at != std::string_view::npos;
         at = page.find('<', at + 1)) {
        if (page.substr(at, 4) == "<div") {
            ++shape.divs;
            shape.depth = std::max(shape.depth, ++depth);
        } else if (page.substr(at, 6) == "</div>") {
            --depth;
        }
    }
    return shape;
}

void BM_RecogniseNewsPage(benchmark::State& state) {
    const std::string page = newsPage();
    const auto mode = static_cast<RecognitionMode>(state.range(0));
    for (auto _ : state) {
        BodyExtractor extractor;
        benchmark::DoNotOptimize(extractor.recognise(page, mode));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_RecogniseNewsPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The template maker's full recognition of a generated page: the nesting mode, then the
// grouping mode. Arguments: page size in KB, number of divs.
void BM_RecogniseGeneratedPage(benchmark::State& state) {
    const std::string page = PageGenerator(static_cast<std::size_t>(state.range(0)) * 1024,
                                           static_cast<int>(state.range(1)))
                                 .page();
    for (auto _ : state) {
        // One extractor per run, as the template maker makes it.
        BodyExtractor extractor;
        benchmark::DoNotOptimize(extractor.recognise(page, RecognitionMode::Nesting));
        benchmark::DoNotOptimize(extractor.recognise(page, RecognitionMode::Grouping));
    }
    const PageShape shape = shapeOf(page);
    state.counters["page_bytes"] = static_cast<double>(page.size());
    state.counters["divs"] = shape.divs;
    state.counters["depth"] = shape.depth;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_RecogniseGeneratedPage)
    ->Args({50, 200})
    ->Args({500, 2000})
    ->Args({2048, 8000})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Divs nested n deep, each adding a little text: every block is a container of the next, the
// worst case of the nesting mode's container test.
void BM_RecogniseDeepNesting(benchmark::State& state) {
    const auto depth = static_cast<int>(state.range(0));
    std::string page;
    for (int i = 0; i < depth; ++i) page += "<div>一段文字的内容</div><div>"_gbk;
    for (int i = 0; i < depth; ++i) page += "</div>";
    for (auto _ : state) {
        BodyExtractor extractor;
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
