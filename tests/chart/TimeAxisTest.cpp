// The time axis: the slot table and its single-precision positions, the mapping of clock
// times to pixels and back (with the trading period across midnight), what rebuilds the
// table, the time grid and the time labels.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <tuple>
#include <string>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

#include "ChartTestSupport.h"
#include "chart/TimeSlotTable.h"

namespace {

using kelo::surface::FillRectRecord;
using kelo::surface::LineRecord;
using kelo::surface::TextRecord;
using namespace kelo::test;
using Tick = CKeloBaseChart::ETickType;

constexpr Tick kMinute = CKeloBaseChart::eTickMinute;
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();

using Chart = ProbeChart;

// The morning session of the examples: 9:00 to 13:30 over pixels 100 to 340, one-minute slots.
const CRect kMorning(100, 10, 340, 200);
constexpr std::int32_t kStart = 90000;
constexpr std::int32_t kEnd = 133000;

// Texts drawn, each checked to be centred in the X text colour over a background fill.
std::vector<XLabel> LabelsOf(CDC& dc) {
  const std::vector<XLabel> labels = XLabelsOf(dc);
  for (const XLabel& l : labels) {
    EXPECT_EQ(l.format, static_cast<UINT>(DT_CENTER)) << l.text;
    EXPECT_EQ(l.color, kXText) << l.text;
  }
  return labels;
}

// ---- slot table (pure) ----

TEST(TimeSlotTable, MorningSessionAccumulatesInSinglePrecision) {
  std::vector<float> positions;
  const float step = kelo::detail::BuildTimeSlotTable({100, 340, 0, 32400, 48600, 60}, positions);
  EXPECT_EQ(step, static_cast<float>(240.0 * 60 / 16200));
  ASSERT_EQ(positions.size(), 273u);
  // 270 float additions give 339.999..., one pixel short of the exact 340.
  EXPECT_LT(positions[269], 340.0f);
  EXPECT_GT(positions[269], 339.99f);
  const std::vector<std::pair<std::size_t, int>> pixels = {{0, 100}, {1, 101}, {269, 339}, {270, 340}, {272, 342}};
  for (const auto& [k, x] : pixels) EXPECT_EQ(static_cast<int>(positions[k]), x) << k;
}

TEST(TimeSlotTable, EntriesRunFromASlotBeforeTheStartToASlotAfterTheEndInsideTheDay) {
  struct Case {
    std::int32_t startSec, endSec, step;
    std::int64_t entries;
  };
  const std::vector<Case> cases = {
      {32400, 48600, 60, 273},
      {30, 600, 60, 12},               // the first second is held at midnight
      {0, 86400, 1, 86461},            // a whole day of one-second slots
      {0, 86399, 1, 86460},
      {86000, 89999, 60, 8},           // the last second is held at 86400
      {86500, 89999, 1, 0},            // starts after the last second
      {0, 773092799, 1, 86401},        // an end far beyond the day is held at 86400 too
      {100, 100, 60, 0},               // empty range
      {200, 100, 60, 0},               // reversed range
      {0, 86400, 0, 0},                // no slot length
      {0, 86400, -60, 0},
      {0, 86400, kMax32, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kelo::detail::TimeSlotCount(c.startSec, c.endSec, c.step), c.entries)
        << c.startSec << ".." << c.endSec << " every " << c.step;
    std::vector<float> positions(5, 1.0f);
    kelo::detail::BuildTimeSlotTable({0, 1000, 0, c.startSec, c.endSec, c.step}, positions);
    EXPECT_EQ(static_cast<std::int64_t>(positions.size()), c.entries);
  }
}

TEST(TimeSlotTable, StepIsTheWidthTimesTheSlotLengthAsA32BitProduct) {
  // 40000 x 86400 does not fit 32 bits: the product wraps as a 32-bit product does.
  const float wrapped = kelo::detail::TimeSlotStep({0, 40000, 0, 0, 86400, 86400});
  EXPECT_EQ(wrapped, static_cast<float>(static_cast<double>(3456000000LL - 4294967296LL) / 86400));
  EXPECT_EQ(kelo::detail::TimeSlotStep({10, 250, 5, 0, 100, 10}), static_cast<float>(230.0 * 10 / 100));
  EXPECT_EQ(kelo::detail::TimeSlotStep({0, 100, 0, 50, 50, 60}), 0.0f);
  EXPECT_EQ(kelo::detail::TimeSlotStep({0, 100, 0, 0, 50, 0}), 0.0f);
  // Hostile edges and insets: no overflow, whatever the step becomes.
  std::vector<float> positions;
  kelo::detail::BuildTimeSlotTable({kMin32, kMax32, kMin32, 0, 86400, 1}, positions);
  EXPECT_EQ(positions.size(), 86461u);
}

// ---- time to pixel ----

TEST(TimeAxis, ClockTimesMapToTheEndOfTheirSlot) {
  Chart chart;
  const std::vector<std::pair<std::int32_t, int>> cases = {
      {85959, 100},  // before the start: first slot
      {0, 100},
      {90000, 100}, {90130, 101}, {100000, 154}, {120000, 260},
      {132900, 339},  // 270 single-precision steps fall short of 340
      {133000, 342},  // the end itself is not before the end: last slot
      {235959, 342},
      {kMax32, 342},
  };
  for (const auto& [time, x] : cases) {
    EXPECT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, time, kMinute, 0), x) << time;
  }
  EXPECT_EQ(chart.xTimePositions.size(), 273u);
  EXPECT_EQ(chart.GetTickXPosStep(), static_cast<float>(240.0 * 60 / 16200));
}

