// The split price scale of the tick-price curve and the divided figure curves.
#include "curve/SplitPriceScale.h"

#include "chart/AxisPixel.h"

namespace kelo::detail {

SplitPriceScale SplitPriceScale::Make(const CRect& rect, std::int32_t maxPrice, std::int32_t refPrice,
                                      std::int32_t minPrice, Middle middle) {
  SplitPriceScale s;
  s.half = RectHeight(rect) * 0.5;
  const std::int64_t upSpan = static_cast<std::int64_t>(maxPrice) - refPrice;
  const std::int64_t downSpan = static_cast<std::int64_t>(refPrice) - minPrice;
  s.flatUp = upSpan == 0;
  s.flatDown = downSpan == 0;
  s.scaleUp = s.flatUp ? 0.0 : s.half / static_cast<double>(upSpan);
  s.scaleDown = s.flatDown ? 0.0 : s.half / static_cast<double>(downSpan);
  const double middleLine = static_cast<double>(rect.top) + s.half;
  s.yMid = TruncSat32(middleLine);
  s.yMidD = middle == kTruncatedMiddle ? static_cast<double>(s.yMid) : middleLine;
  s.refPrice = refPrice;
  s.top = static_cast<double>(rect.top);
  s.bottom = static_cast<double>(rect.bottom);
  return s;
}

double SplitPriceScale::YD(std::int32_t price) const {
  const std::int64_t delta = static_cast<std::int64_t>(price) - refPrice;
  if (delta >= 0) {
    if (flatUp && delta > 0) return top;
    return yMidD - static_cast<double>(delta) * scaleUp;
  }
  if (flatDown) return bottom;
  return yMidD + static_cast<double>(-delta) * scaleDown;
}

std::int32_t SplitPriceScale::Y(std::int32_t price) const { return TruncSat32(YD(price)); }

}  // namespace kelo::detail
