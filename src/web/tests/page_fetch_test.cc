// The page fetch and the direct fetch against servers on 127.0.0.1: what goes out on the
// wire, what comes back, and the limits that keep a server from holding the caller.
#include <gtest/gtest.h>

#include <string>

#include "support/gbk_text.h"
#include "testing/gzip.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"
#include "web/curl_transfer.h"
#include "web/page_fetch.h"
#include "web/tests/local_server.h"
#include "web/web_text.h"

namespace yelian {
namespace {

using testing::gzip;

using namespace yelian::literals;
using testing::LocalServer;
using testing::Reply;
using testing::SeenRequest;

// Pages by path: a plain page, a redirect, cookies, a gzip body and a body far over the limit.
Reply site(const SeenRequest& request) {
    const std::string path = request.target.substr(0, request.target.find('?'));
    if (path == "/moved") return {302, {{"Location", "/page"}}, "moved here"};
    if (path == "/loop") return {302, {{"Location", "/loop"}}, ""};
    if (path == "/cookies") {
        return {200, {{"Set-Cookie", "sid=abc; path=/; HttpOnly"}, {"Set-Cookie", "plain=1"}}, "c"};
    }
    if (path == "/gzip") return {200, {{"Content-Encoding", "gzip"}}, gzip("zipped page")};
    if (path == "/huge") return {200, {}, "", std::uint64_t{100} << 20};
    if (path == "/huge-chunked") return {200, {}, "", std::uint64_t{100} << 20, true};
    return {200, {{"Content-Type", "text/html"}}, "page " + request.method + " " + request.body};
}

// Options with the fields a test names changed.
template <typename Change>
FetchOptions withOptions(Change change) {
    FetchOptions options;
    change(options);
    return options;
}

class PageFetchTest : public ::testing::Test {
  protected:
    std::string fetch(std::string url, const FetchOptions& options = {}) {
        return fetchPage(url, desktop, options);
    }
    SeenRequest lastRequest() const { return server.lastRequest(); }

    LocalServer server{site};
    yelian::testing::ScriptedDesktop desktop;
};

TEST_F(PageFetchTest, GetSendsTheRequestLineAndTheCompletedHeaders) {
    std::string url = server.url("/page?q=1");
    EXPECT_EQ(fetchPage(url, desktop), "page GET ");
    const SeenRequest& request = lastRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/page?q=1");
    EXPECT_EQ(request.version, "HTTP/1.1");
    EXPECT_EQ(request.header("User-Agent"), kChromeUserAgent);
    EXPECT_EQ(request.header("Accept").substr(0, 20), "image/gif, image/bmp");
    EXPECT_EQ(request.header("Referer"), url);
    EXPECT_EQ(request.header("Accept-Language"), "zh-cn");
    EXPECT_FALSE(request.hasHeader("Cookie"));
    EXPECT_FALSE(request.hasHeader("Content-Type"));
    EXPECT_GE(desktop.processEventsCount(), 1);
}

TEST_F(PageFetchTest, ExtraHeadersNameTheAgentAndDropTheReferer) {
    fetch(server.url(), withOptions([](FetchOptions& o) {
              o.headers = "User-Agent: TestBot/2 \r\nRefererNo\r\n";
          }));
    const SeenRequest& request = lastRequest();
    EXPECT_EQ(request.header("User-Agent"), "TestBot/2");
    EXPECT_FALSE(request.hasHeader("Referer"));
    for (const auto& [name, value] : request.headers)
        EXPECT_EQ(name.find("RefererNo"), std::string::npos);
}

TEST_F(PageFetchTest, PostSendsItsBodyWithTypeLengthAndCookie) {
    EXPECT_EQ(fetch(server.url("/form"), withOptions([](FetchOptions& o) {
                        o.method = 1;
                        o.postData = "a=1&b=2";
                        o.cookie = "k=v";
                    })),
              "page POST a=1&b=2");
    const SeenRequest& request = lastRequest();
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.header("Content-Length"), "7");
    EXPECT_EQ(request.header("Cookie"), "k=v");
    EXPECT_FALSE(request.hasHeader("Expect"));

