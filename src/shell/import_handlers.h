// Where a generation run starts and ends in the main window: the two import buttons collect a
// job of article paths (picked files, or the matching files of one folder) and hand it to the
// run; the end-of-run report tells the elapsed time and offers to open the output folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "controls/control_ops.h"
#include "engine/generation.h"
#include "shell/application.h"
#include "support/gbk_text.h"

namespace yelian {

// The import buttons' captions. A button is idle exactly when its caption is the idle text;
// the handlers use the caption itself as the state of the run.
inline constexpr GbkConstant<"批量导入多个文件生成.."> kImportFilesIdle;
inline constexpr GbkConstant<"正在导入.."> kImportFilesRunning;
inline constexpr GbkConstant<"正在停止..."> kImportFilesStopping;
inline constexpr GbkConstant<"  导入目录生成"> kImportFolderIdle;
inline constexpr GbkConstant<"  正在导入.."> kImportFolderRunning;
inline constexpr GbkConstant<"  正在停止..."> kImportFolderStopping;

inline constexpr GbkConstant<"请选择左边5个模板的其中一个来处理"> kChooseTemplatePageMessage;

// The click handler of "按钮文件导入". Idle: checks that a template page is selected, turns the
// button into a stop button, runs the files picked in the file dialog (an empty pick runs an
// empty job) and shows the report. Running: requests the stop and shows the stopping caption;
// the run ends after its current article. A run that stops because the main window is
// closing ends without the report: the user is leaving.
void importFiles(Application& app);

// The handler of "按钮目录导入" for the left (byScripting) or the right mouse button: as
// importFiles, with the matching files of a folder chosen in the folder browser. The folder is
// remembered in the button's tag text; a cancelled browser changes nothing.
void importFolder(Application& app, bool byScripting);

// The folder browser with an initial folder; the chosen folder without surrounding blanks, or
// empty text when the user cancelled.
std::string chooseFolder(DesktopServices& desktop, std::string_view initialFolder,
                         std::string_view title);

// A duration in words: "531 毫秒", "1.23 秒", "1.5 分", "2 时", then 天, 月 (30 days), 年.
std::string formatElapsed(std::int64_t milliseconds);

// The report's first sentence: the elapsed time, and how many pages could not be written
// with the first of them, when any could not.
std::string runSummaryText(const RunOutcome& outcome);

// The end-of-run question that offers to open the output folder.
std::string runReportQuestion(const RunOutcome& outcome);

// The end of a run as the user sees it: nothing for an empty or cancelled run, the run's
// problem for a refused one, else the report question; Yes opens the output folder.
void showRunReport(Ui ui, const RunOutcome& outcome);

void openFolderInExplorer(DesktopServices& desktop, std::string_view folder);

}  // namespace yelian
