// Costs of the curve charts against raw cairo on the same raster in the same run: the
// tick-price curve of a trading day of one-minute slots and of a 24-hour session of
// one-second slots, and the whole intraday price pane. Each baseline draws exactly what the
// chart drew (taken once from a recording of the same paint) straight with cairo, so the
// ratio is the cost of the chart logic and the surface layer over the bare strokes and text.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <kelochart/KeloChartLib.h>

#include "CurveSamples.h"

namespace {

using namespace kelo::samples::curve;
using kelo::surface::Record;

// A session of n one-second slots from midnight, prices wandering around the reference.
std::vector<Curve::STickPrice> SecondSession(std::int32_t n) {
  std::vector<Curve::STickPrice> day;
  day.reserve(static_cast<std::size_t>(n));
  std::uint32_t seed = 7;
  std::int32_t close = kReference;
  for (std::int32_t s = 0; s < n; ++s) {
    seed = seed * 1664525u + 1013904223u;
    const std::int32_t open = close;
    close = std::clamp(close + 5 * static_cast<std::int32_t>((seed >> 12) % 3) - 5, 2700, 3305);
    const std::int32_t time = (s / 3600) * 10000 + (s / 60 % 60) * 100 + s % 60;
    day.push_back({time, open, std::max(open, close) + 5, std::min(open, close) - 5, close, 0, time, time});
  }
  return day;
}

const Curve::SDrawRange kDayRange{kOpen, kClose, 2695, kReference, 3310, kClose};
const Curve::SDrawRange kSessionRange{0, 235959, 2695, kReference, 3310, 235959};
const CRect kPlot(56, 12, 737, 396);

void DrawTicks(CDC* dc, Curve& chart, const std::vector<Curve::STickPrice>& day, bool session) {
  chart.DrawTickPrice(dc, kPlot, session ? kSessionRange : kDayRange, day,
                      static_cast<CKeloBaseChart::ETickType>(session ? 1 : 60), 1);
}

// Raw cairo doing the recorded work: fills, pixel lines, anti-aliased strokes and clipped
// labels, in order, on a cairo image of the same size.
class RawCairo {
 public:
  RawCairo()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kPaneWidth, kPaneHeight)),
        cr_(cairo_create(surface_)) {
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
    cairo_select_font_face(cr_, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, 12.0);
  }
  ~RawCairo() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  void Draw(const std::vector<Record>& records) {
    for (const Record& r : records) std::visit([this](const auto& op) { Op(op); }, r.op);
    cairo_surface_flush(surface_);
  }

 private:
  // GDI+ strokes go through pixel centres, as the surface draws them.
  void Space(bool gp) {
    if (gp == gp_) return;
    cairo_identity_matrix(cr_);
    if (gp) cairo_translate(cr_, 0.5, 0.5);
    gp_ = gp;
  }
  void Colour(COLORREF c) {
    cairo_set_source_rgb(cr_, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
  }
  void Op(const kelo::surface::FillRectRecord& f) {
    Space(false);
    Colour(f.color);
    cairo_rectangle(cr_, f.rect.left, f.rect.top, f.rect.Width(), f.rect.Height());
    cairo_fill(cr_);
  }
  void Op(const kelo::surface::LineRecord& l) {
    Space(false);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(cr_, l.pen.width);
    Colour(l.pen.color);
    cairo_move_to(cr_, l.from.x + 0.5, l.from.y + 0.5);
    cairo_line_to(cr_, l.to.x + 0.5, l.to.y + 0.5);
    cairo_stroke(cr_);
  }
  void Op(const kelo::surface::TextRecord& t) {
    Space(false);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
    Colour(t.text.color);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, t.text.text.c_str(), &extents);
    cairo_save(cr_);
    cairo_rectangle(cr_, t.text.rect.left, t.text.rect.top, t.text.rect.Width(), t.text.rect.Height());
    cairo_clip(cr_);
    cairo_move_to(cr_, t.text.rect.right - extents.x_advance, t.text.rect.top + 11);
    cairo_show_text(cr_, t.text.text.c_str());
    cairo_restore(cr_);
  }
  void Op(const kelo::surface::StrokePathRecord& s) {
    Space(true);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
    cairo_set_line_width(cr_, s.pen.width);
    const std::uint32_t a = s.pen.argb;
    cairo_set_source_rgba(cr_, (a >> 16 & 255) / 255.0, (a >> 8 & 255) / 255.0, (a & 255) / 255.0, (a >> 24) / 255.0);
    for (const auto& figure : s.path.figures) {
      for (std::size_t i = 0; i < figure.points.size(); ++i) {
        const auto& p = figure.points[i];
        if (i == 0) cairo_move_to(cr_, p.x, p.y);
        else cairo_line_to(cr_, p.x, p.y);
      }
    }
    cairo_stroke(cr_);
  }
  template <typename Other>
  void Op(const Other&) {}

  cairo_surface_t* surface_;
  cairo_t* cr_;
  bool gp_ = false;
};

