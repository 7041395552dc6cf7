// The bar object: construction from the palette pool's defaults, the setters of cells,
// colours, brushes, flags and GDI+ pens, the margins cached in pixels, the bar-position
// cache and the composition of the three layers.
#include <kelochart/bar/KeloBaseBar.h>

#include <kelochart/services/KeloPalette.h>

#include "bar/BarGeometry.h"
#include "chart/AxisPixel.h"
#include "chart/ChartLayers.h"

namespace {

CKeloPalette& Palette() { return CKeloUIObjectSingletonPool::Instance()->palette; }

// A pen of the palette's ARGB colour-table entry, solid.
Gdiplus::Pen TablePen(unsigned entry, float width) {
  return Gdiplus::Pen(Gdiplus::Color(Palette().colorTable[entry]), width);
}

void SetStyle(Gdiplus::Pen& pen, Gdiplus::DashStyle style, float width) {
  pen.SetDashStyle(style);
  pen.SetWidth(width);
}

Gdiplus::Color ColorOf(const Gdiplus::Pen& pen) {
  Gdiplus::Color color;
  if (pen.GetColor(&color) != Gdiplus::Ok) return Gdiplus::Color(0xFF000000);
  return color;
}

}  // namespace

CKeloBaseBar::CKeloBaseBar()
    : bkColor(Palette().GetLayoutColor(4)), downBarColor(Palette().colorTable[CKeloPalette::kDownBarColor]),
      upBarColor(Palette().colorTable[CKeloPalette::kUpBarColor]),
      appendedBrush1(Palette().GetGPBrushByIndex(CKeloPalette::kAppendedBarBrush)),
      appendedBrush2(Palette().GetGPBrushByIndex(CKeloPalette::kAppendedBarBrush)),
      appendedBrush3(Palette().GetGPBrushByIndex(CKeloPalette::kAppendedBarBrush)),
      innerBarPen(TablePen(CKeloPalette::kInnerTickPen, 1.5f)),
      outerBarPen(TablePen(CKeloPalette::kOuterTickPen, 1.5f)),
      nonConfirmBarPen(TablePen(CKeloPalette::kNeutralTickPen, 1.5f)),
      upBarPen(TablePen(CKeloPalette::kUpDifferencePen, 1.5f)),
      downBarPen(TablePen(CKeloPalette::kDownDifferencePen, 1.5f)),
      volumeBarPen(TablePen(CKeloPalette::kTickVolumePen, 1.5f)),
      valueBarPen(TablePen(CKeloPalette::kTickValuePen, 1.5f)),
      curvePen1(TablePen(CKeloPalette::kUpDownCurve1Pen, 1.6f)),
      curvePen2(TablePen(CKeloPalette::kUpDownCurve2Pen, 1.6f)) {
  barBrushes.reserve(5);
  PrepareDefaultBarColors();
  bmpDeflateLeft = 6;
  bmpDeflateRight = 6;
  bmpDeflateTop = 1;
  bmpDeflateBottom = 2;
  RecalculatePixelMargins();
}

CKeloBaseBar::~CKeloBaseBar() {
  dataBmp.DeleteObject();
  baseBmp.DeleteObject();
  appendedBmp.DeleteObject();
}

void CKeloBaseBar::PrepareDefaultBarColors() {
  barBrushes.clear();
  for (unsigned index : {CKeloPalette::kGroupBar1Brush, CKeloPalette::kGroupBar2Brush, CKeloPalette::kGroupBar3Brush,
                         CKeloPalette::kAppendedBarBrush, CKeloPalette::kGroupBar5Brush}) {
    barBrushes.push_back(Palette().GetGPBrushByIndex(index));
  }
}

void CKeloBaseBar::RecalculatePixelMargins() {
  // The frame's own products, 64-bit and saturated: margins and cells come unchecked.
  CKeloBaseChart::GetBmpDeflatePixel(bmpDeflateLeftPixels, bmpDeflateTopPixels, bmpDeflateRightPixels,
                                     bmpDeflateBottomPixels);
}

