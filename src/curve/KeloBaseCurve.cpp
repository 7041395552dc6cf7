// The curve object: its construction defaults, the GDI+ pens and brushes with their setters,
// the numbered curve and return-region styles, the plot margins in pixels and the two layer
// bitmaps of the curve groups.
#include <kelochart/curve/KeloBaseCurve.h>

#include <cstdint>
#include <initializer_list>

#include <kelochart/services/KeloPalette.h>

#include "chart/AxisPixel.h"
#include "chart/ChartLayers.h"

namespace {

using Style = CKeloBaseCurve::SCurveStyle;

// The ten default curve colours, one per curve of a group; every entry solid, width 1.
constexpr Gdiplus::ARGB kDefaultCurveColors[] = {0xFFFFFF00, 0xFF20FF20, 0xFF6060FF, 0xFF00FFFF, 0xFFFFFFFF,
                                                 0xFFFF00FF, 0xFFFF6666, 0xFF666666, 0xFFC0C0FF, 0xFF00C000};

// The style a return region gets when no other was set for it.
CKeloBaseCurve::SROIStyle DefaultROIStyle() {
  return {Gdiplus::Color(0xFFFF0000), Gdiplus::DashStyleSolid, 1.0f, Gdiplus::Color(0x80C80000)};
}

void SetPenStyle(Gdiplus::Pen& pen, Gdiplus::DashStyle style, float width) {
  // The dash style first, then the width, as the client's setters expect.
  pen.SetDashStyle(style);
  pen.SetWidth(width);
}

Gdiplus::Color PenColor(const Gdiplus::Pen& pen) {
  Gdiplus::Color color;
  pen.GetColor(&color);
  return color;
}

// Product of a cell count and a character size, saturated: hostile margins never overflow.
int CellPixels(int cells, std::int32_t size) {
  return kelo::detail::NarrowSat32(static_cast<std::int64_t>(cells) * size);
}

// Sets a field of entry index when the index is inside the list.
template <typename T, typename Set>
int SetNumbered(std::vector<T>& list, unsigned int index, Set set) {
  if (index >= list.size()) return 0;
  set(list[index]);
  return 1;
}

}  // namespace

CKeloBaseCurve::CKeloBaseCurve() {
  bkColor = CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4);
  PrepareDefaultCurveColors();
  roiStyles.push_back(DefaultROIStyle());
  for (Gdiplus::Pen* pen : {&defaultCurvePen, &upCurvePen, &downCurvePen, &equalCurvePen, &roiCurvePen}) {
    pen->SetDashStyle(Gdiplus::DashStyleSolid);
  }
  bmpDeflateLeftPixels = CellPixels(8, fontWidth);
  bmpDeflateTopPixels = CellPixels(1, fontHeight);
  bmpDeflateRightPixels = CellPixels(3, fontWidth);
  bmpDeflateBottomPixels = CellPixels(2, fontHeight);
  bmpDeflateLeft = 8;
  bmpDeflateRight = 3;
  bmpDeflateTop = 1;
  bmpDeflateBottom = 2;
}

CKeloBaseCurve::~CKeloBaseCurve() {
  if (curveBmp.HasHandle()) curveBmp.DeleteObject();
  if (baseBmp.HasHandle()) baseBmp.DeleteObject();
}

void CKeloBaseCurve::PrepareDefaultCurveColors() {
  curveStyles.clear();
  for (Gdiplus::ARGB argb : kDefaultCurveColors) curveStyles.push_back(Style{argb, Gdiplus::DashStyleSolid, 1.0f});
}

// ---- frame overrides ----

void CKeloBaseCurve::RecalculateDeflatePixels() {
  bmpDeflateLeftPixels = CellPixels(bmpDeflateLeft, fontWidth);
  bmpDeflateTopPixels = CellPixels(bmpDeflateTop, fontHeight);
  bmpDeflateRightPixels = CellPixels(bmpDeflateRight, fontWidth);
  bmpDeflateBottomPixels = CellPixels(bmpDeflateBottom, fontHeight);
}

void CKeloBaseCurve::SetFontSize(std::int32_t height, std::int32_t width) {
  CKeloBaseChart::SetFontSize(height, width);
  RecalculateDeflatePixels();
}

void CKeloBaseCurve::SetBmpDeflate(int left, int top, int right, int bottom) {
  bmpDeflateLeft = left;
  bmpDeflateTop = top;
  bmpDeflateRight = right;
  bmpDeflateBottom = bottom;
  RecalculateDeflatePixels();
}

void CKeloBaseCurve::SetXCells(int cells) {
  curveXCells = cells;
  xCells = cells;
}

void CKeloBaseCurve::SetYCells(int cells) {
  curveYCells = cells;
  yCells = cells;
}

int CKeloBaseCurve::GetYCells() { return curveYCells; }

void CKeloBaseCurve::SetBkColor(COLORREF color) { bkColor = color; }

void CKeloBaseCurve::GetBmpDeflate(int& left, int& top, int& right, int& bottom) {
  left = bmpDeflateLeftPixels;
  top = bmpDeflateTopPixels;
  right = bmpDeflateRightPixels;
  bottom = bmpDeflateBottomPixels;
}

