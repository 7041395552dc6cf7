// The time axis of intraday charts: the time-slot table that maps a clock time to an x
// pixel and back, the vertical time grid, and the layout and drawing of the time labels.
// The table is built once per width, range and slot length (TimeSlotTable.h does the
// arithmetic) and shared by every user of the chart, so a lookup is two time conversions,
// one division and one index.
#include <kelochart/chart/KeloBaseChart.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include <kelochart/services/KeloUtility.h>

#include "chart/LabelPaint.h"
#include "chart/AxisPixel.h"
#include "chart/TimeSlotTable.h"
#include "chart/XLabelLayout.h"

using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat32;

namespace {

std::int64_t WidthOf(const CRect& rect) { return static_cast<std::int64_t>(rect.right) - rect.left; }

std::int32_t SecondsOfDay(std::int32_t clockTime) {
  std::int32_t seconds = 0;
  KeloUtility::TimeToSecTick(clockTime, seconds);
  return seconds;
}

// Whether GetXPosByTime, just called for time over a range that is not reversed and with
// a positive slot length, found a position: always when the table has entries; without
// entries only on the shifted clock, where a slot at or after the start of the period is
// beyond the table and so the right edge.
bool HasTimePosition(const std::vector<float>& table, std::int32_t offsetMinTick, int ignoreOffset, std::int32_t time,
                     std::int32_t startTime, std::int32_t step) {
  if (!table.empty()) return true;
  if (offsetMinTick == 0 || ignoreOffset != 0) return false;
  return kelo::detail::PickShiftedTimeSlot(SecondsOfDay(time), SecondsOfDay(startTime), step, offsetMinTick, 0).kind !=
         kelo::detail::TimeSlotPick::kNone;
}

}  // namespace

// ---- slot table ----

void CKeloBaseChart::ReCalculateXTimePos(ETickType step) {
  kelo::detail::TimeSlotGeometry geometry;
  geometry.left = timeTableRect.left;
  geometry.right = timeTableRect.right;
  geometry.lineOffset = lineOffset;
  geometry.startSec = SecondsOfDay(timeStart);
  geometry.endSec = SecondsOfDay(timeEnd);
  geometry.step = static_cast<std::int32_t>(step);
  tickXPosStep = kelo::detail::BuildTimeSlotTable(geometry, xTimePositions);
}

int CKeloBaseChart::GetXPosByTime(const CRect& rect, std::int32_t endTime, std::int32_t startTime, std::int32_t time,
                                  ETickType step, int ignoreOffset) {
  // A reversed or empty range, or a slot length that is not a positive number of seconds,
  // has no positions; the table of earlier calls is kept for them.
  if (endTime <= startTime || static_cast<std::int32_t>(step) <= 0) return -1;
  // The key compares widths only: a rectangle moved sideways keeps the old positions.
  if (WidthOf(rect) != WidthOf(timeTableRect) || endTime != timeEnd || startTime != timeStart || step != tickType) {
    timeTableRect = rect;
    timeEnd = endTime;
    timeStart = startTime;
    tickType = step;
    ReCalculateXTimePos(step);
  }
  const std::int32_t timeSec = SecondsOfDay(time);
  const std::int32_t startSec = SecondsOfDay(startTime);
  const kelo::detail::TimeSlotPick pick =
      offsetMinTick != 0 && ignoreOffset == 0
          ? kelo::detail::PickShiftedTimeSlot(timeSec, startSec, step, offsetMinTick, xTimePositions.size())
          : kelo::detail::PickTimeSlot(time, startTime, endTime, timeSec, startSec, step, xTimePositions.size());
  return kelo::detail::TimeSlotPixel(pick, xTimePositions, rect.right);
}

int CKeloBaseChart::GetTimeByXPos(int x, std::int32_t& time) {
  if (xTimePositions.empty() || timeStart == INT32_MAX) return 0;
  const std::int64_t k = kelo::detail::FirstSlotAtPixel(xTimePositions, x);
  if (k < 0) return 0;
  const std::int64_t seconds =
      static_cast<std::int64_t>(SecondsOfDay(timeStart)) + static_cast<std::int64_t>(tickType) * k;
  KeloUtility::SecTickToTime(time, NarrowSat32(seconds));
  return 1;
}

int CKeloBaseChart::CountGridOffset(std::int32_t a, std::int32_t b, int c) {
  if (b == 0) return 0;
  return TruncSat32(static_cast<double>(a) / b * c);
}

double CKeloBaseChart::CountLineOffsetStep(std::int32_t width, std::int32_t count) {
  if (count == 0) return 0.0;
  return static_cast<double>(static_cast<std::int64_t>(width) - 2 * static_cast<std::int64_t>(lineOffset)) / count;
}

// ---- time grid ----

