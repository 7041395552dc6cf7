// The horizontal grid of a plot and the value labels of its Y axis: a column of
// right-aligned labels left of the plot, thinned by text height so that they never overlap.
// The label places come from the two layouts of YLabelLayout.h and are kept in yLabelSlots.
#include <cmath>
#include <cstdint>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>

#include "chart/LabelPaint.h"
#include "chart/YLabelLayout.h"

using kelo::detail::DrawLabel;
using kelo::detail::kMaxAxisLines;
using kelo::detail::LabelColumn;
using kelo::detail::NarrowSat32;
using kelo::detail::RectHeight;
using kelo::detail::TruncSat32;

namespace {

// The slot i of a layout, or null when the layout has no such slot (a layout left by
// another kind of axis, or a count that drew nothing).
const CKeloBaseChart::SLabelSlot* SlotAt(const std::vector<CKeloBaseChart::SLabelSlot>& slots, std::int64_t i) {
  if (i < 0 || i >= static_cast<std::int64_t>(slots.size())) return nullptr;
  return &slots[static_cast<std::size_t>(i)];
}

void DrawSlotLabel(CDC* dc, const CString& text, const std::vector<CKeloBaseChart::SLabelSlot>& slots, std::int64_t i) {
  if (const CKeloBaseChart::SLabelSlot* slot = SlotAt(slots, i)) DrawLabel(dc, text, slot->rect, DT_RIGHT);
}

bool IsVisible(const std::vector<CKeloBaseChart::SLabelSlot>& slots, std::int64_t i) {
  const CKeloBaseChart::SLabelSlot* slot = SlotAt(slots, i);
  return slot != nullptr && slot->visible != 0;
}

// Remembers the rectangle, line count and middle line a middle-line layout is made for;
// true when any of them changed, so that the layout must be made again.
bool KeepMiddleLayoutKey(CRect& keptRect, int& keptCount, int& keptHalf, const CRect& rect, int count, int half) {
  if (rect == keptRect && count == keptCount && half == keptHalf) return false;
  keptRect = rect;
  keptCount = count;
  keptHalf = half;
  return true;
}

// A quotient that a 32-bit line index can hold.
bool FitsInt32(double value) { return value > -2147483649.0 && value < 2147483648.0; }

}  // namespace

void CKeloBaseChart::DrawYGrid(CDC* dc, const CRect& rect, std::int32_t count, int topInset) {
  if (dc == nullptr || count < 1 || count > kMaxAxisLines) return;
  const double height = RectHeight(rect);
  horizontalLineOffset = 0;
  double step = height / count;
  if (topInset != 0) {
    // The top line lies half a cell below the top edge.
    horizontalLineOffset = TruncSat32(step * 0.5);
    step = (height - horizontalLineOffset) / count;
  }
  savedPen = dc->SelectObject(&yLinePen);
  for (std::int32_t i = 1; i <= count; ++i) {
    const std::int32_t y = TruncSat32(static_cast<double>(rect.bottom) - i * step);
    dc->MoveTo(rect.left, y);
    dc->LineTo(rect.right, y);
  }
  dc->SelectObject(savedPen);
}

void CKeloBaseChart::DrawYGridText(CDC* dc, const CRect& rect, double maxValue, double minValue) {
  if (dc == nullptr || yCells < 1 || yCells > kMaxAxisLines) return;
  yLabelRect = rect;
  yLabelCount = yCells;
  ReCalculateYInforPos();

  const double step = (maxValue - minValue) / yCells;
  dc->SetTextColor(leftYTextColor);
  CString text;
  for (std::int64_t i = 1; i <= yLabelCount; ++i) {
    if (!IsVisible(yLabelSlots, i)) continue;
    text.Format("%.2f", minValue + static_cast<double>(i) * step);
    DrawSlotLabel(dc, text, yLabelSlots, i);
  }

  // The unit stands level with the bottom line, two text lines tall.
  const kelo::detail::AxisMetrics m = LabelMetrics();
  const LabelColumn column = kelo::detail::YLabelColumn(rect.left, m, false);
  const std::int32_t top = TruncSat32(static_cast<double>(rect.bottom) - halfFontHeight);
  const std::int32_t bottom =
      NarrowSat32(static_cast<std::int64_t>(top) + 2 * static_cast<std::int64_t>(fontHeight) + 1);
  DrawLabel(dc, leftUnit, CRect(column.left, top, column.right, bottom), DT_RIGHT);
  dc->SetTextColor(defaultTextColor);
}

