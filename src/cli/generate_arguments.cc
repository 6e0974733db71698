// Parsing the command line of "yelian generate".
#include "cli/generate_arguments.h"

#include <string_view>
#include <utility>

#include "cli/argument_walk.h"

namespace yelian {

ParsedGenerate parseGenerateArguments(std::span<const std::string> args) {
    ParsedGenerate parsed;
    GenerateArguments& out = parsed.arguments;
    std::string& error = parsed.error;
    ArgumentWalk walk(args);
    std::string value;
    while (!walk.done() && error.empty()) {
        const std::string_view arg = walk.take();
        if (walk.operandOrHelp(arg, out.paths, out.help) ||
            walk.settingsOption(arg, out.settingsFile, out.assignments, error)) {
            continue;
        } else if (arg == "--yes" || arg == "-y") {
            out.yes = true;
        } else if (arg == "--quiet" || arg == "-q") {
            out.quiet = true;
        } else if (walk.option(arg, "--template", value, error)) {
            if (!error.empty()) break;
            const auto number = parseNumber<int>(value);
            if (!number || *number < 1 || *number > 5) {
                error = "--template expects a number from 1 to 5, not '" + value + "'";
            } else {
                out.assignments.emplace_back("选择夹模板", std::to_string(*number - 1));
            }
        } else if (walk.option(arg, "--seed", value, error)) {
            if (!error.empty()) break;
            out.seed = parseNumber<std::uint64_t>(value);
            if (!out.seed) error = "--seed expects a whole number, not '" + value + "'";
        } else {
            error = "unknown option '" + std::string(arg) + "'";
        }
    }
    if (error.empty() && !out.help && out.paths.empty()) {
        error = "no PATH given: name article files or folders to generate from";
    }
    return parsed;
}

}  // namespace yelian
