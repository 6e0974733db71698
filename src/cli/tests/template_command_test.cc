// "yelian template" on saved pages and pages served on 127.0.0.1, and the candidate list of
// "yelian recognise".
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/tests/cli_fixture.h"
#include "support/gbk_text.h"
#include "web/tests/local_server.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// An article page in UTF-8 with comments under the article.
std::string articlePage() {
    std::string paragraphs;
    for (int i = 0; i < 6; ++i) {
        paragraphs += "<p>青河地铁五号线今日开通试运营，全长二十六公里，共设车站十九座。</p>";
    }
    return "<html><head><meta charset=\"utf-8\"><TITLE>五号线开通_青河晚报</TITLE>"
           "<meta name=\"description\" content=\"旧\"></head><body>"
           "<div class=\"nav\"><a href=\"/\">首页</a></div><div class=\"main\">"
           "<div class=\"article\"><h1>青河地铁五号线今日开通试运营</h1><div class=\"text\">" +
           paragraphs +
           "</div></div><div class=\"comments\"><div>终于开通了，上班方便多了，谢谢！</div>"
           "<div>周末带孩子去坐一坐，体验一下新线路。</div></div></div></body></html>";
}

class TemplateCommandTest : public testing::CliFixture {
  protected:
    testing::CliRun templateOf(std::vector<std::string> args) {
        args.insert(args.begin(), "template");
        return run(args);
    }

    testing::LocalServer server{[](const testing::SeenRequest& request) {
        if (request.target == "/menu") {
            return testing::Reply{200, {}, "<title>m</title><a href=/>home</a>"};
        }
        return testing::Reply{200, {{"Content-Type", "text/html; charset=utf-8"}}, articlePage()};
    }};
};

TEST_F(TemplateCommandTest, ASavedPageBecomesATemplate) {
    const std::string file = dir.write("a.htm", articlePage());
    const testing::CliRun made = templateOf({file});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("<title>#本篇标题#</title> "), std::string::npos);
    EXPECT_NE(made.out.find("content=\"#描述#\""), std::string::npos);
    EXPECT_NE(made.out.find("#导入的文件内容#"), std::string::npos);
    EXPECT_NE(made.out.find("<h1>#本篇标题#</h1>"), std::string::npos);
    EXPECT_EQ(made.out.find("二十六公里"), std::string::npos);

    const testing::CliRun bare = templateOf({"--no-body", file});
    EXPECT_EQ(bare.status, 0);
    EXPECT_EQ(bare.out.find("#导入的文件内容#"), std::string::npos);
    EXPECT_NE(bare.out.find("二十六公里"), std::string::npos);
}

TEST_F(TemplateCommandTest, AnAddressIsDownloadedAndTheTemplateWrittenToAFile) {
    const std::string out = dir.file("t.htm");
    const testing::CliRun made = templateOf({server.url("/a.html"), "-o", out});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "");
    std::ifstream written(out, std::ios::binary);
    std::stringstream text;
    text << written.rdbuf();
    // Written in UTF-8 with its byte-order mark, as pages are.
    EXPECT_NE(text.str().find("#导入的文件内容#"), std::string::npos);
}

TEST_F(TemplateCommandTest, ACandidateReplacesTheRightBlock) {
    const std::string file = dir.write("a.htm", articlePage());
    bool comments = false;
    for (const char* pick : {"1", "2", "3", "4", "5"}) {
        const testing::CliRun made = templateOf({"--pick", pick, file});
        if (made.status != 0) break;
        // Each choice leaves the other blocks in place around the body tag.
        EXPECT_NE(made.out.find("#导入的文件内容#"), std::string::npos) << pick;
        comments |= made.out.find("终于开通了") == std::string::npos &&
                    made.out.find("二十六公里") != std::string::npos;
    }
    EXPECT_TRUE(comments) << "the comments are one of the candidates";
    EXPECT_EQ(templateOf({"--pick", "1", file}).out, templateOf({file}).out);
}

TEST_F(TemplateCommandTest, FailuresSayWhatWentWrong) {
    const testing::CliRun failed = templateOf({server.url("/menu")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("<title>#本篇标题#</title> "), std::string::npos);
    EXPECT_NE(failed.err.find("正文识别失败"), std::string::npos);
    EXPECT_EQ(templateOf({"http://127.0.0.1:1/a"}).err, "yelian template: 无法连接服务器\n");
    EXPECT_EQ(templateOf({dir.file("missing.htm")}).status, 2);
    EXPECT_EQ(templateOf({}).status, 2);
    EXPECT_EQ(templateOf({"--pick", "6", "a"}).status, 2);
    EXPECT_EQ(templateOf({"--pick", "2", "--no-body", "a"}).status, 2);
}

TEST_F(TemplateCommandTest, RecogniseListsTheCandidatesWithThePickFirst) {
    const std::string file = dir.write("a.htm", articlePage());
    const testing::CliRun listed = run({"recognise", "--candidates", "3", file});
    EXPECT_EQ(listed.status, 0) << listed.err;
    const std::size_t body = listed.out.find("{\"body\":");
    const std::string listStart = ",\"candidates\":[{\"body\":";
    const std::size_t list = listed.out.find(listStart);
    ASSERT_NE(list, std::string::npos) << listed.out;
    // The first candidate's body is the recognition's body, with its kind and length.
    const std::size_t end = listed.out.find(",\"title\":");
    const std::string pick = listed.out.substr(body + 8, end - body - 8);
    EXPECT_EQ(listed.out.substr(list + listStart.size(), pick.size()), pick);
    EXPECT_NE(listed.out.find("\"kind\":\"pick\""), std::string::npos);
    EXPECT_NE(listed.out.find("\"textLength\":"), std::string::npos);
    EXPECT_EQ(run({"recognise", "--candidates", "0", file}).status, 2);
}

}  // namespace
}  // namespace yelian
