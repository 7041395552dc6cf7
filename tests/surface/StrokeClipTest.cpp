// Strokes reaching far outside a surface: the parts that can show, exactly, and the pixels
// they give, against those of the same stroke drawn whole.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>

#include "surface/StrokeClip.h"

namespace {

using kelo::surface::RasterOf;
using kelo::surface::detail::ClipStroke;
using kelo::surface::detail::PointD;
using kelo::surface::detail::StrokeBox;
using Runs = std::vector<std::vector<PointD>>;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

TEST(StrokeClip, WidthsBeyondUseOrReasonDrawOnePixelOrTheSurfaceCap) {
  using kelo::surface::detail::StrokeWidth;
  const double cases[][2] = {{0, 1}, {-3, 1}, {NAN, 1}, {kInf, 1}, {2.5, 2.5}, {102, 102}, {1e30, 102}};
  for (const auto& c : cases) EXPECT_EQ(StrokeWidth(c[0], 30, 40), c[1]) << c[0];  // diagonal 50
  using kelo::surface::detail::StrokeBoxOf;
  EXPECT_EQ(StrokeBoxOf(30, 40, 2, true).l, -82);  // a miter reaches 10 px, and a surface size
  EXPECT_EQ(StrokeBoxOf(30, 40, 2, true).b, 122);
  EXPECT_EQ(StrokeBoxOf(30, 40, 2, false).r, 1e6 + 30);
}

TEST(StrokeClip, KeepsWhatLiesInTheBoxAndCutsTheRest) {
  const StrokeBox box{-10, -10, 110, 110};
  struct Case {
    const char* what;
    std::vector<PointD> points;
    bool closed;
    double period;
    Runs runs;
  };
  const std::vector<Case> cases = {
      {"inside: unchanged", {{0, 0}, {5, 5}, {5, 5}, {100, 0}}, false, 8, {{{0, 0}, {5, 5}, {5, 5}, {100, 0}}}},
      {"a non-finite point", {{0, 0}, {NAN, 5}, {-1e9, 0}}, false, 0, {}},
      {"one point", {{-1e9, 0}}, false, 0, {}},
      {"across, 1e30 long", {{-1e30, 50}, {1e30, 50}}, false, 0, {{{-10, 50}, {110, 50}}}},
      {"diagonal, 1e38 long", {{1e38, 1e38}, {-1e38, -1e38}}, false, 0, {{{110, 110}, {-10, -10}}}},
      {"the largest doubles", {{-kMax, -kMax}, {kMax, kMax}}, false, 0, {{{-10, -10}, {110, 110}}}},
      {"steep", {{50, -1e20}, {50.5, 1e20}}, false, 0, {{{50.25, -10}, {50.25, 110}}}},
      {"touches a corner only", {{-20, 0}, {0, -20}}, false, 0, {}},
      {"wholly outside", {{-20, 0}, {-20, 1e6}, {1e6, 1e6}}, false, 2, {}},
      {"out and back in", {{50, 50}, {200, 50}, {200, 60}, {50, 60}}, false, 0, {{{50, 50}, {110, 50}}, {{110, 60}, {50, 60}}}},
      // 990 from the start, 990 mod 8 = 6: the run starts 6 before the edge.
      {"dashes keep their phase", {{-1000, 50}, {50, 50}}, false, 8, {{{-16, 50}, {50, 50}}}},
      {"closed, solid: joined at the first point",
       {{50, 50}, {200, 50}, {200, 100}, {50, 100}}, true, 0, {{{110, 100}, {50, 100}, {50, 50}, {110, 50}}}},
      // The last run enters 150 + 50 + 90 = 290 from the first point: 2 past a period.
      {"closed, dashed: the pattern restarts at the first point",
       {{50, 50}, {200, 50}, {200, 100}, {50, 100}}, true, 8, {{{50, 50}, {110, 50}}, {{112, 100}, {50, 100}, {50, 50}}}},
      {"closed and inside", {{0, 0}, {9, 0}, {9, 9}}, true, 0, {{{0, 0}, {9, 0}, {9, 9}}}},
  };
  for (const Case& c : cases) {
    const auto runs = ClipStroke(c.points, c.closed, box, c.period);
    Runs got;
    for (const auto& run : runs) got.push_back(run.points);
    EXPECT_EQ(got, c.runs) << c.what;
    const bool whole = c.runs.size() == 1 && c.runs[0] == c.points;
    for (const auto& run : runs) EXPECT_EQ(run.closed, c.closed && whole) << c.what;
  }
}

// A dashed polyline entering from 3000 px away (cut before cairo sees it) against the same
// polyline starting outside the surface, a whole number of periods along, near enough to
// reach cairo whole. The dashes keep their phase: the pixels are the same but for where the
// cut start, off cairo's 1/256-pixel grid, tilts an edge past a few of its 15 sub-scanlines
// (a wrong phase moves whole dashes: differences of 200 and more).
TEST(StrokeClip, AFarDashedLineDrawsWhatItsVisiblePartDraws) {
  constexpr int kW = 120, kH = 100;
  for (int dash = 1; dash <= 4; ++dash) {
    for (const float width : {1.f, 2.5f, 3.f, 5.f}) {  // 2880 is a whole number of periods
      Gdiplus::Pen pen(Gdiplus::Color(255, 20, 40, 220), width);
      pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(dash));
      auto draw = [&](Gdiplus::PointF from, float to) {
        auto dc = CDC::CreateRaster(kW, kH);
        Gdiplus::Graphics g(dc.get());
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const Gdiplus::PointF points[] = {from, {70, 85}, {110, 55}, {to, 55}};
        g.DrawLines(&pen, points, 4);
        return dc;
      };
      const auto far = draw({10 - 1800, 5 - 2400}, 5000), near = draw({10 - 72, 5 - 96}, 400);  // along (3, 4)
      int worst = 0;
      for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
          const std::uint32_t a = RasterOf(*far)->GetPixelArgb(x, y), b = RasterOf(*near)->GetPixelArgb(x, y);
          for (int shift = 0; shift < 24; shift += 8) {
            worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255)));
          }
        }
      }
      EXPECT_LE(worst, 16) << "dash style " << dash << ", width " << width;
    }
  }
}

}  // namespace
