// The size limits of the surface: surfaces past them are refused, a recording stops growing
// at its record limit, the font cache keeps a bounded number of logical fonts.
#include <climits>
#include <cstdio>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

#include "surface/Limits.h"

namespace {

TEST(SizeLimits, SurfacesAndBitmapsPastTheLimitAreRefused) {
  struct Case {
    int width, height;
    bool made;
  };
  const Case cases[] = {{16384, 4096, true}, {16385, 1, false}, {8193, 8192, false},      {0, 10, false},
                        {-1, 10, false},     {10, 0, false},    {INT_MAX, INT_MAX, false}};
  auto screen = CDC::CreateRecording(10, 10);
  for (const Case& c : cases) {
    EXPECT_EQ(CDC::CreateRecording(c.width, c.height) != nullptr, c.made) << c.width << "x" << c.height;
    CBitmap bitmap;
    EXPECT_EQ(bitmap.CreateCompatibleBitmap(screen.get(), c.width, c.height) != FALSE, c.made);
    if (!c.made) {
      EXPECT_EQ(CDC::CreateRaster(c.width, c.height), nullptr);
    }
  }
  EXPECT_EQ(kelo::surface::RecordingBackend(-5, 10).Width(), 0) << "a recording made directly: no width";
}

TEST(SizeLimits, ARecordingStopsAtItsRecordLimitAndCountsTheRest) {
  auto dc = CDC::CreateRecording(10, 10);
  const std::size_t limit = kelo::surface::detail::kMaxRecords;
  for (std::size_t i = 0; i < limit + 3; ++i) dc->FillSolidRect(0, 0, 1, 1, 0);
  auto* recording = kelo::surface::RecordingOf(*dc);
  EXPECT_EQ(recording->Records().size(), limit);
  EXPECT_EQ(recording->Log().size(), limit);
  EXPECT_EQ(recording->Dropped(), 3u);
  recording->Clear();
  dc->FillSolidRect(0, 0, 1, 1, 0);
  EXPECT_EQ(recording->Records().size(), 1u);
}

TEST(SizeLimits, TheFontCacheKeepsABoundedNumberOfFaceNames) {
  auto dc = CDC::CreateRecording(10, 10);
  for (int i = 0; i < 200; ++i) {
    LOGFONT record;
    std::snprintf(record.lfFaceName, LF_FACESIZE, "No Such Face %d", i);
    CFont font;
    font.CreateFontIndirect(&record);
    CFont* previous = dc->SelectObject(&font);
    EXPECT_GT(dc->GetTextExtent("12", 2).cx, 0);
    dc->SelectObject(previous);
  }
  EXPECT_LE(kelo::surface::detail::CachedFontFamilies(), kelo::surface::detail::kMaxFontFamilies);
}

}  // namespace
