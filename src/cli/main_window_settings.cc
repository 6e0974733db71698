// Reading the main window's settings for the command line.
#include "cli/main_window_settings.h"

#include <filesystem>
#include <system_error>

#include "cli/control_assignment.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "shell/startup.h"
#include "support/gbk_text.h"
#include "support/native_path.h"

namespace yelian {

namespace fs = std::filesystem;

std::string defaultSettingsFile(const CliEnvironment& environment) {
    const std::string folder = chooseSettingsFolder(fromNativePath(environment.programFolder),
                                                    fromNativePath(environment.xdgConfigHome),
                                                    fromNativePath(environment.home));
    return folder + kPathSeparator + kSettingsFileName.str();
}

Expected<std::string> settingsFileOfArgument(const std::string& argument) {
    if (isValidUtf8(argument)) return utf8ToGbk(argument);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(argument), error)) {
        return Error{"--settings: a new settings file needs a UTF-8 name: " + gbkToUtf8(argument)};
    }
    return fromNativePath(std::filesystem::path(argument));
}

std::optional<std::string> readMainWindowSettings(Ui ui, std::string_view settingsFile) {
    SettingsStore store(ui.desktop);
    const fs::path native = toNativePath(settingsFile);
    std::error_code error;
    // Opening creates a missing file, so a missing one is not opened: the closed store
    // answers every read with its default.
    if (fs::exists(native, error)) {
        if (!fs::is_regular_file(native, error)) {
            return "the settings file " + gbkToUtf8(settingsFile) + " is not a file";
        }
        store.open(settingsFile);
        if (store.persistence() == SettingsPersistence::Unreadable) {
            return "the settings file " + gbkToUtf8(settingsFile) + " cannot be read";
        }
    }
    restoreMainWindowReadOnly(store, ui);
    return std::nullopt;
}

std::optional<std::string> assignControls(
    Controls& controls, const std::vector<std::pair<std::string, std::string>>& assignments) {
    for (const auto& [name, value] : assignments) {
        if (auto problem = assignControl(controls, name, value)) return problem;
    }
    return std::nullopt;
}

}  // namespace yelian
