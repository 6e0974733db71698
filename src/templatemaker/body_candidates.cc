#include "templatemaker/body_candidates.h"

#include <algorithm>
#include <map>
#include <set>

#include "support/gbk_text.h"
#include "support/markup_scanner.h"
#include "support/number_text.h"
#include "support/text_routines.h"
#include "support/text_search.h"

namespace yelian {

using namespace yelian::literals;

namespace {

constexpr int kPreviewCharacters = 20;
// Elements that hold whole blocks of a page; the container and length candidates come from
// them.
constexpr std::string_view kBlockTags = "div|table|article|section|td|main|body";

int countCodePoints(std::string_view utf8) {
    return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

struct Element {
    ElementSpan span;
    std::string visibleUtf8;
    // The most visible text of one block inside it.
    std::size_t largestInner = 0;
};

// Collects the candidates in the order offered, refusing a markup or a visible text that is
// already on the list (a wrapper around one block offers nothing new).
class CandidateList {
  public:
    CandidateList(std::string_view page, int count) : page_(page), count_(count) {}

    bool full() const { return static_cast<int>(list_.size()) >= count_; }

    bool offer(std::string_view markup, std::string_view visibleUtf8, std::string_view kind) {
        if (full() || markup.empty() || visibleUtf8.empty()) return false;
        if (page_.find(markup) == std::string_view::npos) return false;
        if (!markups_.insert(std::string(markup)).second) return false;
        if (!texts_.insert(std::string(visibleUtf8)).second) return false;
        BodyCandidate candidate;
        candidate.markup = std::string(markup);
        candidate.textLength = countCodePoints(visibleUtf8);
        candidate.kind = std::string(kind);
        candidate.preview = leftChars(utf8ToGbk(visibleUtf8), kPreviewCharacters);
        list_.push_back(std::move(candidate));
        return true;
    }

    std::vector<BodyCandidate> take() { return std::move(list_); }

  private:
    std::string_view page_;
    int count_;
    std::vector<BodyCandidate> list_;
    std::set<std::string> markups_;
    std::set<std::string> texts_;
};

// The page's blocks in document order, outer before inner; none when stripping them all would
// cost more than a recognition may (a page of thousands of nested blocks).
std::vector<Element> blockElements(BodyExtractor& extractor, std::string_view page) {
    MarkupScanner scanner;
    const int found = scanner.findElements(page, kBlockTags);
    std::vector<ElementSpan> spans;
    std::size_t bytes = 0;
    for (int i = 1; i <= found; ++i) {
        spans.push_back(scanner.elementSpan(i));
        bytes += spans.back().end - spans.back().start;
        if (bytes > kMaxNestedMarkup) return {};
    }
    std::sort(spans.begin(), spans.end(), [](const ElementSpan& a, const ElementSpan& b) {
        return a.start != b.start ? a.start < b.start : a.end > b.end;
    });
    std::vector<Element> elements;
    elements.reserve(spans.size());
    for (const ElementSpan& span : spans) {
        const std::string_view markup = page.substr(span.start, span.end - span.start);
        elements.push_back({span, extractor.visibleUtf8Text(gbkToUtf8(markup))});
    }
    return elements;
}

std::size_t ownText(const Element& element) {
    const std::size_t all = element.visibleUtf8.size();
    return all > element.largestInner ? all - element.largestInner : 0;
}

// Fills largestInner: blocks nest, so in document order each one's parent is the nearest
// earlier block that has not ended before it.
void measureInnerBlocks(std::vector<Element>& elements) {
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        while (!open.empty() && elements[open.back()].span.end <= elements[i].span.start) {
            open.pop_back();
        }
        if (!open.empty()) {
            std::size_t& inner = elements[open.back()].largestInner;
            inner = std::max(inner, elements[i].visibleUtf8.size());
        }
        open.push_back(i);
    }
}

std::string_view markupOf(std::string_view page, const Element& element) {
    return page.substr(element.span.start, element.span.end - element.span.start);
}

// The innermost block around the pick that shows more than the pick does.
void offerContainer(CandidateList& list, std::string_view page,
                    const std::vector<Element>& elements, std::string_view pick,
                    std::size_t pickVisible) {
    const std::size_t at = page.find(pick);
    if (pick.empty() || at == std::string_view::npos) return;
    const Element* best = nullptr;
    for (const Element& element : elements) {
        const bool around = element.span.start <= at && element.span.end >= at + pick.size() &&
                            element.span.end - element.span.start > pick.size();
        if (!around || element.visibleUtf8.size() <= pickVisible) continue;
        if (best == nullptr ||
            element.span.end - element.span.start < best->span.end - best->span.start) {
            best = &element;
        }
    }
    if (best != nullptr) list.offer(markupOf(page, *best), best->visibleUtf8, "container");
}

// The block that directly holds the most paragraph text: each paragraph counts for the
// innermost block around it, so a wrapper around the article and its comments scores only
// what lies outside its inner blocks.
void offerParagraphHolder(CandidateList& list, BodyExtractor& extractor, std::string_view page,
                          const std::vector<Element>& elements) {
    MarkupScanner scanner;
    const int paragraphs = scanner.findElements(page, "p");
    std::vector<ElementSpan> spans;
    for (int i = 1; i <= paragraphs; ++i) spans.push_back(scanner.elementSpan(i));
    std::sort(spans.begin(), spans.end(),
              [](const ElementSpan& a, const ElementSpan& b) { return a.start < b.start; });
    // One walk over the blocks in document order: the open ones form a stack, and the top
    // one that reaches past a paragraph is the innermost block around it.
    std::vector<std::size_t> score(elements.size(), 0);
    std::vector<std::size_t> open;
    std::size_t next = 0;
    for (const ElementSpan& paragraph : spans) {
        while (next < elements.size() && elements[next].span.start <= paragraph.start) {
            while (!open.empty() && elements[open.back()].span.end <= elements[next].span.start) {
                open.pop_back();
            }
            open.push_back(next++);
        }
        while (!open.empty() && elements[open.back()].span.end < paragraph.end) open.pop_back();
        if (open.empty()) continue;
        const std::string_view markup =
            page.substr(paragraph.start, paragraph.end - paragraph.start);
        score[open.back()] += extractor.visibleUtf8Text(gbkToUtf8(markup)).size();
    }
    const auto best = std::max_element(score.begin(), score.end());
    if (best == score.end() || *best == 0) return;
    const Element& element = elements[static_cast<std::size_t>(best - score.begin())];
    list.offer(markupOf(page, element), element.visibleUtf8, "paragraphs");
}

// The class of a block's opening tag, with its tag name in front ("td.post-body"); empty
// for a block without one.
std::string seriesKey(std::string_view markup) {
    const std::string_view open = markup.substr(0, markup.find('>'));
    const std::size_t at = findText(open, "class=");
    if (at == kNotFound) return {};
    std::size_t start = at + 6;
    const bool quoted = start < open.size() && (open[start] == '"' || open[start] == '\'');
    const char quote = quoted ? open[start++] : ' ';
    std::size_t end = open.find(quote, start);
    if (end == std::string_view::npos) end = open.size();
    if (end == start) return {};
    const std::size_t name = open.find_first_of(" \t\r\n", 1);
    return std::string(open.substr(1, name - 1)) + "." +
           std::string(open.substr(start, end - start));
}

// Pages that list several posts (a blog's archive, a forum thread) hold each in a block of the
// same class, and a pick around several of them took them all; the reader usually means the
// first. Offers the first block of the series inside the pick with the most text of its own.
void offerFirstOfSeries(CandidateList& list, std::string_view page,
                        const std::vector<Element>& elements, std::string_view pick) {
    const std::size_t pickStart = pick.empty() ? kNotFound : page.find(pick);
    if (pickStart == kNotFound) return;
    const std::size_t pickEnd = pickStart + pick.size();
    struct Series {
        const Element* first = nullptr;
        std::size_t lastEnd = 0;
        int count = 0;
        std::size_t text = 0;
    };
    std::map<std::string, Series> series;
    for (const Element& element : elements) {
        if (element.span.start < pickStart || element.span.end > pickEnd) continue;
        std::string key = seriesKey(markupOf(page, element));
        if (key.empty() || element.visibleUtf8.empty()) continue;
        Series& found = series[std::move(key)];
        // A block inside the previous one of its class is no new member.
        if (found.first != nullptr && element.span.start < found.lastEnd) continue;
        if (found.first == nullptr) found.first = &element;
        found.lastEnd = element.span.end;
        ++found.count;
        found.text += ownText(element);
    }
    const Series* best = nullptr;
    for (const auto& [key, candidate] : series) {
        if (candidate.count < 2) continue;
        if (best == nullptr || candidate.text > best->text) best = &candidate;
    }
    if (best != nullptr)
        list.offer(markupOf(page, *best->first), best->first->visibleUtf8, "first");
}

void offerPick(CandidateList& list, BodyExtractor& extractor, const std::string& markup,
               std::string_view kind) {
    if (markup.empty() || markup == kLowTextRatioMarker.str()) return;
    list.offer(markup, extractor.visibleUtf8Text(gbkToUtf8(markup)), kind);
}

}  // namespace

std::vector<BodyCandidate> bodyCandidates(BodyExtractor& extractor, std::string_view page,
                                          const Recognition& pick, int count) {
    CandidateList list(page, std::max(count, 1));
    // A page refused as too complex would cost the same for each further candidate.
    if (pick.failure == RecognitionFailure::TooComplex) return {};
    offerPick(list, extractor, pick.body, "pick");
    std::vector<Element> elements = blockElements(extractor, page);
    const std::string pickVisible =
        pick.body.empty() ? std::string() : extractor.visibleUtf8Text(gbkToUtf8(pick.body));
    offerParagraphHolder(list, extractor, page, elements);
    offerPick(list, extractor, extractor.recognise(page, RecognitionMode::Grouping).body, "mode0");
    offerPick(list, extractor, extractor.pickBlockByNesting(page, "table"), "table");
    offerPick(list, extractor, extractor.pickBlockByNesting(page, "div"), "div");
    offerContainer(list, page, elements, pick.body, pickVisible.size());
    measureInnerBlocks(elements);
    offerFirstOfSeries(list, page, elements, pick.body);
    // By the text a block holds beyond its largest inner block, so that the wrappers around
    // one article do not fill the list.
    std::stable_sort(elements.begin(), elements.end(),
                     [](const Element& a, const Element& b) { return ownText(a) > ownText(b); });
    for (const Element& element : elements) {
        if (list.full()) break;
        list.offer(markupOf(page, element), element.visibleUtf8, "length");
    }
    return list.take();
}

std::string candidateLabel(int number, const BodyCandidate& candidate) {
    const std::string digits = integerToText(candidate.textLength);
    std::string label = integerToText(number) + ". ";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0 && digits[i - 1] != '-') label += ',';
        label += digits[i];
    }
    label += " 字："_gbk;
    label += candidate.preview;
    return label;
}

}  // namespace yelian
