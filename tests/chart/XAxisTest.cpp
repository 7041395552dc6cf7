// The vertical grid and the X labels: line positions and pens, label strings parsed into
// times, the label strip geometry, the thinning of crowded labels and the layout cache.
#include <cmath>

#include "ChartTestSupport.h"
#include "chart/XLabelLayout.h"

namespace {

using kelo::surface::LineRecord;
using namespace kelo::test;
using Chart = ProbeChart;

std::vector<int> Xs(CDC& dc) {
  std::vector<int> xs;
  for (const LineRecord& l : LinesOf(dc)) xs.push_back(l.from.x);
  return xs;
}

// The labels drawn: texts, and the left edges of their rectangles at the strip's top and bottom.
struct Strip {
  std::vector<std::string> texts;
  std::vector<int> lefts;
};
Strip StripOf(CDC& dc, int top, int height = 13, int width = 0) {
  Strip s;
  for (const XLabel& l : XLabelsOf(dc)) {
    s.texts.push_back(l.text);
    s.lefts.push_back(l.rect.left);
    EXPECT_EQ(l.rect.top, top) << l.text;
    EXPECT_EQ(l.rect.Height(), height) << l.text;
    if (width != 0) {
      EXPECT_EQ(l.rect.Width(), width) << l.text;
    }
  }
  return s;
}

TEST(XLabelSpans, CutTowardZeroAndSaturate) {
  // w = (bytes + 1) x font width; X labels add the cut width, time labels cut both edges.
  EXPECT_EQ(kelo::detail::LabelWidth(5, 6), 36.0);
  const auto x = kelo::detail::XLabelSpan(10.0, 35.0);     // 10 - 17.5 = -7.5 -> -7; right -7 + 35
  const auto t = kelo::detail::TimeLabelSpan(10.0, 35.0);  // right = trunc(27.5)
  EXPECT_EQ(std::vector<int>({x.left, x.right, t.left, t.right}), std::vector<int>({-7, 28, -7, 27}));
  EXPECT_EQ(kelo::detail::XLabelSpan(std::nan(""), 36.0).left, 0);
  EXPECT_EQ(kelo::detail::TimeLabelSpan(1e300, 36.0).right, kMax32);
}

TEST(XLabelStrings, HourAndMinuteLabelsBecomeSecondsOfDay) {
  const std::vector<std::pair<const char*, std::int32_t>> cases = {{"09:00", 32400},
                                                                   {"10:30", 37800},
                                                                   {"9", 32400},
                                                                   {"::9::30", 34200},
                                                                   {"09:30:15", 34215},
                                                                   {"1:2:3:4", 3723},
                                                                   {"", 0},
                                                                   {"abc", 0},
                                                                   {" 7: 5x", 25500},
                                                                   {"-1:30", -1800},
                                                                   {"99999999999:00", kMax32},
                                                                   {"-99999999999", kMin32}};
  for (const auto& [text, seconds] : cases) EXPECT_EQ(kelo::detail::LabelSecondsOfDay(text), seconds) << text;
}

TEST(XGrid, EvenCellsPutOneMainLinePerCell) {
  struct Case {
    CRect rect;
    std::int32_t count;
    int inset, overDraw, newVariant, lineOffset;
    std::vector<int> xs;
  } cases[] = {
      {CRect(50, 20, 350, 220), 4, 1, 0, 0, 37, {87, 162, 237, 312}},  // half a cell inside
      {CRect(50, 20, 350, 220), 4, 0, 0, 0, 0, {50, 125, 200, 275}},
      {CRect(0, 20, 100, 220), 3, 0, 0, 0, 0, {0, 33, 66}},            // cut toward zero
      {CRect(50, 20, 350, 220), 2, 1, 1, 0, 75, {125, 275}},           // reaching above the plot
      {CRect(50, 20, 350, 220), 4, 1, 0, 1, 37, {87, 162, 237, 312}},  // the variant with unused arguments
      {CRect(-100, 20, 0, 220), 3, 0, 0, 0, 0, {-100, -66, -33}},
  };
  for (const Case& c : cases) {
    Chart chart;
    auto dc = CDC::CreateRecording(400, 300);
    chart.SetOverDrawLine(c.overDraw);
    if (c.newVariant != 0) {
      chart.DrawXGridNew(dc.get(), c.rect, c.count, 99, 99, c.inset);
    } else {
      chart.DrawXGrid(dc.get(), c.rect, c.count, c.inset);
    }
    EXPECT_EQ(chart.GetLineOffSet(), c.lineOffset);
    EXPECT_EQ(Xs(*dc), c.xs);
    for (const LineRecord& l : LinesOf(*dc)) {
      EXPECT_EQ(
          l, Line(l.from.x, c.rect.top - (c.overDraw != 0 ? 6 : 0), l.from.x, c.rect.bottom, *chart.xLinePen.Handle()));
    }
  }
  // The sub grid alternates the main and sub pens.
  Chart chart;
  auto dc = CDC::CreateRecording(400, 300);
  chart.SetXSubLinePen(PS_DASH, 3, 0x00FF00);
  chart.DrawXSubXGrid(dc.get(), CRect(50, 20, 350, 220), 4, 1);
  const auto lines = LinesOf(*dc);
  ASSERT_EQ(Xs(*dc), (std::vector<int>{87, 162, 237, 312}));
  const auto mainPen = *chart.xLinePen.Handle(), subPen = Pen(PS_DASH, 3, 0x00FF00, true);
  EXPECT_EQ(std::vector({lines[0].pen, lines[1].pen, lines[2].pen, lines[3].pen}),
            std::vector({mainPen, subPen, mainPen, subPen}));
}

TEST(XGrid, CountsOutsideTheUsableRangeDrawNothingAndKeepTheInset) {
  for (const std::int32_t count : {0, -3, kMin32, 65537, kMax32}) {
    Chart chart;
    chart.SetLineOffSet(11);
    auto dc = CDC::CreateRecording(400, 300);
    chart.DrawXGrid(dc.get(), CRect(0, 0, 300, 200), count, 1);
    chart.DrawXSubXGrid(dc.get(), CRect(0, 0, 300, 200), count, 1);
    chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), 10, 0, count == 0 ? 1 : count, 0, 0);
    EXPECT_TRUE(LogOf(*dc).empty()) << count;
    EXPECT_EQ(chart.GetLineOffSet(), 11) << count;
  }
  Chart chart;
  chart.DrawXGrid(nullptr, CRect(0, 0, 300, 200), 4, 1);
  EXPECT_EQ(chart.GetLineOffSet(), 0) << "no device context: nothing happens";
}

