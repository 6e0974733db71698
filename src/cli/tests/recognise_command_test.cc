// "yelian recognise" on pages of our own making, and the JSON text it prints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/json_text.h"
#include "cli/tests/cli_fixture.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::CliRun;

// The article div of the UTF-8 page: quotes, a backslash, a tab, a control character and
// line breaks, all of which the JSON must escape.
const std::string kUtf8Article =
    "<div class=\"content\"><p>正文第一段，\"引号\"与\\反斜杠。</p>\r\n<p>第二段\t制表\x01。</p>"
    "</div>";

// Mode 1 finds the innermost article div (the wrapper is dominated by it, the link bar has
// no text of its own).
std::string utf8Page() {
    return "<html><head><meta charset=\"utf-8\"><title>文章标题-网站名</title></head><body>\r\n"
           "<div class=\"nav\"><a href=\"/\">首页</a></div>\r\n<div id=\"wrap\">" +
           kUtf8Article + "</div></body></html>";
}

// A block whose visible text is 40 of more than 1000 bytes of markup, inside an article
// block that adds 60 bytes of text (and one byte that is no GBK). Mode 1 drops the article
// block (the inner one carries 40 % of its text) and is left with the low-ratio block; mode
// 0 keeps it (40 % is not more than half) and its ratio is high enough.
std::string innerBlock() {
    return "<div class=\"inner\" data-x=\"" + std::string(1000, 'x') + "\">" +
           std::string(40, 'b') + "</div>";
}
std::string gbkArticle() {
    return "<div class=\"article\">" + innerBlock() + "<p>" + "这是一段用国标码写成的正文"_gbk +
           "\x80" + std::string(33, 'a') + "</p></div>";
}
std::string gbkPage() {
    return "<html><head><title>"_gbk + "测试页_站点"_gbk + "</title></head><body>" + gbkArticle() +
           "</body></html>";
}

class RecogniseTest : public testing::CliFixture {
  protected:
    testing::CliRun recognise(std::vector<std::string> args) {
        args.insert(args.begin(), "recognise");
        return run(args);
    }
};

TEST(JsonString, EscapesQuotesBackslashesAndEveryControlCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {"plain 中文", "\"plain 中文\""},
        {"\"\\/", "\"\\\"\\\\/\""},
        {"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
        {std::string("\0\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\\u007f\""},
        {"\xF4\x8F\xBE\x80", "\"\xF4\x8F\xBE\x80\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(jsonString(text), json) << json;
}

TEST_F(RecogniseTest, ModeOneFindsTheArticleOfAUtf8Page) {
    const std::string file = dir.write("utf8.htm", utf8Page());
    const std::string expected = "{\"body\":" + jsonString(kUtf8Article) +
                                 ",\"title\":\"文章标题\",\"pageTitle\":\"文章标题-网站名\","
                                 "\"mode\":1,\"failure\":null}\n";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{file}, {"--mode", "1", file}, {"--mode=1", file}}) {
        const CliRun result = recognise(args);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, expected);
    }
    EXPECT_NE(jsonString(kUtf8Article)
                  .find("\\\"引号\\\"与\\\\反斜杠。</p>\\r\\n<p>第二段\\t制表\\u0001"),
              std::string::npos);
}

TEST_F(RecogniseTest, FallsBackToModeZeroAndConvertsGbkLosslessly) {
    const std::string file = dir.write("gbk.htm", gbkPage());
    const CliRun result = recognise({file});
    EXPECT_EQ(result.status, 0) << result.err;
    // The byte that is no GBK comes out as the private-use character U+10FF80.
    const std::string body = gbkToUtf8(gbkArticle());
    ASSERT_NE(body.find("正文\xF4\x8F\xBE\x80"), std::string::npos);
    EXPECT_EQ(result.out, "{\"body\":" + jsonString(body) +
                              ",\"title\":\"测试页\",\"pageTitle\":\"测试页_站点\",\"mode\":0,"
                              "\"failure\":null}\n");

    const CliRun modeOne = recognise({"--mode", "1", file});
    EXPECT_EQ(modeOne.status, 1);
    EXPECT_EQ(modeOne.out,
              "{\"body\":\"\",\"title\":\"\",\"pageTitle\":\"\",\"mode\":1,"
              "\"failure\":\"low text ratio\"}\n");
    EXPECT_NE(modeOne.err.find("low text ratio"), std::string::npos);
}

TEST_F(RecogniseTest, APageWithoutBlocksFailsWithStatusOne) {
    const std::string file =
        dir.write("none.htm", "<html><title>无块</title><body><p>只有段落</p></body></html>");
    const CliRun result = recognise({file});
    EXPECT_EQ(result.status, 1);
    // The titles are still reported: the page itself was read.
    EXPECT_EQ(result.out,
              "{\"body\":\"\",\"title\":\"无块\",\"pageTitle\":\"无块\",\"mode\":0,"
              "\"failure\":\"no block\"}\n");
}

TEST_F(RecogniseTest, CtrlCStopsTheRecognition) {
    const std::string file = dir.write("utf8.htm", utf8Page());
    environment.interrupted = [] { return true; };
    const CliRun result = recognise({file});
    EXPECT_EQ(result.status, 130);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("stopped"), std::string::npos);
}

TEST_F(RecogniseTest, UsageErrorsExitWithTwo) {
    const std::string file = dir.write("utf8.htm", utf8Page());
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "no FILE"},
        {{file, file}, "one FILE"},
        {{"--mode", "2", file}, "'2'"},
        {{file, "--mode"}, "--mode needs a value"},
        {{"--fast", file}, "--fast"},
        {{dir.file("missing.htm")}, "missing.htm"},
        {{dir.file("")}, "cannot read"},
    };
    for (const auto& [args, named] : cases) {
        const CliRun result = recognise(args);
        SCOPED_TRACE(result.err);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(named), std::string::npos);
        EXPECT_TRUE(result.out.empty());
    }
}

TEST_F(RecogniseTest, HelpListsEveryOptionWithAnExample) {
    const CliRun result = recognise({"--help"});
    EXPECT_EQ(result.status, 0);
    for (const char* option : {"--mode", "--help"}) {
        EXPECT_NE(result.out.find(std::string("yelian recognise ") + option), std::string::npos)
            << option;
    }
    EXPECT_NE(result.out.find("U+10FF00"), std::string::npos);
}

}  // namespace
}  // namespace yelian
