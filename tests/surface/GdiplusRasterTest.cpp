// GDI+ drawing on the raster surface: anti-aliasing only when asked, alpha blending, dash
// styles in multiples of the pen width, pies, even-odd polygons and clipping to a path.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>

#include "PixelText.h"

namespace {

using kelo::surface::RasterOf;
using kelo::test::Column;
using kelo::test::CountColor;
using kelo::test::CountNot;
using kelo::test::Row;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(GdiplusRaster, AntiAliasingOnlyWhenAskedPixelCentresOnIntegersAndAlphaBlends) {
  for (bool aa : {false, true}) {
    auto dc = CDC::CreateRaster(40, 40);
    Gdiplus::Graphics g(dc.get());
    g.SetSmoothingMode(aa ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
    Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), 1.5f);
    g.DrawLine(&pen, 2.0f, 3.0f, 37.0f, 29.0f);
    const int partial = CountNot(*RasterOf(*dc), kWhite) - CountColor(*RasterOf(*dc), kBlack);
    EXPECT_TRUE(aa ? partial > 40 : partial == 0) << partial;
    if (!aa) EXPECT_GT(CountColor(*RasterOf(*dc), kBlack), 35);
  }
  auto dc = CDC::CreateRaster(20, 20);
  auto& r = *RasterOf(*dc);
  Gdiplus::Graphics g(dc.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), 1.0f);
  g.DrawLine(&pen, 2, 5, 12, 5);  // a one-pixel line on a pixel row is crisp
  EXPECT_EQ(Column(r, 6, 4, 7, kBlack), ".#.");
  Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0, 0, 0));
  g.SetSmoothingMode(Gdiplus::SmoothingModeNone);
  g.FillRectangle(&brush, 4, 10, 5, 3);  // aliased: exactly x 4..8, y 10..12
  EXPECT_EQ(Row(r, 10, 2, 11, kBlack) + Row(r, 13, 2, 11, kBlack) + Row(r, 9, 2, 11, kBlack), "..#####....................");
  Gdiplus::SolidBrush half(Gdiplus::Color(128, 255, 0, 0)), clear(Gdiplus::Color(0, 0, 0, 255));
  g.FillRectangle(&half, 0, 0, 2, 2);
  g.FillRectangle(&clear, 0, 0, 2, 2);  // fully transparent: no change
  EXPECT_EQ(r.GetPixel(1, 1), RGB(255, 127, 127));
}

TEST(GdiplusRaster, DashStylesAreMultiplesOfThePenWidth) {
  struct Case {
    Gdiplus::DashStyle style;
    float width;
    std::string row;
  };
  const Case cases[] = {
      {Gdiplus::DashStyleSolid, 1, "########################"},
      {Gdiplus::DashStyleDash, 1, "###.###.###.###.###.###."},
      {Gdiplus::DashStyleDot, 1, "#.#.#.#.#.#.#.#.#.#.#.#."},
      {Gdiplus::DashStyleDashDot, 1, "###.#.###.#.###.#.###.#."},
      {Gdiplus::DashStyleDashDotDot, 1, "###.#.#.###.#.#.###.#.#."},
      {Gdiplus::DashStyleDot, 2, "##..##..##..##..##..##.."},
      {Gdiplus::DashStyleDash, 2, "######..######..######.."},
  };
  for (const Case& k : cases) {
    auto dc = CDC::CreateRaster(40, 10);
    Gdiplus::Graphics g(dc.get());
    Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), k.width);
    pen.SetDashStyle(k.style);
    // Aliased, from the left edge of pixel 4 (x = 3.5 with centres on integers).
    g.DrawLine(&pen, 3.5f, 5.0f, 27.5f, 5.0f);
    EXPECT_EQ(Row(*RasterOf(*dc), 5, 4, 28, kBlack), k.row) << "style " << k.style << " width " << k.width;
  }
}

