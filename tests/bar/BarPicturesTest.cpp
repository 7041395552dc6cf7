// Golden images of the bar charts, drawn straight onto a raster and through a recording
// replayed onto one, and the volume lines checked to stand under their price slots.
#include "../../bench/BarPictures.h"
#include "BarTestSupport.h"
#include "GoldenImage.h"

namespace {

using namespace kelo::pictures;

TEST(BarPictures, DirectAndReplayedDrawingsMatchTheBlessedImages) {
  struct Picture { const char* name; int width, height; void (*draw)(CDC*); };
  const Picture pictures[] = {{"bar_intraday_volume", kPaneWidth, 420, DrawIntradayVolume},
                              {"bar_by_ratio", kPaneWidth, 200, DrawByRatioVolume},
                              {"bar_inner_outer", kPaneWidth, 360, DrawInnerOuter},
                              {"bar_updown", 600, 300, DrawUpDown},
                              {"bar_groups", 600, 300, DrawGroups}};
  for (const Picture& p : pictures) {
    SCOPED_TRACE(p.name);
    auto raster = CDC::CreateRaster(p.width, p.height);
    p.draw(raster.get());
    EXPECT_TRUE(kelo::test::MatchesGolden(*raster, p.name));
    auto recording = CDC::CreateRecording(p.width, p.height);
    p.draw(recording.get());
    EXPECT_TRUE(kelo::test::MatchesGolden(*recording, p.name, 0));
  }
}

TEST(BarPictures, EveryVolumeLineStandsUnderItsPriceSlot) {
  auto dc = CDC::CreateRecording(kPaneWidth, 420);
  DrawIntradayVolume(dc.get());
  const auto& log = kelo::test::LogOf(*dc);
  const auto ticks = kelo::test::Ticks(log);
  CKeloBaseChart price;
  const auto samples = IntradaySamples(270);
  const std::size_t first = ticks.size() - samples.size();  // the price path comes first
  for (std::size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(ticks[first + i].x0, price.GetXPosByTime(CRect(60, 12, 600, 240), kClose, kOpen, samples[i].time,
                                                       CKeloBaseChart::eTickMinute, 0)) << i;
  }
}

}  // namespace
