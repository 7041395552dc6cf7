// The intraday tick-price curve: the split scale against the frame's, the path's segments
// and their colours, hold lines, the overflow slot, the skip rule, records without prices,
// the high and low marks, and the checks that draw nothing.
#include <gtest/gtest.h>

#include <vector>

#include "CurveTestSupport.h"
#include "chart/YLabelLayout.h"
#include "curve/SplitPriceScale.h"
#include "curve/TickPath.h"

namespace {

using namespace kelo::test;
using kelo::detail::SplitPriceScale;
using kelo::detail::TickSegment;
using Curve = CKeloBaseCurve;
constexpr std::int32_t kNo = Curve::kNoPrice;

TEST(SplitScale, CurveAnchorsOnTheTruncatedMiddleWhereTheFrameAxisDoesNot) {
  // An odd-height plot: the middle is 50.5. Prices 900 .. 1000 .. 1100.
  const CRect rect(0, 0, 100, 101);
  const auto curve = SplitPriceScale::Make(rect, 1100, 1000, 900, SplitPriceScale::kTruncatedMiddle);
  const auto frame = kelo::detail::PriceAxisSplitScale::Make(rect, 1100, 1000, 900);
  struct Case {
    std::int32_t price;
    int curveY, frameY;
  };
  const Case cases[] = {{1100, 0, 0}, {1002, 48, 49}, {1000, 50, 50}, {998, 51, 51}, {950, 75, 75}, {900, 100, 101}};
  for (const Case& c : cases) {
    EXPECT_EQ(curve.Y(c.price), c.curveY) << c.price;
    EXPECT_EQ(c.price >= 1000 ? frame.UpperY(c.price) : frame.LowerY(c.price), c.frameY) << c.price;
  }
  // The divided figure curves keep the exact middle: the reference lies at 50.5.
  EXPECT_EQ(SplitPriceScale::Make(rect, 1100, 1000, 900, SplitPriceScale::kExactMiddle).YD(1000), 50.5);
}

TEST(SplitScale, AHalfWithoutSpanPutsItsPricesOnItsEdge) {
  const CRect rect(0, 10, 100, 110);
  const auto top = SplitPriceScale::Make(rect, 1000, 1000, 900, SplitPriceScale::kTruncatedMiddle);
  const auto bottom = SplitPriceScale::Make(rect, 1100, 1000, 1000, SplitPriceScale::kTruncatedMiddle);
  EXPECT_EQ(
      (std::vector<double>{top.YD(1000), top.YD(1001), top.YD(950), bottom.YD(1000), bottom.YD(999), bottom.YD(1050)}),
      (std::vector<double>{60, 10, 85, 60, 110, 35}));
}

// Clock times map to 100 + 10 pixels per minute after 09:00 (08:59 to 90).
struct MinuteAxis : kelo::detail::TimeToX {
  int X(std::int32_t t) override { return 100 + ((t / 10000 - 9) * 3600 + t / 100 % 100 * 60 + t % 100) / 6; }
};

struct Collect : kelo::detail::TickPathSink {
  std::vector<TickSegment> segments;
  int marks = 0;
  void Segment(const TickSegment& s) override { segments.push_back(s); }
  void Mark(double, int, int, std::int32_t, std::int32_t) override { ++marks; }
};

Curve::STickPrice R(std::int32_t time, std::int32_t open, std::int32_t high, std::int32_t low, std::int32_t close) {
  return {time, open, high, low, close, 0, time, time};
}

TEST(TickPath, SegmentsTakeTheirDirectionHoldLinesTheirThresholdAndLateSlotsAreSkipped) {
  // 200 pixels high: y = 100 - (price - 1000).
  const Curve::SDrawRange range{90000, 91000, 900, 1000, 1100, 91000};
  using S = TickSegment;
  const S firstSlot[] = {{110, 100, 110, 100, true},
                         {110, 95, 110, 100, true},
                         {110, 95, 110, 90, false},
                         {110, 100, 110, 95, true},
                         {110, 95, 110, 105, true}};
  struct Case {
    const char* what;
    std::vector<Curve::STickPrice> prices;
    std::vector<S> tail;  // after the first slot's five strokes
    std::int32_t offsetMinTick = 0;
  };
  const Case cases[] = {
      {"falling open, close on the low",
       {R(90200, 1000, 1000, 990, 990)},
       {{110, 95, 120, 100, false}, {120, 110, 120, 100, false}, {120, 110, 120, 100, false}}},
      {"a gap of three minutes holds the close until the minute before",
       {R(90500, 1005, kNo, kNo, 1005)},
       {{110, 95, 140, 95, true}, {140, 95, 150, 95, true}, {150, 95, 150, 95, true}}},
      {"slots exactly one minute apart hold nothing",
       {R(90200, 1005, kNo, kNo, 1005)},
       {{110, 95, 120, 95, true}, {120, 95, 120, 95, true}}},
      {"a slot before the previous one is skipped",
       {R(90000, 1020, 1020, 1020, 1020), R(90200, 1010, kNo, kNo, 1010)},
       // the hold line runs from the skipped slot's time, here back onto the same pixel
       {{110, 95, 110, 95, true}, {110, 95, 120, 90, true}, {120, 90, 120, 90, true}}},
      {"a slot after the end stands at the overflow time",
       {R(91500, 1005, kNo, kNo, 1005)},
       {{110, 95, 200, 95, true}, {200, 95, 200, 95, true}}},
      {"across midnight a step back is a gap",
       {R(90000, 1005, kNo, kNo, 1005)},
       {{110, 95, 90, 95, true}, {90, 95, 100, 95, true}, {100, 95, 100, 95, true}},
       900},
      {"a slot without an open joins to its close",
       {R(90200, kNo, kNo, kNo, 990)},
       {{110, 95, 120, 110, true}, {120, 110, 120, 110, false}}},
      {"a slot without a close draws nothing",
       {R(90200, 990, 990, 990, kNo), R(90300, 1005, kNo, kNo, 1005)},
       {{110, 95, 130, 95, true}, {130, 95, 130, 95, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Curve::STickPrice> prices{R(90100, 1000, 1010, 995, 1005)};
    prices.insert(prices.end(), c.prices.begin(), c.prices.end());
    MinuteAxis axis;
    Collect sink;
    ASSERT_TRUE(kelo::detail::WalkTickPath({CRect(0, 0, 400, 200), range, 60, c.offsetMinTick, 0}, prices, axis, sink));
    std::vector<S> expected(std::begin(firstSlot), std::end(firstSlot));
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(sink.segments, expected);
    EXPECT_EQ(sink.marks, 0);
  }
  // Marks: the open unless it is skipped; mode 1 also the high and the low.
  for (const auto& [mode, skip, marks] :
       std::vector<std::tuple<int, std::int32_t, int>>{{2, 0, 1}, {2, 1, 0}, {1, 0, 3}, {1, 1, 2}}) {
    Curve::STickPrice p = R(90100, 1000, 1010, 995, 1005);
    p.skipOpenMark = skip;
    MinuteAxis axis;
    Collect sink;
    kelo::detail::WalkTickPath({CRect(0, 0, 400, 200), range, 60, 0, mode}, {p}, axis, sink);
    EXPECT_EQ(sink.marks, marks) << mode << " " << skip;
  }
}

TEST(TickPrice, DrawsIntegerLinesInTheUpAndDownPensOnTheFramesTimeAxis) {
  ProbeCurve chart;
  auto dc = CDC::CreateRecording(400, 200);
  // 270 pixels for 270 minutes: 09:00 on x 101.
  chart.DrawTickPrice(dc.get(), CRect(100, 0, 370, 200), {90000, 133000, 900, 1000, 1100, 133000},
                      {R(90000, 1000, 1010, 1000, 1005)}, Curve::eTickMinute, 1);
  EXPECT_EQ(Segs(LogOf(*dc)), (std::vector<Seg>{{101, 100, 101, 100, kUp},
                                                {101, 95, 101, 100, kUp},
                                                {101, 95, 101, 90, kDown},
                                                {101, 100, 101, 95, kUp},
                                                {101, 95, 101, 100, kUp}}));
  EXPECT_EQ(Strokes(LogOf(*dc)).at(0).pen.width, 1.5f);
  for (const auto& [which, expected] :
       {std::pair{1, std::vector<int>{101, 90, 90000, 1010}}, {0, {101, 100, 90000, 1000}}}) {
    std::vector<int> mark(4);
    chart.GetHighLowPointXY(which, mark[0], mark[1], mark[2], mark[3]);
    EXPECT_EQ(mark, expected);
  }
}

TEST(TickPrice, RangesWithoutAScaleDrawNothingAndMarkModeOneStillClearsTheMarks) {
  const std::vector<Curve::STickPrice> day{R(90100, 1000, 1000, 1000, 1000)}, none;
  const std::pair<Curve::SDrawRange, const std::vector<Curve::STickPrice>*> cases[] = {
      {{90000, 133000, 1100, 1000, 1100, 0}, &day}, {{90000, 133000, 1200, 1000, 1100, 0}, &day},
      {{133000, 133000, 900, 1000, 1100, 0}, &day}, {{90000, 133000, 1001, 1000, 1100, 0}, &day},
      {{90000, 133000, 900, 1101, 1100, 0}, &day},  {{90000, 133000, 900, 1000, 1100, 0}, &none}};
  for (const auto& [range, prices] : cases) {
    ProbeCurve chart;
    auto dc = CDC::CreateRecording(300, 200);
    chart.DrawTickPrice(dc.get(), CRect(0, 0, 300, 200), range, *prices, Curve::eTickMinute, 1);
    EXPECT_TRUE(LogOf(*dc).empty()) << Describe(LogOf(*dc));
    EXPECT_EQ((std::vector<int>{chart.highPoint.x, chart.highPoint.y, chart.lowPoint.x, chart.lowPoint.y}),
              (std::vector<int>{-1, -1, -1, -1}));
  }
}

TEST(TickPrice, MarksFollowDrawnPositionKeepTheEarlierOfEqualsAndRestartOnModeOne) {
  struct Offer {
    double y;
    int x;
  };
  struct Case {
    bool reset;
    std::vector<Offer> offers;
    int highX, lowX;
  };
  const Case cases[] = {
      {false, {{50, 1}, {40, 2}}, 0, 1},  // a new object: only the low mark can move
      {true, {{50, 1}}, 1, 1},            // the first offer sets both
      {true, {{50, 1}, {40, 2}, {40, 3}, {60, 4}, {60, 5}}, 2, 4},
      {true, {{50, 1}, {-1, -1}, {60, 3}}, 3, 3},  // a mark on (-1, -1) reads as none: both restart
      {true, {{-5, 1}, {-1, -1}, {-3, 3}}, 3, 3},  // the low one as well
  };
  for (const Case& c : cases) {
    ProbeCurve chart;
    auto dc = CDC::CreateRecording(10, 10);
    if (c.reset) chart.DrawTickPrice(dc.get(), CRect(), {}, {}, Curve::eTickMinute, 1);
    for (const Offer& o : c.offers) chart.RecordHighLowPointPos(o.y, o.x, static_cast<int>(o.y), 0, 0);
    EXPECT_EQ(chart.highPoint.x, c.highX);
    EXPECT_EQ(chart.lowPoint.x, c.lowX);
  }
}

TEST(TickPrice, TheColourFormDrawsOneColourAndGivesThePensBack) {
  ProbeCurve chart;
  chart.SetDownCurveColor(0xFF123456);
  auto dc = CDC::CreateRecording(400, 200);
  const Curve::CurveCombine combo{CRect(100, 0, 370, 200),
                                  {90000, 133000, 900, 1000, 1100, 0},
                                  {R(90000, 1000, 1010, 990, 995)},
                                  0xFF0000FF,
                                  Curve::eTickMinute,
                                  1};
  std::deque<Curve::CurveCombine> combos{combo, combo};
  combos[1].prices[0].high = 1020;
  chart.DrawTickPriceCombine(dc.get(), combos);
  for (const Seg& s : Segs(LogOf(*dc))) EXPECT_EQ(s.argb, 0xFF0000FFu);
  EXPECT_EQ(chart.GetUpCurveColor().GetValue(), kUp);
  EXPECT_EQ(chart.GetDownCurveColor().GetValue(), 0xFF123456u);
  EXPECT_EQ(chart.highPoint.price, 1020);  // the second curve's marks only
}

TEST(TickPrice, PriceRecordsWithAMissingPriceAreRefused) {
  using Source = KeloDataGroup::CKeloDataMerge::SPriceData;
  for (const auto& [source, result] : {std::pair<Source, int>{{1, 2, 3, -2147483646, 5, 6, 7}, 0},
                                       {{-2147483647, 2, 3, 4, 5, 6, 7}, 0},
                                       {{1, 2, 3, 4, -2147483647, 6, 7}, 1}}) {
    Curve::SPrice target{9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(Curve().ConverPriceStruct(source, target), result);
    EXPECT_EQ((std::vector<int>{target.price4, target.extra1}),
              (result ? std::vector<int>{source.close, source.reference} : std::vector<int>{9, 9}));
  }
}

}  // namespace
