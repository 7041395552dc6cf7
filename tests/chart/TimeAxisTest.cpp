// The time axis: the slot table and its single-precision positions, clock times to pixels and
// back (with the trading period across midnight), what rebuilds the table, the time grid and
// the time labels.
#include "ChartTestSupport.h"
#include "chart/TimeSlotTable.h"

namespace {

using kelo::surface::LineRecord;
using namespace kelo::test;
using Tick = CKeloBaseChart::ETickType;
using Chart = ProbeChart;

constexpr Tick kMinute = CKeloBaseChart::eTickMinute;

// The morning session: 9:00 to 13:30 over pixels 100 to 340, one-minute slots.
const CRect kMorning(100, 10, 340, 200);
constexpr std::int32_t kStart = 90000;
constexpr std::int32_t kEnd = 133000;

// Texts drawn, each checked to be centred in the X text colour over a background fill.
std::vector<std::string> TimeTexts(CDC& dc, std::vector<CRect>* rects = nullptr) {
  std::vector<std::string> texts;
  for (const XLabel& l : XLabelsOf(dc)) {
    EXPECT_EQ(l.format, static_cast<UINT>(DT_CENTER)) << l.text;
    EXPECT_EQ(l.color, kXText) << l.text;
    texts.push_back(l.text);
    if (rects != nullptr) rects->push_back(l.rect);
  }
  return texts;
}

TEST(TimeSlotTable, EntriesRunFromASlotBeforeTheStartToASlotAfterTheEndInsideTheDay) {
  const std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int64_t>> cases = {
      {32400, 48600, 60, 273},
      {30, 600, 60, 12} /* the first second is held at midnight */,
      {120, 600, 1, 601} /* from a minute before the start */,
      {0, 86400, 1, 86461},
      {0, 86399, 1, 86460},
      {86000, 89999, 60, 8} /* the last at 86400 */,
      {86500, 89999, 1, 0},
      {0, 773092799, 1, 86401},
      {100, 100, 60, 0},
      {200, 100, 60, 0},
      {0, 86400, 0, 0},
      {0, 86400, -60, 0},
      {0, 86400, kMax32, 1}};
  for (const auto& [startSec, endSec, step, entries] : cases) {
    EXPECT_EQ(kelo::detail::TimeSlotCount(startSec, endSec, step), entries)
        << startSec << ".." << endSec << "/" << step;
    std::vector<float> positions(5, 1.0f);
    kelo::detail::BuildTimeSlotTable({0, 1000, 0, startSec, endSec, step}, positions);
    EXPECT_EQ(static_cast<std::int64_t>(positions.size()), entries);
  }
  // 40000 x 86400 does not fit 32 bits: the step wraps as a 32-bit product does; hostile edges.
  EXPECT_EQ(kelo::detail::TimeSlotStep({0, 40000, 0, 0, 86400, 86400}),
            static_cast<float>(static_cast<double>(3456000000LL - 4294967296LL) / 86400));
  std::vector<float> positions;
  kelo::detail::BuildTimeSlotTable({kMin32, kMax32, kMin32, 0, 86400, 1}, positions);
  EXPECT_EQ(positions.size(), 86461u);
  EXPECT_EQ(kelo::detail::PickShiftedTimeSlot(600, 0, 0, 900, 10).kind, kelo::detail::TimeSlotPick::kNone);
}

TEST(TimeAxis, RangesWithoutSlotsHaveNoPositionAndKeepTheTable) {
  Chart chart;
  ASSERT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, 90000, kMinute, 0), 100);
  const std::vector<std::tuple<std::int32_t, std::int32_t, Tick>> keep = {{kStart, kStart, kMinute},
                                                                          {kStart, kEnd, kMinute},
                                                                          {kEnd, kStart, static_cast<Tick>(0)},
                                                                          {kEnd, kStart, static_cast<Tick>(-60)},
                                                                          {kEnd, kStart, static_cast<Tick>(kMin32)}};
  for (const auto& [end, start, step] : keep) {
    EXPECT_EQ(chart.GetXPosByTime(kMorning, end, start, 100000, step, 0), -1) << end << " " << start << " " << step;
    EXPECT_EQ(chart.xTimePositions.size(), 273u) << "the table of earlier calls is kept";
  }
  // 00:00:61 after 00:00:60: not clock times, both second 0, an empty range and no table.
  EXPECT_EQ(chart.GetXPosByTime(kMorning, 61, 60, 60, kMinute, 0), -1);
  EXPECT_TRUE(chart.xTimePositions.empty());
  EXPECT_EQ(chart.GetTickXPosStep(), 0.0f);
  EXPECT_EQ(chart.GetXPosByTime(kMorning, 245959, 240900, 241000, kMinute, 0), -1) << "no slot inside the day";
}

