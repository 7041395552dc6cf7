// By-ratio bar heights: the height scale is cut at the fit-scale values and every interval
// between two of them gets one step of equal height, so small volumes stay visible next to a
// few very large ones.
#include "bar/BarGeometry.h"

#include <algorithm>

#include "chart/AxisPixel.h"

namespace kelo::detail {

std::int32_t RatioHeight(std::int64_t value, const std::vector<std::int32_t>& scale, std::size_t count,
                         double stepHeight) {
  count = std::min(count, scale.size());
  std::size_t k = 0;
  while (k < count && !(value < static_cast<std::int64_t>(scale[k]))) ++k;
  if (k == count) return TruncSat32(static_cast<double>(count) * stepHeight);
  if (k == 0) return TruncSat32(static_cast<double>(value) * stepHeight / scale[0]);
  // value lies in [scale[k-1], scale[k]): both differences are positive and fit 64 bits.
  const std::int64_t above = value - scale[k - 1];
  const std::int64_t span = static_cast<std::int64_t>(scale[k]) - scale[k - 1];
  return TruncSat32(static_cast<double>(k) * stepHeight +
                    static_cast<double>(above) * stepHeight / static_cast<double>(span));
}

}  // namespace kelo::detail