TEST(XGrid, LabelTimesGiveLinesAndLabelPositions) {
  Chart chart;
  chart.SetXInforNew({"09:00", "10:30", "13:30"});
  auto dc = CDC::CreateRecording(400, 300);
  chart.DrawXSubXGrid(dc.get(), CRect(10, 20, 280, 220), 1, 60, 270, 0);
  EXPECT_EQ(Xs(*dc), (std::vector<int>{10, 100, 280}));
  // With an inset the unit shrinks by both insets: W 300, count 4 -> inset 37, unit 226 / 270.
  auto inset = CDC::CreateRecording(400, 300);
  chart.SetOverDrawLine(1);  // and the lines start half a text line above the plot
  chart.DrawXSubXGrid(inset.get(), CRect(0, 20, 300, 220), 4, 60, 270, 1);
  chart.SetOverDrawLine(0);
  EXPECT_EQ(Xs(*inset), (std::vector<int>{37, 37 + 75, 37 + 226}));
  EXPECT_EQ(LinesOf(*inset).at(0).from, CPoint(37, 14));
  // Negative seconds per unit or units run leftwards: -60 s per unit gives units -90 and
  // -270, and -5 units give -54 pixels per unit. No scale: no lines and no stale positions.
  struct Scale {
    int seconds;
    std::int32_t units;
    std::vector<int> xs;
  } scales[] = {{-60, 270, {10, -80, -260}}, {60, -5, {10, -4850, -14570}}, {0, 270, {}}, {60, 0, {}}};
  for (const Scale& c : scales) {
    auto leftwards = CDC::CreateRecording(400, 300);
    chart.DrawXSubXGrid(leftwards.get(), CRect(10, 20, 280, 220), 1, c.seconds, c.units, 0);
    EXPECT_EQ(Xs(*leftwards), c.xs) << c.seconds << " " << c.units;
    EXPECT_EQ(chart.xInforPositions, (std::vector<std::int32_t>(c.xs.begin(), c.xs.end())));
  }
  // An empty list keeps the times parsed before.
  chart.SetXInforNew({});
  chart.SetXInfor(std::vector<CString>{"a", "b", "c"});
  auto kept = CDC::CreateRecording(400, 300);
  chart.DrawXSubXGrid(kept.get(), CRect(10, 20, 280, 220), 1, 60, 270, 0);
  EXPECT_EQ(Xs(*kept), (std::vector<int>{10, 100, 280}));
}

