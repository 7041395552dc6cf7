// The XY chart: curves of value pairs against two linear axes in the numbered curve styles,
// shaded return regions (outline first, then the half-transparent fill over it) and round
// point marks, all painted straight onto the target with anti-aliasing.
#include <kelochart/curve/KeloBaseCurve.h>

#include <cstdint>

#include "chart/AxisPixel.h"

using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat32;

namespace {

// Value to pixel on a drawing rectangle R: x from R.left + lineOffset over the width less
// both insets, y up from R.bottom over the full height.
struct XYScale {
  bool valid = false;  // false for an empty value range on either axis
  double xScale = 0.0;
  double yScale = 0.0;
  double xOrigin = 0.0;  // R.left + lineOffset
  double bottom = 0.0;
  std::int32_t xMin = 0;
  std::int32_t yMin = 0;

  XYScale(const CRect& r, int lineOffset, std::int32_t xMax, std::int32_t xMin_, std::int32_t yMax, std::int32_t yMin_)
      : xMin(xMin_), yMin(yMin_) {
    if (xMax == xMin || yMax == yMin) return;
    valid = true;
    const std::int64_t usable = static_cast<std::int64_t>(r.right) - 2 * static_cast<std::int64_t>(lineOffset) - r.left;
    xScale = static_cast<double>(usable) / static_cast<double>(static_cast<std::int64_t>(xMax) - xMin);
    yScale = kelo::detail::RectHeight(r) / static_cast<double>(static_cast<std::int64_t>(yMax) - yMin);
    xOrigin = static_cast<double>(static_cast<std::int64_t>(r.left) + lineOffset);
    bottom = static_cast<double>(r.bottom);
  }
  double PX(std::int32_t x) const {
    return static_cast<double>(static_cast<std::int64_t>(x) - xMin) * xScale + xOrigin;
  }
  double PY(std::int32_t y) const { return bottom - static_cast<double>(static_cast<std::int64_t>(y) - yMin) * yScale; }
};

// A full pie of diameter d centred on (cx, cy).
void FillMark(Gdiplus::Graphics& graphics, const Gdiplus::Brush& brush, float cx, float cy, float d) {
  graphics.FillPie(&brush, static_cast<Gdiplus::REAL>(cx - d * 0.5), static_cast<Gdiplus::REAL>(cy - d * 0.5), d, d,
                   0.0f, 360.0f);
}

}  // namespace

void CKeloBaseCurve::DrawXYCurve(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                                 std::int32_t yMin, const std::vector<XYValue>& points) {
  const XYScale s(rect, lineOffset, xMax, xMin, yMax, yMin);
  if (dc == nullptr || !s.valid || points.empty()) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  // The start point is cut before the origin is added, the others after.
  const std::int64_t startX = static_cast<std::int64_t>(TruncSat32(
                                  static_cast<double>(static_cast<std::int64_t>(points[0].x) - xMin) * s.xScale)) +
                              rect.left + lineOffset;
  int prevX = NarrowSat32(startX);
  int prevY = TruncSat32(s.PY(points[0].y));
  for (std::size_t i = 1; i < points.size(); ++i) {
    const XYValue& p = points[i];
    const int x = TruncSat32(s.PX(p.x));
    const int y = TruncSat32(s.PY(p.y));
    // A point outside the ranges ends no line, but the next line starts from it.
    if (xMin <= p.x && p.x <= xMax && yMin <= p.y && p.y <= yMax)
      graphics.DrawLine(&defaultCurvePen, prevX, prevY, x, y);
    prevX = x;
    prevY = y;
  }
}

void CKeloBaseCurve::DrawROIRgn(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                                std::int32_t yMin, const std::vector<XYValue>& points) {
  const XYScale s(rect, lineOffset, xMax, xMin, yMax, yMin);
  // Fewer than three corners make no polygon.
  if (dc == nullptr || !s.valid || rect.IsRectEmpty() || points.size() < 3) return;
  std::vector<Gdiplus::PointF> corners;
  corners.reserve(points.size());
  for (const XYValue& p : points) {
    corners.emplace_back(static_cast<float>(s.PX(p.x)), static_cast<float>(s.PY(p.y)));
  }
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::GraphicsPath path(Gdiplus::FillModeAlternate);
  path.AddPolygon(corners.data(), static_cast<Gdiplus::INT>(corners.size()));
  const Gdiplus::Region region(&path);
  graphics.DrawPath(&roiCurvePen, &path);
  // Filled without first clipping to itself: a region clipped to itself is the region, so
  // the pixels are the same, but cairo intersects the clip with the fill edge by edge, which
  // for a region whose edges cross costs time and memory with the square of its corners
  // (seconds and hundreds of megabytes for a few thousand).
  graphics.FillRegion(&roiBrush, &region);
}

