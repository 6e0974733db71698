// The program "yelian": the command line over the process's streams, terminal and signals.
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

// Set by the SIGINT handler and read between the run's steps. A signal handler can reach
// nothing but a flag of static storage, so this one lives at file scope.
volatile std::sig_atomic_t interruptReceived = 0;

extern "C" void onInterrupt(int) {
    interruptReceived = 1;
}

void catchInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    // A second Ctrl-C ends the process at once, as users expect when a stop takes too long.
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string programFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error).string() : program.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    catchInterrupt();
    const std::vector<std::string> args(argv + 1, argv + argc);
    yelian::CliEnvironment environment;
    environment.inputIsTerminal = isatty(STDIN_FILENO) != 0;
    environment.errorIsTerminal = isatty(STDERR_FILENO) != 0;
    environment.interrupted = [] { return interruptReceived != 0; };
    environment.programFolder = programFolder();
    environment.xdgConfigHome = environmentValue("XDG_CONFIG_HOME");
    environment.home = environmentValue("HOME");
    const int status = yelian::runCli(args, std::cin, std::cout, std::cerr, environment);
    return yelian::finishStandardOutput(std::cout, std::cerr, status);
}
