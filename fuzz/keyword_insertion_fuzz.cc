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
    // Small counts mostly, and counts into the thousands of either sign. The cap of a million
    // insertions and the counts at the ends of the 64-bit range have a unit test: a million
    // insertions under the sanitizers take seconds, longer than a fuzzing run's time-out.
    std::int64_t n = input.takeSmallInt();
    std::string text(input.takeText());
    if (flags & 1) {
        n = input.takeInt64() % 20001;
        text.resize(std::min<std::size_t>(text.size(), 64));
    }
    const std::string content(input.takeRest());
    insertKeywords(content, text, n, random);
    const PhraseLine line = preparePhraseLine(text);
    for (const std::string& url : line.urls) keywordAnchor(text, url);
    return 0;
}
