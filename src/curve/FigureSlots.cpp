// The x positions of the figure curves.
#include "curve/FigureSlots.h"

#include "chart/AxisPixel.h"

namespace kelo::detail {

FigureSlots MakeFigureSlots(const CRect& rect, int lineOffset, std::int32_t slots) {
  FigureSlots s;
  if (slots == 0) return s;
  s.valid = true;
  s.x0 = NarrowSat32(static_cast<std::int64_t>(rect.left) + lineOffset);
  const std::int64_t usable =
      static_cast<std::int64_t>(rect.right) - 2 * static_cast<std::int64_t>(lineOffset) - rect.left;
  s.step = static_cast<double>(usable) / static_cast<double>(slots);
  return s;
}

}  // namespace kelo::detail
