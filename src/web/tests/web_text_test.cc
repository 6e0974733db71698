// Markers, addresses and cookie texts: the pure text routines of the web client.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/gbk_text.h"
#include "web/cookies.h"
#include "web/page_fetch.h"
#include "web/web_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

TEST(Markers, BetweenAndBefore) {
    EXPECT_EQ(betweenMarkers("a<b>c</b>d<b>e</b>", "<b>", "</b>"), "c");
    EXPECT_EQ(betweenMarkers("x=\"v\" y", "x=#引号"_gbk, "#引号"_gbk), "v");
    EXPECT_EQ(betweenMarkers("abc", "B", "c"), "");
    EXPECT_EQ(betweenMarkers("abc", "a", "x"), "");
    EXPECT_EQ(textBefore("a=1; path=/", ";"), "a=1");
    EXPECT_EQ(textBefore("a=1", ";"), "");
    EXPECT_EQ(trimBlanks("　 a b　 "_gbk), "a b");
}

TEST(Urls, HostPathAndPort) {
    const std::tuple<std::string, std::string, std::string, int> cases[] = {
        {"http://Example.COM/A/b?q=1#f", "example.com", "/A/b?q=1#f", 80},
        {"https://example.com", "example.com", "/", 443},
        {"example.com:8080/x", "example.com", "/x", 8080},
        {"HTTPS://host:9443/", "host", "/", 9443},
        {"http://h/p", "h", "/p", 80},
        {"http://127.0.0.1:abc/", "127.0.0.1", "/", 0},
    };
    for (const auto& [url, host, path, port] : cases) {
        EXPECT_EQ(urlHost(url), host) << url;
        EXPECT_EQ(urlPath(url), path) << url;
        EXPECT_EQ(urlPort(url), port) << url;
    }
    EXPECT_EQ(urlHost("http://h:81/", true), "h:81");
}

TEST(FetchHeaders, CompletedAsTheWorkerSendsThem) {
    EXPECT_EQ(fetchRequestHeaders("", "http://h/", false, "", ""),
              "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
              "application/x-shockwave-flash, application/vnd.ms-excel, "
              "application/vnd.ms-powerpoint, application/msword, */*\r\n"
              "Referer: http://h/\r\nAccept-Language: zh-cn\r\n");
    // A caller's Accept-Language counts as Accept; the marker is taken out, no Referer added.
    EXPECT_EQ(fetchRequestHeaders("Accept-Language: en\r\nRefererNo", "u", true, "ab", "c=1"),
              "Accept-Language: en\r\nContent-Type: application/x-www-form-urlencoded\r\n"
              "Content-Length: 2\r\nCookie: c=1\r\n\r\n");
    // A POST without data gets no form type or length; a text without CR LF runs on.
    EXPECT_EQ(fetchRequestHeaders("Accept: */*\r\nReferer: r", "u", true, "", ""),
              "Accept: */*\r\nReferer: rAccept-Language: zh-cn\r\n");
    EXPECT_EQ(fetchUserAgent("X: 1\r\nUser-Agent:  Bot/1 \r\n"), "Bot/1");
    EXPECT_EQ(fetchUserAgent(""), kChromeUserAgent);
}

TEST(DirectHeaders, CompletedAndAgent) {
    EXPECT_EQ(directRequestHeaders("", ""),
              "Accept: */*\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(directRequestHeaders("X: 1", "a=1"),
              "X: 1\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1");
    EXPECT_EQ(directUserAgent("User-Agent: Bot"), "Bot");
    EXPECT_EQ(directUserAgent(""), std::string(kChromeUserAgent));
}

TEST(Cookies, MergeCases) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"a=1; b=2", "b=3", "b=3; a=1"},
        {"a=1; b=2", "a=deleted", "b=2"},
        {"a = 1", "", "a=1"},
        {"", "x=1; x=1", "x=1"},
        {"", "x=1; x=2", "x=1; x=2"},
        {"a=1", "b=2;c=3;", "b=2; c=3; a=1"},
        {"", "", ""},
    };
    for (const auto& [keptIn, receivedIn, merged] : cases) {
        std::string kept = keptIn;
        std::string received = receivedIn;
        EXPECT_EQ(mergeCookies(kept, received), merged) << keptIn << " + " << receivedIn;
        EXPECT_EQ(kept, merged);
        EXPECT_EQ(received.find(' '), std::string::npos);
    }
    EXPECT_EQ(cookieName(" sid =x=y"), "sid");
    EXPECT_EQ(cookieName("flag"), "flag");
    EXPECT_EQ(uniqueJoin("a; b; a; c; b", "; "), "a; b; c");
}

TEST(Cookies, TakenFromResponseHeaders) {
    const std::string headers =
        "HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n"
        "Set-Cookie:c=3; HttpOnly\r\nX: y\r\n\r\n";
    // fetchPage: the first pair and ";" per line with "Set-Cookie: ", a lone ";" without ";".
    EXPECT_EQ(receivedCookieText(headers), "a=1;;");
    EXPECT_EQ(receivedCookieText("HTTP/1.1 200 OK\r\n\r\n"), "");
    EXPECT_EQ(collectNewCookies(headers), "a=1; b=2; c=3");
    EXPECT_EQ(collectNewCookies("X: y\r\n"), "");

    const std::string lines = "Set-Cookie: a=1; path=/\r\nSet-Cookie:b=2\r\nX: y\r\n";
    EXPECT_EQ(setCookieLinesIn(lines), "Set-Cookie: a=1; path=/\r\nSet-Cookie:b=2\r\n");
    EXPECT_EQ(responseCookiesIn(lines), "a=1; path=/; Set-Cookie:b=2; ");
    EXPECT_EQ(responseCookiesIn("X: y\r\n"), "");
    EXPECT_EQ(responseCookieValueIn(lines, "a"), "1");
    // A value that ends its line runs on to the next ";".
    EXPECT_EQ(responseCookieValueIn("Set-Cookie:b=2\r\nX: y; z", "b"), "2\r\nX: y");
    EXPECT_EQ(responseCookieValueIn(lines, "q"), "");
}

}  // namespace
}  // namespace yelian
