// The chart frame: defaults from the palette pool, setters, pens and the axis lines.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <iterator>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

namespace {

using kelo::surface::GdiPenDesc;
using kelo::surface::LineRecord;

// Reaches the frame's state where the public interface gives no view of it.
class ProbeChart : public CKeloBaseChart {
 public:
  using CKeloBaseChart::axisPen, CKeloBaseChart::midYLinePen, CKeloBaseChart::xLinePen,
      CKeloBaseChart::xSubLinePen, CKeloBaseChart::yLinePen, CKeloBaseChart::specialPosLinePen1,
      CKeloBaseChart::specialPosLinePen2, CKeloBaseChart::specialPosLinePen3;
  using CKeloBaseChart::defaultTextColor, CKeloBaseChart::xTextColor, CKeloBaseChart::leftYTextColor,
      CKeloBaseChart::rightYTextColor, CKeloBaseChart::yMaxTextColor, CKeloBaseChart::yMidTextColor,
      CKeloBaseChart::yMinTextColor;
  using CKeloBaseChart::fitYGridCount, CKeloBaseChart::halfFontHeight, CKeloBaseChart::halfFontWidth,
      CKeloBaseChart::overDrawLineOffset;
};

GdiPenDesc DescOf(const CPen& pen) {
  EXPECT_TRUE(pen.HasHandle());
  return pen.HasHandle() ? *pen.Handle() : GdiPenDesc{};
}

// The lines drawn on dc; a drawing of the frame draws nothing but lines.
std::vector<LineRecord> Lines(CDC& dc) {
  const kelo::test::Log& log = kelo::test::LogOf(dc);
  std::vector<LineRecord> lines = kelo::test::Lines(log);
  EXPECT_EQ(lines.size(), log.size()) << kelo::test::Describe(log);
  return lines;
}

const auto& Table() { return CKeloUIObjectSingletonPool::Instance()->palette.colorTable; }
const SKeloFontInfo& FontRecord() { return CKeloUIObjectSingletonPool::Instance()->defaultFont; }

GdiPenDesc Geometric(int style, int width, COLORREF color) { return {style, width, color, true}; }
GdiPenDesc Cosmetic(int style, int width, COLORREF color) { return {style, width, color, false}; }

// ---- construction ----

TEST(ChartDefaults, ComeFromThePalettePoolAndTheDefaultFont) {
  ProbeChart chart;
  const std::int32_t w = FontRecord().charWidth;
  const std::int32_t h = FontRecord().charHeight;
  EXPECT_EQ(chart.GetFont(), FontRecord().font);
  EXPECT_EQ(chart.GetFontWidth(), w);
  EXPECT_EQ(chart.GetFontHeight(), h);
  EXPECT_EQ(chart.halfFontWidth, w * 0.5);
  EXPECT_EQ(chart.halfFontHeight, h * 0.5);
  EXPECT_EQ(chart.fitYGridCount, KeloUtility::GetFitScaleCount());
  EXPECT_EQ(chart.overDrawLineOffset, 0);

  int left = 0, top = 0, right = 0, bottom = 0;
  chart.GetBmpDeflatePixel(left, top, right, bottom);
  EXPECT_EQ(left, 8 * w);
  EXPECT_EQ(top, 1 * h);
  EXPECT_EQ(right, 3 * w);
  EXPECT_EQ(bottom, 2 * h);

  EXPECT_EQ(chart.defaultTextColor, Table()[307]);
  EXPECT_EQ(chart.xTextColor, Table()[321]);
  EXPECT_EQ(chart.leftYTextColor, Table()[311]);
  EXPECT_EQ(chart.rightYTextColor, Table()[321]);
  EXPECT_EQ(chart.yMaxTextColor, Table()[321]);
  EXPECT_EQ(chart.yMidTextColor, Table()[299]);
  EXPECT_EQ(chart.yMinTextColor, Table()[311]);
}

TEST(ChartDefaults, EightPensGeometricButTheCosmeticAxis) {
  ProbeChart chart;
  const COLORREF grid = Table()[303];
  const COLORREF up = Table()[321];
  struct Case {
    const char* name;
    const CPen& pen;
    GdiPenDesc expected;
  };
  const Case cases[] = {
      {"x line", chart.xLinePen, Geometric(PS_SOLID, 1, grid)},
      {"x sub line", chart.xSubLinePen, Geometric(PS_DOT, 2, grid)},
      {"axis", chart.axisPen, Cosmetic(PS_SOLID, 2, grid)},
      {"y line", chart.yLinePen, Geometric(PS_DOT, 2, grid)},
      {"mid y line", chart.midYLinePen, Geometric(PS_SOLID, 1, up)},
      {"special 1", chart.specialPosLinePen1, Geometric(PS_SOLID, 1, up)},
      {"special 2", chart.specialPosLinePen2, Geometric(PS_SOLID, 1, up)},
      {"special 3", chart.specialPosLinePen3, Geometric(PS_SOLID, 1, up)},
  };
  for (const Case& c : cases) EXPECT_EQ(DescOf(c.pen), c.expected) << c.name;
}

TEST(ChartLifetime, EveryChartHoldsTheGraphicsServiceWhileItLives) {
  const int base = KeloUtility::GdiplusUseCount();
  {
    CKeloBaseChart a;
    EXPECT_EQ(KeloUtility::GdiplusUseCount(), base + 1);
    {
      CKeloBaseChart b;
      CKeloBaseChart c;
      EXPECT_EQ(KeloUtility::GdiplusUseCount(), base + 3);
    }
    EXPECT_EQ(KeloUtility::GdiplusUseCount(), base + 1);
  }
  EXPECT_EQ(KeloUtility::GdiplusUseCount(), base);
}

// ---- character cell and margins ----

TEST(ChartCell, OverDrawOffsetIsTheTruncatedHalfHeightWhileOverDrawIsOn) {
  struct Step {
    std::function<void(ProbeChart&)> action;
    int offset;
    const char* what;
  };
  const std::vector<Step> steps = {
      {[](ProbeChart& c) { c.SetFontSize(14, 7); }, 0, "size without over-draw"},
      {[](ProbeChart& c) { c.SetOverDrawLine(TRUE); }, 7, "over-draw takes the current half height"},
      {[](ProbeChart& c) { c.SetFontSize(13, 7); }, 6, "6.5 truncated"},
      {[](ProbeChart& c) { c.SetFontSize(-13, 7); }, -6, "truncated toward zero"},
      {[](ProbeChart& c) { c.SetFontSize(1, 1); }, 0, "half a pixel"},
      {[](ProbeChart& c) { c.SetOverDrawLine(5); }, 0, "any non-zero flag"},
      {[](ProbeChart& c) { c.SetFontSize(INT32_MAX, 1); }, INT32_MAX / 2, "largest height"},
      {[](ProbeChart& c) { c.SetFontSize(INT32_MIN, 1); }, INT32_MIN / 2, "smallest height"},
      {[](ProbeChart& c) { c.SetFontSize(20, 9); }, 10, "back to a usual size"},
      {[](ProbeChart& c) { c.SetOverDrawLine(FALSE); }, 0, "off again"},
      {[](ProbeChart& c) { c.SetFontSize(30, 9); }, 0, "size while off"},
  };
  ProbeChart chart;
  for (const Step& step : steps) {
    step.action(chart);
    EXPECT_EQ(chart.overDrawLineOffset, step.offset) << step.what;
  }
  EXPECT_EQ(chart.halfFontHeight, 15.0);
  EXPECT_EQ(chart.halfFontWidth, 4.5);
}

TEST(ChartCell, DeflatePixelsAreMarginsTimesTheCellSaturatingBeyond32Bits) {
  struct Case {
    int left, top, right, bottom;
    std::int32_t height, width;
    int expected[4];
  };
  const Case cases[] = {
      {-2, 3, 5, -1, 10, 6, {-12, 30, 30, -10}},
      {INT_MAX, INT_MIN, 1, 2, 1000, 1000, {INT_MAX, INT_MIN, 1000, 2000}},
  };
  for (const Case& c : cases) {
    ProbeChart chart;
    chart.SetFontSize(c.height, c.width);
    chart.SetBmpDeflate(c.left, c.top, c.right, c.bottom);
    int got[4] = {};
    chart.GetBmpDeflatePixel(got[0], got[1], got[2], got[3]);
    EXPECT_EQ(std::vector<int>(got, got + 4), std::vector<int>(c.expected, c.expected + 4)) << c.left;
  }
}

// ---- pens ----

TEST(ChartPens, SettersReplaceOnePenInPlace) {
  const COLORREF c = RGB(10, 20, 30);
  struct Case {
    const char* name;
    std::function<void(ProbeChart&)> set;
    CPen ProbeChart::*pen;
    GdiPenDesc expected;
  };
  const std::vector<Case> cases = {
      {"x line", [&](ProbeChart& p) { p.SetXLinePen(PS_DASH, 3, c); }, &ProbeChart::xLinePen, Geometric(PS_DASH, 3, c)},
      {"x line colour", [&](ProbeChart& p) { p.SetXLineColor(c); }, &ProbeChart::xLinePen, Geometric(PS_SOLID, 1, c)},
      {"x line colour after pen", [&](ProbeChart& p) { p.SetXLinePen(PS_DOT, 3, 0); p.SetXLineColor(c); },
       &ProbeChart::xLinePen, Geometric(PS_DOT, 3, c)},
      {"axis colour after pen", [&](ProbeChart& p) { p.SetAxisPen(PS_DASH, 4, 0); p.SetAxisColor(c); },
       &ProbeChart::axisPen, Cosmetic(PS_DASH, 4, c)},
      {"x sub line", [&](ProbeChart& p) { p.SetXSubLinePen(PS_SOLID, 4, c); }, &ProbeChart::xSubLinePen, Geometric(PS_SOLID, 4, c)},
      {"x sub colour", [&](ProbeChart& p) { p.SetXSubLineColor(c); }, &ProbeChart::xSubLinePen, Geometric(PS_DOT, 2, c)},
      {"axis", [&](ProbeChart& p) { p.SetAxisPen(PS_DOT, 1, c); }, &ProbeChart::axisPen, Cosmetic(PS_DOT, 1, c)},
      {"axis colour", [&](ProbeChart& p) { p.SetAxisColor(c); }, &ProbeChart::axisPen, Cosmetic(PS_SOLID, 2, c)},
      {"y line", [&](ProbeChart& p) { p.SetYLinePen(PS_DASHDOT, 1, c); }, &ProbeChart::yLinePen, Geometric(PS_DASHDOT, 1, c)},
      {"y line colour", [&](ProbeChart& p) { p.SetYLineColor(c); }, &ProbeChart::yLinePen, Geometric(PS_DOT, 2, c)},
      {"mid line", [&](ProbeChart& p) { p.SetMidYLinePen(PS_DASH, 2, c); }, &ProbeChart::midYLinePen, Geometric(PS_DASH, 2, c)},
      {"mid colour", [&](ProbeChart& p) { p.SetMidYLineColor(c); }, &ProbeChart::midYLinePen, Geometric(PS_SOLID, 1, c)},
      {"special 1", [&](ProbeChart& p) { p.SetSpecialPosLinePen(1, PS_DOT, 2, c); }, &ProbeChart::specialPosLinePen1, Geometric(PS_DOT, 2, c)},
      {"special 2", [&](ProbeChart& p) { p.SetSpecialPosLinePen(2, PS_DASH, 3, c); }, &ProbeChart::specialPosLinePen2, Geometric(PS_DASH, 3, c)},
      {"special 3", [&](ProbeChart& p) { p.SetSpecialPosLinePen(3, PS_SOLID, 5, c); }, &ProbeChart::specialPosLinePen3, Geometric(PS_SOLID, 5, c)},
  };
  CPen ProbeChart::*const allPens[] = {&ProbeChart::xLinePen, &ProbeChart::xSubLinePen, &ProbeChart::axisPen,
                                       &ProbeChart::yLinePen, &ProbeChart::midYLinePen,
                                       &ProbeChart::specialPosLinePen1, &ProbeChart::specialPosLinePen2,
                                       &ProbeChart::specialPosLinePen3};
  for (const Case& k : cases) {
    ProbeChart chart;
    std::vector<GdiPenDesc> before;
    for (auto pen : allPens) before.push_back(DescOf(chart.*pen));
    k.set(chart);
    for (std::size_t i = 0; i < std::size(allPens); ++i) {
      if (allPens[i] == k.pen) {
        EXPECT_EQ(DescOf(chart.*allPens[i]), k.expected) << k.name;
      } else {
        EXPECT_EQ(DescOf(chart.*allPens[i]), before[i]) << k.name << ": pen " << i << " untouched";
      }
    }
  }
}

TEST(ChartPens, SpecialPenIndexOutsideOneToThreeChangesNothing) {
  for (int index : {0, 4, -1, INT_MIN}) {
    ProbeChart chart;
    const auto descs = [&] {
      return std::vector<GdiPenDesc>{DescOf(chart.specialPosLinePen1), DescOf(chart.specialPosLinePen2),
                                     DescOf(chart.specialPosLinePen3)};
    };
    const std::vector<GdiPenDesc> before = descs();
    chart.SetSpecialPosLinePen(index, PS_DOT, 9, RGB(9, 9, 9));
    EXPECT_EQ(descs(), before) << index;
  }
}

// ---- axes and special lines ----

TEST(ChartAxes, AxisFrameLeavesTheTopOpen) {
  using kelo::test::Line;
  const GdiPenDesc axis = Cosmetic(PS_SOLID, 3, RGB(1, 2, 3));
  struct Case {
    const char* name;
    bool overDraw;
    bool leftBottomOnly;
    std::vector<LineRecord> expected;
  };
  // Rectangle L 30, T 20, R 230, B 120; font height 14 gives an over-draw of 7.
  const std::vector<Case> cases = {
      {"full frame", false, false,
       {Line(30, 20, 30, 120, axis), Line(230, 20, 230, 120, axis), Line(30, 120, 230, 120, axis)}},
      {"full frame reaching above", true, false,
       {Line(30, 13, 30, 120, axis), Line(230, 13, 230, 120, axis), Line(30, 120, 230, 120, axis)}},
      {"left and bottom", false, true, {Line(30, 20, 30, 120, axis), Line(30, 120, 230, 120, axis)}},
      {"left and bottom reaching above", true, true,
       {Line(30, 13, 30, 120, axis), Line(30, 120, 230, 120, axis)}},
  };
  const CRect rect(30, 20, 230, 120);
  for (const Case& c : cases) {
    ProbeChart chart;
    chart.SetFontSize(14, 7);
    chart.SetOverDrawLine(c.overDraw);
    chart.SetAxisPen(PS_SOLID, 3, RGB(1, 2, 3));
    auto dc = CDC::CreateRecording(300, 200);
    if (c.leftBottomOnly) {
      chart.DrawLeftBottomAxis(dc.get(), rect);
    } else {
      chart.DrawAxis(dc.get(), rect);
    }
    EXPECT_EQ(Lines(*dc), c.expected) << c.name;
  }
}

TEST(ChartAxes, AxisAtTheTopOfTheCoordinateRangeSaturates) {
  ProbeChart chart;
  chart.SetFontSize(14, 7);
  chart.SetOverDrawLine(TRUE);
  auto dc = CDC::CreateRecording(10, 10);
  chart.DrawAxis(dc.get(), CRect(0, INT32_MIN + 3, 5, 5));
  const std::vector<LineRecord> lines = Lines(*dc);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].from, CPoint(0, INT32_MIN));
  EXPECT_EQ(lines[1].from, CPoint(5, INT32_MIN));
}

