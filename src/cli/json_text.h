// JSON strings for the command line's machine-readable output.
#pragma once

#include <string>
#include <string_view>

namespace yelian {

// The UTF-8 text as a JSON string literal, quotes included: the quote, the backslash, every
// control character (U+0000 to U+001F) and DEL escaped; everything else copied as it is.
std::string jsonString(std::string_view utf8);

}  // namespace yelian
