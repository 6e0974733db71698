// The settings file's location rule.
#include "settings/settings_location.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "support/native_path.h"

namespace yelian {
namespace {

bool folderWritable(std::string_view folder) {
    return ::access(toNativePath(folder).c_str(), W_OK) == 0;
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

std::string chooseSettingsFolder(std::string_view programFolder, std::string_view xdgConfigHome,
                                 std::string_view home) {
    if (folderWritable(programFolder)) return std::string(programFolder);
    std::filesystem::path base;
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
        base = std::filesystem::path(xdgConfigHome);
    } else if (!home.empty()) {
        base = std::filesystem::path(home) / ".config";
    } else {
        return std::string(programFolder);
    }
    return fromNativePath(base / "yelian");
}

std::string settingsFilePath(std::string_view programFolder) {
    const std::string folder =
        chooseSettingsFolder(programFolder, environment("XDG_CONFIG_HOME"), environment("HOME"));
    if (folder != programFolder) {
        std::error_code ignored;
        std::filesystem::create_directories(toNativePath(folder), ignored);
    }
    return folder + kPathSeparator + kSettingsFileName.str();
}

}  // namespace yelian
