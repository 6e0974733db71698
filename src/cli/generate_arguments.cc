// Parsing the command line of "yelian generate".
#include "cli/generate_arguments.h"

#include <charconv>
#include <string_view>

namespace yelian {
namespace {

template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Walks the arguments; an option's value is the rest after "=" or the next argument.
class ArgumentWalk {
  public:
    explicit ArgumentWalk(std::span<const std::string> args) : args_(args) {}

    bool done() const { return at_ >= args_.size(); }
    std::string_view take() { return args_[at_++]; }

    // Whether arg is the option (alone or with "=value"); fills value, or error when missing.
    bool option(std::string_view arg, std::string_view name, std::string& value,
                std::string& error) {
        if (arg == name) {
            if (done()) {
                error = std::string(name) + " needs a value";
            } else {
                value = std::string(take());
            }
            return true;
        }
        if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=') {
            value = std::string(arg.substr(name.size() + 1));
            return true;
        }
        return false;
    }

  private:
    std::span<const std::string> args_;
    std::size_t at_ = 0;
};

}  // namespace

ParsedGenerate parseGenerateArguments(std::span<const std::string> args) {
    ParsedGenerate parsed;
    GenerateArguments& out = parsed.arguments;
    std::string& error = parsed.error;
    ArgumentWalk walk(args);
    bool optionsEnded = false;
    std::string value;
    while (!walk.done() && error.empty()) {
        const std::string_view arg = walk.take();
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            out.paths.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--yes" || arg == "-y") {
            out.yes = true;
        } else if (arg == "--quiet" || arg == "-q") {
            out.quiet = true;
        } else if (walk.option(arg, "--settings", value, error)) {
            if (error.empty()) out.settingsFile = value;
        } else if (walk.option(arg, "--set", value, error)) {
            if (!error.empty()) break;
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos || equals == 0) {
                error = "--set expects NAME=VALUE, not '" + value + "'";
            } else {
                out.assignments.emplace_back(value.substr(0, equals), value.substr(equals + 1));
            }
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
