// Horizontal reference lines and their texts through the recording surface: the divided grid
// and its middle line, the price axis split at the reference price, the volume-style side
// labels and the underlined labels, with exact lines, texts, fonts and colours.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

#include "ChartTestSupport.h"

namespace {

using kelo::surface::LineRecord;
using kelo::surface::TextDesc;
using namespace kelo::test;

const kelo::surface::GdiPenDesc kEdgePen = kelo::test::Pen(PS_SOLID, 1, 0xa8a8a8);
const kelo::surface::GdiPenDesc kDashedPen = kelo::test::Pen(PS_DASH, 1, 0x9b9b9b, true);
constexpr unsigned kLibraryKind = 0xFFFFFFFFu;
constexpr UINT kPartFormat = 0x26;

std::vector<TextDesc> TextsOf(CDC& dc) {
  std::vector<TextDesc> texts;
  for (const auto& r : kelo::test::TextRecords(kelo::test::LogOf(dc))) texts.push_back(r.text);
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
  static CKeloBaseChart::_SDataInfor Range(std::int32_t maxValue, std::int32_t baseValue, std::int32_t minValue,
                                           std::vector<std::int32_t> values, std::int32_t priceScale = 1) {
    CKeloBaseChart::_SDataInfor data;
    data.maxValue = maxValue;
    data.baseValue = baseValue;
    data.minValue = minValue;
    data.priceScale = priceScale;
    data.values = std::move(values);
    return data;
  }
  // 90, 92, ..., 110 around the base 100: 20 pixels apart on a 200-pixel plot.
  void DrawEvenPrices() {
    std::vector<std::int32_t> values;
    for (int v = 90; v <= 110; v += 2) values.push_back(v);
    chart.DrawHorizontalLineWithTextByRange(dc.get(), CRect(60, 0, 360, 200), Range(110, 100, 90, values), kLibraryKind);
  }

};

// ---------------------------------------------------------------- DrawHorizontalLine

TEST_F(HorizontalLinesDrawing, DividedGridMarksTheMiddleOrHalfACellAboveIt) {
  struct Case {
    std::int32_t cells;
    std::vector<int> grid;
    int middle;
  } cases[] = {
      {4, {170, 120, 70, 20}, 120},
      {1, {20}, 20},                      // one cell: the middle line lies on the top edge
      {5, {180, 140, 100, 60, 20}, 100},  // odd: 5 / 2 = 2 cells below the top
  };
  for (const Case& c : cases) {
    Clear();
    chart.DrawHorizontalLine(dc.get(), CRect(10, 20, 310, 220), c.cells);
    auto expected = Across(10, 310, c.grid, kGridPen);
    expected.push_back(kelo::test::Line(10, c.middle, 310, c.middle, kMidPen));
    EXPECT_EQ(Lines(), expected) << c.cells << " cells";
  }
  Clear();
  for (std::int32_t cells : {0, -4, std::numeric_limits<std::int32_t>::max()}) {
    chart.DrawHorizontalLine(dc.get(), CRect(10, 20, 310, 220), cells);
  }
  EXPECT_TRUE(Log().empty());
}

// ---------------------------------------------------------------- DrawHorizontalLineWithTextByRange

TEST_F(HorizontalLinesDrawing, PriceAxisLabelsEveryLineWhenThereIsRoom) {
  DrawEvenPrices();
  // The bottom, the scale lines 20 pixels apart, the grey top edge, then the middle line over
  // the reference price, after the labels.
  auto lines = Across(60, 360, {200, 180, 160, 140, 120, 100, 80, 60, 40, 20, 0}, kGridPen);
  lines.push_back(kelo::test::Line(60, 0, 360, 0, kEdgePen));
  lines.push_back(kelo::test::Line(60, 100, 360, 100, kMidPen));
  EXPECT_EQ(Lines(), lines);

  std::vector<Label> labels;
  for (int i = 1; i <= 9; ++i) {
    labels.push_back({std::to_string(90 + 2 * i), Column(200 - 20 * i - 6), i == 5 ? kMidText : kDefaultText});
  }
  labels.push_back({"110", Column(-6), kMaxText});
  labels.push_back({"90", Column(194), kMinText});
  EXPECT_EQ(LabelsOf(*dc), labels);
  for (const TextDesc& t : TextsOf(*dc)) {
    EXPECT_EQ(t.format, kPartFormat);
    EXPECT_EQ(t.bkMode, TRANSPARENT);
  }
  EXPECT_EQ(dc->GetTextColor(), kMinText);

  // The middle line comes after the last inner label and before the top label.
  std::vector<std::string> order;
  for (const auto& record : Log()) {
    if (const auto* t = std::get_if<kelo::surface::TextRecord>(&record.op)) {
      if (!t->text.text.empty()) order.push_back(t->text.text);
    } else if (const auto* l = std::get_if<LineRecord>(&record.op); l && l->pen == kMidPen) {
      order.push_back("middle line");
    }
  }
  EXPECT_EQ(std::vector<std::string>(order.end() - 4, order.end()),
            (std::vector<std::string>{"108", "middle line", "110", "90"}));
}

TEST_F(HorizontalLinesDrawing, PriceAxisKeepsLabelsApartWhenCrowded) {
  chart.SetFontSize(30, 6);
  DrawEvenPrices();
  // Every second line from the base, and the lines next to the top and bottom labels hidden.
  const std::vector<Label> expected = {{"96", Column(125, 30), kDefaultText}, {"100", Column(85, 30), kMidText},
                                       {"104", Column(45, 30), kDefaultText}, {"110", Column(-15, 30), kMaxText},
                                       {"90", Column(185, 30), kMinText}};
  EXPECT_EQ(LabelsOf(*dc), expected);
}

TEST_F(HorizontalLinesDrawing, PriceAxisWithoutEdgeRedrawsTheTopLineDashedAndRestoresThePen) {
  chart.SetIsDrawRTLine(0);
  DrawEvenPrices();
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[10], kelo::test::Line(60, 0, 360, 0, kGridPen));
  EXPECT_EQ(lines[11], kelo::test::Line(60, 0, 360, 0, kDashedPen));
  EXPECT_EQ(lines[12].pen, kMidPen);

