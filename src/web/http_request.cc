// The request object over libcurl and its composite operations.
#include "web/http_request.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

#include "support/gbk_text.h"
#include "support/random_source.h"
#include "support/text_encoding.h"
#include "support/text_routines.h"
#include "web/cookies.h"
#include "web/curl_transfer.h"
#include "web/page_fetch.h"
#include "web/web_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

// The platform's own agent, sent when no User-Agent header was set.
constexpr std::string_view kDefaultAgent =
    "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";
constexpr std::string_view kOldBrowserAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)";
constexpr std::string_view kIe9Agent =
    "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)";
constexpr std::string_view kLookupAccept =
    "image/gif, image/x-xbitmap, image/jpeg, imagepeg, application/x-shockwave-flash, "
    "application/x-silverlight, */*";
constexpr int kRedirectOption = 6;
constexpr int kIgnoredCertificateErrorsOption = 4;

bool equalsAnyCase(std::string_view a, std::string_view b) {
    return lowerAscii(a) == lowerAscii(b);
}

// The charset parameter of a Content-Type value, without quotes; empty when there is none.
std::string charsetOf(std::string_view contentType) {
    const std::string lowered = lowerAscii(contentType);
    const std::size_t at = lowered.find("charset=");
    if (at == std::string::npos) return {};
    std::string charset = lowered.substr(at + 8);
    charset = charset.substr(0, charset.find(';'));
    std::erase_if(charset, [](char c) { return c == '"' || c == '\'' || c == ' '; });
    return charset;
}

bool isCharsetName(std::string_view name) {
    if (name.empty() || name.size() > 40) return false;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || c == '.' || c == ':';
        if (!plain) return false;
    }
    return true;
}

bool isGbkFamily(std::string_view charset) {
    for (const std::string_view name : {"gbk", "gb2312", "gb18030", "x-gbk", "cp936"}) {
        if (charset == name) return true;
    }
    return false;
}

TextEncoding textEncodingOf(int encoding) {
    return encoding >= 0 && encoding <= 6 ? static_cast<TextEncoding>(encoding)
                                          : TextEncoding::Auto;
}

// The environment's proxy for the address, as a browser setting would give it.
std::string environmentProxy(std::string_view url) {
    const bool secure = lowerAscii(url).starts_with("https://");
    for (const char* name : secure ? std::array{"https_proxy", "HTTPS_PROXY"}
                                   : std::array{"http_proxy", "HTTP_PROXY"}) {
        if (const char* value = std::getenv(name); value && *value) return value;
    }
    return {};
}

std::string normalisedUrl(std::string_view url) {
    std::string normalised(url);
    if (!normalised.empty() && !normalised.starts_with("http://") &&
        !normalised.starts_with("https://")) {
        normalised.insert(0, "http://");
    }
    normalised = normalised.substr(0, normalised.find('#'));
    return normalised;
}

}  // namespace

// The request as it is being set up, and its response once one arrived.
struct HttpRequest::Exchange {
    std::string method = "GET";
    std::string url;
    bool async = false;
    std::vector<std::pair<std::string, std::string>> headers;
    bool refused = false;
    std::optional<std::string> body;
    bool pending = false;
    std::optional<TransferResult> response;
    std::optional<Error> error;
    std::map<int, long> options{{kRedirectOption, 1}};
    // The platform's defaults: no resolve limit, 60 s to connect, 30 s to send and receive.
    long resolveMs = 0;
    long connectMs = 60000;
    long sendMs = 30000;
    long receiveMs = 30000;
    std::string proxy;
    std::string bypass;
    std::string proxyUser;
    std::string proxyPassword;
    std::string user;
    std::string password;
    std::string clientCertificate;
    int autoLogonPolicy = 0;
};

HttpRequest::HttpRequest(DesktopServices& desktop) : desktop_(&desktop) {
    init();
}

void HttpRequest::init() {
    exchange_ = std::make_shared<Exchange>();
}

void HttpRequest::reset() {
    init();
}

void HttpRequest::resetAll() {
    reset();
    clearCookies();
}

