// Costs of the K-line chart against their floors, side by side in one run: 250 daily candles
// with volume, moving averages and a KD pane at 800 x 600 against raw cairo filling the same
// rectangles and stroking the same lines on the same image; and a live feed's tail repaint of
// the last bar against a full repaint of the same layer (no PNG encoding in either).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <vector>

#include <kelochart/kline/KeloKLine.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>

namespace {

constexpr int kW = 800, kH = 600;
const CRect kRect(0, 0, kW, kH);

// 250 weekdays of a random walk on the 0.05 tick of a 40-60 stock (deterministic).
std::vector<KeloKLine::SKBar> Daily(int count) {
  std::vector<KeloKLine::SKBar> bars;
  std::uint32_t s = 12345;
  auto next = [&](int lo, int hi) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return lo + static_cast<int>(s % static_cast<std::uint32_t>(hi - lo + 1));
  };
  std::int32_t close = 5000, day = KeloKLine::DayNumber(20251201);
  while (static_cast<int>(bars.size()) < count) {
    const std::int32_t date = KeloKLine::DateOfDay(day++);
    if (KeloKLine::Weekday(date) >= 5) continue;
    const std::int32_t open = close + 5 * next(-3, 3), c = open + 5 * next(-10, 10);
    bars.push_back({date, 0, open, std::max(open, c) + 5 * next(0, 5), std::min(open, c) - 5 * next(0, 5), c,
                    10000 + 100 * next(0, 100)});
    close = c;
  }
  return bars;
}

void SetUp(CKeloKLine& chart) {
  chart.SetFontSize(14, 7);
  chart.SetBars(Daily(250));
  chart.SetOverlays(CKeloKLine::eOverlayMA | CKeloKLine::eOverlayVolumeMA);
  chart.SetLowerPane(CKeloKLine::eLowerKD);
}

void BM_KLine_Chart(benchmark::State& state) {
  auto dc = CDC::CreateRaster(kW, kH);
  CKeloKLine chart;
  SetUp(chart);
  for (auto _ : state) {
    chart.DrawKLine(dc.get(), kRect);
    benchmark::ClobberMemory();
  }
}

// The chart's own rectangles and lines (its recording), drawn by cairo directly: rectangles
// without anti-aliasing in pixel space, lines anti-aliased half a pixel over with the chart's
// pens and pane clips. The labels are left out (raw cairo has no text of the same font).
void BM_KLine_RawCairo(benchmark::State& state) {
  auto recording = CDC::CreateRecording(kW, kH);
  CKeloKLine chart;
  SetUp(chart);
  chart.DrawKLine(recording.get(), kRect);
  const auto log = kelo::surface::RecordingOf(*recording)->Log();
  auto dc = CDC::CreateRaster(kW, kH);
  kelo::surface::RasterBackend* raster = kelo::surface::RasterOf(*dc);
  cairo_surface_t* surface = cairo_image_surface_create_for_data(const_cast<unsigned char*>(raster->Data()),
                                                                 CAIRO_FORMAT_ARGB32, kW, kH, raster->Stride());
  cairo_t* cr = cairo_create(surface);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  auto rgb = [&](std::uint32_t c) {
    cairo_set_source_rgb(cr, (c & 255) / 255.0, ((c >> 8) & 255) / 255.0, ((c >> 16) & 255) / 255.0);
  };
  for (auto _ : state) {
    for (const auto& r : log) {
      if (const auto* f = std::get_if<kelo::surface::FillRectRecord>(&r.op)) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        rgb(f->color);
        cairo_rectangle(cr, f->rect.left, f->rect.top, f->rect.Width(), f->rect.Height());
        cairo_fill(cr);
      } else if (const auto* l = std::get_if<kelo::surface::LineRecord>(&r.op)) {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        rgb(l->pen.color);
        cairo_set_line_width(cr, l->pen.width);
        cairo_move_to(cr, l->from.x + 0.5, l->from.y + 0.5);
        cairo_line_to(cr, l->to.x + 0.5, l->to.y + 0.5);
        cairo_stroke(cr);
      } else if (const auto* p = std::get_if<kelo::surface::StrokePathRecord>(&r.op)) {
        cairo_save(cr);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
        cairo_translate(cr, 0.5, 0.5);
        if (p->state.clipped) {
          const auto& c = p->state.clip->figures[0].points;
          cairo_rectangle(cr, c[0].x, c[0].y, c[2].x - c[0].x, c[2].y - c[0].y);
          cairo_clip(cr);
        }
        const std::uint32_t a = p->pen.argb;
        cairo_set_source_rgb(cr, ((a >> 16) & 255) / 255.0, ((a >> 8) & 255) / 255.0, (a & 255) / 255.0);
        cairo_set_line_width(cr, p->pen.width);
        const auto& pts = p->path.figures[0].points;
        cairo_move_to(cr, pts[0].x, pts[0].y);
        for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x, pts[i].y);
        cairo_stroke(cr);
        cairo_restore(cr);
      }
    }
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

// A tick of the last bar: its close moves within the day's range, nothing else changes.
void BM_KLine_UpdateTail(benchmark::State& state) {
  auto dc = CDC::CreateRaster(kW, kH);
  CKeloKLine chart;
  SetUp(chart);
  chart.UpdateKLine(dc.get(), kRect);
  KeloKLine::SKBar last = chart.GetBars().back();
  int k = 0;
  for (auto _ : state) {
    last.close = (k++ % 2 == 0) ? last.low : last.high;
    chart.UpdateLastBar(last);
    if (chart.UpdateKLine(dc.get(), kRect) != CKeloKLine::eRepaintTail) state.SkipWithError("not a tail repaint");
    benchmark::ClobberMemory();
  }
}

// The same tick repainted whole (what a chart without the tail path does).
void BM_KLine_UpdateFull(benchmark::State& state) {
  auto dc = CDC::CreateRaster(kW, kH);
  CKeloKLine chart;
  SetUp(chart);
  chart.UpdateKLine(dc.get(), kRect);
  std::vector<KeloKLine::SKBar> bars = chart.GetBars();
  int k = 0;
  for (auto _ : state) {
    bars.back().close = (k++ % 2 == 0) ? bars.back().low : bars.back().high;
    chart.SetBars(bars);
    if (chart.UpdateKLine(dc.get(), kRect) != CKeloKLine::eRepaintFull) state.SkipWithError("not a full repaint");
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_KLine_Chart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KLine_RawCairo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KLine_UpdateTail)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KLine_UpdateFull)->Unit(benchmark::kMicrosecond);

}  // namespace
