// The main window's small handlers: the controls that are enabled only while the option they
// belong to is on, files dropped on the window, and the "保存配置" link. The desktop program
// binds each to its trigger; onMainWindowCreated runs the dependent-control handlers once.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_ops.h"
#include "shell/application.h"

namespace yelian {

// The five template editors "编辑框模板1" ... "编辑框模板5", by the index of their tab page.
const std::array<std::string_view, 5>& templateEditors();

// "组合框标题来源" changed: dropping the first line only applies to titles taken from it.
void onTitleSourceChanged(Controls& controls);
// "选择框截取中间内容" clicked: the cut's markers and fallback.
void onCutContentClicked(Controls& controls);
// "选择框扩展名" clicked: the extension box.
void onExtensionClicked(Controls& controls);
// "选择框替换标题" clicked: the title pattern, replacement and regex choice.
void onReplaceTitleClicked(Controls& controls);
// "选择框列表页" clicked: the number of articles per list page.
void onListPagesClicked(Controls& controls);
// "选择框启用插词" clicked: the phrase group, its editor and the insertion counts.
void onInsertPhrasesClicked(Controls& controls);

// Runs the six handlers above in the order the window's start needs.
void bringDependentControlsInLine(Controls& controls);

// Files dropped on the main window: while one of the five template pages is selected, its
// editor's text becomes the single path, or every path followed by CR LF; on the other pages
// nothing happens.
void onFilesDropped(Controls& controls, const std::vector<std::string>& paths);

// The "保存配置" link: saves all settings and says "保存完毕！", or, when this run keeps no
// settings, says why instead.
void onSaveSettingsLink(Application& app);

// "按钮输入关键词": the keyword list edited in the input dialog; a confirmed text replaces it.
void enterKeywords(Application& app);

// "图片模板制作" and "链接模板制作": shows the template maker, owned by the main window and not
// modal (nothing happens on a desktop that has no such window).
void openTemplateMaker(Application& app);
// The template maker's window was created: its controls come back from the section
// "模板制作" (the template source, never saved, starts with its help text).
void onTemplateMakerOpened(Application& app);
// The template maker's close box, and the main window's close: saves its controls and closes
// it at once, also while a generation runs (which then ends without writing to it).
void closeTemplateMaker(Application& app);

// The close box: saves the settings, lets the other windows save theirs and closes the main
// window. Called once the handlers under way have ended.
void closeMainWindow(Application& app);

}  // namespace yelian
