// One HTTP exchange over a libcurl easy handle, shared by every download of the web client:
// the request as its parts (method, URL, header lines, body, proxy, time-outs), the answer as
// status, raw header block and body bytes, or an Error that says in the system's words why
// nothing usable came back. Certificates are always verified; sizes, redirects and time-outs
// are bounded so that no server can hold the caller or its memory without limit.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/expected.h"

namespace yelian {

inline constexpr std::size_t kMaxBodySize = std::size_t{64} << 20;
inline constexpr std::size_t kMaxHeaderSize = std::size_t{1} << 20;
inline constexpr long kMaxRedirects = 10;

struct TransferTimeouts {
    // Each is in milliseconds; 0 leaves that bound out.
    long connectMs = 0;
    // How long the transfer may go without receiving or sending a byte.
    long stallMs = 0;
    long totalMs = 0;
};

struct TransferRequest {
    // A complete "http://" or "https://" address; no other scheme is accepted.
    std::string url;
    // The method word of the request line.
    std::string method = "GET";
    // Header lines exactly as sent ("Name: value"). "Name:" keeps libcurl from sending a header
    // of its own under that name; "Name;" sends the header with an empty value.
    std::vector<std::string> headerLines;
    // The request body; nothing sends no body.
    std::optional<std::string> body;
    // Sent as User-Agent unless a header line names one.
    std::string userAgent;
    // An empty proxy connects directly (the environment's proxy variables are not read here).
    std::string proxy;
    // Hosts reached without the proxy (libcurl's list form, comma-separated).
    std::string noProxy;
    std::string proxyUser;
    std::string proxyPassword;
    // Credentials for the server when it asks for them.
    std::string user;
    std::string password;
    // A PEM client certificate to present, empty for none.
    std::string clientCertificate;
    bool followRedirects = true;
    TransferTimeouts timeouts;
    // Set by another thread to give up; checked while the transfer runs.
    const std::atomic<bool>* cancelled = nullptr;
    // Called on the calling thread about every 20 ms while the transfer waits for the network,
    // so that a window stays alive during it; false gives the transfer up ("下载已取消").
    std::function<bool()> whileWaiting;
    // A certificate file to trust besides the system's store. Only tests set it (for a server
    // whose certificate they made); no command or window reaches it.
    std::string extraTrustedCertificate;
};

struct TransferResult {
    long status = 0;
    // The final response's status line and header lines, each ending with CR LF, followed by
    // the empty line; earlier responses (redirects, "100 Continue") are not in it.
    std::string headerBlock;
    std::string body;
};

// Runs the exchange on the calling thread. A URL, header line, proxy or credential holding a
// line break or a NUL byte is refused before anything is sent.
Expected<TransferResult> performTransfer(const TransferRequest& request);

// True when the text holds a CR, an LF or a NUL byte: such a text would end a header line
// (or a C string) where its writer did not mean it to.
bool hasLineBreakOrNul(std::string_view text);

// Held by a thread that runs transfers while nobody waits for it (an abandoned download). The
// process's end waits a bounded time for such threads to finish their transfer before the
// TLS library below libcurl is torn down.
class DetachedTransferScope {
  public:
    DetachedTransferScope();
    DetachedTransferScope(const DetachedTransferScope&) = delete;
    DetachedTransferScope& operator=(const DetachedTransferScope&) = delete;
    ~DetachedTransferScope();
};

}  // namespace yelian
