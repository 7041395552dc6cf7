// The horizontal grid and the Y labels: the label layouts alone, then every drawing through
// the recording surface with exact lines, texts, rectangles and colours.
#include <cmath>

#include "ChartTestSupport.h"
#include "chart/YLabelLayout.h"

namespace {

using kelo::detail::AxisMetrics;
using namespace kelo::test;
const double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::nan("");

std::vector<int> VisibleOf(const std::vector<kelo::detail::SLabelSlot>& slots) {
  std::vector<int> visible;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (slots[i].visible != 0) visible.push_back(static_cast<int>(i));
  }
  return visible;
}

AxisMetrics Metrics(std::int32_t fontHeight) { return AxisMetrics{fontHeight, 6, fontHeight * 0.5, 3.0, 8}; }

class YAxisDrawing : public AxisDrawing {};

TEST(YLabelGeometry, MiddleLineAxisThinsFromTheMiddleAndHidesCrowdedNeighbours) {
  struct Case {
    std::int32_t fontHeight;
    std::int64_t lines, middle;
    std::vector<int> visible;
  } cases[] = {{12, 11, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
               {30, 11, 5, {3, 5, 7}} /* e = 2, 1 and 9 crowded */,
               {40, 11, 5, {5}} /* line 8 ends a text height below the top: not a label place */,
               {12, 2, 1, {1}},
               {12, 1, 0, {}}};
  for (const Case& c : cases) {
    const auto slots =
        kelo::detail::MiddleLineYLayout(CRect(100, 0, 300, 200), c.lines, c.middle, Metrics(c.fontHeight));
    EXPECT_EQ(slots.size(), static_cast<std::size_t>(c.lines));
    EXPECT_EQ(VisibleOf(slots), c.visible) << "font " << c.fontHeight << ", lines " << c.lines;
  }
  // Plot left 20: the middle-line column starts at 0, the evenly spaced one keeps its width.
  EXPECT_EQ(kelo::detail::MiddleLineYLayout(CRect(20, 0, 300, 200), 11, 5, Metrics(12))[3].rect,
            CRect(0, 134, 17, 146));
  EXPECT_EQ(kelo::detail::EvenlySpacedYLayout(CRect(20, 0, 300, 200), 0, 10, Metrics(12))[3].rect,
            CRect(-31, 134, 17, 146));
}

TEST_F(YAxisDrawing, GridLinesWithAndWithoutTheTopInset) {
  struct Case {
    std::int32_t count;
    int topInset, offset;
    std::vector<int> ys;
  } cases[] = {{5, 0, 0, {90, 70, 50, 30, 10}},
               {7, 0, 0, {95, 81, 67, 52, 38, 24, 10}} /* cut toward zero */,
               {5, 1, 10, {92, 74, 56, 38, 20}}};
  for (const Case& c : cases) {
    Clear();
    chart.DrawYGrid(dc.get(), CRect(50, 10, 350, 110), c.count, c.topInset);
    EXPECT_EQ(chart.GetHorizontalLineOffSet(), c.offset);
    EXPECT_EQ(Lines(), Across(50, 350, c.ys, kGridPen)) << c.count << " cells, inset " << c.topInset;
  }
  Clear();
  for (std::int32_t count : {0, -3, kMin32, kMax32}) chart.DrawYGrid(dc.get(), CRect(50, 10, 350, 110), count, 0);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(chart.GetHorizontalLineOffSet(), 10) << "the inset of the last drawing is kept";
  chart.DrawYGrid(dc.get(), CRect(50, 10, 350, 110), 65536, 0);  // the limit itself draws
  EXPECT_EQ(Lines().size(), 65536u);
}

TEST_F(YAxisDrawing, LinearLabelsOnEverySecondLineWithTheUnitBelow) {
  chart.SetLeftUnit("Vol", 0);
  chart.DrawYGridText(dc.get(), CRect(60, 0, 360, 100), 110.0, 10.0);
  const std::vector<Label> expected = {{"30.00", Column(74), kLeftText},  {"50.00", Column(54), kLeftText},
                                       {"70.00", Column(34), kLeftText},  {"90.00", Column(14), kLeftText},
                                       {"110.00", Column(-6), kLeftText}, {"Vol", Column(94, 25), kLeftText}};
  EXPECT_EQ(LabelsOf(*dc), expected);
  for (const auto& r : TextRecords(Log())) EXPECT_EQ(r.text.format, static_cast<UINT>(DT_RIGHT));
  EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  Clear();
  chart.SetYCells(0);
  chart.DrawYGridText(dc.get(), CRect(60, 0, 360, 100), 110.0, 10.0);
  EXPECT_TRUE(Log().empty());
}

TEST_F(YAxisDrawing, MiddleValueLabelsColourTheTopMiddleAndBottom) {
  chart.SetYValueUnit("%");
  EXPECT_EQ(chart.DrawYGridTextEx(dc.get(), CRect(60, 0, 360, 200), 110.0, 100.004, 90.0, 11, 7), 1);
  std::vector<Label> expected;  // decimals 7 formats with two and rounds the middle to 100.00
  for (int i = 1; i <= 9; ++i)
    expected.push_back({std::to_string(90 + 2 * i) + ".00%", Column(194 - 20 * i), kDefaultText});
  expected.push_back({"110.00%", Column(-6), kMaxText});
  expected.push_back({"100.00%", Column(94), kMidText});
  expected.push_back({"90.00%", Column(194), kMinText});
  EXPECT_EQ(LabelsOf(*dc), expected);
  for (const auto& r : TextRecords(Log())) EXPECT_EQ(r.text.bkMode, TRANSPARENT);
  EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  // The middle is rounded to the decimals before the lines are spaced from it.
  const std::vector<std::tuple<int, double, const char*, const char*>> rounding = {{0, 100.6, "101", "102"},
                                                                                   {1, 100.66, "100.7", "102.6"},
                                                                                   {3, 100.0004, "100.000", "102.000"},
                                                                                   {2, 100.006, "100.01", "102.01"}};
  for (const auto& [decimals, mid, midText, aboveMid] : rounding) {
    Clear();
    chart.DrawYGridTextEx(dc.get(), CRect(60, 0, 360, 200), 110.0, mid, 90.0, 11, decimals);
    const auto texts = Texts(Log());
    ASSERT_EQ(texts.size(), 12u);
    EXPECT_EQ(texts[5], std::string(aboveMid) + "%") << decimals;
    EXPECT_EQ(texts[10], std::string(midText) + "%") << decimals;
  }
}

TEST_F(YAxisDrawing, MiddleValueOutsideTheRangeOrWithoutLinesDrawsNothing) {
  const CRect rect(60, 0, 360, 200);
  for (const auto& [mid, lines] :
       std::vector<std::pair<double, std::int32_t>>{{111, 11}, {89, 11}, {100, 0}, {100, -5}}) {
    EXPECT_EQ(chart.DrawYGridTextEx(dc.get(), rect, 110.0, mid, 90.0, lines, 2), 0) << mid << " " << lines;
  }
  chart.DrawSymYGridText(dc.get(), rect, 12.0, 8.0, 0);
  chart.DrawSymYGridText(dc.get(), rect, 12.0, 8.0, kMax32);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(chart.DrawYGridTextEx(dc.get(), rect, 110.0, 100.0, 90.0, 1, 0), 1);  // one line: all in the bottom slot
  EXPECT_EQ(LabelsOf(*dc),
            (std::vector<Label>{
                {"110", Column(194), kMaxText}, {"100", Column(194), kMidText}, {"90", Column(194), kMinText}}));
}

TEST_F(YAxisDrawing, MiddleLayoutIsRebuiltOnlyWhenRectangleCountOrMiddleChange) {
  const CRect rect(60, 0, 360, 200), taller(60, 0, 360, 201);
  auto innerCount = [&] {
    int n = 0;
    for (const Label& l : LabelsOf(*dc)) n += l.color == kDefaultText ? 1 : 0;
    Clear();
    return n;
  };
  chart.DrawYGridTextEx(dc.get(), rect, 110.0, 100.0, 90.0, 11, 2);
  EXPECT_EQ(innerCount(), 9);
  chart.yLabelSlots[3].visible = 0;  // same key: both middle-line axes use the cached slots
  chart.DrawSymYGridText(dc.get(), rect, 110.0, 90.0, 11);
  EXPECT_EQ(innerCount(), 7);  // the middle and the hidden slot are left out
  chart.DrawYGridTextEx(dc.get(), rect, 110.0, 100.0, 90.0, 11, 2);
  EXPECT_EQ(innerCount(), 8);
  chart.yLabelHalf = 4;  // a changed middle, rectangle or count rebuilds
  chart.DrawYGridTextEx(dc.get(), rect, 110.0, 100.0, 90.0, 11, 2);
  EXPECT_EQ(innerCount(), 9);
  chart.yLabelSlots[3].visible = 0;
  chart.DrawYGridTextEx(dc.get(), taller, 110.0, 100.0, 90.0, 11, 2);
  EXPECT_EQ(innerCount(), 9);
  chart.yLabelSlots[3].visible = 0;
  chart.DrawYGridTextEx(dc.get(), taller, 110.0, 100.0, 90.0, 12, 2);
  EXPECT_EQ(chart.yLabelSlots.size(), 12u);
  EXPECT_EQ(chart.yLabelSlots[3].visible, 1);
  // A font change alone keeps the middle layout; the evenly spaced one follows it every call.
  chart.SetFontSize(30, 6);
  chart.DrawYGridTextEx(dc.get(), taller, 110.0, 100.0, 90.0, 12, 2);
  EXPECT_EQ(chart.yLabelSlots[3].rect.Height(), 12);
  chart.DrawYGridText(dc.get(), taller, 110.0, 90.0);
  EXPECT_EQ(chart.yLabelSlots[3].rect.Height(), 30);
}

TEST_F(YAxisDrawing, SymmetricLabelsShowSignedDistancesFromTheMiddle) {
  chart.SetYValueUnit("u");
  chart.DrawSymYGridText(dc.get(), CRect(60, 0, 360, 200), 12.0, 8.0, 5);
  const std::vector<Label> expected = {{"-1.00u", Column(144), kDefaultText},
                                       {"+1.00u", Column(44), kDefaultText},
                                       {"+2.00u", Column(-6), kMaxText},
                                       {"10.00u", Column(94), kMidText},
                                       {"-2.00u", Column(194), kMinText}};
  EXPECT_EQ(LabelsOf(*dc), expected);
}

TEST_F(YAxisDrawing, JumpLabelsSkipTheTopLineAndKeepClearOfTheBaseLabel) {
  chart.DrawJumpYGridText(dc.get(), CRect(60, 0, 360, 200), 110.0, 90.0, 100.0, 10, 0);
  // Odd lines from the top; line 5 (the middle) would touch the base label.
  const std::vector<Label> expected = {{"+8.00", Column(14), kDefaultText},
                                       {"+4.00", Column(54), kDefaultText},
                                       {"-4.00", Column(134), kDefaultText},
                                       {"-8.00", Column(174), kDefaultText},
                                       {"100.00", Column(94), kMidText}};
  EXPECT_EQ(LabelsOf(*dc), expected);
  EXPECT_EQ(dc->GetTextColor(), kMidText) << "the base label's colour is left set";
  Clear();
  chart.DrawJumpYGridText(dc.get(), CRect(60, 0, 360, 200), 110.0, 90.0, 100.0, 10, 1);
  EXPECT_EQ(LabelsOf(*dc).size(), 4u);
  EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  Clear();  // near the image's left edge the column runs past it, as the evenly spaced one does
  chart.DrawJumpYGridText(dc.get(), CRect(20, 0, 360, 200), 110.0, 90.0, 100.0, 10, 1);
  EXPECT_EQ(LabelsOf(*dc).at(0).rect, CRect(-31, 14, 17, 26));
  // Crowded: 10-pixel lines, 30-pixel labels: lines 3, 7, 15 and 19 (11 and 13 lie under the
  // base label, the others would touch the label above them).
  Clear();
  chart.SetFontSize(30, 6);
  chart.DrawJumpYGridText(dc.get(), CRect(60, 0, 360, 200), 20.0, 0.0, 10.0, 20, 1);
  const std::vector<Label> crowded = {{"+7.00", Column(15, 30), kDefaultText},
                                      {"+3.00", Column(55, 30), kDefaultText},
                                      {"-5.00", Column(135, 30), kDefaultText},
                                      {"-9.00", Column(175, 30), kDefaultText}};
  EXPECT_EQ(LabelsOf(*dc), crowded);
  Clear();
  chart.DrawJumpYGridText(dc.get(), CRect(60, 0, 360, 200), 20.0, 0.0, 10.0, 0, 0);
  EXPECT_TRUE(Log().empty());
}

TEST_F(YAxisDrawing, ProfitAndLossLabelsAreColouredBySideAndMarkTheReference) {
  const CKeloPalette& palette = CKeloUIObjectSingletonPool::Instance()->palette;
  chart.DrawYGridTextBylossBenefit(dc.get(), CRect(60, 0, 360, 120), 0.0, 50.0, -50.0, 5.0, 2);
  // 20 cells of 6 pixels, 12-pixel text: every second line; the top line is not labelled.
  std::vector<Label> expected;
  for (int i = 2; i <= 18; i += 2) {
    const int value = (i - 10) * 5;
    const COLORREF color = value == 0 ? palette.GetLayoutColor(1) : palette.colorTable[value > 0 ? 321 : 311];
    expected.push_back({std::to_string(value) + ".00", Column(114 - 6 * i), color});
  }
  EXPECT_EQ(LabelsOf(*dc), expected);
  EXPECT_EQ(Lines(), Across(60, 360, {60}, kMidPen));
  EXPECT_EQ(dc->GetTextColor(), palette.colorTable[CKeloPalette::kUpTextColor])
      << "the last label's colour is left set";
  const kelo::test::Log positive = Log();  // a negative step draws exactly as its magnitude
  Clear();
  chart.DrawYGridTextBylossBenefit(dc.get(), CRect(60, 0, 360, 120), 0.0, 50.0, -50.0, -5.0, 2);
  EXPECT_EQ(Describe(Log()), Describe(positive));
  // From a thousand on, the texts are volume texts.
  for (const auto& [step, texts] : std::vector<std::pair<double, std::vector<std::string>>>{
           {1000.0, {"--1000", "0.00", "1000"}}, {999.5, {"-999.50", "0.00", "999.50"}}}) {
    Clear();
    chart.DrawYGridTextBylossBenefit(dc.get(), CRect(60, 0, 360, 400), 1.0, 2 * step, -2 * step, step, 2);
    EXPECT_EQ(Texts(Log()), texts) << step;
  }
}

TEST_F(YAxisDrawing, ProfitAndLossWithoutAUsableStepDrawsNothing) {
  const std::vector<std::tuple<double, double, double>> cases = {
      {-50, 50, 0.0},  {-50, 50, kNan},  {-50, 50, kInf}, {-1e300, 1e300, 1.0},
      {kNan, 50, 5.0}, {-5e6, 5e6, 1.0}, {3.0, 4.0, 5.0} /* a range inside one step */};
  for (const auto& [minValue, maxValue, step] : cases) {
    chart.DrawYGridTextBylossBenefit(dc.get(), CRect(60, 0, 360, 120), 0.0, maxValue, minValue, step, 2);
    EXPECT_TRUE(Log().empty()) << step;
  }
}

TEST_F(YAxisDrawing, FittedScaleDrawsLinesOnlyAtLabelledLinesAndOtherwiseKeepsTheInset) {
  chart.SetLeftUnit("K", 0);
  EXPECT_EQ(chart.DrawFitYGridText(dc.get(), CRect(60, 0, 360, 200), 3500, 10, 1), 1);
  EXPECT_EQ(chart.GetHorizontalLineOffSet(), 10);  // half-cell inset 10, then 19-pixel cells
  const std::vector<Label> expected = {{"1000", Column(175), kLeftText},
                                       {"2000", Column(156), kLeftText},
                                       {"3000", Column(137), kLeftText},
                                       {"4000", Column(118), kLeftText},
                                       {"K", Column(194), kLeftText}};
  EXPECT_EQ(LabelsOf(*dc), expected);
  EXPECT_EQ(Lines(), Across(60, 360, {181, 162, 143, 124}, kGridPen));
  EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  Clear();
  chart.DrawYGrid(dc.get(), CRect(0, 0, 100, 400), 10, 1);  // leaves an inset of 20
  Clear();
  chart.DrawFitYGridText(dc.get(), CRect(60, 0, 360, 200), 3500, 10, 0);
  EXPECT_EQ(chart.GetHorizontalLineOffSet(), 20);
  EXPECT_TRUE(Lines().empty());
  const auto labels = LabelsOf(*dc, true);  // laid out with the kept inset: 18-pixel cells
  ASSERT_EQ(labels.size(), 5u);
  EXPECT_EQ(labels[0].rect, Column(176));
  Clear();
  EXPECT_EQ(chart.DrawFitYGridText(dc.get(), CRect(60, 0, 360, 200), 3500, 0, 1), 1);
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(chart.GetHorizontalLineOffSet(), 20);
}

}  // namespace
