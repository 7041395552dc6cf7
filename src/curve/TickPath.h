// The path of the intraday tick-price curve as pure geometry: each slot becomes a vertical
// stroke at its x, joined from the previous slot's close to its open, with hold lines
// across gaps in time, every piece tagged rising or falling; and the choice of the day's high
// and low marks by drawn position. CKeloBaseCurve::DrawTickPrice maps the pieces to its up
// and down pens; tests walk the path without a device context.
#pragma once

#include <cstdint>
#include <vector>

#include <kelochart/curve/KeloBaseCurve.h>
#include <kelochart/surface/Rect.h>

namespace kelo::detail {

using STickPrice = CKeloBaseCurve::STickPrice;
using SHighLowPoint = CKeloBaseCurve::SHighLowPoint;

// The x of a clock time on the chart's time axis (the frame's slot table).
class TimeToX {
 public:
  virtual ~TimeToX() = default;
  virtual int X(std::int32_t time) = 0;
};

// One straight piece of the path, drawn in the up pen when up is set, else the down pen.
struct TickSegment {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool up = true;
  friend bool operator==(const TickSegment&, const TickSegment&) = default;
};

// Receives the pieces and the mark offers in drawing order.
class TickPathSink {
 public:
  virtual ~TickPathSink() = default;
  virtual void Segment(const TickSegment& segment) = 0;
  // A price offered to the marks: its unrounded y, its pixel and its time.
  virtual void Mark(double y, int x, int yPixel, std::int32_t time, std::int32_t price) = 0;
};

struct TickPathInput {
  CRect rect;
  CKeloBaseCurve::SDrawRange range;
  std::int32_t gapSeconds = 60;    // a longer step between slots draws a hold line
  std::int32_t offsetMinTick = 0;  // non-zero: a trading period across midnight
  int markMode = 0;
};

// Whether a drawing of range has a scale: max > min, end > start, min <= ref <= max.
bool TickRangeDrawable(const CKeloBaseCurve::SDrawRange& range);

// Walks prices in order and hands every piece and mark offer to sink. Returns false, with
// nothing handed on, when the range is not drawable or prices is empty.
bool WalkTickPath(const TickPathInput& input, const std::vector<STickPrice>& prices, TimeToX& xOf, TickPathSink& sink);

// The day's marks: a smaller y is a higher price. The first offer after a reset (a mark at
// x = y = -1) sets both; later offers move the high mark on a strictly smaller y and the low
// mark on a strictly larger one, so the earlier of two equal prices stays.
struct HighLowMarks {
  SHighLowPoint& high;
  double& highY;
  SHighLowPoint& low;
  double& lowY;
  void Offer(double y, const SHighLowPoint& at);
};

}  // namespace kelo::detail
