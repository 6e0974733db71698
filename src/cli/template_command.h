#pragma once

#include <iosfwd>
#include <span>
#include <string>

#include "cli/cli.h"

namespace yelian {

// Runs "yelian template" with the arguments after the command name (UTF-8).
int runTemplate(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                const CliEnvironment& environment);

}  // namespace yelian