int CKeloBaseChart::DrawYGridTextEx(CDC* dc, const CRect& rect, double maxValue, double midValue, double minValue,
                                    std::int32_t count, int decimals) {
  if (midValue > maxValue || midValue < minValue) return 0;
  if (dc == nullptr || count < 1 || count > kMaxAxisLines) return 0;
  const std::int32_t half = count / 2;
  if (KeepMiddleLayoutKey(yLabelRect, yLabelCount, yLabelHalf, rect, count, half)) ReCalculateYInforPosWithMid();

  if (decimals != 0) midValue = KeloUtility::Round(midValue, kelo::detail::RoundingDigits(decimals));
  // With a single line there is no half to divide; no inner label is drawn then.
  const double up = half != 0 ? (maxValue - midValue) / half : 0.0;
  const double down = half != 0 ? (midValue - minValue) / half : 0.0;

  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(defaultTextColor);
  for (std::int64_t i = 1; i <= static_cast<std::int64_t>(count) - 2; ++i) {
    if (!IsVisible(yLabelSlots, i)) continue;
    const double value =
        i < half ? minValue + static_cast<double>(i) * down : midValue + static_cast<double>(i - half) * up;
    DrawSlotLabel(dc, kelo::detail::FormatDecimals(decimals, value, yValueUnit), yLabelSlots, i);
  }

  dc->SetTextColor(yMaxTextColor);
  DrawSlotLabel(dc, kelo::detail::FormatDecimals(decimals, maxValue, yValueUnit), yLabelSlots, count - 1);
  dc->SetTextColor(yMidTextColor);
  DrawSlotLabel(dc, kelo::detail::FormatDecimals(decimals, midValue, yValueUnit), yLabelSlots, half);
  dc->SetTextColor(yMinTextColor);
  DrawSlotLabel(dc, kelo::detail::FormatDecimals(decimals, minValue, yValueUnit), yLabelSlots, 0);
  dc->SetTextColor(defaultTextColor);
  return 1;
}

void CKeloBaseChart::DrawSymYGridText(CDC* dc, const CRect& rect, double maxValue, double minValue,
                                      std::int32_t count) {
  if (dc == nullptr || count < 1 || count > kMaxAxisLines) return;
  const std::int32_t half = count / 2;
  if (KeepMiddleLayoutKey(yLabelRect, yLabelCount, yLabelHalf, rect, count, half)) ReCalculateYInforPosWithMid();

  const double mid = maxValue * 0.5 + minValue * 0.5;
  const double step = count > 1 ? (maxValue - minValue) / (count - 1) : 0.0;
  CString text;
  dc->SetTextColor(defaultTextColor);
  for (std::int64_t i = 1; i <= static_cast<std::int64_t>(count) - 2; ++i) {
    if (i == half || !IsVisible(yLabelSlots, i)) continue;
    text.Format("%+.2f%s", minValue + static_cast<double>(i) * step - mid, yValueUnit.GetString());
    DrawSlotLabel(dc, text, yLabelSlots, i);
  }

  dc->SetTextColor(yMaxTextColor);
  text.Format("%+.2f%s", maxValue - mid, yValueUnit.GetString());
  DrawSlotLabel(dc, text, yLabelSlots, count - 1);
  dc->SetTextColor(yMidTextColor);
  text.Format("%.2f%s", mid, yValueUnit.GetString());
  DrawSlotLabel(dc, text, yLabelSlots, half);
  dc->SetTextColor(yMinTextColor);
  text.Format("%+.2f%s", minValue - mid, yValueUnit.GetString());
  DrawSlotLabel(dc, text, yLabelSlots, 0);
  dc->SetTextColor(defaultTextColor);
}

