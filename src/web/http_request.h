// A reusable HTTP request object with the operations of a scriptable request class (open,
// headers, time-outs, proxy, send, wait, the response's parts) over libcurl, and composite
// operations that set up a whole request with the system's default headers, time-outs, proxy
// and cookie rules and return the page as GBK text or bytes. Failures give empty results;
// the try- forms and lastError() say why. One request at a time; copies share the request.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "controls/control_ops.h"
#include "support/event_hook.h"
#include "support/expected.h"

namespace yelian {

// The arguments of requestText and requestBytes after the address.
struct RequestOptions {
    // A request body as text; postText or postData make the request a POST.
    std::string postText;
    // In: how the body becomes text (-2 the response's charset, -1 none, 0 detect, else a
    // TextEncoding). Out: 2 when it was 0 and the response declares UTF-8.
    int encoding = 0;
    // -1 keeps the request's time-outs; 1 or more is used for all four (and the wait);
    // anything else takes the defaults 10, 10, 60 and 120 seconds and a wait of 120.
    double timeoutSeconds = 0;
    // Nothing or "-1" leaves the proxy alone; "IE" takes the environment's proxy.
    std::optional<std::string> proxy;
    bool synchronous = false;
    // A request body as bytes; wins over postText.
    std::string postData;
    // Empty: the address itself.
    std::string referer;
    // Empty: the stored cookies; "-1": an empty Cookie header.
    std::string cookie;
    // True: the stored cookies become this response's.
    bool keepCookies = false;
    // Empty: "application/x-www-form-urlencoded", for a GET as well.
    std::string contentType;
    // Empty: Chrome's agent.
    std::string userAgent;
    // More header lines, each a name, ": " and a value, separated by CR LF.
    std::string extraHeaders;
    bool fakeClientIp = false;
};

// The arguments of fetchPageEx after the address, with its two results.
struct PageExOptions {
    std::string postText;
    // In/out as in RequestOptions (without -2 and -1).
    int encoding = 0;
    // 0 takes 120 seconds on the worker path.
    int timeoutSeconds = 0;
    std::string proxy;
    std::string postData;
    std::string referer;
    std::string cookie;
    std::string extraHeaders;
    // True: fetchPageDirect on the calling thread; false: fetchPage on a worker.
    bool direct = false;
    bool fakeClientIp = false;
    // Out: the cookies the response set, and the body bytes.
    std::string newCookies;
    std::string body;
};

// The arguments of redirectTarget after the address.
struct RedirectOptions {
    bool synchronous = false;
    std::string referer;
    std::optional<std::string> cookie;
    std::string proxy;
    std::string userAgent;
    // Not empty: the request is a POST with this body.
    std::string postText;
    std::string extraHeaders;
};

class HttpRequest {
  public:
    // The desktop processes events during the proxy step and waits for fetchPageEx's worker.
    explicit HttpRequest(DesktopServices& desktop);

    // Asked about every 20 ms while a request waits for the network, after the desktop has
    // processed its events; false gives the request up. Stays over init and reset.
    void setGoOn(GoOn goOn) { goOn_ = std::move(goOn); }

    // A fresh request object; reset keeps the stored cookies, resetAll clears them too.
    void init();
    void reset();
    void resetAll();

    // Puts "http://" in front of an address without "http://" or "https://" (exact case) and
    // cuts it at its first "#". An asynchronous request is carried out by waitForResponse.
    void open(std::string_view method, std::string_view url, bool async = false);
    void open(std::string_view url) { open("GET", url); }
    // Sets a request header, replacing one of the same name; a Referer value without a scheme
    // gets "http://". A name or value with a line break makes the request fail when sent.
    void setRequestHeader(std::string_view name, std::string_view value);
    // Milliseconds; connect, send and receive below 1 take the resolve value.
    void setTimeouts(long resolve, long connect, long send, long receive);
    // Setting 2 uses the first of "server,user,password" as proxy (with the credentials when
    // both are given); any other setting connects directly. bypass lists hosts to reach
    // directly.
    void setProxy(int setting, std::string_view proxy, std::string_view bypass = {});
    // flags 1: the proxy's credentials; otherwise the server's.
    void setCredentials(std::string_view user, std::string_view password, int flags = 0);
    // A PEM certificate file to present to servers that ask for one.
    void setClientCertificate(std::string_view certificate);
    // Kept for the interface; there is no automatic logon with the user's own credentials.
    void setAutoLogonPolicy(int policy);
    // Sets the option when a value is given and returns its value. 6 follows redirects
    // unless 0 (default 1); 4, the certificate errors to ignore, always stays 0.
    long option(int index, std::optional<long> value = {});

    // Sends bytes when there are any, else the text, else no body.
    void send(std::string_view text = {}, std::string_view bytes = {});
    // Carries out an asynchronous request within the seconds (0 or less: only its
    // time-outs bound it); true when a response is there.
    bool waitForResponse(double seconds);
    void abort();

    // The response; 0 or empty before one arrived.
    long status() const;
    std::string statusText() const;
    std::string responseBody() const;
    // The body decoded by the response's charset (UTF-8 when none is declared and the body
    // is UTF-8, else as GBK) into GBK.
    std::string responseText() const;
    // The first header of that name, any case.
    std::string getResponseHeader(std::string_view name) const;
    // The header lines after the status line, each followed by CR LF.
    std::string getAllResponseHeaders() const;
    // Why the last request brought no response; nothing when it did.
    std::optional<Error> lastError() const;

    std::string responseCookieValue(std::string_view name) const;
    std::string setCookieLines() const;
    std::string responseCookies() const;
    std::string clearCookies();
    const std::string& storedCookies() const { return storedCookies_; }

    // X-Forward-For, X-Forwarded-For and REMOTE_ADDR with one random address, CR LF between.
    std::string fakeClientIpHeaders();

    std::string requestText(std::string_view url);
    std::string requestText(std::string_view url, RequestOptions& options);
    Expected<std::string> tryRequestText(std::string_view url, RequestOptions& options);
    std::string requestBytes(std::string_view url, RequestOptions& options);
    std::string fetchPageEx(std::string_view url, PageExOptions& options);
    std::string locationOf(std::string_view url);
    std::string redirectTarget(std::string_view url, const RedirectOptions& options = {});
    int pageCharset(std::string_view url, bool synchronous = false, std::string_view referer = {},
                    const std::optional<std::string>& cookie = {});
    long statusOf(std::string_view url, bool synchronous = false, int waitSeconds = 25,
                  const std::optional<std::string>& cookie = {},
                  const std::optional<std::string>& proxy = {});

  private:
    struct Exchange;

    // Steps shared by requestText and requestBytes, up to the stored cookies; false when no
    // response arrived.
    void runComposite(std::string_view url, const RequestOptions& options, double timeoutSeconds);
    void applyProxy(std::string proxy);
    void setExtraHeaders(std::string_view lines);
    void setQuickLookup(std::string_view method, std::string_view url, bool synchronous);
    void perform(long boundMs);

    std::shared_ptr<Exchange> exchange_;
    std::string storedCookies_;
    DesktopServices* desktop_;
    GoOn goOn_;
};

}  // namespace yelian
