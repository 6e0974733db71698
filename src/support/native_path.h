// Internal paths are GBK text; names on disk are UTF-8. These two routines cross between them.
// A name on disk that is not valid UTF-8 is taken as GB18030 bytes as it is, and goes back
// to disk unchanged.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/expected.h"

namespace yelian {

// The separator of native paths.
inline constexpr char kPathSeparator = std::filesystem::path::preferred_separator;

std::filesystem::path toNativePath(std::string_view gbkPath);
// toNativePath for a file about to be read: refused when one of the names exists on disk both
// as UTF-8 and as raw GBK bytes, since the internal path cannot tell the two files apart.
Expected<std::filesystem::path> toUnambiguousNativePath(std::string_view gbkPath);
std::string fromNativePath(const std::filesystem::path& path);

}  // namespace yelian
