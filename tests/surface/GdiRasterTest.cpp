// GDI-side drawing on the raster surface, pixel by pixel: lines leave out their end point,
// wide pens cover a band, dash patterns, solid fills and copies with and without a key.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RasterBackend.h>

#include "PixelText.h"

namespace {

using kelo::surface::RasterOf;
using kelo::test::Column;
using kelo::test::CountColor;
using kelo::test::Row;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(200, 30, 40);

struct Canvas {
  std::unique_ptr<CDC> dc = CDC::CreateRaster(64, 40);
  kelo::surface::RasterBackend& raster() { return *RasterOf(*dc); }
  Canvas& Line(CPen& pen, int x0, int y0, int x1, int y1) {
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(x0, y0);
    dc->LineTo(x1, y1);
    dc->SelectObject(old);
    return *this;
  }
};

CPen Geometric(int style, int width, COLORREF color) {
  LOGBRUSH brush;
  brush.lbColor = color;
  CPen pen;
  pen.Attach(ExtCreatePen(style | PS_GEOMETRIC, width, &brush, 0, nullptr));
  return pen;
}

TEST(GdiLines, OnePixelLinesLeaveOutTheirEndPointAndStepLikeBresenham) {
  CPen pen(PS_SOLID, 1, kInk);
  Canvas c, left, down, diagonal;
  EXPECT_EQ(Row(c.Line(pen, 10, 5, 20, 5).raster(), 5, 0, 24, kInk), "..........##########....");
  EXPECT_EQ(CountColor(c.raster(), kInk), 10);
  EXPECT_EQ(Row(left.Line(pen, 20, 5, 10, 5).raster(), 5, 0, 24, kInk), "...........##########...");
  EXPECT_EQ(Column(down.Line(pen, 3, 2, 3, 8).raster(), 3, 0, 10, kInk), "..######..");
  diagonal.Line(pen, 0, 0, 8, 4);  // half a pixel per step, halves away from the start
  std::string rows;
  for (int y = 0; y < 5; ++y) rows += Row(diagonal.raster(), y, 0, 9, kInk) + "|";
  EXPECT_EQ(rows, "#........|.##......|...##....|.....##..|.......#.|");
  Canvas steep;  // y-major, going up and left
  EXPECT_EQ(CountColor(steep.Line(pen, 5, 10, 3, 4).raster(), kInk), 6);
  EXPECT_EQ(steep.raster().GetPixel(3, 4), kWhite);
}

TEST(GdiLines, HostileCoordinatesAreClippedToTheImage) {
  Canvas c;
  CPen pen(PS_DOT, 1, kInk);
  c.Line(pen, INT_MIN, 7, INT_MAX, 7);  // the pattern counts from INT_MIN
  // x = 0 is pixel 2^31 of the line, phase 2 of "###...": one pixel on, then 10 whole periods.
  EXPECT_EQ(Row(c.raster(), 7, 0, 10, kInk), "#...###...");
  EXPECT_EQ(CountColor(c.raster(), kInk), 1 + 30);
  CPen wide = Geometric(PS_SOLID, INT_MAX, kInk);
  c.Line(wide, INT_MIN, INT_MIN, INT_MAX, INT_MAX).Line(wide, 0, INT_MAX, 0, INT_MIN);
}

TEST(FillSolidRect, FillsTheRectangleInOrderClippedAndKeepsTheColourAsBackground) {
  Canvas reversed, empty, huge;
  reversed.dc->FillSolidRect(CRect(6, 5, 2, 3), kInk);  // put in order, as the opaque text-out does
  EXPECT_EQ(Row(reversed.raster(), 3, 0, 8, kInk) + Row(reversed.raster(), 5, 0, 8, kInk), "..####..........");
  EXPECT_EQ(CountColor(reversed.raster(), kInk), 8);
  empty.dc->FillSolidRect(4, 4, 0, 5, kInk);
  empty.dc->FillSolidRect(INT_MAX, INT_MAX, INT_MAX, INT_MAX, kInk);
  empty.dc->FillSolidRect(nullptr, kInk);
  EXPECT_EQ(CountColor(empty.raster(), kInk), 0);
  EXPECT_EQ(empty.dc->GetBkColor(), kInk) << "the colour is taken even when nothing is filled";
  huge.dc->FillSolidRect(CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), kInk);
  EXPECT_EQ(CountColor(huge.raster(), kInk), 64 * 40);
}