  EXPECT_EQ(chart.yLineStyle, PS_DOT);
  EXPECT_EQ(chart.yLineWidth, 1);
  EXPECT_EQ(chart.yLineColor, kGridPen.color);
  Clear();
  chart.DrawHorizontalLine(dc.get(), CRect(60, 0, 360, 200), 2);
  EXPECT_EQ(Lines().front().pen, kGridPen);
}

TEST_F(HorizontalLinesDrawing, PriceAxisNeedsMaxAboveBaseAboveMin) {
  const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  struct Case {
    std::int32_t maxValue, baseValue, minValue;
    std::vector<std::int32_t> values;
  } cases[] = {
      {100, 100, 90, {90, 95, 100}},   // base equal to max
      {110, 90, 90, {90, 100, 110}},   // base equal to min
      {90, 100, 110, {90, 100, 110}},  // upside down
      {110, 100, 90, {}},              // no scale lines
      {hi, 0, lo, {}},
  };
  for (const Case& c : cases) {
    chart.DrawHorizontalLineWithTextByRange(dc.get(), CRect(60, 0, 360, 200),
                                            Range(c.maxValue, c.baseValue, c.minValue, c.values), kLibraryKind);
  }
  EXPECT_TRUE(Log().empty());
  // The widest range draws without overflowing its differences.
  chart.DrawHorizontalLineWithTextByRange(dc.get(), CRect(60, 0, 360, 200), Range(hi, 0, lo, {lo, 0, hi}), kLibraryKind);
  EXPECT_EQ(Lines().size(), 5u);
}

TEST_F(HorizontalLinesDrawing, PriceAxisWithoutTheBaseInTheListScalesEveryLineAboveTheBase) {
  chart.DrawHorizontalLineWithTextByRange(dc.get(), CRect(60, 0, 360, 200), Range(110, 100, 90, {90, 95, 105, 110}),
                                          kLibraryKind);
  auto lines = Across(60, 360, {200, 150, 50, 0}, kGridPen);
  lines.push_back(kelo::test::Line(60, 0, 360, 0, kEdgePen));
  lines.push_back(kelo::test::Line(60, 100, 360, 100, kMidPen));
  EXPECT_EQ(Lines(), lines);
  const std::vector<Label> labels = {
      {"105", Column(44), kDefaultText}, {"110", Column(-6), kMaxText}, {"90", Column(194), kMinText}};
  EXPECT_EQ(LabelsOf(*dc), labels);
}

