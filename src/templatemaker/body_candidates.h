// The blocks a user may have meant when the recognition's pick is not the article: the pick
// first, then the block that directly holds the most paragraph text, the other mode's pick,
// the table or div that lost to the pick, the element the pick sits in, the first of a series
// of posts that the pick took together, and the blocks with the most text of their own (beyond
// their largest inner block). Each is a different element
// of the page with different visible text, so that a short list covers what a reader might
// have meant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "templatemaker/body_extractor.h"

namespace yelian {

struct BodyCandidate {
    // The element's markup exactly as it occurs in the page.
    std::string markup;
    // Visible characters outside links, whitespace not counted.
    int textLength = 0;
    // Why it is offered: "pick", "paragraphs", "mode0", "table", "div", "container", "first"
    // or "length".
    std::string kind;
    // The start of its visible text, for a list entry; internal (GBK) text.
    std::string preview;
};

// At most count candidates (count from 1), the pick first when the recognition found one.
std::vector<BodyCandidate> bodyCandidates(BodyExtractor& extractor, std::string_view page,
                                          const Recognition& pick, int count);

// "1. 2,345 字：" and the first 20 characters of the candidate's text: its entry in a list.
std::string candidateLabel(int number, const BodyCandidate& candidate);

}  // namespace yelian
