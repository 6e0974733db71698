// Template expansion.
#include "engine/tag_expansion.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "controls/control_ops.h"
#include "controls/main_window_names.h"
#include "support/date_time.h"
#include "support/number_text.h"
#include "support/shared_texts.h"
#include "support/text_routines.h"
#include "support/text_search.h"
#include "taggen/generated_length.h"
#include "taggen/random_chinese.h"
#include "taggen/random_letters.h"
#include "taggen/time_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

std::int64_t integerOf(const Controls& controls, std::string_view control) {
    return textToInteger(controls.text(kMainWindow, control));
}

// The counter stops at the ends of its range instead of overflowing: an extreme start or step
// repeats the last value it can show rather than jumping to the other sign.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<std::int64_t>::max()
                 : std::numeric_limits<std::int64_t>::min();
}

std::int64_t saturatingSubtract(std::int64_t a, std::int64_t b) {
    std::int64_t difference = 0;
    if (!__builtin_sub_overflow(a, b, &difference)) return difference;
    return b < 0 ? std::numeric_limits<std::int64_t>::max()
                 : std::numeric_limits<std::int64_t>::min();
}

bool contains(std::string_view page, std::string_view tag) {
    return findText(page, tag, 0, false) != kNotFound;
}

// Every occurrence of tag, compared byte for byte.
std::string replaceAll(std::string_view page, std::string_view tag, std::string_view value) {
    const ReplacePair pair{tag, value};
    return replacePairs(page, std::span(&pair, 1), true);
}

void replaceFirst(std::string& page, const TextFinder& tag, std::string_view value) {
    const std::size_t at = tag.findIn(page);
    if (at != kNotFound) page.replace(at, tag.size(), value);
}

std::string linkValue(std::string_view link, bool folderForm) {
    return folderForm ? "../" + std::string(link) : std::string(link);
}

std::string replaceChainTags(std::string_view pageTemplate, const PageValues& values) {
    const std::string currentLink = linkValue(values.currentLink, values.folderForm);
    const std::string previousLink = linkValue(values.previousLink, values.folderForm);
    const std::string nextLink = linkValue(values.nextLink, values.folderForm);
    // One pass: each tag gets exactly its own value, whatever the values contain (a title
    // holding "|" or another chain tag stays as it is).
    const std::array<ReplacePair, 6> pairs{{
        {kThisLinkTag, currentLink},
        {kPreviousLinkTag, previousLink},
        {kNextLinkTag, nextLink},
        {kThisTitleTag, values.currentTitle},
        {kPreviousTitleTag, values.previousTitle},
        {kNextTitleTag, values.nextTitle},
    }};
    return replaceAtOnce(pageTemplate, pairs);
}

void replaceRandomTags(std::string& page, const PageValues& values) {
    const TextFinder titleTag(kRandomTitleTag, false);
    const TextFinder linkTag(kRandomLinkTag, false);
    const std::size_t draws = std::max(values.randomTitles.size(), values.randomLinks.size());
    for (std::size_t k = 0; k < draws; ++k) {
        if (k < values.randomTitles.size()) replaceFirst(page, titleTag, values.randomTitles[k]);
        if (k < values.randomLinks.size()) {
            replaceFirst(page, linkTag, linkValue(values.randomLinks[k], values.folderForm));
        }
    }
}

// Blanks that lead a description: half-width and full-width spaces.
std::string_view withoutLeadingBlanks(std::string_view text) {
    const std::string& fullWidthBlank = "　"_gbk;
    while (true) {
        if (text.starts_with(' ')) {
            text.remove_prefix(1);
        } else if (text.starts_with(fullWidthBlank)) {
            text.remove_prefix(fullWidthBlank.size());
        } else {
            return text;
        }
    }
}

// The end of the shortest prefix of at least `minimum` bytes that the description's cleaners
// treat exactly as they treat it inside the whole content, or the content's size. No match
// of either expression crosses a line feed except a tag, and a tag match that starts inside
// the prefix ends at the first ">" at least two bytes after its "<"; so the prefix ends right
// after a line feed, and its last "<" has such a ">" inside the prefix. "<", ">" and LF never
// occur inside a GB18030 character, so the bytes can be scanned as they are.
std::size_t cleanPrefixEnd(std::string_view content, std::size_t minimum) {
    if (minimum >= content.size()) return content.size();
    const std::size_t start = std::max<std::size_t>(minimum, 1) - 1;
    std::size_t openTag = content.substr(0, start).rfind('<');
    if (openTag != std::string_view::npos) {
        const std::size_t close = content.find('>', openTag + 2);
        if (close < start) openTag = std::string_view::npos;
    }
    for (std::size_t i = start; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '<') {
            openTag = i;
        } else if (c == '>' && openTag != std::string_view::npos && i >= openTag + 2) {
            openTag = std::string_view::npos;
        } else if (c == '\n' && openTag == std::string_view::npos) {
            return i + 1;
        }
    }
    return content.size();
}

