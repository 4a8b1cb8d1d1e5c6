// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a reader or writer hands back to the layer above it: the value it made, or an Error
// saying what failed and where. The layer that shows messages puts the Error into words; the
// layers below show nothing for it and never end the process.
//
// Shaped like std::expected (has_value, value, error, operator*, ->), which our compilers do
// not all offer yet in C++20 builds, so that moving to it later changes no caller.
//
// Header only and free of the rest of the project: our Palm Desktop libraries build in the
// atomic writer, which returns it.

#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace strumlet {

struct Error {
  enum class Kind {
    kMissing,  // the file is not there, or not what it should be (an image that does not decode)
    kIo,       // reading or writing failed; `code` holds the errno value
    kUnavailable,  // something needed cannot be used: no image to write, a library or one of
                   // its entry points that is not there
    kRefused,      // the other side answered no; `code` holds its own result when it gave one
  };

  Kind kind = Kind::kIo;
  // The file or folder concerned; may be empty.
  std::string path;
  // Why, in words for a message (the caller decides how the message reads); may be empty.
  std::string reason;
  // The errno value or the library's result code behind it; 0 when there is none.
  int code = 0;
};

// Thrown when the value of a failed Result is asked for: a fault of the caller, which should
// have looked first.
class BadResultAccess : public std::logic_error {
 public:
  explicit BadResultAccess(const Error& error)
      : std::logic_error("the value of a failed result was used" +
                         (error.path.empty() ? std::string() : " (" + error.path + ")")) {}
};

template <class T>
class [[nodiscard]] Result {
  static_assert(!std::is_same_v<std::remove_cv_t<T>, Error>, "an Error is no value");
  static_assert(!std::is_reference_v<T>, "a Result holds its value");

 public:
  // From anything the value can be made of ("name.png" for a text).
  template <class U = T>
  requires(std::is_constructible_v<T, U&&> && !std::is_same_v<std::remove_cvref_t<U>, Result> &&
           !std::is_same_v<std::remove_cvref_t<U>, Error>) Result(U&& value)
      : state_(std::in_place_index<0>, std::forward<U>(value)) {}
  Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() & {
    Check();
    return *std::get_if<0>(&state_);
  }
  const T& value() const& {
    Check();
    return *std::get_if<0>(&state_);
  }
  T&& value() && {
    Check();
    return std::move(*std::get_if<0>(&state_));
  }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  // The value, or `fallback` when there is none.
  template <class U>
  T value_or(U&& fallback) const& {
    return has_value() ? *std::get_if<0>(&state_) : static_cast<T>(std::forward<U>(fallback));
  }

  // Only for a failed result.
  const Error& error() const {
    if (has_value()) throw std::logic_error("a successful result has no error");
    return *std::get_if<1>(&state_);
  }

 private:
  void Check() const {
    if (!has_value()) throw BadResultAccess(*std::get_if<1>(&state_));
  }

  std::variant<T, Error> state_;
};

// Success with nothing to hand back, or an Error.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}

  bool has_value() const { return !error_; }
  explicit operator bool() const { return has_value(); }
  void value() const {
    if (error_) throw BadResultAccess(*error_);
  }

  // Only for a failed result.
  const Error& error() const {
    if (!error_) throw std::logic_error("a successful result has no error");
    return *error_;
  }

 private:
  std::optional<Error> error_;
};

}  // namespace strumlet
