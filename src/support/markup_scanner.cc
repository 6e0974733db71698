// Element search, attribute access and the alternatives test.
#include "support/markup_scanner.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "support/gbk_text.h"
#include "support/text_routines.h"
#include "support/text_search.h"

namespace yelian {
namespace {

using namespace yelian::literals;

bool isLowerAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Lowers the ASCII letters that are characters of their own; the trailing byte of a
// double-byte character keeps its value, so the copy has the same characters everywhere else.
std::string lowerAsciiChars(std::string_view text) {
    std::string lowered(text);
    for (std::size_t i = 0; i < lowered.size(); i += charLengthAt(lowered, i)) {
        if (lowered[i] >= 'A' && lowered[i] <= 'Z') lowered[i] = static_cast<char>(lowered[i] + 32);
    }
    return lowered;
}

// The length of the blank ("　" or a space) at pos, 0 when there is none.
std::size_t blankLengthAt(std::string_view text, std::size_t pos) {
    static const std::string& ideographicSpace = "　"_gbk;
    if (text[pos] == ' ') return 1;
    return text.substr(pos).starts_with(ideographicSpace) ? ideographicSpace.size() : 0;
}

std::string trimBlanks(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size()) {
        const std::size_t blank = blankLengthAt(text, first);
        if (blank == 0) break;
        first += blank;
    }
    // The end of the last character that is not a blank.
    std::size_t last = first;
    for (std::size_t i = first; i < text.size();) {
        const std::size_t blank = blankLengthAt(text, i);
        i += blank != 0 ? blank : charLengthAt(text, i);
        if (blank == 0) last = i;
    }
    return std::string(text.substr(first, last - first));
}

// Occurrences of "<name" whose following byte is not a digit or a lower-case letter, so that
// "<b" skips "<br>" and "<body>" but takes "<b>", "<b " and "<b-x>".
class TagStarts {
  public:
    explicit TagStarts(std::string_view needle) : finder_(needle, false), size_(needle.size()) {}

    std::size_t next(std::string_view text, std::size_t from) const {
        for (;;) {
            const std::size_t at = finder_.findIn(text, from);
            if (at == kNotFound || size_ == 1 || at + size_ >= text.size() ||
                !isLowerAlnum(text[at + size_])) {
                return at;
            }
            from = at + 1;
        }
    }

  private:
    TextFinder finder_;
    std::size_t size_;
};

// Pairs the start and end tags of one element name in one pass over the text, as a stack:
// an end tag closes the latest start tag still open, and an end tag with nothing open is
// ignored. The element starting at s thus ends at the first end tag e after s with as many
// end tags as start tags between s and e, which is the balance rule of the element search;
// counting once for all elements keeps a search linear however deep the nesting is.
// Starts are asked for in increasing order; the scan runs only as far as the answers need.
class EndTagMatcher {
  public:
    // Scanning begins at from: what comes before cannot affect elements starting there or later.
    EndTagMatcher(std::string_view text, std::string_view needle, std::size_t from)
        : text_(text),
          starts_(needle),
          endFinder_(std::string("</") + std::string(needle.substr(1)) + ">", false),
          endSize_(needle.size() + 2),
          nextStart_(starts_.next(text, from)),
          nextEnd_(endFinder_.findIn(text, from)) {}

    // The position just after the end tag that closes the element starting at start, or
    // kNotFound when none does.
    std::size_t endOf(std::size_t start) {
        while (std::min(nextStart_, nextEnd_) <= start) step();
        const auto found = std::lower_bound(
            opened_.begin(), opened_.end(), start,
            [](const Opened& opened, std::size_t at) { return opened.start < at; });
        if (found == opened_.end() || found->start != start) return kNotFound;
        const auto index = static_cast<std::size_t>(found - opened_.begin());
        // Without a further end tag nothing open can close, whatever start tags follow.
        while (opened_[index].end == kNotFound && nextEnd_ != kNotFound) step();
        return opened_[index].end;
    }

