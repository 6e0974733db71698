#include "engine/keyword_insertion.h"

#include <algorithm>
#include <cstdint>

#include "controls/main_window_names.h"
#include "support/gbk_text.h"
#include "support/number_text.h"
#include "support/text_routines.h"

namespace yelian {

using namespace yelian::literals;

namespace {

// A character the insertion looks at: its position (1-based, in characters) and the byte
// where it starts.
struct CharMark {
    std::int64_t pos;
    std::size_t byte;
};

// The marks of one kind in content order, so the nearest one on either side of a position is
// a binary search away.
class MarkList {
  public:
    void add(std::int64_t pos, std::size_t byte) { marks_.push_back({pos, byte}); }

    // The last mark at or before pos.
    std::optional<CharMark> atOrBefore(std::int64_t pos) const {
        const auto it = firstAfter(pos);
        if (it == marks_.begin()) return std::nullopt;
        return *std::prev(it);
    }
    // The first mark after pos.
    std::optional<CharMark> after(std::int64_t pos) const {
        const auto it = firstAfter(pos);
        if (it == marks_.end()) return std::nullopt;
        return *it;
    }

  private:
    std::vector<CharMark>::const_iterator firstAfter(std::int64_t pos) const {
        return std::upper_bound(marks_.begin(), marks_.end(), pos,
                                [](std::int64_t p, const CharMark& m) { return p < m.pos; });
    }

