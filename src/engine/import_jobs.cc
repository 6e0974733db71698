// Folder listings, the folder browser and the end-of-run report of the import buttons.
#include "engine/import_jobs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "controls/main_window_names.h"
#include "engine/generate_site.h"
#include "support/file_system.h"
#include "support/native_path.h"
#include "support/number_text.h"
#include "support/regex_object.h"
#include "support/text_routines.h"

namespace yelian {

using namespace yelian::literals;

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ASCII letters lowered; the bytes of double-byte characters stay as they are.
std::string lowerAsciiLetters(std::string_view text) {
    std::string lowered(text);
    for (std::size_t i = 0; i < lowered.size(); i += charLengthAt(lowered, i)) {
        lowered[i] = lowerAscii(lowered[i]);
    }
    return lowered;
}

std::string withSeparator(std::string_view folder) {
    std::string path(folder);
    if (path.empty() || path.back() != kPathSeparator) path += kPathSeparator;
    return path;
}

// How listFolderFiles decides whether a name matches its filter.
class FileNameFilter {
  public:
    explicit FileNameFilter(std::string_view filter) {
        if (filter.empty() || filter == "*" || filter == "*.*") {
            rule_ = Rule::Everything;
        } else if (filter.starts_with("*.") && filter.find('*', 1) == std::string_view::npos) {
            rule_ = Rule::Suffix;
            suffix_ = lowerAsciiLetters(filter.substr(1));
        } else {
            rule_ = Rule::Wildcard;
            pattern_.create(RegexObject::wildcardToPattern(filter), true, true, false);
        }
    }

    bool matches(std::string_view name) {
        switch (rule_) {
            case Rule::Everything:
                return true;
            case Rule::Suffix:
                return lowerAsciiLetters(name).ends_with(suffix_);
            case Rule::Wildcard: {
                const std::string lowered = lowerAsciiLetters(name);
                return pattern_.execute(lowered) > 0 && pattern_.matchValue(1) == lowered;
            }
        }
        return false;
    }

  private:
    enum class Rule { Everything, Suffix, Wildcard };
    Rule rule_ = Rule::Everything;
    std::string suffix_;
    RegexObject pattern_;
};

// Number text with at most two decimals, trailing zeros dropped, of hundredths.
std::string hundredthsText(std::int64_t hundredths) {
    std::string text = integerToText(hundredths / 100);
    const auto fraction = static_cast<int>(hundredths % 100);
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
    }
    return text;
}

// milliseconds / unitMilliseconds to two decimals, half up, in whole-number arithmetic so
// that a value like 1.005 s is not lost to binary fractions.
std::string inUnits(std::int64_t milliseconds, std::int64_t unitMilliseconds) {
    const std::int64_t step = unitMilliseconds / 100;
    const std::int64_t whole = milliseconds / step;
    const std::int64_t rest = milliseconds % step;
    return hundredthsText(whole + (rest >= step - rest ? 1 : 0));
}

bool templatePageSelected(Ui ui) {
    if (ui.controls.selectedIndex(kMainWindow, kTemplateTabs) <= 4) return true;
    ui.desktop.messageBox(kChooseTemplatePageMessage, {}, MessageButtons::Ok, MessageIcon::None);
    return false;
}

// A run from one import button while the other one is disabled; the report comes before the
// button is idle again, so a click on the report's owner cannot start a second run.
void runFromButton(GenerationContext& app, GenerationJob& job, std::string_view otherButton) {
    app.ui.controls.setEnabled(kMainWindow, otherButton, false);
    const RunOutcome outcome = generateSite(app, job);
    showRunReport(app.ui, outcome);
    app.ui.controls.setEnabled(kMainWindow, otherButton, true);
}

}  // namespace

void importFiles(GenerationContext& app) {
    Controls& controls = app.ui.controls;
    if (controls.caption(kMainWindow, kImportFilesButton) != kImportFilesIdle) {
        app.stopRequested = true;
        controls.setCaption(kMainWindow, kImportFilesButton, kImportFilesStopping);
        return;
    }
    if (!templatePageSelected(app.ui)) return;
    controls.setCaption(kMainWindow, kImportFilesButton, kImportFilesRunning);
    app.stopRequested = false;
    const std::vector<FileFilter> filters = {
        {"htm;html文件"_gbk, "*.htm;*.html"}, {"txt文件"_gbk, "*.txt"}, {"全部文件"_gbk, "*.*"}};
    GenerationJob job = app.ui.desktop.chooseFiles("请选择文件："_gbk, filters);
    runFromButton(app, job, kImportFolderButton);
    controls.setCaption(kMainWindow, kImportFilesButton, kImportFilesIdle);
}

void importFolder(GenerationContext& app, bool byScripting) {
    Controls& controls = app.ui.controls;
    if (controls.caption(kMainWindow, kImportFolderButton) != kImportFolderIdle) {
        app.stopRequested = true;
        controls.setCaption(kMainWindow, kImportFolderButton, kImportFolderStopping);
        return;
    }
    if (!templatePageSelected(app.ui)) return;
    const std::string folder = chooseFolder(
        app.ui.desktop, controls.tagText(kMainWindow, kImportFolderButton), "请选择文件夹："_gbk);
    if (folder.empty()) return;
    controls.setTagText(kMainWindow, kImportFolderButton, folder);
    const std::string filter = controls.text(kMainWindow, kFolderFilterEdit);
    GenerationJob job = byScripting ? listFolderFiles(folder, filter)
                                    : listFolderFilesByPattern(app.ui.desktop, folder, filter);
    controls.setCaption(kMainWindow, kImportFolderButton, kImportFolderRunning);
    app.stopRequested = false;
    runFromButton(app, job, kImportFilesButton);
    controls.setCaption(kMainWindow, kImportFolderButton, kImportFolderIdle);
}

