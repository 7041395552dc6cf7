// The frame every chart kind shares: construction from the palette pool's defaults, the
// setters, the eight GDI pens and the axis and special-position lines. The grids, labels,
// time axis and reference lines live in YAxis.cpp, XAxis.cpp, TimeAxis.cpp and
// HorizontalLines.cpp.
#include <kelochart/chart/KeloBaseChart.h>

#include <cstdint>

#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>

#include "chart/AxisPixel.h"

using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat32;

namespace {

// A geometric pen (dash pattern kept at any width) with a solid brush of the colour, as
// ExtCreatePen makes it without a user style.
void CreateGeometricPen(CPen& pen, int style, int width, COLORREF color) {
  LOGBRUSH brush;
  brush.lbStyle = BS_SOLID;
  brush.lbColor = color;
  brush.lbHatch = 0;
  pen.Attach(ExtCreatePen(style | PS_GEOMETRIC, width, &brush, 0, nullptr));
}

// Replaces pen by a geometric pen of the new look and keeps that look in the members the
// pen is described by (penStyle, penWidth, penColor).
void ReplaceGeometricPen(CPen& pen, int& penStyle, int& penWidth, COLORREF& penColor, int style, int width,
                         COLORREF color) {
  pen.DeleteObject();
  CreateGeometricPen(pen, style, width, color);
  penStyle = style;
  penWidth = width;
  penColor = color;
}

// A line from (x1, y1) to (x2, y2) with the selected pen, as MoveTo and LineTo draw it.
void Segment(CDC* dc, int x1, int y1, int x2, int y2) {
  dc->MoveTo(x1, y1);
  dc->LineTo(x2, y2);
}

}  // namespace

// The pool is read at this moment: a palette or font changed later does not reach an
// existing chart until its setters are called. Members are set in declared order (the
// constants by their in-class defaults), then GDI+ is started, the pens made and the
// counts and half cells derived.
CKeloBaseChart::CKeloBaseChart() : CKeloBaseChart(*CKeloUIObjectSingletonPool::Instance()) {}

CKeloBaseChart::CKeloBaseChart(const CKeloUIObjectSingletonPool& pool)
    : font(pool.defaultFont.font), defaultTextColor(pool.palette.colorTable[CKeloPalette::kTextColor]),
      xTextColor(pool.palette.colorTable[CKeloPalette::kUpTextColor]),
      leftYTextColor(pool.palette.colorTable[CKeloPalette::kDownTextColor]),
      rightYTextColor(pool.palette.colorTable[CKeloPalette::kUpTextColor]),
      yMaxTextColor(pool.palette.colorTable[CKeloPalette::kUpTextColor]),
      yMidTextColor(pool.palette.colorTable[CKeloPalette::kReferenceColor]),
      yMinTextColor(pool.palette.colorTable[CKeloPalette::kDownTextColor]),
      xLineColor(pool.palette.colorTable[CKeloPalette::kGridColor]),
      xSubLineColor(pool.palette.colorTable[CKeloPalette::kGridColor]),
      yLineColor(pool.palette.colorTable[CKeloPalette::kGridColor]),
      midYLineColor(pool.palette.colorTable[CKeloPalette::kUpTextColor]),
      axisColor(pool.palette.colorTable[CKeloPalette::kGridColor]),
      specialPosLineColor1(pool.palette.colorTable[CKeloPalette::kUpTextColor]),
      specialPosLineColor2(pool.palette.colorTable[CKeloPalette::kUpTextColor]),
      specialPosLineColor3(pool.palette.colorTable[CKeloPalette::kUpTextColor]),
      fontHeight(pool.defaultFont.charHeight), fontWidth(pool.defaultFont.charWidth),
      labelBackground(pool.palette.GetLayoutColor(4)) {
  GdiplusInitialize();
  InitPens();
  fitYGridCount = KeloUtility::GetFitScaleCount();
  halfFontHeight = fontHeight * 0.5;
  halfFontWidth = fontWidth * 0.5;
}

CKeloBaseChart::~CKeloBaseChart() {
  GdiplusFinalize();
  DeletePens();
}

// ---- font and character cell ----

void CKeloBaseChart::SetFont(CFont* newFont) { font = newFont; }

CFont* CKeloBaseChart::GetFont() { return font; }

void CKeloBaseChart::SetFontSize(std::int32_t height, std::int32_t width) {
  fontHeight = height;
  fontWidth = width;
  halfFontHeight = height * 0.5;
  halfFontWidth = width * 0.5;
  overDrawLineOffset = overDrawLine ? TruncSat32(halfFontHeight) : 0;
}

std::int32_t CKeloBaseChart::GetFontHeight() const { return fontHeight; }

