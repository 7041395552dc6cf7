// The text of one CSV field from a value of a DataFrame or a NumPy array, as a vendor's file
// would spell it, so the tool's reader sees what it sees in a file: prices with the fewest
// decimals that give the number back exactly, whole numbers as whole numbers, times of day
// as HH:MM:SS and days as YYYY-MM-DD. Pure functions (no Python objects).
#pragma once

#include <cstdint>
#include <string>

namespace kelo::py {

// A number with the fewest decimals, at most four, whose text reads back as the same
// double (or the same float when single); NaN is an empty field. A number that needs more
// decimals keeps them all (17 significant digits): the reader then refuses it by its row
// and column instead of a price being rounded here.
std::string NumberText(double value, bool single = false);

// A calendar day and a time of day (local wall clock, no zone).
struct DateTime {
  std::int32_t year = 1970, month = 1, day = 1;
  std::int32_t hour = 0, minute = 0, second = 0;
  std::int32_t nanosecond = 0;                                            // below the second
  std::int32_t Date() const { return year * 10000 + month * 100 + day; }  // yyyymmdd
};

// Nanoseconds since 1970-01-01 00:00 (NumPy's datetime64[ns], pandas' Timestamp value).
DateTime FromEpochNanoseconds(std::int64_t ns);

// "09:01:00"; a fraction of a second is kept ("09:01:00.25") rather than cut.
std::string ClockText(std::int32_t hour, std::int32_t minute, std::int32_t second, std::int32_t nanosecond);
// "2024-01-02".
std::string DateText(std::int32_t yyyymmdd);

// The field as CSV writes it: quoted (with doubled quotes) when it holds a comma or a quote.
std::string CsvField(std::string text);

}  // namespace kelo::py
