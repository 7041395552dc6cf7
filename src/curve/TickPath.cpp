// The tick-price path: joints, bodies, high and low strokes, hold lines and the skip rule,
// and the choice of the high and low marks.
#include "curve/TickPath.h"

#include <kelochart/services/KeloUtility.h>

#include "chart/AxisPixel.h"
#include "curve/SplitPriceScale.h"

namespace kelo::detail {
namespace {

std::int32_t Seconds(std::int32_t clockTime) {
  std::int32_t seconds = 0;
  KeloUtility::TimeToSecTick(clockTime, seconds);
  return seconds;
}

// The clock time gap seconds before cur, held at midnight.
std::int32_t HoldEndTime(std::int32_t cur, std::int32_t gapSeconds) {
  const std::int64_t seconds = static_cast<std::int64_t>(cur) - gapSeconds;
  std::int32_t time = 0;
  KeloUtility::SecTickToTime(time, seconds < 0 ? 0 : NarrowSat32(seconds));
  return time;
}

}  // namespace

bool TickRangeDrawable(const CKeloBaseCurve::SDrawRange& r) {
  return r.maxPrice > r.minPrice && r.endTime > r.startTime && r.refPrice >= r.minPrice && r.refPrice <= r.maxPrice;
}

bool WalkTickPath(const TickPathInput& in, const std::vector<STickPrice>& prices, TimeToX& xOf, TickPathSink& sink) {
  const CKeloBaseCurve::SDrawRange& range = in.range;
  if (!TickRangeDrawable(range) || prices.empty()) return false;
  constexpr std::int32_t kNoPrice = CKeloBaseCurve::kNoPrice;
  const SplitPriceScale scale =
      SplitPriceScale::Make(in.rect, range.maxPrice, range.refPrice, range.minPrice, SplitPriceScale::kTruncatedMiddle);
  const bool marks = in.markMode != 0;
  const bool allMarks = in.markMode == 1;

  int prevX = xOf.X(prices[0].time);
  int prevY = scale.yMid;
  std::int32_t prevClose = range.refPrice;
  bool rising = true;
  std::int32_t prevSec = 0;

  for (std::size_t i = 0; i < prices.size(); ++i) {
    const STickPrice& r = prices[i];
    const std::int32_t curSec = Seconds(r.time);
    if (i > 0 && r.time <= range.endTime) {
      const std::int64_t gap = static_cast<std::int64_t>(curSec) - prevSec;
      // Across midnight the seconds start again, so a step backwards is a gap as well.
      if (gap > in.gapSeconds || (gap < in.gapSeconds && in.offsetMinTick != 0)) {
        const int xh = xOf.X(HoldEndTime(curSec, in.gapSeconds));
        sink.Segment({prevX, prevY, xh, prevY, rising});
        prevX = xh;
      }
    }
    prevSec = curSec;

    const bool overflow = r.time > range.endTime && in.offsetMinTick == 0;
    const int x = xOf.X(overflow ? range.overflowTime : r.time);
    // A slot left of the one before it (a time out of order) adds nothing to the path.
    if (prevX > x) continue;
    // A slot without a last price has nothing to draw; one without an open starts at its
    // close, so the joint stays on prices and the body is a point.
    if (r.close == kNoPrice) continue;
    const std::int32_t open = r.open == kNoPrice ? r.close : r.open;
    const int yOpen = scale.Y(open);
    const int yClose = scale.Y(r.close);

    if (r.open != kNoPrice && r.open != prevClose) rising = r.open > prevClose;
    sink.Segment({prevX, prevY, x, yOpen, rising});
    if (marks && r.skipOpenMark == 0 && r.open != kNoPrice) sink.Mark(scale.YD(r.open), x, yOpen, r.time, r.open);

    prevX = x;
    const bool closeUp = r.close >= range.refPrice;
    sink.Segment({x, yClose, x, yOpen, closeUp});
    if (i == 0) rising = closeUp;
    prevY = yClose;

    if (r.high != kNoPrice && r.high >= r.close) {
      if (r.high > r.close) {
        sink.Segment({x, yClose, x, scale.Y(r.high), false});
        rising = false;
      }
      if (allMarks) sink.Mark(scale.YD(r.high), x, scale.Y(r.high), r.highTime, r.high);
    }
    if (i == 0) sink.Segment({x, scale.yMid, x, yClose, closeUp});
    if (r.low != kNoPrice && r.low <= r.close) {
      if (r.low < r.close) {
        sink.Segment({x, yClose, x, scale.Y(r.low), true});
        rising = true;
      }
      if (allMarks) sink.Mark(scale.YD(r.low), x, scale.Y(r.low), r.lowTime, r.low);
    }
    prevClose = r.close;
  }
  return true;
}

void HighLowMarks::Offer(double y, const SHighLowPoint& at) {
  if ((high.x == -1 && high.y == -1) || (low.x == -1 && low.y == -1)) {
    high = at;
    low = at;
    highY = y;
    lowY = y;
    return;
  }
  if (y < highY) {
    high = at;
    highY = y;
  }
  if (y > lowY) {
    low = at;
    lowY = y;
  }
}

}  // namespace kelo::detail
