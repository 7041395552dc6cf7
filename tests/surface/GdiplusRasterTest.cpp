// GDI+ drawing on the raster surface with hostile geometry: coordinates far beyond cairo's
// fixed point, NaN and infinite sizes, dash units below a pixel; and the two fill modes of a
// polygon. (Anti-aliasing, dash styles, pies and clipping are pinned by the golden scene of
// ReplayTest.)
#include <climits>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>

#include "PixelText.h"

namespace {

using kelo::surface::RasterOf;
using kelo::test::CountNot;
using kelo::test::Row;

constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(GdiplusRaster, HostileGeometryDrawsWhatIsVisibleOrNothing) {
  auto dc = CDC::CreateRaster(30, 30);
  auto& r = *RasterOf(*dc);
  Gdiplus::Graphics g(dc.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), 1.0f);
  Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0, 0, 0));
  g.DrawLine(&pen, -1e30f, 10.f, 1e30f, 10.f);  // clipped before it reaches cairo
  EXPECT_EQ(Row(r, 10, 0, 30, RGB(0, 0, 0)), std::string(30, '#'));
  g.DrawLine(&pen, std::nanf(""), 1.f, 5.f, 5.f);
  g.FillPie(&brush, 0.f, 0.f, INFINITY, 10.f, 0.f, 90.f);
  g.FillPie(&brush, 0.f, 0.f, 1e9f, 1e9f, 0.f, 90.f);
  g.FillRectangle(&brush, INT_MIN, INT_MIN, 1000, 1000);  // far above and left: nothing visible
  Gdiplus::Pen thin(Gdiplus::Color(255, 0, 0, 0), 1e-30f);
  thin.SetDashStyle(Gdiplus::DashStyleDot);
  g.DrawLine(&thin, 0.f, 20.f, 1e6f, 20.f);  // dash units never shrink below a pixel
  EXPECT_EQ(CountNot(r, kWhite, 0, 0, 30, 9) + CountNot(r, kWhite, 0, 11, 30, 19), 0);
  g.FillRectangle(&brush, INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // as floats this reaches 0: a corner
  EXPECT_EQ(CountNot(r, kWhite, 1, 1, 30, 9), 0);
}

TEST(GdiplusRaster, PolygonsFillAlternatelyOrByWindingAndPiesAtTheCornerShow) {
  auto dc = CDC::CreateRaster(60, 60);
  Gdiplus::Graphics g(dc.get());
  Gdiplus::SolidBrush brush(Gdiplus::Color(255, 0, 0, 0));
  const Gdiplus::PointF pts[] = {{5, 5}, {45, 5}, {45, 25}, {25, 25}, {25, 15}, {55, 15}, {55, 45}, {5, 45}};
  g.FillPie(&brush, 0.f, 0.f, 4.f, 4.f, 0.f, 360.f);  // a pie at the corner is not wholly outside
  g.FillPolygon(&brush, pts, 8);
  EXPECT_EQ(RasterOf(*dc)->GetPixel(2, 2), RGB(0, 0, 0));
  EXPECT_EQ(RasterOf(*dc)->GetPixel(10, 10), RGB(0, 0, 0));
  EXPECT_EQ(RasterOf(*dc)->GetPixel(35, 20), kWhite) << "covered twice";
  g.FillPolygon(&brush, pts, 8, Gdiplus::FillModeWinding);
  EXPECT_EQ(RasterOf(*dc)->GetPixel(35, 20), RGB(0, 0, 0));
}

}  // namespace
