// The result of reading data: the value read, or the ParseError that says
// why and where it could not be read. Parsed<void> is success or an error.
#pragma once

#include <optional>
#include <utility>
#include <variant>

#include "common/result/parse_error.h"

namespace zeku {

namespace detail {
// Reading the value of a failure (or the error of a success) is a
// programming error; stopping at once beats handing out garbage, and works
// without exceptions.
inline void requireParsed(bool condition) {
    if (!condition) __builtin_trap();
}
}  // namespace detail

template <typename T>
class [[nodiscard]] Parsed {
  public:
    Parsed(const T& value) : state_(std::in_place_index<0>, value) {}
    Parsed(T&& value) : state_(std::in_place_index<0>, std::move(value)) {}
    Parsed(ParseError error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return *valuePointer(); }
    const T& value() const& { return *valuePointer(); }
    T&& value() && { return std::move(*valuePointer()); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*valuePointer()); }
    T* operator->() { return valuePointer(); }
    const T* operator->() const { return valuePointer(); }

    const ParseError& error() const {
        detail::requireParsed(!ok());
        return *std::get_if<1>(&state_);
    }

  private:
    T* valuePointer() {
        detail::requireParsed(ok());
        return std::get_if<0>(&state_);
    }
    const T* valuePointer() const {
        detail::requireParsed(ok());
        return std::get_if<0>(&state_);
    }

    std::variant<T, ParseError> state_;
};

template <>
class [[nodiscard]] Parsed<void> {
  public:
    Parsed() = default;  // success: `return {};`
    Parsed(ParseError error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }

    const ParseError& error() const {
        detail::requireParsed(!ok());
        return *error_;
    }

  private:
    std::optional<ParseError> error_;
};

}  // namespace zeku
