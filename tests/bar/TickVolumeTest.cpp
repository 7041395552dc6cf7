// The intraday tick bars through the recording surface: x from the time-slot table (the
// same as a frame's with the same rectangle and session), the overflow slot, linear and
// by-ratio heights, state pens, the inner/outer overlap and the up/down chart with curves.
#include "BarTestSupport.h"

namespace {

using namespace kelo::test;
using TickVolume = BarDrawing;
using Volume = CKeloBaseBar::STickVolume;
const CRect kPlot(100, 0, 340, 100);
const CKeloBaseBar::SDrawRange kDay{90000, 133000, 0, 1000, 130000, 0};

Volume At(std::int32_t t, std::int64_t v, int s = 0) { return {.time = t, .volume = v, .state = s}; }

TEST_F(TickVolume, LinesStandUnderThePriceSlotsWithLinearHeights) {
  CKeloBaseChart price;  // the price pane above, same rectangle and session
  std::vector<Volume> samples = {At(90000, 250), At(90130, 1000), At(132900, 0), At(133100, 500), At(85000, -100)};
  bar.DrawTickVolume(dc.get(), kPlot, kDay, samples, CKeloBaseChart::eTickMinute);
  const auto ticks = Ticks(LogOf(*dc));
  ASSERT_EQ(ticks.size(), samples.size());
  const std::vector<int> heights = {25, 100, 0, 50, -10};
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const std::int32_t t = samples[i].time > kDay.endTime ? kDay.overflowTime : samples[i].time;
    const int x = price.GetXPosByTime(kPlot, kDay.endTime, kDay.startTime, t, CKeloBaseChart::eTickMinute, 0);
    EXPECT_EQ(ticks[i], (Tick{x, 100, x, 100 - heights[i], Table(1676)})) << "sample " << i;
  }
  bar.SetOffsetMinTick(900);  // with a midnight offset the sample keeps its own time
  Clear();
  bar.DrawTickVolume(dc.get(), kPlot, kDay, {At(133100, 1)}, CKeloBaseChart::eTickMinute);
  EXPECT_NE(Ticks(LogOf(*dc)).at(0).x0, ticks[3].x0);
}

TEST_F(TickVolume, StatePensInEveryVariant) {
  const std::vector<Volume> samples = {At(90000, 500, 0), At(90100, 500, 1), At(90200, 500, 7)};
  bar.DrawTickVolumeWithState(dc.get(), kPlot, kDay, samples, CKeloBaseChart::eTickMinute);
  EXPECT_EQ(bar.DrawTickVolumeByRatioWithState(dc.get(), kPlot, 1000, kDay, samples, CKeloBaseChart::eTickMinute), 1);
  bar.DrawTickValueWithState(dc.get(), kPlot, kDay, {{90000, 500, 7}}, CKeloBaseChart::eTickMinute);
  bar.DrawTickValue(dc.get(), kPlot, kDay, {{90000, 500, 7}}, CKeloBaseChart::eTickMinute);
  std::vector<std::uint32_t> pens;
  for (const Tick& t : Ticks(LogOf(*dc))) pens.push_back(t.argb);
  EXPECT_EQ(pens, (std::vector<std::uint32_t>{Table(1430), Table(1428), Table(1426), Table(1430), Table(1428),
                                              Table(1428), Table(1426), Table(1678)}));
}

