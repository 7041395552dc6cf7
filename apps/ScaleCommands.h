// The `scale` and `tick` commands: what the price-scale functions give for an instrument,
// as text a trader can check an axis against. Pure: they return the text or an error.
#pragma once

#include <string>
#include <variant>

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
std::variant<std::string, UsageError> TickText(const std::string& category, const std::string& price);

}  // namespace kelo::cli
