// Reused image and scanline buffers must never let one picture's pixels into the next.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <kelochart/surface/RasterBackend.h>

#include "surface/Png.h"

namespace {

using kelo::surface::RasterBackend;
using namespace kelo::surface::detail;

std::vector<std::uint8_t> Encode(const RasterBackend& r) {
  std::vector<std::uint8_t> png;
  EXPECT_TRUE(EncodeArgb32Png(r.Data(), r.Width(), r.Height(), r.Stride(), PngSettings{}, png));
  return png;
}

// Sizes on both sides of the heap/mapped boundary, a thumbnail and a full chart.
TEST(LargeBuffer, AReusedSurfaceStartsWholeInItsBackgroundAndEncodesAsAFreshOne) {
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{16, 16}, {400, 300}, {800, 600}, {801, 601}}) {
    std::vector<std::uint8_t> first;
    {
      RasterBackend plain(w, h, 0x102030);
      first = Encode(plain);
    }
    {
      RasterBackend noisy(w, h, 0xFFFFFF);  // leaves white pixels in the buffer it gives back
      noisy.FillSolidRect(CRect(0, 0, w / 2, h / 2), 0x0000FF);
      EXPECT_NE(Encode(noisy), first) << w << "x" << h;
    }
    RasterBackend again(w, h, 0x102030);
    EXPECT_EQ(again.GetPixel(0, 0), 0x102030u) << w << "x" << h;
    EXPECT_EQ(again.GetPixel(w - 1, h - 1), 0x102030u) << w << "x" << h;
    EXPECT_EQ(Encode(again), first) << w << "x" << h;
  }
}

}  // namespace