  private:
    struct Opened {
        std::size_t start;
        std::size_t end = kNotFound;
    };

    // Takes the next start or end tag. At one position (possible only for the one-byte
    // needle "<" against "</>") the end tag goes first: it does not count itself as nested.
    void step() {
        if (nextEnd_ != kNotFound && nextEnd_ <= nextStart_) {
            if (!open_.empty()) {
                opened_[open_.back()].end = nextEnd_ + endSize_;
                open_.pop_back();
            }
            nextEnd_ = endFinder_.findIn(text_, nextEnd_ + endSize_);
        } else {
            open_.push_back(opened_.size());
            opened_.push_back({nextStart_});
            nextStart_ = starts_.next(text_, nextStart_ + 1);
        }
    }

    std::string_view text_;
    TagStarts starts_;
    TextFinder endFinder_;
    std::size_t endSize_;
    std::size_t nextStart_;
    std::size_t nextEnd_;
    // Every start tag taken, in text order, with its end once known.
    std::vector<Opened> opened_;
    // Indexes into opened_ of the start tags still open, innermost last.
    std::vector<std::size_t> open_;
};

// The name of the element whose start tag (as searched, "<" to ">") is given: up to the
// first white space, "/" or ">".
std::string_view elementName(std::string_view startTag) {
    std::size_t end = 1;
    while (end < startTag.size() && !isWhiteSpace(startTag[end]) && startTag[end] != '/' &&
           startTag[end] != '>') {
        ++end;
    }
    return startTag.substr(1, end - 1);
}

bool attributeMatches(std::string_view startTag, std::string_view name, std::string_view wanted,
                      bool containsMode) {
    const std::string prefix = " " + std::string(name) + "=";
    if (wanted.empty()) return findText(startTag, prefix) != kNotFound;
    const std::string candidates[] = {
        textBetween(startTag, prefix + "\"", "\""),
        textBetween(startTag, prefix + "'", "'"),
        textBetween(startTag, prefix, " "),
        textBetween(startTag, prefix, ">"),
    };
    return MarkupScanner::valueMatches(wanted, candidates, containsMode);
}

// With allMode every attribute must match, otherwise one is enough.
bool attributesMatch(std::string_view startTag, const std::vector<std::string>& names,
                     const std::vector<std::string>& values, const ElementFilter& filter) {
    bool result = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        result = attributeMatches(startTag, names[i], values[i], filter.containsMode);
        if (result != filter.allMode) break;
    }
    return result;
}

// The value of one attribute as written in a tag, and how it was found.
struct AttributeValue {
    std::string value;
    // The quote character around the value, empty when unquoted.
    std::string quote;
    // True when the value is known, even if empty (name="" was found).
    bool settled = false;
};

AttributeValue findAttributeValue(std::string_view markup, std::string_view prefixedName) {
    const std::string lead = std::string(prefixedName) + "=";
    for (const std::string quote : {"\"", "'"}) {
        AttributeValue found{textBetween(markup, lead + quote, quote), quote, false};
        found.settled = !found.value.empty() || findText(markup, lead + quote + quote) != kNotFound;
        if (found.settled) return found;
    }
    const std::string toBlank = textBetween(markup, lead, " ");
    const std::string toEnd = textBetween(markup, lead, ">");
    const bool takeBlank = !toBlank.empty() && (toEnd.empty() || toBlank.size() <= toEnd.size());
    AttributeValue found{takeBlank ? toBlank : toEnd, "", false};
    found.settled = !found.value.empty();
    return found;
}

// Adds name="" to the first tag of markup, before its closing "/>" or ">".
std::string withEmptyAttribute(std::string_view markup, std::string_view name) {
    std::string text(markup);
    // A self-closing tag takes the attribute before its "/>", also when a ">" inside a quoted
    // value comes first.
    std::size_t at = findText(text, "/>");
    if (at == kNotFound) at = findText(text, ">");
    if (at == kNotFound) return text;
    text.insert(at, " " + std::string(name) + "=\"\"");
    return text;
}