void HttpRequest::open(std::string_view method, std::string_view url, bool async) {
    Exchange& exchange = *exchange_;
    exchange.method = method.empty() ? "GET" : std::string(method);
    exchange.url = normalisedUrl(url);
    exchange.async = async;
    exchange.headers.clear();
    exchange.refused = hasLineBreakOrNul(exchange.url) || hasLineBreakOrNul(exchange.method);
    exchange.body.reset();
    exchange.pending = false;
    exchange.response.reset();
    exchange.error.reset();
}

void HttpRequest::setRequestHeader(std::string_view name, std::string_view value) {
    std::string text(value);
    if (equalsAnyCase(name, "referer") && !text.starts_with("http://") &&
        !text.starts_with("https://")) {
        text.insert(0, "http://");
    }
    Exchange& exchange = *exchange_;
    if (hasLineBreakOrNul(name) || hasLineBreakOrNul(text)) {
        exchange.refused = true;
        return;
    }
    for (auto& [present, presentValue] : exchange.headers) {
        if (equalsAnyCase(present, name)) {
            presentValue = std::move(text);
            return;
        }
    }
    exchange.headers.emplace_back(name, std::move(text));
}

void HttpRequest::setTimeouts(long resolve, long connect, long send, long receive) {
    Exchange& exchange = *exchange_;
    exchange.resolveMs = resolve;
    exchange.connectMs = connect < 1 ? resolve : connect;
    exchange.sendMs = send < 1 ? resolve : send;
    exchange.receiveMs = receive < 1 ? resolve : receive;
}

void HttpRequest::setProxy(int setting, std::string_view proxy, std::string_view bypass) {
    std::vector<std::string> parts = splitText(proxy, ",");
    parts.resize(3);
    Exchange& exchange = *exchange_;
    exchange.proxy = setting == 2 ? parts[0] : std::string();
    exchange.bypass = std::string(bypass);
    if (!parts[1].empty() && !parts[2].empty()) setCredentials(parts[1], parts[2], 1);
}

void HttpRequest::setCredentials(std::string_view user, std::string_view password, int flags) {
    Exchange& exchange = *exchange_;
    (flags == 1 ? exchange.proxyUser : exchange.user) = std::string(user);
    (flags == 1 ? exchange.proxyPassword : exchange.password) = std::string(password);
}

void HttpRequest::setClientCertificate(std::string_view certificate) {
    exchange_->clientCertificate = std::string(certificate);
}

void HttpRequest::setAutoLogonPolicy(int policy) {
    exchange_->autoLogonPolicy = policy;
}

long HttpRequest::option(int index, std::optional<long> value) {
    // No certificate error is ever ignored, whatever a caller asks for.
    if (value && index != kIgnoredCertificateErrorsOption) exchange_->options[index] = *value;
    const auto found = exchange_->options.find(index);
    return found == exchange_->options.end() ? 0 : found->second;
}

void HttpRequest::send(std::string_view text, std::string_view bytes) {
    option(kIgnoredCertificateErrorsOption, 0);
    Exchange& exchange = *exchange_;
    if (!bytes.empty()) {
        exchange.body = std::string(bytes);
    } else if (!text.empty()) {
        exchange.body = std::string(text);
    }
    exchange.pending = true;
    if (!exchange.async) perform(0);
}

bool HttpRequest::waitForResponse(double seconds) {
    if (exchange_->pending) perform(seconds > 0 ? static_cast<long>(seconds * 1000) : 0);
    return exchange_->response.has_value();
}

void HttpRequest::abort() {
    exchange_->pending = false;
    exchange_->response.reset();
}

