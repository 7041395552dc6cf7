// Deliberate narrowing, the one set every layer uses. Prices, positions, widths and counts
// are computed in 64 bits or in double and brought back here, cut toward zero and
// saturated, so a hostile price, rectangle, count, font or time never reaches an
// out-of-range conversion (undefined behaviour) or wraps around.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kelo::detail {

// A double cut toward zero to 32 bits. NaN gives 0; values beyond the 32-bit range (and
// infinities) give its ends.
inline std::int32_t TruncSat32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483649.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// The same cut to 64 bits.
inline std::int64_t TruncSat64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775808.0) return std::numeric_limits<std::int64_t>::max();
  if (value < -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

// A 64-bit intermediate narrowed to 32 bits, saturating.
inline std::int32_t NarrowSat32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// A sum of 64-bit counts (volumes) that stops at the ends instead of wrapping.
inline std::int64_t AddSat64(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

}  // namespace kelo::detail
