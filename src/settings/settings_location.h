// Where the settings file lives: beside the program when its folder is writable (portable
// use), else in the user's configuration folder "$XDG_CONFIG_HOME/yelian" (by default
// "~/.config/yelian").
#pragma once

#include <string>
#include <string_view>

#include "support/gbk_text.h"

namespace yelian {

inline constexpr GbkConstant<"澜川·页链站坊.ini"> kSettingsFileName;

// The folder (GBK path) for the settings file, given the program's folder and the values of
// XDG_CONFIG_HOME and HOME as they come from the environment (empty when unset). A relative
// XDG_CONFIG_HOME is ignored. With no usable fallback the program's folder is kept.
std::string chooseSettingsFolder(std::string_view programFolder, std::string_view xdgConfigHome,
                                 std::string_view home);

// The settings file's path (GBK) for the program in the given folder, from the process
// environment; creates the configuration folder when it is the one chosen.
std::string settingsFilePath(std::string_view programFolder);

}  // namespace yelian
