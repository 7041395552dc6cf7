// Charts (frame, bar and curve) drawn on several threads at once, each on DCs of its own, while other threads call
// the free price-scale functions, the palette pool and the font machinery. Every thread's
// drawing must equal the same drawing made alone; under ThreadSanitizer (KELOCHART_TSAN)
// the shared pieces (palette pool, font cache, start-up counter, surface counters) must
// show no race.
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/bar/KeloBaseBar.h>
#include <kelochart/calculate/KeloChartCalculate.h>
#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/curve/KeloBaseCurve.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

namespace {

// A frame as a chart draws it: axes, price grid and labels, time grid and labels, reference
// lines and an underlined label, then a bar and a curve chart. Returns the recording's
// description.
std::string DrawFrame(int seed) {
  CKeloBaseChart chart;
  auto recording = CDC::CreateRecording(480, 320);
  auto raster = CDC::CreateRaster(240, 160);
  for (CDC* dc : {recording.get(), raster.get()}) {
    const CRect plot(40, 20, 440, 280);
    chart.DrawAxis(dc, plot);
    chart.DrawYGrid(dc, plot, 4, 0);
    chart.DrawJumpYGridText(dc, plot, 120.5 + seed % 3, 95.0, 100.0, 6, 0);
    chart.SetXInfor(
        std::vector<CKeloBaseChart::STimeString>{{90000, "09:00", 0}, {100000, "10:00", 0}, {110000, "11:00", 1}});
    chart.DrawXGridByTime(dc, plot, 133000, 90000, {{100000, 0}, {113000, 1}}, 0, 1, CKeloBaseChart::eTickMinute);
    chart.DrawXGridTextByTime(dc, plot, 133000, 90000, 1, CKeloBaseChart::eTickMinute);
    chart.DrawHorizontalText(dc, plot, 2000 + seed % 3, 1000, 4, 1, 1, 0, 0, 1, 0xFFFFFFFF);
    chart.DrawUnderlineString(dc, CRect(0, 0, 200, 20), 2, "12345", "K", 0);
    // The chart kinds, with their layer bitmaps and GDI+ paths.
    CKeloBaseBar bar;
    bar.DrawBarChart(dc, plot, 900 + seed % 3, 0, 20, {100, 400, 800, 300});
    CKeloBaseCurve curve;
    curve.DrawFigureCurve(dc, plot, 900 + seed % 3, 0, 20, {100, 400, 800, 300}, 0);
  }
  return kelo::test::Describe(kelo::surface::RecordingOf(*recording)->Log());
}

TEST(Threads, ChartsDrawnOnSeveralThreadsEqualChartsDrawnAlone) {
  constexpr int kRenderers = 4;
  constexpr int kRounds = 6;
  std::vector<std::string> alone;
  for (int seed = 0; seed < 3; ++seed) alone.push_back(DrawFrame(seed));

  std::atomic<bool> stop{false};
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kRenderers; ++t) {
    threads.emplace_back([&, t] {
      auto* pool = CKeloUIObjectSingletonPool::Instance();
      for (int round = 0; round < kRounds; ++round) {
        // Brushes as the curve and bar charts take them, first use included.
        for (unsigned i = 0; i < 64; ++i)
          pool->palette.GetGPBrushByIndex((i * 31 + t + round) % CKeloPalette::kColorTableSize);
        if (DrawFrame(t + round) != alone[static_cast<std::size_t>((t + round) % 3)]) ++mismatches;
      }
    });
  }
  // The free functions and shared services, called meanwhile.
  threads.emplace_back([&] {
    std::vector<std::int32_t> lines;
    for (std::int32_t p = 1000; !stop || p < 3000; p += 7) {
      KeloChartCalculate::GetReasonablePrice(p + 500, p, p - 500, 100, p % 17, lines);
      KeloUtility::Round(p / 1000.0, p % 4);
    }
  });
  threads.emplace_back([&] {
    auto* pool = CKeloUIObjectSingletonPool::Instance();
    for (unsigned i = 0; !stop || i < 3000; ++i) {
      pool->palette.GetGPBrushByIndex(i % CKeloPalette::kColorTableSize);
      GdiplusInitialize();
      GdiplusFinalize();
    }
  });
  threads.emplace_back([&] {
    auto dc = CDC::CreateRecording(10, 10);
    for (int i = 0; !stop || i < 300; ++i) {
      LOGFONT record;
      std::snprintf(record.lfFaceName, LF_FACESIZE, "Face %d", i % 100);  // evicts from the font cache
      CFont font;
      font.CreateFontIndirect(&record);
      CFont* previous = dc->SelectObject(&font);
      dc->GetTextExtent("09:30", 5);
      dc->SelectObject(previous);
    }
  });
  for (int t = 0; t < kRenderers; ++t) threads[static_cast<std::size_t>(t)].join();
  stop = true;
  for (std::size_t t = kRenderers; t < threads.size(); ++t) threads[t].join();
  EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
