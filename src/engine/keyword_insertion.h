// Keyword insertion: a word of the current phrase group ("组合框词"), or the word linked to one
// of the group's addresses, put a random number of times at random places of each article
// body before the body is cut and put into its page. An insertion never splits an English
// word and never lands inside an HTML tag.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_ops.h"
#include "support/random_source.h"
#include "support/shuffle_bag.h"
#include "support/text_encoding.h"

namespace yelian {

// The most insertions made into one article, whatever the bounds typed into the window say:
// beyond it a run would only stall on one article.
inline constexpr std::int64_t kMaxInsertionsPerArticle = 1'000'000;

// A phrase group as a run uses it: the words, and in link mode the addresses the words link
// to.
struct PhraseLine {
    std::vector<std::string> words;
    // Link mode: the last item began with "http://" (any case); it holds the addresses,
    // separated by "*".
    bool urlMode = false;
    std::vector<std::string> urls;
};

// Splits a phrase group at "|". A last item that is only "http://" or "http:///" keeps the
// rest ("" or "/"); an address item without addresses links to "/". A single item counts as
// a word also when it is the address item.
PhraseLine preparePhraseLine(std::string_view line);

// The anchor that shows word and links to url in a new window.
std::string keywordAnchor(std::string_view word, std::string_view url);

// The content with text inserted n times (at least 1, at most kMaxInsertionsPerArticle) after
// randomly drawn characters (a CR LF counts as one character), distinct until every
// character was drawn. A draw on an ASCII letter moves to the nearest blank (the one after on
// a tie) and inserts after it, or, with no blank in the content, right before the letter's
// word; a draw on a letter or a blank adds a blank after the text. A
// draw inside a tag moves before its "<" or after its ">", whichever is nearer, without the
// blank. The result is built in one pass; an empty content stays empty. processEvents runs
// once per insertion.
std::string insertKeywords(std::string_view content, std::string_view text, std::int64_t n,
                           RandomSource& random, const ProcessEvents& processEvents = {});

// The application's keyword insertion: the prepared phrase group and the word and address
// bags, whose no-repeat cycles run across the articles of a run.
class KeywordInserter {
  public:
    explicit KeywordInserter(RandomSource& random)
        : random_(random), wordBag_(random), urlBag_(random) {}

    // At the start of every run. When "选择框启用插词" is ticked, reads "组合框词", prepares
    // the group and empties both bags. A run that starts without insertion keeps the group
    // prepared last.
    void prepareRun(const Controls& controls);

    // The text to insert into the next article: the next word of the word bag, in link mode
    // as an anchor to the next address of the address bag. Nothing when the group has no
    // words.
    std::optional<std::string> textForArticle();

    // Pass 1 of an article: when "选择框启用插词" is ticked, inserts textForArticle() a number
    // of times between "编辑框插入1" and "编辑框插入2" (read now) and returns the new content.
    // With an empty group the content stays as it is and the run says so once.
    std::string insertIntoArticle(Ui ui, std::string content);

    const PhraseLine& phraseLine() const { return line_; }
    // True when this run left an article unchanged because the group had no words.
    bool nothingInserted() const { return nothingInserted_; }

  private:
    RandomSource& random_;
    ShuffleBag wordBag_;
    ShuffleBag urlBag_;
    PhraseLine line_;
    bool nothingInserted_ = false;
};

}  // namespace yelian
