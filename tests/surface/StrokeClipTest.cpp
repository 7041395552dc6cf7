// Strokes reaching far outside a surface: the parts that can show, exactly, and the pixels
// they give against those of the same stroke drawn whole.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>

#include "surface/StrokeClip.h"

namespace {

using namespace kelo::surface::detail;
using kelo::surface::RasterOf;
using Runs = std::vector<std::vector<PointD>>;

TEST(StrokeClip, WidthsAndBoxes) {
  const double cases[][2] = {{0, 1}, {-3, 1}, {NAN, 1}, {INFINITY, 1}, {2.5, 2.5}, {1e30, 102}};
  for (const auto& c : cases) EXPECT_EQ(StrokeWidth(c[0], 30, 40), c[1]) << c[0];  // diagonal 50
  EXPECT_EQ(StrokeBoxOf(30, 40, 2, true).l, -82);  // a miter reaches 10 px, dashes a surface more
  EXPECT_EQ(StrokeBoxOf(30, 40, 2, false).r, 1e6 + 30);
}

TEST(StrokeClip, KeepsWhatLiesInTheBoxAndCutsTheRest) {
  const std::vector<PointD> square = {{50, 50}, {200, 50}, {200, 100}, {50, 100}};  // the last run enters 290 along
  const struct {
    const char* what;
    std::vector<PointD> points;
    bool closed;
    double period;
    Runs runs;
  } cases[] = {
      {"inside: unchanged", {{0, 0}, {5, 5}, {5, 5}, {100, 0}}, true, 8, {{{0, 0}, {5, 5}, {5, 5}, {100, 0}}}},
      {"a non-finite point", {{0, 0}, {NAN, 5}, {-1e9, 0}}, false, 0, {}},
      {"diagonal, 1e38 long", {{1e38, 1e38}, {-1e38, -1e38}}, false, 0, {{{110, 110}, {-10, -10}}}},
      {"the largest doubles", {{-DBL_MAX, -DBL_MAX}, {DBL_MAX, DBL_MAX}}, false, 0, {{{-10, -10}, {110, 110}}}},
      {"steep", {{50, -1e20}, {50.5, 1e20}}, false, 0, {{{50.25, -10}, {50.25, 110}}}},
      {"touches a corner only", {{-20, 0}, {0, -20}}, false, 0, {}},
      {"shallow, out through the bottom", {{0, 100}, {200, 200}}, false, 0, {{{0, 100}, {20, 110}}}},
      {"out and back in",
       {{50, 50}, {200, 50}, {200, 60}, {50, 60}},
       false,
       0,
       {{{50, 50}, {110, 50}}, {{110, 60}, {50, 60}}}},
      {"dashes keep their phase: 990 along the edge, a run starts 990 mod 8 before",
       {{-1000, 50}, {50, 50}},
       false,
       8,
       {{{-16, 50}, {50, 50}}}},
      {"closed, solid: joined at the first point", square, true, 0, {{{110, 100}, {50, 100}, {50, 50}, {110, 50}}}},
      {"closed, dashed: restarts at the first point",
       square,
       true,
       8,
       {{{50, 50}, {110, 50}}, {{112, 100}, {50, 100}, {50, 50}}}},
  };
  for (const auto& c : cases) {
    Runs got;
    for (const StrokeRun& run : ClipStroke(c.points, c.closed, StrokeBox{-10, -10, 110, 110}, c.period)) {
      got.push_back(run.points);
      EXPECT_EQ(run.closed, c.closed && run.points == c.points) << c.what;
    }
    EXPECT_EQ(got, c.runs) << c.what;
  }
}

// A dashed polyline entering from 3000 px away (cut) against the same polyline starting a
// whole number of periods along, outside the surface (drawn whole): the dashes keep their
// phase. A cut start off cairo's 1/256-pixel grid may tilt an edge past a few of its 15
// sub-scanlines (up to 16 levels); a wrong phase moves whole dashes.
TEST(StrokeClip, AFarDashedLineDrawsWhatItsVisiblePartDraws) {
  for (int dash = 1; dash <= 4; ++dash) {
    for (const float width : {1.f, 2.5f, 3.f, 5.f}) {  // 2880 is a whole number of periods
      Gdiplus::Pen pen(Gdiplus::Color(255, 20, 40, 220), width);
      pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(dash));
      auto draw = [&](Gdiplus::PointF from, float to) {
        auto dc = CDC::CreateRaster(120, 100);
        Gdiplus::Graphics g(dc.get());
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const Gdiplus::PointF points[] = {from, {70, 85}, {110, 55}, {to, 55}};
        g.DrawLines(&pen, points, 4);
        return dc;
      };
      const auto far = draw({10 - 1800, 5 - 2400}, 5000), near = draw({10 - 72, 5 - 96}, 400);  // along (3, 4)
      int worst = 0;
      for (int i = 0; i < 120 * 100 * 3; ++i) {
        const auto channel = [&](CDC& dc) {
          return (RasterOf(dc)->GetPixel(i / 3 % 120, i / 360) >> (i % 3 * 8)) & 255;
        };
        worst = std::max(worst, std::abs(static_cast<int>(channel(*far)) - static_cast<int>(channel(*near))));
      }
      EXPECT_LE(worst, 16) << "dash style " << dash << ", width " << width;
    }
  }
}

}  // namespace
