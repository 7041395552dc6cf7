// A recording loses nothing: a scene with every operation drawn straight onto a raster and
// drawn onto a recording that is then replayed onto a raster gives identical pixels. The
// scene is also kept as a golden image, which the raster must match exactly.
#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>

#include "GoldenImage.h"
#include "RecordHelpers.h"
#include "surface/CopyWindow.h"
#include "surface/Png.h"

namespace {

using kelo::surface::RasterBackend;
using kelo::surface::RasterOf;
using kelo::surface::RecordingOf;

constexpr int kW = 320;
constexpr int kH = 240;
constexpr COLORREF kBackground = RGB(16, 20, 32);

CPen GeometricPen(int style, int width, COLORREF color) {
  LOGBRUSH brush;
  brush.lbColor = color;
  CPen pen;
  pen.Attach(ExtCreatePen(style | PS_GEOMETRIC, width, &brush, 0, nullptr));
  return pen;
}

// Every operation of the surface once or more: the way a layered chart paints.
void DrawScene(CDC& dc) {
  dc.FillSolidRect(0, 0, kW, kH, kBackground);

  // GDI lines of every style, cosmetic and geometric, thin and wide.
  for (int style = PS_SOLID; style <= PS_NULL; ++style) {
    CPen cosmetic(style, 1, RGB(200, 200, 200));
    CPen geometric = GeometricPen(style, 2, RGB(90, 160, 255));
    CPen* old = dc.SelectObject(&cosmetic);
    dc.MoveTo(10, 10 + style * 6);
    dc.LineTo(150, 10 + style * 6);
    dc.SelectObject(&geometric);
    dc.MoveTo(160 + style * 8, 10);
    dc.LineTo(160 + style * 8, 60);
    dc.SelectObject(old);
  }
  CPen axis(PS_SOLID, 2, RGB(230, 230, 230));
  CPen* old = dc.SelectObject(&axis);
  dc.MoveTo(10, 200);
  dc.LineTo(300, 200);
  dc.MoveTo(10, 60);
  dc.LineTo(60, 110);
  dc.SelectObject(old);

  // Texts: alignments, opaque and transparent, underlined, CJK from the fallback face.
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 220, 0));
  CRect label(10, 205, 150, 225);
  dc.DrawText("12345.67 張", -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  CRect right(150, 205, 310, 225);
  dc.DrawText(CString("1.2億 3萬"), &right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  LOGFONT lf{};
  lf.lfHeight = -14;
  lf.lfUnderline = 1;
  lf.lfWeight = FW_BOLD;
  CFont underlined;
  underlined.CreateFontIndirect(&lf);
  CFont* oldFont = dc.SelectObject(&underlined);
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(RGB(60, 60, 60));
  dc.SetTextColor(RGB(255, 80, 80));
  CRect centre(10, 115, 310, 135);
  dc.DrawText("+2.35%", -1, &centre, DT_SINGLELINE | DT_CENTER);
  dc.SelectObject(oldFont);

  // Layers: a memory DC paints a base layer copied opaquely and an upper layer keyed on its
  // background colour, as charts compose their bitmaps.
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap base, upper;
  base.CreateCompatibleBitmap(&dc, 120, 60);
  upper.CreateCompatibleBitmap(&dc, 120, 60);
  CBitmap* original = memory.SelectObject(&base);
  memory.FillSolidRect(0, 0, 120, 60, RGB(40, 0, 40));
  CPen grid(PS_DOT, 1, RGB(120, 120, 120));
  CPen* memOld = memory.SelectObject(&grid);
  for (int y = 5; y < 60; y += 10) {
    memory.MoveTo(0, y);
    memory.LineTo(120, y);
  }
  memory.SelectObject(memOld);
  memory.SelectObject(&upper);
  memory.FillSolidRect(0, 0, 120, 60, kBackground);
  {
    Gdiplus::Graphics g(&memory);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::Pen curve(Gdiplus::Color(255, 255, 255, 0), 1.5f);
    const Gdiplus::PointF pts[] = {{2, 50}, {30, 20}, {60, 40}, {90, 8}, {118, 30}};
    g.DrawLines(&curve, pts, 5);
  }
  memory.SelectObject(&base);
  dc.BitBlt(180, 140, 120, 60, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(&upper);
  dc.TransparentBlt(180, 140, 120, 60, &memory, 0, 0, 120, 60, kBackground);
  dc.TransparentBlt(40, 140, 120, 60, &memory, 0, 0, 120, 60, kBackground);
  memory.FillSolidRect(0, 0, 120, 60, RGB(9, 9, 9));  // after the copies: a replay must not show it
  memory.SelectObject(original);
  memory.DeleteDC();

  // GDI+: anti-aliased and aliased lines with dash styles, a translucent bar, pies and a
  // clipped polygon region.
  Gdiplus::Graphics g(&dc);
  for (int dash = 0; dash <= 4; ++dash) {
    Gdiplus::Pen pen(Gdiplus::Color(255, 0, 220, 120), 1.0f + 0.5f * dash);
    pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(dash));
    g.SetSmoothingMode(dash % 2 ? Gdiplus::SmoothingModeAntiAlias : Gdiplus::SmoothingModeNone);
    g.DrawLine(&pen, 210.0f, 70.0f + dash * 8, 310.0f, 75.0f + dash * 8);
  }
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush translucent(Gdiplus::Color(128, 255, 0, 0));
  g.FillRectangle(&translucent, 100, 80, 60, 30);
  Gdiplus::SolidBrush dot(Gdiplus::Color(255, 255, 255, 255));
  g.FillPie(&dot, 70.5f, 150.5f, 7.f, 7.f, 0.f, 360.f);
  g.FillPie(&dot, 20.f, 150.f, 30.f, 30.f, 30.f, 120.f);
  Gdiplus::GraphicsPath path;
  const Gdiplus::PointF region[] = {{200, 110}, {300, 110}, {250, 135}};
  path.AddPolygon(region, 3);
  Gdiplus::Region clip(&path);
  Gdiplus::SolidBrush fill(Gdiplus::Color(160, 0, 120, 255));
  g.FillRegion(&fill, &clip);
  g.SetClip(&clip);
  Gdiplus::Pen across(Gdiplus::Color(255, 255, 255, 255), 3.0f);
  g.DrawLine(&across, 190, 100, 310, 140);
  g.ResetClip();
  Gdiplus::Pen outline(Gdiplus::Color(255, 0, 160, 255), 1.0f);
  g.DrawPath(&outline, &path);
}

TEST(Replay, ARecordingReplayedGivesThePixelsOfDrawingDirectly) {
  auto direct = CDC::CreateRaster(kW, kH);
  DrawScene(*direct);
  auto recording = CDC::CreateRecording(kW, kH);
  DrawScene(*recording);
  const auto snapshot = RecordingOf(*recording)->Snapshot();
  RasterBackend replayed(kW, kH, RGB(255, 255, 255));
  kelo::surface::Replay(snapshot.records, replayed);
  EXPECT_EQ(kelo::test::CountDifferentPixels(*RasterOf(*direct), replayed), 0);

  // Replaying twice, or onto a recording first, changes nothing either.
  auto again = CDC::CreateRecording(kW, kH);
  kelo::surface::Replay(snapshot.records, *RecordingOf(*again));
  RasterBackend twice(kW, kH, RGB(255, 255, 255));
  kelo::surface::Replay(RecordingOf(*again)->Records(), twice);
  EXPECT_EQ(kelo::test::CountDifferentPixels(replayed, twice), 0);

  // A recording written as PNG is replayed first: the file holds the same pixels.
  const std::string out = kelo::test::TestOutDir() + "/surface_scene.replayed.png";
  ASSERT_TRUE(recording->WritePng(out));
  kelo::surface::detail::PngImage png;
  ASSERT_TRUE(kelo::surface::detail::ReadPng(out, png));
  int different = png.width == kW ? 0 : -1;
  for (int i = 0; i < kW * kH && different >= 0; ++i) {
    different += png.pixels[static_cast<std::size_t>(i)] != RasterOf(*direct)->GetPixelArgb(i % kW, i / kW);
  }
  EXPECT_EQ(different, 0);
}

TEST(Replay, TheSceneMatchesItsGoldenImage) {
  auto dc = CDC::CreateRaster(kW, kH);
  DrawScene(*dc);
  EXPECT_TRUE(kelo::test::MatchesGolden(*dc, "surface_scene"));
}

TEST(Replay, ACopyOutOfTheFarCornerOfALargeRecordedBitmapKeepsItsPixels) {
  // Onto pixels, only the part of the source a copy reads is rendered.
  auto screen = CDC::CreateRecording(20, 10);
  CDC memory;
  memory.CreateCompatibleDC(screen.get());
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(screen.get(), 400, 300);
  memory.SelectObject(&bitmap);
  memory.FillSolidRect(350, 250, 50, 50, RGB(1, 2, 3));
  screen->BitBlt(0, 0, 20, 10, &memory, 345, 245, SRCCOPY);
  RasterBackend replayed(20, 10, RGB(255, 255, 255));
  kelo::surface::Replay(RecordingOf(*screen)->Records(), replayed);
  EXPECT_EQ(replayed.GetPixel(5, 5), RGB(1, 2, 3));
  EXPECT_EQ(replayed.GetPixel(4, 4), RGB(0, 0, 0));
}

TEST(Replay, ACopyReadsTheSourceWindowItsVisibleDestinationShows) {
  struct Row {
    CRect dst;
    CPoint origin;
    CRect visible;
    CRect window;
  };
  const Row rows[] = {
      {{0, 0, 20, 10}, {345, 245}, {0, 0, 20, 10}, {345, 245, 365, 255}},             // far corner, all shown
      {{-5, -2, 100, 100}, {10, 20}, {0, 0, 20, 10}, {15, 22, 35, 32}},               // cut to what shows
      {{0, 0, 20, 10}, {390, 295}, {0, 0, 20, 10}, {390, 295, 400, 300}},             // cut to the source
      {{30, 0, 40, 10}, {0, 0}, {0, 0, 20, 10}, {}},                                  // lands off the surface
      {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, 0}, {0, 0, 20, 10}, {}},       // reads past the source
      {{INT_MIN, 0, INT_MAX, 5}, {INT_MIN, 0}, {100, 0, 120, 10}, {100, 0, 120, 5}},  // 64 bits wide
      {{0, 0, 20, 10}, {-10, 295}, {5, 2, 64, 48}, {0, 297, 10, 300}},                // a window of a window
  };
  for (const Row& row : rows) {
    EXPECT_EQ(kelo::surface::detail::CopyReadWindow(row.dst, row.origin, row.visible, 400, 300), row.window)
        << row.dst.left << "," << row.origin.x;
  }
}