TEST(XLabels, CellLayoutIsKeptForTheSameRectangleAndStringCount) {
  Chart chart;
  chart.SetXInfor({"A", "B", "C"});
  const CRect rect(0, 0, 300, 100);
  auto first = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(first.get(), rect, 0);  // cell 30: A at 0 hidden (left -6), B at 30, C at 60
  // Longer strings of the same count go into the old places; everySecondCell is not in the key.
  chart.SetXInfor({"LONG-A", "LONG-B", "LONG-C"});
  auto kept = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(kept.get(), rect, 1);
  Strip s = StripOf(*kept, 102, 13, 12);
  EXPECT_EQ(s.texts, (std::vector<std::string>{"LONG-B", "LONG-C"}));
  EXPECT_EQ(s.lefts, (std::vector<int>{24, 54}));
  // Another count lays them out again, with this call's everySecondCell; so does a moved rectangle.
  chart.SetXInfor({"LONG-A", "LONG-B", "LONG-C", "LONG-D"});
  auto rebuilt = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(rebuilt.get(), rect, 1);
  s = StripOf(*rebuilt, 102, 13, 42);
  EXPECT_EQ(s.texts, (std::vector<std::string>{"LONG-B", "LONG-C", "LONG-D"}));
  EXPECT_EQ(s.lefts[0], 39);
  auto moved = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(moved.get(), CRect(0, 10, 300, 110), 1);
  EXPECT_EQ(StripOf(*moved, 112).lefts[0], 39);
}

TEST(XLabels, StringLabelsTakeOneWholeCellEachAndAreNeverThinned) {
  struct Case {
    std::int32_t count;
    std::vector<CRect> rects;
  } cases[] = {
      {0, {CRect(10, 222, 110, 235), CRect(110, 222, 210, 235), CRect(210, 222, 310, 235)}},
      {4, {CRect(10, 222, 85, 235), CRect(85, 222, 160, 235), CRect(160, 222, 235, 235)}},
      // right = trunc(left + cell): 52 + 42.86 gives 94, the next left trunc(10 + 85.71) is 95.
      {7, {CRect(10, 222, 52, 235), CRect(52, 222, 94, 235), CRect(95, 222, 137, 235)}},
      // A negative count gives negative cells, read without the fills (they put rectangles in order).
      {-3, {CRect(10, 222, -90, 235), CRect(-90, 222, -190, 235), CRect(-190, 222, -290, 235)}},
  };
  for (const Case& c : cases) {
    Chart chart;
    chart.SetXInfor({"A-LONG-LABEL", "BB", "CCC"});
    chart.SetXTextFormatFlag(DT_RIGHT | DT_SINGLELINE);
    auto dc = CDC::CreateRecording(500, 300);
    chart.DrawXGridTextString(dc.get(), CRect(10, 20, 310, 220), c.count);
    std::vector<CRect> rects;
    for (const auto& r : TextRecords(LogOf(*dc))) {
      rects.push_back(r.text.rect);
      EXPECT_EQ(r.text.format, static_cast<UINT>(DT_RIGHT | DT_SINGLELINE));
    }
    EXPECT_EQ(rects, c.rects) << c.count;
    if (c.count >= 0) {
      EXPECT_EQ(XLabelsOf(*dc).size(), 3u);
    }
  }
  Chart chart;
  auto dc = CDC::CreateRecording(500, 300);
  chart.DrawXGridTextString(dc.get(), CRect(10, 20, 310, 220), 3);  // no strings
  EXPECT_TRUE(LogOf(*dc).empty());
}

TEST(XLabels, RangeLabelsRunFromMinimumToMaximum) {
  struct Case {
    double maxValue, minValue;
    std::int32_t count;
    int cellShift, decimals;
    std::vector<std::string> texts;
    std::vector<int> lefts;
  } cases[] = {
      {100, 0, 5, 0, 1, {"25.0", "50.0", "75.0", "100.0"}, {65, 145, 225, 302}},  // label 0 left of 0: hidden
      {100, 0, 5, 1, 1, {"0.0", "25.0", "50.0", "75.0", "100.0"}, {68, 145, 225, 305, 382}},  // shifted a cell
      {1, 0, 2, 1, 2, {"0.00", "1.00"}, {185, 385}},
      {1, -1, 3, 1, 3, {"-1.000", "0.000", "1.000"}, {112, 248, 382}},
      {100, 0, 3, 1, 0, {"0", "50", "100"}, {127, 257, 388}},
      {100, 0, 3, 1, 9, {"0", "50", "100"}, {127, 257, 388}},  // unknown decimals as none
      // Forty labels 42 wide, 10 apart: every fifth is shown.
      {139000,
       100000,
       40,
       5,
       0,
       {"100000", "105000", "110000", "115000", "120000", "125000", "130000", "135000"},
       {29, 79, 129, 179, 229, 279, 329, 379}},
  };
  for (const Case& c : cases) {
    Chart chart;
    auto dc = CDC::CreateRecording(500, 300);
    chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), c.maxValue, c.minValue, c.count, c.cellShift,
                                 c.decimals);
    const Strip s = StripOf(*dc, 102);
    EXPECT_EQ(s.texts, c.texts) << c.count;
    EXPECT_EQ(s.lefts, c.lefts) << c.count;
  }
}

