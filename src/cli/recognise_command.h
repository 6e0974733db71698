// "yelian recognise": the template maker's body recognition on one saved page, as JSON.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

#include "cli/cli.h"

namespace yelian {

// Runs "yelian recognise" with the arguments after the command name (UTF-8).
int runRecognise(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                 const CliEnvironment& environment);

}  // namespace yelian
