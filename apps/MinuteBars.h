// The data the charts are drawn from: minute bars (or daily bars) of one instrument, prices
// as whole numbers scaled by a power of ten, as the library takes them. After reading, bars
// are in ascending order of (date, time on the trading day's clock: an evening from 15:00
// comes before the hours after midnight that follow it).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Market.h"

namespace kelo::cli {

struct MinuteBar {
  std::int32_t date = 0;  // trading day as yyyymmdd; 0 when the input has no date
  ClockTime time = 0;
  std::int32_t open = 0, high = 0, low = 0, close = 0;  // scaled by priceScale
  std::int64_t volume = 0;
  std::int64_t inner = 0, outer = 0;  // volume traded at the bid / at the ask, when known
  std::int32_t line = 0;              // line of the input it came from (0 for samples)
  std::int32_t timeColumn = 1;        // character column of its time field on that line
  std::int32_t reference = 0;         // the file's reference price on that row, scaled; 0 if none
  ClockTime lastTrade = 0;            // slots built from trades: the time of their last trade
};

struct MinuteBars {
  std::string name;  // file name for messages, "<stdin>" or "sample"
  std::vector<MinuteBar> bars;
  std::string timeName = "time";  // the header's name of the column holding the times
  std::int32_t priceScale = 100;
  int decimals = 2;
  bool hasInnerOuter = false;
  bool hasDates = false;     // every bar has its trading day in `date`
  bool daily = false;        // daily bars: a date column and no time (time 0)
  bool fromTrades = false;   // slots built from one row per trade
  bool newestFirst = false;  // the file had its rows newest first (they are now reversed)
  // The reference price (previous close) of the day drawn, from the file's reference column.
  std::optional<std::int32_t> reference;
};

// One message about bad input: where and what.
struct InputError {
  std::string file;
  std::int32_t line = 0;
  std::int32_t column = 0;
  std::string message;
  std::string Text() const;  // "file:line:column: message"
};

}  // namespace kelo::cli
