// JSON string escaping.
#include "cli/json_text.h"

namespace yelian {

std::string jsonString(std::string_view utf8) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string json;
    json.reserve(utf8.size() + 2);
    json += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\b':
                json += "\\b";
                break;
            case '\f':
                json += "\\f";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    json += "\\u00";
                    json += kHex[byte >> 4];
                    json += kHex[byte & 0x0F];
                } else {
                    json += c;
                }
        }
    }
    json += '"';
    return json;
}

}  // namespace yelian