TEST(TimeAxis, TradingPeriodAcrossMidnightIsCountedFromItsStart) {
  // 15:00 to 05:00 is 0:00 to 14:00 on the shifted clock; 840 pixels for 840 slots.
  Chart chart;
  chart.SetOffsetMinTick(900);
  const CRect rect(0, 0, 840, 100);
  const std::vector<std::tuple<std::int32_t, int, int>> cases = {
      {150000, 0, 1},
      {3000, 0, 571},
      {45900, 0, 840},
      {50100, 0, 842} /* the last entry */,
      {50200, 0, 840} /* beyond the table: the right edge */,
      {145900, 0, 840} /* the end of the next day */,
      {150000, 1, 842} /* without the offset: after the end */,
      {3000, 1, 31}};
  for (const auto& [time, ignoreOffset, x] : cases) {
    EXPECT_EQ(chart.GetXPosByTime(rect, 140000, 0, time, kMinute, ignoreOffset), x) << time << " " << ignoreOffset;
  }
  // A period 25:00 to 26:00 has an empty table: 40:00 (25:00 shifted) lies beyond it, 39:00 nowhere.
  EXPECT_EQ(chart.GetXPosByTime(rect, 260000, 250000, 400000, kMinute, 0), 840);
  EXPECT_EQ(chart.GetXPosByTime(rect, 260000, 250000, 390000, kMinute, 0), -1);
  for (const std::int32_t offset : {kMax32, kMin32, -900, 1440, 100000}) {  // hostile offsets
    chart.SetOffsetMinTick(offset);
    const int x = chart.GetXPosByTime(rect, 140000, 0, 120000, kMinute, 0);
    EXPECT_TRUE(x >= 0 && x <= 842) << offset << " gave " << x;
  }
}

TEST(TimeAxis, SlotTableIsRebuiltOnlyWhenWidthTimesOrSlotLengthChange) {
  struct Step {
    CRect rect;
    std::int32_t end, start;
    Tick step;
    std::int32_t time;
    int x;
    std::size_t entries;
  };
  const std::vector<Step> steps = {
      {kMorning, kEnd, kStart, kMinute, 90000, 100, 273},
      {CRect(200, 0, 440, 50), kEnd, kStart, kMinute, 90000, 100, 273},  // moved, same width: old positions
      {CRect(100, 10, 580, 200), kEnd, kStart, kMinute, 90000, 101, 273},
      {CRect(100, 10, 580, 200), 120000, kStart, kMinute, 90000, 102, 183},
      {CRect(100, 10, 580, 200), 120000, 100000, kMinute, 100000, 104, 123},
      {kMorning, kEnd, kStart, static_cast<Tick>(30), 90000, 100, 545}};
  Chart chart;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    EXPECT_EQ(chart.GetXPosByTime(s.rect, s.end, s.start, s.time, s.step, 0), s.x) << "step " << i;
    EXPECT_EQ(chart.xTimePositions.size(), s.entries) << "step " << i;
  }
  // SetTickType changes the key without rebuilding: the 30-second key now meets a one-minute
  // request, which rebuilds; setting 30 again makes the one-minute table answer 30-second calls.
  chart.SetLineOffSet(10);
  EXPECT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, 90000, static_cast<Tick>(30), 0), 100)
      << "inset not in the key";
  chart.SetLineOffSet(0);
  chart.GetXPosByTime(kMorning, kEnd, kStart, kStart, kMinute, 0);
  chart.SetTickType(static_cast<Tick>(30));
  EXPECT_EQ(chart.GetXPosByTime(kMorning, kEnd, kStart, 90100, static_cast<Tick>(30), 0), 102);
  EXPECT_EQ(chart.xTimePositions.size(), 273u);
  std::int32_t time = 0;
  ASSERT_EQ(chart.GetTimeByXPos(102, time), 1);
  EXPECT_EQ(time, 90100) << "slot 2 of 30 seconds";
}

TEST(TimeAxis, CountHelpersComputeInDouble) {
  Chart chart;
  const std::vector<std::tuple<std::int32_t, std::int32_t, int, int>> offsets = {{10, 4, 3, 7},
                                                                                 {-10, 4, 3, -7},
                                                                                 {1, 3, 3, 1},
                                                                                 {1, 0, 5, 0},
                                                                                 {kMax32, 1, kMax32, kMax32},
                                                                                 {kMin32, 1, kMax32, kMin32}};
  for (const auto& [a, b, c, expected] : offsets) EXPECT_EQ(chart.CountGridOffset(a, b, c), expected) << a << "/" << b;
  EXPECT_EQ(chart.CountLineOffsetStep(300, 4), 75.0);
  chart.SetLineOffSet(10);
  EXPECT_EQ(chart.CountLineOffsetStep(300, 4), 70.0);
  EXPECT_EQ(chart.CountLineOffsetStep(300, 0), 0.0);
  EXPECT_EQ(chart.CountLineOffsetStep(kMin32, -1), -(static_cast<double>(kMin32) - 20));
}

std::vector<CKeloBaseChart::STimeLine> MorningLines() {
  return {{90000, 0}, {100000, 1}, {110000, 2}, {120000, 1}, {133000, 0}, {113000, -1}};
}