TEST(TimeAxis, RangesWithoutSlotsHaveNoPosition) {
  Chart chart;
  ASSERT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, 90000, kMinute, 0), 100);
  struct Case {
    const char* name;
    std::int32_t end, start;
    Tick step;
  };
  const std::vector<Case> keepTable = {
      {"empty range", kStart, kStart, kMinute},
      {"reversed range", kStart, kEnd, kMinute},
      {"no slot length", kEnd, kStart, static_cast<Tick>(0)},
      {"negative slot length", kEnd, kStart, static_cast<Tick>(-60)},
      {"most negative slot length", kEnd, kStart, static_cast<Tick>(kMin32)},
  };
  for (const Case& c : keepTable) {
    EXPECT_EQ(chart.GetXPosByTime(kMorning, c.end, c.start, 100000, c.step, 0), -1) << c.name;
    EXPECT_EQ(chart.xTimePositions.size(), 273u) << c.name << ": the table of earlier calls is kept";
  }
  // Clock times that are not clock times convert to second 0: 00:00:61 after 00:00:60 is
  // an empty range in seconds and gives no table.
  EXPECT_EQ(chart.GetXPosByTime(kMorning, 61, 60, 60, kMinute, 0), -1);
  EXPECT_TRUE(chart.xTimePositions.empty());
  EXPECT_EQ(chart.GetTickXPosStep(), 0.0f);
  // A range starting after 24:00 has no slot inside the day.
  EXPECT_EQ(chart.GetXPosByTime(kMorning, 245959, 240900, 241000, kMinute, 0), -1);
}

TEST(TimeAxis, PixelsMapBackToTheTimeOfTheirEarliestSlot) {
  Chart chart;
  std::int32_t time = -7;
  EXPECT_EQ(chart.GetTimeByXPos(100, time), 0) << "no table yet";
  EXPECT_EQ(time, -7);
  chart.GetXPosByTime(kMorning, kEnd, kStart, kStart, kMinute, 0);
  const std::vector<std::pair<int, std::int32_t>> cases = {
      {100, 90000}, {101, 90100}, {107, 90700} /* slots 7 and 8 share pixel 107 */, {339, 132800},
      {340, 133000}, {342, 133200}};
  for (const auto& [x, expected] : cases) {
    ASSERT_EQ(chart.GetTimeByXPos(x, time), 1) << x;
    EXPECT_EQ(time, expected) << x;
  }
  for (const int x : {99, 343, -1, kMin32}) EXPECT_EQ(chart.GetTimeByXPos(x, time), 0) << x;
}

