// Horizontal reference lines and their texts through the recording surface: the divided grid
// and its middle line, the price axis split at the reference price, the volume-style side
// labels and the underlined labels, with exact lines, texts, fonts and colours.
#include <cstdio>

#include "ChartTestSupport.h"

namespace {

using kelo::surface::LineRecord;
using kelo::surface::TextDesc;
using namespace kelo::test;

const kelo::surface::GdiPenDesc kEdgePen = Pen(PS_SOLID, 1, 0xa8a8a8);
constexpr unsigned kLibraryKind = 0xFFFFFFFFu;
constexpr UINT kPartFormat = 0x26;

std::vector<TextDesc> TextsOf(CDC& dc) {
  std::vector<TextDesc> texts;
  for (const auto& r : TextRecords(LogOf(dc))) texts.push_back(r.text);
  return texts;
}

// The parts of underlined labels in drawing order, underlined ones marked with a leading _.
std::vector<std::string> PartsOf(CDC& dc) {
  std::vector<std::string> parts;
  for (const TextDesc& t : TextsOf(dc)) parts.push_back((t.font.underline ? "_" : "") + t.text);
  return parts;
}

class HorizontalLinesDrawing : public AxisDrawing {
 protected:
  void DrawPrices(std::int32_t maxValue, std::int32_t baseValue, std::int32_t minValue,
                  std::vector<std::int32_t> values, std::int32_t priceScale = 1) {
    CKeloBaseChart::_SDataInfor data;
    data.maxValue = maxValue;
    data.baseValue = baseValue;
    data.minValue = minValue;
    data.priceScale = priceScale;
    data.values = std::move(values);
    chart.DrawHorizontalLineWithTextByRange(dc.get(), CRect(60, 0, 360, 200), data, kLibraryKind);
  }
  // 90, 92, ..., 110 around the base 100: 20 pixels apart on a 200-pixel plot.
  void DrawEvenPrices() {
    std::vector<std::int32_t> values;
    for (int v = 90; v <= 110; v += 2) values.push_back(v);
    DrawPrices(110, 100, 90, values);
  }
};

TEST_F(HorizontalLinesDrawing, DividedGridMarksTheMiddleOrHalfACellAboveIt) {
  struct Case {
    std::int32_t cells;
    std::vector<int> grid;
    int middle;
  } cases[] = {{4, {170, 120, 70, 20}, 120},
               {1, {20}, 20} /* on the top edge */,
               {5, {180, 140, 100, 60, 20}, 100} /* odd: 5 / 2 cells below the top */};
  for (const Case& c : cases) {
    Clear();
    chart.DrawHorizontalLine(dc.get(), CRect(10, 20, 310, 220), c.cells);
    auto expected = Across(10, 310, c.grid, kGridPen);
    expected.push_back(Line(10, c.middle, 310, c.middle, kMidPen));
    EXPECT_EQ(Lines(), expected) << c.cells << " cells";
  }
  Clear();
  for (std::int32_t cells : {0, -4, kMax32}) chart.DrawHorizontalLine(dc.get(), CRect(10, 20, 310, 220), cells);
  EXPECT_TRUE(Log().empty());
}

TEST_F(HorizontalLinesDrawing, PriceAxisKeepsLabelsApartWhenCrowdedAndRedrawsTheTopDashedWithoutEdge) {
  chart.SetFontSize(30, 6);
  chart.SetIsDrawRTLine(0);
  DrawEvenPrices();
  // Every second line from the base, and the lines next to the top and bottom labels hidden.
  const std::vector<Label> expected = {{"96", Column(125, 30), kDefaultText},
                                       {"100", Column(85, 30), kMidText},
                                       {"104", Column(45, 30), kDefaultText},
                                       {"110", Column(-15, 30), kMaxText},
                                       {"90", Column(185, 30), kMinText}};
  EXPECT_EQ(LabelsOf(*dc), expected);
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[10], Line(60, 0, 360, 0, kGridPen));
  EXPECT_EQ(lines[11], Line(60, 0, 360, 0, Pen(PS_DASH, 1, 0x9b9b9b, true)));
  Clear();  // the grid pen is back for the next drawing
  chart.DrawHorizontalLine(dc.get(), CRect(60, 0, 360, 200), 2);
  EXPECT_EQ(Lines().front().pen, kGridPen);
}

