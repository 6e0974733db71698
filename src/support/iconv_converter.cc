// One iconv conversion direction.
#include "support/iconv_converter.h"

#include <cerrno>

namespace yelian {

IconvConverter::~IconvConverter() {
    if (isOpen()) iconv_close(cd_);
}

bool IconvConverter::ready() {
    if (!isOpen()) cd_ = iconv_open(to_, from_);
    return isOpen();
}

std::size_t IconvConverter::append(const char* in, std::size_t size, std::string& out) {
    if (!ready()) return 0;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const std::size_t start = out.size();
    out.resize(start + size * 2 + 8);
    char* inPtr = const_cast<char*>(in);
    std::size_t inLeft = size;
    char* outPtr = out.data() + start;
    std::size_t outLeft = out.size() - start;
    while (inLeft > 0) {
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != E2BIG) break;
        const auto used = static_cast<std::size_t>(outPtr - out.data());
        out.resize(out.size() * 2);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
    }
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
    return size - inLeft;
}

}  // namespace yelian
