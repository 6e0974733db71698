// How long the description cleaners take on a 100 KB article: both run on every page that
// carries a description, so they bound the cost of a generation run.
#include <benchmark/benchmark.h>

#include <string>

#include "support/gbk_text.h"
#include "support/regex_object.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// A GBK article of about 100 KB: Chinese paragraphs indented with full-width blanks, links,
// anchors and line breaks, blank lines with spaces and tabs, all lines ended by CR LF.
std::string makeArticle() {
    const std::string characters =
        "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西被干做必战先回则任取据处队南给色光门即保治北造百规热领七海口东导器压志世金增争济阶油思术极交受联什认六共权收证改清己美再采转更单风切打白教速花带安场身车例真务具万每目至达走积示议声报斗完类八离华名确才科张信马节话米整空元况今集温传土许步群广石记需段研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非验连断深难近矿千周委素技备半办青省列习响约支般史感劳便团往酸历市克何除消构府称太准精值号率族维划选标写存候毛亲快效斯院查江型眼王按格养易置派层片始却专状育厂京识适属圆包火住调满县局照参红细引听该铁价严"_gbk;
    std::string article;
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    const auto chineseRun = [&](std::uint32_t count) {
        std::string run;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = 2 * next(static_cast<std::uint32_t>(characters.size() / 2));
            run.append(characters, at, 2);
        }
        return run;
    };
    while (article.size() < 100 * 1024) {
        article += "<p class=\"content\">" + "　　"_gbk + chineseRun(40 + next(80));
        switch (next(4)) {
            case 0:
                article += "http://www.example.com/news/2024/0" + std::to_string(next(9)) + ".html";
                break;
            case 1:
                article += "<a href=\"/list/" + std::to_string(next(100)) + ".htm\">" +
                           chineseRun(4) + "</a>";
                break;
            case 2:
                article += "<br />\r\n \t" + chineseRun(20);
                break;
            default:
                article += "www.example.cn/" + std::to_string(next(1000));
        }
        article += chineseRun(30 + next(60)) + "。</p>  \r\n";
        if (next(3) == 0) article += " 　\t\r\n";
    }
    return article;
}

void replaceWith(benchmark::State& state, std::string_view pattern) {
    const std::string article = makeArticle();
    RegexObject regex;
    regex.create(pattern);
    for (auto _ : state) {
        benchmark::DoNotOptimize(regex.replace(article, ""));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * article.size()));
}

void BM_ReplaceLinksAndTags(benchmark::State& state) {
    replaceWith(state, "([a-zA-z]+://|www.)[\\w./]+|<[\\S\\s]+?>");
}
BENCHMARK(BM_ReplaceLinksAndTags)->Unit(benchmark::kMillisecond);

void BM_ReplaceLineBlanksAndBreaks(benchmark::State& state) {
    replaceWith(state, "^[　 \\t]*$(\\r\\n)|^[ 　\\t]+|[ 　\\t]+$|\\r|\\n"_gbk);
}
BENCHMARK(BM_ReplaceLineBlanksAndBreaks)->Unit(benchmark::kMillisecond);

// The conversions alone, the floor under every replace.
void BM_ConvertArticleBothWays(benchmark::State& state) {
    const std::string article = makeArticle();
    for (auto _ : state) {
        benchmark::DoNotOptimize(utf8ToGbk(gbkToUtf8(article)));
    }
}
BENCHMARK(BM_ConvertArticleBothWays)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yelian