    fetch(server.url("/form"), withOptions([](FetchOptions& o) { o.method = 1; }));
    const SeenRequest& empty = lastRequest();
    EXPECT_EQ(empty.method, "POST");
    EXPECT_FALSE(empty.hasHeader("Content-Type"));
    EXPECT_FALSE(empty.hasHeader("Content-Length"));
}

TEST_F(PageFetchTest, AnAddressWithoutSchemeGetsHttpAndKeepsItsPort) {
    std::string url = "127.0.0.1:" + std::to_string(server.port()) + "/page";
    EXPECT_EQ(fetchPage(url, desktop), "page GET ");
    EXPECT_EQ(url, server.url("/page"));
    EXPECT_EQ(lastRequest().header("Referer"), url);

    std::string blank = " 　"_gbk;
    EXPECT_EQ(fetchPage(blank, desktop), "");
    EXPECT_EQ(blank, " 　"_gbk);
}

TEST_F(PageFetchTest, RedirectsAreFollowedUnlessTurnedOff) {
    Expected<FetchedPage> followed = [&] {
        std::string url = server.url("/moved");
        return tryFetchPage(url, desktop);
    }();
    ASSERT_TRUE(followed) << gbkToUtf8(followed.error().message);
    EXPECT_EQ(followed->body, "page GET ");
    EXPECT_TRUE(followed->responseHeaders.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(followed->responseHeaders.ends_with("\r\n\r\n"));

    std::string url = server.url("/moved");
    Expected<FetchedPage> stopped =
        tryFetchPage(url, desktop, withOptions([](FetchOptions& o) { o.noAutoRedirect = true; }));
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->body, "moved here");
    EXPECT_NE(stopped->responseHeaders.find("Location: /page\r\n"), std::string::npos);

    EXPECT_EQ(fetch(server.url("/loop")), "");
    EXPECT_EQ(server.requests().size(), 3u + 1 + kMaxRedirects);
}

TEST_F(PageFetchTest, ReceivedCookiesAndTheRawGzipBody) {
    std::string url = server.url("/cookies");
    Expected<FetchedPage> page = tryFetchPage(url, desktop);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->receivedCookies, "sid=abc;;");
    EXPECT_EQ(fetch(server.url("/gzip")), gzip("zipped page"));
}

TEST_F(PageFetchTest, ASilentServerTimesOutWhileEventsFlowAndLaterFetchesWork) {
    testing::SilentServer silent;
    int events = 0;
    desktop.onProcessEvents([&] {
        ++events;
        desktop.advanceClock(250);
    });
    std::string url = silent.url();
    Expected<FetchedPage> page =
        tryFetchPage(url, desktop, withOptions([](FetchOptions& o) { o.timeoutSeconds = 1; }));
    ASSERT_FALSE(page);
    EXPECT_EQ(gbkToUtf8(page.error().message), "等待网页超时，已放弃下载");
    // The fifth wait finds the whole second gone.
    EXPECT_EQ(events, 5);

    desktop.onProcessEvents({});
    EXPECT_EQ(fetch(server.url("/page")), "page GET ");
    EXPECT_EQ(
        fetch(server.url("/page"), withOptions([](FetchOptions& o) { o.timeoutSeconds = 0; })), "");
}

TEST_F(PageFetchTest, ADownloadNoLongerWantedIsAbandonedBeforeItsTimeOut) {
    testing::SilentServer silent;
    int asked = 0;
    std::string url = silent.url();
    Expected<FetchedPage> page = tryFetchPage(
        url, desktop, withOptions([&](FetchOptions& o) { o.goOn = [&] { return ++asked < 3; }; }));
    ASSERT_FALSE(page);
    EXPECT_EQ(gbkToUtf8(page.error().message), "下载已取消");
    EXPECT_EQ(asked, 3);
}

