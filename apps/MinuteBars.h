// The data the charts are drawn from: one trading day of minute bars of one instrument,
// prices as whole numbers scaled by a power of ten, as the library takes them.
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
};

struct MinuteBars {
  std::string name;  // file name for messages, "<stdin>" or "sample"
  std::vector<MinuteBar> bars;
  std::int32_t priceScale = 100;
  int decimals = 2;
  bool hasInnerOuter = false;
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
