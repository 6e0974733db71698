// Cookies as plain texts in the form of a Cookie header value: taking them from response
// headers, merging a received set into a kept one, and the texts HttpRequest gives of a
// response's Set-Cookie lines. None of these fails: missing input gives an empty result.
#pragma once

#include <string>
#include <string_view>

namespace yelian {

// The cookies a fetchPage response set: each Set-Cookie line's first name=value pair and a
// ";" (a lone ";" for a line without one), in the order of the lines.
std::string receivedCookieText(std::string_view headerText);

// The cookies a fetchPageDirect response set, as name=value pairs joined by "; ".
std::string collectNewCookies(std::string_view rawHeaders);

// Merges received into kept: the received cookies first, then the kept ones whose name was not
// received; pairs ending in "=deleted" are dropped, repeated pairs kept once. Blanks are
// removed from both texts; kept receives the result, which is also returned.
std::string mergeCookies(std::string& kept, std::string& received);

// The name of one cookie element: the text before its first "=", blanks trimmed.
std::string cookieName(std::string_view element);

// The text split at separator with each distinct element kept at its first place, joined
// again with separator.
std::string uniqueJoin(std::string_view text, std::string_view separator);

// The value of the named cookie in a response's header lines (see HttpRequest).
std::string responseCookieValueIn(std::string_view headers, std::string_view name);

// Every header line that begins with "Set-Cookie:", each followed by CR LF.
std::string setCookieLinesIn(std::string_view headers);

// The Set-Cookie values with their attributes, each followed by "; ".
std::string responseCookiesIn(std::string_view headers);

}  // namespace yelian
