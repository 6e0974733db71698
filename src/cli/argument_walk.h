// Walking a command's arguments: flags, and options whose value is the rest after "=" or the
// next argument.
#pragma once

#include <charconv>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yelian {

// "NAME=VALUE" of --set as the pair, or nothing when there is no "=" after a name.
inline std::optional<std::pair<std::string, std::string>> splitAssignment(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    return std::pair<std::string, std::string>(text.substr(0, equals), text.substr(equals + 1));
}

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

    // Whether arg is one of what the commands that take operands share: an operand (anything
    // after "--", "-" itself, or no leading "-"), "--" itself, or --help / -h.
    bool operandOrHelp(std::string_view arg, std::vector<std::string>& operands, bool& help) {
        if (optionsEnded_ || arg == "-" || !arg.starts_with("-")) {
            operands.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded_ = true;
        } else if (arg == "--help" || arg == "-h") {
            help = true;
        } else {
            return false;
        }
        return true;
    }

    // Whether arg is --settings or --set; a settings file replaces the last, an assignment
    // joins the others. A missing value or a --set without "=" goes to error.
    bool settingsOption(std::string_view arg, std::optional<std::string>& settingsFile,
                        std::vector<std::pair<std::string, std::string>>& assignments,
                        std::string& error) {
        std::string value;
        if (option(arg, "--settings", value, error)) {
            if (error.empty()) settingsFile = value;
            return true;
        }
        if (!option(arg, "--set", value, error)) return false;
        if (!error.empty()) return true;
        if (auto assignment = splitAssignment(value)) {
            assignments.push_back(std::move(*assignment));
        } else {
            error = "--set expects NAME=VALUE, not '" + value + "'";
        }
        return true;
    }

  private:
    std::span<const std::string> args_;
    std::size_t at_ = 0;
    bool optionsEnded_ = false;
};

// A whole decimal number and nothing else.
template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace yelian
