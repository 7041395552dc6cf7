// Bar positions of the slot bar charts: the usable width split into equal slots, each bar
// filling its slot less one pixel when slots are wide, reaching into the next slot when they
// are between one and two pixels wide, and two pixels wide when they are narrower.
#include "bar/BarGeometry.h"

#include "chart/AxisPixel.h"

namespace kelo::detail {

std::vector<BarPos> BarPositions(const CRect& rect, int lineOffset, std::int32_t slotCount, std::int32_t count) {
  std::vector<BarPos> positions;
  // No slot to divide the width into: nothing stands anywhere.
  if (slotCount <= 0 || count <= 0) return positions;
  const std::int64_t width =
      static_cast<std::int64_t>(rect.right) - 2 * static_cast<std::int64_t>(lineOffset) - rect.left;
  const double slot = static_cast<double>(width) / slotCount;
  const double x0 = static_cast<double>(static_cast<std::int64_t>(rect.left) + lineOffset);
  positions.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    const int left = TruncSat32(x0 + i * slot);
    int right;
    if (slot > 2.0) {
      right = TruncSat32(left + slot - 1);
    } else if (slot > 1.0) {
      right = TruncSat32(left + slot);
    } else {
      right = NarrowSat32(static_cast<std::int64_t>(left) + 1);
    }
    positions.emplace_back(left, right);
  }
  return positions;
}

}  // namespace kelo::detail
