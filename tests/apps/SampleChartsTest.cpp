// Whole-chart golden images: the sample charts drawn straight onto a raster and through a
// recording replayed onto a raster must both match the blessed pictures.
#include <gtest/gtest.h>

#include "GoldenImage.h"
#include "SampleCharts.h"

namespace {

using namespace kelo::samples;

struct Sample {
  const char* name;
  int width;
  int height;
  void (*draw)(CDC*);
};

void DrawIntraday(CDC* dc) {
  SampleInstrument stock;
  DrawIntradayFrameSample(dc, stock, ComputePriceAxis(stock));
}

const Sample kSamples[] = {
    {"sample_frame", kFrameWidth, kFrameHeight, DrawFrameSample},
    {"sample_intraday_frame", kIntradayWidth, kIntradayHeight, DrawIntraday},
};

TEST(GoldenSampleCharts, DirectAndReplayedDrawingsMatchTheBlessedImages) {
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.name);
    auto raster = CDC::CreateRaster(sample.width, sample.height);
    sample.draw(raster.get());
    EXPECT_TRUE(kelo::test::MatchesGolden(*raster, sample.name));

    auto recording = CDC::CreateRecording(sample.width, sample.height);
    sample.draw(recording.get());
    EXPECT_TRUE(kelo::test::MatchesGolden(*recording, sample.name));
  }
}

}  // namespace
