// Deliberate narrowing for the X and time axes. Positions and widths are computed in
// double or 64 bits and brought back to 32-bit pixels here, cut toward zero and saturated,
// so a hostile rectangle, count or time never reaches an out-of-range conversion.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kelo::detail {

// More vertical grid lines or range labels than this are never drawn: no screen has that
// many pixel columns, so further lines would only repaint drawn ones, and a hostile count
// must not cost billions of drawing calls. A count above it draws nothing.
inline constexpr std::int64_t kMaxXAxisLines = 65536;

// A double cut toward zero to a 32-bit pixel. NaN gives 0; values beyond the 32-bit range
// (and infinities) give its ends, so the conversion itself is always defined.
inline std::int32_t TruncToPixel(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// A 64-bit pixel sum clamped into the 32-bit range.
inline std::int32_t ClampToPixel(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace kelo::detail
