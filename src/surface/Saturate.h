// Narrowing helpers of the surface layer: 64-bit and floating values are brought into the
// 32-bit range on purpose, never by an out-of-range cast.
#pragma once

#include <cmath>
#include <cstdint>

namespace kelo::surface::detail {

inline std::int32_t Sat32(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

inline std::int64_t Clamp64(std::int64_t v, std::int64_t lo, std::int64_t hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

// A double to int32 with saturation; NaN gives 0.
inline std::int32_t SatDouble(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

}  // namespace kelo::surface::detail
