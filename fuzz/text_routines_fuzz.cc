// The shared text routines on hostile texts and markers: searches between markers once and
// block after block (every walk must end), alternatives, replacements, character counting and
// cutting, path parts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "support/text_routines.h"

namespace {

using namespace yelian;

// A walk takes at least one byte per block; more steps than bytes is a walk that never ends.
void walkBlocks(std::string_view text, std::string_view left, std::string_view right,
                const NextOptions& options) {
    int cursor = 0;
    int limit = 0;
    const std::size_t maxSteps = text.size() + left.size() + right.size() + 8;
    for (std::size_t step = 0; step <= maxSteps; ++step) {
        if (textBetweenNext(text, left, right, cursor, limit, options).empty()) return;
    }
    std::abort();
}

void searchBetween(FuzzInput& input, std::string_view text, std::string_view left,
                   std::string_view right) {
    BetweenOptions between;
    between.shiftStart = input.takeSmallInt();
    between.shiftEnd = input.takeSmallInt();
    between.backward = input.takeBool();
    between.convertQuotes = input.takeBool();
    int cursor = input.takeSmallInt();
    textBetween(text, left, right, cursor, between);
    textBetween(text, left, right, between);

    NextOptions next;
    next.backward = input.takeBool();
    next.keepQuotes = input.takeBool();
    next.shiftStart = input.takeSmallInt();
    next.shiftEnd = input.takeSmallInt();
    walkBlocks(text, left, right, next);
}

void replaceAndCount(FuzzInput& input, std::string_view text, std::string_view finds,
                     std::string_view replacements) {
    ReplaceOptions options;
    options.caseSensitive = input.takeBool();
    options.fillEmpty = input.takeBool();
    options.count = input.takeSmallInt();
    multiReplace(text, finds, replacements, options);
    const ReplacePair pairs[] = {{finds, replacements}, {replacements, finds}};
    replacePairs(text, pairs, options.caseSensitive, options.count);
    replaceAtOnce(text, pairs, options.caseSensitive);
    countOccurrences(text, finds);
    containsAlternatives(text, finds, options.caseSensitive);
    splitText(text, replacements);
    quotePairsToQuote(text);
}

void cutCharacters(FuzzInput& input, std::string_view text, std::string_view needle) {
    for (LineBreaks breaks : {LineBreaks::NotCounted, LineBreaks::PairAsOne, LineBreaks::EveryByte})
        charCount(text, breaks);
    const int n = input.takeSmallInt();
    const int count = input.takeSmallInt();
    const bool ignoreCase = input.takeBool();
    const bool everyByte = input.takeBool();
    leftChars(text, n);
    midChars(text, n, count);
    findCharPos(text, needle, n, ignoreCase, everyByte);
    findCharPosBackward(text, needle, count, ignoreCase, everyByte);
}

void takePathsApart(std::string_view text) {
    for (bool slash : {false, true}) {
        fileNameOf(text, slash);
        baseNameOf(text, slash);
        folderOf(text, slash);
        urlPathOf(text, slash);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t flags = input.takeByte();
    const std::string left(input.takeText());
    const std::string right(input.takeText());
    const std::string text(input.takeRest());
    if (flags & 1) searchBetween(input, text, left, right);
    if (flags & 2) replaceAndCount(input, text, left, right);
    cutCharacters(input, text, left);
    takePathsApart(text);
    return 0;
}
