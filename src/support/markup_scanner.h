// MarkupScanner: finds HTML elements in a page by tag name with plain byte searches (no
// document tree), filtered by attributes and by the text of the start tag, and reads or
// rewrites one attribute inside a tag's markup. The body recogniser lists elements with it,
// the template maker finds and rewrites the description meta tag, the list pages read hrefs.
// matchAlternatives, the test of a text against a list of alternatives, lives here as well.
//
// Texts are GBK. Positions in this interface are 1-based bytes with -1 for not found; every
// search begins matches on character boundaries only. Nothing here reports errors: a tag that
// never closes is its start tag alone, a start tag without ">" ends the search, an index out
// of range gives an empty text.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/regex_object.h"
#include "support/traditional_chinese.h"

namespace yelian {

// Which elements an element search takes besides the tag name and the attribute filter.
struct ElementFilter {
    // Alternatives ("|"-separated) the start tag must contain (case ignored): every one when
    // allMode, one of them otherwise.
    std::string startTagFilter;
    // Attribute values match when the attribute's value contains the wanted value (case
    // ignored) instead of equalling it (case kept).
    bool containsMode = false;
    // Every named attribute must match (and every start-tag alternative occur); otherwise
    // one is enough.
    bool allMode = false;
    // Compare tag names without case (the page is searched in a lower-cased copy).
    bool ignoreCase = true;
    // Take the content between start and end tag instead of the whole element.
    bool inner = false;
    // With an empty tag name (any tag): only tags whose name begins with a letter, so
    // "<!DOCTYPE" and "<!--" are not elements.
    bool letterStart = false;
};

struct ElementSearch {
    ElementFilter filter;
    // -1: every matching element goes into the element list and the count is returned.
    // 0: the markup of the first matching element, n > 0: of the n-th.
    int occurrence = 0;
    // Keep the markup as it stands instead of tightening the blanks around "=".
    bool raw = false;
    // With occurrence -1: add to the element list instead of replacing it.
    bool append = false;
};

struct ElementSpan {
    std::size_t start = 0;
    std::size_t end = 0;
};

// One scanner serves one thread. The element list and the document it was found in live in
// the scanner until the next search; copies are independent. The nesting counts that match
// end tags to start tags belong to each search, so scanners never disturb one another.
class MarkupScanner {
  public:
    // processEvents is called once per start tag a search examines, so that a window stays
    // responsive during long searches; it may be empty.
    explicit MarkupScanner(std::function<void()> processEvents = {});

    // Searches document for elements named tag (any tag when empty). attrValues[i] is the
    // wanted value of attribute attrNames[i] (missing values count as empty, and an empty
    // value only asks for the attribute to be present). Returns, with occurrence -1, the number
    // of elements now in the list as decimal text; otherwise the markup of the chosen element
    // (empty when there is none), which lastElementText() then also gives. Elements are
    // numbered in the order of their start tags, nested elements included; an element runs
    // from its start tag to the end tag that balances it, or is its start tag alone when it
    // ends in "/>" or never closes. A single-element search leaves the element list and the
    // document it refers to as they were.
    std::string searchElements(std::string_view document, std::string_view tag,
                               const std::vector<std::string>& attrNames,
                               const std::vector<std::string>& attrValues,
                               const ElementSearch& search = {});

    // Lists the elements of every name of the "|"-separated tags, name after name (every tag
    // when tags is empty), and returns how many are in the list.
    int findElements(std::string_view document, std::string_view tags,
                     const std::vector<std::string>& attrNames = {},
                     const std::vector<std::string>& attrValues = {},
                     const ElementFilter& filter = {});

    // The markup of listed element i (from 1), through tightenEquals unless raw; empty when i
    // is out of range.
    std::string element(int i, bool raw = false) const;
    int elementCount() const { return static_cast<int>(starts_.size()); }
    // Where listed element i (from 1) lies in the document of the list: 0-based byte offsets,
    // end exclusive; an empty span when i is out of range.
    ElementSpan elementSpan(int i) const;