TEST(TimeAxis, TradingPeriodAcrossMidnightIsCountedFromItsStart) {
  // 15:00 to 05:00 of the next day is 0:00 to 14:00 on the shifted clock. 840 pixels for
  // 840 one-minute slots: slot k lies exactly on pixel k + 1.
  Chart chart;
  chart.SetOffsetMinTick(900);
  const CRect rect(0, 0, 840, 100);
  const std::int32_t start = 0;
  const std::int32_t end = 140000;
  struct Case {
    std::int32_t time;
    int ignoreOffset;
    int x;
  };
  const std::vector<Case> cases = {
      {150000, 0, 1},      // 15:00: slot 0
      {3000, 0, 571},      // 0:30 after midnight: slot 570
      {45900, 0, 840},     // 4:59: slot 839
      {50100, 0, 842},     // 5:01: slot 841, the last entry
      {50200, 0, 840},     // 5:02: beyond the table, the right edge
      {145900, 0, 840},    // 14:59 counts as the end of the next day
      {150000, 1, 842},    // without the offset 15:00 is after the end: last entry
      {3000, 1, 31},       // without the offset 0:30 is slot 30
  };
  for (const Case& c : cases) {
    EXPECT_EQ(chart.GetXPosByTime(rect, end, start, c.time, kMinute, c.ignoreOffset), c.x)
        << c.time << " ignore " << c.ignoreOffset;
  }
  EXPECT_EQ(chart.xTimePositions.size(), 842u);
  // The right edge is that of the rectangle passed in, even when the table was kept.
  EXPECT_EQ(chart.GetXPosByTime(CRect(1000, 0, 1840, 100), end, start, 50200, kMinute, 0), 1840);

  // A time before the start of the shifted period has no slot: it is held on the first.
  EXPECT_EQ(chart.GetXPosByTime(rect, end, 1000, 150500, kMinute, 0),
            static_cast<int>(chart.xTimePositions.front()));

  // A period starting after 24:01 has an empty table; on the shifted clock a time at or
  // after its start is beyond the table, the right edge, and one before it has no position.
  // 40:00 is 25:00 on the shifted clock, the start of the period 25:00 to 26:00.
  EXPECT_EQ(chart.GetXPosByTime(rect, 260000, 250000, 400000, kMinute, 0), 840);
  EXPECT_TRUE(chart.xTimePositions.empty());
  EXPECT_EQ(chart.GetXPosByTime(rect, 260000, 250000, 390000, kMinute, 0), -1);
  EXPECT_EQ(chart.GetXPosByTime(rect, 260000, 250000, 400000, kMinute, 1), -1);
  {
    auto dc = CDC::CreateRecording(1000, 300);
    const std::vector<CKeloBaseChart::STimeLine> lines = {{400000, 0}, {390000, 0}};
    chart.SetIsDrawRTLine(0);
    chart.DrawXGridByTime(dc.get(), rect, 260000, 250000, lines, 0, 1, kMinute);
    chart.SetIsDrawRTLine(1);
    const auto drawn = LinesOf(*dc);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].from, CPoint(840, 100));
    EXPECT_EQ(drawn[0].to, CPoint(840, 0));
  }

  // Hostile offsets stay inside the table or on its right edge.
  for (const std::int32_t offset : {kMax32, kMin32, -900, 1440, 100000}) {
    chart.SetOffsetMinTick(offset);
    const int x = chart.GetXPosByTime(rect, end, start, 120000, kMinute, 0);
    EXPECT_TRUE(x >= 0 && x <= 842) << offset << " gave " << x;
  }
}

