// Gzip streams for tests of what reads compressed articles and pages.
#pragma once

#include <string>
#include <string_view>

namespace yelian::testing {

// The text as one gzip member.
std::string gzip(std::string_view text);

}  // namespace yelian::testing
