#include "engine/list_pages.h"

#include "engine/run_pages.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "controls/main_window_names.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/number_text.h"
#include "support/text_routines.h"

namespace yelian {

using namespace yelian::literals;

namespace {

constexpr std::int64_t kDefaultPerPage = 50;

enum LabelKind { kDecimalLabels = 0, kLetterLabels = 1, kChineseLabels = 2 };

const std::string& pageNumberTag() {
    return "#页号#"_gbk;
}

// ceil(count / perPage) in reals with the run's tolerance, at least 1.
std::int64_t pageCountOf(std::int64_t count, std::int64_t perPage) {
    const double quotient = static_cast<double>(count) / static_cast<double>(perPage);
    double pages = quotient;
    if (quotient - std::trunc(quotient) > 0.0000001) pages = std::trunc(quotient) + 1;
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(pages));
}

// The name a group of four digits carries: 万 for the first above the units, 亿 for the
// second, then 万亿 and 亿亿.
const std::string& groupName(std::size_t group) {
    static const std::array<std::string, 5> names = {"", "万"_gbk, "亿"_gbk, "万亿"_gbk,
                                                     "亿亿"_gbk};
    return names[std::min(group, names.size() - 1)];
}

// The path below the output folder leaves it: an absolute path or a ".." step.
bool leavesFolder(std::string_view relative) {
    const auto isSeparator = [](char c) { return c == '/' || c == '\\' || c == kPathSeparator; };
    if (!relative.empty() && isSeparator(relative.front())) return true;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= relative.size(); ++i) {
        if (i < relative.size() && !isSeparator(relative[i])) continue;
        if (relative.substr(start, i - start) == "..") return true;
        start = i + 1;
    }
    return false;
}

std::string nativeSeparators(std::string text) {
    for (char& c : text) {
        if (c == '/') c = kPathSeparator;
    }
    return text;
}

// The first page's link without its label: index_1.htm becomes index.htm.
std::string withoutLabel(std::string_view href, std::string_view label) {
    const std::string label_(label);
    const std::string dashBefore = "-" + label_;
    const std::string underscoreBefore = "_" + label_;
    const std::string dashAfter = label_ + "-";
    const std::string underscoreAfter = label_ + "_";
    const std::string slashBefore = "/" + label_;
    const std::string dotAfter = label_ + ".";
    const std::array<ReplacePair, 6> pairs = {{
        {dashBefore, ""},
        {underscoreBefore, ""},
        {dashAfter, ""},
        {underscoreAfter, ""},
        {slashBefore, "/"},
        {dotAfter, "."},
    }};
    return replacePairs(href, pairs);
}

}  // namespace

std::string letterLabel(std::int64_t n) {
    std::string reversed;
    while (n > 0) {
        std::int64_t r = n % 26;
        if (r == 0) {
            r = 26;
            --n;
        }
        reversed += static_cast<char>('A' + r - 1);
        n /= 26;
    }
    return {reversed.rbegin(), reversed.rend()};
}

std::string chineseNumeral(std::int64_t n) {
    static const std::array<std::string, 10> digitNames = {"零"_gbk, "一"_gbk, "二"_gbk, "三"_gbk,
                                                           "四"_gbk, "五"_gbk, "六"_gbk, "七"_gbk,
                                                           "八"_gbk, "九"_gbk};
    static const std::array<std::string, 4> positionNames = {"", "十"_gbk, "百"_gbk, "千"_gbk};
    if (n < 0) return {};
    if (n == 0) return digitNames[0];
    std::vector<int> digits;  // lowest first
    for (std::int64_t rest = n; rest > 0; rest /= 10) digits.push_back(static_cast<int>(rest % 10));
    std::size_t lowest = 0;
    while (digits[lowest] == 0) ++lowest;

    std::string result;
    bool zeroRun = false;
    for (std::size_t k = digits.size(); k-- > 0;) {
        if (digits[k] != 0) {
            if (zeroRun) result += digitNames[0];
            zeroRun = false;
            result += digitNames[static_cast<std::size_t>(digits[k])];
            result += positionNames[k % 4];
        } else if (k > lowest) {
            zeroRun = true;
        }
        if (k % 4 == 0 && k > 0) {
            const std::size_t groupEnd = std::min(k + 4, digits.size());
            bool groupUsed = false;
            for (std::size_t g = k; g < groupEnd; ++g) groupUsed = groupUsed || digits[g] != 0;
            if (groupUsed) result += groupName(k / 4);
        }
    }
    return result;
}

std::string pageLabel(const Controls& controls, std::int64_t n) {
    switch (controls.selectedIndex(kMainWindow, kPageNumberKindCombo)) {
        case kLetterLabels:
            return letterLabel(n);
        case kChineseLabels:
            return chineseNumeral(n);
        default:
            return integerToText(n);
    }
}

void TextFileBuffer::open(FileEnv& files, std::string_view path) {
    path_ = std::string(path);
    text_.clear();
    makeFolders(files, path);
}

bool TextFileBuffer::save(FileEnv& files, TextEncoding encoding) {
    const bool written = writeTextFile(files, path_, text_, encoding).written;
    path_.clear();
    text_.clear();
    return written;
}

bool TextFileBuffer::save(FileEnv& files, TextEncoding encoding, std::string_view ending,
                          const std::optional<std::string>& endingBytes, std::string_view tail) {
    if (!endingBytes) {
        append(ending);
        append(tail);
        return save(files, encoding);
    }
    const bool written =
        writeSplicedTextFile(files, path_, text_, ending, *endingBytes, tail, encoding).written;
    path_.clear();
    text_.clear();
    return written;
}

