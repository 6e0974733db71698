// One iconv conversion direction, opened on first use and closed with the object.
#pragma once

#include <iconv.h>

#include <cstddef>
#include <string>

namespace yelian {

class IconvConverter {
  public:
    // Charset names as iconv knows them, for example "GB18030" and "UTF-8".
    IconvConverter(const char* to, const char* from) : to_(to), from_(from) {}
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;
    ~IconvConverter();

    // Converts [in, in + size) and appends the result to out. Stops at the first byte it
    // cannot convert (invalid, or a sequence cut off at the end) and returns how many input
    // bytes were consumed: size when everything was converted. Returns 0 when iconv does not
    // know the charsets.
    std::size_t append(const char* in, std::size_t size, std::string& out);

    // Opens the conversion if it is not open yet; false when iconv does not know the charsets.
    bool ready();

  private:
    bool isOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    const char* to_;
    const char* from_;
    iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
};

}  // namespace yelian
