// The `scale` and `tick` commands: what the price-scale functions give for an instrument,
// as text a trader can check an axis against. Pure: they return the text or an error.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "Market.h"

namespace kelo::cli {

struct ScaleRequest {
  std::string category = "stock";
  std::string priceScale = "100";
  std::string bottom, base, top;  // decimal prices: raw low, reference, raw high
};

// Text to print, or an error message (bad usage).
struct UsageError {
  std::string message;
};
std::variant<std::string, UsageError> ScaleText(const ScaleRequest& request);
// One band of a category's tick table: prices from `from` up to `limit` move by `tick` (the
// top band's limit is kTopBandLimit, meaning no limit).
struct TickBand {
  double from = 0;
  double limit = 0;
  double tick = 0;
};
inline constexpr double kTopBandLimit = 9995.0;
std::vector<TickBand> TickBands(const CategoryInfo& category);
// What the tick of a price is: the tick of the client's table for the category at that
// price, the band it holds in and the next band's tick.
std::variant<std::string, UsageError> TickText(const std::string& category, const std::string& price);

}  // namespace kelo::cli
