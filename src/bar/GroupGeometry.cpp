// Group geometry of the grouped bar charts: every group takes multiBarSize + 1 units of the
// width, half a unit of gap, its adjacent bars, half a unit of gap.
#include "bar/BarGeometry.h"

#include "chart/AxisPixel.h"

namespace kelo::detail {

GroupLayout LayoutGroups(const CRect& rect, int lineOffset, std::int32_t groupCount, std::uint32_t multiBarSize) {
  GroupLayout layout;
  // The unit count is formed in unsigned 32 bits, as the group count and bar size are.
  const std::uint32_t units =
      multiBarSize * static_cast<std::uint32_t>(groupCount) + static_cast<std::uint32_t>(groupCount);
  // No group slot (or a count that wraps to none): nothing to divide the width into.
  if (units == 0) return layout;
  const std::int64_t width =
      static_cast<std::int64_t>(rect.right) - 2 * static_cast<std::int64_t>(lineOffset) - rect.left;
  layout.valid = true;
  layout.unit = static_cast<double>(width) / static_cast<double>(units);
  const std::int32_t truncated = TruncSat32(layout.unit);
  layout.barWidth = truncated <= 1 ? 1 : truncated;
  layout.left = static_cast<double>(static_cast<std::int64_t>(rect.left) + lineOffset);
  layout.unitsPerGroup = multiBarSize + 1;
  return layout;
}

int GroupBarLeft(const GroupLayout& layout, std::size_t index) {
  const double offset = static_cast<double>(index) * layout.unitsPerGroup + 0.5;
  return TruncSat32(layout.left + layout.unit * offset);
}

int GroupBarTop(std::int32_t value, int bottom, double scale) {
  if (value == 0) return NarrowSat32(static_cast<std::int64_t>(bottom) - 1);
  const double height = value * scale;
  if (height <= 2.0) return NarrowSat32(static_cast<std::int64_t>(bottom) - 2);
  return TruncSat32(bottom - height);
}

}  // namespace kelo::detail