TEST_F(HorizontalLinesDrawing, PriceAxisNeedsMaxAboveBaseAboveMinAndScalesWithoutTheBaseInTheList) {
  DrawPrices(100, 100, 90, {90, 95, 100});   // base equal to max
  DrawPrices(110, 90, 90, {90, 100, 110});   // base equal to min
  DrawPrices(90, 100, 110, {90, 100, 110});  // upside down
  DrawPrices(110, 100, 90, {});              // no scale lines
  DrawPrices(kMax32, 0, kMin32, {});
  EXPECT_TRUE(Log().empty());
  DrawPrices(kMax32, 0, kMin32, {kMin32, 0, kMax32});  // the widest range, differences not overflowing
  EXPECT_EQ(Lines().size(), 5u);
  Clear();
  DrawPrices(110, 100, 90, {90, 95, 105, 110});
  auto lines = Across(60, 360, {200, 150, 50, 0}, kGridPen);
  lines.push_back(Line(60, 0, 360, 0, kEdgePen));
  lines.push_back(Line(60, 100, 360, 100, kMidPen));
  EXPECT_EQ(Lines(), lines);
  const std::vector<Label> labels = {
      {"105", Column(44), kDefaultText}, {"110", Column(-6), kMaxText}, {"90", Column(194), kMinText}};
  EXPECT_EQ(LabelsOf(*dc), labels);
  Clear();  // the base line is on the upper scale: the lower one (11 units to 100 pixels) rounds it up a pixel
  DrawPrices(110, 100, 89, {89, 100, 105, 110});
  EXPECT_EQ(Lines().at(1), Line(60, 100, 360, 100, kGridPen));
}

// A label font selected by the caller, which every drawing must leave selected.
class UnderlinedLabel : public HorizontalLinesDrawing {
 protected:
  void SetUp() override {
    HorizontalLinesDrawing::SetUp();
    LOGFONT record;
    record.lfHeight = -12;
    std::snprintf(record.lfFaceName, LF_FACESIZE, "%s", "DejaVu Sans Mono");
    font.CreateFontIndirect(&record);
    callerFont = dc->SelectObject(&font);
  }
  void TearDown() override {
    EXPECT_EQ(dc->GetCurrentFont(), &font) << "the label must leave the caller's font selected";
    dc->SelectObject(callerFont);
    HorizontalLinesDrawing::TearDown();
  }
  CFont font;
  CFont* callerFont = nullptr;
};

TEST_F(UnderlinedLabel, TooWideTextLosesUnderlinedCharactersOneAtATime) {
  struct Case {
    const char* fitting;  // the rectangle is exactly as wide as this text
    int underline;
    std::vector<std::string> parts;
  } cases[] = {
      {"12345", 2, {"_45", "123"}},  // fits
      {"1234", 2, {"_4", "123"}},    // one too wide: one fewer underlined
      {"123", 2, {"_4", "123"}},     // still too wide, but one underlined character is kept
      {"123", 3, {"_3", "12"}},      // two dropped
      {"1", 4, {"_23", "1"}},        // never more than two
      {"1", 1, {"_5", "1234"}},      // a single underlined character is never dropped
      {"12345", 0, {"_", "12345"}},  // nothing underlined: plain text
      {"12345", 5, {"_12345"}},      // all underlined: one part
      {"12345", 9, {"_12345"}},
  };
  for (const Case& c : cases) {
    Clear();
    chart.DrawUnderlineString(dc.get(), CRect(10, 0, 10 + dc->GetTextExtent(c.fitting).cx, 20), c.underline, "12345",
                              "", 1);
    EXPECT_EQ(PartsOf(*dc), c.parts) << c.fitting << ", " << c.underline;
  }
}