TEST(TimeAxis, SlotTableIsRebuiltOnlyWhenItsKeyChanges) {
  struct Step {
    const char* name;
    CRect rect;
    std::int32_t end, start;
    Tick step;
    std::int32_t time;
    int x;
    std::size_t entries;
  };
  Chart chart;
  const std::vector<Step> steps = {
      {"first table", kMorning, kEnd, kStart, kMinute, 90000, 100, 273},
      {"moved sideways at the same width: old positions", CRect(200, 0, 440, 50), kEnd, kStart, kMinute, 90000, 100,
       273},
      {"wider: rebuilt", CRect(100, 10, 580, 200), kEnd, kStart, kMinute, 90000, 101, 273},
      {"another end: rebuilt", CRect(100, 10, 580, 200), 120000, kStart, kMinute, 90000, 102, 183},
      {"another start: rebuilt", CRect(100, 10, 580, 200), 120000, 100000, kMinute, 100000, 104, 123},
      {"another slot length: rebuilt", kMorning, kEnd, kStart, static_cast<Tick>(30), 90000, 100, 545},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(chart.GetXPosByTime(s.rect, s.end, s.start, s.time, s.step, 0), s.x) << s.name;
    EXPECT_EQ(chart.xTimePositions.size(), s.entries) << s.name;
  }
  // The inset is not part of the key either.
  chart.SetLineOffSet(10);
  EXPECT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, 90000, static_cast<Tick>(30), 0), 100);
}

TEST(TimeAxis, SetTickTypeChangesTheKeyWithoutRebuilding) {
  Chart chart;
  chart.GetXPosByTime(kMorning, kEnd, kStart, kStart, kMinute, 0);
  chart.SetTickType(static_cast<Tick>(30));
  // Step 30 now equals the key: the one-minute table is kept and indexed by half minutes.
  EXPECT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, 90100, static_cast<Tick>(30), 0), 102);
  EXPECT_EQ(chart.xTimePositions.size(), 273u);
  std::int32_t time = 0;
  ASSERT_EQ(chart.GetTimeByXPos(102, time), 1);
  EXPECT_EQ(time, 90100) << "slot 2 of 30 seconds";
  // Asking for one-minute slots again differs from the key and rebuilds.
  EXPECT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, 90100, kMinute, 0), 101);
  EXPECT_EQ(chart.tickType, kMinute);
}

TEST(TimeAxis, CountHelpersComputeInDouble) {
  Chart chart;
  const std::vector<std::tuple<std::int32_t, std::int32_t, int, int>> offsets = {
      {10, 4, 3, 7}, {-10, 4, 3, -7}, {1, 3, 3, 1} /* 1/3*3 is 1 in double */, {1, 0, 5, 0},
      {kMax32, 1, kMax32, kMax32}, {kMin32, 1, kMax32, kMin32}};
  for (const auto& [a, b, c, expected] : offsets) EXPECT_EQ(chart.CountGridOffset(a, b, c), expected) << a << "/" << b;
  EXPECT_EQ(chart.CountLineOffsetStep(300, 4), 75.0);
  chart.SetLineOffSet(10);
  EXPECT_EQ(chart.CountLineOffsetStep(300, 4), 70.0);
  EXPECT_EQ(chart.CountLineOffsetStep(300, 0), 0.0);
  EXPECT_EQ(chart.CountLineOffsetStep(kMin32, -1), -(static_cast<double>(kMin32) - 20));
}

// ---- time grid ----

std::vector<CKeloBaseChart::STimeLine> MorningLines() {
  return {{90000, 0}, {100000, 1}, {110000, 2}, {120000, 1}, {133000, 0}, {113000, -1}};
}