TEST(GdiplusRaster, PiesPolygonsAndClipping) {
  Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0, 0, 0)), red(Gdiplus::Color(255, 255, 0, 0));
  auto disc = CDC::CreateRaster(60, 60), quarter = CDC::CreateRaster(60, 60);
  Gdiplus::Graphics(disc.get()).FillPie(&brush, 10.f, 10.f, 20.f, 20.f, 0.f, 360.f);  // radius 10 around (20, 20)
  Gdiplus::Graphics(quarter.get()).FillPie(&brush, 10.f, 10.f, 20.f, 20.f, 0.f, 90.f);  // clockwise from +x
  const int area = CountColor(*RasterOf(*disc), kBlack);
  EXPECT_NEAR(area, 314, 25);
  EXPECT_NEAR(CountColor(*RasterOf(*quarter), kBlack), area / 4, 12);
  EXPECT_EQ(Row(*RasterOf(*quarter), 25, 15, 26, kBlack), ".....######") << "the lower right quarter";
  // A self-overlapping polygon filled alternately leaves the doubly covered part empty.
  auto dc = CDC::CreateRaster(60, 60);
  auto& r = *RasterOf(*dc);
  Gdiplus::Graphics g(dc.get());
  const Gdiplus::PointF pts[] = {{5, 5}, {45, 5}, {45, 25}, {25, 25}, {25, 15}, {55, 15}, {55, 45}, {5, 45}};
  g.FillPolygon(&brush, pts, 8);
  EXPECT_EQ(r.GetPixel(35, 20), kWhite);
  g.FillPolygon(&brush, pts, 8, Gdiplus::FillModeWinding);
  EXPECT_EQ(r.GetPixel(35, 20), kBlack);
  // Clipped to a triangle and a band: only their intersection changes.
  Gdiplus::GraphicsPath triangle;
  const Gdiplus::PointF tri[] = {{0, 0}, {40, 0}, {0, 40}};
  triangle.AddPolygon(tri, 3);
  Gdiplus::Region region(&triangle), band(Gdiplus::Rect(0, 0, 10, 60));
  g.SetClip(&region);
  g.SetClip(&band, Gdiplus::CombineModeIntersect);
  g.FillRectangle(&red, 0, 0, 60, 60);
  EXPECT_EQ(std::vector<COLORREF>({r.GetPixel(5, 5), r.GetPixel(5, 38), r.GetPixel(20, 2), r.GetPixel(12, 10)}),
            std::vector<COLORREF>({RGB(255, 0, 0), kBlack, kWhite, kBlack}));
  g.ResetClip();
  g.FillRegion(&red, &region);
  EXPECT_EQ(r.GetPixel(20, 2), RGB(255, 0, 0));
}

TEST(GdiplusRaster, HostileGeometryDrawsWhatIsVisibleOrNothing) {
  auto dc = CDC::CreateRaster(30, 30);
  auto& r = *RasterOf(*dc);
  Gdiplus::Graphics g(dc.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), 1.0f);
  Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0, 0, 0));
  g.DrawLine(&pen, -1e30f, 10.f, 1e30f, 10.f);  // far beyond cairo's fixed point: clipped first
  EXPECT_EQ(Row(r, 10, 0, 30, kBlack), std::string(30, '#'));
  const float nan = std::nanf("");
  g.DrawLine(&pen, nan, 1.f, 5.f, 5.f);
  g.FillPie(&brush, 0.f, 0.f, INFINITY, 10.f, 0.f, 90.f);
  g.FillPie(&brush, 0.f, 0.f, 1e9f, 1e9f, 0.f, 90.f);
  g.FillRectangle(&brush, INT_MIN, INT_MIN, 1000, 1000);  // far above and left: nothing visible
  Gdiplus::Pen thin(Gdiplus::Color(255, 0, 0, 0), 1e-30f);
  thin.SetDashStyle(Gdiplus::DashStyleDot);
  g.DrawLine(&thin, 0.f, 20.f, 1e6f, 20.f);  // dash units never shrink below a pixel
  EXPECT_EQ(CountNot(r, kWhite, 0, 0, 30, 9), 0);
  EXPECT_EQ(CountNot(r, kWhite, 0, 11, 30, 19), 0);
  g.FillRectangle(&brush, INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // as floats this reaches 0: a corner
  EXPECT_EQ(CountNot(r, kWhite, 1, 1, 30, 9), 0);
}

}  // namespace
