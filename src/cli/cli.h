// The command line "yelian": runs the site generation on article files and folders with the
// desktop program's main-window settings, for scripts and terminals.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace yelian {

// What the process knows about its surroundings; tests fill it in themselves.
struct CliEnvironment {
    bool inputIsTerminal = false;
    bool errorIsTerminal = false;
    // True once the user pressed Ctrl-C.
    std::function<bool()> interrupted;
    // Where the program file lies (native path), and the environment's XDG_CONFIG_HOME and
    // HOME; together they locate the desktop program's settings file.
    std::string programFolder;
    std::string xdgConfigHome;
    std::string home;
};

// Exit statuses of the commands; 1 means what went wrong in the command's own work.
enum CliExit : int {
    kExitAllWritten = 0,
    kExitPagesFailed = 1,
    kExitRecognitionFailed = 1,
    kExitNotSaved = 1,
    kExitDownloadFailed = 1,
    kExitUsage = 2,
    kExitCancelled = 3,
    kExitInterrupted = 130,
};

// Runs the command line given without the program name; arguments and output are UTF-8.
int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const CliEnvironment& environment = {});

}  // namespace yelian