    // The markup of the last single-element search.
    const std::string& lastElementText() const { return lastElement_; }

    // Forgets the document and the last single element (the element list then gives empty
    // markup).
    void clear();

    // Elements chosen by selectors "tag name=value name=value|tag ...": each
    // "|"-separated selector is a tag name followed by blank-separated attribute filters;
    // a value may be quoted with " or ', and a name without "=" only asks for the attribute to
    // be present. Every filter of a selector must match. Gives the first matching element
    // of each selector, or with allMatches every one, joined with CR LF; selectors
    // that find nothing add nothing.
    std::string findBySpecs(std::string_view document, std::string_view specs,
                            bool allMatches = false);

    // Read mode (set false): the value of attribute name in markup (a single tag), blanks
    // trimmed, empty when there is none. The attribute must be written name=value without
    // blanks around "=". Write mode: markup with that value replaced by newValue, the
    // attribute added (name="newValue") before the end of the first tag when missing.
    std::string attribute(std::string_view markup, std::string_view name,
                          std::string_view newValue = {}, bool set = false) const;

    // Every "=" with up to 10 blanks or other white space on either side becomes a bare "=".
    std::string tightenEquals(std::string_view text) const;

    // The position of the first occurrence of needle at or after from (1-based) in the last
    // searched document as the search saw it (lower-cased unless the search kept case) whose
    // following byte is not a digit or a lower-case letter, so "<b" is not found in "<br>";
    // a one-byte needle is taken wherever it occurs. -1 when there is none.
    int nextTagStart(std::string_view needle, int from) const;

    // Nested start tags (needle occurrences as nextTagStart finds them) minus end tags between
    // the 1-based positions from (exclusive) and to (exclusive) of the last searched document:
    // an end tag at to closes the element starting at from exactly when this is 0.
    int balanceCount(std::string_view needle, std::string_view endTag, int from, int to) const;

    // Without containsMode: wanted equals one of the candidates exactly. With it: one of the
    // candidates contains wanted, case ignored.
    static bool valueMatches(std::string_view wanted, std::span<const std::string> candidates,
                             bool containsMode);

  private:
    std::size_t nextTagStartAt(std::string_view needle, std::size_t from) const;

    // Where each listed element starts and ends in sourceText_ (0-based, end exclusive).
    std::vector<std::size_t> starts_;
    std::vector<std::size_t> ends_;
    // The document the last search read, lower-cased unless that search kept case.
    std::string searchText_;
    // The document the element list was found in, unchanged.
    std::string sourceText_;
    // Mutable for the error text of its last replace only.
    mutable RegexObject equalsPattern_;
    std::string lastElement_;
    std::function<void()> processEvents_;
};

struct AlternativesOptions {
    // Splits the alternatives; empty counts as "|".
    std::string_view separator = "|";
    // Stop at the first alternative that occurs and report it, also when every alternative
    // is asked for.
    bool stopAtFirstMatch = false;
    // When given, an alternative that does not occur is tried again in its traditional
    // characters (the converter is not owned and must outlive the call).
    const TraditionalChinese* traditional = nullptr;
    bool ignoreCase = true;
    // An alternative matches only when it equals the whole text.
    bool wholeText = false;
};

struct AlternativesMatch {
    bool matched = false;
    // The alternative the search stopped at on a match; empty otherwise.
    std::string alternative;
    // Where the last alternative tested occurs in text (1-based; 1 for a whole-text match),
    // -1 when it does not.
    int position = -1;
};

// Tests text against alternatives, skipping empty ones ("a||b" is two alternatives). With
// anyMode one occurring alternative is a match; otherwise every alternative must occur, and
// at least one must be given.
AlternativesMatch matchAlternatives(std::string_view text, std::string_view alternatives,
                                    bool anyMode, const AlternativesOptions& options = {});
// The same over alternatives already split (the separator option is not used).
AlternativesMatch matchAlternatives(std::string_view text,
                                    std::span<const std::string> alternatives, bool anyMode,
                                    const AlternativesOptions& options = {});

}  // namespace yelian