CRect CKeloBaseCurve::PlotRect(const CRect& rect) const {
  using kelo::detail::NarrowSat32;
  return CRect(NarrowSat32(static_cast<std::int64_t>(rect.left) + bmpDeflateLeftPixels),
               NarrowSat32(static_cast<std::int64_t>(rect.top) + bmpDeflateTopPixels),
               NarrowSat32(static_cast<std::int64_t>(rect.right) - bmpDeflateRightPixels),
               NarrowSat32(static_cast<std::int64_t>(rect.bottom) - bmpDeflateBottomPixels));
}

// ---- layers ----

void CKeloBaseCurve::OnChangeSize() {
  RecalculateDeflatePixels();
  ReDoBmp();
}

void CKeloBaseCurve::ReDoBmp() {
  baseBmp.DeleteObject();
  curveBmp.DeleteObject();
  baseChanged = 1;
}

void CKeloBaseCurve::ChangeBaseChart() { baseChanged = 1; }

void CKeloBaseCurve::BindBmp(CDC* dc, const CRect& rc) { kelo::detail::BindLayers(dc, rc, baseBmp, {&curveBmp}); }

double CKeloBaseCurve::GetXRatio() { return xRatio; }
int CKeloBaseCurve::GetFirstTickPos() { return firstTickPos; }
int CKeloBaseCurve::GetEndTickPos() { return endTickPos; }

// ---- pens ----

void CKeloBaseCurve::SetCurveStyle(Gdiplus::DashStyle style, float width) {
  SetPenStyle(defaultCurvePen, style, width);
}
void CKeloBaseCurve::SetDefaultCurveColor(Gdiplus::Color color) { defaultCurvePen.SetColor(color); }
void CKeloBaseCurve::SetUpCurveStyle(Gdiplus::DashStyle style, float width) { SetPenStyle(upCurvePen, style, width); }
void CKeloBaseCurve::SetUpCurveColor(Gdiplus::Color color) { upCurvePen.SetColor(color); }
Gdiplus::Color CKeloBaseCurve::GetUpCurveColor() { return PenColor(upCurvePen); }
void CKeloBaseCurve::SetDownCurveStyle(Gdiplus::DashStyle style, float width) {
  SetPenStyle(downCurvePen, style, width);
}
void CKeloBaseCurve::SetDownCurveColor(Gdiplus::Color color) { downCurvePen.SetColor(color); }
Gdiplus::Color CKeloBaseCurve::GetDownCurveColor() { return PenColor(downCurvePen); }
void CKeloBaseCurve::SetEqualCurveStyle(Gdiplus::DashStyle style, float width) {
  SetPenStyle(equalCurvePen, style, width);
}
void CKeloBaseCurve::SetEqualCurveColor(Gdiplus::Color color) { equalCurvePen.SetColor(color); }
Gdiplus::Color CKeloBaseCurve::GetEqualCurveColor() { return PenColor(equalCurvePen); }
void CKeloBaseCurve::SetROICurveStyle(Gdiplus::DashStyle style, float width) { SetPenStyle(roiCurvePen, style, width); }
void CKeloBaseCurve::SetROICurveColor(Gdiplus::Color color) { roiCurvePen.SetColor(color); }

// ---- numbered styles ----

int CKeloBaseCurve::SetCurveNumColor(unsigned int index, Gdiplus::Color color) {
  return SetNumbered(curveStyles, index, [&](SCurveStyle& s) { s.color = color; });
}
int CKeloBaseCurve::SetCurveNumWidth(unsigned int index, float width) {
  return SetNumbered(curveStyles, index, [&](SCurveStyle& s) { s.width = width; });
}
int CKeloBaseCurve::SetCurveNumStyle(unsigned int index, Gdiplus::DashStyle style) {
  return SetNumbered(curveStyles, index, [&](SCurveStyle& s) { s.dashStyle = style; });
}
int CKeloBaseCurve::SetROICurveNumColor(unsigned int index, Gdiplus::Color color) {
  return SetNumbered(roiStyles, index, [&](SROIStyle& s) { s.curveColor = color; });
}
int CKeloBaseCurve::SetROICurveNumWidth(unsigned int index, float width) {
  return SetNumbered(roiStyles, index, [&](SROIStyle& s) { s.width = width; });
}
int CKeloBaseCurve::SetROICurveNumStyle(unsigned int index, Gdiplus::DashStyle style) {
  return SetNumbered(roiStyles, index, [&](SROIStyle& s) { s.dashStyle = style; });
}
int CKeloBaseCurve::SetROIBrushNumColor(unsigned int index, Gdiplus::Color color) {
  return SetNumbered(roiStyles, index, [&](SROIStyle& s) { s.brushColor = color; });
}

Gdiplus::Color CKeloBaseCurve::GetCurveColors(unsigned int index) {
  // curveStyles never has fewer than ten entries, so entry 0 always exists.
  return index < curveStyles.size() ? curveStyles[index].color : curveStyles[0].color;
}
