// Choosing the trading day a one-day chart draws from a file that holds several: a function
// of its own, apart from reading, so the kinds that draw every day (daily K-lines) skip it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "MinuteBars.h"

namespace kelo::cli {

// The distinct trading days of bars in ascending order (empty when they have no dates).
std::vector<std::int32_t> TradingDays(const MinuteBars& data);

struct DayChoice {
  MinuteBars data;   // the bars of one day, with `reference` from that day's first reference
  std::string note;  // for stderr when a day was chosen among several; empty otherwise
};

// The bars of the day `date` names (2026-12-04, 2026/12/04, 20261204 or ROC 115/12/04), or of
// the last day when it is empty. An error (line 0) when the date is malformed, the file has
// no dates, or no bars on that day.
std::variant<DayChoice, InputError> ChooseDay(MinuteBars data, std::string_view date);

}  // namespace kelo::cli
