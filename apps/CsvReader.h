// Reading minute bars from CSV: the layout data vendors export,
//   time,open,high,low,close,volume[,inner,outer]
// with a header line naming the columns (any order, any case, extra columns ignored),
// times HH:MM or HH:MM:SS, decimal prices. Every malformed input gives one InputError with
// the file, line and column of the first fault; nothing is guessed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "MinuteBars.h"

namespace kelo::cli {

// Inputs larger than this are refused before parsing: a day of minute bars is a few
// hundred kilobytes, so anything near it is not such a file.
inline constexpr std::size_t kMaxInputBytes = 64u << 20;
// Lines longer than this are refused (a minute bar is about 60 bytes).
inline constexpr std::size_t kMaxLineBytes = 4096;

// Reads a file (or standard input for "-") whole, refusing what is too large to be
// minute bars. The error names the file with line 0 when the file cannot be opened.
std::variant<std::string, InputError> ReadInput(const std::string& path);

// The lines of a text as messages count them: split at LF, one trailing CR dropped.
std::vector<std::string_view> SplitLines(std::string_view text);

// Parses the text of a CSV file; name is used in messages.
std::variant<MinuteBars, InputError> ParseMinuteBars(std::string_view name, std::string_view text);

// A decimal number "123", "12.35", "-0.5": the digits as a whole number and the count of
// decimals. nullopt for anything else (exponents, thousands separators, more than four
// decimals or a value beyond 32 bits once scaled).
struct Decimal {
  std::int64_t mantissa = 0;
  int decimals = 0;
};
std::optional<Decimal> ParseDecimal(std::string_view text);

// The bars must lie inside the session in strictly increasing time (on the session's
// clock, so a night session continues after midnight).
std::optional<InputError> CheckSession(const MinuteBars& data, const Session& session);

}  // namespace kelo::cli
