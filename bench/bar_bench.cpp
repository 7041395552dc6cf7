// Costs of the bar charts against their floors, side by side in one run: the intraday volume
// pane (270 one-minute and 86,400 one-second samples) against raw cairo stroking the same
// lines on the same image, and BindBmp of an 800 x 600 three-layer grouped chart against a
// plain memcpy of the same pixels.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstring>
#include <vector>

#include <kelochart/bar/KeloBaseBar.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>

#include "BarPictures.h"

namespace {

using namespace kelo::pictures;

constexpr int kW = 800, kH = 200;
const CRect kPlot(60, 10, 780, 190);

struct Pane {
  std::vector<Bar::STickVolume> samples;
  Bar::SDrawRange range;
  CKeloBaseChart::ETickType step;
};

Pane MakePane(int count) {
  if (count == 270) return {IntradaySamples(270), {kOpen, kClose, 0, 4000, kClose, 0}, CKeloBaseChart::eTickMinute};
  // A whole day in one-second slots.
  return {IntradaySamples(count, 1, 0), {0, 240000, 0, 4000, 240000, 0}, static_cast<CKeloBaseChart::ETickType>(1)};
}

void BM_VolumePane_Bar(benchmark::State& state) {
  const Pane pane = MakePane(static_cast<int>(state.range(0)));
  auto dc = CDC::CreateRaster(kW, kH);
  Bar bar;
  for (auto _ : state) {
    bar.DrawTickVolume(dc.get(), kPlot, pane.range, pane.samples, pane.step);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same lines, their ends taken from a recording of the chart, stroked by cairo directly on
// the chart's own image with the same pen, anti-aliasing and pixel-centre offset.
void BM_VolumePane_RawCairo(benchmark::State& state) {
  const Pane pane = MakePane(static_cast<int>(state.range(0)));
  auto recording = CDC::CreateRecording(kW, kH);
  Bar bar;
  bar.DrawTickVolume(recording.get(), kPlot, pane.range, pane.samples, pane.step);
  std::vector<kelo::surface::PointF> ends;
  for (const auto& r : kelo::surface::RecordingOf(*recording)->Log()) {
    if (const auto* s = std::get_if<kelo::surface::StrokePathRecord>(&r.op)) {
      ends.push_back(s->path.figures[0].points[0]);
      ends.push_back(s->path.figures[0].points[1]);
    }
  }
  auto dc = CDC::CreateRaster(kW, kH);
  kelo::surface::RasterBackend* raster = kelo::surface::RasterOf(*dc);
  cairo_surface_t* surface = cairo_image_surface_create_for_data(const_cast<unsigned char*>(raster->Data()),
                                                                 CAIRO_FORMAT_ARGB32, kW, kH, raster->Stride());
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  cairo_set_line_width(cr, 1.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_source_rgba(cr, 1.0, 210 / 255.0, 0.0, 1.0);
  cairo_translate(cr, 0.5, 0.5);
  for (auto _ : state) {
    for (std::size_t i = 0; i < ends.size(); i += 2) {
      cairo_move_to(cr, ends[i].x, ends[i].y);
      cairo_line_to(cr, ends[i + 1].x, ends[i + 1].y);
      cairo_stroke(cr);
    }
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

class LayeredBar : public Bar {
 public:
  using Bar::BindBmp;
};

void BM_BindBmp_ThreeLayers(benchmark::State& state) {
  auto dc = CDC::CreateRaster(800, 600);
  LayeredBar bar;
  std::vector<Bar::BarGroupData> groups(24, Bar::BarGroupData{600, 400, 200});
  bar.SetMultiBarSize(3);
  bar.SetAppenedBarData(std::vector<Bar::BarGroupData>(24, Bar::BarGroupData{300, 200, 100}));
  bar.ShowAppendedBmp(1);
  bar.DrawEasyMultiBarChart(dc.get(), CRect(0, 0, 800, 600), 1000, 0, 24, groups, 1);
  CRect rect(0, 0, 800, 600);
  for (auto _ : state) {
    bar.BindBmp(dc.get(), rect);
    benchmark::ClobberMemory();
  }
}

// memcpy of one 800 x 600 ARGB image (the pixels BindBmp produces); Arg(3) copies all three
// layers' pixels.
void BM_BindBmp_Memcpy(benchmark::State& state) {
  const std::size_t bytes = 800u * 600u * 4u;
  std::vector<unsigned char> source(bytes * state.range(0), 1), target(bytes);
  for (auto _ : state) {
    for (int i = 0; i < state.range(0); ++i) std::memcpy(target.data(), source.data() + i * bytes, bytes);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_VolumePane_Bar)->Arg(270)->Arg(86400);
BENCHMARK(BM_VolumePane_RawCairo)->Arg(270)->Arg(86400);
BENCHMARK(BM_BindBmp_ThreeLayers);
BENCHMARK(BM_BindBmp_Memcpy)->Arg(1)->Arg(3);

}  // namespace
