// The fatal report as a value: stages return it, only the run driver turns it into
// standard error and exit status 1.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace pictoswap {

// Every way a run can end fatally. Each kind has one line in the table of fatal.cpp.
enum class FatalKind {
  Conversion,   // a digit text that is not hexadecimal, or a field shorter than six digits
  CaptionScan,  // the backward scan for the caption count ran below the root window
  DamagedMbm,   // the extracted MBM would not describe where its own trailer is
  DamagedAif,   // the source cannot be rebuilt from its own bitmaps byte for byte
  Io,           // a file or console write that failed
};

struct FatalError {
  FatalKind kind;
  std::string message;  // the message as the user reads it, without the final full stop
  std::string place;    // where the run was when it failed; set by the run driver
};

// Builders for every fatal message; the texts live in one table in fatal.cpp.
FatalError ConversionError(std::string_view convertedText);
FatalError CaptionScanError(std::string_view aifFile);
FatalError DamagedMbmError(std::string_view aifFile, std::string_view mbmFile);
FatalError DamagedAifError(std::string_view aifFile, std::string_view newAifFile);
FatalError IoError(int code, std::string_view detail, std::string_view file);

// The whole report as written to standard error: the kind and place, the message with its
// full stop, then an empty line. Line ends are given by the caller's platform.
std::string FormatFatalReport(const FatalError& error, std::string_view lineEnd);

struct Ok {};

// A stage result: its value, or the fatal error that ended it.
template <typename T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : state_(std::move(value)) {}
  Expected(FatalError error) : state_(std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const FatalError& error() const& { return std::get<1>(state_); }
  FatalError&& error() && { return std::get<1>(std::move(state_)); }

 private:
  std::variant<T, FatalError> state_;
};

using Status = Expected<Ok>;

}  // namespace pictoswap

#define PS_CONCAT_INNER(a, b) a##b
#define PS_CONCAT(a, b) PS_CONCAT_INNER(a, b)
#define PS_ASSIGN_OR_RETURN_IMPL(tmp, lhs, expr) \
  auto tmp = (expr);                             \
  if (!tmp.ok()) return std::move(tmp).error();  \
  lhs = std::move(tmp).value()
// Evaluates an Expected; on error returns it from the enclosing function, else assigns the value.
#define PS_ASSIGN_OR_RETURN(lhs, expr) \
  PS_ASSIGN_OR_RETURN_IMPL(PS_CONCAT(ps_result_, __LINE__), lhs, expr)
#define PS_RETURN_IF_ERROR(expr)                                \
  do {                                                          \
    auto ps_status_ = (expr);                                   \
    if (!ps_status_.ok()) return std::move(ps_status_).error(); \
  } while (false)