TEST(ChartAxes, SpecialLineUsesPenTwoOrThreeElseOne) {
  const COLORREF colors[] = {0, RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)};
  struct Case {
    int index;
    int pen;
  };
  const Case cases[] = {{1, 1}, {2, 2}, {3, 3}, {0, 1}, {4, 1}, {7, 1}, {-2, 1}};
  for (const Case& c : cases) {
    ProbeChart chart;
    for (int i = 1; i <= 3; ++i) chart.SetSpecialPosLinePen(i, PS_SOLID, i, colors[i]);
    auto dc = CDC::CreateRecording(100, 100);
    chart.DrawSpecialPosLine(dc.get(), 5, 6, 70, 80, c.index);
    EXPECT_EQ(Lines(*dc), (std::vector<LineRecord>{
                              kelo::test::Line(5, 6, 70, 80, Geometric(PS_SOLID, c.pen, colors[c.pen]))}))
        << "index " << c.index;
  }
}

TEST(ChartAxes, APenDestroyedWhileSelectedComesBackAsTheStockPen) {
  ProbeChart chart;
  chart.SetAxisPen(PS_SOLID, 3, RGB(1, 2, 3));
  auto dc = CDC::CreateRecording(60, 60);
  CPen* stock = dc->GetCurrentPen();
  auto doomed = std::make_unique<CPen>(PS_DASH, 1, RGB(7, 7, 7));
  dc->SelectObject(doomed.get());
  doomed.reset();
  EXPECT_EQ(dc->GetCurrentPen(), stock);
  chart.DrawAxis(dc.get(), CRect(0, 0, 50, 50));
  EXPECT_EQ(dc->GetCurrentPen(), stock);
  EXPECT_EQ(Lines(*dc).size(), 3u);
}

