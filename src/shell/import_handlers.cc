// The import buttons' handlers, the folder browser and the end-of-run report.
#include "shell/import_handlers.h"

#include "controls/main_window_names.h"
#include "engine/generate_site.h"
#include "engine/import_jobs.h"
#include "support/number_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

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
// button is idle again, so a click on the report's owner cannot start a second run. A question
// after the user closed the window would hold up the close (or a logout) for nothing.
void runFromButton(Application& app, GenerationJob& job, std::string_view otherButton) {
    app.controls().setEnabled(kMainWindow, otherButton, false);
    GenerationContext context = app.generationContext();
    const RunOutcome outcome = generateSite(context, job, app.files());
    if (app.windowActivity().closeState(kMainWindow) == CloseState::Open) {
        showRunReport(app.ui(), outcome);
    }
    app.controls().setEnabled(kMainWindow, otherButton, true);
}

}  // namespace

void importFiles(Application& app) {
    Controls& controls = app.controls();
    if (controls.caption(kMainWindow, kImportFilesButton) != kImportFilesIdle) {
        app.stopRequested() = true;
        controls.setCaption(kMainWindow, kImportFilesButton, kImportFilesStopping);
        return;
    }
    if (!templatePageSelected(app.ui())) return;
    controls.setCaption(kMainWindow, kImportFilesButton, kImportFilesRunning);
    app.stopRequested() = false;
    const std::vector<FileFilter> filters = {
        {"htm;html文件"_gbk, "*.htm;*.html"}, {"txt文件"_gbk, "*.txt"}, {"全部文件"_gbk, "*.*"}};
    GenerationJob job = app.desktop().chooseFiles("请选择文件："_gbk, filters);
    runFromButton(app, job, kImportFolderButton);
    controls.setCaption(kMainWindow, kImportFilesButton, kImportFilesIdle);
}

void importFolder(Application& app, bool byScripting) {
    Controls& controls = app.controls();
    if (controls.caption(kMainWindow, kImportFolderButton) != kImportFolderIdle) {
        app.stopRequested() = true;
        controls.setCaption(kMainWindow, kImportFolderButton, kImportFolderStopping);
        return;
    }
    if (!templatePageSelected(app.ui())) return;
    const std::string folder = chooseFolder(
        app.desktop(), controls.tagText(kMainWindow, kImportFolderButton), "请选择文件夹："_gbk);
    if (folder.empty()) return;
    controls.setTagText(kMainWindow, kImportFolderButton, folder);
    const std::string filter = controls.text(kMainWindow, kFolderFilterEdit);
    GenerationJob job = byScripting
                            ? listFolderFiles(folder, filter)
                            : listFolderFilesByPattern(app.desktop(), app.files(), folder, filter);
    controls.setCaption(kMainWindow, kImportFolderButton, kImportFolderRunning);
    app.stopRequested() = false;
    runFromButton(app, job, kImportFilesButton);
    controls.setCaption(kMainWindow, kImportFolderButton, kImportFolderIdle);
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
