#include "templatemaker/body_candidates.h"

#include <algorithm>
#include <set>

#include "support/gbk_text.h"
#include "support/markup_scanner.h"
#include "support/number_text.h"
#include "support/text_routines.h"

namespace yelian {

using namespace yelian::literals;

namespace {

constexpr int kPreviewCharacters = 20;
// Elements that hold whole blocks of a page; the container and length candidates come from
// them.
constexpr std::string_view kBlockTags = "div|table|article|section|td|main";

int countCodePoints(std::string_view utf8) {
    return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

struct Element {
    ElementSpan span;
    std::string visibleUtf8;
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

std::vector<Element> blockElements(BodyExtractor& extractor, std::string_view page) {
    MarkupScanner scanner;
    const int found = scanner.findElements(page, kBlockTags);
    std::vector<Element> elements;
    elements.reserve(static_cast<std::size_t>(found));
    for (int i = 1; i <= found; ++i) {
        const ElementSpan span = scanner.elementSpan(i);
        const std::string_view markup = page.substr(span.start, span.end - span.start);
        elements.push_back({span, extractor.visibleUtf8Text(gbkToUtf8(markup))});
    }
    return elements;
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

void offerPick(CandidateList& list, BodyExtractor& extractor, const std::string& markup,
               std::string_view kind) {
    if (markup.empty() || markup == kLowTextRatioMarker.str()) return;
    list.offer(markup, extractor.visibleUtf8Text(gbkToUtf8(markup)), kind);
}

}  // namespace

std::vector<BodyCandidate> bodyCandidates(BodyExtractor& extractor, std::string_view page,
                                          const Recognition& pick, int count) {
    CandidateList list(page, std::max(count, 1));
    offerPick(list, extractor, pick.body, "pick");
    offerPick(list, extractor, extractor.recognise(page, RecognitionMode::Grouping).body, "mode0");
    offerPick(list, extractor, extractor.pickBlockByNesting(page, "table"), "table");
    offerPick(list, extractor, extractor.pickBlockByNesting(page, "div"), "div");
    if (list.full()) return list.take();
    std::vector<Element> elements = blockElements(extractor, page);
    const std::string pickVisible =
        pick.body.empty() ? std::string() : extractor.visibleUtf8Text(gbkToUtf8(pick.body));
    offerContainer(list, page, elements, pick.body, pickVisible.size());
    std::stable_sort(elements.begin(), elements.end(), [](const Element& a, const Element& b) {
        return a.visibleUtf8.size() > b.visibleUtf8.size();
    });
    for (const Element& element : elements) {
        if (list.full()) break;
        list.offer(markupOf(page, element), element.visibleUtf8, "length");
    }
    return list.take();
}

std::string candidateLabel(int number, const BodyCandidate& candidate) {
    std::string digits = integerToText(candidate.textLength);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return integerToText(number) + ". " + digits + " 字："_gbk + candidate.preview;
}

}  // namespace yelian