// A tag selector of findBySpecs cut into its tag name and attribute filters. Blanks
// inside a quoted value do not separate.
struct TagSpec {
    std::string tag;
    std::vector<std::string> names;
    std::vector<std::string> values;
};

std::vector<std::string> specWords(std::string_view spec) {
    std::vector<std::string> words;
    std::string word;
    char quote = 0;
    for (std::size_t i = 0; i < spec.size();) {
        const std::size_t blank = quote == 0 ? blankLengthAt(spec, i) : 0;
        const bool tab = quote == 0 && spec[i] == '\t';
        if (blank != 0 || tab) {
            if (!word.empty()) words.push_back(std::exchange(word, {}));
            i += tab ? 1 : blank;
            continue;
        }
        if (spec[i] == quote) {
            quote = 0;
        } else if (quote == 0 && (spec[i] == '"' || spec[i] == '\'')) {
            quote = spec[i];
        }
        const std::size_t length = charLengthAt(spec, i);
        word.append(spec.substr(i, length));
        i += length;
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

std::string unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

TagSpec parseTagSpec(std::string_view spec) {
    TagSpec parsed;
    std::vector<std::string> words = specWords(spec);
    if (words.empty()) return parsed;
    parsed.tag = words.front();
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::size_t equals = words[i].find('=');
        parsed.names.push_back(words[i].substr(0, equals));
        parsed.values.push_back(
            equals == std::string::npos ? std::string() : unquoted(words[i].substr(equals + 1)));
    }
    return parsed;
}

// Where alternative occurs in text (1-based), -1 when it does not.
int alternativePosition(std::string_view text, std::string_view alternative,
                        const AlternativesOptions& options) {
    if (options.wholeText) {
        const bool equal = options.ignoreCase
                               ? lowerAsciiChars(text) == lowerAsciiChars(alternative)
                               : text == alternative;
        return equal ? 1 : -1;
    }
    const std::size_t at = findText(text, alternative, 0, options.ignoreCase);
    return at == kNotFound ? -1 : static_cast<int>(at) + 1;
}

}  // namespace

MarkupScanner::MarkupScanner(std::function<void()> processEvents)
    : processEvents_(std::move(processEvents)) {
    equalsPattern_.create("[\\s　]{0,10}=[\\s　]{0,10}"_gbk);
}

