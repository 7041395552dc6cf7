// Scale lines of a price axis: from the bottom price through the base (reference) price to
// the top price, at most five intervals on each side. A range inside one band is split in
// whole ticks of that band; a range crossing band limits is split evenly and each inner line
// is moved onto the grid of the band it lies in.
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/Saturate.h"
#include "calculate/TickSizeTable.h"
#include "kelochart/calculate/KeloChartCalculate.h"

namespace {

using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat64;

// How the top of the range is compared with a row's upper limit.
enum class UpperTest {
  AtMost,   // hi <= limit: stock categories, whose bands include their limit
  Below,    // hi < limit: option categories, whose bands exclude their limit
  AtLeast,  // hi >= limit: the open-ended last band
  Always,   // futures: one band, no test at all
};

// A range [lo, hi] fits a band when lo >= loMin and hi passes the upper test. The lowest
// row asks lo >= 0.01, so a bottom below one cent never fits and takes the overlap path.
struct SingleBandRow {
  double loMin;
  UpperTest test;
  double hiLimit;
  double tick;
};

constexpr UpperTest kAtMost = UpperTest::AtMost;
constexpr UpperTest kBelow = UpperTest::Below;
constexpr UpperTest kAtLeast = UpperTest::AtLeast;

constexpr SingleBandRow kNormalStock[] = {{0.01, kAtMost, 10, 0.01}, {10, kAtMost, 50, 0.05},
                                          {50, kAtMost, 100, 0.1},   {100, kAtMost, 500, 0.5},
                                          {500, kAtMost, 1000, 1},   {1000, kAtLeast, 1000, 5}};
constexpr SingleBandRow kWarrant[] = {{0.01, kAtMost, 5, 0.01}, {5, kAtMost, 10, 0.05}, {10, kAtMost, 50, 0.1},
                                      {50, kAtMost, 100, 0.5},  {100, kAtMost, 500, 1}, {500, kAtLeast, 500, 5}};
constexpr SingleBandRow kBwAW[] = {{0.01, kAtMost, 150, 0.05}, {150, kAtMost, 1000, 1}, {1000, kAtLeast, 1000, 5}};
constexpr SingleBandRow kETF[] = {{0.01, kAtMost, 50, 0.01}, {50, kAtLeast, 50, 0.05}};
constexpr SingleBandRow kFutureTickOne[] = {{0, UpperTest::Always, 0, 1}};
constexpr SingleBandRow kFutureTickFiveCents[] = {{0, UpperTest::Always, 0, 0.05}};
constexpr SingleBandRow kFutureTickTwoTenths[] = {{0, UpperTest::Always, 0, 0.2}};
constexpr SingleBandRow kFutureTickOneTenth[] = {{0, UpperTest::Always, 0, 0.1}};
constexpr SingleBandRow kOptionFITX[] = {{0.01, kBelow, 10, 0.1},
                                         {10, kBelow, 50, 0.5},
                                         {50, kBelow, 500, 1},
                                         {500, kBelow, 1000, 5},
                                         {1000, kAtLeast, 1000, 10}};
constexpr SingleBandRow kOptionFITE[] = {{0.01, kBelow, 0.5, 0.005},
                                         {0.5, kBelow, 2.5, 0.025},
                                         {2.5, kBelow, 25, 0.05},
                                         {25, kBelow, 50, 0.25},
                                         {50, kAtLeast, 50, 0.5}};
constexpr SingleBandRow kOptionFIGD[] = {{0.01, kBelow, 2, 0.02},
                                         {2, kBelow, 10, 0.1},
                                         {10, kBelow, 100, 0.2},
                                         {100, kBelow, 200, 1},
                                         {200, kAtLeast, 200, 2}};
constexpr SingleBandRow kOptionOther[] = {{0.01, kBelow, 5, 0.01}, {5, kBelow, 15, 0.05},  {15, kBelow, 50, 0.1},
                                          {50, kBelow, 150, 0.5},  {150, kBelow, 1000, 1}, {1000, kAtLeast, 1000, 5}};

// Indexed by market category.
constexpr std::array<std::span<const SingleBandRow>, kelo::calculate::detail::kCategoryCount> kSingleBandRows = {{
    kNormalStock,
    kWarrant,
    kBwAW,
    kETF,
    kFutureTickOne,
    kFutureTickOne,
    kFutureTickFiveCents,
    kFutureTickTwoTenths,
    kFutureTickFiveCents,
    kFutureTickFiveCents,
    kFutureTickOne,
    kFutureTickOneTenth,
    kFutureTickOneTenth,
    kOptionFITX,
    kOptionFITE,
    kOptionFIGD,
    kOptionOther,
}};

bool Holds(const SingleBandRow& row, double lo, double hi) {
  switch (row.test) {
    case UpperTest::Always: return true;
    case UpperTest::AtMost: return lo >= row.loMin && hi <= row.hiLimit;
    case UpperTest::Below: return lo >= row.loMin && hi < row.hiLimit;
    case UpperTest::AtLeast: return lo >= row.loMin && hi >= row.hiLimit;
  }
  return false;
}

// The tick of the one band the whole range [lo, hi] fits in; 0 for a category outside the
// table; nothing when the range crosses band limits (or lo/hi are NaN from a zero scale).
std::optional<double> SingleBandTick(double lo, double hi, unsigned int category) {
  if (category >= kSingleBandRows.size()) return 0.0;
  for (const SingleBandRow& row : kSingleBandRows[category]) {
    if (Holds(row, lo, hi)) return row.tick;
  }
  return std::nullopt;
}

// Whole ticks of `unit` from `from` to `to`, cut toward zero. No grid (unit 0) counts as no
// ticks, so that half gets no inner lines. The span is taken in 64 bits: two 32-bit prices
// may lie more than 2^31 apart.
std::int64_t WholeTicks(std::int32_t from, std::int32_t to, double unit) {
  if (unit == 0.0) return 0;
  const double span = static_cast<double>(static_cast<std::int64_t>(to) - from);
  return TruncSat64(span / unit);
}

// Appends the inner lines of one half, from `from` toward `to`, in whole ticks. The ticks
// left over after splitting into five go one each to the intervals next to the bottom price
// in the lower half and next to the top price in the upper half, so both halves mirror each
// other around the base price. A negative tick count (a reversed half) gives no lines.
void AppendHalf(std::vector<std::int32_t>& scalePrices, std::int32_t from, std::int32_t to, double unit,
                bool upperHalf) {
  const std::int64_t ticks = WholeTicks(from, to, unit);
  const std::int64_t perInterval = ticks / 5;
  const std::int64_t remainder = ticks % 5;
  const std::int64_t intervals = perInterval > 0 ? 5 : remainder;
  std::int64_t running = from;
  for (std::int64_t line = 1; line < intervals; ++line) {
    // The lower half counts its intervals up from the bottom, the upper half down from the top.
    const std::int64_t fromOuterEnd = upperHalf ? intervals - line : line - 1;
    const std::int64_t step = perInterval + (fromOuterEnd < remainder ? 1 : 0);
    running += TruncSat64(static_cast<double>(step) * unit);
    scalePrices.push_back(NarrowSat32(running));
  }
}

}  // namespace