void CKeloBaseCurve::DrawEasyPoints(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                                    std::int32_t yMin) {
  const XYScale s(rect, lineOffset, xMax, xMin, yMax, yMin);
  if (dc == nullptr || !s.valid) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  for (const EasyPoint& p : easyPoints) {
    // The point's own coordinates are floats, so the range ends enter as floats too.
    const float cx = static_cast<float>((p.x - static_cast<float>(xMin)) * s.xScale + s.xOrigin);
    const float cy = static_cast<float>(s.bottom - (p.y - static_cast<float>(yMin)) * s.yScale);
    pointBrush.SetColor(p.color);
    FillMark(graphics, pointBrush, cx, cy, p.diameter);
  }
}

void CKeloBaseCurve::DrawPoints(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                                std::int32_t yMin, std::vector<XYValue> points) {
  if (dc == nullptr) return;
  const CRect r = PlotRect(rect);
  const XYScale s(r, lineOffset, xMax, xMin, yMax, yMin);
  if (!s.valid) return;
  dc->SetBkMode(TRANSPARENT);
  if (r.IsRectEmpty()) return;
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  for (const XYValue& p : points) {
    FillMark(graphics, pointBrush, static_cast<float>(s.PX(p.x)), static_cast<float>(s.PY(p.y)), pointDiameter);
  }
}

void CKeloBaseCurve::DrawEasyXYChart(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin,
                                     std::int32_t xLabelCount, std::int32_t yMax, std::int32_t yMin,
                                     std::int32_t yLabelCount, std::vector<std::vector<XYValue>> curves) {
  if (dc == nullptr) return;
  CFont* previousFont = dc->SelectObject(font);
  dc->FillSolidRect(rect, bkColor);
  const CRect p = PlotRect(rect);
  dc->SetBkMode(TRANSPARENT);
  DrawXSubXGrid(dc, p, curveXCells, 1);
  DrawXGridTextWithRange(dc, p, static_cast<double>(xMax), static_cast<double>(xMin), xLabelCount, 0, 0);
  DrawHorizontalLine(dc, p, curveYCells);
  // The middle label is the mean of a 32-bit sum of the ends, which wraps as the client's does.
  const auto sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(yMax) + static_cast<std::uint32_t>(yMin));
  DrawYGridTextEx(dc, p, static_cast<double>(yMax), sum * 0.5, static_cast<double>(yMin), yLabelCount, 0);

  for (std::size_t j = 0; j < curves.size(); ++j) {
    const SCurveStyle& style = curveStyles[j % curveStyles.size()];
    defaultCurvePen.SetDashStyle(style.dashStyle);
    defaultCurvePen.SetColor(style.color);
    defaultCurvePen.SetWidth(style.width);
    DrawXYCurve(dc, p, xMax, xMin, yMax, yMin, curves[j]);
  }

  savedPen = dc->SelectObject(&axisPen);
  dc->MoveTo(p.left, NarrowSat32(static_cast<std::int64_t>(p.top) - overDrawLineOffset));
  dc->LineTo(p.left, p.bottom);
  dc->LineTo(p.right, p.bottom);
  dc->SelectObject(savedPen);

  if (showROI != 0 && !rgnPoints.empty()) {
    for (std::size_t i = 0; i < rgnPoints.size(); ++i) {
      const SROIStyle& style = roiStyles[i % roiStyles.size()];
      roiCurvePen.SetDashStyle(style.dashStyle);
      roiCurvePen.SetColor(style.curveColor);
      roiCurvePen.SetWidth(style.width);
      roiBrush.SetColor(style.brushColor);
      DrawROIRgn(dc, p, xMax, xMin, yMax, yMin, rgnPoints[i]);
    }
  }
  if (showSpecialPoints != 0 && !easyPoints.empty()) DrawEasyPoints(dc, p, xMax, xMin, yMax, yMin);
  dc->SelectObject(previousFont);
}

void CKeloBaseCurve::SetRgnPointsValue(const std::vector<std::vector<XYValue>>& regions) {
  rgnPoints = regions;
  // Every region has a style; styles set for earlier regions are kept.
  while (roiStyles.size() < rgnPoints.size()) {
    roiStyles.push_back({Gdiplus::Color(0xFFFF0000), Gdiplus::DashStyleSolid, 1.0f, Gdiplus::Color(0x80C80000)});
  }
}

void CKeloBaseCurve::SetEasyPoints(const std::vector<EasyPoint>& points) { easyPoints = points; }
void CKeloBaseCurve::SetShowROI(int show) { showROI = show; }
void CKeloBaseCurve::SetShowSpecialPoints(int show) { showSpecialPoints = show; }
