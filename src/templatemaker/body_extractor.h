// Recognising a web page's article: the element that holds the main text and a title for it,
// found from the structure of div and table elements and the amount of visible text in them,
// without rules for particular sites. Texts are GBK; every length is in bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/text_encoding.h"
#include "support/gbk_text.h"
#include "support/regex_object.h"

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

class BodyExtractor {
  public:
    // processEvents runs once per step of every long loop, so that a window stays responsive.
    explicit BodyExtractor(ProcessEvents processEvents = {});

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

    // The visible text outside links, without whitespace: its length measures how much
    // article text a block carries.
    std::string strippedText(std::string_view markup);
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

    ProcessEvents processEvents_;
    RegexObject nonContentPattern_;
    RegexObject commentPattern_;
    RegexObject linkAndTagPattern_;
    RegexObject whitespacePattern_;
    RegexObject lineTrimPattern_;
    RegexObject titleSuffixPattern_;
    RegexObject sentenceBreakPattern_;
    RegexObject tagPattern_;
    RegexObject anchorTagPattern_;
};

}  // namespace yelian
