// The page fetch: the request as the worker builds it, the worker itself and the caller's
// wait, and the direct fetch with its cookie merge.
#include "web/page_fetch.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "support/gbk_text.h"
#include "web/cookies.h"
#include "web/curl_transfer.h"
#include "web/web_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

// How long one wait for the worker lasts before the desktop gets its events again.
constexpr std::chrono::milliseconds kWaitSlice{20};

constexpr std::string_view kCrLf = "\r\n";

const std::string& refusedMessage() {
    return "网址、请求头或 Cookie 中含有换行符，已拒绝发送"_gbk;
}

// True when header text has a CR or LF outside the CR LF pairs that end its lines.
bool hasStrayLineBreak(std::string_view headers) {
    return hasLineBreakOrNul(replaceEvery(headers, kCrLf, ""));
}

// The record the worker fills. Caller and worker each hold it, so whichever lets go last
// frees it: a worker that outlives its caller writes only here.
struct FetchRecord {
    TransferRequest request;
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::optional<Expected<FetchedPage>> outcome;
};

FetchedPage pageOf(TransferResult&& result) {
    FetchedPage page;
    page.receivedCookies = receivedCookieText(result.headerBlock);
    page.responseHeaders = std::move(result.headerBlock);
    page.body = std::move(result.body);
    return page;
}

void runWorker(std::shared_ptr<FetchRecord> record) {
    const DetachedTransferScope scope;
    Expected<TransferResult> result = performTransfer(record->request);
    Expected<FetchedPage> page = result ? Expected<FetchedPage>(pageOf(std::move(*result)))
                                        : Expected<FetchedPage>(result.error());
    std::lock_guard lock(record->mutex);
    record->outcome.emplace(std::move(page));
    record->done = true;
    record->ended.notify_all();
}

// The worker's request: secure when "https://" occurs anywhere in the address, the port the
// address names (else the scheme's), the proxy for plain HTTP only.
TransferRequest workerRequest(std::string_view url, const FetchOptions& options, int timeoutMs) {
    const bool secure = lowerAscii(url).find("https://") != std::string::npos;
    const bool post = options.method == 1;
    const std::string hostAndPort = urlHost(url, true);
    const int port = hostAndPort.find(':') != std::string::npos ? urlPort(url) : secure ? 443 : 80;
    TransferRequest request;
    request.url = std::string(secure ? "https://" : "http://") + urlHost(url) + ":" +
                  std::to_string(port) + urlPath(url);
    request.method = post ? "POST" : "GET";
    request.userAgent = fetchUserAgent(options.headers);
    const std::string headers =
        fetchRequestHeaders(options.headers, url, post, options.postData, options.cookie);
    request.headerLines = nonEmptyLines(headers);
    // The agent goes out trimmed, in place of the caller's line.
    if (!request.userAgent.empty()) {
        std::erase_if(request.headerLines, [](const std::string& line) {
            return lowerAscii(line).starts_with("user-agent:");
        });
    }
    // Only the header text above goes out: no Expect, and no form type or length of libcurl's.
    request.headerLines.push_back("Expect:");
    if (post) {
        if (!containsAnyCase(headers, "Content-Type"))
            request.headerLines.push_back("Content-Type:");
        if (!containsAnyCase(headers, "Content-Length")) {
            request.headerLines.push_back("Content-Length:");
        }
        if (!options.postData.empty()) request.body = options.postData;
    }
    if (!secure) request.proxy = options.proxy;
    request.followRedirects = !options.noAutoRedirect;
    // The worker gives up by itself too, so that it never outlives its caller by much.
    request.timeouts.totalMs = timeoutMs;
    return request;
}

Expected<FetchedPage> waitForWorker(const std::shared_ptr<FetchRecord>& record,
                                    DesktopServices& desktop, int timeoutMs, const GoOn& goOn) {
    const std::int64_t start = desktop.ticks();
    for (;;) {
        bool ended = false;
        {
            std::unique_lock lock(record->mutex);
            ended = record->ended.wait_for(lock, kWaitSlice, [&] { return record->done; });
        }
        const bool timedOut = desktop.ticks() - start >= timeoutMs;
        desktop.processPendingEvents();
        if (timedOut) {
            record->cancelled = true;
            return Error{"等待网页超时，已放弃下载"_gbk};
        }
        if (!ended && goOn && !goOn()) {
            record->cancelled = true;
            return Error{"下载已取消"_gbk};
        }
        if (ended) break;
    }
    std::lock_guard lock(record->mutex);
    return std::move(*record->outcome);
}

bool hasLineBreakIn(const FetchOptions& options, std::string_view url) {
    return hasLineBreakOrNul(url) || hasLineBreakOrNul(options.cookie) ||
           hasLineBreakOrNul(options.proxy) || hasStrayLineBreak(options.headers);
}

std::string directRequestUrl(std::string_view url) {
    const bool secure = lowerAscii(url.substr(0, 5)) == "https";
    return std::string(secure ? "https://" : "http://") + urlHost(url) + ":" +
           std::to_string(urlPort(url)) + urlPath(url);
}

}  // namespace

std::string fetchUserAgent(std::string_view headers) {
    if (!containsAnyCase(headers, "User-Agent:")) return std::string(kChromeUserAgent);
    return trimBlanks(betweenMarkers(headers, "User-Agent:", kCrLf));
}

