// Value bar charts: the bar frame (DrawBase, DrawBaseL), plain bars, bars coloured by
// inner/outer state, bars on the by-ratio height scale, up/down bars around a middle zero
// line, and the layered up/down chart.
#include <kelochart/bar/KeloBaseBar.h>

#include <algorithm>
#include <cmath>

#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>

#include "bar/BarGeometry.h"
#include "chart/AxisPixel.h"
#include "chart/ChartLayers.h"

using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat32;

namespace {

CKeloPalette& Palette() { return CKeloUIObjectSingletonPool::Instance()->palette; }

// Pixels per value unit over a usable height and a value range, both taken in 64 bits.
double Scale(std::int64_t height, std::int32_t maxValue, std::int32_t minValue) {
  return static_cast<double>(height) / static_cast<double>(static_cast<std::int64_t>(maxValue) - minValue);
}

std::int64_t Height(const CRect& rect) { return static_cast<std::int64_t>(rect.bottom) - rect.top; }

// A divisor of 0 labels the values undivided: dividing would give infinite labels.
std::int64_t Divisor(std::int32_t divisor) { return divisor == 0 ? 1 : divisor; }

// Selects the chart font (and, for the frame drawings, transparent text) and the caller's
// font back at the end.
class FontScope {
 public:
  FontScope(CDC* dc, CFont* font, bool transparent) : dc_(dc), previous_(dc->SelectObject(font)) {
    if (transparent) dc_->SetBkMode(TRANSPARENT);
  }
  ~FontScope() {
    if (previous_ != nullptr) dc_->SelectObject(previous_);
  }
  FontScope(const FontScope&) = delete;
  FontScope& operator=(const FontScope&) = delete;

 private:
  CDC* dc_;
  CFont* previous_;
};

}  // namespace

void CKeloBaseBar::DrawBase(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue, int topInset,
                            int drawLeft, int drawRight, std::int32_t divisor) {
  if (pDC == nullptr) return;
  FontScope scope(pDC, font, true);
  DrawYGrid(pDC, rect, barYCells, topInset);
  if (yTextBeDoubleValue != 0) {
    const double d = static_cast<double>(Divisor(divisor));
    DrawYGridText(pDC, rect, maxValue / d, minValue / d);
  } else {
    // Integer divisions in 64 bits: INT32_MIN / -1 stays defined.
    const std::int64_t d = Divisor(divisor);
    DrawHorizontalText(pDC, rect, maxValue / d, minValue / d, barYCells, drawLeft, drawRight, topInset, 0, 0,
                       0xFFFFFFFFu);
  }
  if (showXGrid != 0) {
    DrawXSubXGrid(pDC, rect, barXCells, 1);
    DrawXGridText(pDC, rect, 1);
  } else {
    DrawXGridTextString(pDC, rect, 0);
  }
  DrawAxis(pDC, rect);
}

void CKeloBaseBar::DrawBaseL(CDC* pDC, const CRect& rect, std::int32_t slotCount) {
  if (pDC == nullptr) return;
  FontScope scope(pDC, font, true);
  DrawHorizontalLine(pDC, rect, barYCells);
  DrawLeftBottomAxis(pDC, rect);
  DrawXGridTextString(pDC, rect, slotCount);
}

void CKeloBaseBar::DrawBarChart(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                std::int32_t slotCount, const std::vector<std::int32_t>& values) {
  if (pDC == nullptr || maxValue == minValue) return;
  UpdateBarPositions(rect, slotCount, values.size());
  Gdiplus::Graphics graphics(pDC);
  const double scale = Scale(Height(rect) - horizontalLineOffset, maxValue, minValue);
  const std::size_t count = std::min(values.size(), barPositions.size());
  for (std::size_t i = 0; i < count; ++i) {
    // A negative value stands like its absolute value, in the same brush.
    const int top = TruncSat32(rect.bottom - std::fabs(static_cast<double>(values[i])) * scale);
    const auto [left, right] = barPositions[i];
    graphics.FillRectangle(barBrushes[0], left, top, NarrowSat32(static_cast<std::int64_t>(right) - left),
                           NarrowSat32(static_cast<std::int64_t>(rect.bottom) - top));
  }
}

void CKeloBaseBar::DrawBarChartWithState(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                         std::int32_t slotCount, std::vector<VolumeInOut>& values) {
  if (pDC == nullptr || values.empty() || maxValue == minValue) return;
  UpdateBarPositions(rect, slotCount, values.size());
  const double scale = Scale(Height(rect) - horizontalLineOffset, maxValue, minValue);
  const auto& table = Palette().colorTable;
  const std::size_t count = std::min(values.size(), barPositions.size());
  for (std::size_t i = 0; i < count; ++i) {
    const int top = TruncSat32(rect.bottom - values[i].volume * scale);
    const CRect bar(barPositions[i].first, top, barPositions[i].second, rect.bottom);
    pDC->FillSolidRect(&bar, values[i].state == 1 ? table[19] : table[17]);
  }
  // Paints nothing; leaves bkColor as the DC's background colour.
  pDC->FillSolidRect(CRect(0, 0, 0, 0), bkColor);
}

