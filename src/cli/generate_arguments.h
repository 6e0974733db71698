// The options and paths of "yelian generate", as typed (UTF-8).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace yelian {

struct GenerateArguments {
    bool help = false;
    // The settings file to read the main window from; the desktop program's file when absent.
    std::optional<std::string> settingsFile;
    // Control names and values in the order given; --template N arrives as 选择夹模板=N-1.
    std::vector<std::pair<std::string, std::string>> assignments;
    std::optional<std::uint64_t> seed;
    bool yes = false;
    bool quiet = false;
    std::vector<std::string> paths;
};

// The arguments after "generate", or what is wrong with them (UTF-8) in error.
struct ParsedGenerate {
    GenerateArguments arguments;
    std::string error;
};

ParsedGenerate parseGenerateArguments(std::span<const std::string> args);

}  // namespace yelian
