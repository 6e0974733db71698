// Article recognition: the text measures, heading titles and rankings.
#include "templatemaker/body_extractor.h"

#include <map>
#include <unordered_map>
#include <utility>

#include "support/text_routines.h"
#include "support/text_search.h"
#include "templatemaker/html_entities.h"
#include "templatemaker/length_sort.h"
#include "templatemaker/text_ratio.h"

namespace yelian {
namespace {

// What never shows as article text: whole head, script, style, object, select and button
// elements, textarea start and end tags (the text inside stays) and input tags.
constexpr GbkConstant<
    R"(<head[\s\S]*?/head>|<script[\s\S]*?/script>|<style[\s\S]*?/style>|<object[\s\S]*?/object>|<textarea[\s\S]+?>|</textarea>|<select[\s\S]*?/select>|<button[\s\S]*?/button>|<input[^<]*>)">
    kNonContentPattern;
// Single-line HTML comments and /* ... */ comments.
constexpr GbkConstant<R"(<!--[^\r\n]*?-->|/\*[\s\S]*?\*/)"> kCommentPattern;
// Whole anchors written "<a " (tag, link text and end tag), then every other tag.
constexpr GbkConstant<R"(<a [\s\S]+?/a>|<[\s\S]+?>)"> kLinkAndTagPattern;
constexpr GbkConstant<R"(\s)"> kWhitespacePattern;
// Empty lines with their line break, blanks (the ideographic space too) at the ends of lines,
// then every remaining CR, LF and TAB.
constexpr GbkConstant<R"(^[　 \t]*$(\r\n)|^[ 　\t]+|[ 　\t]+$|\r|\n|\t)"> kLineTrimPattern;
// A title up to its first "-", "_" or em dash: "$1" keeps the article's name, not the site's.
constexpr GbkConstant<R"((.+?)(-|_|—).+)"> kTitleSuffixPattern;
// Where sentences end, full-width punctuation included.
constexpr GbkConstant<R"([。，！\?!,;；]|\r\n)"> kSentenceBreakPattern;
constexpr GbkConstant<R"(<[\s\S]+?>)"> kTagPattern;
// Anchor start and end tags only, so that link texts stay.
constexpr GbkConstant<R"(<a[\s\S]+?>|</a>)"> kAnchorTagPattern;

// The mark sentence breaks become before a text is cut into sentences (GBK A8 D3).
constexpr GbkConstant<"ㄓ"> kSentenceMark;

RegexObject compiled(std::string_view pattern) {
    RegexObject regex;
    regex.create(pattern);
    return regex;
}

// The percentage of pieces found in other; an empty piece counts as found in a non-empty text.
double shareFoundIn(const std::vector<std::string>& pieces, std::string_view other) {
    if (pieces.empty()) return 0;
    int found = 0;
    for (const std::string& piece : pieces) {
        const bool occurs =
            piece.empty() ? !other.empty() : findText(other, piece, 0, false) != kNotFound;
        if (occurs) ++found;
    }
    return found * 100.0 / static_cast<double>(pieces.size());
}

// Whether text begins with name, where a letter of name is also taken to match any byte
// outside ASCII: ignoring case, the regular expressions let some characters beyond ASCII
// match an ASCII letter (the long s matches "s"), so such a byte cannot rule a match out.
bool mayBeginWith(std::string_view text, std::string_view name) {
    if (text.size() < name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) return true;
        if ((c >= 'A' && c <= 'Z' ? c + 32 : c) != static_cast<unsigned char>(name[i])) {
            return false;
        }
    }
    return true;
}

// False only when nonContentPattern surely finds nothing in text: every one of its matches
// begins with "<" and an element name. Lets the stripping skip a pass over markup without such
// elements, which most small blocks are.
bool mayHoldNonContent(std::string_view text) {
    static constexpr std::string_view names[] = {
        "head", "script", "style", "object", "textarea", "/textarea", "select", "button", "input",
    };
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        const std::string_view rest = text.substr(at + 1);
        for (const std::string_view name : names) {
            if (mayBeginWith(rest, name)) return true;
        }
    }
    return false;
}

// False only when commentPattern surely finds nothing in text.
bool mayHoldComment(std::string_view text) {
    return text.find("<!--") != std::string_view::npos || text.find("/*") != std::string_view::npos;
}

}  // namespace

