// The text routines of the web client: markers, addresses and header texts as the downloads
// read them. Texts are GBK; searches step over double-byte characters as units.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace yelian {

// The browser the downloads present themselves as unless told otherwise.
inline constexpr std::string_view kChromeUserAgent =
    "Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/30.0.1599.101 Safari/537.36";

// The text between the first left and the next right after it (exact case), empty when
// either is missing. "#引号" in a marker stands for a double quote.
std::string betweenMarkers(std::string_view text, std::string_view left, std::string_view right);

// The text before the first separator; empty when the separator does not occur.
std::string textBefore(std::string_view text, std::string_view separator);

// The host of an address, lower-cased, without its port unless keepPort is set.
std::string urlHost(std::string_view url, bool keepPort = false);

// What follows the host: "/" and the rest of the address, query and fragment included; "/"
// when nothing follows.
std::string urlPath(std::string_view url);

// The port written after the host, else 443 for an "https" address and 80 for any other.
int urlPort(std::string_view url);

// The text without spaces and ideographic spaces at either end.
std::string trimBlanks(std::string_view text);

// The text with its ASCII letters lowered; double-byte characters stay as they are.
std::string lowerAscii(std::string_view text);

// Whether needle occurs in text, ASCII case ignored.
bool containsAnyCase(std::string_view text, std::string_view needle);

// Every occurrence of from replaced by to, exact or ASCII case ignored.
std::string replaceEvery(std::string_view text, std::string_view from, std::string_view to,
                         bool ignoreCase = false);

// The text split at CR LF, empty lines left out.
std::vector<std::string> nonEmptyLines(std::string_view text);

// Whether the response headers declare UTF-8: charset=utf-8, quoted or not, in any case.
bool declaresUtf8(std::string_view headers);

}  // namespace yelian