// Two large bitmaps, the second copying the far corner of the first, both copied out of by the screen.
void DrawCopyChain(CDC& screen) {
  CDC memory[2];
  CBitmap bitmaps[2];
  for (int i = 0; i < 2; ++i) {
    memory[i].CreateCompatibleDC(&screen);
    bitmaps[i].CreateCompatibleBitmap(&screen, 4000, 3000);
    memory[i].SelectObject(&bitmaps[i]);
  }
  memory[0].FillSolidRect(3950, 2950, 50, 50, RGB(1, 2, 3));
  Gdiplus::Graphics g(&memory[0]);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush dot(Gdiplus::Color(200, 250, 160, 0));
  g.FillPie(&dot, 3944.3f, 2947.1f, 11.f, 9.f, 0.f, 360.f);
  CRect label(3946, 2946, 3990, 2970);
  memory[0].DrawText("Ab", -1, &label, DT_SINGLELINE | DT_LEFT);
  memory[1].BitBlt(3000, 2000, 100, 100, &memory[0], 3940, 2940, SRCCOPY);
  screen.BitBlt(0, 0, 40, 30, &memory[1], 3002, 2003, SRCCOPY);
  screen.TransparentBlt(30, 20, 40, 30, &memory[0], 3949, 2949, 40, 30, RGB(0, 0, 0));
}

