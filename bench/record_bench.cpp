// A day of seconds drawn as a curve one segment a call, as the curve objects draw it: 86,400
// anti-aliased Graphics::DrawLine calls under a clip region, recorded versus painted on the
// raster backend. The records share the clip, so recording a segment costs a record, not a
// copy of the clip path.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RecordingBackend.h>

namespace {

constexpr int kW = 800;
constexpr int kH = 600;
constexpr int kSegments = 86400;

// A wandering price across the plot, one point a second.
const std::vector<Gdiplus::PointF>& DayOfSeconds() {
  static const std::vector<Gdiplus::PointF> points = [] {
    std::vector<Gdiplus::PointF> out;
    for (int i = 0; i <= kSegments; ++i) {
      const double t = static_cast<double>(i) / kSegments;
      const double y = kH / 2.0 + 200.0 * std::sin(t * 37.0) * std::cos(t * 5.0);
      out.emplace_back(static_cast<float>(10.0 + (kW - 20.0) * t), static_cast<float>(y));
    }
    return out;
  }();
  return points;
}

void DrawClippedSegments(CDC* dc) {
  Gdiplus::Graphics g(dc);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  const Gdiplus::Region plot(Gdiplus::Rect(20, 20, kW - 40, kH - 40));
  g.SetClip(&plot);
  Gdiplus::Pen pen(Gdiplus::Color(255, 255, 255, 0), 1.0f);
  const auto& p = DayOfSeconds();
  for (std::size_t i = 1; i < p.size(); ++i) g.DrawLine(&pen, p[i - 1], p[i]);
}

void BM_ClippedSegments_Recording(benchmark::State& state) {
  auto dc = CDC::CreateRecording(kW, kH);
  for (auto _ : state) {
    kelo::surface::RecordingOf(*dc)->Clear();
    DrawClippedSegments(dc.get());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}

void BM_ClippedSegments_Raster(benchmark::State& state) {
  auto dc = CDC::CreateRaster(kW, kH);
  for (auto _ : state) {
    DrawClippedSegments(dc.get());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}

}  // namespace

BENCHMARK(BM_ClippedSegments_Recording)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClippedSegments_Raster)->Unit(benchmark::kMillisecond);
