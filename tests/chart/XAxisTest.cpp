// The vertical grid and the X labels: line positions and pens, label strings parsed into
// times, the label strip geometry and the thinning of crowded labels, and the layout cache.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

#include "ChartTestSupport.h"
#include "chart/XLabelLayout.h"

namespace {

using kelo::surface::FillRectRecord;
using kelo::surface::LineRecord;
using kelo::surface::TextRecord;
using namespace kelo::test;

using Chart = ProbeChart;
using Label = XLabel;

std::vector<int> Xs(const std::vector<LineRecord>& lines) {
  std::vector<int> xs;
  for (const LineRecord& l : lines) xs.push_back(l.from.x);
  return xs;
}

std::vector<XLabel> LabelsOf(CDC& dc) { return XLabelsOf(dc); }

// ---- thinning and label geometry (pure) ----

struct ThinningCase {
  const char* name;
  std::vector<kelo::detail::LabelSpan> spans;
  std::vector<int> shown;
};

TEST(XLabelThinning, ShowsLabelsThatDoNotOverlapAtEvenSpacing) {
  const std::vector<ThinningCase> cases = {
      {"touching labels are all shown", {{0, 10}, {10, 20}, {20, 30}}, {1, 1, 1}},
      {"one pixel of overlap hides the later label", {{0, 10}, {9, 19}, {19, 29}}, {1, 0, 1}},
      {"label 0 left of pixel 0 is hidden and the next fitting one sets the spacing",
       {{-5, 15}, {5, 25}, {15, 35}, {25, 45}}, {0, 1, 0, 1}},
      {"an accepted label off the spacing is hidden but still blocks",
       {{0, 10}, {5, 15}, {10, 20}, {21, 30}, {29, 35}, {30, 40}}, {1, 0, 1, 0, 0, 0}},
      {"only the first gap fixes the spacing", {{0, 10}, {5, 15}, {10, 20}, {20, 30}, {30, 40}}, {1, 0, 1, 0, 1}},
  };
  for (const ThinningCase& c : cases) {
    kelo::detail::XLabelThinner thinner;
    std::vector<int> shown;
    for (const auto& span : c.spans) shown.push_back(thinner.Next(span) ? 1 : 0);
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

TEST(XLabelThinning, LabelSpansCutTowardZero) {
  // w = (bytes + 1) x font width; X labels add the cut width, time labels cut both edges.
  EXPECT_EQ(kelo::detail::LabelWidth(5, 6), 36.0);
  const auto x = kelo::detail::XLabelSpan(10.0, 35.0);  // 10 - 17.5 = -7.5 -> -7; right -7 + 35
  EXPECT_EQ(x.left, -7);
  EXPECT_EQ(x.right, 28);
  const auto t = kelo::detail::TimeLabelSpan(10.0, 35.0);  // right = trunc(27.5)
  EXPECT_EQ(t.left, -7);
  EXPECT_EQ(t.right, 27);
  const auto nan = kelo::detail::XLabelSpan(std::nan(""), 36.0);
  EXPECT_EQ(nan.left, 0);
  const auto huge = kelo::detail::TimeLabelSpan(1e300, 36.0);
  EXPECT_EQ(huge.left, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(huge.right, std::numeric_limits<std::int32_t>::max());
}

// ---- label strings ----

TEST(XLabelStrings, HourAndMinuteLabelsBecomeSecondsOfDay) {
  const std::vector<std::pair<const char*, std::int32_t>> cases = {
      {"09:00", 32400},  {"10:30", 37800},       {"13:30", 48600}, {"9", 32400},
      {"::9::30", 34200}, {"09:30:15", 34215},   {"1:2:3:4", 3723}, {"", 0},
      {"abc", 0},        {" 7: 5x", 25500},      {"-1:30", -1800}, {"99999999999:00", 2147483647},
      {"-99999999999", -2147483647 - 1},
  };
  for (const auto& [text, seconds] : cases) EXPECT_EQ(kelo::detail::LabelSecondsOfDay(text), seconds) << text;
}

TEST(XLabelStrings, SetXInforNewParsesAndAnEmptyListKeepsTheTimes) {
  Chart chart;
  chart.SetXInforNew({"09:00", "10:30", "13:30", "9"});
  EXPECT_EQ(chart.xInforTimes, (std::vector<std::int32_t>{32400, 37800, 48600, 32400}));
  EXPECT_EQ(chart.xInfor.size(), 4u);
  chart.SetXInforNew({});
  EXPECT_TRUE(chart.xInfor.empty());
  EXPECT_EQ(chart.xInforTimes.size(), 4u);
  chart.SetXInfor(std::vector<CString>{"a"});
  EXPECT_EQ(chart.xInforTimes.size(), 4u);
}

// ---- grids ----

struct GridCase {
  const char* name;
  CRect rect;
  std::int32_t count;
  int inset;
  int overDraw;  // SetOverDrawLine
  int newVariant;
  int lineOffset;
  std::vector<int> xs;
};

TEST(XGrid, EvenCellsPutOneMainLinePerCell) {
  const std::vector<GridCase> cases = {
      {"half a cell inside", CRect(50, 20, 350, 220), 4, 1, 0, 0, 37, {87, 162, 237, 312}},
      {"on the left edge", CRect(50, 20, 350, 220), 4, 0, 0, 0, 0, {50, 125, 200, 275}},
      {"fractional cells cut toward zero", CRect(0, 20, 100, 220), 3, 0, 0, 0, 0, {0, 33, 66}},
      {"reaching above the plot", CRect(50, 20, 350, 220), 2, 1, 1, 0, 75, {125, 275}},
      {"the variant with unused arguments", CRect(50, 20, 350, 220), 4, 1, 0, 1, 37, {87, 162, 237, 312}},
      {"negative left edge", CRect(-100, 20, 0, 220), 3, 0, 0, 0, 0, {-100, -66, -33}},
  };
  for (const GridCase& c : cases) {
    Chart chart;
    chart.SetOverDrawLine(c.overDraw);
    auto dc = CDC::CreateRecording(400, 300);
    CPen* before = dc->GetCurrentPen();
    if (c.newVariant != 0) {
      chart.DrawXGridNew(dc.get(), c.rect, c.count, 99, 99, c.inset);
    } else {
      chart.DrawXGrid(dc.get(), c.rect, c.count, c.inset);
    }
    EXPECT_EQ(chart.lineOffset, c.lineOffset) << c.name;
    const auto lines = LinesOf(*dc);
    EXPECT_EQ(Xs(lines), c.xs) << c.name;
    for (const LineRecord& l : lines) {
      EXPECT_EQ(l, kelo::test::Line(l.from.x, c.rect.top - (c.overDraw != 0 ? 6 : 0), l.from.x, c.rect.bottom,
                                    *chart.xLinePen.Handle()))
          << c.name;
    }
    EXPECT_EQ(dc->GetCurrentPen(), before) << c.name;
  }
}

TEST(XGrid, CountsOutsideTheUsableRangeDrawNothingAndKeepTheInset) {
  for (const std::int32_t count : {0, -3, std::numeric_limits<std::int32_t>::min(), 65537,
                                   std::numeric_limits<std::int32_t>::max()}) {
    Chart chart;
    chart.SetLineOffSet(11);
    auto dc = CDC::CreateRecording(400, 300);
    chart.DrawXGrid(dc.get(), CRect(0, 0, 300, 200), count, 1);
    chart.DrawXSubXGrid(dc.get(), CRect(0, 0, 300, 200), count, 1);
    EXPECT_TRUE(kelo::surface::RecordingOf(*dc)->Log().empty()) << count;
    EXPECT_EQ(chart.lineOffset, 11) << count;
  }
  Chart chart;
  chart.DrawXGrid(nullptr, CRect(0, 0, 300, 200), 4, 1);  // no device context: nothing happens
  EXPECT_EQ(chart.lineOffset, 0);
}

TEST(XGrid, SubGridAlternatesMainAndSubPens) {
  Chart chart;
  chart.SetXSubLinePen(PS_DASH, 3, 0x00FF00);
  auto dc = CDC::CreateRecording(400, 300);
  CPen* before = dc->GetCurrentPen();
  chart.DrawXSubXGrid(dc.get(), CRect(50, 20, 350, 220), 4, 1);
  const auto lines = LinesOf(*dc);
  ASSERT_EQ(Xs(lines), (std::vector<int>{87, 162, 237, 312}));
  EXPECT_EQ(lines[0].pen, *chart.xLinePen.Handle());
  EXPECT_EQ(lines[1].pen, *chart.xSubLinePen.Handle());
  EXPECT_EQ(lines[2].pen, *chart.xLinePen.Handle());
  EXPECT_EQ(lines[3].pen, *chart.xSubLinePen.Handle());
  EXPECT_EQ(lines[1].pen.color, 0x00FF00u);
  EXPECT_EQ(dc->GetCurrentPen(), before);
}

TEST(XGrid, LabelTimesGiveLinesAndLabelPositions) {
  Chart chart;
  chart.SetXInforNew({"09:00", "10:30", "13:30"});
  auto dc = CDC::CreateRecording(400, 300);
  CPen* before = dc->GetCurrentPen();
  chart.DrawXSubXGrid(dc.get(), CRect(10, 20, 280, 220), 1, 60, 270, 0);
  EXPECT_EQ(Xs(LinesOf(*dc)), (std::vector<int>{10, 100, 280}));
  EXPECT_EQ(chart.xInforPositions, (std::vector<std::int32_t>{10, 100, 280}));
  EXPECT_EQ(dc->GetCurrentPen(), before);

  // With an inset the unit shrinks by both insets: W 300, count 4 -> inset 37, unit 226 / 270.
  auto inset = CDC::CreateRecording(400, 300);
  chart.DrawXSubXGrid(inset.get(), CRect(0, 20, 300, 220), 4, 60, 270, 1);
  EXPECT_EQ(chart.lineOffset, 37);
  EXPECT_EQ(chart.xInforPositions, (std::vector<std::int32_t>{37, 37 + 75, 37 + 226}));

  // Negative seconds per unit or units are a scale like any other: the lines run leftwards.
  // 10:30 is 90 units from 09:00 and 13:30 is 270; -60 s per unit gives units -90 and -270,
  // and -5 units give -54 pixels per unit.
  struct Scale {
    int seconds;
    std::int32_t units;
    std::vector<int> xs;
  };
  for (const Scale& c : std::vector<Scale>{{-60, 270, {10, -80, -260}}, {60, -5, {10, -4850, -14570}}}) {
    auto leftwards = CDC::CreateRecording(400, 300);
    chart.DrawXSubXGrid(leftwards.get(), CRect(10, 20, 280, 220), 1, c.seconds, c.units, 0);
    EXPECT_EQ(Xs(LinesOf(*leftwards)), c.xs) << c.seconds << " " << c.units;
    EXPECT_EQ(chart.xInforPositions, (std::vector<std::int32_t>(c.xs.begin(), c.xs.end())));
  }

  // No scale: no lines, and no stale positions for the labels.
  for (const auto& [seconds, units] : std::vector<std::pair<int, std::int32_t>>{{0, 270}, {60, 0}, {0, 0}}) {
    auto none = CDC::CreateRecording(400, 300);
    chart.DrawXSubXGrid(none.get(), CRect(10, 20, 280, 220), 1, seconds, units, 0);
    EXPECT_TRUE(LinesOf(*none).empty()) << seconds << " " << units;
    EXPECT_TRUE(chart.xInforPositions.empty());
  }
}

// ---- labels ----

std::vector<CString> TenLabels() {
  std::vector<CString> labels;
  for (int i = 0; i < 10; ++i) labels.push_back(CString(std::string("LABEL-") + std::to_string(1000 + i)));  // 10 bytes
  return labels;
}

TEST(XLabels, CrowdedCellLabelsShowEveryThird) {
  // Ten labels 66 pixels wide, 30 pixels apart: only every third keeps clear of the last.
  Chart chart;
  chart.SetXInfor(TenLabels());
  auto dc = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(dc.get(), CRect(100, 20, 400, 220), 0);
  const auto labels = LabelsOf(*dc);
  ASSERT_EQ(Texts(labels), (std::vector<std::string>{"LABEL-1000", "LABEL-1003", "LABEL-1006", "LABEL-1009"}));
  const int lefts[] = {67, 157, 247, 337};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(labels[i].rect, CRect(lefts[i], 222, lefts[i] + 66, 235));
    EXPECT_EQ(labels[i].format, DT_CENTER);
    EXPECT_EQ(labels[i].color, kXText);
  }
  EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  ASSERT_EQ(chart.xLabelSlots.size(), 10u);
  EXPECT_EQ(chart.xLabelCount, 10);
  EXPECT_EQ(chart.xLabelRect, CRect(100, 20, 400, 220));
}

TEST(XLabels, EverySecondCellDoublesTheSpacingFromTheInset) {
  struct Case {
    int inset;
    std::vector<std::string> texts;
    std::vector<int> lefts;
  };
  // Cells of 30 pixels, labels 60 apart, 12 pixels wide. With an inset of 5 label 0 would
  // start at pixel -1 and is hidden; label 1 then fits and every label after it is shown.
  const std::vector<Case> cases = {{10, {"A", "B", "C"}, {4, 64, 124}}, {5, {"B", "C"}, {59, 119}}};
  for (const Case& c : cases) {
    Chart chart;
    chart.SetXInfor({"A", "B", "C"});
    chart.SetLineOffSet(c.inset);
    auto dc = CDC::CreateRecording(500, 300);
    chart.DrawXGridText(dc.get(), CRect(0, 0, 300, 100), 1);
    const auto labels = LabelsOf(*dc);
    ASSERT_EQ(Texts(labels), c.texts) << c.inset;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i].rect, CRect(c.lefts[i], 102, c.lefts[i] + 12, 115)) << c.inset;
    }
  }
}

