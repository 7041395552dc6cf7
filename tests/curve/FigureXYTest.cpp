// Figure curves and the XY chart: slot positions and the stored x geometry, which segments
// are drawn, the pens by direction, the split at a base value without a span, degenerate
// ranges, return regions and point marks.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <kelochart/surface/RasterBackend.h>

#include "CurveTestSupport.h"
#include "GoldenImage.h"

namespace {

using namespace kelo::test;
using Curve = CKeloBaseCurve;
using Values = std::vector<std::int32_t>;

struct Figure : ::testing::Test {
  ProbeCurve chart;
  std::unique_ptr<CDC> dc = CDC::CreateRecording(200, 200);
  std::vector<Seg> Take() {
    auto segs = Segs(LogOf(*dc));
    kelo::surface::RecordingOf(*dc)->Clear();
    return segs;
  }
};

TEST_F(Figure, LinearCurvesStoreTheirGeometryAndDrawSegmentsThatEndInRange) {
  const CRect rect(0, 0, 100, 100);
  struct Case {
    Values values;
    int fromMiddle;
    bool ex;
    std::vector<Seg> segs;
  };
  const Case cases[] = {
      {{2, 7}, 0, false, {{0, 80, 50, 30, kDefault}}},
      {{2, 7}, 1, false, {{0, 50, 0, 80, kDefault}, {0, 80, 50, 30, kDefault}}},
      {{7}, 1, false, {{0, 50, 0, 30, kDefault}}},
      {{7}, 0, false, {}},
      {{15, 5, 20}, 0, false, {{0, -50, 50, 50, kDefault}}},  // in from above, then no line out
      {{5, 5, 4}, 0, true, {{0, 50, 50, 50, kUp}, {50, 50, 100, 60, kDown}}},
      {{5, 5}, 1, true, {{0, 50, 0, 50, kUp}, {0, 50, 50, 50, kUp}}},
  };
  for (const Case& c : cases) {
    if (c.ex) chart.DrawFigureCurveEx(dc.get(), rect, 10, 0, 2, c.values, c.fromMiddle);
    else chart.DrawFigureCurve(dc.get(), rect, 10, 0, 2, c.values, c.fromMiddle);
    EXPECT_EQ(Take(), c.segs) << ::testing::PrintToString(c.values);
  }
  chart.DrawFigureCurve(dc.get(), rect, 10, 0, 2, {2, 7}, 0);
  Take();
  EXPECT_EQ(chart.GetXRatio(), 50.0);
  EXPECT_EQ(chart.GetFirstTickPos(), 0);
  EXPECT_EQ(chart.GetEndTickPos(), 50);
  // No slots, or an empty range: nothing drawn and the geometry kept.
  chart.DrawFigureCurve(dc.get(), rect, 10, 0, 0, {1, 2, 3}, 0);
  chart.DrawFigureCurveEx(dc.get(), rect, 10, 10, 4, {1, 2, 3}, 0);
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(chart.GetEndTickPos(), 50);
}

TEST_F(Figure, DividedCurvesSplitAtTheBaseAndNeverLeaveTheRectangleForNaN) {
  const CRect rect(0, 0, 100, 101);
  struct Case {
    std::int32_t max, base, min, total;
    Values values;
    int leading;
    bool ex;
    std::vector<Seg> segs;
  };
  const Case cases[] = {
      {20, 10, 0, 2, {10, 15, 0}, 0, false, {{0, 50.5f, 50, 25.25f, kDefault}, {50, 25.25f, 100, 101, kDefault}}},
      {20, 10, 0, 2, {10, 15, 0}, 1, true, {{0, 50.5f, 0, 25.25f, kUp}, {0, 25.25f, 50, 101, kDown}}},
      {10, 10, 0, 2, {10, 12, 10}, 0, false, {{50, 0, 100, 50.5f, kDefault}}},  // no span above: the top edge
      {20, 10, 0, 0, {10, 15, 0}, 0, false, {}},
      {20, 21, 0, 2, {10, 15, 0}, 0, false, {}},
      {20, 10, 0, 2, {10}, 0, false, {}},
  };
  for (const Case& c : cases) {
    Curve::_SDataInfor info{c.max, c.base, c.min, c.total, 100, c.values};
    if (c.ex) chart.DrawDivideFigureUpDownCurve(dc.get(), rect, info, c.leading);
    else chart.DrawDivideFigureCurve(dc.get(), rect, info, c.leading);
    EXPECT_EQ(Take(), c.segs) << ::testing::PrintToString(c.values);
  }
}

struct XY : Figure {
  const CRect rect{0, 0, 200, 200};
};

TEST_F(XY, OutsidePointsEndNoLineButStartTheNext) {
  // 0 .. 100 over 200 pixels both ways.
  chart.DrawXYCurve(dc.get(), rect, 100, 0, 100, 0, {{0, 0}, {200, 50}, {10, 10}, {20, 20}, {0, 30}});
  EXPECT_EQ(Take(), (std::vector<Seg>{
                        {400, 100, 20, 180, kDefault}, {20, 180, 40, 160, kDefault}, {40, 160, 0, 140, kDefault}}));
  chart.DrawXYCurve(dc.get(), rect, 100, 100, 100, 0, {{0, 0}, {100, 10}});
  EXPECT_TRUE(Take().empty());
}

TEST_F(XY, ADegenerateRangeStillPaintsTheFrame) {
  chart.SetRgnPointsValue({{{0, 0}, {5, 5}, {5, 0}}});
  chart.SetEasyPoints({{1, 1, 0xFFFFFFFF, 4}});
  chart.DrawEasyXYChart(dc.get(), rect, 10, 10, 3, 10, 0, 3, {{{0, 0}, {5, 5}}});
  const Log& log = LogOf(*dc);
  EXPECT_TRUE(Strokes(log).empty() && OfType<kelo::surface::FillPieRecord>(log).empty()) << Describe(log);
  EXPECT_EQ(Fills(log).at(0).rect, rect);
  EXPECT_FALSE(Texts(log).empty());
  EXPECT_GE(Lines(log).size(), 2u);
}

TEST_F(XY, RegionsAreOutlinedThenFilledInsideAndPointsTakeTheLastColour) {
  chart.DrawROIRgn(dc.get(), rect, 100, 0, 100, 0, {{0, 0}, {50, 100}, {100, 0}});
  const Log& log = LogOf(*dc);
  ASSERT_EQ(log.size(), 2u);
  const auto& outline = std::get<kelo::surface::StrokePathRecord>(log[0].op);
  const auto& fill = std::get<kelo::surface::FillPathRecord>(log[1].op);
  EXPECT_EQ(outline.pen.argb, 0xFFFF0000u);
  EXPECT_EQ(fill.argb, 0x80960000u);
  EXPECT_EQ(fill.path, outline.path);
  EXPECT_FALSE(fill.state.clipped);
  EXPECT_EQ(outline.path.figures.at(0).points.at(1), (kelo::surface::PointF{100, 0}));
  kelo::surface::RecordingOf(*dc)->Clear();

  chart.SetEasyPoints({{10, 20, 0xFF00FF00, 6}, {50, 50, 0xFF0000FF, 10}});
  chart.DrawEasyPoints(dc.get(), rect, 100, 0, 100, 0);
  // DrawPoints: margins 56, 12, 21, 24 leave a plot of 123 x 164 for 0 .. 100.
  chart.DrawPoints(dc.get(), CRect(0, 0, 200, 200), 100, 0, 100, 0, {{0, 0}});
  const auto pies = OfType<kelo::surface::FillPieRecord>(LogOf(*dc));
  ASSERT_EQ(pies.size(), 3u);
  EXPECT_EQ((std::vector<float>{pies[0].x, pies[0].y, pies[0].w}), (std::vector<float>{17, 157, 6}));
  EXPECT_EQ(pies[0].argb, 0xFF00FF00u);
  EXPECT_EQ((std::vector<float>{pies[2].x, pies[2].y, pies[2].w, pies[2].h, pies[2].sweepAngle}),
            (std::vector<float>{52, 172, 8, 8, 360}));
  EXPECT_EQ(pies[2].argb, 0xFF0000FFu);
}

// A polygon of n corners visiting every step-th point of a circle of radius 40 around
// (50, 50): its edges cross each other (step 1 aside).
std::vector<Curve::XYValue> Star(int n, int step) {
  std::vector<Curve::XYValue> corners;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * M_PI * i * step / n;
    corners.push_back({static_cast<std::int32_t>(std::lround(50 + 40 * std::cos(a))),
                       static_cast<std::int32_t>(std::lround(50 + 40 * std::sin(a)))});
  }
  return corners;
}

