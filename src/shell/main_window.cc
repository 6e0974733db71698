// The main window's dependent controls, dropped files and save link.
#include "shell/main_window.h"

#include <initializer_list>

#include "controls/main_window_names.h"
#include "shell/input_dialog.h"
#include "shell/phrase_editor.h"
#include "shell/startup.h"
#include "support/gbk_text.h"
#include "support/shared_texts.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// The title source whose first line can be dropped: "文件内容首行".
constexpr int kFirstLineTitleSource = 2;

void enableWhen(Controls& controls, bool on, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) controls.setEnabled(kMainWindow, name, on);
}

bool isChecked(const Controls& controls, std::string_view checkBox) {
    return controls.checked(kMainWindow, checkBox);
}

}  // namespace

const std::array<std::string_view, 5>& templateEditors() {
    static const std::array<std::string_view, 5> editors = {
        kTemplateEditor1, kTemplateEditor2, kTemplateEditor3, kTemplateEditor4, kTemplateEditor5};
    return editors;
}

void onTitleSourceChanged(Controls& controls) {
    const bool firstLine =
        controls.selectedIndex(kMainWindow, kTitleSourceCombo) == kFirstLineTitleSource;
    enableWhen(controls, firstLine, {kDropFirstLineCheck});
}

void onCutContentClicked(Controls& controls) {
    enableWhen(controls, isChecked(controls, kCutContentCheck),
               {kCutFallbackCheck, kCutHeadEdit, kCutTailEdit});
}

void onExtensionClicked(Controls& controls) {
    enableWhen(controls, isChecked(controls, kExtensionCheck), {kExtensionEdit});
}

void onReplaceTitleClicked(Controls& controls) {
    enableWhen(controls, isChecked(controls, kReplaceTitleCheck),
               {kTitlePatternEdit, kTitleReplacementEdit, kUseRegexCheck});
}

void onListPagesClicked(Controls& controls) {
    enableWhen(controls, isChecked(controls, kListPagesCheck), {kArticlesPerListPageEdit});
}

void onInsertPhrasesClicked(Controls& controls) {
    enableWhen(controls, isChecked(controls, kInsertPhrasesCheck),
               {kPhraseCombo, kEditPhrasesButton, kInsertCountMinEdit, kInsertCountMaxEdit});
}

void bringDependentControlsInLine(Controls& controls) {
    onTitleSourceChanged(controls);
    onCutContentClicked(controls);
    onExtensionClicked(controls);
    onReplaceTitleClicked(controls);
    onListPagesClicked(controls);
    onInsertPhrasesClicked(controls);
}

void onFilesDropped(Controls& controls, const std::vector<std::string>& paths) {
    const auto& editors = templateEditors();
    if (paths.empty()) return;
    const int page = controls.selectedIndex(kMainWindow, kTemplateTabs);
    if (page < 0 || page >= static_cast<int>(editors.size())) return;
    std::string dropped;
    if (paths.size() == 1) {
        dropped = paths.front();
    } else {
        for (const std::string& path : paths) dropped.append(path).append("\r\n");
    }
    controls.setText(kMainWindow, editors[static_cast<std::size_t>(page)], dropped);
}

void onSaveSettingsLink(Application& app) {
    saveAllSettings(app);
    // Saying "saved" when this run keeps nothing would hide that the settings are lost.
    if (const auto warning = persistenceWarning(app.settings())) {
        app.desktop().messageBox(*warning, kBrandTitle, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    if (app.settings().saveFailed()) {
        app.desktop().messageBox(
            "配置未能全部写入磁盘（磁盘已满或文件夹不可写？），设置可能没有保存！\r\n配置文件："_gbk +
                app.settings().path(),
            kBrandTitle, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    app.desktop().messageBox("保存完毕！"_gbk, "信息："_gbk, MessageButtons::Ok,
                             MessageIcon::Information);
}

void enterKeywords(Application& app) {
    const TextDialogResult result = showTextDialog(
        app, app.controls().text(kMainWindow, kKeywordListEdit),
        "输入多个关键词，一行一个，然后设定模板中插入 #关键词# ，就可以每次插入指定次数的关键词到该模板位置："_gbk,
        {}, kMainWindow, true);
    if (result.confirmed) app.controls().setText(kMainWindow, kKeywordListEdit, result.text);
}

void openTemplateMaker(Application& app) {
    app.controls().showWindow(kTemplateMakerWindow, false, kMainWindow);
}

void onTemplateMakerOpened(Application& app) {
    app.settings().restoreControls(app.controls(), kTemplateMakerWindow, kTemplateMakerWindow);
}

void closeTemplateMaker(Application& app) {
    // A generation still running sees the window gone after its download and ends without
    // writing to it.
    app.settings().saveControls(app.controls(), kTemplateMakerWindow, kTemplateMakerWindow);
    app.controls().closeWindow(kTemplateMakerWindow);
}

void closeMainWindow(Application& app) {
    Controls& controls = app.controls();
    // The phrase editor keeps its list when it closes; a dialog still open is left unanswered.
    if (controls.windowExists(kPhraseEditorWindow)) closePhraseEditor(app);
    if (controls.windowExists(kTemplateMakerWindow)) closeTemplateMaker(app);
    controls.closeWindow(kInputDialogWindow);
    onMainWindowClosing(app);
    controls.closeWindow(kMainWindow);
}

}  // namespace yelian
