// The `scale` and `tick` commands.
#include "ScaleCommands.h"

#include <cstdio>
#include <vector>

#include <kelochart/calculate/KeloChartCalculate.h>

#include "ChartInput.h"
#include "CsvReader.h"
#include "Market.h"

namespace kelo::cli {

namespace {

// A decimal price scaled by priceScale, refusing more decimals than the scale keeps.
std::variant<std::int32_t, UsageError> Scaled(const std::string& name, const std::string& text, std::int32_t scale) {
  auto d = ParseDecimal(text);
  if (!d) return UsageError{"--" + name + " must be a decimal price, not \"" + text + "\""};
  std::int64_t v = d->mantissa;
  std::int32_t keep = 1;
  for (int k = 0; k < d->decimals; ++k) keep *= 10;
  if (keep > scale) return UsageError{"--" + name + " " + text + " has more decimals than --price-scale keeps"};
  v *= scale / keep;
  if (v > 2147483647 || v < -2147483647) return UsageError{"--" + name + " " + text + " is too large"};
  return static_cast<std::int32_t>(v);
}

std::string Decimals(double value, std::int32_t scale) {
  int decimals = 0;
  for (std::int32_t s = scale; s >= 10; s /= 10) ++decimals;
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

std::variant<std::string, UsageError> ScaleText(const ScaleRequest& r) {
  using namespace KeloChartCalculate;
  auto category = FindCategory(r.category);
  if (!category) return UsageError{"unknown category \"" + r.category + "\" (one of " + CategoryNames() + ")"};
  std::int32_t scale = 0;
  for (std::int32_t s : {1, 10, 100, 1000, 10000}) {
    if (r.priceScale == std::to_string(s)) scale = s;
  }
  if (scale == 0) return UsageError{"--price-scale must be 1, 10, 100, 1000 or 10000, not " + r.priceScale};
  auto bottom = Scaled("bottom", r.bottom, scale);
  auto base = Scaled("base", r.base, scale);
  auto top = Scaled("top", r.top, scale);
  for (auto* v : {&bottom, &base, &top}) {
    if (auto* e = std::get_if<UsageError>(v)) return *e;
  }
  const std::int32_t rawBottom = std::get<std::int32_t>(bottom), ref = std::get<std::int32_t>(base),
                     rawTop = std::get<std::int32_t>(top);
  const std::int32_t high = GetReasonableMaxPrice(rawTop, scale, category->index);
  const std::int32_t low = GetReasonableMinPrice(rawBottom, scale, category->index);
  std::vector<std::int32_t> lines;
  const double tick = GetReasonablePrice(high, ref, low, scale, category->index, lines);
  auto price = [&](std::int32_t p) { return Decimals(static_cast<double>(p) / scale, scale); };
  // Appended piece by piece: GCC 12 at -O2 and above warns (-Wrestrict) about operator+ of a
  // literal and a temporary string, a false alarm that breaks the warnings-as-errors builds.
  std::string text;
  auto add = [&text](const auto&... parts) { ((text += parts), ...); };
  add("price axis of ", category->name, " (", category->description, "), reference ", price(ref), ", raw high ",
      price(rawTop), ", raw low ", price(rawBottom), ":\n  reasonable top ", price(high), ", bottom ", price(low),
      ", tick ", Decimals(tick, scale), "\n  scale:");
  for (std::int32_t p : lines) add(" ", price(p));
  return text + "\n";
}

std::variant<std::string, UsageError> TickText(const std::string& categoryName, const std::string& priceText) {
  auto category = FindCategory(categoryName);
  if (!category) return UsageError{"unknown category \"" + categoryName + "\" (one of " + CategoryNames() + ")"};
  auto d = ParseDecimal(priceText);
  if (!d) return UsageError{"PRICE must be a decimal price, not \"" + priceText + "\""};
  double price = static_cast<double>(d->mantissa);
  for (int k = 0; k < d->decimals; ++k) price /= 10;
  double limit = 0;
  const double tick = KeloChartCalculate::FindOneSideJumpPrice(price, category->index, limit);
  char text[160];
  if (limit >= 9995.0) {
    std::snprintf(text, sizeof text, "%s %s: tick %g (the top band: no upper limit)\n", category->name,
                  priceText.c_str(), tick);
  } else {
    // Option bands end below their limit; the others include it.
    const bool below = category->index >= KeloChartCalculate::GetOptionFITXIndex();
    std::snprintf(text, sizeof text, "%s %s: tick %g, in the band %s %g\n", category->name, priceText.c_str(), tick,
                  below ? "below" : "up to and including", limit);
  }
  return std::string(text);
}

}  // namespace kelo::cli
