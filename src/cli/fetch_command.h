// "yelian fetch": downloads a page as the template maker does and prints it.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

#include "cli/cli.h"

namespace yelian {

// Runs "yelian fetch" with the arguments after the command name (UTF-8).
int runFetch(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace yelian