void CKeloBaseBar::DrawBarChartByRatio(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t,
                                       std::int32_t stepCount, std::int32_t slotCount,
                                       const std::vector<std::int32_t>& values, COLORREF color) {
  if (pDC == nullptr) return;
  std::vector<std::int32_t> scale;
  KeloUtility::FindFitScale(static_cast<double>(maxValue), scale);
  UpdateBarPositions(rect, slotCount, values.size());
  // A step count of 0 has no step height: no bar, like an empty fit scale.
  if (!values.empty() && !scale.empty() && stepCount != 0) {
    const double step = static_cast<double>(Height(rect) - horizontalLineOffset) / stepCount;
    const std::size_t count = std::min(values.size(), barPositions.size());
    for (std::size_t i = 0; i < count; ++i) {
      const std::int32_t h = kelo::detail::RatioHeight(values[i], scale, scale.size(), step);
      const CRect bar(barPositions[i].first, NarrowSat32(static_cast<std::int64_t>(rect.bottom) - h),
                      barPositions[i].second, rect.bottom);
      pDC->FillSolidRect(&bar, color);
    }
  }
  pDC->FillSolidRect(CRect(0, 0, 0, 0), bkColor);
}

int CKeloBaseBar::DrawBarCharByRatiotWithState(CDC* pDC, const CRect& rect, std::int32_t maxValue,
                                               std::int32_t stepCount, std::int32_t slotCount,
                                               std::vector<VolumeInOut>& values) {
  if (pDC == nullptr) return 0;
  std::vector<std::int32_t> scale;
  KeloUtility::FindFitScale(static_cast<double>(maxValue), scale);
  if (scale.empty() || stepCount == 0) return 0;
  UpdateBarPositions(rect, slotCount, values.size());
  Gdiplus::Graphics graphics(pDC);
  Gdiplus::SolidBrush* inner = Palette().GetGPBrushByIndex(CKeloPalette::kState1BarBrush);
  Gdiplus::SolidBrush* outer = Palette().GetGPBrushByIndex(CKeloPalette::kState0BarBrush);
  const double step = static_cast<double>(Height(rect) - horizontalLineOffset) / stepCount;
  const std::size_t count = std::min(values.size(), barPositions.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::int32_t h = kelo::detail::RatioHeight(values[i].volume, scale, scale.size(), step);
    const auto [left, right] = barPositions[i];
    graphics.FillRectangle(values[i].state == 1 ? inner : outer, left,
                           NarrowSat32(static_cast<std::int64_t>(rect.bottom) - h),
                           NarrowSat32(static_cast<std::int64_t>(right) - left), h);
  }
  return 1;
}

void CKeloBaseBar::DrawBarChartUpDown(CDC* pDC, const CRect& rect, _SDataInfor data) {
  if (pDC == nullptr || data.maxValue == data.minValue) return;
  UpdateBarPositions(rect, data.totalCount, data.values.size());
  const std::int64_t height = Height(rect);
  const int midY = TruncSat32(rect.bottom - 0.5 * static_cast<double>(height));
  const double scale = Scale(height, data.maxValue, data.minValue);
  const COLORREF zeroColor = Palette().colorTable[CKeloPalette::kReferenceColor];
  const std::size_t count = std::min(data.values.size(), barPositions.size());
  for (std::size_t i = 0; i < count; ++i) {
    const auto rows = kelo::detail::UpDownBarRows(data.values[i], midY, scale);
    const auto [left, right] = kelo::detail::UpDownBarColumns(barPositions[i]);
    const COLORREF color = rows.kind == kelo::detail::UpDownRows::kUp     ? upBarColor
                           : rows.kind == kelo::detail::UpDownRows::kDown ? downBarColor
                                                                          : zeroColor;
    const CRect bar(left, rows.top, right, rows.bottom);
    pDC->FillSolidRect(&bar, color);
  }
  pDC->FillSolidRect(CRect(0, 0, 0, 0), bkColor);
}

void CKeloBaseBar::UpdateUpDownBarChart(CDC* pDC, const CRect& rect, _SDataInfor data) {
  if (pDC == nullptr) return;
  kelo::detail::EnsureLayer(dataBmp, pDC, rect, "bar.data");
  const CRect plot = PlotRect(rect);
  kelo::detail::LayerDC memory(pDC, dataBmp);
  CDC* dc = memory.Get();
  if (dc == nullptr) return;
  dc->FillSolidRect(&rect, Palette().GetLayoutColor(4));
  const double maxValue = data.maxValue;
  const double minValue = data.minValue;
  // A price scale of 0 labels the values unscaled instead of dividing by zero.
  const double divisor = data.priceScale == 0 ? 1.0 : static_cast<double>(data.priceScale);
  DrawBarChartUpDown(dc, plot, std::move(data));
  // The symmetric labels change with the data, so they belong to the data layer.
  FontScope scope(dc, font, false);
  DrawSymYGridText(dc, plot, maxValue / divisor, minValue / divisor,
                   NarrowSat32(static_cast<std::int64_t>(barYCells) + 1));
}

void CKeloBaseBar::DrawEasyUpDownBarChart(CDC* pDC, const CRect& rect, _SDataInfor data) {
  if (pDC == nullptr) return;
  const CRect plot = PlotRect(rect);
  if (plot.IsRectEmpty()) {
    pDC->FillSolidRect(&rect, Palette().GetLayoutColor(4));
    return;
  }
  if (baseChanged != 0) {
    kelo::detail::EnsureLayer(baseBmp, pDC, rect, "bar.base");
    {
      kelo::detail::LayerDC memory(pDC, baseBmp);
      if (CDC* dc = memory.Get()) {
        dc->FillSolidRect(&rect, Palette().GetLayoutColor(4));
        DrawBaseL(dc, plot, data.totalCount);
      }
    }
    UpdateUpDownBarChart(pDC, rect, data);
    baseChanged = 0;
  }
  CRect target = rect;
  BindBmp(pDC, target);
}
