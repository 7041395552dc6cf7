// The K-line object on a recording and on a raster: sixty trading days of alternating candles
// drawn evenly with their volume bars under them, and a live feed's tail repaint giving the
// same pixels as a full paint.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include <kelochart/kline/KeloKLine.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/surface/RasterBackend.h>

#include "RecordHelpers.h"

namespace {

using kelo::surface::FillRectRecord;

// Sixty weekdays from Monday 2026-09-07, up on even days and down on odd ones.
std::vector<KeloKLine::SKBar> Alternating(int count) {
  std::vector<KeloKLine::SKBar> bars;
  std::int32_t day = KeloKLine::DayNumber(20260907);
  for (int i = 0; static_cast<int>(bars.size()) < count; ++day) {
    const std::int32_t date = KeloKLine::DateOfDay(day);
    if (KeloKLine::Weekday(date) >= 5) continue;
    const bool up = i++ % 2 == 0;
    const std::int32_t base = 5000 + (i % 7) * 20;
    bars.push_back({date, 0, up ? base : base + 60, base + 80, base - 20, up ? base + 60 : base, 1000 + i * 10});
  }
  return bars;
}

TEST(KLineChart, SixtyAlternatingDaysDrawSixtyCandlesEvenlyWithTheirVolumeBelow) {
  const COLORREF up = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kUpBarColor];
  const COLORREF down = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kDownBarColor];
  auto dc = CDC::CreateRecording(800, 600);
  CKeloKLine chart;
  chart.SetFontSize(14, 7);
  chart.SetOverlays(0);
  const auto bars = Alternating(60);
  chart.SetBars(bars);
  chart.DrawKLine(dc.get(), CRect(0, 0, 800, 600));

  // Bodies are the fills wider than a pixel in the price pane; volume bars those standing on the
  // volume pane's bottom. Both keyed by their centre column.
  std::vector<FillRectRecord> bodies, volumes;
  for (const FillRectRecord& f : kelo::test::Fills(kelo::test::LogOf(*dc))) {
    if ((f.color != up && f.color != down) || f.rect.Width() < 2) continue;
    (f.rect.top < 300 && f.rect.bottom < 400 ? bodies : volumes).push_back(f);
  }
  ASSERT_EQ(bodies.size(), 60u) << kelo::test::Describe(kelo::test::LogOf(*dc));
  ASSERT_EQ(volumes.size(), 60u);
  std::map<int, int> steps;
  for (std::size_t i = 0; i < 60; ++i) {
    const int centre = (bodies[i].rect.left + bodies[i].rect.right - 1) / 2;
    EXPECT_EQ(bodies[i].color, i % 2 == 0 ? up : down) << "candle " << i;
    EXPECT_EQ(centre, chart.GetXPosByIndex(i));
    EXPECT_EQ(volumes[i].rect.left, bodies[i].rect.left) << "volume bar " << i << " under its candle";
    EXPECT_EQ(volumes[i].rect.right, bodies[i].rect.right);
    EXPECT_EQ(volumes[i].color, bodies[i].color);
    if (i > 0) ++steps[centre - chart.GetXPosByIndex(i - 1)];
  }
  // 730 pixels over 60 slots: centres 12 or 13 apart, weekends or not.
  EXPECT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps.begin()->first, 12);
  EXPECT_EQ(steps.rbegin()->first, 13);
}

TEST(KLineChart, AFlatMacdHistogramStandsOnZeroInTheUpColour) {
  const COLORREF up = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kUpBarColor];
  const COLORREF down = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kDownBarColor];
  auto bars = Alternating(40);  // flat: the candles and volume bars take the neutral colour
  for (KeloKLine::SKBar& b : bars) b.open = b.high = b.low = b.close = 5000;
  CKeloKLine chart;
  chart.SetLowerPane(CKeloKLine::eLowerMACD);
  chart.SetBars(bars);
  auto dc = CDC::CreateRecording(400, 300);
  chart.DrawKLine(dc.get(), CRect(0, 0, 400, 300));
  int ups = 0;
  for (const FillRectRecord& f : kelo::test::Fills(kelo::test::LogOf(*dc))) {
    EXPECT_NE(f.color, down) << f.rect;
    ups += f.color == up && f.rect.Height() == 1 ? 1 : 0;
  }
  EXPECT_GT(ups, 0);
}

