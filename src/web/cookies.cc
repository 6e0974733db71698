// Cookie texts: what responses set and how sets are merged.
#include "web/cookies.h"

#include <algorithm>
#include <vector>

#include "support/gbk_text.h"
#include "support/text_routines.h"
#include "support/text_search.h"
#include "web/web_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

std::string withoutBlanks(std::string_view text) {
    return replaceEvery(replaceEvery(text, " ", ""), "　"_gbk, "");
}

std::string joinAll(const std::vector<std::string>& items, std::string_view separator) {
    std::string out;
    for (const std::string& item : items) out.append(item).append(separator);
    if (!out.empty()) out.resize(out.size() - separator.size());
    return out;
}

}  // namespace

std::string receivedCookieText(std::string_view headerText) {
    constexpr std::string_view kPrefix = "Set-Cookie: ";
    std::string received;
    if (!containsAnyCase(headerText, kPrefix)) return received;
    for (const std::string& line : splitText(headerText, "\r\n")) {
        if (!containsAnyCase(line, kPrefix)) continue;
        const std::string_view cookie = std::string_view(line).substr(kPrefix.size());
        received.append(textBefore(cookie, ";")).append(";");
    }
    return received;
}

std::string collectNewCookies(std::string_view rawHeaders) {
    const std::string headers = replaceEvery(rawHeaders, "Set-Cookie", "Set-Cookie", true);
    std::string result;
    for (const std::string& line : splitText(headers, "\r\n")) {
        if (line.find("Set-Cookie") == std::string::npos) continue;
        const std::string part = line.find(';') == std::string::npos
                                     ? replaceEvery(line, "Set-Cookie:", "", true)
                                     : betweenMarkers(line, "Set-Cookie:", ";");
        result.append(trimBlanks(part)).append("; ");
    }
    if (!result.empty()) result.resize(result.size() - 2);
    return result;
}

std::string mergeCookies(std::string& kept, std::string& received) {
    kept = withoutBlanks(kept);
    received = withoutBlanks(received);
    std::vector<std::string> merged = splitText(received, ";");
    for (std::string& element : splitText(kept, ";")) {
        const std::string name = cookieName(element);
        const auto sameName = [&name](const std::string& other) {
            return cookieName(other) == name;
        };
        // A kept cookie taken over counts like a received one for the kept cookies after it.
        if (std::none_of(merged.begin(), merged.end(), sameName)) {
            merged.push_back(std::move(element));
        }
    }
    std::erase_if(merged, [](const std::string& element) { return element.ends_with("=deleted"); });
    kept = uniqueJoin(joinAll(merged, "; "), "; ");
    return kept;
}

std::string cookieName(std::string_view element) {
    const std::size_t equals = element.find('=');
    return trimBlanks(equals == std::string_view::npos ? element : element.substr(0, equals));
}

std::string uniqueJoin(std::string_view text, std::string_view separator) {
    std::vector<std::string> unique;
    for (std::string& element : splitText(text, separator)) {
        if (std::find(unique.begin(), unique.end(), element) == unique.end()) {
            unique.push_back(std::move(element));
        }
    }
    return joinAll(unique, separator);
}

std::string responseCookieValueIn(std::string_view headers, std::string_view name) {
    const std::string pair = std::string(name) + "=";
    std::string value = betweenMarkers(headers, "Set-Cookie: " + pair, ";");
    if (value.empty()) value = betweenMarkers(headers, "Set-Cookie:" + pair, ";");
    return value;
}

std::string setCookieLinesIn(std::string_view headers) {
    std::string lines;
    for (const std::string& line : splitText(headers, "\r\n")) {
        if (line.starts_with("Set-Cookie:")) lines.append(line).append("\r\n");
    }
    return lines;
}

std::string responseCookiesIn(std::string_view headers) {
    return replaceEvery(replaceEvery(setCookieLinesIn(headers), "Set-Cookie: ", ""), "\r\n", "; ");
}

}  // namespace yelian