void HttpRequest::perform(long boundMs) {
    Exchange& exchange = *exchange_;
    exchange.pending = false;
    exchange.response.reset();
    exchange.error.reset();
    if (exchange.refused) {
        exchange.error = Error{"网址、请求头或 Cookie 中含有换行符，已拒绝发送"_gbk};
        return;
    }
    TransferRequest request;
    request.url = exchange.url;
    request.method = exchange.method;
    request.body = exchange.body;
    request.userAgent = std::string(kDefaultAgent);
    bool hasContentType = false;
    for (const auto& [name, value] : exchange.headers) {
        // libcurl's form for a header sent with an empty value.
        request.headerLines.push_back(value.empty() ? name + ";" : name + ": " + value);
        hasContentType = hasContentType || equalsAnyCase(name, "Content-Type");
    }
    request.headerLines.push_back("Expect:");
    if (!hasContentType) request.headerLines.push_back("Content-Type:");
    request.proxy = exchange.proxy;
    request.noProxy = exchange.bypass;
    request.proxyUser = exchange.proxyUser;
    request.proxyPassword = exchange.proxyPassword;
    request.user = exchange.user;
    request.password = exchange.password;
    request.clientCertificate = exchange.clientCertificate;
    request.followRedirects = option(kRedirectOption) != 0;
    const long totalMs =
        exchange.resolveMs + exchange.connectMs + exchange.sendMs + exchange.receiveMs;
    request.timeouts = {.connectMs = exchange.resolveMs + exchange.connectMs,
                        .stallMs = std::max(exchange.sendMs, exchange.receiveMs),
                        .totalMs = boundMs > 0 && boundMs < totalMs ? boundMs : totalMs};
    // The caller's window stays alive while the request waits.
    request.whileWaiting = [this] {
        desktop_->processPendingEvents();
        return !goOn_ || goOn_();
    };
    Expected<TransferResult> result = performTransfer(request);
    if (result) {
        exchange.response = std::move(*result);
    } else {
        exchange.error = result.error();
    }
}

long HttpRequest::status() const {
    return exchange_->response ? exchange_->response->status : 0;
}

std::string HttpRequest::statusText() const {
    if (!exchange_->response) return {};
    const std::string& block = exchange_->response->headerBlock;
    const std::string statusLine = block.substr(0, block.find("\r\n"));
    // "HTTP/1.1 200 OK": the reason phrase after the version and the code.
    const std::size_t code = statusLine.find(' ');
    const std::size_t reason = code == std::string::npos ? code : statusLine.find(' ', code + 1);
    return reason == std::string::npos ? std::string() : statusLine.substr(reason + 1);
}

std::string HttpRequest::responseBody() const {
    return exchange_->response ? exchange_->response->body : std::string();
}

std::string HttpRequest::responseText() const {
    const std::string body = responseBody();
    const std::string charset = charsetOf(getResponseHeader("Content-Type"));
    if (charset.empty()) {
        if (!isValidUtf8(body)) return body;
        const std::string converted = convertCharset(body, "UTF-8", "GB18030");
        return converted.empty() ? body : converted;
    }
    if (isGbkFamily(charset) || !isCharsetName(charset)) return body;
    const std::string converted = convertCharset(body, charset.c_str(), "GB18030");
    return converted.empty() ? body : converted;
}

std::string HttpRequest::getResponseHeader(std::string_view name) const {
    const std::string wanted = lowerAscii(name) + ":";
    for (const std::string& line : nonEmptyLines(getAllResponseHeaders())) {
        if (lowerAscii(line).starts_with(wanted)) return trimBlanks(line.substr(wanted.size()));
    }
    return {};
}

std::string HttpRequest::getAllResponseHeaders() const {
    if (!exchange_->response) return {};
    std::string lines;
    bool statusLine = true;
    for (const std::string& line : nonEmptyLines(exchange_->response->headerBlock)) {
        if (!statusLine) lines.append(line).append("\r\n");
        statusLine = false;
    }
    return lines;
}

std::optional<Error> HttpRequest::lastError() const {
    return exchange_->error;
}

std::string HttpRequest::responseCookieValue(std::string_view name) const {
    return responseCookieValueIn(getAllResponseHeaders(), name);
}

std::string HttpRequest::setCookieLines() const {
    return setCookieLinesIn(getAllResponseHeaders());
}

std::string HttpRequest::responseCookies() const {
    return responseCookiesIn(getAllResponseHeaders());
}

std::string HttpRequest::clearCookies() {
    storedCookies_.clear();
    return {};
}

std::string HttpRequest::fakeClientIpHeaders() {
    RandomSource random;
    std::string ip;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) ip += '.';
        ip += std::to_string(random.random(0, 255));
    }
    return "X-Forward-For: " + ip + "\r\nX-Forwarded-For: " + ip + "\r\nREMOTE_ADDR: " + ip;
}

void HttpRequest::applyProxy(std::string proxy) {
    if (proxy == "IE") proxy = environmentProxy(exchange_->url);
    desktop_->processPendingEvents();
    setProxy(proxy.empty() ? 0 : 2, proxy);
}

