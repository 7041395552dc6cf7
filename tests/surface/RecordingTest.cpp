// The recording surface: each call is kept with the state it was drawn with and the name of
// the surface it went to; selection returns what was selected before; null arguments do
// nothing.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

namespace {

using namespace kelo::surface;
using namespace kelo::test;

TEST(Recording, MemoryDCsDrawOnBitmapsNamedInOrderAndCopiesKeepTheSourceAsItWas) {
  auto screen = CDC::CreateRecording(40, 30);
  CBitmap base, data;
  ASSERT_TRUE(base.CreateCompatibleBitmap(screen.get(), 40, 30));
  ASSERT_TRUE(data.CreateCompatibleBitmap(screen.get(), 40, 30));
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(screen.get()));
  memory.FillSolidRect(0, 0, 5, 5, RGB(1, 1, 1));  // no bitmap yet: nowhere
  CBitmap* original = memory.SelectObject(&base);
  memory.FillSolidRect(0, 0, 40, 30, RGB(2, 2, 2));
  EXPECT_EQ(memory.SelectObject(&data), &base);
  memory.FillSolidRect(1, 1, 3, 3, RGB(3, 3, 3));
  memory.SelectObject(&base);
  screen->BitBlt(0, 0, 40, 30, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(&data);
  screen->TransparentBlt(0, 0, 40, 30, &memory, 0, 0, 40, 30, RGB(2, 2, 2));
  memory.FillSolidRect(0, 0, 40, 30, RGB(9, 9, 9));  // after the copy: must not show in it
  memory.SelectObject(original);
  memory.DeleteDC();
  const auto& log = LogOf(*screen);
  ASSERT_EQ(log.size(), 5u) << Describe(log);
  EXPECT_EQ(Fills(OnSurface(log, "bitmap#1")), (std::vector<FillRectRecord>{{CRect(0, 0, 40, 30), RGB(2, 2, 2)}}));
  const auto blits = Blits(OnSurface(log, "screen"));
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(std::vector<std::string>({blits[0].sourceName, blits[1].sourceName}),
            std::vector<std::string>({"bitmap#1", "bitmap#2"}));
  EXPECT_EQ(std::vector<bool>({blits[0].useKey, blits[1].useKey}), std::vector<bool>({false, true}));
  EXPECT_EQ(blits[1].key, RGB(2, 2, 2));
  EXPECT_EQ(blits[1].dst, CRect(0, 0, 40, 30));
  ASSERT_TRUE(blits[1].source);
  EXPECT_EQ(Fills(blits[1].source->records), (std::vector<FillRectRecord>{{CRect(1, 1, 4, 4), RGB(3, 3, 3)}}));
  EXPECT_EQ(RecordingOf(*screen)->Records().size(), 2u);
}

TEST(Recording, GdiplusCallsCarryPenBrushSmoothingAndClip) {
  auto dc = CDC::CreateRecording(100, 50);
  Gdiplus::Graphics g(dc.get());
  Gdiplus::Pen pen(Gdiplus::Color(128, 255, 0, 0), 1.5f);
  pen.SetDashStyle(Gdiplus::DashStyleDot);
  g.DrawLine(&pen, 1, 2, 3, 4);
  EXPECT_EQ(g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias), Gdiplus::Ok);
  Gdiplus::GraphicsPath path;
  const Gdiplus::Point pts[] = {{0, 0}, {10, 0}, {5, 8}};
  path.AddPolygon(pts, 3);
  Gdiplus::Region region(&path);
  g.SetClip(&region);
  Gdiplus::SolidBrush brush(Gdiplus::Color(0xFF00FF00));
  g.FillRectangle(&brush, 0, 0, 10, 10);
  g.FillPie(&brush, 1.f, 2.f, 6.f, 6.f, 0.f, 360.f);
  g.ResetClip();
  EXPECT_EQ(g.DrawLine(nullptr, 0, 0, 1, 1), Gdiplus::InvalidParameter);
  EXPECT_EQ(g.FillRectangle(nullptr, 0, 0, 1, 1), Gdiplus::InvalidParameter);
  g.FillRectangle(&brush, 0, 0, 0, 10);  // empty: nothing
  const auto& log = LogOf(*dc);
  ASSERT_EQ(log.size(), 3u) << Describe(log);
  const auto& stroke = std::get<StrokePathRecord>(log[0].op);
  EXPECT_EQ(stroke.pen, (GpPenDesc{0x80FF0000u, 1.5f, 2}));
  EXPECT_FALSE(stroke.state.antiAlias || stroke.state.clipped || stroke.path.figures.at(0).closed);
  const auto& fill = std::get<FillPathRecord>(log[1].op);
  EXPECT_EQ(fill.argb, 0xFF00FF00u);
  EXPECT_TRUE(fill.state.antiAlias && fill.state.clipped);
  EXPECT_EQ(fill.state.clip, path.Desc());
  EXPECT_EQ(fill.path.figures[0].points, (std::vector<PointF>{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  EXPECT_EQ(std::get<FillPieRecord>(log[2].op).sweepAngle, 360.f);
}

TEST(Recording, NullAndBrokenArgumentsDoNothing) {
  auto dc = CDC::CreateRecording(10, 10);
  CRect r(0, 0, 5, 5);
  EXPECT_EQ(dc->DrawText(nullptr, 3, &r, 0) + dc->DrawText("x", -2, &r, 0) + dc->DrawText("x", 1, nullptr, 0), 0);
  dc->FillSolidRect(nullptr, 0);
  EXPECT_EQ(dc->SelectObject(static_cast<CFont*>(nullptr)), nullptr);
  EXPECT_EQ(dc->SelectObject(static_cast<CBitmap*>(nullptr)), nullptr);
  EXPECT_FALSE(dc->TransparentBlt(0, 0, 1, 1, nullptr, 0, 0, 1, 1, 0));
  EXPECT_EQ(dc->GetTextExtent(nullptr, 3), CSize());
  Gdiplus::Graphics none(nullptr);
  Gdiplus::Pen pen(Gdiplus::Color(0xFF000000));
  EXPECT_EQ(none.DrawLine(&pen, 0, 0, 1, 1), Gdiplus::GenericError);
  Gdiplus::GraphicsPath path;  // a polygon needs three points
  const Gdiplus::Point two[] = {{0, 0}, {1, 1}};
  const Gdiplus::PointF three[] = {{0, 0}, {1, 0}, {0, 1}};
  EXPECT_EQ(path.AddPolygon(two, 2) + path.AddPolygon(static_cast<const Gdiplus::Point*>(nullptr), 3),
            2 * Gdiplus::InvalidParameter);
  EXPECT_EQ(path.AddPolygon(three, 3), Gdiplus::Ok);
  EXPECT_TRUE(LogOf(*dc).empty()) << Describe(LogOf(*dc));
  EXPECT_EQ(CDC::CreateRecording(0, 10), nullptr);
  EXPECT_EQ(CDC::CreateRaster(-1, 10), nullptr);
  CFont font;
  CPen pen2;
  LOGBRUSH hatched;
  hatched.lbStyle = 2;
  EXPECT_FALSE(font.CreateFontIndirect(nullptr) || pen2.CreatePen(PS_SOLID | PS_GEOMETRIC, 1, &hatched) ||
               pen2.CreatePen(PS_SOLID | PS_GEOMETRIC, 1, nullptr));
  // A face name without a terminator reads back cut to fit.
  LOGFONT lf{};
  lf.lfHeight = -13;
  std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);
  ASSERT_TRUE(font.CreateFontIndirectA(&lf));
  LOGFONT back{};
  EXPECT_EQ(font.GetObject(sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_EQ(back.lfHeight, -13);
  EXPECT_EQ(CFont::ToDesc(back).face, std::string(LF_FACESIZE - 1, 'x'));
  EXPECT_EQ(font.GetObject(1, &back), 1);  // a short buffer takes what fits, down to one byte
}

}  // namespace