TEST(Replay, AChainOfCopiesOutOfLargeRecordedBitmapsKeepsItsPixels) {
  auto direct = CDC::CreateRaster(50, 40);
  auto screen = CDC::CreateRecording(50, 40);
  DrawCopyChain(*direct);
  DrawCopyChain(*screen);
  RasterBackend replayed(50, 40, RGB(255, 255, 255));
  kelo::surface::Replay(RecordingOf(*screen)->Records(), replayed);
  EXPECT_EQ(replayed.GetPixel(20, 20), RGB(1, 2, 3));
  EXPECT_EQ(kelo::test::CountDifferentPixels(*RasterOf(*direct), replayed), 0);
}

// Two bitmaps copying each other back and forth: each copy holds the other's earlier copies,
// so drawing each copy anew would double the work every round.
void DrawCopiesBackAndForth(CDC& screen) {
  CDC memory[2];
  CBitmap bitmaps[2];
  for (int i = 0; i < 2; ++i) {
    memory[i].CreateCompatibleDC(&screen);
    bitmaps[i].CreateCompatibleBitmap(&screen, 3000, 2000);
    memory[i].SelectObject(&bitmaps[i]);
    memory[i].FillSolidRect(2900 + 20 * i, 1900, 20, 20, RGB(60 * i, 200, 9));
  }
  for (int round = 0; round < 24; ++round) {
    CDC& from = memory[1 - round % 2];
    for (int copy = 0; copy < 2; ++copy)
      memory[round % 2].BitBlt(2900, 1900 + copy, 60, 40, &from, 2900, 1900, SRCCOPY);
  }
  screen.BitBlt(0, 0, 64, 48, &memory[0], 2880, 1890, SRCCOPY);
}

TEST(Replay, CopiesBackAndForthBetweenBitmapsReplayWithTheirPixels) {
  auto direct = CDC::CreateRaster(64, 48);
  auto screen = CDC::CreateRecording(64, 48);
  DrawCopiesBackAndForth(*direct);
  DrawCopiesBackAndForth(*screen);
  RasterBackend replayed(64, 48, RGB(255, 255, 255));
  kelo::surface::Replay(RecordingOf(*screen)->Records(), replayed);
  EXPECT_EQ(kelo::test::CountDifferentPixels(*RasterOf(*direct), replayed), 0);
}

TEST(Replay, ARecordListReplayedOntoItsOwnRecordingIsReplayedOnce) {
  auto screen = CDC::CreateRecording(20, 10);
  for (int i = 0; i < 40; ++i) screen->FillSolidRect(i % 20, 0, 1, 1, RGB(i, 0, 0));
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(screen.get(), 20, 10);
  auto* recording = RecordingOf(*screen);
  kelo::surface::Replay(recording->Records(), *recording);  // onto itself
  EXPECT_EQ(recording->Records().size(), 80u);
  kelo::surface::Replay(recording->Log(), *bitmap.Surface());  // the shared log onto its bitmap
  EXPECT_EQ(recording->Log().size(), 160u);
}

}  // namespace