std::string MarkupScanner::searchElements(std::string_view document, std::string_view tag,
                                          const std::vector<std::string>& attrNames,
                                          const std::vector<std::string>& attrValues,
                                          const ElementSearch& search) {
    const ElementFilter& filter = search.filter;
    const bool listAll = search.occurrence < 0;
    if (listAll && !search.append) {
        starts_.clear();
        ends_.clear();
    }
    searchText_ = filter.ignoreCase ? lowerAsciiChars(document) : std::string(document);
    if (listAll) sourceText_ = document;
    // A single-element search cuts from the document it was given and leaves the document of
    // the element list alone.
    const std::string_view source = listAll ? std::string_view(sourceText_) : document;
    const std::string_view text = searchText_;
    if (processEvents_) processEvents_();

    const std::string tagName = filter.ignoreCase ? lowerAsciiChars(tag) : std::string(tag);
    const TagStarts tagStarts("<" + tagName);
    const TextFinder closeFinder(">", false);
    std::vector<std::string> values = attrValues;
    values.resize(attrNames.size());
    const std::vector<std::string> alternatives = splitText(filter.startTagFilter, "|");
    // One end-tag matcher per element name, made when the name's first element needs it.
    std::map<std::string, EndTagMatcher, std::less<>> matchers;
    int passed = 0;

    for (std::size_t from = 0;;) {
        if (processEvents_) processEvents_();
        const std::size_t position = tagStarts.next(text, from);
        if (position == kNotFound) break;
        from = position + 1;
        // Without a ">" here there is none after any later start either.
        const std::size_t close = closeFinder.findIn(text, from);
        if (close == kNotFound) break;
        const std::string_view startTag = source.substr(position, close + 1 - position);
        if (startTag.starts_with("</")) continue;
        std::string_view name = tagName;
        if (tagName.empty()) {
            // Tested before the occurrence count: a skipped tag must not use up a number.
            if (filter.letterStart && !isAsciiLetter(text[position + 1])) continue;
            name = elementName(text.substr(position, close + 1 - position));
        }
        if (!attrNames.empty() && !attributesMatch(startTag, attrNames, values, filter)) continue;
        if (!alternatives.empty() &&
            !matchAlternatives(startTag, alternatives, !filter.allMode).matched) {
            continue;
        }
        if (search.occurrence > 0 && ++passed != search.occurrence) continue;

        std::size_t end = kNotFound;
        if (!startTag.ends_with("/>")) {
            auto matcher = matchers.find(name);
            if (matcher == matchers.end()) {
                matcher =
                    matchers.try_emplace(std::string(name), text, "<" + std::string(name), position)
                        .first;
            }
            end = matcher->second.endOf(position);
        }
        const std::size_t endTagSize = name.size() + 3;
        // The element as listed or cut: the start tag alone when nothing closes it, which
        // leaves no inner content.
        std::size_t first = position;
        std::size_t last = end == kNotFound ? close + 1 : end;
        if (filter.inner) {
            first = close + 1;
            last = end == kNotFound ? first : end - endTagSize;
        }
        if (listAll) {
            starts_.push_back(first);
            ends_.push_back(last);
            continue;
        }
        const std::string_view markup = source.substr(first, last - first);
        lastElement_ = search.raw ? std::string(markup) : tightenEquals(markup);
        return lastElement_;
    }
    if (listAll) return std::to_string(starts_.size());
    lastElement_.clear();
    return {};
}

int MarkupScanner::findElements(std::string_view document, std::string_view tags,
                                const std::vector<std::string>& attrNames,
                                const std::vector<std::string>& attrValues,
                                const ElementFilter& filter) {
    ElementSearch search{.filter = filter, .occurrence = -1};
    if (tags.empty()) {
        searchElements(document, {}, attrNames, attrValues, search);
        return elementCount();
    }
    starts_.clear();
    ends_.clear();
    for (const std::string& name : splitText(tags, "|")) {
        // An empty name would list every tag of the page.
        if (name.empty()) continue;
        searchElements(document, name, attrNames, attrValues, search);
        search.append = true;
    }
    return elementCount();
}

std::string MarkupScanner::element(int i, bool raw) const {
    if (i < 1 || i > elementCount()) return {};
    const auto index = static_cast<std::size_t>(i - 1);
    // The list may outlive its document (clear, or a search appended over another document).
    if (ends_[index] > sourceText_.size()) return {};
    const std::string_view markup =
        std::string_view(sourceText_).substr(starts_[index], ends_[index] - starts_[index]);
    return raw ? std::string(markup) : tightenEquals(markup);
}

ElementSpan MarkupScanner::elementSpan(int i) const {
    if (i < 1 || i > elementCount()) return {};
    const auto index = static_cast<std::size_t>(i - 1);
    return {starts_[index], ends_[index]};
}

void MarkupScanner::clear() {
    searchText_.clear();
    sourceText_.clear();
    lastElement_.clear();
}

std::string MarkupScanner::findBySpecs(std::string_view document, std::string_view specs,
                                       bool allMatches) {
    std::string joined;
    const auto add = [&joined](std::string_view markup) {
        if (markup.empty()) return;
        if (!joined.empty()) joined += "\r\n";
        joined += markup;
    };
    for (const std::string& spec : splitText(specs, "|")) {
        const TagSpec parsed = parseTagSpec(spec);
        if (parsed.tag.empty()) continue;
        ElementSearch search;
        search.filter.allMode = true;
        search.occurrence = allMatches ? -1 : 0;
        const std::string result =
            searchElements(document, parsed.tag, parsed.names, parsed.values, search);
        if (!allMatches) {
            add(result);
            continue;
        }
        for (int i = 1; i <= elementCount(); ++i) add(element(i));
    }
    return joined;
}

