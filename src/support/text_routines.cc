// Marker cuts, alternatives, list-pair replacement, character counting and path parts.
#include "support/text_routines.h"

#include <algorithm>

#include "support/text_search.h"

namespace yelian {
namespace {

// The searched text with the stand-in markers put around it where a marker is empty; the
// copy is made only then.
class MarkedText {
  public:
    MarkedText(std::string_view text, std::string& left, std::string& right) : text_(text) {
        const bool head = left.empty();
        const bool tail = right.empty();
        if (head) left = kHeadMarker.str();
        if (tail) right = kTailMarker.str();
        if (head || tail) {
            owned_ = true;
            copy_.reserve(text.size() + left.size() + right.size());
            if (head) copy_ += left;
            copy_ += text;
            if (tail) copy_ += right;
        }
    }

    std::string_view work() const { return owned_ ? std::string_view(copy_) : text_; }

  private:
    std::string_view text_;
    std::string copy_;
    bool owned_ = false;
};

// The bytes between a left marker at left (0-based) and a right marker at right, with the
// shifts applied; empty when the shifts leave nothing or point outside the text.
std::string cutBetween(std::string_view work, std::size_t left, std::size_t leftLength,
                       std::size_t right, int shiftStart, int shiftEnd) {
    const auto start = static_cast<long long>(left + leftLength) + shiftStart;
    const auto length = static_cast<long long>(right) - start - shiftEnd;
    if (start < 0 || length <= 0 || static_cast<std::size_t>(start) >= work.size()) return {};
    return std::string(
        work.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

// 0-based offset where a forward search from a 1-based cursor starts.
std::size_t searchStart(int cursor) {
    return cursor < 1 ? 0 : static_cast<std::size_t>(cursor - 1);
}

int toPosition(std::size_t offset) {
    return static_cast<int>(offset) + 1;
}

std::string withoutDoubleQuotes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(result),
                 [](char c) { return c != '"'; });
    return result;
}

// One located block: the 0-based offsets of its markers.
struct MarkerPair {
    std::size_t left = kNotFound;
    std::size_t right = kNotFound;
};

MarkerPair findForward(std::string_view work, std::string_view left, std::string_view right,
                       std::size_t from) {
    MarkerPair pair;
    pair.left = findText(work, left, from);
    if (pair.left != kNotFound) pair.right = findText(work, right, pair.left + left.size());
    return pair;
}

// The nearest left marker lying wholly before the right marker at right.
std::size_t findLeftBefore(std::string_view work, std::string_view left, std::size_t right) {
    return findTextBackward(work, left, right);
}

}  // namespace

std::string textBetween(std::string_view text, std::string_view left, std::string_view right,
                        const BetweenOptions& options) {
    int cursor = 0;
    return textBetween(text, left, right, cursor, options);
}

std::string textBetween(std::string_view text, std::string_view left, std::string_view right,
                        int& cursor, const BetweenOptions& options) {
    std::string leftMarker = options.convertQuotes ? quotePairsToQuote(left) : std::string(left);
    std::string rightMarker = options.convertQuotes ? quotePairsToQuote(right) : std::string(right);
    const MarkedText marked(text, leftMarker, rightMarker);
    const std::string_view work = marked.work();
    MarkerPair pair;
    if (!options.backward) {
        pair = findForward(work, leftMarker, rightMarker, searchStart(cursor));
        if (pair.right == kNotFound) return {};
        cursor = toPosition(pair.right + rightMarker.size());
    } else {
        // Backward, the right marker lies wholly before the cursor (the left marker of the
        // block found last), so walking backwards never returns a block twice.
        const std::size_t end = cursor > 0 ? static_cast<std::size_t>(cursor - 1) : kNotFound;
        pair.right = findTextBackward(work, rightMarker, end);
        if (pair.right == kNotFound) return {};
        pair.left = findLeftBefore(work, leftMarker, pair.right);
        if (pair.left == kNotFound) return {};
        cursor = toPosition(pair.left);
    }
    return cutBetween(work, pair.left, leftMarker.size(), pair.right, options.shiftStart,
                      options.shiftEnd);
}

std::string textBetweenNext(std::string_view text, std::string_view left, std::string_view right,
                            int& cursor, const NextOptions& options) {
    int limit = 0;
    return textBetweenNext(text, left, right, cursor, limit, options);
}

std::string textBetweenNext(std::string_view text, std::string_view left, std::string_view right,
                            int& cursor, int& limit, const NextOptions& options) {
    if (cursor == kWalkFinished) return {};
    std::string leftMarker = options.keepQuotes ? std::string(left) : quotePairsToQuote(left);
    std::string rightMarker = options.keepQuotes ? std::string(right) : quotePairsToQuote(right);
    const MarkedText marked(text, leftMarker, rightMarker);
    const std::string_view work = marked.work();
    const bool quoted =
        leftMarker.find('"') != std::string::npos || rightMarker.find('"') != std::string::npos;
    const int attempts = quoted ? 2 : 1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt == 1) {
            leftMarker = withoutDoubleQuotes(leftMarker);
            rightMarker = withoutDoubleQuotes(rightMarker);
        }
        MarkerPair pair;
        if (!options.backward) {
            pair = findForward(work, leftMarker, rightMarker, searchStart(cursor));
            if (pair.right == kNotFound) continue;
        } else {
            pair.right = findText(work, rightMarker, searchStart(cursor));
            if (pair.right == kNotFound) continue;
            pair.left = findLeftBefore(work, leftMarker, pair.right);
            if (pair.left == kNotFound) continue;
            // A left marker at or before the last block's right marker was used already.
            const bool fresh = toPosition(pair.left) > limit;
            limit = toPosition(pair.right);
            if (!fresh) continue;
        }
        cursor = toPosition(pair.right + rightMarker.size());
        return cutBetween(work, pair.left, leftMarker.size(), pair.right, options.shiftStart,
                          options.shiftEnd);
    }
    cursor = kWalkFinished;
    return {};
}

std::string quotePairsToQuote(std::string_view text) {
    const TextFinder pairs("''", false);
    std::string result;
    result.reserve(text.size());
    std::size_t done = 0;
    for (std::size_t hit = pairs.findIn(text); hit != kNotFound; hit = pairs.findIn(text, done)) {
        result.append(text.substr(done, hit - done));
        result += '"';
        done = hit + 2;
    }
    result.append(text.substr(done));
    return result;
}

bool containsAlternatives(std::string_view text, std::string_view alternatives, bool any) {
    for (const std::string& alternative : splitText(alternatives, kAlternativesSeparator)) {
        const bool found = findText(text, alternative) != kNotFound;
        if (any && found) return true;
        if (!any && !found) return false;
    }
    return !any;
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    if (separator.empty()) {
        items.emplace_back(text);
        return items;
    }
    const TextFinder finder(separator, false);
    std::size_t start = 0;
    for (std::size_t hit = finder.findIn(text); hit != kNotFound;
         hit = finder.findIn(text, start)) {
        items.emplace_back(text.substr(start, hit - start));
        start = hit + separator.size();
    }
    if (start < text.size()) items.emplace_back(text.substr(start));
    return items;
}

}  // namespace yelian