TEST(TimeGrid, BadRangesDrawNothing) {
  Chart chart;
  auto dc = CDC::CreateRecording(400, 300);
  chart.DrawXGridByTime(dc.get(), kMorning, kStart, kStart, MorningLines(), 0, 1, kMinute);
  chart.DrawXGridByTime(dc.get(), kMorning, kStart, kEnd, MorningLines(), 0, 1, kMinute);
  chart.DrawXGridByTime(dc.get(), kMorning, kEnd, kStart, {}, 0, 1, kMinute);
  chart.DrawXGridByTime(dc.get(), kMorning, kEnd, kStart, MorningLines(), 0, 1, static_cast<Tick>(-1));
  chart.DrawXGridByTime(nullptr, kMorning, kEnd, kStart, MorningLines(), 0, 1, kMinute);
  EXPECT_TRUE(LogOf(*dc).empty());
  chart.DrawXGridByTime(dc.get(), kMorning, 61, 60, MorningLines(), 0, 1, kMinute);
  EXPECT_EQ(LinesOf(*dc).size(), 2u) << "times without slots: only the edges";
}

std::vector<CKeloBaseChart::STimeString> MorningLabels() {
  return {{90000, "09:00", 0}, {94000, "09:40", 1}, {100000, "10:00", 0}, {101000, "10:10", 0}, {110000, "11:00", 0}};
}

TEST(TimeLabels, EarlierLabelsWinMinorLabelsNeedShowAllAndTheKeyIsRectangleTimesAndLabels) {
  // Labels 36 wide around the slot: 09:00 at 100 spans 82..118, 09:40 118..154, 10:00 136..172.
  Chart chart;
  chart.SetXInfor(MorningLabels());
  auto dc = CDC::CreateRecording(400, 300);
  std::vector<CRect> rects;
  chart.DrawXGridTextByTime(dc.get(), kMorning, kEnd, kStart, 0, kMinute);
  EXPECT_EQ(TimeTexts(*dc, &rects), (std::vector<std::string>{"09:00", "10:00", "11:00"}));
  EXPECT_EQ(rects,
            (std::vector<CRect>{CRect(82, 202, 118, 215), CRect(136, 202, 172, 215), CRect(189, 202, 225, 215)}));
  EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  // showAll and the slot length are not part of the key: the layout stays.
  auto same = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(same.get(), kMorning, kEnd, kStart, 1, static_cast<Tick>(30));
  EXPECT_EQ(TimeTexts(*same), (std::vector<std::string>{"09:00", "10:00", "11:00"}));
  // New labels are laid out again, now with showAll.
  chart.SetXInfor(MorningLabels());
  auto changed = CDC::CreateRecording(400, 300);
  rects.clear();
  chart.DrawXGridTextByTime(changed.get(), kMorning, kEnd, kStart, 1, kMinute);
  EXPECT_EQ(TimeTexts(*changed, &rects), (std::vector<std::string>{"09:00", "09:40", "11:00"}));
  EXPECT_EQ(rects[1], CRect(118, 202, 154, 215));
  // A rectangle moved down moves the strip; another end time is another layout.
  auto moved = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(moved.get(), CRect(100, 20, 340, 210), kEnd, kStart, 0, kMinute);
  EXPECT_EQ(XLabelsOf(*moved).front().rect, CRect(82, 212, 118, 225));
  auto shorter = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(shorter.get(), CRect(100, 20, 340, 210), 110000, kStart, 0, kMinute);
  EXPECT_EQ(XLabelsOf(*shorter).back().rect, CRect(328, 212, 364, 225));
}

TEST(TimeLabels, LabelsWithoutPositionsAreHidden) {
  Chart chart;
  chart.SetXInfor(MorningLabels());
  auto dc = CDC::CreateRecording(400, 300);
  chart.DrawXGridTextByTime(dc.get(), kMorning, kEnd, kStart, 1, static_cast<Tick>(0));  // no slot length
  chart.DrawXGridTextByTime(dc.get(), CRect(0, 0, 0, 0), 61, 60, 1, kMinute);            // no slots
  EXPECT_TRUE(LogOf(*dc).empty());
  // Over a reversed range every label lies at x = -1; with a negative character width (labels
  // -300 wide) the left edge 149 is right of the right edge -151, nothing blocks, all show.
  chart.SetFontSize(12, -50);
  chart.DrawXGridTextByTime(dc.get(), kMorning, kStart, kEnd, 1, kMinute);
  const auto labels = LabelsOf(*dc);  // read alone: the fill puts a reversed rectangle in order
  ASSERT_EQ(labels.size(), 5u);
  EXPECT_EQ(labels[4], (Label{"11:00", CRect(149, 202, -151, 215), kXText}));
  Chart none;
  none.DrawXGridTextByTime(dc.get(), kMorning, kEnd, kStart, 1, kMinute);
  EXPECT_EQ(LogOf(*dc).size(), 10u) << "a chart without labels draws nothing";
}

}  // namespace
