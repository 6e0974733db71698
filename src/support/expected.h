// The result of an operation that can fail: its value, or an Error whose message is in the
// system's own words (GBK), ready to be shown to the user as it stands.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace yelian {

struct Error {
    // GBK text for the user, for example "读取网页失败！".
    std::string message;
};

// Holds either a T or an Error. Reading value() of an error (or error() of a value) is a
// programming fault, checked in debug builds by std::get.
template <typename T>
class [[nodiscard]] Expected {
  public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool hasValue() const { return state_.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

// An operation that only succeeds or fails.
template <>
class [[nodiscard]] Expected<void> {
  public:
    Expected() = default;
    Expected(Error error) : error_(std::move(error)), failed_(true) {}

    bool hasValue() const { return !failed_; }
    explicit operator bool() const { return hasValue(); }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool failed_ = false;
};

}  // namespace yelian