bool ListPages::enabled() const {
    return ui_.controls.checked(kMainWindow, kListPagesCheck);
}

std::string ListPages::headOfPage(std::int64_t page) const {
    const std::string head = ui_.controls.text(kMainWindow, kListHeadEdit);
    const std::string label = pageLabel(ui_.controls, page);
    const std::array<ReplacePair, 1> pairs = {{{pageNumberTag(), label}}};
    return replacePairs(head, pairs, true);
}

void ListPages::startListPages(std::string_view outputFolder, std::int64_t articleCount,
                               const MarkupScanner& tags) {
    const Controls& controls = ui_.controls;
    state_ = ListState{};
    report_ = ListPagesReport{};
    refusedHref_.clear();
    encodedBars_.clear();
    state_.perPage = textToInteger(controls.text(kMainWindow, kArticlesPerListPageEdit));
    if (state_.perPage < 1) state_.perPage = kDefaultPerPage;
    state_.pageCount = pageCountOf(articleCount, state_.perPage);

    const std::string blockText = controls.text(kMainWindow, kPageEntryEdit);
    const bool firstWithoutLabel = controls.checked(kMainWindow, kFirstPageUnnumberedCheck);
    std::string bar;
    state_.listPaths.reserve(static_cast<std::size_t>(state_.pageCount));
    for (std::int64_t p = 1; p <= state_.pageCount; ++p) {
        const std::string label = pageLabel(controls, p);
        const std::array<ReplacePair, 1> labelPair = {{{pageNumberTag(), label}}};
        std::string block = replacePairs(blockText, labelPair, true);
        std::string href = tags.attribute(block, "href");
        if (p == 1 && firstWithoutLabel) {
            std::string newHref = withoutLabel(href, label);
            if (!newHref.empty()) {
                const std::array<ReplacePair, 1> hrefPair = {{{href, newHref}}};
                block = replacePairs(block, hrefPair, true);
            }
            href = std::move(newHref);
        }
        bar += block;
        const std::string relative = urlPathOf(href, true);
        if (leavesFolder(relative)) {
            if (refusedHref_.empty()) refusedHref_ = href;
            state_.listPaths.emplace_back();
        } else {
            state_.listPaths.push_back(std::string(outputFolder) + nativeSeparators(relative));
        }
    }
    state_.bar = controls.text(kMainWindow, kPageBarHeadEdit) + bar +
                 controls.text(kMainWindow, kPageBarTailEdit);

    state_.current = 1;
    state_.entries = 0;
    if (enabled()) openPage(1);
}

void ListPages::openPage(std::int64_t page) {
    const std::string& path = state_.listPaths[static_cast<std::size_t>(page - 1)];
    if (path.empty()) {
        pageFailed(refusedHref_);
        if (!report_.pathRefused) {
            report_.pathRefused = true;
            ui_.desktop.messageBox("分页个体代码中的链接“"_gbk + refusedHref_ +
                                       "”指向单页目录之外，这样的列表页不会生成。"_gbk,
                                   {}, MessageButtons::Ok, MessageIcon::Warning);
        }
        return;
    }
    state_.listFile.open(files_, path);
    state_.listFile.append(headOfPage(page));
}

void ListPages::closePage(TextEncoding encoding) {
    if (!state_.listFile.isOpen()) return;
    const std::string path = state_.listFile.path();
    // Every page carries the whole bar: it is converted once per encoding, not per page.
    const auto [bar, added] = encodedBars_.try_emplace(encoding);
    if (added) bar->second = encodeForSplicing(state_.bar, encoding);
    if (pages_) {
        if (Expected<void> allowed = pages_->mayWrite(path, {}); !allowed) {
            state_.listFile.discard();
            pages_->failed(path, allowed.error().message);
            pageFailed(path);
            return;
        }
    }
    if (state_.listFile.save(files_, encoding, state_.bar, bar->second,
                             ui_.controls.text(kMainWindow, kListTailEdit))) {
        ++report_.pagesWritten;
        if (pages_) pages_->written(path, {});
        return;
    }
    if (pages_) pages_->failed(path, "无法写入"_gbk);
    pageFailed(path);
}

void ListPages::pageFailed(std::string_view pathOrLink) {
    if (report_.pagesFailed++ == 0) report_.firstFailedPath = std::string(pathOrLink);
}

void ListPages::addListEntry(std::string_view link, std::string_view title, TextEncoding encoding,
                             std::int64_t i, std::int64_t n) {
    if (!enabled()) return;
    if (state_.listFile.isOpen()) {
        const std::string entry = ui_.controls.text(kMainWindow, kArticleEntryEdit);
        const std::array<ReplacePair, 2> pairs = {{{"#链接#"_gbk, link}, {"#标题#"_gbk, title}}};
        state_.listFile.append(replacePairs(entry, pairs, true));
    }
    countEntry(encoding, i, n);
}

void ListPages::skipListEntry(TextEncoding encoding, std::int64_t i, std::int64_t n) {
    if (enabled()) countEntry(encoding, i, n);
}

void ListPages::countEntry(TextEncoding encoding, std::int64_t i, std::int64_t n) {
    ++state_.entries;
    if (state_.entries < state_.perPage) return;
    closePage(encoding);
    state_.entries = 0;
    if (i < n && state_.current < state_.pageCount) {
        ++state_.current;
        openPage(state_.current);
    }
}

void ListPages::finishListPages(TextEncoding encoding) {
    if (enabled()) closePage(encoding);
}

}  // namespace yelian