TEST_F(HorizontalLinesDrawing, PriceAxisUnderlinesTheDecimalsOfTheShortPrice) {
  const std::pair<std::int32_t, std::vector<std::string>> cases[] = {
      {100, {"_34", "12", "_00", "13", "_00", "12"}},   // 12.34, 13.00, 12.00
      {7, {"_29", "176", "_71", "185", "_43", "171"}},  // any other scale: two decimals
      {1, {"_", "1234", "_", "1300", "_", "1200"}},     // no decimals
  };
  for (const auto& [scale, parts] : cases) {
    Clear();
    chart.DrawHorizontalLineWithTextByRange(dc.get(), CRect(60, 0, 360, 200),
                                            Range(1300, 1234, 1200, {1200, 1234, 1300}, scale), kLibraryKind);
    EXPECT_EQ(PartsOf(*dc), parts) << "price scale " << scale;
  }
}

// ---------------------------------------------------------------- DrawUnderlineString

class UnderlinedLabel : public HorizontalLinesDrawing {
 protected:
  void SetUp() override {
    HorizontalLinesDrawing::SetUp();
    LOGFONT record;
    record.lfHeight = -12;
    std::snprintf(record.lfFaceName, LF_FACESIZE, "%s", "DejaVu Sans Mono");
    font.CreateFontIndirect(&record);
    record.lfUnderline = 1;
    underlinedFont.CreateFontIndirect(&record);
    callerFont = dc->SelectObject(&font);
  }
  void TearDown() override {
    EXPECT_EQ(dc->GetCurrentFont(), &font) << "the label must leave the caller's font selected";
    dc->SelectObject(callerFont);
    HorizontalLinesDrawing::TearDown();
  }
  int Width(const char* text, bool underlined) {
    CFont* previous = dc->SelectObject(underlined ? &underlinedFont : &font);
    const int width = dc->GetTextExtent(text).cx;
    dc->SelectObject(previous);
    return width;
  }
  std::vector<int> RightEdges() {
    std::vector<int> rights;
    for (const TextDesc& t : TextsOf(*dc)) rights.push_back(t.rect.right);
    return rights;
  }

  CFont font;
  CFont underlinedFont;
  CFont* callerFont = nullptr;
};

TEST_F(UnderlinedLabel, DrawsTheTailUnderlinedAndTheHeadPlainFromTheRight) {
  chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), 2, "12345", "", 1);
  EXPECT_EQ(PartsOf(*dc), (std::vector<std::string>{"_45", "123"}));
  EXPECT_EQ(RightEdges(), (std::vector<int>{200, 200 - Width("45", true)}));
  for (const TextDesc& t : TextsOf(*dc)) {
    EXPECT_EQ(t.format, kPartFormat);
    EXPECT_EQ(t.rect.left, 0);
    EXPECT_EQ(t.rect.top, 0);
    EXPECT_EQ(t.rect.bottom, 20);
    EXPECT_EQ(t.font.height, -12);
    EXPECT_EQ(t.font.face, "DejaVu Sans Mono");
  }

  // The suffix's last character takes the place of the text's last one, in the plain font.
  Clear();
  chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), 2, "123M", "M", 1);
  EXPECT_EQ(PartsOf(*dc), (std::vector<std::string>{"M", "_23", "1"}));
  const int afterSuffix = 200 - Width("M", false);
  EXPECT_EQ(RightEdges(), (std::vector<int>{200, afterSuffix, afterSuffix - Width("23", true)}));
}

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
    chart.DrawUnderlineString(dc.get(), CRect(10, 0, 10 + Width(c.fitting, false), 20), c.underline, "12345", "", 1);
    EXPECT_EQ(PartsOf(*dc), c.parts) << c.fitting << ", " << c.underline;
  }
}

TEST_F(UnderlinedLabel, SmallerUnderlinedFontIsThreePointsBelowTheBase) {
  struct Case {
    LONG baseHeight;
    int keep;
    int underlinedHeight;
  } cases[] = {{-12, 0, -8}, {16, 0, 12}, {-12, 1, -12}, {16, 1, 16}};
  for (const Case& c : cases) {
    Clear();
    LOGFONT record;
    record.lfHeight = c.baseHeight;
    CFont base;
    base.CreateFontIndirect(&record);
    CFont* previous = dc->SelectObject(&base);
    chart.DrawUnderlineString(dc.get(), CRect(0, 0, 200, 20), 2, "12345", "", c.keep);
    EXPECT_EQ(dc->GetCurrentFont(), &base);
    dc->SelectObject(previous);
    const auto texts = TextsOf(*dc);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].font.underline);
    EXPECT_EQ(texts[0].font.height, c.underlinedHeight) << c.baseHeight << ", keep " << c.keep;
    EXPECT_FALSE(texts[1].font.underline);
    EXPECT_EQ(texts[1].font.height, c.baseHeight);
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

