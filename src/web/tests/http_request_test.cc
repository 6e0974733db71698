// The request object and its composite operations against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/gbk_text.h"
#include "testing/scripted_desktop.h"
#include "web/http_request.h"
#include "web/tests/local_server.h"
#include "web/web_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::LocalServer;
using testing::Reply;
using testing::SeenRequest;

Reply site(const SeenRequest& request) {
    const std::string path = request.target.substr(0, request.target.find('?'));
    if (path == "/gbk") {
        return {200,
                {{"Content-Type", "text/html"}},
                "<meta charset=\"gb2312\"><p>"_gbk + "中文网页"_gbk + "</p>"};
    }
    if (path == "/utf8")
        return {200, {{"Content-Type", "text/html; charset=UTF-8"}}, "<p>中文</p>"};
    if (path == "/moved") return {301, {{"Location", "/utf8"}}, "gone"};
    if (path == "/cookies") {
        return {200, {{"Set-Cookie", "sid=abc; path=/"}, {"Set-Cookie", "t=1"}}, "c"};
    }
    if (path == "/gzip") {
        // "gz page" compressed by gzip -n.
        return {200,
                {{"Content-Encoding", "gzip"}},
                std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\x4b\xaf\x52\x28\x48\x4c"
                            "\x4f\x05\x00\x8a\xc5\x4b\x8d\x07\x00\x00\x00",
                            27)};
    }
    if (request.target.starts_with("http://")) {
        // Asked as a proxy: the credentials are asked for first.
        if (!request.hasHeader("Proxy-Authorization")) {
            return {407, {{"Proxy-Authenticate", "Basic realm=\"p\""}}, ""};
        }
        return {200, {}, "via proxy " + request.target};
    }
    return {200, {}, "page " + request.method + " " + request.body};
}

class HttpRequestTest : public ::testing::Test {
  protected:
    SeenRequest lastRequest() const { return server.lastRequest(); }

    LocalServer server{site};
    yelian::testing::ScriptedDesktop desktop;
    HttpRequest request{desktop};
};

TEST_F(HttpRequestTest, TheTemplateMakersCallSendsItsDefaults) {
    const std::string url = "127.0.0.1:" + std::to_string(server.port()) + "/page?x=1#part";
    EXPECT_EQ(request.requestText(url), "page GET ");
    const SeenRequest& sent = lastRequest();
    EXPECT_EQ(sent.method, "GET");
    EXPECT_EQ(sent.target, "/page?x=1");
    EXPECT_EQ(sent.header("Referer"), "http://" + url);
    EXPECT_EQ(sent.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(sent.header("User-Agent"), kChromeUserAgent);
    EXPECT_FALSE(sent.hasHeader("Cookie"));
    EXPECT_EQ(request.status(), 200);
    EXPECT_EQ(request.statusText(), "OK");
}

TEST_F(HttpRequestTest, PagesAreDecodedIntoGbk) {
    EXPECT_EQ(request.requestText(server.url("/gbk")),
              "<meta charset=\"gb2312\"><p>"_gbk + "中文网页"_gbk + "</p>");
    EXPECT_EQ(request.requestText(server.url("/utf8")), "<p>"_gbk + "中文"_gbk + "</p>");
    EXPECT_EQ(request.responseText(), "<p>"_gbk + "中文"_gbk + "</p>");
    RequestOptions raw;
    raw.encoding = -1;
    EXPECT_EQ(request.requestText(server.url("/utf8"), raw), "<p>中文</p>");
    RequestOptions detect;
    request.requestText(server.url("/utf8"), detect);
    EXPECT_EQ(detect.encoding, 2);
    EXPECT_EQ(request.requestText(server.url("/gzip")), "gz page");
    RequestOptions bytes;
    EXPECT_EQ(request.requestBytes(server.url("/gzip"), bytes), "gz page");
}

TEST_F(HttpRequestTest, PostHeadersAndCookies) {
    RequestOptions post;
    post.postText = "ignored";
    post.postData = "d=1";
    post.cookie = "c=1";
    post.keepCookies = true;
    post.extraHeaders = "X-One: 1\r\nNoSeparator\r\nX-Two: 2: extra";
    post.synchronous = true;
    request.requestText(server.url("/cookies"), post);
    const SeenRequest& sent = lastRequest();
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.body, "d=1");
    EXPECT_EQ(sent.header("Cookie"), "c=1");
    EXPECT_EQ(sent.header("X-One"), "1");
    EXPECT_EQ(sent.header("X-Two"), "2");
    EXPECT_FALSE(sent.hasHeader("NoSeparator"));
    EXPECT_EQ(request.storedCookies(), "sid=abc; path=/; t=1; ");
    EXPECT_EQ(request.responseCookieValue("sid"), "abc");

    // The stored cookies go out when none are given; "-1" sends an empty header instead.
    request.requestText(server.url("/page"));
    EXPECT_EQ(lastRequest().header("Cookie"), "sid=abc; path=/; t=1; ");
    RequestOptions none;
    none.cookie = "-1";
    request.requestText(server.url("/page"), none);
    EXPECT_TRUE(lastRequest().hasHeader("Cookie"));
    EXPECT_EQ(lastRequest().header("Cookie"), "");
    EXPECT_EQ(request.storedCookies(), "sid=abc; path=/; t=1; ");
    request.clearCookies();
    request.requestText(server.url("/page"));
    EXPECT_FALSE(lastRequest().hasHeader("Cookie"));
}

