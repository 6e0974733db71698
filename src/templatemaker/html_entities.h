// Turning the text of a page's title or heading into a plain one-line title: HTML character
// references become GBK characters, and characters that may not appear in a file name become
// their full-width forms. Texts are GBK.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/event_hook.h"

namespace yelian {

// Replaces the 40 named references the titles of Chinese pages use ("&amp;", "&nbsp;",
// "&hellip;" ...; names compared case-sensitively, "&amp;" first, so "&amp;lt;" gives "<")
// and then the numeric ones: "&#" + letters and digits + ";", read as a decimal number, or,
// when that gives 0, as hexadecimal digits after the first letter ("&#x4E2D;"). A value of 0
// removes the reference; a value that is not a Unicode scalar value (negative, a surrogate,
// above U+10FFFF) leaves it as it is, and so does a "&#" without its ";". A replacement is
// never read again. processEvents runs once per numeric reference.
std::string decodeEntities(std::string_view text, const ProcessEvents& processEvents = {});

// The text made safe as a one-line title: \ / : * ? | < > become their full-width forms,
// double quotes, CR, LF and TAB are removed. Double-byte characters are kept whole, so a
// trailing byte that equals one of these ASCII characters is never touched.
std::string sanitiseTitle(std::string_view text);

// The value of hexadecimal digits (either case): each byte multiplies the value by 16 and
// adds its digit, a byte that is not a digit adds -2. Computed in double precision and cut to
// a whole number after each byte; beyond the 64-bit range it stays at the nearest limit.
std::int64_t hexToNumber(std::string_view text);

// Little-endian UTF-16 code units (an odd last byte is ignored) as GBK text, up to the first
// zero unit. Surrogate pairs give the GB18030 four-byte characters; a unit that has no
// character (a lone surrogate) gives "?".
std::string utf16ToGbk(std::string_view bytes);

}  // namespace yelian
