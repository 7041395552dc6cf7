// Curve groups: figure curves sharing one value range, drawn in the numbered curve colours
// on a data layer over a base layer (background, grid, x labels, axes), composed onto the
// target on every paint. The layers are repainted only after a size or base change; new
// data reaches the data layer through the Update operations alone. Also the combined
// tick-price curves, each in one colour.
#include <kelochart/curve/KeloBaseCurve.h>

#include <cstdint>

#include <kelochart/services/KeloPalette.h>

#include "chart/AxisPixel.h"
#include "chart/ChartLayers.h"

namespace {

COLORREF LayerBackground() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }

// The value labels of a pane: a maximum that is not a whole multiple of the scale gets
// decimal labels, a whole one the short left-side labels of the reference lines.
void DrawGroupValueLabels(CKeloBaseChart& chart, CDC* dc, const CRect& plot, std::int32_t maxValue,
                          std::int32_t minValue, std::int32_t priceScale, std::int32_t yCells) {
  // 64-bit division: a hostile minimum over -1 must not overflow.
  const std::int64_t scale = priceScale;
  if (static_cast<std::int64_t>(maxValue) % scale != 0) {
    chart.DrawYGridText(dc, plot, static_cast<double>(maxValue) / static_cast<double>(priceScale),
                        static_cast<double>(minValue) / static_cast<double>(priceScale));
  } else {
    chart.DrawHorizontalText(dc, plot, maxValue / scale, minValue / scale, yCells, 1, 0, 0, 0, 0, 0xFFFFFFFF);
  }
}

}  // namespace

template <class PaintBase, class PaintData>
void CKeloBaseCurve::ComposeGroupLayers(CDC* dc, const CRect& rect, PaintBase paintBase, PaintData paintData) {
  if (baseChanged != 0) {
    kelo::detail::EnsureLayer(baseBmp, dc, rect, "curve.base");
    {
      kelo::detail::LayerDC base(dc, baseBmp);
      if (CDC* memory = base.Get()) {
        memory->FillSolidRect(rect, LayerBackground());
        paintBase(memory);
      }
    }
    paintData();
    baseChanged = 0;
  }
  BindBmp(dc, rect);
}

void CKeloBaseCurve::DrawEasyCurveGroupChart(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                             std::int32_t slotCount,
                                             const std::vector<std::vector<std::int32_t>>& curves,
                                             std::int32_t priceScale) {
  DrawCurveGroupLayers(dc, rect, maxValue, minValue, slotCount, curves, priceScale, std::nullopt);
}

void CKeloBaseCurve::DrawEasyCurveGroupChartNew(CDC* dc, const CRect& rect, std::int32_t maxValue,
                                                std::int32_t minValue, std::int32_t slotCount,
                                                const std::vector<std::vector<std::int32_t>>& curves,
                                                std::int32_t priceScale, int secondsPerUnit) {
  DrawCurveGroupLayers(dc, rect, maxValue, minValue, slotCount, curves, priceScale, secondsPerUnit);
}

void CKeloBaseCurve::DrawCurveGroupLayers(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                          std::int32_t slotCount, const std::vector<std::vector<std::int32_t>>& curves,
                                          std::int32_t priceScale, std::optional<int> secondsPerUnit) {
  if (dc == nullptr || priceScale == 0) return;
  const CRect plot = PlotRect(rect);
  if (plot.IsRectEmpty()) {
    dc->FillSolidRect(rect, LayerBackground());
    return;
  }
  ComposeGroupLayers(
      dc, rect,
      [&](CDC* memory) {
        if (secondsPerUnit) {
          DrawBaseNew(memory, plot, 0, *secondsPerUnit, slotCount, 0);
        } else {
          DrawBase(memory, plot, 0, 0);
        }
      },
      [&] { UpdateCurveGroupData(dc, rect, maxValue, minValue, slotCount, curves, priceScale); });
}

void CKeloBaseCurve::UpdateCurveGroupData(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                          std::int32_t slotCount, const std::vector<std::vector<std::int32_t>>& curves,
                                          std::int32_t priceScale) {
  if (dc == nullptr || priceScale == 0) return;
  kelo::detail::EnsureLayer(curveBmp, dc, rect, "curve.data");
  const CRect plot = PlotRect(rect);
  if (plot.IsRectEmpty()) return;
  kelo::detail::LayerDC data(dc, curveBmp);
  CDC* memory = data.Get();
  if (memory == nullptr) return;
  memory->FillSolidRect(rect, LayerBackground());
  CFont* previous = memory->SelectObject(font);
  DrawGroupValueLabels(*this, memory, plot, maxValue, minValue, priceScale, curveYCells);
  for (std::size_t j = 0; j < curves.size(); ++j) {
    defaultCurvePen.SetColor(curveStyles[j % curveStyles.size()].color);
    DrawFigureCurve(memory, plot, maxValue, minValue, slotCount, curves[j], 0);
  }
  memory->SelectObject(previous);
}

void CKeloBaseCurve::DrawEasyCurveGroupChartEx(CDC* dc, const CRect& rect, const std::vector<SGroupCurveEx>& groups) {
  if (dc == nullptr || groups.empty()) return;
  if (rect.IsRectEmpty()) {
    dc->FillSolidRect(rect, LayerBackground());
    return;
  }
  ComposeGroupLayers(
      dc, rect,
      [&](CDC* memory) {
        for (const SGroupCurveEx& g : groups) {
          SetYCells(g.paneYCells);
          DrawBase(memory, PlotRect(g.rect), 0, 0);
        }
      },
      [&] { UpdateCurveGroupDataEx(dc, rect, groups); });
}

void CKeloBaseCurve::UpdateCurveGroupDataEx(CDC* dc, const CRect& rect, const std::vector<SGroupCurveEx>& groups) {
  if (dc == nullptr || groups.empty()) return;
  kelo::detail::EnsureLayer(curveBmp, dc, rect, "curve.data");
  kelo::detail::LayerDC data(dc, curveBmp);
  CDC* memory = data.Get();
  if (memory == nullptr) return;
  memory->FillSolidRect(rect, LayerBackground());
  CFont* previous = memory->SelectObject(font);
  for (const SGroupCurveEx& g : groups) {
    const CRect pane = PlotRect(g.rect);
    if (pane.IsRectEmpty() || g.priceScale == 0) continue;
    SetYCells(g.paneYCells);
    SetLeftUnit(g.leftUnit, 0);
    DrawGroupValueLabels(*this, memory, pane, g.maxValue, g.minValue, g.priceScale, curveYCells);
    for (std::size_t j = 0; j < g.curves.size(); ++j) {
      defaultCurvePen.SetColor(curveStyles[j % curveStyles.size()].color);
      // Half a grid cell of this pane; without cells there is no half cell to keep.
      lineOffset =
          curveXCells == 0
              ? 0
              : kelo::detail::TruncSat32(static_cast<double>(kelo::detail::RectWidth(pane)) / curveXCells * 0.5);
      DrawFigureCurve(memory, pane, g.maxValue, g.minValue, g.slotCount, g.curves[j], 0);
    }
  }
  memory->SelectObject(previous);
}

void CKeloBaseCurve::DrawTickPriceCombine(CDC* dc, std::deque<CurveCombine> combos) {
  for (const CurveCombine& c : combos) DrawTickPrice(dc, c.rect, c.range, c.prices, c.color, c.gapSeconds, c.markMode);
}