TEST(TimeGrid, MainAndSubLinesAtTheirSlots) {
  Chart chart;
  chart.SetXSubLinePen(PS_DOT, 2, 0x00FF00);
  const auto main = *chart.xLinePen.Handle();
  const auto sub = *chart.xSubLinePen.Handle();
  struct Case {
    const char* name;
    int drawSubLines;
    const char* leftUnit;
    std::vector<LineRecord> lines;
  };
  const std::vector<Case> cases = {
      {"sub lines drawn", 1, "",
       {kelo::test::Line(100, 200, 100, 10, main), kelo::test::Line(154, 200, 154, 10, sub), kelo::test::Line(260, 200, 260, 10, sub), kelo::test::Line(342, 200, 342, 10, main)}},
      {"sub lines as ticks under a unit", 0, "Vol",
       {kelo::test::Line(100, 200, 100, 10, main), kelo::test::Line(154, 200, 154, 205, main), kelo::test::Line(260, 200, 260, 205, main), kelo::test::Line(342, 200, 342, 10, main)}},
      {"sub lines left out without a unit", 0, "", {kelo::test::Line(100, 200, 100, 10, main), kelo::test::Line(342, 200, 342, 10, main)}},
  };
  for (const Case& c : cases) {
    chart.SetLeftUnit(c.leftUnit, 0);
    chart.SetIsDrawRTLine(0);
    auto dc = CDC::CreateRecording(400, 300);
    CPen* before = dc->GetCurrentPen();
    chart.DrawXGridByTime(dc.get(), kMorning, kEnd, kStart, MorningLines(), 0, c.drawSubLines, kMinute);
    EXPECT_EQ(LinesOf(*dc), c.lines) << c.name;
    EXPECT_EQ(dc->GetCurrentPen(), before) << c.name;
  }
}

TEST(TimeGrid, RightAndTopEdgesInGreyAfterTheLines) {
  Chart chart;
  auto dc = CDC::CreateRecording(400, 300);
  chart.DrawXGridByTime(dc.get(), kMorning, kEnd, kStart, {{90000, 0}}, 0, 1, kMinute);
  auto edges = CDC::CreateRecording(400, 300);
  KeloUtility::DrawColorEdge(edges.get(), kMorning, 0xA8A8A8, 1, KeloUtility::eDrawEdgeRight);
  KeloUtility::DrawColorEdge(edges.get(), kMorning, 0xA8A8A8, 1, KeloUtility::eDrawEdgeTop);
  const auto lines = LinesOf(*dc);
  auto expected = LinesOf(*edges);
  expected.insert(expected.begin(), kelo::test::Line(100, 200, 100, 10, *chart.xLinePen.Handle()));
  EXPECT_EQ(lines, expected);
}

TEST(TimeGrid, BadRangesDrawNothing) {
  Chart chart;
  auto dc = CDC::CreateRecording(400, 300);
  chart.DrawXGridByTime(dc.get(), kMorning, kStart, kStart, MorningLines(), 0, 1, kMinute);
  chart.DrawXGridByTime(dc.get(), kMorning, kStart, kEnd, MorningLines(), 0, 1, kMinute);
  chart.DrawXGridByTime(dc.get(), kMorning, kEnd, kStart, {}, 0, 1, kMinute);
  chart.DrawXGridByTime(dc.get(), kMorning, kEnd, kStart, MorningLines(), 0, 1, static_cast<Tick>(0));
  chart.DrawXGridByTime(dc.get(), kMorning, kEnd, kStart, MorningLines(), 0, 1, static_cast<Tick>(-1));
  chart.DrawXGridByTime(nullptr, kMorning, kEnd, kStart, MorningLines(), 0, 1, kMinute);
  EXPECT_TRUE(kelo::surface::RecordingOf(*dc)->Log().empty());
  // Times without slots draw no grid line, only the edges.
  chart.DrawXGridByTime(dc.get(), kMorning, 61, 60, MorningLines(), 0, 1, kMinute);
  EXPECT_EQ(LinesOf(*dc).size(), 2u);
}

