// Fetching one page and returning its body exactly as received (no decompression, no charset
// conversion). fetchPage runs the request on a worker thread while the caller keeps the
// desktop's events flowing; fetchPageDirect runs it on the calling thread and carries cookies
// from one request to the next. Texts are GBK.
#pragma once

#include <optional>
#include <string>

#include "controls/control_ops.h"
#include "support/event_hook.h"
#include "support/expected.h"

namespace yelian {

struct FetchOptions {
    // 1 = POST, anything else = GET.
    int method = 0;
    // Proxy server for plain-HTTP addresses; empty = direct connection.
    std::string proxy;
    // Extra request header lines, each ending with CR LF.
    std::string headers;
    // The request body of a POST.
    std::string postData;
    // The Cookie header to send; empty sends none.
    std::string cookie;
    // How long the caller waits for the worker; 0 or less gives up at once.
    int timeoutSeconds = 60;
    bool noAutoRedirect = false;
    // Asked while the caller waits; false abandons the download at once, as a time-out does.
    GoOn goOn;
};

struct FetchedPage {
    std::string body;
    // The final response's raw header block, CR LF line ends.
    std::string responseHeaders;
    // The cookies the response set, each as name=value followed by ";".
    std::string receivedCookies;
};

// Puts "http://" in front of an address that begins with neither "http://" nor "https://"
// (exact case); a blank address is left as it is and fails. Waits at most the time-out,
// calling desktop.processPendingEvents about every 20 ms and reading the time from
// desktop.ticks(). After a time-out the worker is abandoned: it is told to stop, owns all it
// still writes to, and its result is never read.
Expected<FetchedPage> tryFetchPage(std::string& url, DesktopServices& desktop,
                                   const FetchOptions& options = {});

// The body of tryFetchPage; empty on any failure or time-out.
std::string fetchPage(std::string& url, DesktopServices& desktop, const FetchOptions& options = {});

// The request header text the worker sends: the caller's lines completed with Accept,
// Referer (unless the caller's text holds "RefererNo", which is taken out), Accept-Language,
// and for a POST with a body Content-Type and Content-Length, then the Cookie line.
std::string fetchRequestHeaders(std::string headers, std::string_view url, bool post,
                                std::string_view postData, std::string_view cookie);

// The agent named by a "User-Agent:" line of the header text, else Chrome's.
std::string fetchUserAgent(std::string_view headers);

// One fetchPageDirect exchange: what goes in, what comes back, and the two texts that go in
// and are replaced on the way back.
struct DirectFetch {
    std::string url;
    // 1 = POST, anything else = GET.
    int method = 0;
    // The body of a POST when postData is empty.
    std::string postText;
    // Connect, send and receive time-out each; 0 or less takes 30.
    int timeoutSeconds = 30;
    std::string postData;
    // Proxy server; nothing or an empty text connects directly.
    std::optional<std::string> proxy;
    bool noAutoRedirect = false;
    // In: the cookie text to send. Out: merged with the cookies the response set (only when
    // one was sent).
    std::string cookie;
    // In: extra header lines. Out: the header text that was sent.
    std::string headers;
    // Out: the cookies this response set, "; "-separated.
    std::string newCookies;
    // Out: the raw response header block, "Set-Cookie" written in that case.
    std::string responseHeaders;
};

// Runs the exchange on the calling thread and returns the body; the out-fields are filled
// when a response arrived (headers always).
Expected<std::string> tryFetchPageDirect(DirectFetch& exchange);

// The body of tryFetchPageDirect; empty on any failure.
std::string fetchPageDirect(DirectFetch& exchange);

// The header text fetchPageDirect sends: the caller's lines, then Accept, Accept-Language,
// Content-Type and Cookie where missing (exact case), separated by CR LF, no final CR LF.
std::string directRequestHeaders(std::string headers, std::string_view cookie);

// The agent of fetchPageDirect: as fetchUserAgent, but an empty value falls back to the text
// after the header text's first ":".
std::string directUserAgent(std::string_view headers);

}  // namespace yelian
