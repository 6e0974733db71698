// Takes a fuzzer's bytes apart into the arguments of one call: single bytes for flags and
// small numbers from the front, then texts separated by NUL bytes, the last one taking the
// rest (NULs included). Seeds stay readable: "flags\0left\0right\0page...".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace yelian {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, 0 when none are left.
    std::uint8_t takeByte() {
        if (rest_.empty()) return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }

    bool takeBool() { return (takeByte() & 1) != 0; }

    // A number from -128 to 127: small cursors, counts and shifts, negative ones included.
    int takeSmallInt() { return static_cast<std::int8_t>(takeByte()); }

    // A 64-bit number from the next eight bytes, for bounds typed into number boxes.
    std::int64_t takeInt64() {
        std::uint64_t value = 0;
        for (int i = 0; i < 8; ++i) value = (value << 8) | takeByte();
        return static_cast<std::int64_t>(value);
    }

    // The text up to the next NUL (which is consumed), or the rest.
    std::string_view takeText() {
        const std::size_t end = rest_.find('\0');
        const std::string_view text = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return text;
    }

    std::string_view takeRest() {
        const std::string_view rest = rest_;
        rest_ = {};
        return rest;
    }

  private:
    std::string_view rest_;
};

}  // namespace yelian
