// Whole curve charts against their blessed pictures, drawn straight onto a raster and through
// a recording replayed onto a raster: the intraday price pane, a curve group, an XY chart.
#include <gtest/gtest.h>

#include "CurveSamples.h"
#include "GoldenImage.h"

namespace {

using namespace kelo::samples::curve;

void PricePane(CDC* dc) {
  Curve chart;
  DrawPricePane(dc, chart, SampleTradingDay(false));
}

struct Sample {
  const char* name;
  int width, height;
  void (*draw)(CDC*);
};

TEST(GoldenCurveCharts, DirectAndReplayedDrawingsMatchTheBlessedImages) {
  const Sample samples[] = {{"curve_price_pane", kPaneWidth, kPaneHeight, PricePane},
                            {"curve_group", kGroupWidth, kGroupHeight, DrawCurveGroupSample},
                            {"curve_xy", kXYWidth, kXYHeight, DrawXYSample}};
  for (const Sample& s : samples) {
    SCOPED_TRACE(s.name);
    auto raster = CDC::CreateRaster(s.width, s.height);
    s.draw(raster.get());
    raster->WritePng(kelo::test::TestOutDir() + "/" + s.name + ".png");
    EXPECT_TRUE(kelo::test::MatchesGolden(*raster, s.name));
    auto recording = CDC::CreateRecording(s.width, s.height);
    s.draw(recording.get());
    EXPECT_TRUE(kelo::test::MatchesGolden(*recording, s.name, 0));
  }
}

}  // namespace
