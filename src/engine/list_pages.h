// The list pages of a run: pages of links to the articles, a fixed number per page in the
// order the articles are written, each page carrying the same bar of links to every list page.
// The run starts them before the first article, adds each written article and finishes them
// after the last one (also after a stop). The texts come from the main window's tab
// "列表页设置"; each is read at the moment it is used.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_ops.h"
#include "support/markup_scanner.h"
#include "support/posix_file.h"
#include "support/text_encoding.h"

namespace yelian {

class RunPages;

// The label of list page n (n >= 1) by the label kind chosen in "组合框页号类型" (read at
// every call): 1 letters, 2 Chinese numerals, anything else decimal.
std::string pageLabel(const Controls& controls, std::int64_t n);

// Bijective base 26 in capital letters: 1 A, 26 Z, 27 AA, 702 ZZ, 703 AAA; empty below 1.
std::string letterLabel(std::int64_t n);

// The reading of n in simplified Chinese numerals, with the leading 一 always written:
// 10 一十, 105 一百零五, 1050 一千零五十, 10000 一万, 100000000 一亿. A run of zero digits between
// non-zero digits is one 零; a group name (万, 亿) is written whenever its group of four
// digits is not empty. Groups above 亿 are 万亿 and 亿亿, so every int64 has its own label.
// 0 gives 零; below 0 gives empty text.
std::string chineseNumeral(std::int64_t n);

// A text file put together in memory and written in one go.
class TextFileBuffer {
  public:
    // Starts a new file at the GBK path, creating every missing folder along it.
    void open(FileEnv& files, std::string_view path);
    void append(std::string_view text) { text_ += text; }
    // Writes the text in the encoding (with its byte-order mark) through files and closes the
    // buffer. True when the file was written.
    bool save(FileEnv& files, TextEncoding encoding);
    // save after appending ending and tail, where endingBytes, when given, is ending as
    // encodeForSplicing converted it for this encoding: the same file, without converting
    // ending again.
    bool save(FileEnv& files, TextEncoding encoding, std::string_view ending,
              const std::optional<std::string>& endingBytes, std::string_view tail);
    bool isOpen() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // Closes the buffer without writing it.
    void discard() {
        path_.clear();
        text_.clear();
    }

  private:
    std::string path_;
    std::string text_;
};

// What the list pages of one run know.
struct ListState {
    std::int64_t perPage = 50;
    std::int64_t pageCount = 1;
    // The bar of links to every list page, built once: the same text on every page.
    std::string bar;
    // The file of every list page (index 0 is page 1); empty for a page whose link leads
    // out of the output folder, which is never written.
    std::vector<std::string> listPaths;
    // The open page (1-based) and the entries on it so far.
    std::int64_t current = 1;
    std::int64_t entries = 0;
    TextFileBuffer listFile;
};

// How the list pages of a run went, for the run's report.
struct ListPagesReport {
    std::int64_t pagesWritten = 0;
    // Pages that could not be written (for example a bar link without href, whose path is
    // the output folder itself), and pages skipped because their link leads out of the
    // output folder: their entries are lost just the same.
    std::int64_t pagesFailed = 0;
    // The path of the first failed page; for a skipped page, its link.
    std::string firstFailedPath;
    // A page was skipped because its link leads out of the output folder; said once.
    bool pathRefused = false;
};

// One run's list pages. Messages go through the desktop; everything else is read from the
// main window's controls.
class ListPages {
  public:
    // pages, when given, is the run's record of its pages: a list page never replaces an
    // article or a page the run wrote, and its failures are noted there.
    explicit ListPages(Ui ui, RunPages* pages = nullptr)
        : ui_(ui), pages_(pages), files_(posixFiles_) {}
    // The same writing its pages through files, which must outlive the list pages.
    ListPages(Ui ui, RunPages* pages, FileEnv& files) : ui_(ui), pages_(pages), files_(files) {}
    ListPages(const ListPages&) = delete;
    ListPages& operator=(const ListPages&) = delete;

    // Before the first article: reads the options, builds the bar and every page's path, and
    // opens page 1 when "选择框列表页" is ticked. outputFolder ends with a separator;
    // articleCount is the job length; tags is the run's HTML tag helper, which reads the
    // href of each bar link.
    void startListPages(std::string_view outputFolder, std::int64_t articleCount,
                        const MarkupScanner& tags);

    // After article i of n was written: its link (without the "../" of the folder form), its
    // title and the encoding it was written in. Writes the page when it is full.
    void addListEntry(std::string_view link, std::string_view title, TextEncoding encoding,
                      std::int64_t i, std::int64_t n);

    // After article i of n whose page was not written: it takes its place on the page but
    // gets no entry, so that no list links to a page that is not there.
    void skipListEntry(TextEncoding encoding, std::int64_t i, std::int64_t n);

    // After the last article (or a stop): writes the open page in the encoding of the last
    // article written.
    void finishListPages(TextEncoding encoding);

    const ListState& state() const { return state_; }
    const ListPagesReport& report() const { return report_; }

  private:
    bool enabled() const;
    void openPage(std::int64_t page);
    void closePage(TextEncoding encoding);
    void countEntry(TextEncoding encoding, std::int64_t i, std::int64_t n);
    std::string headOfPage(std::int64_t page) const;
    void pageFailed(std::string_view pathOrLink);

    Ui ui_;
    RunPages* pages_;
    // The file system when none was given.
    PosixFileEnv posixFiles_;
    FileEnv& files_;
    ListState state_;
    ListPagesReport report_;
    // The first bar link that leads out of the output folder, for the message.
    std::string refusedHref_;
    // The bar converted once per output encoding the pages are written in.
    std::map<TextEncoding, std::optional<std::string>> encodedBars_;
};

}  // namespace yelian
