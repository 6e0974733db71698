// Marker cuts, alternatives, list-pair replacement, character counting and path parts.
#include "support/text_routines.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "support/native_path.h"
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

namespace {

// Replaces up to count (0: all) occurrences in text, in place and in one linear pass: the
// text only ever moves once, towards the front when the replacement is shorter than the find
// and towards the back (filled from the end) when it is longer.
void replaceOccurrences(std::string& text, const TextFinder& finder, std::string_view replacement,
                        int count, std::vector<std::size_t>& hits) {
    hits.clear();
    for (std::size_t hit = finder.findIn(text); hit != kNotFound;
         hit = finder.findIn(text, hit + finder.size())) {
        hits.push_back(hit);
        if (count > 0 && hits.size() >= static_cast<std::size_t>(count)) break;
    }
    if (hits.empty()) return;
    const std::size_t findSize = finder.size();
    const std::size_t oldSize = text.size();
    if (replacement.size() <= findSize) {
        std::size_t write = hits.front();
        for (std::size_t k = 0; k < hits.size(); ++k) {
            std::copy(replacement.begin(), replacement.end(), text.begin() + write);
            write += replacement.size();
            const std::size_t from = hits[k] + findSize;
            const std::size_t to = k + 1 < hits.size() ? hits[k + 1] : oldSize;
            std::memmove(text.data() + write, text.data() + from, to - from);
            write += to - from;
        }
        text.resize(write);
        return;
    }
    text.resize(oldSize + hits.size() * (replacement.size() - findSize));
    std::size_t sourceEnd = oldSize;
    std::size_t writeEnd = text.size();
    for (std::size_t k = hits.size(); k-- > 0;) {
        const std::size_t from = hits[k] + findSize;
        writeEnd -= sourceEnd - from;
        std::memmove(text.data() + writeEnd, text.data() + from, sourceEnd - from);
        writeEnd -= replacement.size();
        std::copy(replacement.begin(), replacement.end(), text.begin() + writeEnd);
        sourceEnd = hits[k];
    }
}

}  // namespace

std::string multiReplace(std::string_view text, std::string_view finds,
                         std::string_view replacements, const ReplaceOptions& options) {
    const std::string_view separator = options.separator.empty() ? "|" : options.separator;
    const std::vector<std::string> findList = splitText(finds, separator);
    std::vector<std::string> replacementList = splitText(replacements, separator);
    replacementList.resize(findList.size());
    std::vector<ReplacePair> pairs;
    pairs.reserve(findList.size());
    for (std::size_t i = 0; i < findList.size(); ++i) {
        const bool fill = options.fillEmpty && replacementList[i].empty();
        pairs.push_back({findList[i], fill ? replacementList.front() : replacementList[i]});
    }
    return replacePairs(text, pairs, options.caseSensitive, options.count);
}

std::string replacePairs(std::string_view text, std::span<const ReplacePair> pairs,
                         bool caseSensitive, int count) {
    std::string result(text);
    std::vector<std::size_t> hits;
    for (const ReplacePair& pair : pairs) {
        if (pair.find.empty()) continue;
        replaceOccurrences(result, TextFinder(pair.find, !caseSensitive), pair.replacement, count,
                           hits);
    }
    return result;
}

std::string replaceAtOnce(std::string_view text, std::span<const ReplacePair> pairs,
                          bool caseSensitive) {
    std::vector<TextFinder> finders;
    std::vector<std::size_t> next;
    finders.reserve(pairs.size());
    for (const ReplacePair& pair : pairs) {
        finders.emplace_back(pair.find, !caseSensitive);
        next.push_back(finders.back().findIn(text));
    }
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    while (true) {
        std::size_t chosen = kNotFound;
        for (std::size_t i = 0; i < next.size(); ++i) {
            if (next[i] != kNotFound && (chosen == kNotFound || next[i] < next[chosen])) {
                chosen = i;
            }
        }
        if (chosen == kNotFound) break;
        out.append(text.substr(done, next[chosen] - done));
        out.append(pairs[chosen].replacement);
        done = next[chosen] + finders[chosen].size();
        for (std::size_t i = 0; i < next.size(); ++i) {
            if (next[i] != kNotFound && next[i] < done) next[i] = finders[i].findIn(text, done);
        }
    }
    out.append(text.substr(done));
    return out;
}

int countOccurrences(std::string_view text, std::string_view needle) {
    const TextFinder finder(needle, true);
    int count = 0;
    for (std::size_t hit = finder.findIn(text); hit != kNotFound;
         hit = finder.findIn(text, hit + finder.size())) {
        ++count;
    }
    return count;
}

namespace {

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Walks a text character by character, counting as the character routines do.
class CharWalker {
  public:
    CharWalker(std::string_view text, LineBreaks lineBreaks)
        : text_(text), pairAsOne_(lineBreaks == LineBreaks::PairAsOne) {}

    std::size_t offset() const { return offset_; }
    int position() const { return position_; }
    bool atEnd() const { return offset_ >= text_.size(); }

    // Steps over one character.
    void step() {
        std::size_t length = charLengthAt(text_, offset_);
        if (pairAsOne_ && text_[offset_] == '\r' && offset_ + 1 < text_.size() &&
            text_[offset_ + 1] == '\n') {
            length = 2;
        }
        offset_ += length;
        ++position_;
    }

    // Steps over up to count characters.
    void skip(int count) {
        for (int i = 0; i < count && !atEnd(); ++i) step();
    }

    // Steps up to a byte offset; false when it lies inside a character.
    bool reach(std::size_t offset) {
        while (offset_ < offset) step();
        return offset_ == offset;
    }

