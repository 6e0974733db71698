// Keyword insertion into hostile bodies (tags left open, lone letters, line breaks) with any
// number of insertions the two bound boxes can ask for.
#include <cstdint>
#include <string>

#include "engine/keyword_insertion.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace yelian;
    FuzzInput input(data, size);
    const std::uint8_t flags = input.takeByte();
    RandomSource random(input.takeByte());
    // Small counts mostly, counts into the thousands of either sign, and with flags 0xFF any
    // 64-bit count with a short word, so that the million insertions it is capped at stay a
    // few megabytes (and the slow inputs stay rare).
    std::int64_t n = input.takeSmallInt();
    std::string text(input.takeText());
    if (flags & 1) {
        n = input.takeInt64();
        if (flags != 0xFF) n %= 20001;
        text.resize(std::min<std::size_t>(text.size(), flags == 0xFF ? 4 : 64));
    }
    const std::string content(input.takeRest());
    insertKeywords(content, text, n, random);
    const PhraseLine line = preparePhraseLine(text);
    for (const std::string& url : line.urls) keywordAnchor(text, url);
    return 0;
}
