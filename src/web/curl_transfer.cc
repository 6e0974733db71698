// The libcurl exchange: one easy handle per call, configured from the request, with the
// answer's header block and body collected under their size limits.
#include "web/curl_transfer.h"

#include <curl/curl.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "support/gbk_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

// libcurl's global state (and the TLS library's under it) is process-wide by nature, so it
// is set up once, on first use, and never torn down: an abandoned download may still be
// running when the process ends. What is torn down at the end is the TLS library (by its own
// exit handler, registered during curl_global_init and so run after this object's
// destructor), and the destructor first gives detached transfers a bounded time to finish.
class CurlRuntime {
  public:
    CurlRuntime() : ready_(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
    CurlRuntime(const CurlRuntime&) = delete;
    CurlRuntime& operator=(const CurlRuntime&) = delete;
    ~CurlRuntime() {
        std::unique_lock lock(mutex_);
        // Abandoned transfers were told to stop; they end at libcurl's next progress check.
        ended_.wait_for(lock, std::chrono::seconds(5), [this] { return detached_ == 0; });
    }

    bool ready() const { return ready_; }
    void enterDetached() {
        std::lock_guard lock(mutex_);
        ++detached_;
    }
    void leaveDetached() {
        std::lock_guard lock(mutex_);
        if (--detached_ == 0) ended_.notify_all();
    }

  private:
    bool ready_;
    std::mutex mutex_;
    std::condition_variable ended_;
    int detached_ = 0;
};

CurlRuntime& curlRuntime() {
    static CurlRuntime runtime;
    return runtime;
}

// How long one wait for the network lasts before the caller's hook runs again.
constexpr int kWaitSliceMs = 20;

struct MultiDeleter {
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// What the callbacks fill while the transfer runs.
struct Reception {
    std::string headerBlock;
    std::size_t headerBytes = 0;
    std::string body;
    bool bodyTooLarge = false;
    bool headerTooLarge = false;
    const std::atomic<bool>* cancelled = nullptr;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& reception = *static_cast<Reception*>(user);
    const std::size_t bytes = size * count;
    if (bytes > kMaxBodySize - reception.body.size()) {
        reception.bodyTooLarge = true;
        return 0;
    }
    reception.body.append(data, bytes);
    return bytes;
}

// libcurl hands over one header line per call, the status line of every response included.
std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& reception = *static_cast<Reception*>(user);
    const std::size_t bytes = size * count;
    reception.headerBytes += bytes;
    if (reception.headerBytes > kMaxHeaderSize) {
        reception.headerTooLarge = true;
        return 0;
    }
    std::string_view line(data, bytes);
    // A new status line starts the block of the next response (after a redirect or an
    // interim "100 Continue"); only the last response's block is kept.
    if (line.starts_with("HTTP/")) reception.headerBlock.clear();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    reception.headerBlock.append(line).append("\r\n");
    return bytes;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& reception = *static_cast<Reception*>(user);
    return reception.cancelled && reception.cancelled->load() ? 1 : 0;
}

bool requestIsClean(const TransferRequest& request) {
    for (const std::string& line : request.headerLines) {
        if (hasLineBreakOrNul(line)) return false;
    }
    for (const std::string* text :
         {&request.url, &request.method, &request.userAgent, &request.proxy, &request.noProxy,
          &request.proxyUser, &request.proxyPassword, &request.user, &request.password,
          &request.clientCertificate, &request.extraTrustedCertificate}) {
        if (hasLineBreakOrNul(*text)) return false;
    }
    return true;
}

Expected<HeaderList> headerList(const std::vector<std::string>& lines) {
    HeaderList list;
    for (const std::string& line : lines) {
        curl_slist* longer = curl_slist_append(list.get(), line.c_str());
        if (!longer) return Error{"内存不足，无法发送请求"_gbk};
        list.release();
        list.reset(longer);
    }
    return list;
}

void setTimeouts(CURL* handle, const TransferTimeouts& timeouts) {
    if (timeouts.connectMs > 0)
        curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    if (timeouts.totalMs > 0) curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, timeouts.totalMs);
    if (timeouts.stallMs > 0) {
        // libcurl measures a stall in whole seconds of less than one byte per second.
        curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, (timeouts.stallMs + 999) / 1000);
    }
}