TEST(ChartAxes, EveryDrawingLeavesTheCallersPenSelected) {
  const std::vector<std::pair<const char*, std::function<void(CKeloBaseChart&, CDC*)>>> calls = {
      {"axis", [](CKeloBaseChart& c, CDC* dc) { c.DrawAxis(dc, CRect(0, 0, 50, 50)); }},
      {"left bottom axis", [](CKeloBaseChart& c, CDC* dc) { c.DrawLeftBottomAxis(dc, CRect(0, 0, 50, 50)); }},
      {"special 1", [](CKeloBaseChart& c, CDC* dc) { c.DrawSpecialPosLine(dc, 0, 0, 9, 9, 1); }},
      {"special 2", [](CKeloBaseChart& c, CDC* dc) { c.DrawSpecialPosLine(dc, 0, 0, 9, 9, 2); }},
      {"special 3", [](CKeloBaseChart& c, CDC* dc) { c.DrawSpecialPosLine(dc, 0, 0, 9, 9, 3); }},
  };
  for (const auto& [name, call] : calls) {
    CKeloBaseChart chart;
    auto dc = CDC::CreateRecording(60, 60);
    CPen callerPen(PS_DASH, 1, RGB(7, 7, 7));
    dc->SelectObject(&callerPen);
    call(chart, dc.get());
    EXPECT_EQ(dc->GetCurrentPen(), &callerPen) << name;
    // The stock pen of a fresh DC comes back too.
    auto fresh = CDC::CreateRecording(60, 60);
    CPen* stock = fresh->GetCurrentPen();
    call(chart, fresh.get());
    EXPECT_EQ(fresh->GetCurrentPen(), stock) << name;
    call(chart, nullptr);  // no device context: nothing to draw on, no crash
  }
}

}  // namespace