TEST_F(HttpRequestTest, RedirectsAndTheResponsesParts) {
    EXPECT_EQ(request.requestText(server.url("/moved")), "<p>"_gbk + "中文"_gbk + "</p>");
    EXPECT_EQ(request.locationOf(server.url("/moved")), "/utf8");
    EXPECT_EQ(request.statusOf(server.url("/moved")), 301);
    EXPECT_EQ(request.getResponseHeader("location"), "/utf8");
    EXPECT_NE(request.getAllResponseHeaders().find("Location: /utf8\r\n"), std::string::npos);
    EXPECT_FALSE(request.getAllResponseHeaders().starts_with("HTTP/"));
    EXPECT_EQ(request.pageCharset(server.url("/utf8")), 2);
    EXPECT_EQ(request.pageCharset(server.url("/gbk")), 0);
    RedirectOptions post;
    post.postText = "a=1";
    EXPECT_EQ(request.redirectTarget(server.url("/moved"), post), "/utf8");
    EXPECT_EQ(lastRequest().method, "POST");
}

TEST_F(HttpRequestTest, FailuresGiveEmptyResultsAndSayWhy) {
    request.open("GET", server.url("/page"));
    request.setRequestHeader("X-Evil", "1\r\nX-Injected: 2");
    const std::size_t before = server.requests().size();
    request.send();
    EXPECT_EQ(request.status(), 0);
    EXPECT_EQ(server.requests().size(), before);
    ASSERT_TRUE(request.lastError());

    RequestOptions options;
    options.timeoutSeconds = 1;
    Expected<std::string> text = request.tryRequestText("http://127.0.0.1:1/", options);
    ASSERT_FALSE(text);
    EXPECT_EQ(gbkToUtf8(text.error().message), "无法连接服务器");
    EXPECT_EQ(request.responseBody(), "");
    EXPECT_EQ(request.option(4, 0x3300), 0);
}

TEST_F(HttpRequestTest, AProxyWithCredentialsAndTheEnvironmentsProxy) {
    request.open("GET", "http://example.invalid/a");
    request.setProxy(2, "127.0.0.1:" + std::to_string(server.port()) + ",user,pass");
    request.send();
    EXPECT_EQ(request.responseBody(), "via proxy http://example.invalid/a");
    EXPECT_EQ(lastRequest().header("Proxy-Authorization"), "Basic dXNlcjpwYXNz");

    // Two parts set no credentials: the proxy's question stays unanswered.
    request.reset();
    request.open("GET", "http://example.invalid/b");
    request.setProxy(2, "127.0.0.1:" + std::to_string(server.port()) + ",user");
    request.send();
    EXPECT_EQ(request.status(), 407);

    ::setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(server.port())).c_str(), 1);
    RequestOptions ie;
    ie.proxy = "IE";
    request.requestText("http://example.invalid/c", ie);
    ::unsetenv("http_proxy");
    EXPECT_EQ(lastRequest().target, "http://example.invalid/c");
    // The proxy step, and every wait for the network, let the desktop process its events.
    EXPECT_GE(desktop.processEventsCount(), 1);
}

TEST_F(HttpRequestTest, ARequestNoLongerWantedIsGivenUpWhileItWaits) {
    testing::SilentServer silent;
    int asked = 0;
    request.setGoOn([&] { return ++asked < 3; });
    RequestOptions options;
    Expected<std::string> text = request.tryRequestText(silent.url("/never"), options);
    ASSERT_FALSE(text);
    EXPECT_EQ(gbkToUtf8(text.error().message), "下载已取消");
    EXPECT_EQ(asked, 3);
    // Events flowed before each question.
    EXPECT_GE(desktop.processEventsCount(), 3);
    // The same request object works again once it is wanted.
    request.setGoOn({});
    EXPECT_EQ(request.requestText(server.url("/utf8")), "<p>中文</p>"_gbk);
}

TEST_F(HttpRequestTest, FetchPageExGoesThroughEitherFetch) {
    PageExOptions worker;
    worker.postText = "w=1";
    EXPECT_EQ(request.fetchPageEx(server.url("/page#frag"), worker), "page POST w=1");
    EXPECT_EQ(lastRequest().header("Referer"), server.url("/page"));
    EXPECT_EQ(lastRequest().header("Accept").substr(0, 9), "image/gif");

    PageExOptions direct;
    direct.direct = true;
    direct.cookie = "old=1";
    EXPECT_EQ(request.fetchPageEx(server.url("/cookies"), direct), "c");
    EXPECT_EQ(direct.newCookies, "sid=abc; t=1");
    EXPECT_EQ(direct.body, "c");
}

TEST(FakeClientIp, ThreeHeadersWithOneAddress) {
    yelian::testing::ScriptedDesktop desktop;
    HttpRequest request(desktop);
    const std::string headers = request.fakeClientIpHeaders();
    const std::string ip = betweenMarkers(headers, "X-Forward-For: ", "\r\n");
    EXPECT_EQ(headers,
              "X-Forward-For: " + ip + "\r\nX-Forwarded-For: " + ip + "\r\nREMOTE_ADDR: " + ip);
    int parts = 0;
    for (std::size_t at = 0; at != std::string::npos; at = ip.find('.', at + 1)) ++parts;
    EXPECT_EQ(parts, 4);
}

}  // namespace
}  // namespace yelian
