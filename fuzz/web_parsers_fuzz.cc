// The web client's readers of what a server sends and a user types, without the network:
// cookies from response headers and their merging, the request header blocks, the agent and
// charset found in header text, and the parts of an address.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "web/cookies.h"
#include "web/curl_transfer.h"
#include "web/page_fetch.h"
#include "web/web_text.h"

namespace {

using namespace yelian;

void readCookies(std::string_view headers, std::string_view name, std::string kept) {
    std::string received = receivedCookieText(headers);
    mergeCookies(kept, received);
    std::string collected = collectNewCookies(headers);
    mergeCookies(kept, collected);
    cookieName(headers);
    uniqueJoin(headers, name);
    responseCookieValueIn(headers, name);
    setCookieLinesIn(headers);
    responseCookiesIn(headers);
}

void buildHeaders(bool post, std::string_view headers, std::string_view url,
                  std::string_view cookie) {
    fetchRequestHeaders(std::string(headers), url, post, cookie, cookie);
    directRequestHeaders(std::string(headers), cookie);
    fetchUserAgent(headers);
    directUserAgent(headers);
    declaresUtf8(headers);
    hasLineBreakOrNul(headers);
}

void takeAddressApart(std::string_view url) {
    urlHost(url, false);
    urlHost(url, true);
    urlPath(url);
    urlPort(url);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const bool post = input.takeBool();
    const std::string url(input.takeText());
    const std::string cookie(input.takeText());
    const std::string headers(input.takeRest());
    readCookies(headers, url, cookie);
    buildHeaders(post, headers, url, cookie);
    takeAddressApart(url);
    return 0;
}
