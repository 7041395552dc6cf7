// One trading day out of many: vendors export weeks of minute bars in one file, and the
// intraday charts draw one day. The last day is the one a trader looks at; --date picks another.
#include "TradingDays.h"

#include <algorithm>

#include "DateTimeFields.h"

namespace kelo::cli {

std::vector<std::int32_t> TradingDays(const MinuteBars& data) {
  std::vector<std::int32_t> days;
  if (!data.hasDates) return days;
  for (const MinuteBar& b : data.bars) {
    if (days.empty() || days.back() != b.date) days.push_back(b.date);
  }
  return days;
}

std::variant<DayChoice, InputError> ChooseDay(MinuteBars data, std::string_view date) {
  const std::vector<std::int32_t> days = TradingDays(data);
  DayChoice out;
  auto fail = [&](std::string message) { return InputError{data.name, 0, 0, std::move(message)}; };
  std::int32_t day = days.empty() ? 0 : days.back();
  if (!date.empty()) {
    const auto wanted = ParseDate(date);
    if (!wanted)
      return fail("--date " + std::string(date) + " is not a date (2026-12-04, 2026/12/04, 20261204 or ROC 115/12/04)");
    if (days.empty()) return fail("--date " + std::string(date) + ": the file has no date column");
    if (!std::binary_search(days.begin(), days.end(), *wanted)) {
      return fail("--date " + FormatDate(*wanted) + ": no bars on that day (the file has " +
                  std::to_string(days.size()) + " trading days, " + FormatDate(days.front()) + " to " +
                  FormatDate(days.back()) + ")");
    }
    day = *wanted;
  } else if (days.size() > 1) {
    out.note = data.name + ": " + std::to_string(days.size()) + " trading days (" + FormatDate(days.front()) + " to " +
               FormatDate(days.back()) + "): drawing the last, " + FormatDate(day) + " (choose another with --date)";
  }
  if (!days.empty()) {
    data.bars.erase(
        std::remove_if(data.bars.begin(), data.bars.end(), [&](const MinuteBar& b) { return b.date != day; }),
        data.bars.end());
  }
  for (const MinuteBar& b : data.bars) {
    if (b.reference > 0) {
      data.reference = b.reference;
      break;
    }
  }
  out.data = std::move(data);
  return out;
}

}  // namespace kelo::cli
