// Deliberate narrowing for the price-scale functions. Scaled prices are 32-bit, but the
// arithmetic on them (spans between two prices, one tick past a price, a tick worth more
// than 2^31 units at a huge scale) is done in 64 bits or in double and brought back here,
// saturating instead of wrapping, so hostile input never reaches an out-of-range conversion.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kelo::calculate::detail {

// Cuts a double toward zero to a 64-bit integer. NaN gives 0 and values beyond the 64-bit
// range give its ends, so the conversion itself is always defined.
inline std::int64_t TruncToInt64(double value) {
  constexpr double kTwoPow63 = 9223372036854775808.0;
  if (std::isnan(value)) return 0;
  if (value >= kTwoPow63) return std::numeric_limits<std::int64_t>::max();
  if (value <= -kTwoPow63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

// A 64-bit scaled price clamped into the 32-bit range.
inline std::int32_t SaturateToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace kelo::calculate::detail