// Clipping a region to itself before filling it cost time and memory with the square of its
// crossings (1,000 corners: seconds; 3,000: 700 MB). The fill is now one unclipped record,
// and on a raster it gives exactly the pixels the self-clipped fill gave.
TEST_F(XY, ASelfCrossingRegionIsFilledUnclippedWithTheSelfClippedPixels) {
  chart.DrawROIRgn(dc.get(), rect, 100, 0, 100, 0, Star(1000, 499));
  const Log& log = LogOf(*dc);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_FALSE(std::get<kelo::surface::FillPathRecord>(log[1].op).state.clipped);

  namespace gp = Gdiplus;
  for (const auto& [n, step] : std::vector<std::pair<int, int>>{{3, 1}, {5, 2}, {7, 3}, {4, 1}, {60, 29}, {101, 50}}) {
    const auto corners = Star(n, step);
    auto drawn = CDC::CreateRaster(100, 100), clipped = CDC::CreateRaster(100, 100);
    chart.DrawROIRgn(drawn.get(), CRect(0, 0, 100, 100), 100, 0, 100, 0, corners);
    // The former drawing by hand: on 100 x 100 pixels for 0 .. 100 a corner (x, y) is (x, 100 - y).
    std::vector<gp::PointF> points;
    for (const auto& c : corners) points.emplace_back(static_cast<float>(c.x), static_cast<float>(100 - c.y));
    gp::Graphics g(clipped.get());
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    gp::GraphicsPath path(gp::FillModeAlternate);
    path.AddPolygon(points.data(), static_cast<gp::INT>(points.size()));
    const gp::Region region(&path);
    const gp::Pen pen(gp::Color(0xFFFF0000), 1.5f);
    const gp::SolidBrush brush(gp::Color(0x80960000));
    g.DrawPath(&pen, &path);
    g.SetClip(&region, gp::CombineModeReplace);
    g.FillRegion(&brush, &region);
    EXPECT_EQ(CountDifferentPixels(*kelo::surface::RasterOf(*drawn), *kelo::surface::RasterOf(*clipped)), 0)
        << n << " corners, step " << step;
  }
}

