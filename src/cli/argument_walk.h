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

namespace yelian {

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

// "NAME=VALUE" of --set as the pair, or nothing when there is no "=" after a name.
inline std::optional<std::pair<std::string, std::string>> splitAssignment(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    return std::pair<std::string, std::string>(text.substr(0, equals), text.substr(equals + 1));
}

}  // namespace yelian
