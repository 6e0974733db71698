// Character references, title cleaning and the small decoders of the template maker.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "templatemaker/html_entities.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace yelian;
    FuzzInput input(data, size);
    const std::string_view text = input.takeRest();
    const std::string decoded = decodeEntities(text);
    sanitiseTitle(text);
    sanitiseTitle(decoded);
    hexToNumber(text);
    utf16ToGbk(text);
    return 0;
}