TEST_F(PageFetchTest, LineBreaksInAddressCookieOrHeadersAreRefused) {
    const std::size_t before = server.requests().size();
    EXPECT_EQ(fetch(server.url("/page\r\nX-Evil: 1")), "");
    EXPECT_EQ(fetch(server.url("/page"),
                    withOptions([](FetchOptions& o) { o.cookie = "a=1\r\nX-Evil: 1"; })),
              "");
    EXPECT_EQ(fetch(server.url("/page"),
                    withOptions([](FetchOptions& o) { o.headers = "X-A: 1\nX-Evil: 1\r\n"; })),
              "");
    DirectFetch direct;
    direct.url = server.url("/page");
    direct.cookie = "a\r\nb";
    EXPECT_EQ(fetchPageDirect(direct), "");
    EXPECT_EQ(server.requests().size(), before);
}

TEST_F(PageFetchTest, ABodyOverTheLimitFailsEmpty) {
    std::string url = server.url("/huge");
    Expected<FetchedPage> page = tryFetchPage(url, desktop);
    ASSERT_FALSE(page);
    EXPECT_EQ(gbkToUtf8(page.error().message), "网页超过 64 MiB，已停止下载");
    // Without a length in advance the body is cut off where it passes the limit.
    EXPECT_EQ(fetch(server.url("/huge-chunked")), "");
}

TEST_F(PageFetchTest, DirectFetchSendsItsHeadersAndMergesCookies) {
    DirectFetch exchange;
    exchange.url = server.url("/cookies");
    exchange.method = 1;
    exchange.postText = "t=1";
    exchange.cookie = "old=1; sid=zzz";
    exchange.headers = "X-Test: 1";
    EXPECT_EQ(fetchPageDirect(exchange), "c");
    const SeenRequest& request = lastRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.body, "t=1");
    EXPECT_EQ(request.header("X-Test"), "1");
    EXPECT_EQ(request.header("Accept"), "*/*");
    EXPECT_EQ(request.header("Cookie"), "old=1; sid=zzz");
    // The agent goes out once, not with its own header name inside its value.
    EXPECT_EQ(request.header("User-Agent"), std::string(kChromeUserAgent));
    EXPECT_FALSE(request.hasHeader("Referer"));
    EXPECT_EQ(exchange.headers,
              "X-Test: 1\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\nCookie: old=1; sid=zzz");
    EXPECT_EQ(exchange.newCookies, "sid=abc; plain=1");
    EXPECT_EQ(exchange.cookie, "sid=abc; plain=1; old=1");

    DirectFetch fresh;
    fresh.url = server.url("/cookies");
    fetchPageDirect(fresh);
    EXPECT_EQ(fresh.cookie, "");
    EXPECT_EQ(fresh.newCookies, "sid=abc; plain=1");
}

class SecureFetchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        identity = testing::makeSelfSignedIdentity(dir.path().string());
        if (!identity) GTEST_SKIP() << "the openssl tool is needed to make a certificate";
        server = std::make_unique<LocalServer>(site, &*identity);
        ASSERT_TRUE(server->running());
    }

    yelian::testing::TempDir dir;
    std::optional<testing::TlsIdentity> identity;
    std::unique_ptr<LocalServer> server;
};

TEST_F(SecureFetchTest, ASelfSignedCertificateIsRefused) {
    yelian::testing::ScriptedDesktop desktop;
    std::string url = server->url("/page");
    Expected<FetchedPage> page = tryFetchPage(url, desktop);
    ASSERT_FALSE(page);
    EXPECT_EQ(gbkToUtf8(page.error().message), "服务器的证书未通过验证，已拒绝连接");
    EXPECT_TRUE(server->requests().empty());
}

TEST_F(SecureFetchTest, ATrustedCertificateLetsThePageThrough) {
    TransferRequest request;
    request.url = server->url("/page");
    request.extraTrustedCertificate = identity->certificateFile;
    Expected<TransferResult> result = performTransfer(request);
    ASSERT_TRUE(result) << gbkToUtf8(result.error().message);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->body, "page GET ");
}

}  // namespace
}  // namespace yelian