TEST_F(XY, HostileValuesGiveFiniteCoordinatesAndTwoCornersNoRegion) {
  constexpr std::int32_t kMin = INT32_MIN, kMax = INT32_MAX;
  chart.SetXCells(0);
  chart.DrawTickPrice(dc.get(), rect, {0, 235959, kMin, 0, kMax, 0}, {{10, kMax, kMax, kMin, kMin, 0, 0, 0}},
                      Curve::eTickMinute, 1);
  chart.DrawEasyXYChart(dc.get(), rect, kMax, kMin, 3, kMax, kMax - 1, 3, {{{kMin, kMax}, {kMax, kMax}}});
  chart.UpdateCurveGroupDataEx(dc.get(), rect, {{rect, 2, CString(), kMax, kMin, 1, {{kMin, kMax}}, -1}});
  chart.DrawEasyCurveGroupChart(dc.get(), rect, kMin + 1, kMin, 0, {{kMin}}, -1);
  for (const Seg& s : Take()) EXPECT_TRUE(std::isfinite(s.x1 + s.y1 + s.x2 + s.y2)) << s;
  chart.DrawROIRgn(dc.get(), rect, 10, 0, 10, 0, {{0, 0}, {5, 5}});
  EXPECT_TRUE(LogOf(*dc).empty());
}

}  // namespace