TEST(XLabels, CellLayoutIsKeptForTheSameRectangleAndStringCount) {
  Chart chart;
  chart.SetXInfor({"A", "B", "C"});
  const CRect rect(0, 0, 300, 100);
  auto first = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(first.get(), rect, 0);  // cell 30: A at 0 hidden (left -6), B at 30, C at 60

  // Longer strings of the same count go into the places computed for the old ones, and
  // everySecondCell is not part of the key.
  chart.SetXInfor({"LONG-A", "LONG-B", "LONG-C"});
  auto kept = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(kept.get(), rect, 1);
  auto labels = LabelsOf(*kept);
  ASSERT_EQ(Texts(labels), (std::vector<std::string>{"LONG-B", "LONG-C"}));
  EXPECT_EQ(labels[0].rect, CRect(24, 102, 36, 115));
  EXPECT_EQ(labels[1].rect, CRect(54, 102, 66, 115));

  // Another count lays them out again (with the everySecondCell of this call).
  chart.SetXInfor({"LONG-A", "LONG-B", "LONG-C", "LONG-D"});
  auto rebuilt = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(rebuilt.get(), rect, 1);
  labels = LabelsOf(*rebuilt);
  ASSERT_EQ(Texts(labels), (std::vector<std::string>{"LONG-B", "LONG-C", "LONG-D"}));
  EXPECT_EQ(labels[0].rect, CRect(39, 102, 81, 115));  // 60 - 21, 42 wide

  // So does another rectangle (here only moved down).
  auto moved = CDC::CreateRecording(500, 300);
  chart.DrawXGridText(moved.get(), CRect(0, 10, 300, 110), 1);
  EXPECT_EQ(LabelsOf(*moved)[0].rect, CRect(39, 112, 81, 125));
}

