// Downloading one page the way the template maker does, to see what it sees.
#include "cli/fetch_command.h"

#include <ostream>
#include <string_view>
#include <vector>

#include "cli/argument_walk.h"
#include "cli/clock_desktop.h"
#include "cli/terminal_desktop.h"
#include "support/gbk_text.h"
#include "support/text_encoding.h"
#include "web/http_request.h"
#include "web/page_fetch.h"
#include "web/web_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

constexpr std::string_view kFetchHelp = R"(Usage: yelian fetch [OPTIONS] URL

Downloads the page at URL as the template maker does and prints it, decoded, in UTF-8 on
standard output: an address beginning with "https://" (in any case) goes through the page
fetch on a worker thread (60 seconds at most), every other one through the request object
(GET, time-outs of 10, 10, 60 and 120 seconds); an address without a scheme gets "http://".
The page is decoded as the template maker decodes it: UTF-8 when the response headers or
the page declare it or its bytes are UTF-8, Big5 when the page declares it, else GBK.

Options:
  --raw       print the body bytes exactly as received (compressed ones included)
                yelian fetch --raw https://example.com/ > page.bin
  --headers   print the response header block on standard error as well
                yelian fetch --headers example.com/news/1.html
  -h, --help  show this help
                yelian fetch --help

Certificates are always checked against the system's certificate store. A page larger
than 64 MiB, more than 10 redirects or a line break in URL count as failures.

Exit status: 0 a body arrived; 1 the download failed or timed out (the message says why);
2 usage error.
)";

struct FetchArguments {
    bool help = false;
    bool raw = false;
    bool headers = false;
    std::vector<std::string> urls;
};

struct ParsedFetch {
    FetchArguments arguments;
    std::string error;
};

ParsedFetch parseFetchArguments(std::span<const std::string> args) {
    ParsedFetch parsed;
    FetchArguments& out = parsed.arguments;
    ArgumentWalk walk(args);
    while (!walk.done() && parsed.error.empty()) {
        const std::string_view arg = walk.take();
        if (walk.operandOrHelp(arg, out.urls, out.help)) continue;
        if (arg == "--raw") {
            out.raw = true;
        } else if (arg == "--headers") {
            out.headers = true;
        } else {
            parsed.error = "unknown option '" + std::string(arg) + "'";
        }
    }
    if (parsed.error.empty() && !out.help && out.urls.size() != 1) {
        parsed.error = out.urls.empty()
                           ? "no URL given: name the page to download"
                           : "one URL at a time, not " + std::to_string(out.urls.size());
    }
    return parsed;
}

int usageError(std::ostream& err, std::string_view message) {
    err << "yelian fetch: " << message << "\nTry 'yelian fetch --help'.\n";
    return kExitUsage;
}

struct Download {
    std::string body;
    std::string headers;
    // The page as the template maker reads it.
    std::string text;
};

Expected<Download> downloadSecure(std::string url) {
    ClockDesktop desktop;
    Expected<FetchedPage> page = tryFetchPage(url, desktop);
    if (!page) return page.error();
    std::string text = readTextBytes(page->body, TextEncoding::Auto).text;
    return Download{std::move(page->body), std::move(page->responseHeaders), std::move(text)};
}

Expected<Download> downloadPlain(std::string_view url) {
    ClockDesktop desktop;
    HttpRequest request(desktop);
    RequestOptions options;
    Expected<std::string> text = request.tryRequestText(url, options);
    if (!text) return text.error();
    return Download{request.responseBody(), request.getAllResponseHeaders(), std::move(*text)};
}

}  // namespace

int runFetch(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const ParsedFetch parsed = parseFetchArguments(args);
    if (!parsed.error.empty()) return usageError(err, parsed.error);
    const FetchArguments& options = parsed.arguments;
    if (options.help) {
        out << kFetchHelp;
        return kExitAllWritten;
    }

    const std::string url = utf8ToGbk(options.urls.front());
    const bool secure = lowerAscii(std::string_view(url).substr(0, 8)) == "https://";
    const Expected<Download> download = secure ? downloadSecure(url) : downloadPlain(url);
    if (!download) {
        err << "yelian fetch: " << terminalText(download.error().message) << '\n';
        return kExitDownloadFailed;
    }
    if (options.headers) err << terminalText(download->headers);
    if (download->body.empty()) {
        err << "yelian fetch: " << terminalText("服务器没有返回网页内容"_gbk) << '\n';
        return kExitDownloadFailed;
    }
    out << (options.raw ? download->body : gbkToUtf8(download->text));
    return kExitAllWritten;
}

}  // namespace yelian