BodyExtractor::BodyExtractor(ProcessEvents processEvents, GoOn goOn)
    : processEvents_(std::move(processEvents)),
      goOn_(std::move(goOn)),
      scanner_(processEvents_),
      nonContentPattern_(compiled(kNonContentPattern)),
      commentPattern_(compiled(kCommentPattern)),
      linkAndTagPattern_(compiled(kLinkAndTagPattern)),
      whitespacePattern_(compiled(kWhitespacePattern)),
      lineTrimPattern_(compiled(kLineTrimPattern)),
      titleSuffixPattern_(compiled(kTitleSuffixPattern)),
      sentenceBreakPattern_(compiled(kSentenceBreakPattern)),
      tagPattern_(compiled(kTagPattern)),
      anchorTagPattern_(compiled(kAnchorTagPattern)) {}

std::string BodyExtractor::findHeadingTitle(int level, std::string_view pageTitle,
                                            std::string_view page) {
    const std::string open = "<h" + std::to_string(level);
    const std::string close = "</h" + std::to_string(level) + ">";
    NextOptions options;
    options.backward = true;
    std::string best;
    std::string longest;
    int cursor = 0;
    while (true) {
        std::string heading = textBetweenNext(page, open, close, cursor, options);
        // The walk cuts after "<hN"; with "<h" in front the rest of the start tag is a tag
        // again, and goes with the other tags.
        if (!heading.empty()) heading.insert(0, "<h");
        std::string current = cleanText(heading);
        if (current.empty()) break;
        const bool bestInTitle =
            best.empty() ? !pageTitle.empty() : findText(pageTitle, best) != kNotFound;
        if (bestInTitle && current.size() > best.size()) best = current;
        if (current.size() > longest.size()) longest = std::move(current);
    }
    return best.empty() ? longest : best;
}

bool BodyExtractor::step() {
    if (stopped_) return false;
    if (processEvents_) processEvents_();
    if (goOn_ && !goOn_()) stopped_ = true;
    return !stopped_;
}

Recognition BodyExtractor::recognise(std::string_view page, RecognitionMode mode,
                                     std::string_view specs, bool skipHeadings,
                                     bool guardShortTitle) {
    const StopScope scope(*this);
    Recognition result;
    const auto stopped = [this] {
        Recognition none;
        none.failure = tooComplex_ ? RecognitionFailure::TooComplex : RecognitionFailure::Stopped;
        return none;
    };
    std::string body;
    switch (mode) {
        case RecognitionMode::Grouping:
            body = pickBlockByGrouping(page, "div");
            if (stopped_) return stopped();
            body = preferTable(std::move(body), pickBlockByGrouping(page, "table"));
            break;
        case RecognitionMode::Nesting:
            body = pickBlockByNesting(page, "div");
            if (stopped_) return stopped();
            body = preferTable(std::move(body), pickBlockByNesting(page, "table"));
            break;
        case RecognitionMode::FirstBySpecs:
        case RecognitionMode::AllBySpecs:
            body = pickBlockBySpecs(page, specs, mode == RecognitionMode::AllBySpecs);
            break;
    }
    if (stopped_) return stopped();
    if (body == kLowTextRatioMarker) {
        result.failure = RecognitionFailure::LowTextRatio;
        return result;
    }
    if (body.empty()) result.failure = RecognitionFailure::NoBlock;
    result.body = std::move(body);
    TitleChoice choice = chooseTitle(page, skipHeadings, guardShortTitle);
    if (stopped_) return stopped();
    result.title = std::move(choice.title);
    result.pageTitle = std::move(choice.pageTitle);
    return result;
}

std::string BodyExtractor::pickBlockBySpecs(std::string_view page, std::string_view specs,
                                            bool allMatches) {
    const std::string content = commentPattern_.replace(stripNonContent(page), "");
    return scanner_.findBySpecs(content, specs, allMatches);
}

std::string BodyExtractor::pickBlockByGrouping(std::string_view page, std::string_view tag) {
    const StopScope scope(*this);
    std::vector<BlockGroup> groups;
    // Equal stripped texts are found through this index instead of a walk over the groups.
    std::unordered_map<std::string_view, std::size_t> groupOfText;
    for (const ElementSpan span : findElements(page, tag)) {
        if (!step()) return {};
        const std::string& text = strippedTextAt(span);
        const auto [found, added] = groupOfText.try_emplace(text, groups.size());
        if (added) groups.push_back({{}, text});
        groups[found->second].markups.emplace_back(markupAt(page, span));
    }
    if (groups.empty()) return {};
    // The outermost of elements with the same text has the longest markup.
    for (BlockGroup& group : groups) sortTextsByLength(group.markups, true);
    sortGroupsByTextLength(groups, false);
    if (stopped_) return {};
    // From the longest text down: a group is dropped when the next shorter group's text lies
    // inside its text and carries more than half of it.
    std::vector<bool> dropped(groups.size(), false);
    for (std::size_t p = groups.size() - 1; p > 0; --p) {
        const std::string& longer = groups[p].text;
        const std::string& shorter = groups[p - 1].text;
        if (!longer.empty() && findText(longer, shorter, 0, false) != kNotFound &&
            isAbove(percentOf(shorter.size(), longer.size()), 50)) {
            dropped[p] = true;
        }
    }
    std::vector<BlockGroup> kept;
    for (std::size_t p = 0; p < groups.size(); ++p) {
        if (!dropped[p]) kept.push_back(std::move(groups[p]));
    }
    sortGroupsByTextLength(kept, true);
    if (stopped_) return {};
    const BlockGroup& best = kept.front();
    const std::string& markup = best.markups.front();
    if (isAtLeast(percentOf(best.text.size(), markup.size()), 5)) return markup;
    return kLowTextRatioMarker;
}

