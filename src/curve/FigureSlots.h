// The x positions of the figure curves: slot j of a series stands at x0 + j * step, x0 half
// a grid cell (the frame's lineOffset) right of the left edge and step the width between
// the two insets divided by the number of slots.
#pragma once

#include <cstdint>

#include <kelochart/surface/Rect.h>

namespace kelo::detail {

struct FigureSlots {
  bool valid = false;  // false for a slot count of 0: there is no slot width
  int x0 = 0;
  double step = 0.0;
  // The x of slot j before any truncation.
  double X(std::int64_t j) const { return static_cast<double>(x0) + static_cast<double>(j) * step; }
};

FigureSlots MakeFigureSlots(const CRect& rect, int lineOffset, std::int32_t slots);

}  // namespace kelo::detail
