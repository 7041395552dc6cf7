// Figure curves: line charts of a plain series, one value per x slot. The linear forms map
// min .. max to the bottom .. top edge and remember the series' x geometry; the divided
// forms split the height at a base value (SplitPriceScale.h). The single-colour forms draw
// in the default pen, the direction-coloured forms in the up or down pen by each value
// against the one before it.
#include <kelochart/curve/KeloBaseCurve.h>

#include <cstdint>

#include "chart/AxisPixel.h"
#include "curve/FigureSlots.h"
#include "curve/SplitPriceScale.h"

using kelo::detail::TruncSat32;

namespace {

// The pen of a value against the one before it; equal values keep the current direction.
class DirectionPens {
 public:
  DirectionPens(const Gdiplus::Pen& up, const Gdiplus::Pen& down, std::int32_t first)
      : up_(up), down_(down), prev_(first) {}
  const Gdiplus::Pen* Next(std::int32_t value) {
    if (value > prev_) rising_ = true;
    if (value < prev_) rising_ = false;
    prev_ = value;
    return rising_ ? &up_ : &down_;
  }

 private:
  const Gdiplus::Pen& up_;
  const Gdiplus::Pen& down_;
  std::int32_t prev_;
  bool rising_ = true;
};

bool Within(std::int32_t value, std::int32_t low, std::int32_t high) { return low <= value && value <= high; }

// The linear figure curve shared by both pens: pens is null for the single-colour form.
void DrawLinearFigure(Gdiplus::Graphics& graphics, const CRect& rect, const kelo::detail::FigureSlots& slots,
                      std::int32_t maxValue, std::int32_t minValue, const std::vector<std::int32_t>& values,
                      int fromMiddle, const Gdiplus::Pen& single, DirectionPens* pens) {
  const std::int64_t span = static_cast<std::int64_t>(maxValue) - minValue;
  const double yScale = kelo::detail::RectHeight(rect) / static_cast<double>(span);
  const double bottom = static_cast<double>(rect.bottom);
  auto yOf = [&](std::int64_t d) { return TruncSat32(bottom - static_cast<double>(d) * yScale); };

  int prevX = slots.x0;
  int prevY = yOf(fromMiddle != 0 ? span / 2 : static_cast<std::int64_t>(values[0]) - minValue);
  for (std::size_t i = fromMiddle != 0 ? 0 : 1; i < values.size(); ++i) {
    const std::int32_t v = values[i];
    const int x = TruncSat32(slots.X(static_cast<std::int64_t>(i)));
    const int y = yOf(static_cast<std::int64_t>(v) - minValue);
    const Gdiplus::Pen* pen = pens != nullptr ? pens->Next(v) : &single;
    if (Within(v, minValue, maxValue)) graphics.DrawLine(pen, prevX, prevY, x, y);
    prevX = x;
    prevY = y;
  }
}

// The divided figure curve: float points, the base value on the exact middle line.
void DrawDividedFigure(Gdiplus::Graphics& graphics, const CRect& rect, int lineOffset,
                       const CKeloBaseChart::_SDataInfor& info, int leadingValue, const Gdiplus::Pen& single,
                       bool coloured, const Gdiplus::Pen& up, const Gdiplus::Pen& down) {
  const std::vector<std::int32_t>& values = info.values;
  const kelo::detail::FigureSlots slots = kelo::detail::MakeFigureSlots(rect, lineOffset, info.totalCount);
  const kelo::detail::SplitPriceScale scale = kelo::detail::SplitPriceScale::Make(
      rect, info.maxValue, info.baseValue, info.minValue, kelo::detail::SplitPriceScale::kExactMiddle);
  DirectionPens pens(up, down, values[0]);
  Gdiplus::PointF prev(static_cast<float>(slots.x0), static_cast<float>(scale.YD(values[0])));
  for (std::size_t k = 1; k < values.size(); ++k) {
    const std::int64_t j = leadingValue == 0 ? static_cast<std::int64_t>(k) : static_cast<std::int64_t>(k) - 1;
    const Gdiplus::PointF point(static_cast<float>(slots.X(j)), static_cast<float>(scale.YD(values[k])));
    const Gdiplus::Pen* pen = coloured ? pens.Next(values[k]) : &single;
    if (Within(values[k], info.minValue, info.maxValue)) graphics.DrawLine(pen, prev, point);
    prev = point;
  }
}

// The divided forms draw nothing for a base outside the range, an empty range, no slots or
// fewer than two values.
bool DividedDrawable(const CKeloBaseChart::_SDataInfor& info) {
  if (info.maxValue < info.baseValue || info.baseValue < info.minValue || info.maxValue == info.minValue) return false;
  return info.totalCount != 0 && info.values.size() > 1;
}

}  // namespace

void CKeloBaseCurve::DrawFigureCurve(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                     std::int32_t slotCount, const std::vector<std::int32_t>& values, int fromMiddle) {
  DrawLinearFigureCurve(dc, rect, maxValue, minValue, slotCount, values, fromMiddle, false);
}

void CKeloBaseCurve::DrawFigureCurveEx(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                       std::int32_t slotCount, const std::vector<std::int32_t>& values,
                                       int fromMiddle) {
  DrawLinearFigureCurve(dc, rect, maxValue, minValue, slotCount, values, fromMiddle, true);
}

void CKeloBaseCurve::DrawLinearFigureCurve(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                           std::int32_t slotCount, const std::vector<std::int32_t>& values,
                                           int fromMiddle, bool byDirection) {
  if (dc == nullptr || maxValue == minValue || values.empty()) return;
  const kelo::detail::FigureSlots slots = kelo::detail::MakeFigureSlots(rect, lineOffset, slotCount);
  if (!slots.valid) return;
  xRatio = slots.step;
  firstTickPos = slots.x0;
  endTickPos = TruncSat32(static_cast<double>(values.size() - 1) * xRatio + slots.x0);
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  DirectionPens pens(upCurvePen, downCurvePen, values[0]);
  DrawLinearFigure(graphics, rect, slots, maxValue, minValue, values, fromMiddle, defaultCurvePen,
                   byDirection ? &pens : nullptr);
}

void CKeloBaseCurve::DrawDivideFigureCurve(CDC* dc, const CRect& rect, _SDataInfor info, int leadingValue) {
  if (dc == nullptr || !DividedDrawable(info)) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  DrawDividedFigure(graphics, rect, lineOffset, info, leadingValue, defaultCurvePen, false, upCurvePen, downCurvePen);
}

void CKeloBaseCurve::DrawDivideFigureUpDownCurve(CDC* dc, const CRect& rect, _SDataInfor info, int leadingValue) {
  if (dc == nullptr || !DividedDrawable(info)) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  DrawDividedFigure(graphics, rect, lineOffset, info, leadingValue, defaultCurvePen, true, upCurvePen, downCurvePen);
}
