// The main window as the command line reads it from a settings file: the desktop program's
// file by default, restored the way the program's start restores it, without writing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "controls/control_ops.h"
#include "support/expected.h"

namespace yelian {

// The desktop program's settings file for this environment (GBK path); nothing is created.
std::string defaultSettingsFile(const CliEnvironment& environment);

// The settings file a --settings argument names (GBK path), or why it cannot be used (UTF-8).
// A name that is not valid UTF-8 is taken as the bytes it is when that file exists; a new one
// is refused, since the internal path would reach the disk as another, UTF-8 name.
Expected<std::string> settingsFileOfArgument(const std::string& argument);

// Restores the main window from the settings file (GBK path) as the program's start does:
// the controls of "主界面" with their side files, the saved template page, the phrase groups
// and the current group. Never writes: the old template files are not taken over. A file that
// does not exist restores like a first start. Returns what is wrong (UTF-8) with a file that
// is no file or cannot be read.
std::optional<std::string> readMainWindowSettings(Ui ui, std::string_view settingsFile);

// Applies the --set values in order; what is wrong with the first bad one (UTF-8).
std::optional<std::string> assignControls(
    Controls& controls, const std::vector<std::pair<std::string, std::string>>& assignments);

}  // namespace yelian