std::string MarkupScanner::attribute(std::string_view markup, std::string_view name,
                                     std::string_view newValue, bool set) const {
    std::string text(markup);
    const std::string spaced = " " + std::string(name);
    if (set && findText(text, spaced + "=") == kNotFound) text = withEmptyAttribute(text, name);
    // A name at the very start of the markup or after a line break has no space before it.
    std::string prefixed = spaced;
    AttributeValue found = findAttributeValue(text, prefixed);
    if (!found.settled) {
        prefixed = name;
        found = findAttributeValue(text, prefixed);
    }
    if (!set) return trimBlanks(found.value);
    const std::string lead = prefixed + "=" + found.quote;
    const std::size_t at = findText(text, lead + found.value);
    if (at == kNotFound) return text;
    return text.replace(at, lead.size() + found.value.size(), lead + std::string(newValue));
}

std::string MarkupScanner::tightenEquals(std::string_view text) const {
    if (text.find('=') == std::string_view::npos) return std::string(text);
    std::string tightened = equalsPattern_.replace(text, "=");
    // A failed replace gives empty text; the markup then stays as it was rather than vanish.
    if (tightened.empty() && !equalsPattern_.errorText().empty()) return std::string(text);
    return tightened;
}

std::size_t MarkupScanner::nextTagStartAt(std::string_view needle, std::size_t from) const {
    return TagStarts(needle).next(searchText_, from);
}

int MarkupScanner::nextTagStart(std::string_view needle, int from) const {
    const std::size_t at = nextTagStartAt(needle, static_cast<std::size_t>(std::max(from, 1) - 1));
    return at == kNotFound ? -1 : static_cast<int>(at) + 1;
}

int MarkupScanner::balanceCount(std::string_view needle, std::string_view endTag, int from,
                                int to) const {
    if (from < 1 || to <= from) return 0;
    const auto begin = static_cast<std::size_t>(from);  // just after the 1-based from
    const auto limit = static_cast<std::size_t>(to - 1);
    int balance = 0;
    for (std::size_t at = nextTagStartAt(needle, begin); at != kNotFound && at < limit;
         at = nextTagStartAt(needle, at + 1)) {
        ++balance;
    }
    const TextFinder ends(endTag, false);
    for (std::size_t at = ends.findIn(searchText_, begin);
         at != kNotFound && at + endTag.size() <= limit;
         at = ends.findIn(searchText_, at + endTag.size())) {
        --balance;
    }
    return balance;
}

bool MarkupScanner::valueMatches(std::string_view wanted, std::span<const std::string> candidates,
                                 bool containsMode) {
    return std::any_of(candidates.begin(), candidates.end(), [&](const std::string& candidate) {
        return containsMode ? findText(candidate, wanted) != kNotFound : candidate == wanted;
    });
}

AlternativesMatch matchAlternatives(std::string_view text, std::string_view alternatives,
                                    bool anyMode, const AlternativesOptions& options) {
    const std::string_view separator = options.separator.empty() ? "|" : options.separator;
    return matchAlternatives(text, splitText(alternatives, separator), anyMode, options);
}

AlternativesMatch matchAlternatives(std::string_view text,
                                    std::span<const std::string> alternatives, bool anyMode,
                                    const AlternativesOptions& options) {
    AlternativesMatch result;
    int tested = 0;
    for (const std::string& alternative : alternatives) {
        if (alternative.empty()) continue;
        ++tested;
        result.position = alternativePosition(text, alternative, options);
        if (result.position < 0 && options.traditional != nullptr) {
            result.position =
                alternativePosition(text, options.traditional->toTraditional(alternative), options);
        }
        if (result.position > 0 && (anyMode || options.stopAtFirstMatch)) {
            result.matched = true;
            result.alternative = alternative;
            return result;
        }
        if (result.position < 0 && !anyMode) return result;
    }
    result.matched = !anyMode && tested > 0;
    return result;
}

}  // namespace yelian