TEST(KLineChart, RsiPaneDrawsTheSixAndTwelveBarLinesInTheirPens) {
  const auto& palette = CKeloUIObjectSingletonPool::Instance()->palette.colorTable;
  CKeloKLine chart;
  chart.SetOverlays(0);
  chart.SetLowerPane(CKeloKLine::eLowerRSI);
  chart.SetBars(Alternating(60));
  auto dc = CDC::CreateRecording(800, 600);
  chart.DrawKLine(dc.get(), CRect(0, 0, 800, 600));
  const auto strokes = kelo::test::Strokes(kelo::test::LogOf(*dc));
  ASSERT_EQ(strokes.size(), 2u);
  // Each line starts at the first bar with a whole period of changes before it.
  for (const auto& [stroke, entry, first] : {std::tuple{strokes[0], 1738, 6}, {strokes[1], 1676, 12}}) {
    EXPECT_EQ(stroke.pen.argb, palette[entry]) << first;
    EXPECT_EQ(stroke.path.figures.at(0).points.at(0).x, static_cast<float>(chart.GetXPosByIndex(first)));
  }
}

// How two rasters differ: the pixels that differ and the largest difference of a channel.
struct Difference {
  int pixels = 0;
  int largest = 0;
};
Difference Compare(CDC& a, CDC& b, int width, int height) {
  const auto *ra = kelo::surface::RasterOf(a), *rb = kelo::surface::RasterOf(b);
  Difference d;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pa = ra->GetPixelArgb(x, y), pb = rb->GetPixelArgb(x, y);
      if (pa == pb) continue;
      ++d.pixels;
      for (int shift : {0, 8, 16}) {
        const int ca = static_cast<int>((pa >> shift) & 255), cb = static_cast<int>((pb >> shift) & 255);
        d.largest = std::max(d.largest, std::abs(ca - cb));
      }
    }
  }
  return d;
}

TEST(KLineChart, ALiveFeedRepaintsTheTailToTheSamePixelsAsAFullPaint) {
  struct Case {
    int width, height, visible;
    CKeloKLine::ELowerPane lower;
    std::uint32_t overlays;
    bool hollow;
  };
  const Case cases[] = {
      {800, 600, 80, CKeloKLine::eLowerKD, CKeloKLine::eOverlayMA | CKeloKLine::eOverlayVolumeMA, false},
      {400, 300, 90, CKeloKLine::eLowerMACD, CKeloKLine::eOverlayBollinger, true},
      {400, 300, 200, CKeloKLine::eLowerRSI, CKeloKLine::eOverlayMA, false},  // under 3 pixels a slot
  };
  for (const Case& c : cases) {
    auto bars = Alternating(70);
    const CRect rect(0, 0, c.width, c.height);
    auto setUp = [&](CKeloKLine& k) {
      k.SetFontSize(14, 7);
      k.SetVisibleCount(c.visible);
      k.SetLowerPane(c.lower);
      k.SetOverlays(c.overlays);
      k.SetHollowUp(c.hollow);
    };
    CKeloKLine live;
    setUp(live);
    live.SetBars({bars.begin(), bars.end() - 1});
    auto screen = CDC::CreateRaster(c.width, c.height);
    live.DrawEasyKLine(screen.get(), rect);
    // A new bar, then two ticks of it within the range: each repaints the tail only.
    KeloKLine::SKBar last = bars.back();
    live.AppendBar(last);
    EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintTail);
    last.close = last.low + 10;
    live.UpdateLastBar(last);
    EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintTail);
    last.close = last.high - 10;
    live.UpdateLastBar(last);
    live.DrawEasyKLine(screen.get(), rect);
    bars.back() = last;

    CKeloKLine whole;
    setUp(whole);
    whole.SetBars(bars);
    auto reference = CDC::CreateRaster(c.width, c.height);
    whole.DrawEasyKLine(reference.get(), rect);
    // Candles, bars, grid and axes are solid rectangles and lines and come out the same; cairo's
    // coverage of an anti-aliased line's edge depends a little on the whole path it belongs to,
    // so the lines' edge pixels may differ by a few levels (a clip half a pixel off made 100).
    const Difference d = Compare(*screen, *reference, c.width, c.height);
    EXPECT_LE(d.largest, 16) << c.width << "x" << c.height << ", " << d.pixels << " pixels differ";
    EXPECT_LT(d.pixels * 1000, c.width * c.height) << c.width << "x" << c.height;

    // A new high moves the price axis: everything is repainted.
    last.high += 2000;
    live.UpdateLastBar(last);
    EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintFull);
    EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintNone);
  }
}