std::string BodyExtractor::pickBlockByNesting(std::string_view page, std::string_view tag) {
    const StopScope scope(*this);
    const std::vector<ElementSpan> spans = findElements(page, tag);
    // The elements with visible text, by their index in spans.
    std::vector<std::size_t> withText;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (!step()) return {};
        if (!strippedTextAt(spans[i]).empty()) withText.push_back(i);
    }
    // A block that mostly holds one nested element of its kind is a container: that element
    // (or one inside it) is the better candidate.
    std::vector<bool> dropped(withText.size(), false);
    for (std::size_t j = withText.size(); j-- > 0;) {
        if (!step()) return {};
        dropped[j] = hasDominantNestedElement(page, spans, withText[j], tag);
    }
    if (stopped_) return {};
    std::vector<Block> kept;
    for (std::size_t j = 0; j < withText.size(); ++j) {
        const ElementSpan span = spans[withText[j]];
        if (!dropped[j]) kept.push_back({std::string(markupAt(page, span)), strippedTextAt(span)});
    }
    if (kept.empty()) return {};
    sortBlocksByTextLength(kept, true);
    if (stopped_) return {};
    const Block& best = kept.front();
    if (!isAtLeast(percentOf(best.text.size(), best.markup.size()), 5)) {
        return kLowTextRatioMarker;
    }
    return best.markup.size() >= 10 ? best.markup : std::string();
}

std::vector<ElementSpan> BodyExtractor::findElements(std::string_view document,
                                                     std::string_view tag) {
    if (strippedTexts_.page.gbk() != document) {
        strippedTexts_.page = Utf8Mirror(std::string(document));
        strippedTexts_.texts.clear();
    }
    const int count = scanner_.findElements(document, tag);
    std::vector<ElementSpan> spans;
    spans.reserve(static_cast<std::size_t>(count));
    std::size_t markup = 0;
    for (int i = 1; i <= count; ++i) {
        spans.push_back(scanner_.elementSpan(i));
        markup += spans.back().end - spans.back().start;
        if (markup > kMaxNestedMarkup) {
            // Every element's text is stripped on its own: the work grows with this sum.
            tooComplex_ = stopped_ = true;
            return {};
        }
    }
    return spans;
}

std::string_view BodyExtractor::markupAt(std::string_view page, ElementSpan span) {
    // Raw: the markup must be found again in the page exactly as it stands there.
    return page.substr(span.start, span.end - span.start);
}

const std::string& BodyExtractor::strippedTextAt(ElementSpan span) {
    const auto [found, added] = strippedTexts_.texts.try_emplace({span.start, span.end});
    if (added) {
        std::string text = visibleUtf8Text(strippedTexts_.page.utf8Of(span.start, span.end));
        // Wrappers nested around one block strip to the same text one after another: that
        // text is converted back once.
        if (text != strippedTexts_.lastUtf8) {
            strippedTexts_.lastGbk = utf8ToGbk(text);
            strippedTexts_.lastUtf8 = std::move(text);
        }
        found->second = strippedTexts_.lastGbk;
    }
    return found->second;
}

bool BodyExtractor::hasDominantNestedElement(std::string_view page,
                                             const std::vector<ElementSpan>& spans,
                                             std::size_t index, std::string_view tag) {
    const ElementSpan block = spans[index];
    // With one end tag of its kind, its own, nothing of the kind is nested. Only whether a
    // second one exists matters, so the search stops there rather than counting all of them.
    const TextFinder endTag("</" + std::string(tag) + ">", true);
    const std::string_view markup = markupAt(page, block);
    const std::size_t first = endTag.findIn(markup);
    if (first != kNotFound && endTag.findIn(markup, first + endTag.size()) == kNotFound) {
        return false;
    }
    const std::size_t blockText = strippedTextAt(block).size();
    // The elements nested in the block are the ones listed after it that start inside it.
    // A search over the block's own markup would list the same elements with the same
    // markup: the block's start and end tags balance, so every start tag inside it is closed
    // by the same end tag as in the page.
    for (std::size_t k = index + 1; k < spans.size() && spans[k].start < block.end; ++k) {
        if (!step()) return false;
        const std::size_t text = strippedTextAt(spans[k]).size();
        if (text != 0 && isAbove(percentOf(text, blockText), 30)) return true;
    }
    return false;
}

