#include "shell/web_pages.h"

#include "support/gbk_text.h"
#include "web/http_request.h"
#include "web/page_fetch.h"

namespace yelian {

using namespace yelian::literals;

namespace {

// A download that arrived without a body is as useless to the template maker as one that
// failed.
std::optional<Error> emptyBodyError(const std::string& body) {
    if (!body.empty()) return std::nullopt;
    return Error{"服务器没有返回网页内容"_gbk};
}

}  // namespace

std::string WebPageSource::fetchBytes(std::string_view url, const GoOn& goOn) {
    std::string address(url);
    FetchOptions options;
    options.goOn = goOn;
    Expected<FetchedPage> page = tryFetchPage(address, desktop_, options);
    if (!page) {
        lastError_ = page.error();
        return {};
    }
    lastError_ = emptyBodyError(page->body);
    return std::move(page->body);
}

std::string WebPageSource::requestText(std::string_view url, const GoOn& goOn) {
    HttpRequest request(desktop_);
    request.setGoOn(goOn);
    request.init();
    RequestOptions options;
    Expected<std::string> text = request.tryRequestText(url, options);
    if (!text) {
        lastError_ = text.error();
        return {};
    }
    lastError_ = emptyBodyError(*text);
    return std::move(*text);
}

}  // namespace yelian
