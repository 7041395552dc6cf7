// A copy costs what it shows: a copy onto an SVG or PDF page embeds only the window of the
// source it reads, a copy of pixels onto a recording keeps only that window (shared by copies
// of the same unchanged pixels), and the recording counts the bytes it keeps. The smallest
// call that showed each fault: ten one-pixel copies out of a 4096 x 4096 raster bitmap.
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>
#include <kelochart/surface/VectorBackend.h>

#include "RecordHelpers.h"

namespace {

using kelo::surface::RasterOf;
using kelo::surface::RecordingOf;
using kelo::surface::VectorBackend;

// A large layer bitmap with a different colour in each 64-pixel band, so that an image of it
// does not compress to nothing.
std::unique_ptr<CDC> LargeSource() {
  auto source = CDC::CreateRaster(4096, 4096);
  for (int i = 0; i < 64; ++i) source->FillSolidRect(0, i * 64, 4096, 64, RGB(i * 3, 255 - i, i * 2));
  return source;
}

void TenOnePixelCopies(CDC& target, CDC& source) {
  for (int i = 0; i < 10; ++i) target.BitBlt(i * 10, 20, 1, 1, &source, 100 + i, 100 + i * 64, SRCCOPY);
}

TEST(CopyCost, ACopyOntoAVectorPageEmbedsOnlyTheWindowItReads) {
  auto source = LargeSource();
  for (VectorBackend::Format format : {VectorBackend::Format::kSvg, VectorBackend::Format::kPdf}) {
    auto empty = std::make_shared<VectorBackend>(format, 800, 600);
    const std::size_t emptyBytes = empty->Finish().size();
    auto page = std::make_shared<VectorBackend>(format, 800, 600);
    auto dc = CDC::FromBackend(page);
    TenOnePixelCopies(*dc, *source);
    const std::size_t bytes = page->Finish().size();
    // A one-pixel image and its placement take well under a kilobyte; the whole bitmap, even
    // compressed, took 80 KB a copy.
    EXPECT_LT(bytes - emptyBytes, 10u * 1024) << (format == VectorBackend::Format::kSvg ? "SVG" : "PDF");
  }
}

TEST(CopyCost, ACopyOfPixelsOntoARecordingKeepsOnlyTheWindowAndReplaysTheSamePixels) {
  auto source = LargeSource();
  auto recording = CDC::CreateRecording(800, 600);
  TenOnePixelCopies(*recording, *source);
  // Ten records holding one pixel each (a whole copy of the source was 64 MB a copy).
  EXPECT_LT(RecordingOf(*recording)->Bytes(), 10u * 1024);
  const auto blits = kelo::test::Blits(RecordingOf(*recording)->Records());
  ASSERT_EQ(blits.size(), 10u);
  EXPECT_EQ(blits[3].sourceName, "pixels");
  auto direct = CDC::CreateRaster(800, 600);
  TenOnePixelCopies(*direct, *source);
  auto replayed = CDC::CreateRaster(800, 600);
  kelo::surface::Replay(RecordingOf(*recording)->Records(), *replayed->GetBackend());
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(RasterOf(*replayed)->GetPixel(i * 10, 20), RasterOf(*direct)->GetPixel(i * 10, 20)) << i;
    const int band = (100 + i * 64) / 64;
    EXPECT_EQ(RasterOf(*replayed)->GetPixel(i * 10, 20), RGB(band * 3, 255 - band, band * 2)) << i;
  }
}

TEST(CopyCost, CopiesOfTheSameUnchangedPixelsShareOneKeptSnapshot) {
  auto layer = CDC::CreateRaster(400, 300);
  layer->FillSolidRect(0, 0, 400, 300, RGB(10, 20, 30));
  auto recording = CDC::CreateRecording(400, 300);
  auto* log = RecordingOf(*recording);
  recording->BitBlt(0, 0, 400, 300, layer.get(), 0, 0, SRCCOPY);
  const std::uint64_t oneCopy = log->Bytes();
  recording->BitBlt(0, 0, 400, 300, layer.get(), 0, 0, SRCCOPY);    // unchanged: shared
  recording->BitBlt(10, 10, 50, 50, layer.get(), 10, 10, SRCCOPY);  // inside the kept window: shared
  layer->FillSolidRect(0, 0, 1, 1, RGB(1, 1, 1));
  recording->BitBlt(0, 0, 400, 300, layer.get(), 0, 0, SRCCOPY);  // changed: a new copy
  const auto blits = kelo::test::Blits(log->Records());
  ASSERT_EQ(blits.size(), 4u);
  EXPECT_EQ(blits[0].source, blits[1].source);
  EXPECT_EQ(blits[0].source, blits[2].source);
  EXPECT_NE(blits[0].source, blits[3].source);
  // The pixels are counted once per kept copy: 400 x 300 x 4 bytes each.
  EXPECT_GE(oneCopy, 400u * 300 * 4);
  EXPECT_LT(log->Bytes() - 2 * oneCopy, 1024u);
}

}  // namespace
