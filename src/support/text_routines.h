// The text routines the engine, the template maker and the support classes share: the text
// between two markers (once or block after block), lists of alternatives, list-pair
// replacement, counting and cutting by characters, and taking paths apart. Texts are GBK;
// positions and cursors are 1-based bytes with -1 for not found, character positions count
// as charCount does. Every search begins matches on character boundaries only.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/file_env.h"
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

struct ReplaceOptions {
    bool caseSensitive = false;
    // An empty replacement takes the first replacement of the list.
    bool fillEmpty = false;
    // Separates the finds and the replacements; empty counts as "|".
    std::string_view separator = "|";
    // At most this many replacements per find; 0 or less: all.
    int count = 0;
};

// Splits finds and replacements at the separator (the replacements cut or padded with empty
// texts to the number of finds) and replaces, in list order, every occurrence of each find by
// its replacement, each step working on the result of the previous one. An empty find
// changes nothing.
std::string multiReplace(std::string_view text, std::string_view finds,
                         std::string_view replacements = {}, const ReplaceOptions& options = {});

struct ReplacePair {
    std::string_view find;
    std::string_view replacement;
};

// multiReplace over a list of pairs, for replacement texts that may hold the separator.
std::string replacePairs(std::string_view text, std::span<const ReplacePair> pairs,
                         bool caseSensitive = false, int count = 0);

// Replaces every find by its replacement in one pass from left to right: where several finds
// match at one place the earlier pair wins, and a replacement is never searched again, so
// each find receives exactly its own replacement whatever the replacements contain.
std::string replaceAtOnce(std::string_view text, std::span<const ReplacePair> pairs,
                          bool caseSensitive = false);

// The number of non-overlapping occurrences of needle, case ignored; 0 for an empty needle.
int countOccurrences(std::string_view text, std::string_view needle);

// How charCount and the character routines count line-break bytes.
enum class LineBreaks {
    // CR and LF bytes are not counted.
    NotCounted = 0,
    // CR LF counts one, a lone CR or LF counts one.
    PairAsOne = 1,
    // Every CR and every LF byte counts one (the positions of an edit control).
    EveryByte = 2,
};

// The number of characters: a byte below 0x80 or one double- or four-byte character counts one.
int charCount(std::string_view text, LineBreaks lineBreaks = LineBreaks::PairAsOne);

// The first n characters (CR LF counting one); n below 0: all but the last -n characters, the
// whole text when that leaves none; n = 0: empty.
std::string leftChars(std::string_view text, int n);

// The characters first .. first + count - 1 (first below 1 counts as 1, CR LF counting one).
std::string midChars(std::string_view text, int first, int count);

// The character position of the first occurrence beginning at or after character start (a
// negative start counts back from the end, 0 counts as 1), or -1. Characters count as charCount
// does with LineBreaks::PairAsOne, or LineBreaks::EveryByte with everyBreakByte.
int findCharPos(std::string_view text, std::string_view needle, int start = 1,
                bool ignoreCase = true, bool everyBreakByte = false);

// The character position of the last occurrence that ends at or before character end (0: the
// end of the text, negative: counted back from the end), or -1.
int findCharPosBackward(std::string_view text, std::string_view needle, int end = 0,
                        bool ignoreCase = true, bool everyBreakByte = false);

// Path parts. The separator is the native one (kPathSeparator), or "/" with slash (links).
// fileNameOf: the part after the last separator, the whole path when there is none.
std::string fileNameOf(std::string_view path, bool slash = false);
// baseNameOf: fileNameOf without its last extension.
std::string baseNameOf(std::string_view path, bool slash = false);
// folderOf: the part before the last separator, empty when there is none.
std::string folderOf(std::string_view path, bool slash = false);

// The part of a URL after the first "/" behind the scheme: with keepWhole without that "/",
// and the whole URL when there is no "/"; without keepWhole with the "/", and empty when
// there is none.
std::string urlPathOf(std::string_view url, bool keepWhole);

struct MakeFoldersResult {
    // True when every folder along the path exists now.
    bool ok = true;
    // The folders this call created, outermost first.
    std::vector<std::string> created;
};

// Creates every missing folder along a GBK path. The part after the last separator is a file
// name (or empty) and is never created; the root of an absolute path is not a folder to
// create. Stops at the first folder that cannot be created, and at a file in the way.
MakeFoldersResult makeFolders(FileEnv& files, std::string_view path);

}  // namespace yelian
