// The expansion of a page template: the tags of the article chain, the random articles, the
// article body and the generated values (counter, description, keywords, random Chinese,
// random letters, time), replaced in a fixed order. ExpansionState holds what lives for one
// run: the counter, the keyword list with its cursor and bag, and the description's two
// expressions, compiled once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/random_source.h"
#include "support/regex_object.h"
#include "support/shuffle_bag.h"
#include "support/traditional_chinese.h"

namespace yelian {

class Controls;

class ExpansionState {
  public:
    // Reads the counter's start value and step and the keyword list from the main window.
    ExpansionState(const Controls& controls, RandomSource& random);
    ExpansionState(const ExpansionState&) = delete;
    ExpansionState& operator=(const ExpansionState&) = delete;

    const Controls& controls;
    RandomSource& random;
    std::int64_t counter = 0;
    std::vector<std::string> keywords;
    std::size_t keywordCursor = 0;
    ShuffleBag keywordBag;
    RegexObject linksAndTags;
    RegexObject lineBlanks;
    TraditionalChinese traditional;
};

// The values one page receives.
struct PageValues {
    std::string_view currentTitle;
    std::string_view currentLink;
    std::string_view previousTitle;
    std::string_view previousLink;
    std::string_view nextTitle;
    std::string_view nextLink;
    // The k-th title and the k-th link belong to the k-th random draw of the page.
    std::span<const std::string> randomTitles;
    std::span<const std::string> randomLinks;
    std::string_view content;
    // Pages one folder deep: every link gets "../" in front.
    bool folderForm = false;
};

// The page made from the template. Each step works on the result of the one before, so a tag
// that an article brings in its title or body is replaced by the later steps too.
std::string expandPage(std::string_view pageTemplate, const PageValues& values,
                       ExpansionState& state);

// The "#描述#" text: the content without links, tags, blank lines and line breaks, cut to a
// random number of characters, with every double quote escaped by a backslash.
std::string descriptionOf(std::string_view content, ExpansionState& state);

// The "#关键词#" text of one page: a random number of keywords joined by ",", in list order
// continuing where the previous page stopped, or drawn without repetition from the run's bag.
std::string keywordsText(ExpansionState& state);

}  // namespace yelian