TEST(XLabels, PositionLabelsAreLaidOutOnEveryCallButAnEmptyRectangleKeepsTheLast) {
  Chart chart;
  chart.SetXInforNew({"09:00", "10:30", "13:30"});
  auto grid = CDC::CreateRecording(500, 300);
  const CRect rect(30, 20, 300, 220);
  chart.DrawXSubXGrid(grid.get(), rect, 1, 60, 270, 0);  // positions 30, 120, 300

  auto dc = CDC::CreateRecording(500, 300);
  chart.DrawXGridTextNew(dc.get(), rect, 0, 0, 0);
  auto labels = LabelsOf(*dc);
  ASSERT_EQ(Texts(labels), (std::vector<std::string>{"09:00", "10:30", "13:30"}));
  EXPECT_EQ(labels[0].rect, CRect(12, 222, 48, 235));
  EXPECT_EQ(labels[1].rect, CRect(102, 222, 138, 235));
  EXPECT_EQ(labels[2].rect, CRect(282, 222, 318, 235));

  // New positions at the same rectangle and count are laid out again.
  chart.xInforPositions = {30, 40, 300};
  auto again = CDC::CreateRecording(500, 300);
  chart.DrawXGridTextNew(again.get(), rect, 0, 0, 0);
  EXPECT_EQ(Texts(LabelsOf(*again)), (std::vector<std::string>{"09:00", "13:30"}));

  // An empty rectangle draws the previous layout.
  chart.xInforPositions = {100, 150, 200};
  auto empty = CDC::CreateRecording(500, 300);
  chart.DrawXGridTextNew(empty.get(), CRect(50, 50, 50, 90), 0, 0, 0);
  labels = LabelsOf(*empty);
  ASSERT_EQ(Texts(labels), (std::vector<std::string>{"09:00", "13:30"}));
  EXPECT_EQ(labels[1].rect, CRect(282, 222, 318, 235));

  // Strings without a position get no label.
  chart.xInforPositions = {100};
  auto fewer = CDC::CreateRecording(500, 300);
  chart.DrawXGridTextNew(fewer.get(), rect, 0, 0, 0);
  EXPECT_EQ(Texts(LabelsOf(*fewer)), (std::vector<std::string>{"09:00"}));
  EXPECT_EQ(chart.xLabelSlots.size(), 1u);
}

