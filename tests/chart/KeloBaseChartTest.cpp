// The chart frame seen through what it draws: the palette pens it starts with and the setters
// that replace one of them, the axis frame, the over-draw above the plot and the margins.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

namespace {

using kelo::surface::GdiPenDesc;
using kelo::surface::LineRecord;
using kelo::test::Line;
using Draw = std::function<void(CKeloBaseChart&, CDC*)>;

COLORREF Table(int i) { return CKeloUIObjectSingletonPool::Instance()->palette.colorTable[i]; }
GdiPenDesc Geometric(int style, int width, COLORREF color) { return {style, width, color, true}; }

std::vector<LineRecord> LinesOf(CKeloBaseChart& chart, const Draw& draw) {
  auto dc = CDC::CreateRecording(400, 300);
  CPen* before = dc->GetCurrentPen();
  draw(chart, dc.get());
  EXPECT_EQ(dc->GetCurrentPen(), before) << "the DC must leave with the pen it came with";
  return kelo::test::Lines(kelo::test::LogOf(*dc));
}

const CRect kPlot(50, 20, 350, 220);
const Draw kAxis = [](CKeloBaseChart& c, CDC* dc) { c.DrawAxis(dc, kPlot); };
const Draw kXGrid = [](CKeloBaseChart& c, CDC* dc) { c.DrawXGrid(dc, kPlot, 2, 0); };
const Draw kXSubGrid = [](CKeloBaseChart& c, CDC* dc) { c.DrawXSubXGrid(dc, kPlot, 2, 0); };  // main, sub
const Draw kYGrid = [](CKeloBaseChart& c, CDC* dc) { c.DrawYGrid(dc, kPlot, 2, 0); };
const Draw kMidLine = [](CKeloBaseChart& c, CDC* dc) { c.DrawHorizontalLine(dc, kPlot, 2); };  // grid, mid
Draw Special(int index) {
  return [index](CKeloBaseChart& c, CDC* dc) { c.DrawSpecialPosLine(dc, 5, 6, 70, 80, index); };
}

TEST(ChartPens, DefaultsComeFromThePaletteAndEachSetterReplacesOnePen) {
  const COLORREF c = RGB(10, 20, 30), grid = Table(303), up = Table(321);
  struct Case {
    const char* name;
    std::function<void(CKeloBaseChart&)> set;
    Draw draw;
    std::size_t line;
    GdiPenDesc pen;
  };
  const std::vector<Case> cases = {
      {"axis", nullptr, kAxis, 0, {PS_SOLID, 2, grid, false}},
      {"x line", nullptr, kXGrid, 0, Geometric(PS_SOLID, 1, grid)},
      {"x sub line", nullptr, kXSubGrid, 1, Geometric(PS_DOT, 2, grid)},
      {"y line", nullptr, kYGrid, 0, Geometric(PS_DOT, 2, grid)},
      {"mid line", nullptr, kMidLine, 2, Geometric(PS_SOLID, 1, up)},
      {"special 1", nullptr, Special(1), 0, Geometric(PS_SOLID, 1, up)},
      {"special 3", nullptr, Special(3), 0, Geometric(PS_SOLID, 1, up)},
      {"x line colour keeps the style",
       [&](auto& p) {
         p.SetXLinePen(PS_DOT, 3, 0);
         p.SetXLineColor(c);
       },
       kXGrid, 0, Geometric(PS_DOT, 3, c)},
      {"x sub pen", [&](auto& p) { p.SetXSubLinePen(PS_SOLID, 4, c); }, kXSubGrid, 1, Geometric(PS_SOLID, 4, c)},
      {"x sub colour", [&](auto& p) { p.SetXSubLineColor(c); }, kXSubGrid, 1, Geometric(PS_DOT, 2, c)},
      {"axis colour keeps the style",
       [&](auto& p) {
         p.SetAxisPen(PS_DASH, 4, 0);
         p.SetAxisColor(c);
       },
       kAxis,
       0,
       {PS_DASH, 4, c, false}},
      {"y line pen", [&](auto& p) { p.SetYLinePen(PS_DASHDOT, 1, c); }, kYGrid, 0, Geometric(PS_DASHDOT, 1, c)},
      {"y line colour", [&](auto& p) { p.SetYLineColor(c); }, kYGrid, 0, Geometric(PS_DOT, 2, c)},
      {"mid pen", [&](auto& p) { p.SetMidYLinePen(PS_DASH, 2, c); }, kMidLine, 2, Geometric(PS_DASH, 2, c)},
      {"mid colour", [&](auto& p) { p.SetMidYLineColor(c); }, kMidLine, 2, Geometric(PS_SOLID, 1, c)},
      {"special 2", [&](auto& p) { p.SetSpecialPosLinePen(2, PS_DASH, 3, c); }, Special(2), 0,
       Geometric(PS_DASH, 3, c)},
      {"special 2 leaves 1", [&](auto& p) { p.SetSpecialPosLinePen(2, PS_DASH, 3, c); }, Special(1), 0,
       Geometric(PS_SOLID, 1, up)},
      {"index 0 and 4 set nothing",
       [&](auto& p) {
         p.SetSpecialPosLinePen(0, PS_DOT, 9, c);
         p.SetSpecialPosLinePen(4, PS_DOT, 9, c);
       },
       Special(1), 0, Geometric(PS_SOLID, 1, up)},
      {"index outside 1..3 draws with pen 1", [&](auto& p) { p.SetSpecialPosLinePen(1, PS_DOT, 7, c); }, Special(-2), 0,
       Geometric(PS_DOT, 7, c)},
  };
  for (const Case& k : cases) {
    CKeloBaseChart chart;
    if (k.set) k.set(chart);
    const auto lines = LinesOf(chart, k.draw);
    ASSERT_GT(lines.size(), k.line) << k.name;
    EXPECT_EQ(lines[k.line].pen, k.pen) << k.name;
  }
}

TEST(ChartAxes, OverDrawAboveThePlotAndMarginsInPixelsSaturateAtThe32BitEnds) {
  CKeloBaseChart chart;
  chart.SetOverDrawLine(TRUE);
  chart.SetFontSize(INT32_MIN, 1);  // half the height is taken while over-draw is on
  chart.SetFontSize(14, 7);
  auto dc = CDC::CreateRecording(10, 10);
  chart.DrawAxis(dc.get(), CRect(0, INT32_MIN + 3, 5, 5));
  chart.DrawAxis(nullptr, kPlot);  // no device context: nothing to draw on, no crash
  EXPECT_EQ(kelo::test::Lines(kelo::test::LogOf(*dc))[1].from, CPoint(5, INT32_MIN));
  chart.SetFontSize(1000, 1000);
  chart.SetBmpDeflate(INT_MAX, INT_MIN, 1, -2);
  std::vector<int> got(4);
  chart.GetBmpDeflatePixel(got[0], got[1], got[2], got[3]);
  EXPECT_EQ(got, (std::vector<int>{INT_MAX, INT_MIN, 1000, -2000}));
}

TEST(ChartAxes, APenDestroyedWhileSelectedComesBackAsTheStockPen) {
  CKeloBaseChart chart;
  chart.SetAxisPen(PS_SOLID, 3, RGB(1, 2, 3));
  auto dc = CDC::CreateRecording(60, 60);
  CPen* stock = dc->GetCurrentPen();
  auto doomed = std::make_unique<CPen>(PS_DASH, 1, RGB(7, 7, 7));
  dc->SelectObject(doomed.get());
  doomed.reset();
  EXPECT_EQ(dc->GetCurrentPen(), stock);
  chart.DrawAxis(dc.get(), CRect(0, 0, 50, 50));
  EXPECT_EQ(dc->GetCurrentPen(), stock);
  EXPECT_EQ(kelo::test::Lines(kelo::test::LogOf(*dc)).size(), 3u);
}

}  // namespace
