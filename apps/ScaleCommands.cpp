// The `scale` and `tick` commands.
#include "ScaleCommands.h"

#include <algorithm>
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
  const std::int32_t givenBottom = std::get<std::int32_t>(bottom), ref = std::get<std::int32_t>(base),
                     givenTop = std::get<std::int32_t>(top);
  if (givenBottom <= 0 || ref <= 0) return UsageError{"--bottom, --base and --top must be positive prices"};
  if (givenBottom > givenTop) return UsageError{"--bottom " + r.bottom + " is above --top " + r.top};
  if (scale < category->priceScale) {
    return UsageError{"--price-scale " + r.priceScale + " is too coarse for the ticks of " + category->name +
                      ": at least " + std::to_string(category->priceScale)};
  }
  // A low above the reference (a gap-up day) or a high below it is a normal day: the axis
  // runs through the reference, as the charts draw it.
  const std::int32_t rawBottom = std::min(givenBottom, ref), rawTop = std::max(givenTop, ref);
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
      price(givenTop), ", raw low ", price(givenBottom), ":\n  reasonable top ", price(high), ", bottom ", price(low),
      ", tick ", Decimals(tick, scale));
  if (rawBottom != givenBottom) add("\n  (the low is above the reference: the axis runs down to the reference)");
  if (rawTop != givenTop) add("\n  (the high is below the reference: the axis runs up to the reference)");
  add("\n  scale:");
  for (std::int32_t p : lines) add(" ", price(p));
  return text + "\n";
}

std::vector<TickBand> TickBands(const CategoryInfo& category) {
  // Walked up the table from the bottom: a stock band holds its limit, so the next band
  // starts just above it; an option band ends below its limit, where the next one starts.
  const bool exclusive = category.index >= KeloChartCalculate::GetOptionFITXIndex();
  std::vector<TickBand> bands;
  double from = 0;
  while (bands.size() < 16) {
    double limit = 0;
    const double tick = KeloChartCalculate::FindOneSideJumpPrice(exclusive ? from : from + 1e-6, category.index, limit);
    bands.push_back({from, limit, tick});
    if (limit >= kTopBandLimit) break;
    from = limit;
  }
  return bands;
}

std::variant<std::string, UsageError> TickText(const std::string& categoryName, const std::string& priceText) {
  auto category = FindCategory(categoryName);
  if (!category) return UsageError{"unknown category \"" + categoryName + "\" (one of " + CategoryNames() + ")"};
  auto d = ParseDecimal(priceText);
  if (!d || d->mantissa <= 0) return UsageError{"PRICE must be a positive decimal price, not \"" + priceText + "\""};
  double price = static_cast<double>(d->mantissa);
  for (int k = 0; k < d->decimals; ++k) price /= 10;
  double limit = 0;
  const double tick = KeloChartCalculate::FindOneSideJumpPrice(price, category->index, limit);
  const std::vector<TickBand> bands = TickBands(*category);
  std::size_t at = 0;
  while (at + 1 < bands.size() && bands[at].limit != limit) ++at;
  const bool exclusive = category->index >= KeloChartCalculate::GetOptionFITXIndex();
  char text[320];
  auto g = [](double v) {
    char t[32];
    std::snprintf(t, sizeof t, "%g", v);
    return std::string(t);
  };
  std::string band;
  if (bands.size() == 1) {
    band = g(tick) + " at every price";
  } else if (at + 1 == bands.size()) {
    band = g(tick) + (exclusive ? " from " : " above ") + g(bands[at].from) + " (the top band)";
  } else {
    band = g(tick) + (at == 0 ? std::string(" ") : (exclusive ? " from " : " above ") + g(bands[at].from) + " ") +
           (exclusive ? (at == 0 ? "below " : "to below ") : "up to and including ") + g(limit) + ", then " +
           g(bands[at + 1].tick);
  }
  if (std::string(category->name) == "index") {
    // Index levels have no tick table: they are quoted to 0.01, the axis steps in points.
    std::snprintf(text, sizeof text,
                  "index %s: index levels are quoted to 0.01; the axis steps in whole points (the table of "
                  "TAIEX futures: %s)\n",
                  priceText.c_str(), band.c_str());
  } else {
    std::snprintf(text, sizeof text, "%s %s: tick %s, from the client's tick table for %s: %s\n", category->name,
                  priceText.c_str(), g(tick).c_str(), category->description, band.c_str());
  }
  return std::string(text);
}

}  // namespace kelo::cli
