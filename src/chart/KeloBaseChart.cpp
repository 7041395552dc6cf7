// The frame every chart kind shares: construction from the palette pool's defaults, the
// setters, the eight GDI pens and the axis and special-position lines. The grids, labels,
// time axis and reference lines live in YAxis.cpp, XAxis.cpp, TimeAxis.cpp and
// HorizontalLines.cpp.
#include <kelochart/chart/KeloBaseChart.h>

#include <cstdint>
#include <limits>

#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>

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

// The top of a vertical axis, O pixels above the plot. A plot at the very top of the
// coordinate range saturates instead of wrapping around.
int AboveTop(std::int32_t top, int offset) {
  const std::int64_t y = static_cast<std::int64_t>(top) - offset;
  if (y < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (y > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<int>(y);
}

// halfFontHeight truncated toward zero, clamped so that a hostile font height can never
// make the conversion undefined (a half of a 32-bit height always fits, but stay explicit).
int TruncatedHalf(double half) {
  if (!(half == half)) return 0;
  if (half >= 2147483647.0) return std::numeric_limits<int>::max();
  if (half <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(half);
}

}  // namespace

CKeloBaseChart::CKeloBaseChart() {
  // The pool is read at this moment: a palette or font changed later does not reach an
  // existing chart until its setters are called.
  CKeloUIObjectSingletonPool* pool = CKeloUIObjectSingletonPool::Instance();
  const auto& table = pool->palette.colorTable;
  font = pool->defaultFont.font;
  savedPen = nullptr;
  defaultTextColor = table[307];
  xTextColor = table[321];
  leftYTextColor = table[311];
  rightYTextColor = table[321];
  yMaxTextColor = table[321];
  yMidTextColor = table[299];
  yMinTextColor = table[311];
  xLineColor = table[303];
  xSubLineColor = table[303];
  yLineColor = table[303];
  midYLineColor = table[321];
  axisColor = table[303];
  specialPosLineColor1 = table[321];
  specialPosLineColor2 = table[321];
  specialPosLineColor3 = table[321];
  xLineStyle = 0;
  xSubLineStyle = 2;
  yLineStyle = 2;
  midYLineStyle = 0;
  axisStyle = 0;
  specialPosLineStyle1 = 0;
  specialPosLineStyle2 = 0;
  specialPosLineStyle3 = 0;
  xLineWidth = 1;
  xSubLineWidth = 2;
  yLineWidth = 2;
  midYLineWidth = 1;
  axisWidth = 2;
  specialPosLineWidth1 = 1;
  specialPosLineWidth2 = 1;
  specialPosLineWidth3 = 1;
  xTextFormatFlag = DT_CENTER;
  xCells = 10;
  yCells = 10;
  fontHeight = pool->defaultFont.charHeight;
  fontWidth = pool->defaultFont.charWidth;
  overDrawLineOffset = 0;
  bmpDeflateLeft = 8;
  bmpDeflateRight = 3;
  bmpDeflateTop = 1;
  bmpDeflateBottom = 2;
  horizontalLineOffset = 0;
  lineOffset = 0;
  timeStringsChanged = TRUE;
  overDrawLine = FALSE;
  isDrawRTLine = TRUE;
  timeEnd = INT32_MIN;
  timeStart = INT32_MAX;
  labelTimeEnd = INT32_MIN;
  labelTimeStart = INT32_MAX;
  tickType = eTickMinute;
  tickXPosStep = 0.0f;
  offsetMinTick = 0;
  leftUnitHighlight = 0;

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
  overDrawLineOffset = overDrawLine ? TruncatedHalf(halfFontHeight) : 0;
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
    const std::int64_t p = static_cast<std::int64_t>(cells) * pixels;
    if (p > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (p < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(p);
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
  xLinePen.DeleteObject();
  CreateGeometricPen(xLinePen, style, width, color);
  xLineStyle = style;
  xLineWidth = width;
  xLineColor = color;
}

void CKeloBaseChart::SetXLineColor(COLORREF color) {
  xLinePen.DeleteObject();
  CreateGeometricPen(xLinePen, xLineStyle, xLineWidth, color);
  xLineColor = color;
}

void CKeloBaseChart::SetXSubLinePen(int style, int width, COLORREF color) {
  xSubLinePen.DeleteObject();
  CreateGeometricPen(xSubLinePen, style, width, color);
  xSubLineStyle = style;
  xSubLineWidth = width;
  xSubLineColor = color;
}

void CKeloBaseChart::SetXSubLineColor(COLORREF color) {
  xSubLinePen.DeleteObject();
  CreateGeometricPen(xSubLinePen, xSubLineStyle, xSubLineWidth, color);
  xSubLineColor = color;
}

void CKeloBaseChart::SetAxisPen(int style, int width, COLORREF color) {
  axisPen.DeleteObject();
  axisPen.CreatePen(style, width, color);
  axisStyle = style;
  axisWidth = width;
  axisColor = color;
}

void CKeloBaseChart::SetAxisColor(COLORREF color) {
  axisPen.DeleteObject();
  axisPen.CreatePen(axisStyle, axisWidth, color);
  axisColor = color;
}

void CKeloBaseChart::SetYLinePen(int style, int width, COLORREF color) {
  yLinePen.DeleteObject();
  CreateGeometricPen(yLinePen, style, width, color);
  yLineStyle = style;
  yLineWidth = width;
  yLineColor = color;
}

void CKeloBaseChart::SetYLineColor(COLORREF color) {
  yLinePen.DeleteObject();
  CreateGeometricPen(yLinePen, yLineStyle, yLineWidth, color);
  yLineColor = color;
}

void CKeloBaseChart::SetMidYLinePen(int style, int width, COLORREF color) {
  midYLinePen.DeleteObject();
  CreateGeometricPen(midYLinePen, style, width, color);
  midYLineStyle = style;
  midYLineWidth = width;
  midYLineColor = color;
}

void CKeloBaseChart::SetMidYLineColor(COLORREF color) {
  midYLinePen.DeleteObject();
  CreateGeometricPen(midYLinePen, midYLineStyle, midYLineWidth, color);
  midYLineColor = color;
}

void CKeloBaseChart::SetSpecialPosLinePen(int index, int style, int width, COLORREF color) {
  struct PenMembers {
    CPen* pen;
    int* style;
    int* width;
    COLORREF* color;
  };
  PenMembers members{};
  if (index == 1) {
    members = {&specialPosLinePen1, &specialPosLineStyle1, &specialPosLineWidth1, &specialPosLineColor1};
  } else if (index == 2) {
    members = {&specialPosLinePen2, &specialPosLineStyle2, &specialPosLineWidth2, &specialPosLineColor2};
  } else if (index == 3) {
    members = {&specialPosLinePen3, &specialPosLineStyle3, &specialPosLineWidth3, &specialPosLineColor3};
  } else {
    return;  // no such pen: nothing changes
  }
  members.pen->DeleteObject();
  CreateGeometricPen(*members.pen, style, width, color);
  *members.style = style;
  *members.width = width;
  *members.color = color;
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
  overDrawLineOffset = overDraw ? TruncatedHalf(halfFontHeight) : 0;
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
  const int top = AboveTop(rect.top, overDrawLineOffset);
  savedPen = dc->SelectObject(&axisPen);
  // The top edge is left open: the plot's top belongs to the labels (or to the grey edge
  // line of the time grid and price axis).
  dc->MoveTo(rect.left, top);
  dc->LineTo(rect.left, rect.bottom);
  dc->MoveTo(rect.right, top);
  dc->LineTo(rect.right, rect.bottom);
  dc->MoveTo(rect.left, rect.bottom);
  dc->LineTo(rect.right, rect.bottom);
  dc->SelectObject(savedPen);
}

void CKeloBaseChart::DrawLeftBottomAxis(CDC* dc, const CRect& rect) {
  if (dc == nullptr) return;
  const int top = AboveTop(rect.top, overDrawLineOffset);
  savedPen = dc->SelectObject(&axisPen);
  dc->MoveTo(rect.left, top);
  dc->LineTo(rect.left, rect.bottom);
  dc->MoveTo(rect.left, rect.bottom);
  dc->LineTo(rect.right, rect.bottom);
  dc->SelectObject(savedPen);
}

void CKeloBaseChart::DrawSpecialPosLine(CDC* dc, int x1, int y1, int x2, int y2, int index) {
  if (dc == nullptr) return;
  CPen* pen = &specialPosLinePen1;
  if (index == 2) pen = &specialPosLinePen2;
  else if (index == 3) pen = &specialPosLinePen3;
  savedPen = dc->SelectObject(pen);
  dc->MoveTo(x1, y1);
  dc->LineTo(x2, y2);
  dc->SelectObject(savedPen);
}
