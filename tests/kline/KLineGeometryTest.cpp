// The pure geometry of the K-line chart: body widths and the free pixel between candles, the
// trading-day axis and its labels, candle and OHLC rectangles, the price axis on the tick
// ladder, and the volume scale.
#include <gtest/gtest.h>

#include <cmath>

#include "kline/KLineGeometry.h"

namespace {

using namespace kelo::detail;

TEST(CandleWidth, OddBodiesKeepAPixelBetweenNeighboursFromThreePixelsASlot) {
  struct Case {
    double step;
    int width;
  };
  const Case cases[] = {{2.99, 0}, {3.0, 1},  {3.9, 1},   {4.0, 3},  {5.0, 3}, {6.0, 3},
                        {8.0, 5},  {10.0, 7}, {12.17, 9}, {13.0, 9}, {NAN, 0}, {-4.0, 0}};
  for (const Case& c : cases) EXPECT_EQ(BodyWidth(c.step), c.width) << c.step;
  // Every width the slots can take: bodies centred on their slots never touch.
  for (int tenths = 30; tenths <= 200; ++tenths) {
    const SlotAxis axis = MakeSlotAxis(CRect(13, 0, 13 + tenths * 5, 10), 50);  // 50 slots of tenths / 10 px
    const int half = (BodyWidth(axis.Step()) - 1) / 2;
    for (std::size_t i = 0; i + 1 < 50; ++i) {
      ASSERT_GE(axis.Center(i + 1) - half, axis.Center(i) + half + 2) << "step " << axis.Step() << " slot " << i;
    }
  }
}

std::vector<SKBar> Days(std::vector<std::int32_t> dates, std::int32_t time = 0) {
  std::vector<SKBar> bars;
  for (std::int32_t d : dates) bars.push_back({d, time, 10, 11, 9, 10, 1});
  return bars;
}

TEST(TimeAxis, LabelsAtMonthOrDayStartsThinnedToFit) {
  // Daily bars across a month end: one label, at the first November day, and a grid line.
  const auto daily = Days({20261029, 20261030, 20261102, 20261103, 20261104, 20261105});
  const SlotAxis axis = MakeSlotAxis(CRect(0, 0, 120, 10), 6);  // 20 px a slot
  const TimeAxisLayout a = LayoutTimeAxis(axis, daily, 0, 7);
  ASSERT_EQ(a.labels.size(), 1u);
  EXPECT_EQ(a.labels[0].text, "2026/11");
  EXPECT_EQ(a.labels[0].slot, 2u) << "the weekend takes no slot";
  EXPECT_EQ(a.labels[0].left, 50 - 49 / 2);
  EXPECT_EQ(a.gridLines, std::vector<int>{40});
  EXPECT_TRUE(a.separators.empty());

  // Intraday bars over three days: separators between all days, labels only where they fit.
  std::vector<SKBar> intraday;
  for (std::int32_t d : {20261202, 20261203, 20261204}) {
    for (std::int32_t t : {100000, 110000, 120000}) intraday.push_back({d, t, 10, 11, 9, 10, 1});
  }
  const TimeAxisLayout wide = LayoutTimeAxis(MakeSlotAxis(CRect(0, 0, 270, 10), 9), intraday, 0, 7);
  EXPECT_EQ(wide.separators, (std::vector<int>{90, 180}));
  ASSERT_EQ(wide.labels.size(), 3u);
  EXPECT_EQ(wide.labels[0].text, "12/02");
  EXPECT_EQ(wide.labels[0].left, 0) << "the first label is kept inside the plot";
  const TimeAxisLayout narrow = LayoutTimeAxis(MakeSlotAxis(CRect(0, 0, 72, 10), 9), intraday, 0, 7);
  EXPECT_EQ(narrow.separators.size(), 2u);
  EXPECT_EQ(narrow.labels.size(), 1u) << "35-pixel labels 24 pixels apart: only the first is kept";

  // Monthly bars are labelled by year; a view inside one month labels its first slot.
  EXPECT_EQ(LabelUnitOf(Days({20261030, 20261130, 20261231})), LabelUnit::kYear);
  const TimeAxisLayout inside = LayoutTimeAxis(axis, daily, 3, 7);
  ASSERT_EQ(inside.labels.size(), 1u);
  EXPECT_EQ(inside.labels[0].slot, 0u);
}

TEST(Candles, BodiesWicksFlatLinesAndOhlcTicks) {
  const ValueRows rows{10, 101, 200.0, 100.0};  // one row a price unit
  EXPECT_EQ(rows.Y(200), 10);
  EXPECT_EQ(rows.Y(100), 110);
  EXPECT_EQ(rows.Y(150), 60);
  EXPECT_EQ(rows.Y(1000), 10) << "clamped to the pane";
  struct Case {
    SKBar bar;
    int bodyWidth;
    Direction d;
    CRect wick, body;
  };
  const Case cases[] = {
      {{0, 0, 120, 190, 110, 180, 1}, 5, Direction::kUp, CRect(50, 20, 51, 101), CRect(48, 30, 53, 91)},
      {{0, 0, 180, 190, 110, 120, 1}, 5, Direction::kDown, CRect(50, 20, 51, 101), CRect(48, 30, 53, 91)},
      {{0, 0, 150, 160, 140, 150, 1}, 3, Direction::kFlat, CRect(50, 50, 51, 71), CRect(49, 60, 52, 61)},
      {{0, 0, 120, 190, 110, 180, 1}, 0, Direction::kUp, CRect(50, 20, 51, 101), CRect()},
  };
  for (const Case& c : cases) {
    const CandleShape k = Candle(c.bar, 50, c.bodyWidth, rows);
    EXPECT_EQ(k.direction, c.d);
    EXPECT_EQ(k.wick, c.wick) << c.bar.open;
    EXPECT_EQ(k.body, c.body) << c.bar.open;
    EXPECT_EQ(k.lineOnly, c.bodyWidth == 0);
  }
  const OhlcShape o = Ohlc({0, 0, 120, 190, 110, 180, 1}, 50, 5, rows);
  EXPECT_EQ(o.line, CRect(50, 20, 51, 101));
  EXPECT_EQ(o.openTick, CRect(48, 90, 50, 91)) << "open to the left";
  EXPECT_EQ(o.closeTick, CRect(51, 30, 53, 31)) << "close to the right";
}

TEST(PriceAxis, BoundsOnTheTickLadderAroundTheRange) {
  struct Case {
    std::int64_t high, low;
    std::int32_t scale;
    std::int32_t top, bottom, grid;
  };
  const Case cases[] = {
      {4960, 4470, 100, 4985, 4445, 5},     // 44.70-49.60: 0.05 ticks, a twentieth of room
      {10250, 9900, 100, 10350, 9840, 10},  // across the 100 band edge: 0.5 above, 0.1 below
      {3, 3, 100, 5, 1, 1},                 // a flat price still gets a range
      {4000, 0, 100, 4205, 0, 1},           // a low of zero (no price) is kept: a twentieth of 40.00 of room
  };
  for (const Case& c : cases) {
    const PriceAxis a = MakePriceAxis(c.high, c.low, c.scale, 0);
    EXPECT_EQ(a.top, c.top) << c.high;
    EXPECT_EQ(a.bottom, c.bottom) << c.low;
    EXPECT_GE(a.top, c.high);
    EXPECT_LE(a.bottom, c.low);
    ASSERT_GE(a.lines.size(), 2u);
    EXPECT_EQ(a.lines.front(), a.bottom);
    EXPECT_EQ(a.lines.back(), a.top);
    for (std::int32_t line : a.lines) EXPECT_EQ(line % c.grid, 0) << line;
  }
}

TEST(VolumeScale, RoundTopsRowsAndTexts) {
  struct Case {
    std::int64_t max, top;
  };
  const Case cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 5}, {11, 20}, {21, 25}, {26, 50}, {51, 100}, {50001, 100000}};
  for (const Case& c : cases) EXPECT_EQ(VolumeTop(c.max), c.top) << c.max;
  const CRect pane(0, 100, 10, 200);
  EXPECT_EQ(VolumeRows(0, 50, pane).top, 200) << "nothing traded: no bar";
  EXPECT_EQ(VolumeRows(1, 1000000, pane).top, 199) << "a trade shows as a row";
  EXPECT_EQ(VolumeRows(50, 50, pane).top, 100);
  EXPECT_EQ(VolumeRows(25, 50, pane).top, 150);
  EXPECT_EQ(VolumeText(9999), "9999");
  EXPECT_EQ(VolumeText(12500), "12.5K");
  EXPECT_EQ(VolumeText(25000000), "25M");
  EXPECT_EQ(VolumeText(10000000), "10M");
}

}  // namespace
