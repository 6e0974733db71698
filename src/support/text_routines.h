// The text routines the engine, the template maker and the support classes share: the text
// between two markers (once or block after block), lists of alternatives, list-pair
// replacement, counting and cutting by characters, and taking paths apart. Texts are GBK;
// positions and cursors are 1-based bytes with -1 for not found, character positions count
// as charCount does. Every search begins matches on character boundaries only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/gbk_text.h"

namespace yelian {

// Stand-ins for an empty marker: an empty left marker means "from the beginning", an empty
// right marker "to the end", by searching for these texts put around the searched text.
inline constexpr GbkConstant<"#澜川头#"> kHeadMarker;
inline constexpr GbkConstant<"#澜川尾#"> kTailMarker;

// The separator of alternative lists ("charset=UTF-8[fg]charset=''UTF-8''").
inline constexpr std::string_view kAlternativesSeparator = "[fg]";

struct BetweenOptions {
    // Bytes moved into the found text from its start and cut from its end.
    int shiftStart = 0;
    int shiftEnd = 0;
    // Take the last right marker (before the cursor when it is above 0) and the nearest left
    // marker before it.
    bool backward = false;
    // Read '' in the markers as a double quote.
    bool convertQuotes = false;
};

// The text between the first left marker (searched from the cursor, case ignored) and the
// first right marker after it; empty when either is missing. The cursor (1-based, 0 = from the
// start) moves behind the right marker, or, backward, to the left marker. Positions refer to
// the text with kHeadMarker in front when the left marker is empty.
std::string textBetween(std::string_view text, std::string_view left, std::string_view right,
                        const BetweenOptions& options = {});
std::string textBetween(std::string_view text, std::string_view left, std::string_view right,
                        int& cursor, const BetweenOptions& options = {});

// The cursor value at which textBetweenNext has walked past the last block.
inline constexpr int kWalkFinished = -2;

struct NextOptions {
    // Find the next right marker, then the nearest left marker before it.
    bool backward = false;
    int shiftStart = 0;
    int shiftEnd = 0;
    // Take '' in the markers literally instead of as a double quote.
    bool keepQuotes = false;
};

// A block walker: call it with the same cursor, starting at 0, until it returns empty (the
// cursor is then kWalkFinished). When the markers hold double quotes and nothing is found, it
// tries again with the quotes removed, so class="x" also finds class=x. A backward walk ends
// when the left marker found lies at or before limit (the right marker of the last block).
std::string textBetweenNext(std::string_view text, std::string_view left, std::string_view right,
                            int& cursor, const NextOptions& options = {});
std::string textBetweenNext(std::string_view text, std::string_view left, std::string_view right,
                            int& cursor, int& limit, const NextOptions& options);

// Every '' becomes one double quote.
std::string quotePairsToQuote(std::string_view text);

// With any: true when one alternative of the "[fg]" list occurs in text (case ignored), false
// for an empty list. Without: true when every alternative occurs (also for an empty list).
bool containsAlternatives(std::string_view text, std::string_view alternatives, bool any);

// The shared split rule: no items for an empty text; every separator ends an item (so two in
// a row give an empty item); the text after the last separator is an item when not empty.
// An empty separator leaves the text as one item.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

}  // namespace yelian
