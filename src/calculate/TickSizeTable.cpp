// The tick-size table of the market categories and the band lookup built on it.
#include "calculate/TickSizeTable.h"

#include <array>

#include "kelochart/calculate/KeloChartCalculate.h"

namespace kelo::calculate::detail {
namespace {

constexpr TickBand kNormalStock[] = {{10.0, 0.01}, {50.0, 0.05},  {100.0, 0.1},
                                     {500.0, 0.5}, {1000.0, 1.0}, {kOpenBandLimit, 5.0}};
constexpr TickBand kWarrant[] = {{5.0, 0.01},  {10.0, 0.05}, {50.0, 0.1},
                                 {100.0, 0.5}, {500.0, 1.0}, {kOpenBandLimit, 5.0}};
constexpr TickBand kBwAW[] = {{150.0, 0.05}, {1000.0, 1.0}, {kOpenBandLimit, 5.0}};
constexpr TickBand kETF[] = {{50.0, 0.01}, {kOpenBandLimit, 0.05}};

constexpr TickBand kFutureTickOne[] = {{kOpenBandLimit, 1.0}};         // FITX, FIMT, FIT5
constexpr TickBand kFutureTickFiveCents[] = {{kOpenBandLimit, 0.05}};  // FITE, FICP, FIGB
constexpr TickBand kFutureTickTwoTenths[] = {{kOpenBandLimit, 0.2}};   // FITF
constexpr TickBand kFutureTickOneTenth[] = {{kOpenBandLimit, 0.1}};    // FIGD, FIMS

constexpr TickBand kOptionFITX[] = {{10.0, 0.1}, {50.0, 0.5}, {500.0, 1.0}, {1000.0, 5.0}, {kOpenBandLimit, 10.0}};
constexpr TickBand kOptionFITE[] = {{0.5, 0.005}, {2.5, 0.025}, {25.0, 0.05}, {50.0, 0.25}, {kOpenBandLimit, 0.5}};
constexpr TickBand kOptionFIGD[] = {{2.0, 0.02}, {10.0, 0.1}, {100.0, 0.2}, {200.0, 1.0}, {kOpenBandLimit, 2.0}};
constexpr TickBand kOptionOther[] = {{5.0, 0.01},  {15.0, 0.05},  {50.0, 0.1},
                                     {150.0, 0.5}, {1000.0, 1.0}, {kOpenBandLimit, 5.0}};

constexpr BoundarySense kLower = BoundarySense::LimitInLowerBand;
constexpr BoundarySense kUpper = BoundarySense::LimitInUpperBand;
constexpr BoundarySense kSingle = BoundarySense::SingleBand;

// Indexed by the category numbers that the category getters hand out.
constexpr std::array<CategoryBands, kCategoryCount> kCategories = {{
    {kLower, kNormalStock},           // 0 normal stocks
    {kLower, kWarrant},               // 1 warrants
    {kLower, kBwAW},                  // 2 BwAW securities
    {kLower, kETF},                   // 3 exchange-traded funds
    {kSingle, kFutureTickOne},        // 4 FITX
    {kSingle, kFutureTickOne},        // 5 FIMT
    {kSingle, kFutureTickFiveCents},  // 6 FITE
    {kSingle, kFutureTickTwoTenths},  // 7 FITF
    {kSingle, kFutureTickFiveCents},  // 8 FICP
    {kSingle, kFutureTickFiveCents},  // 9 FIGB
    {kSingle, kFutureTickOne},        // 10 FIT5
    {kSingle, kFutureTickOneTenth},   // 11 FIGD
    {kSingle, kFutureTickOneTenth},   // 12 FIMS
    {kUpper, kOptionFITX},            // 13 options on FITX
    {kUpper, kOptionFITE},            // 14 options on FITE
    {kUpper, kOptionFIGD},            // 15 options on FIGD
    {kUpper, kOptionOther},           // 16 other options
}};

}  // namespace

const CategoryBands* BandsOf(unsigned int category) {
  return category < kCategoryCount ? &kCategories[category] : nullptr;
}

const TickBand* FindBand(double price, unsigned int category) {
  const CategoryBands* table = BandsOf(category);
  if (table == nullptr) return nullptr;
  const std::span<const TickBand> bands = table->bands;
  for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
    const bool holds =
        table->sense == BoundarySense::LimitInUpperBand ? price < bands[i].limit : price <= bands[i].limit;
    if (holds) return &bands[i];
  }
  return &bands.back();
}

}  // namespace kelo::calculate::detail

namespace KeloChartCalculate {

double FindOneSideJumpPrice(double price, unsigned int category, double& bandLimit) {
  const kelo::calculate::detail::TickBand* band = kelo::calculate::detail::FindBand(price, category);
  if (band == nullptr) return 0.0;  // outside the table: bandLimit keeps the caller's value
  bandLimit = band->limit;
  return band->tick;
}

}  // namespace KeloChartCalculate