// What one paint drew, in order.
template <typename Paint>
std::vector<Record> Recorded(Paint paint) {
  auto dc = CDC::CreateRecording(kPaneWidth, kPaneHeight);
  paint(dc.get());
  return kelo::surface::RecordingOf(*dc)->Records();
}

std::vector<Curve::STickPrice> Slots(std::int64_t n) {
  return n == 270 ? SampleTradingDay() : SecondSession(static_cast<std::int32_t>(n));
}

void BM_TickPrice_Chart(benchmark::State& state) {
  const auto day = Slots(state.range(0));
  auto dc = CDC::CreateRaster(kPaneWidth, kPaneHeight);
  Curve chart;
  for (auto _ : state) {
    DrawTicks(dc.get(), chart, day, state.range(0) != 270);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_TickPrice_RawCairo(benchmark::State& state) {
  const auto day = Slots(state.range(0));
  Curve chart;
  const auto records = Recorded([&](CDC* dc) { DrawTicks(dc, chart, day, state.range(0) != 270); });
  RawCairo raw;
  for (auto _ : state) {
    raw.Draw(records);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["strokes"] = static_cast<double>(records.size());
}

void BM_PricePane_Chart(benchmark::State& state) {
  const auto day = SampleTradingDay();
  auto dc = CDC::CreateRaster(kPaneWidth, kPaneHeight);
  Curve chart;
  for (auto _ : state) {
    DrawPricePane(dc.get(), chart, day);
    benchmark::ClobberMemory();
  }
}

void BM_PricePane_RawCairo(benchmark::State& state) {
  const auto day = SampleTradingDay();
  Curve chart;
  const auto records = Recorded([&](CDC* dc) { DrawPricePane(dc, chart, day); });
  RawCairo raw;
  for (auto _ : state) {
    raw.Draw(records);
    benchmark::ClobberMemory();
  }
  state.counters["records"] = static_cast<double>(records.size());
}

// A return region of n corners whose edges all cross (every (n/2 - 1)-th point of a circle),
// drawn by the chart (outline, then the fill) and, as the chart drew it before, with the
// region set as its own clip before the fill: the same pixels, but cairo then intersects the
// clip with the fill edge by edge.
std::vector<Curve::XYValue> CrossingRegion(std::int64_t n) {
  std::vector<Curve::XYValue> corners;
  for (std::int64_t i = 0; i < n; ++i) {
    const double a = 2 * M_PI * static_cast<double>(i * (n / 2 - 1)) / static_cast<double>(n);
    corners.push_back(
        {static_cast<std::int32_t>(500 + 400 * std::cos(a)), static_cast<std::int32_t>(500 + 400 * std::sin(a))});
  }
  return corners;
}

void BM_ReturnRegion_Chart(benchmark::State& state) {
  const auto corners = CrossingRegion(state.range(0));
  auto dc = CDC::CreateRaster(kPaneWidth, kPaneHeight);
  Curve chart;
  for (auto _ : state) chart.DrawROIRgn(dc.get(), kPlot, 1000, 0, 1000, 0, corners);
}

void BM_ReturnRegion_SelfClipped(benchmark::State& state) {
  namespace gp = Gdiplus;
  std::vector<gp::PointF> points;
  for (const auto& c : CrossingRegion(state.range(0))) {
    points.emplace_back(static_cast<float>(kPlot.left + c.x * (kPlot.Width() / 1000.0)),
                        static_cast<float>(kPlot.bottom - c.y * (kPlot.Height() / 1000.0)));
  }
  auto dc = CDC::CreateRaster(kPaneWidth, kPaneHeight);
  const gp::Pen pen(gp::Color(0xFFFF0000), 1.5f);
  const gp::SolidBrush brush(gp::Color(0x80960000));
  for (auto _ : state) {
    gp::Graphics g(dc.get());
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    gp::GraphicsPath path(gp::FillModeAlternate);
    path.AddPolygon(points.data(), static_cast<gp::INT>(points.size()));
    const gp::Region region(&path);
    g.DrawPath(&pen, &path);
    g.SetClip(&region, gp::CombineModeReplace);
    g.FillRegion(&brush, &region);
  }
}

}  // namespace

BENCHMARK(BM_ReturnRegion_Chart)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReturnRegion_SelfClipped)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickPrice_Chart)->Arg(270)->Arg(21600)->Arg(86400)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickPrice_RawCairo)->Arg(270)->Arg(21600)->Arg(86400)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PricePane_Chart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PricePane_RawCairo)->Unit(benchmark::kMicrosecond);
