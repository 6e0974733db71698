// Full-width forms of ASCII within GBK: the visible ASCII characters as A3 xx, the space as
// the ideographic space A1 A1 and the tilde as A1 AB.
#pragma once

#include <string>
#include <string_view>

namespace yelian {

// The text with every ASCII character from the space to "~" in its full-width form;
// double-byte characters and control bytes are copied unchanged. A lead byte cut off at the
// end of the text ends the conversion, so it is dropped.
std::string toFullWidth(std::string_view gbk);

}  // namespace yelian