void CKeloBaseChart::DrawXGridByTime(CDC* dc, const CRect& rect, std::int32_t endTime, std::int32_t startTime,
                                     std::vector<STimeLine> lines, int ignoreOffset, int drawSubLines, ETickType step) {
  if (dc == nullptr || endTime <= startTime || lines.empty() || static_cast<std::int32_t>(step) <= 0) return;
  const std::int32_t tickBottom = NarrowSat32(static_cast<std::int64_t>(rect.bottom) + 5);
  for (const STimeLine& line : lines) {
    const int x = GetXPosByTime(rect, endTime, startTime, line.time, step, ignoreOffset);
    // A time that has no position (the table is empty) has no line to draw.
    if (!HasTimePosition(xTimePositions, offsetMinTick, ignoreOffset, line.time, startTime, step)) continue;
    CPen* pen = nullptr;
    std::int32_t from = rect.bottom;
    std::int32_t to = rect.top;
    if (line.kind == 0) {
      pen = &xLinePen;
    } else if (line.kind == 1 && drawSubLines != 0) {
      pen = &xSubLinePen;
    } else if (line.kind == 1 && !leftUnit.IsEmpty()) {
      pen = &xLinePen;
      to = tickBottom;
    }
    // Sub lines without ticks, and kinds the chart does not know, draw nothing.
    if (pen == nullptr) continue;
    savedPen = dc->SelectObject(pen);
    dc->MoveTo(x, from);
    dc->LineTo(x, to);
    dc->SelectObject(savedPen);
  }
  if (isDrawRTLine != 0) {
    KeloUtility::DrawColorEdge(dc, rect, 0xA8A8A8, 1, KeloUtility::eDrawEdgeRight);
    KeloUtility::DrawColorEdge(dc, rect, 0xA8A8A8, 1, KeloUtility::eDrawEdgeTop);
  }
}

// ---- time labels ----

void CKeloBaseChart::SetXInfor(std::vector<STimeString> strings) {
  timeStrings = std::move(strings);
  timeStringsChanged = TRUE;
}

void CKeloBaseChart::ReCalculateXTimeInfoPos(int showAll, ETickType step) {
  xLabelSlots.clear();
  // The X labels share these slots: the next X label drawing lays them out again.
  xLabelCount = -1;
  if (!kelo::detail::LabelCountOk(timeStrings.size())) return;
  xLabelSlots.reserve(timeStrings.size());
  const kelo::detail::LabelStrip strip = kelo::detail::LabelStripUnder(xLabelRect.bottom, fontHeight);
  kelo::detail::TimeLabelThinner thinner;
  for (const STimeString& label : timeStrings) {
    const double width = kelo::detail::LabelWidth(label.text.GetLength(), fontWidth);
    const int x = GetXPosByTime(xLabelRect, labelTimeEnd, labelTimeStart, label.time, step, 0);
    // Over a reversed or empty range every label is at x = -1 and thinned like any other.
    // A label whose time has no position (a slot length that is not positive, clock times
    // without slots) is hidden and blocks nothing.
    const bool placed = labelTimeEnd <= labelTimeStart ||
                        (static_cast<std::int32_t>(step) > 0 &&
                         HasTimePosition(xTimePositions, offsetMinTick, 0, label.time, labelTimeStart, step));
    const bool wanted = label.isMinor == 0 || showAll != 0;
    const kelo::detail::LabelSpan span = kelo::detail::TimeLabelSpan(x, width);
    SLabelSlot slot;
    slot.rect = CRect(span.left, strip.top, span.right, strip.bottom);
    slot.visible = thinner.Next(span, placed && wanted) ? 1 : 0;
    xLabelSlots.push_back(slot);
  }
}

void CKeloBaseChart::DrawXGridTextByTime(CDC* dc, const CRect& rect, std::int32_t endTime, std::int32_t startTime,
                                         int showAll, ETickType step) {
  if (dc == nullptr || timeStrings.empty() || !kelo::detail::LabelCountOk(timeStrings.size())) return;
  // showAll and the slot length are not part of the key.
  if (rect != xLabelRect || endTime != labelTimeEnd || startTime != labelTimeStart || timeStringsChanged != 0) {
    xLabelRect = rect;
    labelTimeEnd = endTime;
    labelTimeStart = startTime;
    ReCalculateXTimeInfoPos(showAll, step);
    timeStringsChanged = FALSE;
  }
  dc->SetTextColor(xTextColor);
  const std::size_t count = std::min(xLabelSlots.size(), timeStrings.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (xLabelSlots[i].visible != 0) {
      kelo::detail::DrawLabelOver(dc, timeStrings[i].text, xLabelSlots[i].rect, DT_CENTER, labelBackground);
    }
  }
  dc->SetTextColor(defaultTextColor);
}
