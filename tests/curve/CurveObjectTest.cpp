// The curve object: numbered-style bounds, pixel margins, the layer life cycle of the curve
// groups and their composition, value labels, and composite operations reaching their steps
// through the virtual table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CurveTestSupport.h"

namespace {

using namespace kelo::test;
using Curve = CKeloBaseCurve;
using Values = std::vector<std::int32_t>;
using Curves = std::vector<Values>;
const Gdiplus::Color kC(0xFF010203);

TEST(CurveObject, NumberedStylesAcceptOnlyIndicesInsideTheirLists) {
  ProbeCurve chart;
  EXPECT_EQ(
      (std::vector<int>{chart.SetCurveNumColor(9, kC), chart.SetCurveNumColor(10, kC), chart.SetCurveNumWidth(10, 2),
                        chart.SetCurveNumStyle(0xFFFFFFFFu, Gdiplus::DashStyleDot), chart.SetROIBrushNumColor(0, kC),
                        chart.SetROIBrushNumColor(1, kC), chart.SetROICurveNumWidth(1, 2)}),
      (std::vector<int>{1, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(chart.GetCurveColors(10).GetValue(), 0xFFFFFF00u);
  chart.SetRgnPointsValue(std::vector<std::vector<Curve::XYValue>>(3));
  EXPECT_EQ(chart.SetROIBrushNumColor(2, kC), 1);
  EXPECT_EQ(chart.roiStyles[1].brushColor.GetValue(), 0x80C80000u);
  chart.SetRgnPointsValue(std::vector<std::vector<Curve::XYValue>>(1));
  EXPECT_EQ(chart.roiStyles.size(), 3u);
}

TEST(CurveObject, PixelMarginsFollowTheCellsAndTheFont) {
  ProbeCurve chart;
  auto margins = [&] {
    std::vector<int> m(4);
    chart.GetBmpDeflate(m[0], m[1], m[2], m[3]);
    return m;
  };
  chart.baseChanged = 0;
  chart.SetBmpDeflate(5, 2, 4, 3);
  EXPECT_EQ(margins(), (std::vector<int>{35, 24, 28, 36}));
  EXPECT_EQ(chart.baseChanged, 0);
  chart.SetBmpLeftDeflate(1);  // the frame's cell only, until the size changes
  EXPECT_EQ(margins()[0], 35);
  chart.OnChangeSize();
  EXPECT_EQ(margins(), (std::vector<int>{7, 24, 28, 36}));
  EXPECT_EQ(chart.baseChanged, 1);
}

// 12 x 7 cells: the plot of (0, 0, 300, 200) is (56, 12, 279, 176).
struct Group : ::testing::Test {
  ProbeCurve chart;
  std::unique_ptr<CDC> dc = CDC::CreateRecording(300, 200);
  const CRect rect{0, 0, 300, 200};
  Log Take() {
    Log log = LogOf(*dc);
    kelo::surface::RecordingOf(*dc)->Clear();
    return log;
  }
  void Paint(const Curves& curves, std::int32_t max = 12500) {
    chart.DrawEasyCurveGroupChart(dc.get(), rect, max, 0, 10, curves, 100);
  }
};

TEST_F(Group, ARepaintComposesTheKeptLayersUntilAnUpdateOrABaseChange) {
  Paint({{0, 12500}});
  Log first = Take();
  EXPECT_EQ(Segs(OnSurface(first, "curve.data")).size(), 1u);
  EXPECT_FALSE(Lines(OnSurface(first, "curve.base")).empty());
  const auto blits = Blits(OnSurface(first, "screen"));
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].dst, rect);
  EXPECT_TRUE(blits[1].useKey);

  Paint({{0, 100, 200}});  // new data: only the copies
  EXPECT_EQ(Describe(Take()), Describe(OnSurface(first, "screen")));
  chart.UpdateCurveGroupData(dc.get(), rect, 12500, 0, 10, {{0, 100, 200}}, 100);
  Log update = Take();
  EXPECT_EQ(Segs(OnSurface(update, "curve.data")).size(), 2u);
  EXPECT_TRUE(OnSurface(update, "screen").empty());
  chart.ChangeBaseChart();
  Paint({{0, 100}});
  EXPECT_FALSE(Lines(OnSurface(Take(), "curve.base")).empty());
  chart.ReDoBmp();  // the layers are made again, at the new paint's size
  chart.DrawEasyCurveGroupChart(dc.get(), CRect(10, 20, 110, 220), 12500, 0, 10, {{0}}, 100);
  const auto moved = Blits(Take());
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ(moved[0].dst, CRect(0, 0, 100, 200));
  EXPECT_EQ(moved[1].dst, CRect(10, 20, 110, 220));
  EXPECT_EQ(moved[1].sourceOrigin, CPoint(10, 20));
}

TEST_F(Group, ScaleZeroLeavesTheTargetAloneAndStylesRepeatAfterTheLast) {
  chart.DrawEasyCurveGroupChart(dc.get(), rect, 12500, 0, 10, {{1, 2}}, 0);
  EXPECT_TRUE(Take().empty());
  Paint(Curves(12, std::vector<std::int32_t>{0, 100}));
  const auto segs = Segs(Take());
  ASSERT_EQ(segs.size(), 12u);
  EXPECT_EQ(segs[10].argb, chart.curveStyles[0].color.GetValue());
  EXPECT_EQ(segs[11].argb, chart.curveStyles[1].color.GetValue());
}

TEST_F(Group, AWholeMaximumGetsShortLabelsAndAFractionalOneDecimals) {
  for (const auto& [max, label] : {std::pair{12500, "125"}, {12550, "125.50"}}) {
    chart.ChangeBaseChart();
    Paint({{0}}, max);
    const auto texts = Texts(OnSurface(Take(), "curve.data"));
    EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << ::testing::PrintToString(texts);
  }
}

TEST_F(Group, APaneWithoutScaleKeepsItsGridButGetsNoCurves) {
  std::vector<Curve::SGroupCurveEx> panes(2);
  panes[0] = {CRect(0, 0, 300, 100), 4, CString("A"), 100, 0, 2, {{0, 50, 100}}, 1};
  panes[1] = {CRect(0, 100, 300, 200), 2, CString("B"), 100, 0, 2, {{0, 50, 100}}, 0};
  chart.DrawEasyCurveGroupChartEx(dc.get(), rect, panes);
  const Log log = Take();
  const auto segs = Segs(OnSurface(log, "curve.data"));
  ASSERT_EQ(segs.size(), 2u);
  EXPECT_EQ(segs[0].x1, 67.0f) << "half a grid cell of the pane in from its left";
  const auto base = Lines(OnSurface(log, "curve.base"));
  EXPECT_TRUE(std::any_of(base.begin(), base.end(), [](const auto& l) { return l.from.y > 112; }));
  EXPECT_EQ(chart.GetYCells(), 4);  // the last pane given cells: the second has no data
}

// Replaces DrawBase (draws nothing) and the leaf drawings, notes every step it is asked for.
#define NOTE(name) calls.push_back(#name)
using I = std::int32_t;
struct Spy : ProbeCurve {
  std::vector<std::string> calls;
  using CKeloBaseCurve::DrawTickPrice;
  void SetYCells(int n) override { NOTE(SetYCells), ProbeCurve::SetYCells(n); }
  void DrawBase(CDC*, const CRect&, int, int) override { NOTE(DrawBase); }
  void DrawBaseNew(CDC* d, const CRect& r, int t, int s, I u, int f) override {
    NOTE(DrawBaseNew), ProbeCurve::DrawBaseNew(d, r, t, s, u, f);
  }
  void DrawTickPrice(CDC*, const CRect&, SDrawRange, std::vector<STickPrice>, ETickType, int) override {
    NOTE(DrawTickPrice);
  }
  void DrawFigureCurve(CDC*, const CRect&, I, I, I, const Values&, int) override { NOTE(DrawFigureCurve); }
  void DrawXYCurve(CDC*, const CRect&, I, I, I, I, const std::vector<XYValue>&) override { NOTE(DrawXYCurve); }
  void DrawROIRgn(CDC*, const CRect&, I, I, I, I, const std::vector<XYValue>&) override { NOTE(DrawROIRgn); }
  void DrawEasyPoints(CDC*, const CRect&, I, I, I, I) override { NOTE(DrawEasyPoints); }
  void UpdateCurveGroupData(CDC* d, const CRect& r, I a, I b, I n, const Curves& c, I s) override {
    NOTE(Update), ProbeCurve::UpdateCurveGroupData(d, r, a, b, n, c, s);
  }
};

TEST(CurveObject, CompositeOperationsCallTheirStepsThroughTheVirtualTable) {
  auto dc = CDC::CreateRecording(300, 200);
  const CRect rect(0, 0, 300, 200);
  using V = std::vector<std::string>;
  struct Case {
    const char* what;
    void (*run)(Spy&, CDC*);
    V calls;
  };
  const Case cases[] = {
      {"group",
       [](Spy& s, CDC* d) {
         s.DrawEasyCurveGroupChart(d, CRect(0, 0, 300, 200), 9, 0, 2, {{1}, {2}}, 1);
       },
       {"DrawBase", "Update", "DrawFigureCurve", "DrawFigureCurve"}},
      {"group by time",
       [](Spy& s, CDC* d) { s.DrawEasyCurveGroupChartNew(d, CRect(0, 0, 300, 200), 9, 0, 2, {{1}}, 1, 60); },
       {"DrawBaseNew", "Update", "DrawFigureCurve"}},
      {"panes",
       [](Spy& s, CDC* d) {
         s.DrawEasyCurveGroupChartEx(d, CRect(0, 0, 300, 200),
                                     {{CRect(0, 0, 300, 200), 3, CString(), 9, 0, 2, {{1}}, 1}});
       },
       {"SetYCells", "DrawBase", "SetYCells", "DrawFigureCurve"}},
      {"xy",
       [](Spy& s, CDC* d) {
         s.SetRgnPointsValue({{}}), s.SetEasyPoints({{}}),
             s.DrawEasyXYChart(d, CRect(0, 0, 300, 200), 9, 0, 2, 9, 0, 2, {{}});
       },
       {"DrawXYCurve", "DrawROIRgn", "DrawEasyPoints"}},
      {"combined ticks",
       [](Spy& s, CDC* d) { s.DrawTickPriceCombine(d, std::deque<Curve::CurveCombine>(2)); },
       {"DrawTickPrice", "DrawTickPrice"}},
  };
  for (const Case& c : cases) {
    Spy spy;
    c.run(spy, dc.get());
    EXPECT_EQ(spy.calls, c.calls) << c.what;
  }
  Spy spy;  // the replaced frame step leaves the base layer with its background only
  kelo::surface::RecordingOf(*dc)->Clear();
  spy.DrawEasyCurveGroupChart(dc.get(), rect, 9, 0, 2, {{1}}, 1);
  EXPECT_TRUE(Lines(OnSurface(LogOf(*dc), "curve.base")).empty());
}

}  // namespace