void HttpRequest::setExtraHeaders(std::string_view lines) {
    for (const std::string& line : splitText(lines, "\r\n")) {
        const std::vector<std::string> parts = splitText(line, ": ");
        if (parts.size() >= 2 && !parts[0].empty() && !parts[1].empty()) {
            setRequestHeader(parts[0], parts[1]);
        }
    }
}

void HttpRequest::runComposite(std::string_view url, const RequestOptions& options,
                               double timeoutSeconds) {
    const bool post = !options.postText.empty() || !options.postData.empty();
    const std::string trimmed = trimBlanks(url);
    open(post ? "POST" : "GET", trimmed, !options.synchronous);
    setRequestHeader("Referer", options.referer.empty() ? trimmed : options.referer);
    setRequestHeader("Content-Type", options.contentType.empty()
                                         ? "application/x-www-form-urlencoded"
                                         : options.contentType);
    setRequestHeader("User-Agent",
                     options.userAgent.empty() ? std::string(kChromeUserAgent) : options.userAgent);
    std::string lines = options.extraHeaders;
    if (options.fakeClientIp) {
        if (!lines.empty()) lines += "\r\n";
        lines += fakeClientIpHeaders();
    }
    setExtraHeaders(lines);
    std::string cookie = options.cookie;
    if (!storedCookies_.empty() && cookie.empty()) cookie = storedCookies_;
    if (cookie == "-1") {
        setRequestHeader("Cookie", "");
    } else if (!cookie.empty()) {
        setRequestHeader("Cookie", cookie);
    }
    if (timeoutSeconds >= 1) {
        const long ms = static_cast<long>(timeoutSeconds * 1000);
        setTimeouts(ms, ms, ms, ms);
    } else if (timeoutSeconds != -1) {
        setTimeouts(10000, 10000, 60000, 120000);
    }
    if (options.proxy && *options.proxy != "-1") applyProxy(*options.proxy);
    send(options.postText, options.postData);
    if (!options.synchronous) waitForResponse(timeoutSeconds >= 1 ? timeoutSeconds : 120);
    if (options.keepCookies) storedCookies_ = responseCookies();
}

std::string HttpRequest::requestText(std::string_view url) {
    RequestOptions options;
    return requestText(url, options);
}

std::string HttpRequest::requestText(std::string_view url, RequestOptions& options) {
    Expected<std::string> text = tryRequestText(url, options);
    return text ? std::move(*text) : std::string();
}

Expected<std::string> HttpRequest::tryRequestText(std::string_view url, RequestOptions& options) {
    runComposite(url, options, options.timeoutSeconds);
    if (auto error = lastError()) return *error;
    if (!exchange_->response) return Error{"等待服务器应答超时"_gbk};
    if (options.encoding == -2) return responseText();
    if (options.encoding == -1) return responseBody();
    if (options.encoding == 0 && declaresUtf8(getAllResponseHeaders())) options.encoding = 2;
    return readTextBytes(responseBody(), textEncodingOf(options.encoding)).text;
}

std::string HttpRequest::requestBytes(std::string_view url, RequestOptions& options) {
    // This form counts its time-out in whole seconds.
    runComposite(url, options, static_cast<int>(options.timeoutSeconds));
    std::string bytes = responseBody();
    if (options.encoding == 0 && declaresUtf8(getAllResponseHeaders())) options.encoding = 2;
    if (bytes.starts_with("\x1F\x8B")) {
        if (auto inflated = gunzipBytes(bytes)) bytes = std::move(*inflated);
    }
    return bytes;
}

