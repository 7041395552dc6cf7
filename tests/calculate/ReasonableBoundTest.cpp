// Reasonable axis bounds: a scaled bound moved onto the tick grid of its own band.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <tuple>

#include "kelochart/calculate/KeloChartCalculate.h"

namespace KC = KeloChartCalculate;

namespace {

struct BoundCase {
  std::int32_t price;
  std::int32_t priceScale;
  unsigned int category;
  std::int32_t max;
  std::int32_t min;
};

const BoundCase kBoundCases[] = {
    {1003, 100, 0, 1000, 1005},        // 10.03 takes the tick of the band above 10
    {1000, 100, 0, 1000, 1000},        // 10.00 still in the band up to 10
    {1001, 100, 0, 1000, 1005},        // 10.01: just above the limit, tick 0.05
    {100050, 100, 0, 100000, 100500},  // 1000.50: tick 5
    {100, 10, 13, 100, 100},           // option limit 10 opens the band with tick 0.5
    {103, 10, 13, 100, 105},
    {99, 10, 13, 99, 99},          // 9.9: tick 0.1, already on the grid
    {2510, 1000, 14, 2500, 2550},  // 2.51: tick 0.05
    {16789, 1, 4, 16789, 16789},   // futures, tick 1 at scale 1
    {61, 100, 14, 60, 62},         // tick 0.025 at scale 100 keeps 2 whole units
    {3312, 100, 0, 3310, 3315},
    {2693, 100, 0, 2690, 2695},
    {0, 100, 0, 0, 0},
    // negative prices divide toward zero: both move up toward zero
    {-7, 10, 7, -6, -4},            // tick 0.2 = 2 units: q -3, r -1
    {-1003, 100, 0, -1003, -1003},  // lowest band, tick 0.01 = 1 unit
    // no grid: the price is returned as it came
    {1003, 100, 17, 1003, 1003},
    {1003, 100, UINT_MAX, 1003, 1003},
    {1003, 0, 0, 1003, 1003},
    {73, 10, 0, 73, 73},    // 0.01 at scale 10 is less than one unit
    {23, 100, 14, 23, 23},  // 0.005 at scale 100 is less than one unit
};

TEST(ReasonableBound, MovesBoundOntoTheGridOfItsOwnBand) {
  for (const BoundCase& c : kBoundCases) {
    EXPECT_EQ(KC::GetReasonableMaxPrice(c.price, c.priceScale, c.category), c.max)
        << "price " << c.price << " scale " << c.priceScale << " category " << c.category;
    EXPECT_EQ(KC::GetReasonableMinPrice(c.price, c.priceScale, c.category), c.min)
        << "price " << c.price << " scale " << c.priceScale << " category " << c.category;
  }
}

// Extreme prices and scales never overflow: one tick past the 32-bit top is clamped there,
// and a zero or negative scale is handled without an undefined conversion.
TEST(ReasonableBound, ExtremeInputStaysDefined) {
  const std::tuple<std::int32_t, std::int32_t, unsigned int, std::int32_t, std::int32_t> cases[] = {
      {INT32_MAX, 100, 0, 2147483500, INT32_MAX},  // one tick past the top is clamped there
      {INT32_MIN, 100, 0, INT32_MIN, INT32_MIN},
      {1003, -100, 7, 1000, 980},        // a negative tick of units: the division rules hold
      {5, INT32_MAX, 4, 0, INT32_MAX}};  // a tick as large as the whole 32-bit range
  for (const auto& [price, scale, category, max, min] : cases) {
    EXPECT_EQ(KC::GetReasonableMaxPrice(price, scale, category), max) << price << " " << scale;
    EXPECT_EQ(KC::GetReasonableMinPrice(price, scale, category), min) << price << " " << scale;
  }
  for (const std::int32_t price : {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX}) {
    for (const std::int32_t scale : {INT32_MIN, -1, 0, 1, 100, INT32_MAX}) {
      for (const unsigned int category : {0u, 1u, 2u, 3u, 4u, 7u, 13u, 14u, 15u, 16u, 17u, UINT_MAX}) {
        const std::int32_t max = KC::GetReasonableMaxPrice(price, scale, category);
        const std::int32_t min = KC::GetReasonableMinPrice(price, scale, category);
        if (scale == 0 || category > 16) {
          EXPECT_TRUE(max == price && min == price) << price << " " << scale;
        }
      }
    }
  }
}

}  // namespace
