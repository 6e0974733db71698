// Start-up and shutdown of the main window.
#include "shell/startup.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include "controls/main_window_names.h"
#include "settings/locked_file.h"
#include "settings/settings_location.h"
#include "shell/main_window.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/shared_texts.h"
#include "support/text_routines.h"
#include "taggen/phrase_groups.h"

namespace yelian {
namespace {

using namespace yelian::literals;

inline constexpr GbkConstant<"兼容旧版2014年8月22日"> kTakeoverDoneKey;
inline constexpr GbkConstant<"模板序号"> kTemplatePageKey;
inline constexpr GbkConstant<"模板"> kOldTemplatePrefix;

// Far beyond any template; a larger file is not one an older version wrote.
constexpr std::size_t kMaxOldTemplateSize = 64 * 1024 * 1024;

// The file "模板N" that older versions kept beside their settings file.
std::filesystem::path oldTemplateFile(std::string_view folder, std::size_t number) {
    std::string path(folder);
    if (!path.empty()) path += kPathSeparator;
    path += kOldTemplatePrefix.str();
    path += static_cast<char>('0' + number);
    return toNativePath(path);
}

// Older versions wrote their templates as C strings into fixed buffers: the text ends at the
// first zero byte.
std::string_view upToFirstZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

// Older versions kept each template editor in a file of its own; they are read into the
// editors once and removed, and the settings remember that this was done. A file is removed
// only when its text was read and the settings that now hold it reached the disk: a file that
// cannot be read (too large, not a regular file) or a save that failed leaves the file where
// it is, and the takeover is tried again at the next start.
void takeOverOldTemplates(SettingsStore& store, Controls& controls) {
    store.selectSection(kMainWindow);
    if (store.readBool(kTakeoverDoneKey, false)) return;

    FileEnv& files = store.files();
    const std::string folder = folderOf(store.path());
    const auto& editors = templateEditors();
    std::vector<std::size_t> takenOver;
    bool leftBehind = false;
    for (std::size_t i = 0; i < editors.size(); ++i) {
        const std::filesystem::path file = oldTemplateFile(folder, i + 1);
        if (files.status(file).kind == FileKind::Missing) continue;
        const Expected<std::string> bytes = files.readFile(file, kMaxOldTemplateSize);
        if (!bytes) {
            leftBehind = true;
            continue;
        }
        if (!bytes->empty()) controls.setText(kMainWindow, editors[i], upToFirstZero(*bytes));
        takenOver.push_back(i);
    }
    if (!takenOver.empty()) store.saveControls(controls, kMainWindow, kMainWindow);
    // A run that keeps nothing leaves the files for the next one.
    if (store.persistence() != SettingsPersistence::Saving || store.saveFailed()) return;
    for (const std::size_t i : takenOver) files.removeFile(oldTemplateFile(folder, i + 1));
    if (leftBehind) return;
    store.selectSection(kMainWindow);
    store.writeBool(kTakeoverDoneKey, true);
}

// A stored number as a page index; the current page when it is no whole number within
// reach of an int.
int pageIndex(double stored, int current) {
    if (!std::isfinite(stored) || stored <= std::numeric_limits<int>::min() - 1.0 ||
        stored >= std::numeric_limits<int>::max() + 1.0) {
        return current;
    }
    return static_cast<int>(stored);
}

void selectSavedTemplatePage(SettingsStore& store, Controls& controls) {
    store.selectSection(kMainWindow);
    const int current = controls.selectedIndex(kMainWindow, kTemplateTabs);
    const double stored = store.readNumber(kTemplatePageKey, current);
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, pageIndex(stored, current));
}

enum class OldTemplates { TakeOver, Leave };

// The start's restore; the takeover is the only step that writes.
void restoreMainWindow(SettingsStore& store, Ui ui, OldTemplates oldTemplates) {
    store.restoreControls(ui.controls, kMainWindow, kMainWindow);
    if (oldTemplates == OldTemplates::TakeOver) takeOverOldTemplates(store, ui.controls);
    selectSavedTemplatePage(store, ui.controls);
    ui.desktop.registerDropTarget(kMainWindow);
    loadPhraseGroups(store, ui);
    bringDependentControlsInLine(ui.controls);
}

}  // namespace

void startProgram(Application& app, std::string_view programFolder) {
    app.settings().open(settingsFilePath(programFolder));
    app.controls().showWindow(kMainWindow, false, {});
    onMainWindowCreated(app);
    if (const auto warning = persistenceWarning(app.settings())) {
        app.desktop().messageBox(*warning, kBrandTitle, MessageButtons::Ok, MessageIcon::Warning);
    }
}

void onMainWindowCreated(Application& app) {
    restoreMainWindow(app.settings(), app.ui(), OldTemplates::TakeOver);
}

void restoreMainWindowReadOnly(SettingsStore& store, Ui ui) {
    restoreMainWindow(store, ui, OldTemplates::Leave);
}

void onMainWindowClosing(Application& app) {
    saveAllSettings(app);
}

void saveAllSettings(Application& app) {
    SettingsStore& store = app.settings();
    store.saveControls(app.controls(), kMainWindow, kMainWindow);
    store.selectSection(kMainWindow);
    store.writeNumber(kTemplatePageKey, app.controls().selectedIndex(kMainWindow, kTemplateTabs));
    saveCurrentPhraseGroup(store, app.controls());
}

std::optional<std::string> persistenceWarning(const SettingsStore& store) {
    std::string reason;
    switch (store.persistence()) {
        case SettingsPersistence::Closed:
        case SettingsPersistence::Saving:
            return std::nullopt;
        case SettingsPersistence::InUse:
            reason = "另一个正在运行的澜川·页链站坊正在使用配置文件，"_gbk;
            break;
        case SettingsPersistence::NotWritable:
            reason = "配置文件无法写入，"_gbk;
            break;
        case SettingsPersistence::Unreadable:
            reason = "配置文件无法读取，"_gbk;
            break;
    }
    return reason + "本次运行的设置将不会保存！\r\n配置文件："_gbk + store.path();
}

}  // namespace yelian
