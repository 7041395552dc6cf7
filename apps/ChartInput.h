// What a chart is drawn from once the command line and the data agree: the minute bars on
// their price scale, the market category, the session and the reference price. Preparing it
// is a pure function, so every check of options against data is testable without drawing.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "KLineOptions.h"
#include "Market.h"
#include "MinuteBars.h"

namespace kelo::cli {

// The options of `render` that concern the data (as given; empty when not given).
struct InputOptions {
  std::string category = "stock";
  std::string reference;   // decimal price; default the first open
  std::string priceScale;  // 1, 10, 100, 1000 or 10000; default from the data's decimals
  std::string session;     // "HH:MM-HH:MM"; default from the category
};

struct ChartInput {
  MinuteBars data;
  CategoryInfo category{};
  Session session;
  std::int32_t reference = 0;  // scaled like the prices
  KLineOptions kline;          // the kline kind's options (PrepareKLineInput)
};

// Checks the options against the data; an error names the file (line 0) or the line of the
// bar at fault.
std::variant<ChartInput, InputError> PrepareInput(MinuteBars data, const InputOptions& options);

// The price with priceScale as text: 3015 at 100 is "30.15".
std::string FormatPrice(std::int32_t price, std::int32_t priceScale);

}  // namespace kelo::cli