int CKeloBaseChart::DrawFitYGridText(CDC* dc, const CRect& rect, std::int64_t maxValue, std::int32_t count,
                                     int drawLines) {
  if (dc == nullptr || count < 1 || count > kMaxAxisLines) return 1;
  std::vector<std::int32_t> scale;
  KeloUtility::FindFitScale(static_cast<double>(maxValue), scale);
  yLabelRect = rect;
  yLabelCount = count;

  const double height = RectHeight(rect);
  double step = height / count;
  if (drawLines != 0) {
    horizontalLineOffset = TruncSat32(step * 0.5);
    step = (height - horizontalLineOffset) / count;
    savedPen = dc->SelectObject(&yLinePen);
  }
  ReCalculateYInforPos();
  dc->SetTextColor(leftYTextColor);

  // Only as many lines as the fitted scale has cells and entries carry a value.
  const std::int64_t end = std::min<std::int64_t>(static_cast<std::int64_t>(fitYGridCount) + 1,
                                                  static_cast<std::int64_t>(yLabelSlots.size()));
  const std::int64_t entries = static_cast<std::int64_t>(scale.size());
  CString text;
  for (std::int64_t i = 1; i < end && i <= entries; ++i) {
    if (!IsVisible(yLabelSlots, i)) continue;
    KeloUtility::VolumeFormatA(text, scale[static_cast<std::size_t>(i - 1)], 1);
    DrawSlotLabel(dc, text, yLabelSlots, i);
    if (drawLines != 0) {
      const std::int32_t y = TruncSat32(static_cast<double>(rect.bottom) - static_cast<double>(i) * step);
      dc->MoveTo(rect.left, y);
      dc->LineTo(rect.right, y);
    }
  }
  if (drawLines != 0) dc->SelectObject(savedPen);

  const kelo::detail::AxisMetrics m = LabelMetrics();
  const LabelColumn column = kelo::detail::YLabelColumn(rect.left, m, false);
  const std::int32_t top = TruncSat32(static_cast<double>(rect.bottom) - halfFontHeight);
  const std::int32_t bottom = NarrowSat32(static_cast<std::int64_t>(top) + fontHeight);
  DrawLabel(dc, leftUnit, CRect(column.left, top, column.right, bottom), DT_RIGHT);
  dc->SetTextColor(defaultTextColor);
  return 1;
}

void CKeloBaseChart::DrawJumpYGridText(CDC* dc, const CRect& rect, double maxValue, double minValue, double baseValue,
                                       std::int32_t count, int noBaseLabel) {
  if (dc == nullptr || count < 1 || count > kMaxAxisLines) return;
  const double height = RectHeight(rect);
  const double top0 = static_cast<double>(rect.top);
  const double pixelStep = height / count;
  const double valueStep = (maxValue - minValue) / count;
  const std::int32_t half = count / 2;
  const kelo::detail::AxisMetrics m = LabelMetrics();
  const LabelColumn column = kelo::detail::YLabelColumn(rect.left, m, false);
  dc->SetTextColor(defaultTextColor);

  // Going down from the top, every second line is labelled unless its label would touch the
  // one drawn before it; below the middle the labels start under the base label.
  std::int64_t limit = 0;
  CString text;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t top = TruncSat32(i * pixelStep + top0 - halfFontHeight);
    const std::int32_t bottom = NarrowSat32(static_cast<std::int64_t>(top) + fontHeight);
    if (i == half) limit = TruncSat32(height * 0.5 + top0 + halfFontHeight);
    if (i % 2 == 1 && top > limit) {
      text.Format("%+.2f%s", (maxValue - i * valueStep) - baseValue, yValueUnit.GetString());
      DrawLabel(dc, text, CRect(column.left, top, column.right, bottom), DT_RIGHT);
      limit = bottom;
    }
  }

  if (noBaseLabel == 0) {
    dc->SetTextColor(yMidTextColor);
    const std::int32_t top = TruncSat32(height * 0.5 + top0 - halfFontHeight);
    const std::int32_t bottom = NarrowSat32(static_cast<std::int64_t>(top) + fontHeight);
    text.Format("%.2f%s", baseValue, yValueUnit.GetString());
    DrawLabel(dc, text, CRect(column.left, top, column.right, bottom), DT_RIGHT);
  }
}

