// Deliberate narrowing for the chart frame and its axes. Positions, widths and counts are
// computed in double or 64 bits and brought back to 32 bits here, cut toward zero and
// saturated, so a hostile rectangle, count, font or time never reaches an out-of-range
// conversion.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include <kelochart/surface/Rect.h>

namespace kelo::detail {

// More grid lines or labels than this are never drawn along one axis: no screen has that
// many pixel rows or columns, so further lines would only repaint drawn ones, and a hostile
// count must not cost billions of drawing calls. A count above it draws nothing.
inline constexpr std::int64_t kMaxAxisLines = 65536;

// A double cut toward zero to 32 bits. NaN gives 0; values beyond the 32-bit range (and
// infinities) give its ends, so the conversion itself is always defined.
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

// Width and height of a rectangle, exact in double even for hostile edges.
inline double RectWidth(const CRect& rect) {
  return static_cast<double>(static_cast<std::int64_t>(rect.right) - rect.left);
}
inline double RectHeight(const CRect& rect) {
  return static_cast<double>(static_cast<std::int64_t>(rect.bottom) - rect.top);
}

}  // namespace kelo::detail