void setCredentials(CURL* handle, const TransferRequest& request) {
    if (!request.proxy.empty()) {
        curl_easy_setopt(handle, CURLOPT_PROXY, request.proxy.c_str());
        if (!request.noProxy.empty())
            curl_easy_setopt(handle, CURLOPT_NOPROXY, request.noProxy.c_str());
        if (!request.proxyUser.empty()) {
            curl_easy_setopt(handle, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
            curl_easy_setopt(handle, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
            curl_easy_setopt(handle, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
        }
    } else {
        // An empty proxy text turns off libcurl's own reading of the proxy variables.
        curl_easy_setopt(handle, CURLOPT_PROXY, "");
    }
    if (!request.user.empty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, request.user.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, request.password.c_str());
        curl_easy_setopt(handle, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    }
}

void setSecurity(CURL* handle, const TransferRequest& request) {
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!request.extraTrustedCertificate.empty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, request.extraTrustedCertificate.c_str());
    }
    if (!request.clientCertificate.empty()) {
        curl_easy_setopt(handle, CURLOPT_SSLCERT, request.clientCertificate.c_str());
    }
}

void setRequestLine(CURL* handle, const TransferRequest& request) {
    curl_easy_setopt(handle, CURLOPT_URL, request.url.c_str());
    // The path goes out as the caller wrote it, "/../" included.
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    if (request.body) {
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body->size()));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.body->data());
        // A POST that is redirected continues as a GET, as browsers do; another method word
        // is sent as it is.
        if (request.method != "POST") {
            curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        }
    } else if (request.method != "GET") {
        curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    }
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, request.followRedirects ? 1L : 0L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    // The redirected request carries the caller's credentials only to the same host.
    curl_easy_setopt(handle, CURLOPT_UNRESTRICTED_AUTH, 0L);
}

void setReception(CURL* handle, Reception& reception) {
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &reception);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &reception);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &reception);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxBodySize));
    // Time-outs on a worker thread must not rely on signals.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
}

Error transferError(CURLcode code, const Reception& reception) {
    if (reception.bodyTooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        return Error{"网页超过 64 MiB，已停止下载"_gbk};
    }
    if (reception.headerTooLarge) return Error{"服务器的响应头超过 1 MiB，已停止下载"_gbk};
    switch (code) {
        case CURLE_OPERATION_TIMEDOUT:
            return Error{"等待服务器应答超时"_gbk};
        case CURLE_ABORTED_BY_CALLBACK:
            return Error{"下载已取消"_gbk};
        case CURLE_COULDNT_RESOLVE_HOST:
            return Error{"找不到这个网址的服务器"_gbk};
        case CURLE_COULDNT_RESOLVE_PROXY:
            return Error{"找不到代理服务器"_gbk};
        case CURLE_COULDNT_CONNECT:
            return Error{"无法连接服务器"_gbk};
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
            return Error{"服务器的证书未通过验证，已拒绝连接"_gbk};
        case CURLE_SSL_CONNECT_ERROR:
            return Error{"无法与服务器建立安全连接"_gbk};
        case CURLE_TOO_MANY_REDIRECTS:
            return Error{"网页跳转次数过多（超过 10 次）"_gbk};
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return Error{"网址无效"_gbk};
        case CURLE_GOT_NOTHING:
            return Error{"服务器没有应答就断开了连接"_gbk};
        default:
            break;
    }
    return Error{"下载网页失败："_gbk + curl_easy_strerror(code)};
}

// The transfer through a multi handle, so that the caller's hook runs between short waits
// for the network instead of once per second at best (libcurl's progress callback).
CURLcode performWaiting(CURL* easy, const std::function<bool()>& whileWaiting) {
    const MultiHandle multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) {
        return CURLE_FAILED_INIT;
    }
    CURLcode code = CURLE_OK;
    for (int running = 1; running > 0;) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) break;
        if (!whileWaiting()) {
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        curl_multi_poll(multi.get(), nullptr, 0, kWaitSliceMs, nullptr);
    }
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
        if (message->msg == CURLMSG_DONE && code == CURLE_OK) code = message->data.result;
    }
    curl_multi_remove_handle(multi.get(), easy);
    return code;
}

}  // namespace

bool hasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

DetachedTransferScope::DetachedTransferScope() {
    curlRuntime().enterDetached();
}

DetachedTransferScope::~DetachedTransferScope() {
    curlRuntime().leaveDetached();
}

Expected<TransferResult> performTransfer(const TransferRequest& request) {
    if (!requestIsClean(request)) {
        return Error{"网址、请求头或 Cookie 中含有换行符，已拒绝发送"_gbk};
    }
    if (!curlRuntime().ready()) return Error{"网络库初始化失败"_gbk};
    EasyHandle handle(curl_easy_init());
    if (!handle) return Error{"网络库初始化失败"_gbk};
    Expected<HeaderList> headers = headerList(request.headerLines);
    if (!headers) return headers.error();

    Reception reception;
    reception.cancelled = request.cancelled;
    CURL* easy = handle.get();
    setRequestLine(easy, request);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers->get());
    if (!request.userAgent.empty())
        curl_easy_setopt(easy, CURLOPT_USERAGENT, request.userAgent.c_str());
    setCredentials(easy, request);
    setSecurity(easy, request);
    setTimeouts(easy, request.timeouts);
    setReception(easy, reception);

    const CURLcode code =
        request.whileWaiting ? performWaiting(easy, request.whileWaiting) : curl_easy_perform(easy);
    if (code != CURLE_OK) return transferError(code, reception);
    TransferResult result;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.status);
    result.headerBlock = std::move(reception.headerBlock);
    result.body = std::move(reception.body);
    return result;
}

}  // namespace yelian