// ---- time labels ----

std::vector<CKeloBaseChart::STimeString> MorningLabels() {
  return {{90000, "09:00", 0}, {94000, "09:40", 1}, {100000, "10:00", 0}, {101000, "10:10", 0}, {110000, "11:00", 0}};
}

TEST(TimeLabels, EarlierLabelsWinAndMinorLabelsNeedShowAll) {
  // Label rectangles are 36 pixels wide around the slot: 09:00 at 100 spans 82..118,
  // 09:40 at 136 spans 118..154, 10:00 at 154 spans 136..172, 10:10 at 163, 11:00 at 207.
  struct Case {
    int showAll;
    std::vector<std::string> texts;
    std::vector<CRect> rects;
  };
  const std::vector<Case> cases = {
      {0, {"09:00", "10:00", "11:00"}, {CRect(82, 202, 118, 215), CRect(136, 202, 172, 215), CRect(189, 202, 225, 215)}},
      {1, {"09:00", "09:40", "11:00"}, {CRect(82, 202, 118, 215), CRect(118, 202, 154, 215), CRect(189, 202, 225, 215)}},
  };
  for (const Case& c : cases) {
    Chart chart;
    chart.SetXInfor(MorningLabels());
    auto dc = CDC::CreateRecording(400, 300);
    chart.DrawXGridTextByTime(dc.get(), kMorning, kEnd, kStart, c.showAll, kMinute);
    const auto labels = LabelsOf(*dc);
    ASSERT_EQ(Texts(labels), c.texts) << c.showAll;
    for (std::size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i].rect, c.rects[i]) << c.showAll << " " << i;
    EXPECT_EQ(dc->GetTextColor(), kDefaultText);
    EXPECT_EQ(chart.xLabelSlots.size(), 5u);
    EXPECT_EQ(chart.timeStringsChanged, 0);
  }
}

TEST(TimeLabels, LayoutKeyIsRectangleTimesAndChangedLabels) {
  Chart chart;
  chart.SetXInfor(MorningLabels());
  auto first = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(first.get(), kMorning, kEnd, kStart, 0, kMinute);
  // showAll and the slot length are not part of the key: the layout stays.
  auto same = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(same.get(), kMorning, kEnd, kStart, 1, static_cast<Tick>(30));
  EXPECT_EQ(Texts(LabelsOf(*same)), (std::vector<std::string>{"09:00", "10:00", "11:00"}));
  // New labels are laid out again, now with showAll.
  chart.SetXInfor(MorningLabels());
  auto changed = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(changed.get(), kMorning, kEnd, kStart, 1, kMinute);
  EXPECT_EQ(Texts(LabelsOf(*changed)), (std::vector<std::string>{"09:00", "09:40", "11:00"}));
  // A rectangle moved down moves the strip.
  auto moved = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(moved.get(), CRect(100, 20, 340, 210), kEnd, kStart, 0, kMinute);
  EXPECT_EQ(LabelsOf(*moved).front().rect, CRect(82, 212, 118, 225));
  // Another end time is another layout: 11:00 is now the last slot of a 9:00-11:00 table.
  auto shorter = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(shorter.get(), CRect(100, 20, 340, 210), 110000, kStart, 0, kMinute);
  EXPECT_EQ(LabelsOf(*shorter).back().rect, CRect(328, 212, 364, 225));
}

TEST(TimeLabels, XLabelsAndTimeLabelsShareTheStripAndLayOutAgainAfterEachOther) {
  Chart chart;
  chart.SetXInfor(MorningLabels());
  chart.SetXInfor(std::vector<CString>{"A", "B", "C", "D", "E"});
  auto dc = CDC::CreateRecording(400, 300);
  for (int round = 0; round < 2; ++round) {
    chart.DrawXGridText(dc.get(), kMorning, 0);
    chart.DrawXGridTextByTime(dc.get(), kMorning, kEnd, kStart, 0, kMinute);
  }
  const std::vector<std::string> once = {"A", "B", "C", "D", "E", "09:00", "10:00", "11:00"};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Texts(LabelsOf(*dc)), twice);
}