TEST_F(TickVolume, ByRatioHeightsAndInvalidRanges) {
  // Fit scale of 1000: 500, 1000, 1500, 2000 in four 25-pixel steps.
  const std::vector<Volume> samples = {At(90000, 125), At(90000, 600), At(90000, 5000)};
  EXPECT_EQ(bar.DrawTickVolumeByRatio(dc.get(), kPlot, 1000, kDay, samples, CKeloBaseChart::eTickMinute), 1);
  std::vector<int> tops;
  for (const Tick& t : Ticks(LogOf(*dc))) tops.push_back(t.y1);
  EXPECT_EQ(tops, (std::vector<int>{94, 70, 0}));
  EXPECT_FALSE(Strokes(LogOf(*dc)).at(0).state.antiAlias) << "the by-ratio bars set no smoothing";
  Clear();
  auto flat = kDay, noTime = kDay;
  flat.maxValue = flat.minValue;
  noTime.endTime = noTime.startTime;
  for (const auto& range : {flat, noTime}) {
    EXPECT_EQ(bar.GetDrawTickVolumeByRatioIsCorrect(1000, range, samples), 0);
    EXPECT_EQ(bar.DrawTickVolumeByRatio(dc.get(), kPlot, 1000, range, samples, CKeloBaseChart::eTickMinute), 0);
    bar.DrawTickVolume(dc.get(), kPlot, range, samples, CKeloBaseChart::eTickMinute);
    bar.DrawTickInnerOuterUpDownChart(dc.get(), kPlot, range, samples, 0, 0, 0);
  }
  EXPECT_EQ(bar.GetDrawTickVolumeByRatioIsCorrect(1000, kDay, {}), 0);
  EXPECT_TRUE(LogOf(*dc).empty());
  // 64-bit extremes scale in double and narrow on purpose.
  const CKeloBaseBar::SDrawRange wide{90000, 133000, INT64_MIN, INT64_MAX, 0, 0};
  bar.DrawTickVolume(dc.get(), kPlot, wide, {At(90000, INT64_MAX), At(90000, INT64_MIN)}, CKeloBaseChart::eTickMinute);
  EXPECT_EQ(Ticks(LogOf(*dc)).at(0).y1, 0);
  EXPECT_EQ(Ticks(LogOf(*dc)).at(1).y1, 100);
}

TEST_F(TickVolume, InnerOuterOverlapShowsInTheNonConfirmedColour) {
  const Volume v{.time = 90000, .innerVolume = 300, .outerVolume = 500, .innerCount = 500, .outerCount = 100};
  bar.DrawTickInnerOuterChart(dc.get(), kPlot, kDay, {v}, 0);
  bar.DrawTickInnerOuterChart(dc.get(), kPlot, kDay, {v}, 1);
  const int x = bar.GetXPosByTime(kPlot, kDay.endTime, kDay.startTime, 90000, CKeloBaseChart::eTickMinute, 0);
  EXPECT_EQ(Ticks(LogOf(*dc)), (std::vector<Tick>{{x, 100, x, 70, Table(1428)},
                                                  {x, 100, x, 50, Table(1430)},
                                                  {x, 100, x, 70, Table(1426)},
                                                  {x, 100, x, 50, Table(1428)},
                                                  {x, 100, x, 90, Table(1430)},
                                                  {x, 100, x, 90, Table(1426)}}));
}

TEST_F(TickVolume, UpDownDifferencesCurvesFromTheirStartAndZeroLineOnTop) {
  const CKeloBaseBar::SDrawRange range{90000, 133000, -50, 200, 0, 0};  // scale 0.25, zero line at 50
  const std::vector<Volume> samples = {{.time = 90000, .diffVolume = 4},
                                       {.time = 90100, .diffVolume = -4, .curve1Volume = 40},
                                       {.time = 90200, .diffVolume = 80, .curve1Volume = 80}};
  const auto x = [&](int i) {
    return bar.GetXPosByTime(kPlot, 133000, 90000, samples[i].time, CKeloBaseChart::eTickMinute, 0);
  };
  for (int start : {0, 1, 2}) {
    Clear();
    bar.DrawTickInnerOuterUpDownChart(dc.get(), kPlot, range, samples, 0, start, 5);
    std::vector<Tick> expected = {{x(0), 50, x(0), 50, Table(1416)}, {x(1), 50, x(1), 51, Table(1420)}};
    if (start <= 1) expected.push_back({x(0), 50, x(1), 40, Table(1738)});
    expected.push_back({x(2), 50, x(2), 30, Table(1416)});
    expected.push_back({x(1), 40, x(2), 30, Table(1738)});
    expected.push_back({100, 50, 340, 50, Table(1426)});
    EXPECT_EQ(Ticks(LogOf(*dc)), expected) << "curve 1 from " << start;
  }
}

}  // namespace
