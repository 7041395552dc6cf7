// The vertical grid of a plot and the labels under it when the X axis is not a time axis:
// evenly spaced cells with main or alternating main and sub lines, lines at the times of
// hour-and-minute labels, and labels that are caller strings or values over a range,
// centred on their grid position and thinned when crowded (XLabelLayout.h decides where).
#include <kelochart/chart/KeloBaseChart.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "chart/LabelPaint.h"
#include "chart/AxisPixel.h"
#include "chart/XLabelLayout.h"

using kelo::detail::kMaxAxisLines;
using kelo::detail::NarrowSat32;
using kelo::detail::RectWidth;
using kelo::detail::TruncSat32;

namespace {

// Left edge plus an inset: where grid position 0 lies.
double OriginOf(const CRect& rect, int inset) {
  return static_cast<double>(static_cast<std::int64_t>(rect.left) + inset);
}

// count evenly spaced vertical lines over rect, from overDraw pixels above its top down to
// its bottom; line 0 lies at the left edge, or half a cell right of it with halfCellInset.
struct XGrid {
  XGrid(const CRect& rect, std::int32_t count, int halfCellInset, int overDraw)
      : cell(RectWidth(rect) / count), inset(halfCellInset != 0 ? TruncSat32(cell * 0.5) : 0),
        origin(OriginOf(rect, inset)), top(NarrowSat32(static_cast<std::int64_t>(rect.top) - overDraw)),
        bottom(rect.bottom) {}

  void DrawLine(CDC* dc, std::int32_t i) const {
    const std::int32_t x = TruncSat32(origin + i * cell);
    dc->MoveTo(x, top);
    dc->LineTo(x, bottom);
  }

  double cell;
  int inset;
  double origin;
  std::int32_t top;
  std::int32_t bottom;
};

int CountOf(std::size_t size) {
  return static_cast<int>(std::min<std::size_t>(size, static_cast<std::size_t>(std::numeric_limits<int>::max())));
}

}  // namespace

// ---- grids ----

void CKeloBaseChart::DrawXGrid(CDC* dc, const CRect& rect, std::int32_t count, int halfCellInset) {
  if (dc == nullptr || count < 1 || count > kMaxAxisLines) return;
  const XGrid grid(rect, count, halfCellInset, overDrawLineOffset);
  lineOffset = grid.inset;
  savedPen = dc->SelectObject(&xLinePen);
  for (std::int32_t i = 0; i < count; ++i) grid.DrawLine(dc, i);
  dc->SelectObject(savedPen);
}

void CKeloBaseChart::DrawXGridNew(CDC* dc, const CRect& rect, std::int32_t count, int /*unused1*/,
                                  std::int32_t /*unused2*/, int halfCellInset) {
  DrawXGrid(dc, rect, count, halfCellInset);
}

void CKeloBaseChart::DrawXSubXGrid(CDC* dc, const CRect& rect, std::int32_t count, int halfCellInset) {
  if (dc == nullptr || count < 1 || count > kMaxAxisLines) return;
  const XGrid grid(rect, count, halfCellInset, overDrawLineOffset);
  lineOffset = grid.inset;
  for (std::int32_t i = 0; i < count; ++i) {
    savedPen = dc->SelectObject(i % 2 == 0 ? &xLinePen : &xSubLinePen);
    grid.DrawLine(dc, i);
    dc->SelectObject(savedPen);
  }
}

void CKeloBaseChart::DrawXSubXGrid(CDC* dc, const CRect& rect, std::int32_t count, int secondsPerUnit,
                                   std::int32_t units, int halfCellInset) {
  if (dc == nullptr || count < 1) return;
  const double width = RectWidth(rect);
  lineOffset = halfCellInset != 0 ? TruncSat32(width / count * 0.5) : 0;
  savedPen = dc->SelectObject(&xLinePen);
  xInforPositions.clear();
  // With no seconds per unit or no units there is no scale to put the label times on (the
  // slot of a time would divide by zero): no lines, and no positions for the labels either.
  // Negative values are a scale like any other; they only run the lines leftwards.
  if (secondsPerUnit != 0 && units != 0 && !xInforTimes.empty() && kelo::detail::LabelCountOk(xInforTimes.size())) {
    const double unit = (width - 2.0 * lineOffset) / units;
    const std::int32_t top = NarrowSat32(static_cast<std::int64_t>(rect.top) - overDrawLineOffset);
    const double origin = OriginOf(rect, lineOffset);
    const std::int64_t first = xInforTimes.front();
    xInforPositions.reserve(xInforTimes.size());
    for (const std::int32_t t : xInforTimes) {
      const std::int64_t k = (t - first) / secondsPerUnit;
      const std::int32_t x = TruncSat32(origin + static_cast<double>(k) * unit);
      dc->MoveTo(x, top);
      dc->LineTo(x, rect.bottom);
      xInforPositions.push_back(x);
    }
  }
  dc->SelectObject(savedPen);
}

// ---- label strings ----

void CKeloBaseChart::SetXInfor(const std::vector<CString>& strings) { xInfor = strings; }

void CKeloBaseChart::SetXInforNew(const std::vector<CString>& strings) {
  xInfor = strings;
  if (strings.empty()) return;
  xInforTimes.clear();
  xInforTimes.reserve(strings.size());
  for (const CString& s : strings) xInforTimes.push_back(kelo::detail::LabelSecondsOfDay(s.str()));
}

// ---- label layouts ----