TEST(XLabels, StringLabelsTakeOneWholeCellEachAndAreNeverThinned) {
  struct Case {
    std::int32_t count;
    std::vector<CRect> rects;
  };
  const std::vector<Case> cases = {
      {0, {CRect(10, 222, 110, 235), CRect(110, 222, 210, 235), CRect(210, 222, 310, 235)}},
      {4, {CRect(10, 222, 85, 235), CRect(85, 222, 160, 235), CRect(160, 222, 235, 235)}},
      // right = trunc(left + cell): 52 + 42.86 gives 94, the next left trunc(10 + 85.71) is 95.
      {7, {CRect(10, 222, 52, 235), CRect(52, 222, 94, 235), CRect(95, 222, 137, 235)}},
  };
  for (const Case& c : cases) {
    Chart chart;
    chart.SetXInfor({"A-LONG-LABEL", "BB", "CCC"});
    chart.SetXTextFormatFlag(DT_RIGHT | DT_SINGLELINE);
    auto dc = CDC::CreateRecording(500, 300);
    chart.DrawXGridTextString(dc.get(), CRect(10, 20, 310, 220), c.count);
    const auto labels = LabelsOf(*dc);
    ASSERT_EQ(Texts(labels), (std::vector<std::string>{"A-LONG-LABEL", "BB", "CCC"})) << c.count;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i].rect, c.rects[i]) << c.count << " " << i;
      EXPECT_EQ(labels[i].format, DT_RIGHT | DT_SINGLELINE);
      EXPECT_EQ(labels[i].color, kXText);
    }
    EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  }
  Chart chart;
  auto dc = CDC::CreateRecording(500, 300);
  chart.DrawXGridTextString(dc.get(), CRect(10, 20, 310, 220), 3);  // no strings
  EXPECT_TRUE(kelo::surface::RecordingOf(*dc)->Log().empty());

  // A negative count gives negative cells: each label starts one cell left of the last and
  // its right edge lies a cell left of its left edge.
  chart.SetXInfor({"A-LONG-LABEL", "BB", "CCC"});
  chart.DrawXGridTextString(dc.get(), CRect(10, 20, 310, 220), -3);
  // (The background fill puts a reversed rectangle in order, so the labels are read alone.)
  const auto labels = kelo::test::LabelsOf(*dc);
  const std::vector<std::string> texts = {"A-LONG-LABEL", "BB", "CCC"};
  const std::vector<CRect> rects = {CRect(10, 222, -90, 235), CRect(-90, 222, -190, 235), CRect(-190, 222, -290, 235)};
  ASSERT_EQ(labels.size(), 3u);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(labels[i], (kelo::test::Label{texts[i], rects[i], kXText})) << i;
  }
}

