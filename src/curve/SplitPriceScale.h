// The split price scale of the curves: the reference (or base) value lies on the middle
// line, the upper half maps reference .. max and the lower half min .. reference, each on its
// own scale and both measured from the middle line. The tick-price curve anchors on the
// middle line cut to a whole pixel; the divided figure curves on the exact middle.
//
// The frame's reference-price axis has a split scale too (chart/YLabelLayout.h,
// PriceAxisSplitScale), but it keeps the exact middle and measures the lower half up from
// the bottom edge, so on an odd-height plot a price just above or below the reference can
// land one pixel apart on the two (see the curve tests).
#pragma once

#include <cstdint>

#include <kelochart/surface/Rect.h>

namespace kelo::detail {

struct SplitPriceScale {
  enum Middle { kTruncatedMiddle, kExactMiddle };

  double half = 0.0;
  double scaleUp = 0.0;    // pixels per price unit above the reference; 0 for a flat half
  double scaleDown = 0.0;  // below it
  std::int32_t yMid = 0;   // the middle line as a pixel
  double yMidD = 0.0;      // the middle line the prices are measured from
  std::int32_t refPrice = 0;
  double top = 0.0;
  double bottom = 0.0;
  bool flatUp = false;    // max = reference: the upper half has no span
  bool flatDown = false;  // min = reference

  // For min <= ref <= max with min < max, as the drawings check first.
  static SplitPriceScale Make(const CRect& rect, std::int32_t maxPrice, std::int32_t refPrice, std::int32_t minPrice,
                              Middle middle);

  // The unrounded y of a price. A price in a half without span lies beyond the range, so it
  // is put on that half's edge of the rectangle: never an infinite or NaN coordinate.
  double YD(std::int32_t price) const;
  // The pixel y: YD cut toward zero (saturated at the 32-bit ends).
  std::int32_t Y(std::int32_t price) const;
};

}  // namespace kelo::detail
