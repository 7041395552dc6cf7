// Reading minute bars, daily bars or trades from the CSV files Taiwan's vendors, brokers and
// public sites export: a header line naming the columns in Chinese or English (any order and
// case, extra columns ignored; see ColumnNames.cpp), UTF-8, Big5 or UTF-16, comma, tab or
// semicolon separated, dates and times in their common forms, rows oldest or newest first.
// Every malformed input gives one InputError with the file, line and column of the first
// fault and the forms accepted there; nothing is guessed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "MinuteBars.h"
#include "TextDecoding.h"

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

struct ReadOptions {
  Encoding encoding = Encoding::Auto;
};

// Parses the bytes of a CSV file; name is used in messages. Bars come out in ascending order
// with their trading day in `date` when the file has dates (every day of the file: choosing
// one is ChooseDay's, in TradingDays.h). A file of trades comes out as one-minute slots.
std::variant<MinuteBars, InputError> ParseMinuteBars(std::string_view name, std::string_view text,
                                                     const ReadOptions& options = {});

// A decimal number "123", "12.35", "-0.5": the digits as a whole number and the count of
// decimals. nullopt for anything else (exponents, thousands separators, more than four
// decimals or a value beyond 32 bits once scaled). ParseNumber also takes thousands
// separators between groups of three digits: "2,490", "1,035.00".
struct Decimal {
  std::int64_t mantissa = 0;
  int decimals = 0;
};
std::optional<Decimal> ParseDecimal(std::string_view text);
std::optional<Decimal> ParseNumber(std::string_view text);

// The bars (of one day) must lie inside the session in strictly increasing time (on the
// session's clock, so a night session continues after midnight).
std::optional<InputError> CheckSession(const MinuteBars& data, const Session& session);

}  // namespace kelo::cli
