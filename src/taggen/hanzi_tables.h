// The built-in character tables of random Chinese text.
#pragma once

#include <string_view>

namespace yelian {

enum class HanziTable {
    MostCommon,  // 最常用: 498 of the most frequent characters
    Common,      // 一般常用: the 2,500 common characters of the 1988 list
    LessCommon,  // 次要常用: the 1,000 less common characters of the same list
};

// The table's characters as GBK: double-byte characters only, each once, no separators.
// The text lives as long as the program.
std::string_view hanziTable(HanziTable table);

}  // namespace yelian