struct Layers {
  std::unique_ptr<CDC> screen = CDC::CreateRaster(16, 8);
  CDC memory;
  CBitmap bitmap;
  Layers() {
    memory.CreateCompatibleDC(screen.get());
    bitmap.CreateCompatibleBitmap(screen.get(), 16, 8);
    memory.SelectObject(&bitmap);
  }
};

TEST(Copies, BitBltCopiesExactlyAndClipsAndTransparentBltLeavesTheKeyOut) {
  constexpr COLORREF kKey = RGB(1, 2, 3);
  Layers l;
  auto& screen = *RasterOf(*l.screen);
  l.screen->FillSolidRect(0, 0, 16, 8, kWhite);
  l.memory.FillSolidRect(0, 0, 16, 8, kKey);
  l.memory.FillSolidRect(2, 2, 4, 4, kInk);
  l.memory.FillSolidRect(3, 3, 1, 1, RGB(1, 2, 4));  // one step off the key: copied
  EXPECT_TRUE(l.screen->TransparentBlt(0, 0, 16, 8, &l.memory, 0, 0, 16, 8, kKey));
  EXPECT_EQ(Row(screen, 2, 0, 8, kInk), "..####..");
  EXPECT_EQ(screen.GetPixel(3, 3), RGB(1, 2, 4));
  EXPECT_EQ(CountColor(screen, kKey), 0);
  EXPECT_TRUE(l.screen->BitBlt(4, 0, 16, 8, &l.memory, 0, 0, SRCCOPY));  // clipped at the right edge
  EXPECT_EQ(Row(screen, 2, 0, 16, kInk), "..##..####......");
  // The destination starts at -3 and the source ends at 16: only x = 0..2 from source 13..15.
  l.screen->FillSolidRect(0, 0, 16, 8, kWhite);
  l.memory.FillSolidRect(0, 0, 16, 8, kInk);
  EXPECT_TRUE(l.screen->BitBlt(-3, -2, 6, 5, &l.memory, 10, 5, SRCCOPY));
  EXPECT_EQ(Row(screen, 0, 0, 6, kInk), "###...");
  EXPECT_EQ(CountColor(screen, kInk), 3);
  const int hostile[] = {INT_MIN, INT_MIN + 1, -1000, 0, 1000, INT_MAX - 1, INT_MAX};
  for (int a : hostile) {
    for (int b : hostile) {
      l.screen->BitBlt(a, b, INT_MAX, INT_MAX, &l.memory, b, a, SRCCOPY);
      l.screen->TransparentBlt(b, a, 20, 20, &l.memory, a, b, 20, 20, 0);
    }
  }
  EXPECT_FALSE(l.screen->BitBlt(0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(l.screen->BitBlt(0, 0, -4, 4, &l.memory, 0, 0, SRCCOPY));
  EXPECT_FALSE(l.screen->BitBlt(0, 0, 4, 4, &l.memory, 0, 0, 0x00EE0086));       // only SRCCOPY
  EXPECT_FALSE(l.screen->TransparentBlt(0, 0, 4, 4, &l.memory, 0, 0, 8, 8, 0));  // no stretching
  CDC bare;  // a memory DC without a bitmap has nothing to copy
  bare.CreateCompatibleDC(l.screen.get());
  EXPECT_FALSE(l.screen->BitBlt(0, 0, 4, 4, &bare, 0, 0, SRCCOPY) ||
               l.screen->TransparentBlt(0, 0, 4, 4, &bare, 0, 0, 4, 4, 0));
  Canvas c;  // a copy within one image is not smeared
  CPen pen(PS_SOLID, 1, kInk);
  c.Line(pen, 0, 0, 4, 0);
  EXPECT_TRUE(c.dc->BitBlt(2, 0, 10, 1, c.dc.get(), 0, 0, SRCCOPY));
  EXPECT_EQ(Row(c.raster(), 0, 0, 14, kInk), "######........");
  EXPECT_TRUE(c.dc->BitBlt(0, 3, 8, 10, c.dc.get(), 0, 0, SRCCOPY));  // nor one three rows down
  EXPECT_EQ(Column(c.raster(), 1, 0, 10, kInk), "#..#......");
}

TEST(Copies, KeyedCopiesOfAnyWidthLeaveOutExactlyTheKeyPixels) {
  // Widths around the 16- and 4-pixel blocks of the copy loop, key pixels alone, in runs and
  // in whole blocks.
  for (int width : {1, 3, 4, 5, 15, 16, 17, 33, 37, 64}) {
    auto screen = CDC::CreateRaster(width, 3);
    CDC memory;
    memory.CreateCompatibleDC(screen.get());
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen.get(), width, 3);
    memory.SelectObject(&bitmap);
    std::string expected, got;
    unsigned seed = 12345u + static_cast<unsigned>(width);
    for (int i = 0; i < 3 * width; ++i) {
      seed = seed * 1103515245u + 12345u;
      const bool key = i / width == 1 ? i % width < 20 : ((seed >> 16) % 3 == 0);
      memory.FillSolidRect(i % width, i / width, 1, 1, key ? 0 : RGB(10, 20, static_cast<BYTE>(i)));
      expected += key ? '.' : '#';
    }
    screen->FillSolidRect(0, 0, width, 3, kWhite);
    ASSERT_TRUE(screen->TransparentBlt(0, 0, width, 3, &memory, 0, 0, width, 3, 0));
    for (int i = 0; i < 3 * width; ++i) {
      const COLORREF c = RasterOf(*screen)->GetPixel(i % width, i / width);
      got += c == kWhite ? '.' : (c == RGB(10, 20, static_cast<BYTE>(i)) ? '#' : '?');
    }
    EXPECT_EQ(got, expected) << "width " << width;
  }
}

TEST(MemoryDC, DrawsNowhereUntilABitmapIsSelectedAndTheBitmapOutlivesIt) {
  auto screen = CDC::CreateRaster(8, 8);
  CDC memory;
  EXPECT_FALSE(memory.CreateCompatibleDC(nullptr));
  ASSERT_TRUE(memory.CreateCompatibleDC(screen.get()));
  CPen pen(PS_SOLID, 1, kInk);
  memory.SelectObject(&pen);
  EXPECT_FALSE(memory.LineTo(5, 0));
  CBitmap bitmap;
  EXPECT_FALSE(bitmap.CreateCompatibleBitmap(screen.get(), 0, 5) || bitmap.CreateCompatibleBitmap(nullptr, 5, 5) ||
               bitmap.CreateCompatibleBitmap(screen.get(), 100000, 100000));
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen.get(), 8, 8));
  EXPECT_EQ(bitmap.GetBitmapDimension(), CSize(8, 8));
  EXPECT_EQ(screen->SelectObject(&bitmap), nullptr) << "a screen DC takes no bitmap";
  memory.SelectObject(&bitmap);
  auto* layer = RasterOf(memory);
  EXPECT_EQ(layer->GetPixel(3, 3), RGB(0, 0, 0)) << "a new bitmap is black";
  memory.MoveTo(0, 0);
  EXPECT_TRUE(memory.LineTo(5, 0));
  EXPECT_TRUE(memory.DeleteDC());
  EXPECT_FALSE(memory.DeleteDC());
  EXPECT_EQ(Row(*layer, 0, 0, 8, kInk), "#####...");
}

}  // namespace
