// The intraday tick-price curve: the price path of one trading day coloured by direction
// around the reference price, the day's high and low marks, and the frame of a curve pane
// (grid, labels and axes). The path itself is pure geometry (TickPath.h); this file maps it
// to the up and down pens on an anti-aliased graphics object.
#include <kelochart/curve/KeloBaseCurve.h>

#include "curve/TickPath.h"

namespace {

using kelo::detail::TickSegment;

// Times map through the frame's slot table in one-minute slots, whatever the hold-line step.
class FrameTimeToX : public kelo::detail::TimeToX {
 public:
  FrameTimeToX(CKeloBaseChart& chart, const CRect& rect, const CKeloBaseCurve::SDrawRange& range)
      : chart_(chart), rect_(rect), range_(range) {}
  int X(std::int32_t time) override {
    return chart_.GetXPosByTime(rect_, range_.endTime, range_.startTime, time, CKeloBaseChart::eTickMinute, 0);
  }

 private:
  CKeloBaseChart& chart_;
  const CRect& rect_;
  const CKeloBaseCurve::SDrawRange& range_;
};

template <typename Record>
class PenSink : public kelo::detail::TickPathSink {
 public:
  PenSink(Gdiplus::Graphics& graphics, const Gdiplus::Pen& up, const Gdiplus::Pen& down, Record record)
      : graphics_(graphics), up_(up), down_(down), record_(record) {}
  void Segment(const TickSegment& s) override { graphics_.DrawLine(s.up ? &up_ : &down_, s.x1, s.y1, s.x2, s.y2); }
  void Mark(double y, int x, int yPixel, std::int32_t time, std::int32_t price) override {
    record_(y, x, yPixel, time, price);
  }

 private:
  Gdiplus::Graphics& graphics_;
  const Gdiplus::Pen& up_;
  const Gdiplus::Pen& down_;
  Record record_;
};

}  // namespace

void CKeloBaseCurve::DrawTickPrice(CDC* dc, const CRect& rect, SDrawRange range, std::vector<STickPrice> prices,
                                   ETickType gapSeconds, int markMode) {
  // A new set of marks starts before anything is checked, so an empty day clears them too.
  if (markMode == 1) {
    highPoint.x = highPoint.y = lowPoint.x = lowPoint.y = -1;
    highPointY = lowPointY = -1.0;
  }
  if (dc == nullptr || !kelo::detail::TickRangeDrawable(range) || prices.empty()) return;

  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  FrameTimeToX xOf(*this, rect, range);
  auto record = [this](double y, int x, int yPixel, std::int32_t time, std::int32_t price) {
    RecordHighLowPointPos(y, x, yPixel, time, price);
  };
  PenSink<decltype(record)> sink(graphics, upCurvePen, downCurvePen, record);
  const kelo::detail::TickPathInput input{rect, range, static_cast<std::int32_t>(gapSeconds), offsetMinTick, markMode};
  kelo::detail::WalkTickPath(input, prices, xOf, sink);
}

void CKeloBaseCurve::DrawTickPrice(CDC* dc, const CRect& rect, SDrawRange range, std::vector<STickPrice> prices,
                                   Gdiplus::Color color, ETickType gapSeconds, int markMode) {
  Gdiplus::Color up;
  Gdiplus::Color down;
  upCurvePen.GetColor(&up);
  downCurvePen.GetColor(&down);
  upCurvePen.SetColor(color);
  downCurvePen.SetColor(color);
  DrawTickPrice(dc, rect, range, prices, gapSeconds, markMode);
  upCurvePen.SetColor(up);
  downCurvePen.SetColor(down);
}

void CKeloBaseCurve::RecordHighLowPointPos(double y, int x, int yPixel, std::int32_t time, std::int32_t price) {
  kelo::detail::HighLowMarks marks{highPoint, highPointY, lowPoint, lowPointY};
  marks.Offer(y, SHighLowPoint{x, yPixel, time, price});
}

void CKeloBaseCurve::GetHighLowPointXY(int which, int& x, int& y, std::int32_t& time, std::int32_t& price) {
  const SHighLowPoint& p = which != 0 ? highPoint : lowPoint;
  x = p.x;
  y = p.y;
  time = p.time;
  price = p.price;
}

void CKeloBaseCurve::DrawBase(CDC* dc, const CRect& rect, int topInset, int simpleFrame) {
  if (dc == nullptr) return;
  CFont* previous = dc->SelectObject(font);
  DrawXSubXGrid(dc, rect, curveXCells, 1);
  dc->SetBkMode(TRANSPARENT);
  if (simpleFrame == 0) {
    DrawXGridText(dc, rect, 1);
    DrawYGrid(dc, rect, curveYCells, topInset);
    DrawAxis(dc, rect);
  } else {
    DrawHorizontalLine(dc, rect, curveYCells);
    DrawLeftBottomAxis(dc, rect);
  }
  dc->SelectObject(previous);
}

void CKeloBaseCurve::DrawBaseNew(CDC* dc, const CRect& rect, int topInset, int secondsPerUnit, std::int32_t units,
                                 int simpleFrame) {
  if (dc == nullptr) return;
  CFont* previous = dc->SelectObject(font);
  DrawXSubXGrid(dc, rect, curveXCells, secondsPerUnit, units, 1);
  dc->SetBkMode(TRANSPARENT);
  if (simpleFrame == 0) {
    DrawXGridTextNew(dc, rect, secondsPerUnit, units, 1);
    DrawYGrid(dc, rect, curveYCells, topInset);
    DrawAxis(dc, rect);
  } else {
    DrawHorizontalLine(dc, rect, curveYCells);
    DrawLeftBottomAxis(dc, rect);
  }
  dc->SelectObject(previous);
}

int CKeloBaseCurve::ConverPriceStruct(const KeloDataGroup::CKeloDataMerge::SPriceData& source, SPrice& target) {
  // The data library marks a missing price with one of its two lowest values.
  auto missing = [](std::int32_t p) { return p == -2147483647 || p == -2147483646; };
  if (missing(source.open) || missing(source.high) || missing(source.low) || missing(source.close)) return 0;
  target = SPrice{source.open, source.high, source.low, source.close, source.reference, source.time, source.volume};
  return 1;
}
