// "yelian fetch" against a server on 127.0.0.1: decoded and raw output, headers, failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/tests/cli_fixture.h"
#include "support/gbk_text.h"
#include "web/tests/local_server.h"

namespace yelian {
namespace {

using namespace yelian::literals;

class FetchCommandTest : public testing::CliFixture {
  protected:
    testing::CliRun fetch(std::vector<std::string> args) {
        args.insert(args.begin(), "fetch");
        return run(args);
    }

    testing::LocalServer server{[](const testing::SeenRequest& request) {
        if (request.target == "/empty") return testing::Reply{200, {}, ""};
        return testing::Reply{200, {{"X-Page", "1"}}, "<p>"_gbk + "国标页面"_gbk + "</p>\r\n"};
    }};
};

TEST_F(FetchCommandTest, PrintsThePageDecodedOrRaw) {
    const testing::CliRun decoded = fetch({server.url("/p")});
    EXPECT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(decoded.out, "<p>国标页面</p>\r\n");
    EXPECT_EQ(decoded.err, "");

    const testing::CliRun raw = fetch({"--raw", "--headers", server.url("/p")});
    EXPECT_EQ(raw.status, 0);
    EXPECT_EQ(raw.out, "<p>"_gbk + "国标页面"_gbk + "</p>\r\n");
    EXPECT_NE(raw.err.find("X-Page: 1\n"), std::string::npos);
}

TEST_F(FetchCommandTest, FailuresAndUsageErrors) {
    const testing::CliRun refused = fetch({"http://127.0.0.1:1/"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "yelian fetch: 无法连接服务器\n");
    EXPECT_EQ(fetch({server.url("/empty")}).err, "yelian fetch: 服务器没有返回网页内容\n");
    EXPECT_EQ(fetch({"https://127.0.0.1:1/"}).status, 1);
    EXPECT_EQ(fetch({}).status, 2);
    EXPECT_EQ(fetch({"a", "b"}).status, 2);
    EXPECT_EQ(fetch({"--bogus", "a"}).err,
              "yelian fetch: unknown option '--bogus'\nTry 'yelian fetch --help'.\n");
    EXPECT_EQ(fetch({"--help"}).out.substr(0, 35), "Usage: yelian fetch [OPTIONS] URL\n\n");
}

}  // namespace
}  // namespace yelian