void CKeloBaseChart::ReCalculateXInforPos(int everySecondCell) {
  const std::vector<double> centres =
      kelo::detail::CellLabelCentres(xLabelRect, lineOffset, xCells, everySecondCell != 0 ? 2 : 1, xInfor.size());
  kelo::detail::LayoutXLabels(xInfor, centres, xLabelRect.bottom, fontWidth, fontHeight, xLabelSlots);
  // The time labels share these slots: they must be laid out again before they are drawn.
  timeStringsChanged = TRUE;
}

void CKeloBaseChart::ReCalculateXInforPosNew(int /*unused*/) {
  const std::vector<double> centres(xInforPositions.begin(), xInforPositions.end());
  kelo::detail::LayoutXLabels(xInfor, centres, xLabelRect.bottom, fontWidth, fontHeight, xLabelSlots);
  timeStringsChanged = TRUE;
}

// ---- labels ----

namespace {

// Every visible slot with the string of the same index, centred, in the X text colour.
void DrawVisibleXLabels(CDC* dc, const std::vector<CKeloBaseChart::SLabelSlot>& slots,
                        const std::vector<CString>& texts, COLORREF textColor, COLORREF defaultColor,
                        COLORREF background) {
  dc->SetTextColor(textColor);
  const std::size_t count = std::min(slots.size(), texts.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (slots[i].visible != 0) kelo::detail::DrawLabelOver(dc, texts[i], slots[i].rect, DT_CENTER, background);
  }
  dc->SetTextColor(defaultColor);
}

}  // namespace

void CKeloBaseChart::DrawXGridText(CDC* dc, const CRect& rect, int everySecondCell) {
  if (dc == nullptr || !kelo::detail::LabelCountOk(xInfor.size())) return;
  const int count = CountOf(xInfor.size());
  if (rect != xLabelRect || count != xLabelCount) {
    xLabelRect = rect;
    xLabelCount = count;
    ReCalculateXInforPos(everySecondCell);
  }
  DrawVisibleXLabels(dc, xLabelSlots, xInfor, xTextColor, defaultTextColor, labelBackground);
}

void CKeloBaseChart::DrawXGridTextNew(CDC* dc, const CRect& rect, int /*unused1*/, std::int32_t /*unused2*/,
                                      int /*unused3*/) {
  if (dc == nullptr || !kelo::detail::LabelCountOk(xInfor.size())) return;
  if (!rect.IsRectEmpty()) {
    xLabelRect = rect;
    xLabelCount = CountOf(xInfor.size());
    ReCalculateXInforPosNew(0);
  }
  DrawVisibleXLabels(dc, xLabelSlots, xInfor, xTextColor, defaultTextColor, labelBackground);
}

void CKeloBaseChart::DrawXGridTextString(CDC* dc, const CRect& rect, std::int32_t count) {
  // A count of 0 means one cell per string; a negative count gives negative cells, which
  // run the labels leftwards from the first one.
  if (dc == nullptr || xInfor.empty() || !kelo::detail::LabelCountOk(xInfor.size())) return;
  const std::int64_t cells = count != 0 ? count : static_cast<std::int64_t>(xInfor.size());
  const double cell = RectWidth(rect) / static_cast<double>(cells);
  const double origin = OriginOf(rect, lineOffset);
  const kelo::detail::LabelStrip strip = kelo::detail::LabelStripUnder(rect.bottom, fontHeight);
  dc->SetTextColor(xTextColor);
  for (std::size_t i = 0; i < xInfor.size(); ++i) {
    const std::int32_t left = TruncSat32(origin + static_cast<double>(i) * cell);
    const std::int32_t right = TruncSat32(left + cell);
    kelo::detail::DrawLabelOver(dc, xInfor[i], CRect(left, strip.top, right, strip.bottom), xTextFormatFlag,
                                labelBackground);
  }
  dc->SetTextColor(defaultTextColor);
}

void CKeloBaseChart::DrawXGridTextWithRange(CDC* dc, const CRect& rect, double maxValue, double minValue,
                                            std::int32_t count, int cellShift, int decimals) {
  if (dc == nullptr || count < 2 || count > kMaxAxisLines) return;
  const double cell = RectWidth(rect) / count;
  const double valueStep = (maxValue - minValue) / (count - 1);
  const double origin = OriginOf(rect, lineOffset);
  const kelo::detail::LabelStrip strip = kelo::detail::LabelStripUnder(rect.bottom, fontHeight);
  kelo::detail::XLabelThinner thinner;
  CString text;
  dc->SetTextColor(xTextColor);
  for (std::int32_t i = 0; i < count; ++i) {
    const double value = minValue + i * valueStep;
    switch (decimals) {
      case 1: text.Format("%.1f", value); break;
      case 2: text.Format("%.2f", value); break;
      case 3: text.Format("%.3f", value); break;
      default: text.Format("%.0f", value); break;
    }
    const double x = origin + static_cast<double>(static_cast<std::int64_t>(i) + cellShift) * cell;
    const kelo::detail::LabelSpan span =
        kelo::detail::XLabelSpan(x, kelo::detail::LabelWidth(text.GetLength(), fontWidth));
    if (thinner.Next(span)) {
      kelo::detail::DrawLabelOver(dc, text, CRect(span.left, strip.top, span.right, strip.bottom), DT_CENTER,
                                  labelBackground);
    }
  }
  dc->SetTextColor(defaultTextColor);
}