CRect CKeloBaseBar::PlotRect(const CRect& rect) const {
  using kelo::detail::NarrowSat32;
  return CRect(NarrowSat32(static_cast<std::int64_t>(rect.left) + bmpDeflateLeftPixels),
               NarrowSat32(static_cast<std::int64_t>(rect.top) + bmpDeflateTopPixels),
               NarrowSat32(static_cast<std::int64_t>(rect.right) - bmpDeflateRightPixels),
               NarrowSat32(static_cast<std::int64_t>(rect.bottom) - bmpDeflateBottomPixels));
}

// ---- frame operations ----

void CKeloBaseBar::SetFontSize(std::int32_t height, std::int32_t width) {
  CKeloBaseChart::SetFontSize(height, width);
  RecalculatePixelMargins();
}

void CKeloBaseBar::SetBmpDeflate(int left, int top, int right, int bottom) {
  CKeloBaseChart::SetBmpDeflate(left, top, right, bottom);
  RecalculatePixelMargins();
}

void CKeloBaseBar::GetBmpDeflatePixel(int& left, int& top, int& right, int& bottom) {
  left = bmpDeflateLeftPixels;
  top = bmpDeflateTopPixels;
  right = bmpDeflateRightPixels;
  bottom = bmpDeflateBottomPixels;
}

void CKeloBaseBar::SetXCells(int cells) {
  barXCells = cells;
  xCells = cells;
}

void CKeloBaseBar::SetYCells(int cells) {
  barYCells = cells;
  yCells = cells;
}

int CKeloBaseBar::GetYCells() const { return barYCells; }

// ---- colours, brushes, flags ----

void CKeloBaseBar::SetBkColor(COLORREF color) { bkColor = color; }

void CKeloBaseBar::SetUpDownBarColor(COLORREF up, COLORREF down) {
  upBarColor = up;
  downBarColor = down;
}

void CKeloBaseBar::SetBarColors(std::uint32_t index, Gdiplus::SolidBrush* brush) {
  if (index < barBrushes.size()) {
    barBrushes[index] = brush;
  } else {
    barBrushes.push_back(brush);
  }
}

void CKeloBaseBar::SetMultiBarSize(std::uint32_t size) { multiBarSize = size < 3 ? size : 3; }
void CKeloBaseBar::SetShowXGrid(int show) { showXGrid = show; }
void CKeloBaseBar::SetShowYRightInfor(int show) { showYRightInfor = show; }
void CKeloBaseBar::SetHorizontalOffset(int offset) { horizontalOffset = offset; }
void CKeloBaseBar::SetYTextBeDoubleValue(int asDouble) { yTextBeDoubleValue = asDouble; }
void CKeloBaseBar::ShowAppendedBmp(int show) { showAppendedBmp = show; }
void CKeloBaseBar::SetAppenedBarData(std::vector<BarGroupData> groups) { appendedBarData = std::move(groups); }

void CKeloBaseBar::SetAppenedBarColor(Gdiplus::SolidBrush* b1, Gdiplus::SolidBrush* b2, Gdiplus::SolidBrush* b3) {
  appendedBrush1 = b1;
  appendedBrush2 = b2;
  appendedBrush3 = b3;
}

// ---- pens ----