namespace KeloChartCalculate {

double GetReasonablePrice(std::int32_t topPrice, std::int32_t basePrice, std::int32_t bottomPrice,
                          std::int32_t priceScale, unsigned int category, std::vector<std::int32_t>& scalePrices) {
  scalePrices.clear();
  const double lo = static_cast<double>(bottomPrice) / static_cast<double>(priceScale);
  const double hi = static_cast<double>(topPrice) / static_cast<double>(priceScale);
  const std::optional<double> tick = SingleBandTick(lo, hi, category);
  if (!tick) {
    return GetOverlapReasonablePrice(topPrice, basePrice, bottomPrice, priceScale, category, scalePrices);
  }
  const double unit = static_cast<double>(priceScale) * *tick;  // may carry a fraction: 2.5
  scalePrices.push_back(bottomPrice);
  AppendHalf(scalePrices, bottomPrice, basePrice, unit, false);
  scalePrices.push_back(basePrice);
  AppendHalf(scalePrices, basePrice, topPrice, unit, true);
  scalePrices.push_back(topPrice);
  return *tick;
}

double GetOverlapReasonablePrice(std::int32_t topPrice, std::int32_t basePrice, std::int32_t bottomPrice,
                                 std::int32_t priceScale, unsigned int category,
                                 std::vector<std::int32_t>& scalePrices) {
  scalePrices.clear();
  // Five even intervals on each side, cut toward the base price. Each line lies between the
  // base and the outer price, so it fits 32 bits; the clamp only makes that explicit.
  const double lowerStep = static_cast<double>(static_cast<std::int64_t>(basePrice) - bottomPrice) / 5.0;
  const double upperStep = static_cast<double>(static_cast<std::int64_t>(topPrice) - basePrice) / 5.0;
  std::array<std::int32_t, 11> lines{};
  lines[0] = bottomPrice;
  for (int k = 4; k >= 1; --k) {
    lines[5 - k] = NarrowSat32(basePrice - TruncSat64(k * lowerStep));
  }
  lines[5] = basePrice;
  for (int k = 1; k <= 4; ++k) {
    lines[5 + k] = NarrowSat32(basePrice + TruncSat64(k * upperStep));
  }
  lines[10] = topPrice;

  // Move each inner line down onto the grid of its band, walking up the scale. The band is
  // looked up again only once a line reaches the limit of the band last looked up.
  std::array<bool, 11> keep{};
  keep.fill(true);
  double tick = 0.0;
  double bandLimit = 0.0;
  for (const std::size_t index : {1u, 2u, 3u, 4u, 6u, 7u, 8u, 9u}) {
    const double price = static_cast<double>(lines[index]) / static_cast<double>(priceScale);
    if (price >= bandLimit) tick = FindOneSideJumpPrice(price, category, bandLimit);
    const double unit = static_cast<double>(priceScale) * tick;
    if (unit == 0.0) {
      // No grid for this line (a category outside the table, a zero scale, or a negative
      // line before any band was looked up): the line is left out rather than guessed.
      keep[index] = false;
      continue;
    }
    const double snapped = std::trunc(static_cast<double>(lines[index]) / unit) * unit;
    lines[index] = NarrowSat32(TruncSat64(snapped));
  }
  scalePrices.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (keep[i]) scalePrices.push_back(lines[i]);
  }
  return tick;
}

}  // namespace KeloChartCalculate