std::string fetchRequestHeaders(std::string headers, std::string_view url, bool post,
                                std::string_view postData, std::string_view cookie) {
    if (!containsAnyCase(headers, "Accept")) {
        headers +=
            "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
            "application/x-shockwave-flash, application/vnd.ms-excel, "
            "application/vnd.ms-powerpoint, application/msword, */*\r\n";
    }
    if (containsAnyCase(headers, "RefererNo")) {
        const std::size_t marker = headers.find("RefererNo");
        if (marker != std::string::npos) headers.erase(marker, 9);
    } else if (!containsAnyCase(headers, "Referer")) {
        headers.append("Referer: ").append(url).append(kCrLf);
    }
    if (!containsAnyCase(headers, "Accept-Language")) headers += "Accept-Language: zh-cn\r\n";
    if (post && !postData.empty()) {
        if (!containsAnyCase(headers, "Content-Type")) {
            headers += "Content-Type: application/x-www-form-urlencoded\r\n";
        }
        if (!containsAnyCase(headers, "Content-Length")) {
            headers.append("Content-Length: ")
                .append(std::to_string(postData.size()))
                .append(kCrLf);
        }
    }
    if (!cookie.empty()) headers.append("Cookie: ").append(cookie).append("\r\n\r\n");
    return headers;
}

Expected<FetchedPage> tryFetchPage(std::string& url, DesktopServices& desktop,
                                   const FetchOptions& options) {
    if (trimBlanks(url).empty()) return Error{"没有网址"_gbk};
    if (!url.starts_with("http://") && !url.starts_with("https://")) url.insert(0, "http://");
    if (hasLineBreakIn(options, url)) return Error{refusedMessage()};
    const int timeoutMs = options.timeoutSeconds * 1000;
    if (timeoutMs <= 0) return Error{"等待网页超时，已放弃下载"_gbk};

    auto record = std::make_shared<FetchRecord>();
    record->request = workerRequest(url, options, timeoutMs);
    record->request.cancelled = &record->cancelled;
    try {
        std::thread(runWorker, record).detach();
    } catch (const std::system_error&) {
        return Error{"无法启动下载线程"_gbk};
    }
    return waitForWorker(record, desktop, timeoutMs, options.goOn);
}

std::string fetchPage(std::string& url, DesktopServices& desktop, const FetchOptions& options) {
    Expected<FetchedPage> page = tryFetchPage(url, desktop, options);
    return page ? std::move(page->body) : std::string();
}

std::string directUserAgent(std::string_view headers) {
    // The agent is the header's value: with the header's name in front as well, servers
    // would read "User-Agent: User-Agent: ...".
    if (!containsAnyCase(headers, "User-Agent:")) return std::string(kChromeUserAgent);
    std::string agent = trimBlanks(betweenMarkers(headers, "User-Agent:", kCrLf));
    if (agent.empty()) {
        const std::size_t colon = headers.find(':');
        agent = trimBlanks(headers.substr(colon + 1));
    }
    return agent;
}

std::string directRequestHeaders(std::string headers, std::string_view cookie) {
    if (headers.empty()) {
        headers = "Accept: */*";
    } else if (headers.find("Accept:") == std::string::npos) {
        headers += "\r\nAccept: */*";
    }
    if (headers.find("Accept-Language:") == std::string::npos) {
        headers += "\r\nAccept-Language: zh-cn";
    }
    if (headers.find("Content-Type:") == std::string::npos) {
        headers += "\r\nContent-Type: application/x-www-form-urlencoded";
    }
    if (!cookie.empty()) headers.append("\r\nCookie: ").append(cookie);
    return headers;
}

Expected<std::string> tryFetchPageDirect(DirectFetch& exchange) {
    const std::string agent = directUserAgent(exchange.headers);
    exchange.headers = directRequestHeaders(exchange.headers, exchange.cookie);
    const std::string proxy = exchange.proxy.value_or("");
    if (hasLineBreakOrNul(exchange.url) || hasLineBreakOrNul(exchange.cookie) ||
        hasLineBreakOrNul(proxy) || hasStrayLineBreak(exchange.headers)) {
        return Error{refusedMessage()};
    }
    const long timeoutMs = exchange.timeoutSeconds > 0 ? exchange.timeoutSeconds * 1000L : 30000L;

    TransferRequest request;
    request.url = directRequestUrl(exchange.url);
    request.userAgent = agent;
    request.headerLines = nonEmptyLines(exchange.headers);
    request.headerLines.push_back("Expect:");
    if (exchange.method == 1) {
        request.method = "POST";
        request.body = exchange.postData.empty() ? exchange.postText : exchange.postData;
    }
    // Unlike the worker's, this proxy serves secure addresses as well.
    request.proxy = proxy;
    request.followRedirects = !exchange.noAutoRedirect;
    // Connecting, sending and receiving each get the time-out, and together no more.
    request.timeouts = {.connectMs = timeoutMs, .stallMs = timeoutMs, .totalMs = 3 * timeoutMs};

    Expected<TransferResult> result = performTransfer(request);
    if (!result) return result.error();
    exchange.responseHeaders = replaceEvery(result->headerBlock, "Set-Cookie", "Set-Cookie", true);
    exchange.newCookies = collectNewCookies(result->headerBlock);
    if (!exchange.cookie.empty()) {
        std::string received = exchange.newCookies;
        mergeCookies(exchange.cookie, received);
    }
    return std::move(result->body);
}

std::string fetchPageDirect(DirectFetch& exchange) {
    Expected<std::string> body = tryFetchPageDirect(exchange);
    return body ? std::move(*body) : std::string();
}

}  // namespace yelian