std::vector<std::string> listFolderFiles(std::string_view folder, std::string_view filter,
                                         ListingOrder order) {
    const std::string prefix = withSeparator(folder);
    FileNameFilter matcher(filter);
    std::vector<std::string> names;
    const FileSystem files;
    const FolderItem listed = files.getFolder(folder);
    CollectionEnumerator walk;
    if (walk.begin(listed.items(false))) {
        while (auto object = walk.next()) {
            FileItem file;
            file.attach(std::move(*object));
            std::string name = file.name();
            if (matcher.matches(name)) names.push_back(std::move(name));
        }
    }
    if (order == ListingOrder::ByName) std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names) paths.push_back(prefix + name);
    return paths;
}

bool wildcardMatches(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") return true;
    // Greedy walk that returns to the last "*" on a mismatch: linear for one star, and never
    // worse than name length times pattern length.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = ++p;
            resumeAt = n;
            continue;
        }
        const std::size_t nameChar = charLengthAt(name, n);
        if (p < pattern.size()) {
            const std::size_t patternChar = charLengthAt(pattern, p);
            const bool same =
                pattern[p] == '?' ||
                (patternChar == nameChar &&
                 (nameChar == 1 ? lowerAscii(pattern[p]) == lowerAscii(name[n])
                                : pattern.substr(p, patternChar) == name.substr(n, nameChar)));
            if (same) {
                n += nameChar;
                p += patternChar;
                continue;
            }
        }
        if (starAt == std::string_view::npos) return false;
        resumeAt += charLengthAt(name, resumeAt);
        n = resumeAt;
        p = starAt;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> listFolderFilesByPattern(DesktopServices& desktop, std::string_view folder,
                                                  std::string_view filter) {
    namespace fs = std::filesystem;
    const std::string prefix = withSeparator(folder);
    const fs::path native = toNativePath(folder);
    std::vector<std::string> paths;
    for (const std::string& pattern : splitText(filter.empty() ? "*.*" : filter, "|")) {
        // A pattern with a folder in it would reach into a subfolder; those are never listed.
        if (pattern.empty() || pattern.find(kPathSeparator) != std::string::npos) continue;
        std::error_code error;
        for (fs::directory_iterator it(native, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code kindError;
            if (it->is_directory(kindError)) continue;
            const std::string name = fromNativePath(it->path().filename());
            if (!wildcardMatches(name, pattern)) continue;
            paths.push_back(prefix + name);
            desktop.processPendingEvents();
        }
    }
    return paths;
}

std::string chooseFolder(DesktopServices& desktop, std::string_view initialFolder,
                         std::string_view title) {
    const std::string chosen = desktop.chooseFolder(title, initialFolder);
    const std::size_t first = chosen.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = chosen.find_last_not_of(" \t");
    return chosen.substr(first, last - first + 1);
}

std::string formatElapsed(std::int64_t milliseconds) {
    constexpr std::int64_t kSecond = 1000;
    constexpr std::int64_t kMinute = 60 * kSecond;
    constexpr std::int64_t kHour = 60 * kMinute;
    constexpr std::int64_t kDay = 24 * kHour;
    constexpr std::int64_t kMonth = 30 * kDay;
    constexpr std::int64_t kYear = 12 * kMonth;
    if (milliseconds < kSecond) return integerToText(milliseconds) + " " + "毫秒"_gbk;
    if (milliseconds < kMinute) return inUnits(milliseconds, kSecond) + " " + "秒"_gbk;
    if (milliseconds < kHour) return inUnits(milliseconds, kMinute) + " " + "分"_gbk;
    if (milliseconds < kDay) return inUnits(milliseconds, kHour) + " " + "时"_gbk;
    if (milliseconds < kMonth) return inUnits(milliseconds, kDay) + " " + "天"_gbk;
    if (milliseconds < kYear) return inUnits(milliseconds, kMonth) + " " + "月"_gbk;
    return inUnits(milliseconds, kYear) + " " + "年"_gbk;
}

std::string runSummaryText(const RunOutcome& outcome) {
    std::string text = "耗时 "_gbk + formatElapsed(outcome.elapsedMilliseconds) + " 处理完毕"_gbk;
    // A run with pages that could not be written must not read as a clean finish.
    if (outcome.pagesFailed > 0) {
        text += "，其中 "_gbk + integerToText(outcome.pagesFailed) +
                " 个页面未能写入（第一个："_gbk + outcome.firstFailedPath + "）"_gbk;
    }
    return text;
}

std::string runReportQuestion(const RunOutcome& outcome) {
    return runSummaryText(outcome) + "，已保存在这个目录，是否打开它："_gbk + outcome.outputFolder;
}

void showRunReport(Ui ui, const RunOutcome& outcome) {
    switch (outcome.end) {
        case RunOutcome::End::Nothing:
        case RunOutcome::End::Cancelled:
            return;
        case RunOutcome::End::Refused:
            ui.desktop.messageBox(outcome.problem, {}, MessageButtons::Ok, MessageIcon::Warning);
            return;
        case RunOutcome::End::Finished:
        case RunOutcome::End::Stopped:
            break;
    }
    const MessageIcon icon = outcome.pagesFailed > 0 ? MessageIcon::Warning : MessageIcon::Question;
    if (ui.desktop.messageBox(runReportQuestion(outcome), {}, MessageButtons::YesNo, icon) ==
        MessageAnswer::Yes) {
        openFolderInExplorer(ui.desktop, outcome.outputFolder);
    }
}

void openFolderInExplorer(DesktopServices& desktop, std::string_view folder) {
    desktop.openFolder(folder);
}

}  // namespace yelian