TEST(XLabels, RangeLabelsRunFromMinimumToMaximum) {
  struct Case {
    const char* name;
    double maxValue, minValue;
    std::int32_t count;
    int cellShift, decimals;
    std::vector<std::string> texts;
    std::vector<int> lefts;
  };
  const std::vector<Case> cases = {
      {"label 0 left of pixel 0 is hidden", 100, 0, 5, 0, 1, {"25.0", "50.0", "75.0", "100.0"}, {65, 145, 225, 302}},
      {"a cell shift moves every label", 100, 0, 5, 1, 1,
       {"0.0", "25.0", "50.0", "75.0", "100.0"}, {68, 145, 225, 305, 382}},
      {"two decimals", 1, 0, 2, 1, 2, {"0.00", "1.00"}, {185, 385}},
      {"three decimals", 1, -1, 3, 1, 3, {"-1.000", "0.000", "1.000"}, {112, 248, 382}},
      {"no decimals", 100, 0, 3, 1, 0, {"0", "50", "100"}, {127, 257, 388}},
      {"unknown decimals as none", 100, 0, 3, 1, 9, {"0", "50", "100"}, {127, 257, 388}},
      // Forty labels 42 pixels wide, 10 apart: every fifth is shown.
      {"crowded labels thinned", 139000, 100000, 40, 5, 0,
       {"100000", "105000", "110000", "115000", "120000", "125000", "130000", "135000"},
       {29, 79, 129, 179, 229, 279, 329, 379}},
  };
  for (const Case& c : cases) {
    Chart chart;
    auto dc = CDC::CreateRecording(500, 300);
    chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), c.maxValue, c.minValue, c.count, c.cellShift,
                                 c.decimals);
    const auto labels = LabelsOf(*dc);
    EXPECT_EQ(Texts(labels), c.texts) << c.name;
    for (std::size_t i = 0; i < labels.size() && i < c.lefts.size(); ++i) {
      EXPECT_EQ(labels[i].rect.left, c.lefts[i]) << c.name << " " << i;
      EXPECT_EQ(labels[i].rect.top, 102) << c.name;
      EXPECT_EQ(labels[i].rect.bottom, 115) << c.name;
      EXPECT_EQ(labels[i].format, DT_CENTER) << c.name;
    }
  }
}