BodyExtractor::TitleChoice BodyExtractor::chooseTitle(std::string_view page, bool skipHeadings,
                                                      bool guardShortTitle) {
    TitleChoice choice;
    choice.pageTitle = cleanText(textBetween(page, "<title>", "</title>"));
    const std::string& pageTitle = choice.pageTitle;
    for (int level = 1; level <= 3 && !skipHeadings; ++level) {
        if (!step()) break;
        std::string heading = findHeadingTitle(level, pageTitle, page);
        if (heading.empty()) continue;
        if (findText(pageTitle, heading) != kNotFound || pageTitle.size() < heading.size()) {
            choice.title = std::move(heading);
            return choice;
        }
    }
    std::string shortened = titleSuffixPattern_.replace(pageTitle, "$1");
    const bool tooShort = shortened.size() * 3 < pageTitle.size();
    choice.title = guardShortTitle && tooShort ? pageTitle : std::move(shortened);
    return choice;
}

std::string BodyExtractor::preferTable(std::string divBlock, std::string tableBlock) {
    const auto visibleLength = [this](std::string_view markup) {
        const std::string withoutTags = linkAndTagPattern_.replaceUtf8(gbkToUtf8(markup), "");
        return utf8ToGbk(whitespacePattern_.replaceUtf8(withoutTags, "")).size();
    };
    if (isAbove(percentOf(visibleLength(tableBlock), visibleLength(divBlock)), 80)) {
        return tableBlock;
    }
    return divBlock;
}

void BodyExtractor::sortGroupsByTextLength(std::vector<BlockGroup>& groups, bool descending) {
    const StopScope scope(*this);
    midpointInsertionSort(
        groups, descending, [](const BlockGroup& group) { return group.text.size(); }, {},
        [this] { return step(); });
}

void BodyExtractor::sortBlocksByTextLength(std::vector<Block>& blocks, bool descending) {
    const StopScope scope(*this);
    midpointInsertionSort(
        blocks, descending, [](const Block& block) { return block.text.size(); }, {},
        [this] { return step(); });
}

void BodyExtractor::sortTextsByLength(std::vector<std::string>& texts, bool descending) {
    midpointInsertionSort(
        texts, descending, [](const std::string& text) { return text.size(); }, {},
        [this] { return step(); });
}

int BodyExtractor::similarity(std::string_view a, std::string_view b) {
    const auto sentences = [this](std::string_view text) {
        return splitText(sentenceBreakPattern_.replace(text, kSentenceMark), kSentenceMark);
    };
    const double shareOfA = shareFoundIn(sentences(a), b);
    const double shareOfB = shareFoundIn(sentences(b), a);
    return static_cast<int>((shareOfA + shareOfB) / 2);
}

std::string BodyExtractor::visibleUtf8Text(std::string_view utf8Markup) {
    // The tests on the markup look at ASCII bytes only, which UTF-8 keeps as they are.
    std::string text = mayHoldNonContent(utf8Markup)
                           ? nonContentPattern_.replaceUtf8(utf8Markup, "")
                           : std::string(utf8Markup);
    if (mayHoldComment(text)) text = commentPattern_.replaceUtf8(text, "");
    text = linkAndTagPattern_.replaceUtf8(text, "");
    return whitespacePattern_.replaceUtf8(text, "");
}

std::string BodyExtractor::stripNonContent(std::string_view text) {
    return nonContentPattern_.replace(text, "");
}

std::string BodyExtractor::stripAnchorTags(std::string_view text) {
    return anchorTagPattern_.replace(text, "");
}

std::string BodyExtractor::cleanText(std::string_view text) {
    std::string result = decodeEntities(text, processEvents_);
    result = nonContentPattern_.replace(result, "");
    result = tagPattern_.replace(result, "");
    result = lineTrimPattern_.replace(result, "");
    return sanitiseTitle(result);
}

std::string BodyExtractor::compactText(std::string_view text) {
    return whitespacePattern_.replace(tagPattern_.replace(text, ""), "");
}

std::string BodyExtractor::textWithoutLinks(std::string_view text) {
    std::string result = decodeEntities(text, processEvents_);
    result = nonContentPattern_.replace(result, "");
    result = linkAndTagPattern_.replace(result, "");
    return whitespacePattern_.replace(result, "");
}

std::string BodyExtractor::stripTags(std::string_view text) {
    return tagPattern_.replace(text, "");
}

}  // namespace yelian
