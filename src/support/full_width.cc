// Full-width forms of ASCII within GBK.
#include "support/full_width.h"

#include "support/gbk_text.h"

namespace yelian {

std::string toFullWidth(std::string_view gbk) {
    std::string result;
    result.reserve(gbk.size() * 2);
    for (std::size_t pos = 0; pos < gbk.size();) {
        const std::size_t length = charLengthAt(gbk, pos);
        const auto byte = static_cast<unsigned char>(gbk[pos]);
        if (byte == ' ') {
            result += "\xA1\xA1";
        } else if (byte >= '!' && byte <= '}') {
            result += '\xA3';
            result += static_cast<char>(byte | 0x80);
        } else if (byte == '~') {
            result += "\xA1\xAB";
        } else if (byte >= 0x80 && length == 1) {
            break;
        } else {
            result += gbk.substr(pos, length);
        }
        pos += length;
    }
    return result;
}

}  // namespace yelian
