#include "GoldenImage.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include <kelochart/surface/RecordingBackend.h>

#include "surface/Png.h"

#ifndef KELOCHART_GOLDEN_DIR
#define KELOCHART_GOLDEN_DIR "tests/golden"
#endif
#ifndef KELOCHART_TEST_OUT_DIR
#define KELOCHART_TEST_OUT_DIR "test-out"
#endif

namespace kelo::test {

using kelo::surface::RasterBackend;

namespace {

int Channel(std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

bool Close(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  }
  return true;
}

// Pixels of a raster as straight ARGB (the surfaces are opaque, so premultiplied = straight).
std::uint32_t Pixel(const RasterBackend& image, int x, int y) {
  const auto* row =
      reinterpret_cast<const std::uint32_t*>(image.Data() + static_cast<std::ptrdiff_t>(y) * image.Stride());
  return row[x];
}

}  // namespace

std::string TestOutDir() {
  const std::string dir = KELOCHART_TEST_OUT_DIR;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir;
}

int CountDifferentPixels(const RasterBackend& a, const RasterBackend& b, int tolerance) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int count = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (!Close(Pixel(a, x, y), Pixel(b, x, y), tolerance)) ++count;
    }
  }
  return count;
}

::testing::AssertionResult MatchesGolden(const RasterBackend& image, const std::string& name, int tolerance) {
  const std::string golden = std::string(KELOCHART_GOLDEN_DIR) + "/" + name + ".png";
  const char* bless = std::getenv("KELOCHART_BLESS");
  if (bless != nullptr && std::string(bless) == "1") {
    if (!image.WritePng(golden)) return ::testing::AssertionFailure() << "cannot write " << golden;
    return ::testing::AssertionSuccess() << "blessed " << golden;
  }
  kelo::surface::detail::PngImage expected;
  const std::string out = TestOutDir() + "/" + name + ".out.png";
  if (!kelo::surface::detail::ReadPng(golden, expected)) {
    image.WritePng(out);
    return ::testing::AssertionFailure() << "no golden image " << golden << " (drawn: " << out
                                         << "; run with KELOCHART_BLESS=1 to create it)";
  }
  if (expected.width != image.Width() || expected.height != image.Height()) {
    image.WritePng(out);
    return ::testing::AssertionFailure() << "golden " << golden << " is " << expected.width << "x" << expected.height
                                         << ", drawn " << image.Width() << "x" << image.Height() << " (" << out << ")";
  }
  int bad = 0, firstX = -1, firstY = -1;
  RasterBackend diff(image.Width(), image.Height(), RGB(0, 0, 0));  // differing pixels in red
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const std::size_t i =
          static_cast<std::size_t>(y) * static_cast<std::size_t>(expected.width) + static_cast<std::size_t>(x);
      if (Close(Pixel(image, x, y) | 0xFF000000u, expected.pixels[i], tolerance)) continue;
      if (bad++ == 0) firstX = x, firstY = y;
      diff.FillSolidRect(CRect(x, y, x + 1, y + 1), RGB(255, 0, 0));
    }
  }
  if (bad == 0) return ::testing::AssertionSuccess();
  const std::string diffPath = TestOutDir() + "/" + name + ".diff.png";
  image.WritePng(out);
  diff.WritePng(diffPath);
  return ::testing::AssertionFailure() << bad << " pixels differ from " << golden << " by more than " << tolerance
                                       << " (first at " << firstX << ", " << firstY << "); see " << out << " and "
                                       << diffPath;
}

::testing::AssertionResult MatchesGolden(CDC& dc, const std::string& name, int tolerance) {
  kelo::surface::SurfaceBackend* backend = dc.GetBackend();
  if (backend == nullptr) return ::testing::AssertionFailure() << "the DC draws nowhere";
  if (auto* raster = dynamic_cast<RasterBackend*>(backend)) return MatchesGolden(*raster, name, tolerance);
  if (auto* recording = dynamic_cast<kelo::surface::RecordingBackend*>(backend)) {
    const auto snapshot = recording->Snapshot();
    RasterBackend raster(snapshot.width, snapshot.height, snapshot.initial);
    kelo::surface::Replay(snapshot.records, raster);
    return MatchesGolden(raster, name, tolerance);
  }
  return ::testing::AssertionFailure() << "cannot read the pixels of this surface";
}

}  // namespace kelo::test
