// Text on the raster surface: clipping to the rectangle, line feeds, and hostile rectangles,
// font sizes and bytes. (Placement by the DT_ flags, opaque boxes, underline, weight and CJK fallback
// glyphs are pinned by the golden scene of ReplayTest; extents are compared in RecordingTest.)
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RasterBackend.h>

#include "PixelText.h"

namespace {

TEST(TextRaster, TextIsClippedToItsRectangleUnlessAskedNotToAndBreaksAtLineFeeds) {
  for (const UINT noClip : {0u, static_cast<UINT>(DT_NOCLIP)}) {
    auto dc = CDC::CreateRaster(160, 40);
    CRect narrow(20, 10, 34, 30);  // two characters of eight
    dc->DrawText("12345678", -1, &narrow, DT_SINGLELINE | noClip);
    const auto& r = *kelo::surface::RasterOf(*dc);
    EXPECT_GT(kelo::test::CountNot(r, RGB(255, 255, 255), 20, 10, 34, 30), 0);
    EXPECT_EQ(kelo::test::CountNot(r, RGB(255, 255, 255), 34, 0, 160, 40) > 0, noClip != 0) << noClip;
  }
  // A line feed breaks the line only without DT_SINGLELINE: "2" then lies below the first 14 rows.
  for (const UINT single : {0u, static_cast<UINT>(DT_SINGLELINE)}) {
    auto dc = CDC::CreateRaster(60, 60);
    CRect rect(0, 0, 60, 60);
    dc->DrawText("1\n2", -1, &rect, single);
    EXPECT_EQ(kelo::test::CountNot(*kelo::surface::RasterOf(*dc), RGB(255, 255, 255), 0, 15, 60, 60) > 0, single == 0);
  }
}

TEST(TextRaster, HostileRectanglesAndSizesDrawSafely) {
  auto dc = CDC::CreateRaster(40, 40);
  CRect huge(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  for (UINT format : {0u, DT_CENTER | DT_VCENTER | DT_SINGLELINE, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE}) {
    dc->DrawText("12.34", -1, &huge, format);
  }
  EXPECT_GT(kelo::test::CountNot(*kelo::surface::RasterOf(*dc), RGB(255, 255, 255)),
            0);  // the centred line crosses the image
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
  // A positive height is the text cell: its ascent and descent split it in the face's proportion.
  LOGFONT lf{};
  lf.lfHeight = 20;
  CFont cell;
  cell.CreateFontIndirect(&lf);
  auto centred = CDC::CreateRaster(40, 40);
  centred->SelectObject(&cell);
  CRect box(0, 0, 40, 40);
  centred->DrawText("8", -1, &box, DT_SINGLELINE | DT_VCENTER);
  const auto& ink = *kelo::surface::RasterOf(*centred);
  const COLORREF white = RGB(255, 255, 255);
  EXPECT_EQ(kelo::test::CountNot(ink, white, 0, 0, 40, 13) + kelo::test::CountNot(ink, white, 0, 26, 40, 40), 0);
  EXPECT_GT(kelo::test::CountNot(ink, white, 0, 13, 40, 26), 0) << "the ink lies on rows 13 to 25";
  const std::string invalid = "\xff\xfe\xc3(\xe5\xbc";  // broken UTF-8 becomes '?'
  EXPECT_GT(dc->GetTextExtent(CString(invalid.c_str())).cx, 0);
}

}  // namespace