std::string escapeQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = charLengthAt(text, i);
        if (text[i] == '"') out += '\\';
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

}  // namespace

ExpansionState::ExpansionState(const Controls& controlsIn, RandomSource& randomIn)
    : controls(controlsIn), random(randomIn), keywordBag(randomIn) {
    counter = saturatingSubtract(integerOf(controls, kCounterStartEdit),
                                 integerOf(controls, kCounterStepEdit));
    keywords = splitText(controls.text(kMainWindow, kKeywordListEdit), "\r\n");
    linksAndTags.create(R"(([a-zA-z]+://|www.)[\w./]+|<[\S\s]+?>)");
    lineBlanks.create(R"(^[　 \t]*$(\r\n)|^[ 　\t]+|[ 　\t]+$|\r|\n)"_gbk);
}

std::string expandPage(std::string_view pageTemplate, const PageValues& values,
                       ExpansionState& state) {
    std::string page = replaceChainTags(pageTemplate, values);
    replaceRandomTags(page, values);
    page = replaceAll(page, kContentTag, values.content);

    const Controls& controls = state.controls;
    if (const std::string& tag = kCounterTag; contains(page, tag)) {
        state.counter = saturatingAdd(state.counter, integerOf(controls, kCounterStepEdit));
        page = replaceAll(page, tag, integerToText(state.counter));
    }
    if (const std::string& tag = kDescriptionTag; contains(page, tag)) {
        page = replaceAll(page, tag, descriptionOf(values.content, state));
    }
    if (const std::string& tag = kKeywordTag; contains(page, tag)) {
        page = replaceAll(page, tag, keywordsText(state));
    }
    if (const std::string& tag = kRandomChineseTag; contains(page, tag)) {
        const std::string value =
            makeRandomChinese(readRandomChineseSettings(controls), state.random, state.traditional);
        page = replaceAll(page, tag, value);
    }
    if (const std::string& tag = kRandomLettersTag; contains(page, tag)) {
        page = replaceAll(page, tag,
                          makeRandomLetters(readRandomLettersSettings(controls), state.random));
    }
    if (const std::string& tag = kTimeTag; contains(page, tag)) {
        const std::string value =
            makeTimeText(readTimeSettings(controls), state.random, currentLocalDateTime());
        page = replaceAll(page, tag, value);
    }
    return page;
}

std::string descriptionOf(std::string_view content, ExpansionState& state) {
    const std::int64_t drawn =
        state.random.random(integerOf(state.controls, kDescriptionLengthMinEdit),
                            integerOf(state.controls, kDescriptionLengthMaxEdit));
    const int n = static_cast<int>(std::min<std::int64_t>(drawn, std::numeric_limits<int>::max()));
    // Only the first n characters are kept: clean a prefix that usually holds them (two bytes a
    // character and some markup) and double it when it does not, so that the cleaners' cost
    // follows the description's length rather than the article's.
    const auto characters = static_cast<std::size_t>(
        std::min<std::int64_t>(drawn, static_cast<std::int64_t>(content.size())));
    std::size_t wanted = 3 * characters + 256;
    while (true) {
        const std::size_t end = cleanPrefixEnd(content, wanted);
        // Both cleaners work on one conversion of the prefix.
        const std::string withoutTags =
            state.linksAndTags.replaceUtf8(gbkToUtf8(content.substr(0, end)), "");
        const std::string joined = utf8ToGbk(state.lineBlanks.replaceUtf8(withoutTags, ""));
        const std::string_view text = withoutLeadingBlanks(joined);
        if (end == content.size() || charCount(text) >= n) {
            return escapeQuotes(leftChars(text, n));
        }
        wanted = 2 * end;
    }
}

std::string keywordsText(ExpansionState& state) {
    std::string text;
    const std::size_t count = state.keywords.size();
    if (count == 0) return text;
    // Capped like the other generated values: a huge count would loop until memory runs out.
    const std::int64_t n =
        std::min(state.random.random(integerOf(state.controls, kKeywordCountMinEdit),
                                     integerOf(state.controls, kKeywordCountMaxEdit)),
                 kMaxGeneratedLength);
    for (std::int64_t drawn = 0; drawn < n; ++drawn) {
        std::size_t index = 0;
        if (state.controls.checked(kMainWindow, kOrderedCheck)) {
            state.keywordCursor = state.keywordCursor % count + 1;
            index = state.keywordCursor - 1;
        } else {
            index = static_cast<std::size_t>(
                state.keywordBag.draw(1, static_cast<std::int64_t>(count)) - 1);
        }
        if (!text.empty()) text += ',';
        text += state.keywords[index];
    }
    return text;
}

}  // namespace yelian