TEST(KLineChart, TheLayerRepaintsWhatItHasNotSeen) {
  const CRect rect(0, 0, 400, 300);
  CKeloKLine live;
  auto screen = CDC::CreateRaster(400, 300);
  live.UpdateKLine(screen.get(), rect);
  live.AppendBar(Alternating(1)[0]);  // the first bar of an empty chart
  EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintFull);
  live.SetBars(Alternating(30));
  live.DrawKLine(screen.get(), rect);  // painted directly, not into the layer
  EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintFull);
  EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintNone);
  // A change in the first bar shown is still a tail; with two shown it repaints from the first.
  auto bars = Alternating(30);
  bars.back().close = bars.back().low + 10;
  for (const std::int32_t visible : {1, 2}) {
    live.SetVisibleCount(visible);
    live.UpdateKLine(screen.get(), rect);
    live.UpdateLastBar(bars.back());
    EXPECT_EQ(live.UpdateKLine(screen.get(), rect), CKeloKLine::eRepaintTail);
    live.DrawEasyKLine(screen.get(), rect);
    CKeloKLine whole;
    whole.SetVisibleCount(visible);
    whole.SetBars(bars);
    auto reference = CDC::CreateRaster(400, 300);
    whole.DrawEasyKLine(reference.get(), rect);
    EXPECT_LE(Compare(*screen, *reference, 400, 300).largest, 16) << visible;
    live.UpdateLastBar(Alternating(30).back());
  }
}

TEST(KLineChart, HostileBarsRectanglesAndCountsDrawWithoutFault) {
  const std::vector<KeloKLine::SKBar> extreme = {{20261203, 0, INT32_MAX, INT32_MAX, 1, 1, INT64_MAX},
                                                 {20261204, 0, 1, INT32_MAX, 1, INT32_MAX, INT64_MAX}};
  struct Case {
    std::vector<KeloKLine::SKBar> bars;
    CRect rect;
    std::int32_t visible;
  };
  const Case cases[] = {
      {extreme, CRect(0, 0, 300, 200), 0},
      {extreme, CRect(0, 0, 300, 200), INT32_MAX},
      {Alternating(5), CRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 0},
      {Alternating(5), CRect(10, 10, 12, 12), 3},
      {{}, CRect(0, 0, 300, 200), 0},
  };
  for (const Case& c : cases) {
    for (auto lower : {CKeloKLine::eLowerKD, CKeloKLine::eLowerMACD, CKeloKLine::eLowerRSI}) {
      auto dc = CDC::CreateRaster(300, 200);
      CKeloKLine chart;
      chart.SetOverlays(CKeloKLine::eOverlayMA | CKeloKLine::eOverlayBollinger | CKeloKLine::eOverlayVolumeMA);
      chart.SetLowerPane(lower);
      chart.SetVisibleCount(c.visible);
      chart.SetBars(c.bars);
      chart.DrawKLine(dc.get(), c.rect);
      EXPECT_EQ(chart.GetXPosByIndex(99), -1);
    }
  }
}

}  // namespace
