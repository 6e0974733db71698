// Recognising a web page's article: the element that holds the main text and a title for it,
// found from the structure of div and table elements and the amount of visible text in them,
// without rules for particular sites. Texts are GBK; every length is in bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/event_hook.h"
#include "support/gbk_text.h"
#include "support/markup_scanner.h"
#include "support/regex_object.h"
#include "support/utf8_mirror.h"

namespace yelian {

// The result of a recognition whose best block has less than 5 % visible text: callers treat
// it as a failure.
inline constexpr GbkConstant<"[#文字比例低于5%#]"> kLowTextRatioMarker;

// One element: its markup as it occurs in the page and its stripped text (the visible text
// outside links, without whitespace).
struct Block {
    std::string markup;
    std::string text;
};

// Elements whose stripped texts are equal (a wrapper holding a single inner element and that
// element), in document order until sorted.
struct BlockGroup {
    std::vector<std::string> markups;
    std::string text;
};

// How recognise picks the article element.
enum class RecognitionMode {
    // Elements with equal visible text form one group; the outermost element of the group
    // with the most text, unless a shorter group inside it carries more than half its text.
    Grouping = 0,
    // The element with the most visible text among those no nested element of the same name
    // carries more than 30 % of.
    Nesting = 1,
    // The first element of each tag selector, or every one (see pickBlockBySpecs).
    FirstBySpecs = 2,
    AllBySpecs = 3,
};

// Why a recognition found no article element.
enum class RecognitionFailure {
    None,
    // No element to choose (none with visible text, or the chosen markup too short).
    NoBlock,
    // The best block's visible text is below 5 % of its markup (kLowTextRatioMarker).
    LowTextRatio,
    // The caller's goOn hook said to stop.
    Stopped,
    // The page's elements nest so deeply that their markup, counted once per element, goes
    // beyond kMaxNestedMarkup: a recognition would take minutes and gigabytes.
    TooComplex,
};

// The most markup the elements of one kind may hold together, each element counted with
// everything inside it. Ordinary pages stay far below (the largest of the evaluation pages
// holds a few megabytes); 100,000 nested elements in one megabyte hold about 50 gigabytes.
inline constexpr std::size_t kMaxNestedMarkup = std::size_t{96} << 20;

struct Recognition {
    // The article element's markup exactly as it occurs in the page; empty when none was
    // found (also when the best block's visible text is below 5 % of its markup).
    std::string body;
    // The article's title: a fitting heading, else the page title up to its site name.
    std::string title;
    // The page's title element as one clean line; empty when the body was not found.
    std::string pageTitle;
    // None exactly when body is not empty.
    RecognitionFailure failure = RecognitionFailure::None;
};

// One extractor serves one template-making run on one thread; copies are independent.
class BodyExtractor {
  public:
    // processEvents runs once per step of every long loop, so that a window stays responsive;
    // goOn is asked right after it, and a recognition it answers false ends with the failure
    // Stopped. (The element search of the markup scanner, one linear pass, only processes
    // events.)
    explicit BodyExtractor(ProcessEvents processEvents = {}, GoOn goOn = {});

    // Finds the article element of a page and its title. The grouping and nesting modes look
    // at div and table elements and take the table when its visible text is more than 80 %
    // of the div's; specs is read only by the selector modes.
    Recognition recognise(std::string_view page, RecognitionMode mode, std::string_view specs = {},
                          bool skipHeadings = false, bool guardShortTitle = false);

    // The markup of the elements the "|"-separated tag selectors ("div class=text")
    // choose in the page without its non-content elements and comments: the first of each,
    // or with allMatches every one, joined with CR LF.
    std::string pickBlockBySpecs(std::string_view page, std::string_view specs, bool allMatches);
    // The recognition modes for one tag name: the chosen element's markup, empty text, or
    // kLowTextRatioMarker when its visible text is below 5 % of its markup. The nesting mode
    // also gives empty text for a chosen markup shorter than 10 bytes.
    std::string pickBlockByGrouping(std::string_view page, std::string_view tag);
    std::string pickBlockByNesting(std::string_view page, std::string_view tag);

    // The title of the page's headings of level n (1, 2 or 3): while the page title contains
    // the kept heading (an empty one counts as contained when the page title is not empty),
    // a longer heading replaces it; without a kept heading, the longest one. The walk ends at
    // the first heading whose cleaned text is empty.
    std::string findHeadingTitle(int level, std::string_view pageTitle, std::string_view page);

