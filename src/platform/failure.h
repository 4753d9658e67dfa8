// Failure, Status and Result: what a refusal carries up the layers. The code
// comes from a closed list, so callers and tests can tell causes apart; the
// detail is the words of whoever saw the fault ("corrupt JPEG data",
// "connection refused"), shown after the string table's own text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace inkmark {

enum class FailureCode : std::uint8_t {
  kUnknownFormat,   // a file name no reader takes
  kNotRegularFile,  // a FIFO, device or folder where a file was wanted
  kCannotOpen,      // the file system refused to open or read it
  kTooLarge,        // beyond a size limit
  kCorrupt,         // the bytes contradict their own format
  kUnsupported,     // well formed, in a form not taken
  kNoMemory,
  kWriteFailed,
  kPortUnavailable,  // the port or printer could not be opened or reached
  kTimedOut,
  kBusy,
  kHungUp,          // the line or connection went away
  kOutputLost,      // bytes were accepted but never reached the printer
  kMalformedReply,  // a printer reply that is not one
  kTextTooLong,
  kInvalidArgument,
  kNoSpace,    // the disk that holds the temporary files is full
  kCannotFit,  // a page that no size on the paper can hold
  kCancelled,  // the user chose to stop (Cancel to a busy printer's question)
};

struct Failure;

// A failure whose detail is `context` and the system's text for `error`
// ("/dev/ttyS0: Permission denied").
Failure ErrnoFailure(FailureCode code, const std::string& context, int error);

// A stable short name of the code, for tests and logs ("corrupt").
std::string_view FailureCodeName(FailureCode code);

struct [[nodiscard]] Failure {
  FailureCode code;
  std::string detail;

  // The detail, or the code's name when there is none: the line shown after
  // the standard text.
  std::string Describe() const;
};

// Success, or the failure that stopped it.
class [[nodiscard]] Status {
 public:
  Status() = default;                                        // success
  Status(Failure failure) : failure_(std::move(failure)) {}  // NOLINT: implicit by design
  Status(FailureCode code, std::string detail = {}) : failure_(Failure{code, std::move(detail)}) {}

  static Status Ok() { return Status(); }
  bool ok() const { return !failure_.has_value(); }
  explicit operator bool() const { return ok(); }
  // Call only when !ok().
  const Failure& failure() const { return *failure_; }
  FailureCode code() const { return failure_->code; }
  const std::string& detail() const { return failure_->detail; }

 private:
  std::optional<Failure> failure_;
};

// A value, or the failure that kept it from being made. Reads like
// std::optional, so `if (!r) ...; use(*r);` works as it did.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}            // NOLINT: implicit
  Result(Failure failure) : v_(std::in_place_index<1>, std::move(failure)) {}  // NOLINT
  Result(FailureCode code, std::string detail = {})
      : v_(std::in_place_index<1>, Failure{code, std::move(detail)}) {}

  bool has_value() const { return v_.index() == 0; }
  explicit operator bool() const { return has_value(); }
  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  // Call only when !has_value().
  const Failure& failure() const { return std::get<1>(v_); }
  FailureCode code() const { return failure().code; }
  const std::string& detail() const { return failure().detail; }
  Status status() const { return has_value() ? Status() : Status(failure()); }
  // For callers that keep only whether there was a value.
  std::optional<T> ToOptional() && {
    if (!has_value()) return std::nullopt;
    return std::move(*this).value();
  }

  // Values compare by value; failures by code.
  friend bool operator==(const Result& a, const Result& b) {
    if (a.has_value() != b.has_value()) return false;
    return a.has_value() ? a.value() == b.value() : a.code() == b.code();
  }
  friend bool operator==(const Result& a, const std::optional<T>& b) {
    return a.has_value() == b.has_value() && (!b || a.value() == *b);
  }
  friend bool operator==(const Result& a, const T& b) { return a.has_value() && a.value() == b; }

 private:
  std::variant<T, Failure> v_;
};

}  // namespace inkmark
