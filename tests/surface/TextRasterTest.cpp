// Text on the raster surface: placement by the DT_ flags, clipping to the rectangle, opaque
// boxes, underline and weight, and glyphs from a fallback face for CJK unit texts.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RasterBackend.h>

#include "PixelText.h"

namespace {

using kelo::surface::RasterOf;
using kelo::test::CountNot;

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Ink {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, count = 0;
  long darkness = 0;  // sum over the pixels of 255 - green
};

// The bounding box of the pixels that are not the background.
Ink InkOf(CDC& dc, COLORREF background = kWhite) {
  const auto& r = *RasterOf(dc);
  Ink ink;
  for (int y = 0; y < r.Height(); ++y) {
    for (int x = 0; x < r.Width(); ++x) {
      if (r.GetPixel(x, y) == background) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x + 1);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y + 1);
      ++ink.count;
      ink.darkness += 255 - GetGValue(r.GetPixel(x, y));
    }
  }
  return ink;
}

Ink Draw(const char* text, CRect rect, UINT format, int bkMode = TRANSPARENT, const LOGFONT* lf = nullptr) {
  auto dc = CDC::CreateRaster(160, 60);
  CFont font;
  if (lf != nullptr) {
    font.CreateFontIndirect(lf);
    dc->SelectObject(&font);
  }
  dc->SetBkMode(bkMode);
  dc->SetBkColor(RGB(255, 0, 0));
  dc->SetTextColor(RGB(0, 0, 0));
  dc->DrawText(text, -1, &rect, format);
  return InkOf(*dc);
}

TEST(TextRaster, PlacesTheLineByTheFormatFlags) {
  // "0000" is 28 x 14 pixels in the label font; the rectangle is 100 x 20.
  const CRect rect(10, 10, 110, 30);
  const Ink left = Draw("0000", rect, DT_SINGLELINE | DT_LEFT);
  ASSERT_GT(left.count, 0);
  EXPECT_GE(left.left, 10);
  EXPECT_LE(left.right, 10 + 28);
  struct Case {
    UINT format;
    int dx, dy;
  };
  const Case cases[] = {
      {DT_SINGLELINE | DT_CENTER, (10 + 110 - 28) / 2 - 10, 0},
      {DT_SINGLELINE | DT_RIGHT, 110 - 28 - 10, 0},
      {DT_SINGLELINE | DT_VCENTER, 0, (20 - 14) / 2},
      {DT_SINGLELINE | DT_BOTTOM, 0, 20 - 14},
      {DT_SINGLELINE | DT_VCENTER | DT_RIGHT, 110 - 28 - 10, 3},
      {DT_VCENTER | DT_BOTTOM, 0, 0},  // vertical placement needs DT_SINGLELINE
  };
  for (const Case& k : cases) {
    const Ink ink = Draw("0000", rect, k.format);
    EXPECT_EQ(ink.left - left.left, k.dx) << "format " << k.format;
    EXPECT_EQ(ink.top - left.top, k.dy) << "format " << k.format;
    EXPECT_EQ(ink.count, left.count) << "format " << k.format;
  }
}

TEST(TextRaster, ClipsOpaqueBoxesUnderlineBoldAndFallbackGlyphs) {
  const CRect narrow(20, 10, 34, 30);  // two characters of eight
  const Ink clipped = Draw("12345678", narrow, DT_SINGLELINE);
  EXPECT_TRUE(clipped.left >= 20 && clipped.right <= 34);
  EXPECT_GT(Draw("12345678", narrow, DT_SINGLELINE | DT_NOCLIP).right, 60);
  const Ink right = Draw("12345678", narrow, DT_SINGLELINE | DT_RIGHT);  // loses its left part
  EXPECT_TRUE(right.left >= 20 && right.right <= 34);
  EXPECT_EQ(Draw("12345678", CRect(20, 10, 20, 30), DT_SINGLELINE).count, 0);
  // Opaque mode fills the text box, 14 x 14 for "00", with the background colour.
  const Ink opaque = Draw("00", CRect(10, 10, 110, 40), DT_SINGLELINE | DT_CENTER | DT_VCENTER, OPAQUE);
  EXPECT_EQ(std::vector<int>({opaque.left, opaque.top, opaque.right, opaque.bottom, opaque.count}),
            std::vector<int>({53, 18, 67, 32, 14 * 14}));
  // The underline is one full row under the baseline across the advance width; bold is darker.
  LOGFONT plain{};
  plain.lfHeight = -12;
  LOGFONT underlined = plain, bold = plain;
  underlined.lfUnderline = 1;
  bold.lfWeight = FW_BOLD;
  const CRect rect(10, 10, 150, 30);
  const Ink a = Draw("1234", rect, DT_SINGLELINE, TRANSPARENT, &plain);
  const Ink u = Draw("1234", rect, DT_SINGLELINE, TRANSPARENT, &underlined);
  EXPECT_EQ(u.left, 10);
  EXPECT_EQ(u.right, 10 + 28);
  EXPECT_TRUE(u.bottom > a.bottom && u.bottom <= 10 + 14);
  EXPECT_GT(Draw("1234", rect, DT_SINGLELINE, TRANSPARENT, &bold).darkness, a.darkness * 5 / 4);
  // CJK characters come from a fallback face, a full em of the 12-pixel font each.
  const Ink zhang = Draw("張", rect, DT_SINGLELINE), yi = Draw("億", rect, DT_SINGLELINE);
  EXPECT_TRUE(zhang.count > 25 && yi.count > 25 && zhang.count != yi.count);
  EXPECT_LE(zhang.right, 10 + 12);
  const Ink mixed = Draw("12.5億", rect, DT_SINGLELINE);
  EXPECT_TRUE(mixed.right > 10 + 4 * 7 && mixed.right <= 10 + 4 * 7 + 12);
  // Line feeds break lines only without DT_SINGLELINE.
  EXPECT_GT(Draw("1\n2", CRect(10, 10, 150, 50), DT_LEFT).bottom - 10, 14);
  const Ink single = Draw("1\n2", CRect(10, 10, 150, 50), DT_SINGLELINE);
  EXPECT_TRUE(single.bottom - single.top <= 14 && single.right - single.left > 7);
}

TEST(TextRaster, HostileRectanglesAndSizesDrawSafely) {
  auto dc = CDC::CreateRaster(40, 40);
  CRect huge(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  for (UINT format : {0u, DT_CENTER | DT_VCENTER | DT_SINGLELINE, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE}) {
    dc->DrawText("12.34", -1, &huge, format);
  }
  EXPECT_GT(CountNot(*RasterOf(*dc), kWhite), 0);  // the centred line crosses the image
  CRect far(INT_MAX - 5, 0, INT_MAX, 20);
  dc->DrawText("12.34", -1, &far, DT_NOCLIP);
  for (LONG height : {INT_MIN, -100000, 100000, INT_MAX}) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = INT_MAX;
    CFont font;
    font.CreateFontIndirect(&lf);
    dc->SelectObject(&font);
    CRect r(0, 0, 40, 40);
    dc->DrawText("8", -1, &r, DT_SINGLELINE);
    const CSize extent = dc->GetTextExtent("8");
    EXPECT_GT(extent.cx, 0);
    EXPECT_GT(extent.cy, 0);
  }
  const std::string invalid = "\xff\xfe\xc3(\xe5\xbc";  // broken UTF-8 becomes '?'
  EXPECT_GT(dc->GetTextExtent(CString(invalid.c_str())).cx, 0);
}

}  // namespace
