// The tick-size table: for every market category its price bands from the lowest up, each
// with an upper limit and the tick (the smallest price step) inside it. One table serves the
// band lookup, the reasonable bounds and the snapping of scale lines onto the grid.
#pragma once

#include <span>

namespace kelo::calculate::detail {

// Limit of the open-ended last band of every category.
inline constexpr double kOpenBandLimit = 9995.0;

// Number of market categories: indices 0 to kCategoryCount - 1.
inline constexpr unsigned int kCategoryCount = 17;

struct TickBand {
  double limit;  // upper limit in plain price units (not scaled)
  double tick;   // tick inside the band, in plain price units
};

// Which band a price lying exactly on a limit belongs to.
enum class BoundarySense {
  LimitInLowerBand,  // stocks, warrants, BwAW, ETFs: a band includes its limit
  LimitInUpperBand,  // options: a band excludes its limit
  SingleBand,        // futures: one band for every price
};

struct CategoryBands {
  BoundarySense sense;
  std::span<const TickBand> bands;  // lowest first; the last one is open-ended
};

// The bands of a category, or nullptr for a category outside the table.
const CategoryBands* BandsOf(unsigned int category);

// The band holding price under the category's boundary sense, or nullptr for a category
// outside the table. A price that no earlier band takes (including NaN and +inf) falls into
// the last band; negative prices fall into the first.
const TickBand* FindBand(double price, unsigned int category);

}  // namespace kelo::calculate::detail
