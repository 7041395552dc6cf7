// Market categories by the names traders use, and the trading sessions of each: what the
// command line accepts for --category and --session, as pure functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelo::cli {

struct CategoryInfo {
  const char* name;         // command-line name: "stock", "FITX", "option-FITX", ...
  const char* description;  // one line for --help
  unsigned index;           // the market category index of the price-scale functions
  bool nightSession;        // futures and options also trade 15:00-05:00
  // The finest price scale its quotes need: every tick of its table is a whole number of
  // units there (stocks 100 for 0.01, TAIEX futures 1 for whole points, index levels 100).
  std::int32_t priceScale;
};

// Every category, in index order (index levels last: they borrow a futures table).
const std::vector<CategoryInfo>& Categories();
// By name, ignoring case; nullopt when unknown.
std::optional<CategoryInfo> FindCategory(std::string_view name);
// "stock, warrant, ..." for messages and help.
std::string CategoryNames();

// A clock time as the charts take it: hours, minutes and seconds as HHMMSS (9:30 = 93000).
using ClockTime = std::int32_t;
constexpr std::int32_t SecondsOf(ClockTime t) { return t / 10000 * 3600 + t / 100 % 100 * 60 + t % 100; }
constexpr ClockTime ClockOf(std::int32_t seconds) {
  return seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60;
}
// "HH:MM" or "HH:MM:SS" (hours 0..23, or 24:00 for the end of a day); nullopt otherwise.
std::optional<ClockTime> ParseClock(std::string_view text);
std::string FormatClock(ClockTime t, bool withSeconds = false);

// A trading session. A session whose end is not after its start runs across midnight.
struct Session {
  ClockTime start = 90000;
  ClockTime end = 133000;
  bool CrossesMidnight() const { return end <= start && !(end == 0 && start == 0); }
  // Seconds from the start to the end (a day for a session from a time to the same time).
  std::int32_t LengthSeconds() const;
  // Seconds of t after the session start on the session's own clock (the hours after
  // midnight follow the evening before); nullopt when t lies outside [start, end].
  std::optional<std::int32_t> OffsetOf(ClockTime t) const;
};
// "HH:MM-HH:MM"; nullopt when malformed.
std::optional<Session> ParseSession(std::string_view text);
// The day session of a category: stocks 09:00-13:30, futures and options 08:45-13:45.
Session DefaultSession(const CategoryInfo& category);

}  // namespace kelo::cli