void CKeloBaseBar::SetInnerBarStyle(Gdiplus::DashStyle style, float width) { SetStyle(innerBarPen, style, width); }
void CKeloBaseBar::SetInnerBarColor(Gdiplus::Color color) { innerBarPen.SetColor(color); }
Gdiplus::Color CKeloBaseBar::GetInnerBarColor() { return ColorOf(innerBarPen); }
void CKeloBaseBar::SetOuterBarStyle(Gdiplus::DashStyle style, float width) { SetStyle(outerBarPen, style, width); }
void CKeloBaseBar::SetOuterBarColor(Gdiplus::Color color) { outerBarPen.SetColor(color); }
Gdiplus::Color CKeloBaseBar::GetOuterBarColor() { return ColorOf(outerBarPen); }
void CKeloBaseBar::SetNonConfirmBarStyle(Gdiplus::DashStyle style, float width) {
  SetStyle(nonConfirmBarPen, style, width);
}
void CKeloBaseBar::SetNonConfirmBarColor(Gdiplus::Color color) { nonConfirmBarPen.SetColor(color); }
Gdiplus::Color CKeloBaseBar::GetNonConfirmBarColor() { return ColorOf(nonConfirmBarPen); }
void CKeloBaseBar::SetUpBarStyle(Gdiplus::DashStyle style, float width) { SetStyle(upBarPen, style, width); }
void CKeloBaseBar::SetUpBarColor(Gdiplus::Color color) { upBarPen.SetColor(color); }
Gdiplus::Color CKeloBaseBar::GetUpBarColor() { return ColorOf(upBarPen); }
void CKeloBaseBar::SetDownBarStyle(Gdiplus::DashStyle style, float width) { SetStyle(downBarPen, style, width); }
void CKeloBaseBar::SetDownBarColor(Gdiplus::Color color) { downBarPen.SetColor(color); }
Gdiplus::Color CKeloBaseBar::GetDownBarColor() { return ColorOf(downBarPen); }
void CKeloBaseBar::SetVolumeBarStyle(Gdiplus::DashStyle style, float width) { SetStyle(volumeBarPen, style, width); }
void CKeloBaseBar::SetVolumeBarColor(Gdiplus::Color color) { volumeBarPen.SetColor(color); }
void CKeloBaseBar::SetValueBarStyle(Gdiplus::DashStyle style, float width) { SetStyle(valueBarPen, style, width); }
void CKeloBaseBar::SetValueBarColor(Gdiplus::Color color) { valueBarPen.SetColor(color); }
void CKeloBaseBar::SetVolumeCurveStyle(Gdiplus::DashStyle style, float width) { SetVolumeBarStyle(style, width); }
void CKeloBaseBar::SetVolumeCurveColor(Gdiplus::Color color) { SetVolumeBarColor(color); }
void CKeloBaseBar::SetValueCurveStyle(Gdiplus::DashStyle style, float width) { SetValueBarStyle(style, width); }
void CKeloBaseBar::SetValueCurveColor(Gdiplus::Color color) { SetValueBarColor(color); }

// ---- layers and caches ----

void CKeloBaseBar::OnChangeSize() {
  baseBmp.DeleteObject();
  dataBmp.DeleteObject();
  appendedBmp.DeleteObject();
  RecalculatePixelMargins();
  baseChanged = 1;
}

void CKeloBaseBar::ChangeBaseChart() { baseChanged = 1; }

void CKeloBaseBar::BindBmp(CDC* pDC, CRect& rect) {
  // A null DC has no target to compose onto, so nothing is composed (the layers are kept).
  if (showAppendedBmp != 0) {
    kelo::detail::BindLayers(pDC, rect, baseBmp, {&dataBmp, &appendedBmp});
  } else {
    kelo::detail::BindLayers(pDC, rect, baseBmp, {&dataBmp});
  }
}

void CKeloBaseBar::ReCalculateBarPos() {
  barPositions = kelo::detail::BarPositions(barRect, lineOffset, barSlotCount, barCount);
}

void CKeloBaseBar::UpdateBarPositions(const CRect& rect, std::int32_t slotCount, std::size_t count) {
  const std::int32_t values =
      count > static_cast<std::size_t>(INT32_MAX) ? INT32_MAX : static_cast<std::int32_t>(count);
  // Fewer values than last time keep the positions: the first ones are the same slots.
  if (rect == barRect && slotCount == barSlotCount && values <= barCount) return;
  barRect = rect;
  barSlotCount = slotCount;
  barCount = values;
  ReCalculateBarPos();
}
