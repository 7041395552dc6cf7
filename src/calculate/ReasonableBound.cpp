// Reasonable axis bounds: a raw scaled bound moved onto the tick grid of the band its own
// price lies in, the maximum toward zero and the minimum one tick further when it was off
// the grid.
#include <cstdint>

#include "base/Saturate.h"
#include "calculate/TickSizeTable.h"
#include "kelochart/calculate/KeloChartCalculate.h"

namespace {

using kelo::calculate::detail::FindBand;
using kelo::calculate::detail::TickBand;
using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat64;

// The tick of the raw price's band in scaled units, cut toward zero. Zero when there is no
// grid: a category outside the table, a priceScale of 0, or a scale too small for the tick.
// The price divided by the scale only picks the band (a zero scale gives inf or NaN there,
// which the lookup handles); it is never converted to an integer.
std::int64_t TickUnits(std::int32_t price, std::int32_t priceScale, unsigned int category) {
  const double plainPrice = static_cast<double>(price) / static_cast<double>(priceScale);
  const TickBand* band = FindBand(plainPrice, category);
  const double tick = band != nullptr ? band->tick : 0.0;
  // |tick * priceScale| stays below 10 * 2^31, well inside 64 bits.
  return TruncSat64(tick * static_cast<double>(priceScale));
}

}  // namespace

namespace KeloChartCalculate {

std::int32_t GetReasonableMaxPrice(std::int32_t price, std::int32_t priceScale, unsigned int category) {
  const std::int64_t tickUnits = TickUnits(price, priceScale, category);
  if (tickUnits == 0) return price;  // no grid: the bound stays where it was
  const std::int64_t quotient = price / tickUnits;
  return NarrowSat32(quotient * tickUnits);
}

std::int32_t GetReasonableMinPrice(std::int32_t price, std::int32_t priceScale, unsigned int category) {
  const std::int64_t tickUnits = TickUnits(price, priceScale, category);
  if (tickUnits == 0) return price;
  const std::int64_t quotient = price / tickUnits;
  const std::int64_t remainder = price % tickUnits;
  // One tick past the price may leave the 32-bit range near its top: clamp there.
  return NarrowSat32((remainder != 0 ? quotient + 1 : quotient) * tickUnits);
}

}  // namespace KeloChartCalculate