TEST(XLabels, HostileInputsDrawNothingOrStayFinite) {
  Chart chart;
  auto dc = CDC::CreateRecording(500, 300);
  for (const std::int32_t count : {1, 0, -1, 65537, std::numeric_limits<std::int32_t>::max()}) {
    chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), 10, 0, count, 0, 0);
  }
  EXPECT_TRUE(kelo::surface::RecordingOf(*dc)->Log().empty());

  // No cells: no cell layout, nothing drawn and nothing divided by zero.
  chart.SetXInfor(std::vector<CString>{"A", "B"});
  chart.SetXCells(0);
  chart.DrawXGridText(dc.get(), CRect(0, 0, 400, 100), 0);
  EXPECT_TRUE(chart.xLabelSlots.empty());
  EXPECT_TRUE(LabelsOf(*dc).empty());

  // A negative cell count lays the labels out leftwards from the first, which then blocks
  // the others: cells of -100 pixels put "A", "B" and "C" at 500, 400 and 300.
  {
    Chart leftwards;
    auto cells = CDC::CreateRecording(900, 300);
    leftwards.SetXInfor(std::vector<CString>{"A", "B", "C"});
    leftwards.SetXCells(-3);
    leftwards.DrawXGridText(cells.get(), CRect(500, 0, 800, 100), 0);
    ASSERT_EQ(leftwards.xLabelSlots.size(), 3u);
    const std::vector<CRect> rects = {CRect(494, 102, 506, 115), CRect(394, 102, 406, 115), CRect(294, 102, 306, 115)};
    for (std::size_t i = 0; i < rects.size(); ++i) {
      EXPECT_EQ(leftwards.xLabelSlots[i].rect, rects[i]) << i;
      EXPECT_EQ(leftwards.xLabelSlots[i].visible, i == 0 ? 1 : 0) << i;
    }
    EXPECT_EQ(Texts(LabelsOf(*cells)), (std::vector<std::string>{"A"}));
  }

  // Values that are not numbers, and rectangles at the ends of the 32-bit range.
  chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), std::nan(""), 0, 3, 0, 0);
  chart.DrawXGridTextWithRange(dc.get(), CRect(0, 0, 400, 100), std::numeric_limits<double>::infinity(), 0, 3,
                               std::numeric_limits<int>::max(), 2);
  const CRect hostile(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max());
  chart.SetXCells(3);
  chart.SetOverDrawLine(1);
  chart.DrawXGrid(dc.get(), hostile, 3, 1);
  chart.DrawXSubXGrid(dc.get(), hostile, 3, 1);
  chart.DrawXGridText(dc.get(), hostile, 1);
  chart.DrawXGridTextString(dc.get(), hostile, 0);
  chart.SetXInforNew({"99999999999:00", "-99999999999:00"});
  chart.DrawXSubXGrid(dc.get(), hostile, 1, 1, 1, 1);
  chart.DrawXGridTextNew(dc.get(), hostile, 0, 0, 0);
  EXPECT_EQ(Xs(LinesOf(*dc)).size(), 3u + 3u + 2u);
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
    EXPECT_TRUE(chart.xLabelSlots.empty()) << i;
  }
}

}  // namespace
