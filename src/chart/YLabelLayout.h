// Pure geometry of the Y labels and of the reference-price axis: where each horizontal line
// and its label lie, and which labels are shown so that they keep apart. Nothing here draws
// or needs a device context, so the layouts can be checked alone; YAxis.cpp and
// HorizontalLines.cpp turn them into lines and texts.
#pragma once

#include <cstdint>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>

#include "chart/AxisPixel.h"

namespace kelo::detail {

using SLabelSlot = CKeloBaseChart::SLabelSlot;

// The character cell of the chart as the label geometry reads it.
struct AxisMetrics {
  std::int32_t fontHeight = 0;
  std::int32_t fontWidth = 0;
  double halfFontHeight = 0.0;
  double halfFontWidth = 0.0;
  int bmpDeflateLeft = 0;
};

// The left label column: right edge half a character left of the plot, as wide as the
// left margin. With clampAtZero the column starts at 0 when it would not fit left of it.
struct LabelColumn {
  std::int32_t left = 0;
  std::int32_t right = 0;
};
LabelColumn YLabelColumn(std::int32_t plotLeft, const AxisMetrics& m, bool clampAtZero);

// The label rectangle of a line at height y: one text height, centred on the line.
CRect YLabelRect(const LabelColumn& column, double y, const AxisMetrics& m);

// How many lines one text height covers, rounded up to a thousandth: every e-th line can
// carry a label. 0 means no line can (the step is over a thousand text heights).
std::int64_t YLabelInterval(std::int32_t fontHeight, double step);

// The evenly spaced axis: n lines above the bottom edge of rect, the top one
// horizontalLineOffset below the top edge; slot i belongs to line i from the bottom.
// Counting down from the top line, every e-th line carries a label. Slot 0 (the bottom
// line) is never visible. n below 1 or above kMaxAxisLines gives slot 0 alone.
std::vector<SLabelSlot> EvenlySpacedYLayout(const CRect& rect, int horizontalLineOffset, std::int64_t n,
                                            const AxisMetrics& m);

// The axis with a middle line: n lines 0 .. n-1 spanning the whole height and the middle
// line h. Labels are shown on every e-th line counted from the middle, e being the first
// distance above the middle whose label clears the middle label and the top edge; when the
// line under the top is within a text height of the top edge, the lines next to the top and
// bottom labels are hidden. n below 2 or above kMaxAxisLines gives slot 0 alone.
std::vector<SLabelSlot> MiddleLineYLayout(const CRect& rect, std::int64_t n, std::int64_t h, const AxisMetrics& m);

// The split scale of the reference-price axis: the upper half of the plot maps base .. max
// down from the exact (untruncated) middle, the lower half maps min .. base up from the
// bottom edge, each on its own scale. The caller picks the half by a line's place in the
// scale list, not by its price. (The tick-price curve has a split scale of its own that
// anchors both halves on a truncated middle line: curve/SplitPriceScale.h.)
struct PriceAxisSplitScale {
  double bottom = 0.0;
  double midY = 0.0;
  double upScale = 0.0;
  double downScale = 0.0;
  std::int32_t baseValue = 0;
  std::int32_t minValue = 0;
  // Only for max > base > min, as the axis checks first.
  static PriceAxisSplitScale Make(const CRect& rect, std::int32_t maxValue, std::int32_t baseValue,
                                  std::int32_t minValue);
  std::int32_t UpperY(std::int32_t value) const;
  std::int32_t LowerY(std::int32_t value) const;
};

// The reference-price axis: the list of scale prices drawn around the base price, the upper
// half of the plot for base .. max and the lower half for min .. base, each on its own scale.
struct PriceAxisLayout {
  bool valid = false;               // false: empty list or a range not falling max > base > min
  double half = 0.0;                // half the plot height
  double midY = 0.0;                // height of the base line (before truncation)
  std::int64_t baseIndex = 0;       // first entry from 1 on equal to the base price, else 0
  std::int64_t interval = 1;        // e: every e-th line from the base line carries a label
  bool crowded = false;             // the line under the top is within a text height of the top
  std::vector<std::int32_t> lineY;  // lineY[0] = bottom edge, lineY[i] = line of values[i]
  std::vector<SLabelSlot> slots;    // one per line, slot 0 never visible
};
PriceAxisLayout PriceAxisYLayout(const CRect& rect, const std::vector<std::int32_t>& values, std::int32_t maxValue,
                                 std::int32_t baseValue, std::int32_t minValue, const AxisMetrics& m);

// Label texts.
// A scaled price as its label: the price divided by priceScale with as many decimals as the
// scale has zeros (two for any other scale), followed by unit. priceScale 0 divides by 1.
CString FormatScaledPrice(std::int32_t scaledPrice, std::int32_t priceScale, const CString& unit);
// value with 0, 1, 3 or (any other decimals) 2 decimals, optionally followed by unit.
CString FormatDecimals(int decimals, double value, const CString& unit);
CString FormatDecimals(int decimals, double value);
// The digits a value is rounded to before it is shown with decimals (1, 3 or 2).
int RoundingDigits(int decimals);

}  // namespace kelo::detail
