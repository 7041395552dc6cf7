// Golden images of the bar charts, drawn straight onto a raster and through a recording
// replayed onto one (the volume lines' slots are checked in TickVolumeTest).
#include "BarPictures.h"
#include "GoldenImage.h"

namespace {

using namespace kelo::pictures;

TEST(BarPictures, DirectAndReplayedDrawingsMatchTheBlessedImages) {
  struct Picture {
    const char* name;
    int width, height;
    void (*draw)(CDC*);
  };
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

}  // namespace
