// "yelian settings": shows the main window's settings as the desktop program would restore
// them, and sets and saves them without the desktop program.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

#include "cli/cli.h"

namespace yelian {

// Runs "yelian settings" with the arguments after the command name (UTF-8).
int runSettings(std::span<const std::string> args, std::istream& in, std::ostream& out,
                std::ostream& err, const CliEnvironment& environment);

}  // namespace yelian