TEST_F(UnderlinedLabel, SmallerUnderlinedFontIsThreePointsBelowTheBase) {
  for (const auto& [baseHeight, keep, underlinedHeight] :
       std::vector<std::tuple<LONG, int, int>>{{-12, 0, -8}, {16, 0, 12}, {-12, 1, -12}, {16, 1, 16}}) {
    Clear();
    LOGFONT record;
    record.lfHeight = baseHeight;
    CFont base;
    base.CreateFontIndirect(&record);
    dc->SelectObject(&base);
    chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), 2, "12345", "", keep);
    dc->SelectObject(&font);
    const auto texts = TextsOf(*dc);
    EXPECT_EQ(std::vector<int>({texts.at(0).font.height, texts.at(1).font.height}),
              std::vector<int>({underlinedHeight, baseHeight}))
        << baseHeight << ", keep " << keep;
  }
}

TEST_F(UnderlinedLabel, HostileCountsAndAReleasedFontStayHarmless) {
  chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), std::numeric_limits<int>::min(), "12345", "K", 1);
  chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), std::numeric_limits<int>::max(), "12345", "K", 1);
  chart.DrawUnderlineString(dc.get(), CRect(200, 0, 0, 20), 3, "", "", 1);
  chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), 2, "", "K", 0);
  EXPECT_EQ(PartsOf(*dc), (std::vector<std::string>{"K", "_", "1234", "_12345", "_", "_"}));
  // A font whose holder was released after it was selected: drawn with, kept selected.
  LOGFONT record;
  record.lfHeight = -20;
  CFont released;
  released.CreateFontIndirect(&record);
  CFont* previous = dc->SelectObject(&released);
  released.DeleteObject();
  Clear();
  chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), 2, "12345", "", 1);
  EXPECT_EQ(dc->GetCurrentFont(), &released);
  const auto texts = TextsOf(*dc);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "12345");
  EXPECT_EQ(texts[0].font.height, -20);
  dc->SelectObject(previous);
}

TEST_F(HorizontalLinesDrawing, SideLabelsWithoutCellsDrawNothingAndTheWidest64BitRangeDraws) {
  for (std::int32_t cells : {0, -1, kMax32}) {
    chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), 2000, 1000, cells, 1, 1, 1, 0, 1, kLibraryKind);
  }
  EXPECT_TRUE(Log().empty());
  chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), std::numeric_limits<std::int64_t>::max(),
                           std::numeric_limits<std::int64_t>::min(), 4, 1, 1, 0, 0, 1, kLibraryKind);
  EXPECT_EQ(Lines().size(), 4u);
}

TEST_F(HorizontalLinesDrawing, SideLabelsFollowTheCellCountOnOnePlot) {
  chart.SetLeftUnit("K", 0);
  chart.SetRightUnit("V");
  const Label k{"K", Column(194, 13), kLeftText}, v{"V", CRect(363, 194, 411, 219), kRightText};
  auto right = [](const char* text, int top) { return Label{text, CRect(363, top, 411, top + 12), kRightText}; };
  // One cell labels only the top line; a new count on the same plot is laid out again.
  const std::vector<std::pair<std::int32_t, std::vector<Label>>> cases = {
      {1, {{"2000", Column(-6), kLeftText}, k, right("1000", -6), v}},
      {2,
       {{"1500", Column(94), kLeftText}, {"2000", Column(-6), kLeftText}, k, right("500", 94), right("1000", -6), v}}};
  for (const auto& [cells, labels] : cases) {
    Clear();
    chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), 2000, 1000, cells, 1, 1, 0, DT_LEFT, 0, kLibraryKind);
    EXPECT_EQ(LabelsOf(*dc), labels) << cells << " cells";
  }
}

TEST_F(HorizontalLinesDrawing, AFontDestroyedWhileSelectedReadsAsTheStockFont) {
  CFont* stock = dc->GetCurrentFont();
  LOGFONT record;
  record.lfHeight = -20;
  auto doomed = std::make_unique<CFont>();
  doomed->CreateFontIndirect(&record);
  dc->SelectObject(doomed.get());
  doomed.reset();
  chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), 2, "12345", "", 1);
  EXPECT_EQ(dc->GetCurrentFont(), stock);
  EXPECT_EQ(TextsOf(*dc).size(), 2u);
}

}  // namespace