std::int32_t CKeloBaseChart::GetFontWidth() const { return fontWidth; }

// ---- margins and cells ----

void CKeloBaseChart::SetBmpDeflate(int left, int top, int right, int bottom) {
  bmpDeflateLeft = left;
  bmpDeflateTop = top;
  bmpDeflateRight = right;
  bmpDeflateBottom = bottom;
}

void CKeloBaseChart::SetBmpLeftDeflate(int left) { bmpDeflateLeft = left; }

void CKeloBaseChart::GetBmpDeflatePixel(int& left, int& top, int& right, int& bottom) {
  // Integer products; margins and font metrics come from setters that do not check them,
  // so multiply in 64 bits and saturate to the 32-bit range instead of overflowing.
  const auto product = [](int cells, std::int32_t pixels) {
    return NarrowSat32(static_cast<std::int64_t>(cells) * pixels);
  };
  left = product(bmpDeflateLeft, fontWidth);
  top = product(bmpDeflateTop, fontHeight);
  right = product(bmpDeflateRight, fontWidth);
  bottom = product(bmpDeflateBottom, fontHeight);
}

void CKeloBaseChart::SetXCells(int cells) { xCells = cells; }

void CKeloBaseChart::SetYCells(int cells) { yCells = cells; }

// ---- pens ----

void CKeloBaseChart::InitPens() {
  CreateGeometricPen(xLinePen, xLineStyle, xLineWidth, xLineColor);
  CreateGeometricPen(xSubLinePen, xSubLineStyle, xSubLineWidth, xSubLineColor);
  axisPen.CreatePen(axisStyle, axisWidth, axisColor);
  CreateGeometricPen(yLinePen, yLineStyle, yLineWidth, yLineColor);
  CreateGeometricPen(midYLinePen, midYLineStyle, midYLineWidth, midYLineColor);
  CreateGeometricPen(specialPosLinePen1, specialPosLineStyle1, specialPosLineWidth1, specialPosLineColor1);
  CreateGeometricPen(specialPosLinePen2, specialPosLineStyle2, specialPosLineWidth2, specialPosLineColor2);
  CreateGeometricPen(specialPosLinePen3, specialPosLineStyle3, specialPosLineWidth3, specialPosLineColor3);
}

void CKeloBaseChart::DeletePens() {
  xLinePen.DeleteObject();
  xSubLinePen.DeleteObject();
  axisPen.DeleteObject();
  yLinePen.DeleteObject();
  midYLinePen.DeleteObject();
  specialPosLinePen1.DeleteObject();
  specialPosLinePen2.DeleteObject();
  specialPosLinePen3.DeleteObject();
}

void CKeloBaseChart::SetXLinePen(int style, int width, COLORREF color) {
  ReplaceGeometricPen(xLinePen, xLineStyle, xLineWidth, xLineColor, style, width, color);
}

void CKeloBaseChart::SetXLineColor(COLORREF color) { SetXLinePen(xLineStyle, xLineWidth, color); }

void CKeloBaseChart::SetXSubLinePen(int style, int width, COLORREF color) {
  ReplaceGeometricPen(xSubLinePen, xSubLineStyle, xSubLineWidth, xSubLineColor, style, width, color);
}

void CKeloBaseChart::SetXSubLineColor(COLORREF color) { SetXSubLinePen(xSubLineStyle, xSubLineWidth, color); }

void CKeloBaseChart::SetAxisPen(int style, int width, COLORREF color) {
  axisPen.DeleteObject();
  axisPen.CreatePen(style, width, color);
  axisStyle = style;
  axisWidth = width;
  axisColor = color;
}

void CKeloBaseChart::SetAxisColor(COLORREF color) { SetAxisPen(axisStyle, axisWidth, color); }

void CKeloBaseChart::SetYLinePen(int style, int width, COLORREF color) {
  ReplaceGeometricPen(yLinePen, yLineStyle, yLineWidth, yLineColor, style, width, color);
}

// The colour setters of the virtual pen setters call this class's own setter, never an
// override: a chart kind that redefines SetYLinePen does not change SetYLineColor.
void CKeloBaseChart::SetYLineColor(COLORREF color) { CKeloBaseChart::SetYLinePen(yLineStyle, yLineWidth, color); }

void CKeloBaseChart::SetMidYLinePen(int style, int width, COLORREF color) {
  ReplaceGeometricPen(midYLinePen, midYLineStyle, midYLineWidth, midYLineColor, style, width, color);
}

void CKeloBaseChart::SetMidYLineColor(COLORREF color) {
  CKeloBaseChart::SetMidYLinePen(midYLineStyle, midYLineWidth, color);
}