TEST(TimeLabels, LabelsWithoutPositionsAreHidden) {
  Chart chart;
  chart.SetXInfor(MorningLabels());
  auto dc = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(dc.get(), kMorning, kStart, kEnd, 1, kMinute);                   // reversed range
  chart.DrawXGridTextByTime(dc.get(), kMorning, kEnd, kStart, 1, static_cast<Tick>(0));      // no slot length
  chart.DrawXGridTextByTime(dc.get(), CRect(0, 0, 0, 0), 61, 60, 1, kMinute);                // no slots
  EXPECT_TRUE(LabelsOf(*dc).empty());
  EXPECT_EQ(chart.xLabelSlots.size(), 5u);

  // Over a reversed range every label lies at x = -1 and is thinned like any other: with a
  // negative character width (a label -300 pixels wide) its left edge 149 is right of its
  // right edge -151, so no label blocks the next and all are shown.
  chart.SetFontSize(12, -50);
  chart.SetXInfor(MorningLabels());
  auto reversed = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(reversed.get(), kMorning, kStart, kEnd, 1, kMinute);
  // (The background fill puts a reversed rectangle in order, so the labels are read alone.)
  const auto labels = kelo::test::LabelsOf(*reversed);
  ASSERT_EQ(labels.size(), 5u);
  const std::vector<std::string> texts = {"09:00", "09:40", "10:00", "10:10", "11:00"};
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(labels[i], (Label{texts[i], CRect(149, 202, -151, 215), kXText})) << i;
  }
  // Without a slot length there is no position: hidden, also with that width.
  chart.SetXInfor(MorningLabels());
  auto noStep = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(noStep.get(), kMorning, kEnd, kStart, 1, static_cast<Tick>(0));
  EXPECT_TRUE(LabelsOf(*noStep).empty());

  Chart none;
  auto empty = CDC::CreateRecording(400, 300);
  none.DrawXGridTextByTime(empty.get(), kMorning, kEnd, kStart, 1, kMinute);
  EXPECT_TRUE(kelo::surface::RecordingOf(*empty)->Log().empty());
}

TEST(TimeLabels, AWholeDayOfOneSecondSlots) {
  // 86,461 slots of 1/60 pixel over 1440 pixels. The single-precision sum drifts: noon,
  // exactly at 720.02, lands on 719; 24:00 is the last slot, 1442.
  Chart chart;
  const CRect day(0, 0, 1440, 100);
  std::vector<CKeloBaseChart::STimeString> labels;
  for (int h = 0; h <= 24; ++h) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:00", h);
    labels.push_back({h * 10000, text, 0});
  }
  chart.SetXInfor(labels);
  auto dc = CDC::CreateRecording(1500, 200);
  chart.DrawXGridTextByTime(dc.get(), day, 240000, 0, 0, static_cast<Tick>(1));
  EXPECT_EQ(chart.xTimePositions.size(), 86461u);
  const int centres[] = {0,   60,  120, 180, 240, 299, 359, 419, 479, 539,  599,  659,  719,
                         779, 839, 899, 959, 1019, 1080, 1140, 1200, 1260, 1320, 1381, 1442};
  const auto drawn = LabelsOf(*dc);
  ASSERT_EQ(drawn.size(), 24u) << "00:00 would start left of pixel 0";
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_EQ(drawn[i].rect, CRect(centres[i + 1] - 18, 102, centres[i + 1] + 18, 115)) << drawn[i].text;
  }
  std::int32_t time = 0;
  ASSERT_EQ(chart.GetTimeByXPos(720, time), 1);
  EXPECT_EQ(time, 120007) << "pixel 720 begins seven slots after noon";
}

}  // namespace