  private:
    std::string_view text_;
    bool pairAsOne_;
    std::size_t offset_ = 0;
    // Characters stepped over so far.
    int position_ = 0;
};

LineBreaks searchLineBreaks(bool everyBreakByte) {
    return everyBreakByte ? LineBreaks::EveryByte : LineBreaks::PairAsOne;
}

// The LF of a CR LF pair, which does not begin a character when the pair counts as one.
bool insideLinePair(std::string_view text, std::size_t offset, LineBreaks lineBreaks) {
    return lineBreaks == LineBreaks::PairAsOne && offset > 0 && text[offset] == '\n' &&
           text[offset - 1] == '\r';
}

}  // namespace

int charCount(std::string_view text, LineBreaks lineBreaks) {
    int count = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (isFourDoubleByteCharactersAt(text, i)) {
            count += 4;
            i += 8;
            continue;
        }
        if (!isLineBreak(text[i])) {
            i += charLengthAt(text, i);
            ++count;
            continue;
        }
        if (lineBreaks == LineBreaks::PairAsOne && text[i] == '\r' && i + 1 < text.size() &&
            text[i + 1] == '\n') {
            ++i;
        }
        if (lineBreaks != LineBreaks::NotCounted) ++count;
        ++i;
    }
    return count;
}

std::string leftChars(std::string_view text, int n) {
    if (n == 0) return {};
    if (n < 0) {
        n += charCount(text);
        if (n <= 0) return std::string(text);
    }
    CharWalker walker(text, LineBreaks::PairAsOne);
    walker.skip(n);
    return std::string(text.substr(0, walker.offset()));
}

std::string midChars(std::string_view text, int first, int count) {
    if (count <= 0) return {};
    CharWalker walker(text, LineBreaks::PairAsOne);
    walker.skip(std::max(first, 1) - 1);
    const std::size_t start = walker.offset();
    walker.skip(count);
    return std::string(text.substr(start, walker.offset() - start));
}

int findCharPos(std::string_view text, std::string_view needle, int start, bool ignoreCase,
                bool everyBreakByte) {
    const LineBreaks lineBreaks = searchLineBreaks(everyBreakByte);
    if (start < 0) start += charCount(text, lineBreaks);
    CharWalker walker(text, lineBreaks);
    walker.skip(std::max(start, 1) - 1);
    const TextFinder finder(needle, ignoreCase);
    std::size_t hit = finder.findIn(text, walker.offset());
    while (hit != kNotFound && insideLinePair(text, hit, lineBreaks)) {
        hit = finder.findIn(text, hit + 1);
    }
    if (hit == kNotFound) return -1;
    walker.reach(hit);
    return walker.position() + 1;
}

int findCharPosBackward(std::string_view text, std::string_view needle, int end, bool ignoreCase,
                        bool everyBreakByte) {
    const LineBreaks lineBreaks = searchLineBreaks(everyBreakByte);
    if (end <= 0) end += charCount(text, lineBreaks);
    if (end <= 0) return -1;
    CharWalker endWalker(text, lineBreaks);
    endWalker.skip(end);
    const TextFinder finder(needle, ignoreCase);
    std::size_t hit = finder.findLastIn(text, endWalker.offset());
    while (hit != kNotFound && insideLinePair(text, hit, lineBreaks)) {
        hit = finder.findLastIn(text, hit - 1 + finder.size());
    }
    if (hit == kNotFound) return -1;
    CharWalker walker(text, lineBreaks);
    walker.reach(hit);
    return walker.position() + 1;
}

namespace {

std::string_view separatorOf(bool slash) {
    static constexpr char kNative[] = {kPathSeparator, '\0'};
    return slash ? "/" : kNative;
}

std::size_t lastSeparator(std::string_view path, bool slash) {
    return findTextBackward(path, separatorOf(slash), kNotFound, false);
}

}  // namespace

std::string fileNameOf(std::string_view path, bool slash) {
    const std::size_t separator = lastSeparator(path, slash);
    return std::string(separator == kNotFound ? path : path.substr(separator + 1));
}

std::string baseNameOf(std::string_view path, bool slash) {
    std::string name = fileNameOf(path, slash);
    const std::size_t dot = findTextBackward(name, ".", kNotFound, false);
    if (dot != kNotFound) name.resize(dot);
    return name;
}

std::string folderOf(std::string_view path, bool slash) {
    const std::size_t separator = lastSeparator(path, slash);
    return std::string(separator == kNotFound ? std::string_view() : path.substr(0, separator));
}

std::string urlPathOf(std::string_view url, bool keepWhole) {
    const std::size_t scheme = findText(url, "://", 0, false);
    const std::size_t slash = findText(url, "/", scheme == kNotFound ? 0 : scheme + 3, false);
    if (slash == kNotFound) return keepWhole ? std::string(url) : std::string();
    return std::string(url.substr(keepWhole ? slash + 1 : slash));
}

MakeFoldersResult makeFolders(FileEnv& files, std::string_view path) {
    namespace fs = std::filesystem;
    MakeFoldersResult result;
    const TextFinder separators(separatorOf(false), false);
    for (std::size_t at = separators.findIn(path); at != kNotFound;
         at = separators.findIn(path, at + 1)) {
        const std::string_view part = path.substr(0, at);
        const fs::path folder = toNativePath(part);
        // "", "/" or a drive: the root is there or the path cannot be made at all.
        if (!folder.has_relative_path()) continue;
        if (files.targetStatus(folder).kind == FileKind::Folder) continue;
        if (!files.makeFolder(folder)) {
            // A file in the way, or no right to create the folder.
            result.ok = false;
            return result;
        }
        result.created.emplace_back(part);
    }
    return result;
}

}  // namespace yelian
