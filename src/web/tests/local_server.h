// Servers for the web tests and benchmark, on 127.0.0.1 only: an HTTP(S) server that answers
// every request through a handler and records what it was sent, and a server that takes
// connections and never answers.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct MHD_Daemon;

namespace yelian::testing {

struct SeenRequest {
    std::string method;
    // The request target as sent: path and query.
    std::string target;
    std::string version;
    // In the order sent.
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The value of the first header of that name (any case); empty when there is none.
    std::string header(std::string_view name) const;
    bool hasHeader(std::string_view name) const;
};

struct Reply {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // Above 0: instead of body, this many bytes of 'x' made while they are sent.
    std::uint64_t generatedBytes = 0;
    // The generated body goes out chunked, without a length in advance.
    bool chunked = false;
};

using Handler = std::function<Reply(const SeenRequest&)>;

// A certificate and its key, PEM, for a server on 127.0.0.1.
struct TlsIdentity {
    std::string certificate;
    std::string key;
    // Where the certificate lies, for a client that is to trust it.
    std::string certificateFile;
};

// Makes a self-signed certificate for 127.0.0.1 with the openssl tool in folder; nothing
// when the tool is missing or fails.
std::optional<TlsIdentity> makeSelfSignedIdentity(const std::string& folder);

class LocalServer {
  public:
    explicit LocalServer(Handler handler, const TlsIdentity* tls = nullptr);
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;
    ~LocalServer();

    bool running() const { return daemon_ != nullptr; }
    int port() const { return port_; }
    // "http://127.0.0.1:PORT" + path (https for a TLS server).
    std::string url(std::string_view path = "/") const;
    std::vector<SeenRequest> requests() const;
    // The last request the server saw; an empty one (no method, no target) when it saw none.
    SeenRequest lastRequest() const;

    // Called on the server's threads.
    Reply answer(SeenRequest request);

  private:
    Handler handler_;
    bool secure_ = false;
    MHD_Daemon* daemon_ = nullptr;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<SeenRequest> requests_;
};

// Accepts connections into its backlog and never reads or answers them.
class SilentServer {
  public:
    SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    ~SilentServer();

    std::string url(std::string_view path = "/") const;

  private:
    int socket_ = -1;
    int port_ = 0;
};

}  // namespace yelian::testing