TEST(XLabels, HostileInputsDrawNothingOrStayFinite) {
  Chart chart;
  auto dc = CDC::CreateRecording(500, 300);
  chart.SetXInfor(std::vector<CString>{"A", "B"});
  chart.SetXCells(0);  // no cells: no layout, nothing divided by zero
  chart.DrawXGridText(dc.get(), CRect(0, 0, 400, 100), 0);
  EXPECT_TRUE(LogOf(*dc).empty());
  // A negative cell count lays the labels out leftwards from the first, which blocks the others.
  Chart leftwards;
  leftwards.SetXInfor(std::vector<CString>{"A", "B", "C"});
  leftwards.SetXCells(-3);
  leftwards.DrawXGridText(dc.get(), CRect(500, 0, 800, 100), 0);
  const Strip s = StripOf(*dc, 102);
  EXPECT_EQ(s.texts, (std::vector<std::string>{"A"}));
  EXPECT_EQ(s.lefts, (std::vector<int>{494}));
  // Values that are not numbers, and rectangles at the ends of the 32-bit range.
  kelo::surface::RecordingOf(*dc)->Clear();
  chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), std::nan(""), 0, 3, 0, 0);
  chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), std::numeric_limits<double>::infinity(), 0, 3,
                               std::numeric_limits<int>::max(), 2);
  const CRect hostile(kMin32, kMin32, kMax32, kMax32);
  chart.SetXCells(3);
  chart.SetOverDrawLine(1);
  chart.DrawXGrid(dc.get(), hostile, 3, 1);
  chart.DrawXSubXGrid(dc.get(), hostile, 3, 1);
  chart.DrawXGridText(dc.get(), hostile, 1);
  chart.DrawXGridTextString(dc.get(), hostile, 0);
  chart.SetXInforNew({"99999999999:00", "-99999999999:00"});
  chart.DrawXSubXGrid(dc.get(), hostile, 1, 1, 1, 1);
  chart.DrawXGridTextNew(dc.get(), hostile, 0, 0, 0);
  EXPECT_EQ(LinesOf(*dc).size(), 3u + 3u + 2u);
}

TEST(XLabels, LabelListsPastTheAxisLimitDrawNothingAndGetNoSlots) {
  const std::vector<CString> many(65537, CString("09:30"));
  const std::vector<std::function<void(Chart&, CDC*)>> calls = {
      [](Chart& c, CDC* dc) { c.DrawXGridText(dc, CRect(0, 0, 400, 100), 0); },
      [](Chart& c, CDC* dc) { c.DrawXGridTextNew(dc, CRect(0, 0, 400, 100), 0, 0, 0); },
      [](Chart& c, CDC* dc) { c.DrawXGridTextString(dc, CRect(0, 0, 400, 100), 0); },
      [](Chart& c, CDC* dc) { c.DrawXSubXGrid(dc, CRect(0, 0, 400, 100), 4, 60, 240, 0); },
  };
  for (std::size_t i = 0; i < calls.size(); ++i) {
    Chart chart;
    chart.SetXCells(4);
    chart.SetXInforNew(many);
    auto dc = CDC::CreateRecording(500, 300);
    calls[i](chart, dc.get());
    EXPECT_TRUE(kelo::surface::RecordingOf(*dc)->Log().empty()) << i;
  }
  Chart chart;  // the limit itself still draws
  chart.SetXInforNew(std::vector<CString>(65536, CString("09:30")));
  auto dc = CDC::CreateRecording(500, 300);
  calls[0](chart, dc.get());
  EXPECT_FALSE(kelo::surface::RecordingOf(*dc)->Log().empty());
}

}  // namespace