void CKeloBaseChart::SetSpecialPosLinePen(int index, int style, int width, COLORREF color) {
  if (index == 1) {
    ReplaceGeometricPen(specialPosLinePen1, specialPosLineStyle1, specialPosLineWidth1, specialPosLineColor1, style,
                        width, color);
  } else if (index == 2) {
    ReplaceGeometricPen(specialPosLinePen2, specialPosLineStyle2, specialPosLineWidth2, specialPosLineColor2, style,
                        width, color);
  } else if (index == 3) {
    ReplaceGeometricPen(specialPosLinePen3, specialPosLineStyle3, specialPosLineWidth3, specialPosLineColor3, style,
                        width, color);
  }
  // Any other index names no pen: nothing changes.
}

// ---- colours, units and flags ----

void CKeloBaseChart::SetDefaultTextColor(COLORREF color) { defaultTextColor = color; }
void CKeloBaseChart::SetXTextColor(COLORREF color) { xTextColor = color; }
void CKeloBaseChart::SetLeftYTextColor(COLORREF color) { leftYTextColor = color; }
void CKeloBaseChart::SetRigthtYTextColor(COLORREF color) { rightYTextColor = color; }
void CKeloBaseChart::SetYMaxTextColor(COLORREF color) { yMaxTextColor = color; }
void CKeloBaseChart::SetYMidTextColor(COLORREF color) { yMidTextColor = color; }
void CKeloBaseChart::SetYMinTextColor(COLORREF color) { yMinTextColor = color; }
void CKeloBaseChart::SetXTextFormatFlag(std::uint32_t flag) { xTextFormatFlag = flag; }

void CKeloBaseChart::SetLeftUnit(CString unit, int highlight) {
  leftUnit = std::move(unit);
  leftUnitHighlight = highlight;
}

void CKeloBaseChart::SetRightUnit(CString unit) { rightUnit = std::move(unit); }
void CKeloBaseChart::SetYValueUnit(CString unit) { yValueUnit = std::move(unit); }

void CKeloBaseChart::SetOverDrawLine(int overDraw) {
  overDrawLine = overDraw;
  overDrawLineOffset = overDraw ? TruncSat32(halfFontHeight) : 0;
}

void CKeloBaseChart::SetIsDrawRTLine(int draw) { isDrawRTLine = draw; }
void CKeloBaseChart::SetOffsetMinTick(std::int32_t minutes) { offsetMinTick = minutes; }
std::int32_t CKeloBaseChart::GetOffsetMinTick() const { return offsetMinTick; }
void CKeloBaseChart::SetLineOffSet(int offset) { lineOffset = offset; }
int CKeloBaseChart::GetLineOffSet() const { return lineOffset; }
int CKeloBaseChart::GetHorizontalLineOffSet() const { return horizontalLineOffset; }
void CKeloBaseChart::SetTickType(ETickType type) { tickType = type; }
float CKeloBaseChart::GetTickXPosStep() const { return tickXPosStep; }

// ---- axes ----

void CKeloBaseChart::DrawAxis(CDC* dc, const CRect& rect) {
  if (dc == nullptr) return;
  const int top = NarrowSat32(static_cast<std::int64_t>(rect.top) - overDrawLineOffset);
  savedPen = dc->SelectObject(&axisPen);
  // The top edge is left open: the plot's top belongs to the labels (or to the grey edge
  // line of the time grid and price axis).
  Segment(dc, rect.left, top, rect.left, rect.bottom);
  Segment(dc, rect.right, top, rect.right, rect.bottom);
  Segment(dc, rect.left, rect.bottom, rect.right, rect.bottom);
  dc->SelectObject(savedPen);
}

void CKeloBaseChart::DrawLeftBottomAxis(CDC* dc, const CRect& rect) {
  if (dc == nullptr) return;
  const int top = NarrowSat32(static_cast<std::int64_t>(rect.top) - overDrawLineOffset);
  savedPen = dc->SelectObject(&axisPen);
  Segment(dc, rect.left, top, rect.left, rect.bottom);
  Segment(dc, rect.left, rect.bottom, rect.right, rect.bottom);
  dc->SelectObject(savedPen);
}

void CKeloBaseChart::DrawSpecialPosLine(CDC* dc, int x1, int y1, int x2, int y2, int index) {
  if (dc == nullptr) return;
  CPen* pen = &specialPosLinePen1;
  if (index == 2) pen = &specialPosLinePen2;
  else if (index == 3) pen = &specialPosLinePen3;
  savedPen = dc->SelectObject(pen);
  Segment(dc, x1, y1, x2, y2);
  dc->SelectObject(savedPen);
}