    // Midpoint insertion by the byte length of the stripped texts; which of several equally
    // long blocks comes first depends on the order they arrive in, and decides the result.
    void sortGroupsByTextLength(std::vector<BlockGroup>& groups, bool descending);
    void sortBlocksByTextLength(std::vector<Block>& blocks, bool descending);

    // How much two texts share, as a whole percentage: both are cut into sentences at
    // punctuation and line breaks, and the shares of each text's sentences found in the other
    // are averaged. A text without sentences shares nothing.
    int similarity(std::string_view a, std::string_view b);

    // The visible text outside links, without whitespace, of markup in UTF-8 (and in UTF-8):
    // its length measures how much article text a block carries.
    std::string visibleUtf8Text(std::string_view utf8Markup);
    // Without head, script, style, object, select and button elements, textarea and input tags.
    std::string stripNonContent(std::string_view text);
    // Without anchor start and end tags; the link texts stay.
    std::string stripAnchorTags(std::string_view text);
    // The visible text of a title or heading as one file-name-safe line.
    std::string cleanText(std::string_view text);
    // Without tags and whitespace.
    std::string compactText(std::string_view text);
    // References decoded, then the visible text outside links without whitespace.
    std::string textWithoutLinks(std::string_view text);
    // Without tags; the text between them stays.
    std::string stripTags(std::string_view text);

  private:
    // The title and the page's own title of a recognition: a heading of level 1 to 3 that
    // the page title contains (or that is longer than the page title), else the page title up
    // to its first "-", "_" or em dash. guardShortTitle keeps the whole page title when that
    // cut leaves less than a third of it.
    struct TitleChoice {
        std::string title;
        std::string pageTitle;
    };
    TitleChoice chooseTitle(std::string_view page, bool skipHeadings, bool guardShortTitle);

    // The div candidate, or the table candidate when its visible text (links and tags
    // removed) is more than 80 % of the div candidate's.
    std::string preferTable(std::string divBlock, std::string tableBlock);

    void sortTextsByLength(std::vector<std::string>& texts, bool descending);

    // One step of a long loop: processes events, then asks goOn; false (and stopped_ set)
    // when the operation is to end. Once refused, later steps of the same operation are
    // refused without asking.
    bool step();

    // Held by every public operation with steps: the outermost one starts unstopped, so that
    // a stop ends one operation and never the next.
    class StopScope {
      public:
        explicit StopScope(BodyExtractor& extractor) : extractor_(extractor) {
            if (extractor_.depth_++ == 0) extractor_.stopped_ = extractor_.tooComplex_ = false;
        }
        StopScope(const StopScope&) = delete;
        StopScope& operator=(const StopScope&) = delete;
        ~StopScope() { --extractor_.depth_; }

      private:
        BodyExtractor& extractor_;
    };

    // Where the elements named tag lie in document; every pick searches before it reads, and
    // the stripped texts kept from another document are forgotten here.
    std::vector<ElementSpan> findElements(std::string_view document, std::string_view tag);
    static std::string_view markupAt(std::string_view page, ElementSpan span);
    // The stripped text of the element at span of the page last searched, stripped once.
    const std::string& strippedTextAt(ElementSpan span);
    // True when one element with the same name nested in element index of spans carries more
    // than 30 % of its stripped text.
    bool hasDominantNestedElement(std::string_view page, const std::vector<ElementSpan>& spans,
                                  std::size_t index, std::string_view tag);

    // The stripped texts of the elements of one page by where they lie in it: the table pick
    // after the div pick, and the second mode after the first, meet the same elements again.
    struct StrippedTexts {
        Utf8Mirror page;
        // The text stripped last, in UTF-8 and in GBK.
        std::string lastUtf8;
        std::string lastGbk;
        std::map<std::pair<std::size_t, std::size_t>, std::string> texts;
    };

    ProcessEvents processEvents_;
    GoOn goOn_;
    // Set by a step that goOn refused during the current outermost operation.
    bool stopped_ = false;
    // Set with stopped_ when the page was found too complex to recognise.
    bool tooComplex_ = false;
    int depth_ = 0;
    MarkupScanner scanner_;
    RegexObject nonContentPattern_;
    RegexObject commentPattern_;
    RegexObject linkAndTagPattern_;
    RegexObject whitespacePattern_;
    RegexObject lineTrimPattern_;
    RegexObject titleSuffixPattern_;
    RegexObject sentenceBreakPattern_;
    RegexObject tagPattern_;
    RegexObject anchorTagPattern_;
    StrippedTexts strippedTexts_;
};

}  // namespace yelian