    std::vector<CharMark> marks_;
};

// The blanks, tag brackets and starts of English words of a content, its length in
// characters, and a checkpoint every kCheckpointSpacing characters so that a drawn position
// is found without walking the content again.
struct ContentMarks {
    std::int64_t total = 0;
    MarkList blanks;
    MarkList wordStarts;
    MarkList opens;
    MarkList closes;
    std::vector<CharMark> checkpoints;
};

constexpr std::int64_t kCheckpointSpacing = 64;

// A CR LF pair is one character, as charCount counts with LineBreaks::PairAsOne.
std::size_t unitLengthAt(std::string_view text, std::size_t i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') return 2;
    return charLengthAt(text, i);
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

ContentMarks markContent(std::string_view content) {
    ContentMarks marks;
    bool inWord = false;
    std::int64_t nextCheckpoint = 1;
    std::size_t i = 0;
    while (i < content.size()) {
        if (marks.total + 1 >= nextCheckpoint) {
            marks.checkpoints.push_back({marks.total + 1, i});
            nextCheckpoint = marks.total + 1 + kCheckpointSpacing;
        }
        if (isFourDoubleByteCharactersAt(content, i)) {
            marks.total += 4;
            i += 8;
            inWord = false;
            continue;
        }
        ++marks.total;
        const bool letter = isAsciiLetter(content[i]);
        if (letter && !inWord) marks.wordStarts.add(marks.total, i);
        inWord = letter;
        switch (content[i]) {
            case ' ':
                marks.blanks.add(marks.total, i);
                break;
            case '<':
                marks.opens.add(marks.total, i);
                break;
            case '>':
                marks.closes.add(marks.total, i);
                break;
            default:
                break;
        }
        i += unitLengthAt(content, i);
    }
    return marks;
}

// One insertion: drawn at a character, then moved; the text goes in at byte cut.
struct Insertion {
    std::int64_t pos = 0;
    std::size_t cut = 0;
    char drawnChar = 0;
    bool withBlank = false;
};

// Moves an insertion drawn on a letter to the nearest blank, and one inside a tag out of it.
void placeInsertion(Insertion& insertion, const ContentMarks& marks) {
    const bool letter = isAsciiLetter(insertion.drawnChar);
    insertion.withBlank = letter || insertion.drawnChar == ' ';
    if (letter) {
        const auto before = marks.blanks.atOrBefore(insertion.pos);
        const auto after = marks.blanks.after(insertion.pos);
        std::optional<CharMark> nearest = after;
        if (before && (!after || insertion.pos - before->pos < after->pos - insertion.pos)) {
            nearest = before;
        }
        if (nearest) {
            insertion.pos = nearest->pos;
            insertion.cut = nearest->byte + 1;
        } else {
            // No blank anywhere (Chinese text around the word): right before the word, so
            // the word stays whole and the added blank separates it from the text.
            const CharMark start = *marks.wordStarts.atOrBefore(insertion.pos);
            insertion.pos = start.pos - 1;
            insertion.cut = start.byte;
        }
    }
    const std::int64_t p = insertion.pos;
    const auto lt = marks.opens.atOrBefore(p);
    const auto gtAfter = marks.closes.after(p);
    if (!lt || !gtAfter) return;
    const auto gtBefore = marks.closes.atOrBefore(p);
    const auto ltAfter = marks.opens.after(p);
    if (gtBefore && gtBefore->pos > lt->pos) return;
    if (ltAfter && ltAfter->pos < gtAfter->pos) return;
    if (p - lt->pos < gtAfter->pos - p) {
        insertion.pos = lt->pos - 1;
        insertion.cut = lt->byte;
    } else {
        insertion.pos = gtAfter->pos;
        insertion.cut = gtAfter->byte + 1;
    }
    insertion.withBlank = false;
}

// Fills in the drawn character and the byte after it, walking from the nearest checkpoint.
void locateDrawnCharacter(std::string_view content, const ContentMarks& marks,
                          Insertion& insertion) {
    const auto checkpoint = std::prev(
        std::upper_bound(marks.checkpoints.begin(), marks.checkpoints.end(), insertion.pos,
                         [](std::int64_t p, const CharMark& m) { return p < m.pos; }));
    std::size_t i = checkpoint->byte;
    for (std::int64_t pos = checkpoint->pos; pos < insertion.pos; ++pos) {
        i += unitLengthAt(content, i);
    }
    insertion.drawnChar = content[i];
    insertion.cut = i + unitLengthAt(content, i);
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace

PhraseLine preparePhraseLine(std::string_view line) {
    PhraseLine result;
    std::vector<std::string> items = splitText(line, "|");
    if (items.empty()) return result;
    std::string& last = items.back();
    result.urlMode = lowerAscii(last).starts_with("http://");
    if (result.urlMode) {
        if (last == "http://" || last == "http:///") last.erase(0, 7);
        result.urls = splitText(last, "*");
        if (result.urls.empty()) result.urls.emplace_back("/");
    }
    if (items.size() == 1) items.push_back(items.front());
    if (result.urlMode) items.pop_back();
    result.words = std::move(items);
    return result;
}

std::string keywordAnchor(std::string_view word, std::string_view url) {
    std::string anchor = "<a target=\"_blank\" href=\"";
    anchor += url;
    anchor += "\">";
    anchor += word;
    anchor += "</a>";
    return anchor;
}

std::string insertKeywords(std::string_view content, std::string_view text, std::int64_t n,
                           RandomSource& random, const ProcessEvents& processEvents) {
    if (content.empty()) return {};
    n = std::clamp<std::int64_t>(n, 1, kMaxInsertionsPerArticle);
    const ContentMarks marks = markContent(content);

    // The draws come first: where an insertion moves to never changes what is drawn next.
    ShuffleBag positions(random);
    std::vector<Insertion> insertions(static_cast<std::size_t>(n));
    for (Insertion& insertion : insertions) {
        if (processEvents) processEvents();
        insertion.pos = positions.draw(1, marks.total);
    }
    for (Insertion& insertion : insertions) {
        locateDrawnCharacter(content, marks, insertion);
        placeInsertion(insertion, marks);
    }
    // Stable, so texts at one place stay in the order they were drawn.
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.cut < b.cut; });

    std::string result;
    result.reserve(content.size() + insertions.size() * (text.size() + 1));
    std::size_t copied = 0;
    for (const Insertion& insertion : insertions) {
        result.append(content, copied, insertion.cut - copied);
        result += text;
        if (insertion.withBlank) result += ' ';
        copied = insertion.cut;
    }
    result.append(content, copied);
    return result;
}

void KeywordInserter::prepareRun(const Controls& controls) {
    nothingInserted_ = false;
    if (!controls.checked(kMainWindow, kInsertPhrasesCheck)) return;
    line_ = preparePhraseLine(controls.text(kMainWindow, kPhraseCombo));
    wordBag_.reset();
    urlBag_.reset();
}

std::optional<std::string> KeywordInserter::textForArticle() {
    if (line_.words.empty()) return std::nullopt;
    const auto count = static_cast<std::int64_t>(line_.words.size());
    const std::string& word = line_.words[static_cast<std::size_t>(wordBag_.draw(1, count) - 1)];
    if (!line_.urlMode) return word;
    const auto urls = static_cast<std::int64_t>(line_.urls.size());
    const std::string& url = line_.urls[static_cast<std::size_t>(urlBag_.draw(1, urls) - 1)];
    return keywordAnchor(word, url);
}

std::string KeywordInserter::insertIntoArticle(Ui ui, std::string content) {
    if (!ui.controls.checked(kMainWindow, kInsertPhrasesCheck)) return content;
    const std::optional<std::string> text = textForArticle();
    if (!text) {
        if (!nothingInserted_) {
            nothingInserted_ = true;
            ui.desktop.messageBox("已启用插词，但词组为空，文章内容中没有插入任何词。"_gbk, {},
                                  MessageButtons::Ok, MessageIcon::Warning);
        }
        return content;
    }
    const std::int64_t n =
        random_.random(textToInteger(ui.controls.text(kMainWindow, kInsertCountMinEdit)),
                       textToInteger(ui.controls.text(kMainWindow, kInsertCountMaxEdit)));
    return insertKeywords(content, *text, n, random_, [&ui] { ui.desktop.processPendingEvents(); });
}

}  // namespace yelian