std::string HttpRequest::fetchPageEx(std::string_view url, PageExOptions& options) {
    std::string address(url.substr(0, url.find('#')));
    std::string headers = options.extraHeaders;
    if (options.fakeClientIp) {
        if (!options.extraHeaders.empty()) headers += "\r\n";
        headers += fakeClientIpHeaders();
    }
    headers += "\r\nReferer: " + (options.referer.empty() ? trimBlanks(address) : options.referer);
    const int method = options.postText.empty() ? 0 : 1;
    std::string responseHeaders;
    if (options.direct) {
        DirectFetch exchange{.url = address,
                             .method = method,
                             .postText = options.postText,
                             .timeoutSeconds = options.timeoutSeconds,
                             .postData = options.postData,
                             .proxy = options.proxy,
                             .cookie = options.cookie,
                             .headers = headers,
                             .newCookies = {},
                             .responseHeaders = {}};
        options.body = fetchPageDirect(exchange);
        options.newCookies = exchange.newCookies;
        responseHeaders = exchange.responseHeaders;
    } else {
        // The worker's header text is lines that each end with CR LF.
        FetchOptions fetch{
            .method = method,
            .proxy = options.proxy,
            .headers = headers + "\r\n",
            .postData = options.postData.empty() ? options.postText : options.postData,
            .cookie = options.cookie,
            .timeoutSeconds = options.timeoutSeconds == 0 ? 120 : options.timeoutSeconds,
            .noAutoRedirect = false,
            .goOn = goOn_};
        Expected<FetchedPage> page = tryFetchPage(address, *desktop_, fetch);
        options.body = page ? page->body : std::string();
        if (page) {
            options.newCookies = page->receivedCookies;
            responseHeaders = page->responseHeaders;
        }
    }
    if (options.encoding == 0 && declaresUtf8(responseHeaders)) options.encoding = 2;
    return readTextBytes(options.body, textEncodingOf(options.encoding)).text;
}

void HttpRequest::setQuickLookup(std::string_view method, std::string_view url, bool synchronous) {
    option(kRedirectOption, 0);
    setTimeouts(5000, 5000, 10000, 5000);
    open(method, url, !synchronous);
}

std::string HttpRequest::locationOf(std::string_view url) {
    setQuickLookup("GET", url, true);
    setRequestHeader("User-Agent", kOldBrowserAgent);
    setRequestHeader("Accept-Language", "zh-cn");
    setRequestHeader("Connection", "Keep-Alive");
    setRequestHeader("Accept", kLookupAccept);
    send();
    return getResponseHeader("Location");
}

std::string HttpRequest::redirectTarget(std::string_view url, const RedirectOptions& options) {
    const bool post = !options.postText.empty();
    setQuickLookup(post ? "POST" : "GET", url, options.synchronous);
    setRequestHeader("User-Agent",
                     options.userAgent.empty() ? std::string(kChromeUserAgent) : options.userAgent);
    setRequestHeader("Accept-Language", "zh-cn");
    setRequestHeader("Connection", "Keep-Alive");
    setRequestHeader("Accept", kLookupAccept);
    setRequestHeader("Referer", options.referer.empty() ? trimBlanks(url) : options.referer);
    if (options.cookie) setRequestHeader("Cookie", *options.cookie);
    setExtraHeaders(options.extraHeaders);
    if (!options.proxy.empty()) applyProxy(options.proxy);
    send(options.postText);
    if (!options.synchronous) waitForResponse(post ? 100 : 25);
    return getResponseHeader("Location");
}

int HttpRequest::pageCharset(std::string_view url, bool synchronous, std::string_view referer,
                             const std::optional<std::string>& cookie) {
    setQuickLookup("GET", url, synchronous);
    setRequestHeader("User-Agent", kIe9Agent);
    setRequestHeader("Accept-Language", "zh-cn");
    setRequestHeader("Connection", "Keep-Alive");
    setRequestHeader("Accept", kLookupAccept);
    setRequestHeader("Referer", referer.empty() ? trimBlanks(url) : std::string(referer));
    if (cookie) setRequestHeader("Cookie", *cookie);
    send();
    if (!synchronous) waitForResponse(25);
    return declaresUtf8(getAllResponseHeaders()) ? 2 : 0;
}

long HttpRequest::statusOf(std::string_view url, bool synchronous, int waitSeconds,
                           const std::optional<std::string>& cookie,
                           const std::optional<std::string>& proxy) {
    setQuickLookup("GET", url, synchronous);
    if (cookie) setRequestHeader("Cookie", *cookie);
    if (proxy && *proxy != "-1") applyProxy(*proxy);
    send();
    if (!synchronous) waitForResponse(waitSeconds == 0 ? 25 : waitSeconds);
    return status();
}

}  // namespace yelian