void CKeloBaseChart::DrawYGridTextBylossBenefit(CDC* dc, const CRect& rect, double refValue, double maxValue,
                                                double minValue, double step, int decimals) {
  if (dc == nullptr) return;
  // A zero or unbounded step, or a range of more lines than a line index holds, has no axis.
  const double s = std::fabs(step);
  if (!(s > 0.0) || !std::isfinite(s)) return;
  const double lowLines = minValue / s;
  const double highLines = maxValue / s;
  if (!FitsInt32(lowLines) || !FitsInt32(highLines)) return;
  const std::int64_t low = TruncSat32(lowLines);
  const std::int64_t high = TruncSat32(highLines);
  const std::int64_t cells = high > low ? high - low : low - high;
  if (cells > kMaxAxisLines) return;

  yCells = static_cast<int>(cells);
  yLabelRect = rect;
  yLabelCount = yCells;
  ReCalculateYInforPos();

  if (decimals != 0) refValue = KeloUtility::Round(refValue, kelo::detail::RoundingDigits(decimals));
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(defaultTextColor);

  CKeloPalette& palette = CKeloUIObjectSingletonPool::Instance()->palette;
  CString text;
  CString volume;
  for (std::int64_t i = 0; i < cells; ++i) {
    if (!IsVisible(yLabelSlots, i)) continue;
    const CRect& place = yLabelSlots[static_cast<std::size_t>(i)].rect;
    const double value = static_cast<double>(i + low) * s;
    if (value == refValue) {
      // The reference line is marked with the middle pen through the middle of its label.
      dc->SetTextColor(palette.GetLayoutColor(1));
      const std::int32_t y = NarrowSat32((static_cast<std::int64_t>(place.top) + place.bottom) / 2);
      CPen* previous = dc->SelectObject(&midYLinePen);
      dc->MoveTo(rect.left, y);
      dc->LineTo(rect.right, y);
      dc->SelectObject(previous);
    } else if (refValue < value) {
      dc->SetTextColor(palette.colorTable[CKeloPalette::kUpTextColor]);
    } else {
      dc->SetTextColor(palette.colorTable[CKeloPalette::kDownTextColor]);
    }

    if (value >= 1000.0) {
      KeloUtility::VolumeFormatA(text, TruncSat32(value), 1);
    } else if (value <= -1000.0) {
      KeloUtility::VolumeFormatA(volume, TruncSat32(value), 1);
      text.Format("%s%s", "-", volume.GetString());
    } else {
      text = kelo::detail::FormatDecimals(decimals, value);
    }
    DrawLabel(dc, text, place, DT_RIGHT);
  }
}

kelo::detail::AxisMetrics CKeloBaseChart::LabelMetrics() const {
  return {fontHeight, fontWidth, halfFontHeight, halfFontWidth, bmpDeflateLeft};
}

void CKeloBaseChart::ReCalculateYInforPos() {
  const kelo::detail::AxisMetrics m = LabelMetrics();
  yLabelSlots = kelo::detail::EvenlySpacedYLayout(yLabelRect, horizontalLineOffset, yLabelCount, m);
}

void CKeloBaseChart::ReCalculateYInforPosWithMid() {
  const kelo::detail::AxisMetrics m = LabelMetrics();
  yLabelSlots = kelo::detail::MiddleLineYLayout(yLabelRect, yLabelCount, yLabelHalf, m);
}

void CKeloBaseChart::GetFitYGridCount() { fitYGridCount = KeloUtility::GetFitScaleCount(); }
