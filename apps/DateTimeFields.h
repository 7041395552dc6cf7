// The ways files write dates and times of day: ISO and slashed dates, ROC (Minguo) years as
// Taiwan's public sites print them, compact digits as exchange tick files store them, and
// one field holding both. Pure functions, so every form is tested without a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Market.h"

namespace kelo::cli {

// A calendar date as yyyymmdd: "2026-12-04", "2026/12/04", "2026.12.04", "20261204", and ROC
// dates "115/12/04", "115-12-04", "1151204" (year + 1911). nullopt for anything else or a day
// the month does not have.
std::optional<std::int32_t> ParseDate(std::string_view text);

// A time of day: "9:05", "09:05", "09:05:30", "09:05:30.250" (the fraction is dropped), and
// digits without separators: "90530" or "090530" (HHMMSS), "905" or "0905" (HHMM). 24:00 is
// not a time of a trade; nullopt for it and anything else.
std::optional<ClockTime> ParseTimeOfDay(std::string_view text);

// One field with a date, a time or both: "2026/12/04 09:01:00", "2026-12-04T09:01",
// "20261204 090100", "20261204090100"; date 0 when the field has none.
struct DateTime {
  std::int32_t date = 0;
  std::optional<ClockTime> time;
};
std::optional<DateTime> ParseDateTime(std::string_view text);

// 20261204 as "2026-12-04".
std::string FormatDate(std::int32_t date);
// The calendar day after a yyyymmdd date.
std::int32_t NextDay(std::int32_t date);

// Night sessions start at 15:00 and end at 05:00 the next morning; a row of the evening
// belongs to the trading day that the hours after midnight carry, the calendar day after
// its own date. The tool knows no holiday calendar, so a Friday evening counts to Saturday.
inline constexpr ClockTime kEveningStart = 150000;
// The trading day of a row with a calendar date (0: none) and a time of day.
std::int32_t TradingDayOf(std::int32_t date, ClockTime time);
// The calendar day of a row the reader dated with its trading day: the day before for an
// evening row (TradingDayOf undone).
std::int32_t CalendarDayOf(std::int32_t tradingDay, ClockTime time);
// Seconds on the trading day's clock, which starts at the evening start: the evening before
// comes first, then the hours after midnight and the day.
std::int32_t SessionClockOf(ClockTime time);

}  // namespace kelo::cli
