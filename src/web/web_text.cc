// Markers, addresses and header texts of the web client.
#include "web/web_text.h"

#include <array>

#include "support/gbk_text.h"
#include "support/number_text.h"
#include "support/text_routines.h"
#include "support/text_search.h"

namespace yelian {

using namespace yelian::literals;

namespace {

bool isBlankAt(std::string_view text, std::size_t pos) {
    if (text[pos] == ' ') return true;
    const std::string& ideographic = "　"_gbk;
    return text.substr(pos).starts_with(ideographic);
}

// Where the host begins: after the scheme's "//" when there is one. Looking for the host from
// there keeps a host such as "t" from being found inside "http://".
std::size_t hostSearchStart(std::string_view url) {
    const std::size_t scheme = url.find("://");
    return scheme == std::string_view::npos ? 0 : scheme + 3;
}

}  // namespace

std::string betweenMarkers(std::string_view text, std::string_view left, std::string_view right) {
    const std::string& quoteMarker = "#引号"_gbk;
    const std::string from = replaceEvery(left, quoteMarker, "\"");
    const std::string to = replaceEvery(right, quoteMarker, "\"");
    const std::size_t start = findText(text, from, 0, false);
    if (start == kNotFound) return {};
    const std::size_t inner = start + from.size();
    const std::size_t end = findText(text, to, inner, false);
    if (end == kNotFound) return {};
    return std::string(text.substr(inner, end - inner));
}

std::string textBefore(std::string_view text, std::string_view separator) {
    const std::size_t at = findText(text, separator, 0, false);
    return at == kNotFound ? std::string() : std::string(text.substr(0, at));
}

std::string urlHost(std::string_view url, bool keepPort) {
    std::string lowered = lowerAscii(url);
    if (!lowered.ends_with('/')) lowered += '/';
    std::string host;
    if (lowered.starts_with("https://")) {
        host = betweenMarkers(lowered, "https://", "/");
    } else {
        if (lowered.find("http://") == std::string::npos) lowered.insert(0, "http://");
        host = betweenMarkers(lowered, "http://", "/");
    }
    if (!keepPort) {
        const std::size_t colon = host.find(':');
        if (colon != std::string::npos) host.resize(colon);
    }
    return host;
}

std::string urlPath(std::string_view url) {
    const std::string host = urlHost(url);
    std::size_t at = findText(url, host, hostSearchStart(url), true);
    if (at == kNotFound) at = 0;
    const std::size_t slash = url.find('/', at);
    return slash == std::string_view::npos ? std::string("/") : std::string(url.substr(slash));
}

int urlPort(std::string_view url) {
    const std::string host = urlHost(url, true);
    const std::size_t colon = host.rfind(':');
    if (colon == std::string::npos) return lowerAscii(url).starts_with("https") ? 443 : 80;
    return static_cast<int>(textToInteger(std::string_view(host).substr(colon + 1)));
}

std::string trimBlanks(std::string_view text) {
    const std::size_t ideographic = "　"_gbk.size();
    std::size_t begin = 0;
    while (begin < text.size() && isBlankAt(text, begin)) {
        begin += text[begin] == ' ' ? 1 : ideographic;
    }
    // From the end, only whole characters are taken off: walk forward to find the last
    // character that is no blank.
    std::size_t end = begin;
    for (std::size_t pos = begin; pos < text.size();) {
        const std::size_t length = charLengthAt(text, pos);
        if (!isBlankAt(text, pos)) end = pos + length;
        pos += length;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string lowerAscii(std::string_view text) {
    std::string lowered(text);
    for (std::size_t pos = 0; pos < lowered.size();) {
        const std::size_t length = charLengthAt(lowered, pos);
        if (length == 1 && lowered[pos] >= 'A' && lowered[pos] <= 'Z') lowered[pos] += 'a' - 'A';
        pos += length;
    }
    return lowered;
}

bool containsAnyCase(std::string_view text, std::string_view needle) {
    return findText(text, needle, 0, true) != kNotFound;
}

std::string replaceEvery(std::string_view text, std::string_view from, std::string_view to,
                         bool ignoreCase) {
    if (from.empty()) return std::string(text);
    const TextFinder finder(from, ignoreCase);
    std::string out;
    std::size_t done = 0;
    for (std::size_t at = finder.findIn(text); at != kNotFound; at = finder.findIn(text, done)) {
        out.append(text.substr(done, at - done)).append(to);
        done = at + from.size();
    }
    out.append(text.substr(done));
    return out;
}

std::vector<std::string> nonEmptyLines(std::string_view text) {
    std::vector<std::string> lines;
    for (std::string& line : splitText(text, "\r\n")) {
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

bool declaresUtf8(std::string_view headers) {
    constexpr std::array<std::string_view, 3> kDeclarations = {"charset=utf-8", "charset=\"utf-8\"",
                                                               "charset='utf-8'"};
    for (const std::string_view declaration : kDeclarations) {
        if (containsAnyCase(headers, declaration)) return true;
    }
    return false;
}

}  // namespace yelian
