// Grouped bars: up to three adjacent bars per group slot, one brush per series, standing on
// the bottom edge; the layered chart with its base, data and appended layer, the appended
// groups drawn in their own brushes over the main ones.
#include <kelochart/bar/KeloBaseBar.h>

#include <kelochart/services/KeloPalette.h>

#include "bar/BarGeometry.h"
#include "chart/AxisPixel.h"
#include "chart/ChartLayers.h"

using kelo::detail::NarrowSat32;

namespace {

COLORREF Background() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }

}  // namespace

void CKeloBaseBar::DrawMultiBar(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                std::int32_t groupCount, std::vector<BarGroupData> groups) {
  if (pDC == nullptr || maxValue == minValue) return;
  const double scale = static_cast<double>(static_cast<std::int64_t>(rect.bottom) - rect.top - horizontalLineOffset) /
                       static_cast<double>(static_cast<std::int64_t>(maxValue) - minValue);
  const kelo::detail::GroupLayout layout = kelo::detail::LayoutGroups(rect, lineOffset, groupCount, multiBarSize);
  if (!layout.valid) return;
  Gdiplus::Graphics graphics(pDC);
  const std::int64_t width = layout.barWidth;
  const auto fill = [&](Gdiplus::SolidBrush* brush, std::int64_t left, std::int32_t value) {
    const int top = kelo::detail::GroupBarTop(value, rect.bottom, scale);
    graphics.FillRectangle(brush, NarrowSat32(left), top, NarrowSat32(width),
                           NarrowSat32(static_cast<std::int64_t>(rect.bottom) - top));
  };
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const std::int64_t x1 = kelo::detail::GroupBarLeft(layout, i);
    const std::int64_t x2 = x1 + width;
    fill(barBrushes[0], x1, groups[i].value1);
    if (multiBarSize > 1) fill(barBrushes[1], x2, groups[i].value2);
    if (multiBarSize == 3) fill(barBrushes[2], x2 + width, groups[i].value3);
  }
}

void CKeloBaseBar::UpdateMultiBarData(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                      std::int32_t groupCount, std::vector<BarGroupData> groups) {
  if (pDC == nullptr) return;
  kelo::detail::EnsureLayer(dataBmp, pDC, rect, "bar.data");
  const CRect plot = PlotRect(rect);
  kelo::detail::LayerDC memory(pDC, dataBmp);
  CDC* dc = memory.Get();
  if (dc == nullptr) return;
  dc->FillSolidRect(&rect, Background());
  DrawMultiBar(dc, plot, maxValue, minValue, groupCount, std::move(groups));
}

void CKeloBaseBar::DrawAppendedMultiBarData(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                            std::int32_t groupCount) {
  if (pDC == nullptr) return;
  kelo::detail::EnsureLayer(appendedBmp, pDC, rect, "bar.appended");
  const CRect plot = PlotRect(rect);
  kelo::detail::LayerDC memory(pDC, appendedBmp);
  CDC* dc = memory.Get();
  if (dc == nullptr) return;
  dc->FillSolidRect(&rect, Background());
  // The appended groups borrow the first three bar brushes for one drawing.
  Gdiplus::SolidBrush* const saved[3] = {barBrushes[0], barBrushes[1], barBrushes[2]};
  SetBarColors(0, appendedBrush1);
  SetBarColors(1, appendedBrush2);
  SetBarColors(2, appendedBrush3);
  DrawMultiBar(dc, plot, maxValue, minValue, groupCount, appendedBarData);
  SetBarColors(0, saved[0]);
  SetBarColors(1, saved[1]);
  SetBarColors(2, saved[2]);
}

void CKeloBaseBar::DrawEasyMultiBarChart(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                         std::int32_t groupCount, std::vector<BarGroupData> groups,
                                         std::int32_t divisor) {
  if (pDC == nullptr) return;
  const CRect plot = PlotRect(rect);
  if (plot.IsRectEmpty()) {
    pDC->FillSolidRect(&rect, Background());
    return;
  }
  if (baseChanged != 0) {
    kelo::detail::EnsureLayer(baseBmp, pDC, rect, "bar.base");
    {
      kelo::detail::LayerDC memory(pDC, baseBmp);
      if (CDC* dc = memory.Get()) {
        dc->FillSolidRect(&rect, Background());
        DrawBase(dc, plot, maxValue, minValue, horizontalOffset, 1, showYRightInfor, divisor);
      }
    }
    UpdateMultiBarData(pDC, rect, maxValue, minValue, groupCount, std::move(groups));
    if (showAppendedBmp != 0) DrawAppendedMultiBarData(pDC, rect, maxValue, minValue, groupCount);
    baseChanged = 0;
  }
  CRect target = rect;
  BindBmp(pDC, target);
}