// ---------------------------------------------------------------- DrawHorizontalText

TEST_F(HorizontalLinesDrawing, SideLabelsShowValuesOnTheLeftAndDistancesOnTheRight) {
  chart.SetLeftUnit("Vol", 0);
  chart.SetRightUnit("R");
  chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), 2000, 1000, 4, 1, 1, 0, 0, 0, kLibraryKind);
  std::vector<Label> expected;
  for (int i = 1; i <= 4; ++i) expected.push_back({std::to_string(1000 + 250 * i), Column(194 - 50 * i), kLeftText});
  expected.push_back({"Vol", CRect(9, 194, 57, 207), kLeftText});
  for (int i = 1; i <= 4; ++i) {
    expected.push_back({std::to_string(250 * i), CRect(363, 194 - 50 * i, 411, 206 - 50 * i), kRightText});
  }
  expected.push_back({"R", CRect(363, 194, 411, 219), kRightText});
  EXPECT_EQ(LabelsOf(*dc), expected);

  std::vector<UINT> formats;
  for (const TextDesc& t : TextsOf(*dc)) {
    if (!t.text.empty()) formats.push_back(t.format);
  }
  EXPECT_EQ(formats, (std::vector<UINT>{kPartFormat, kPartFormat, kPartFormat, kPartFormat, DT_RIGHT, 0, 0, 0, 0, 0}));
  EXPECT_EQ(dc->GetTextColor(), kDefaultText);
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(chart.yLabelCount, 4);
  EXPECT_EQ(chart.yLabelRect, CRect(60, 0, 360, 200));
}

TEST_F(HorizontalLinesDrawing, SideLabelsDrawLinesOnTheirOwnInsetCells) {
  // The layout is built before the lines take their half-cell inset, so labels stay on the
  // 50-pixel cells while the lines use 43.75-pixel cells below a 25-pixel inset.
  chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), 2000, 1000, 4, 1, 0, 0, 0, 1, kLibraryKind);
  EXPECT_EQ(Lines(), Across(60, 360, {156, 112, 68, 25}, kGridPen));
  EXPECT_EQ(chart.horizontalLineOffset, 25);
  EXPECT_EQ(LabelsOf(*dc).front().rect, Column(144));

  // With the top inset the layout starts 25 pixels down: 43.75-pixel cells.
  Clear();
  chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), 2000, 1000, 4, 1, 0, 1, 0, 0, kLibraryKind);
  std::vector<int> tops;
  for (const Label& l : LabelsOf(*dc)) tops.push_back(l.rect.top);
  EXPECT_EQ(tops, (std::vector<int>{150, 106, 62, 19}));
}

TEST_F(HorizontalLinesDrawing, SideLabelsHighlightTheLeftUnit) {
  chart.SetLeftUnit("Vol", 1);
  chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), 2000, 1000, 4, 1, 0, 0, 0, 0, kLibraryKind);
  const auto fills = kelo::test::Fills(Log());
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, CRect(2, 194, 60, 207));
  EXPECT_EQ(fills[0].color, 0x3c3c3cu);
  const TextDesc unit = TextsOf(*dc).back();
  EXPECT_EQ(unit.text, "Vol");
  EXPECT_EQ(unit.rect, CRect(2, 194, 60, 207));
  EXPECT_EQ(unit.format, DT_CENTER | DT_VCENTER);
  EXPECT_EQ(unit.color, CKeloUIObjectSingletonPool::Instance()->palette.colorTable[307]);
}

TEST_F(HorizontalLinesDrawing, SideLabelsWithoutCellsDrawNothingAndKeepTheLayoutKey) {
  chart.horizontalLineOffset = 9;
  for (std::int32_t cells : {0, -1, std::numeric_limits<std::int32_t>::max()}) {
    chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), 2000, 1000, cells, 1, 1, 1, 0, 1, kLibraryKind);
  }
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(chart.horizontalLineOffset, 9);
  EXPECT_EQ(chart.yLabelCount, 0);

  // The widest 64-bit range still draws, without overflowing.
  chart.DrawHorizontalText(dc.get(), CRect(60, 0, 360, 200), std::numeric_limits<std::int64_t>::max(),
                           std::numeric_limits<std::int64_t>::min(), 4, 1, 1, 0, 0, 1, kLibraryKind);
  EXPECT_EQ(Lines().size(), 4u);
}

}  // namespace
