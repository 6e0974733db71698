// The test servers: libmicrohttpd with one thread per connection, and a bare listening socket.
#include "web/tests/local_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace yelian::testing {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The request as the server's callbacks collect it.
struct Collecting {
    SeenRequest request;
    bool started = false;
};

void* onUri(void*, const char* uri, MHD_Connection*) {
    auto* collecting = new Collecting;
    collecting->request.target = uri;
    return collecting;
}

MHD_Result onHeader(void* user, MHD_ValueKind, const char* key, const char* value) {
    static_cast<SeenRequest*>(user)->headers.emplace_back(key, value ? value : "");
    return MHD_YES;
}

ssize_t generate(void* user, std::uint64_t position, char* buffer, std::size_t max) {
    const auto total = *static_cast<std::uint64_t*>(user);
    if (position >= total) return MHD_CONTENT_READER_END_OF_STREAM;
    const std::size_t count =
        static_cast<std::size_t>(std::min<std::uint64_t>(max, total - position));
    std::memset(buffer, 'x', count);
    return static_cast<ssize_t>(count);
}

void freeGenerated(void* user) {
    delete static_cast<std::uint64_t*>(user);
}

MHD_Response* responseOf(const Reply& reply) {
    if (reply.generatedBytes > 0) {
        return MHD_create_response_from_callback(
            reply.chunked ? MHD_SIZE_UNKNOWN : reply.generatedBytes, 64 * 1024, generate,
            new std::uint64_t(reply.generatedBytes), freeGenerated);
    }
    return MHD_create_response_from_buffer(reply.body.size(), const_cast<char*>(reply.body.data()),
                                           MHD_RESPMEM_MUST_COPY);
}

MHD_Result onRequest(void* server, MHD_Connection* connection, const char*, const char* method,
                     const char* version, const char* upload, std::size_t* uploadSize,
                     void** state) {
    auto* collecting = static_cast<Collecting*>(*state);
    SeenRequest& request = collecting->request;
    if (!collecting->started) {
        collecting->started = true;
        request.method = method;
        request.version = version;
        MHD_get_connection_values(connection, MHD_HEADER_KIND, onHeader, &request);
        return MHD_YES;
    }
    if (*uploadSize > 0) {
        request.body.append(upload, *uploadSize);
        *uploadSize = 0;
        return MHD_YES;
    }
    const Reply reply = static_cast<LocalServer*>(server)->answer(request);
    MHD_Response* response = responseOf(reply);
    for (const auto& [name, value] : reply.headers) {
        MHD_add_response_header(response, name.c_str(), value.c_str());
    }
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

void onCompleted(void*, MHD_Connection*, void** state, MHD_RequestTerminationCode) {
    delete static_cast<Collecting*>(*state);
    *state = nullptr;
}

}  // namespace

std::string SeenRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (sameName(key, name)) return value;
    }
    return {};
}

bool SeenRequest::hasHeader(std::string_view name) const {
    return std::any_of(headers.begin(), headers.end(),
                       [&](const auto& header) { return sameName(header.first, name); });
}

std::optional<TlsIdentity> makeSelfSignedIdentity(const std::string& folder) {
    const std::filesystem::path dir(folder);
    const std::string command =
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
        "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
        (dir / "key.pem").string() + "' -out '" + (dir / "cert.pem").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    TlsIdentity identity{readFile(dir / "cert.pem"), readFile(dir / "key.pem"),
                         (dir / "cert.pem").string()};
    if (identity.certificate.empty() || identity.key.empty()) return std::nullopt;
    return identity;
}

LocalServer::LocalServer(Handler handler, const TlsIdentity* tls)
    : handler_(std::move(handler)), secure_(tls != nullptr) {
    sockaddr_in address = loopback(0);
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION;
    if (tls) {
        daemon_ = MHD_start_daemon(
            flags | MHD_USE_TLS, 0, nullptr, nullptr, onRequest, this, MHD_OPTION_SOCK_ADDR,
            &address, MHD_OPTION_URI_LOG_CALLBACK, onUri, nullptr, MHD_OPTION_NOTIFY_COMPLETED,
            onCompleted, nullptr, MHD_OPTION_HTTPS_MEM_KEY, tls->key.c_str(),
            MHD_OPTION_HTTPS_MEM_CERT, tls->certificate.c_str(), MHD_OPTION_END);
    } else {
        daemon_ =
            MHD_start_daemon(flags, 0, nullptr, nullptr, onRequest, this, MHD_OPTION_SOCK_ADDR,
                             &address, MHD_OPTION_URI_LOG_CALLBACK, onUri, nullptr,
                             MHD_OPTION_NOTIFY_COMPLETED, onCompleted, nullptr, MHD_OPTION_END);
    }
    if (daemon_) port_ = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT)->port;
}

LocalServer::~LocalServer() {
    if (daemon_) MHD_stop_daemon(daemon_);
}

std::string LocalServer::url(std::string_view path) const {
    return std::string(secure_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
           std::string(path);
}

std::vector<SeenRequest> LocalServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

SeenRequest LocalServer::lastRequest() const {
    std::lock_guard lock(mutex_);
    return requests_.empty() ? SeenRequest{} : requests_.back();
}

Reply LocalServer::answer(SeenRequest request) {
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    return handler_(request);
}

SilentServer::SilentServer() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(socket_, 16) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return;
    }
    port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() {
    if (socket_ >= 0) ::close(socket_);
}

std::string SilentServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

}  // namespace yelian::testing
