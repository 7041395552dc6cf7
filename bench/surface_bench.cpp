// Costs of the drawing surface against raw cairo on the same 800 x 600 image: a stream of
// GDI lines, anti-aliased curve segments, labels, the colour-key copy of a layer (against a
// plain memcpy of the same buffer), and PNG encoding of a chart-like image with several
// encoder settings (against cairo's own PNG writer).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RasterBackend.h>

#include "surface/Png.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;
constexpr COLORREF kBackground = RGB(0, 0, 0);

struct GdiLine {
  int x0, y0, x1, y1;
};

// Grid-like lines: half horizontal, half vertical, of random position and length.
const std::vector<GdiLine>& Lines() {
  static const std::vector<GdiLine> lines = [] {
    std::mt19937 rng(1);
    std::uniform_int_distribution<int> x(0, kW - 1), y(0, kH - 1);
    std::vector<GdiLine> out;
    for (int i = 0; i < 10000; ++i) {
      if (i % 2 == 0) {
        const int yy = y(rng);
        out.push_back({x(rng), yy, x(rng), yy});
      } else {
        const int xx = x(rng);
        out.push_back({xx, y(rng), xx, y(rng)});
      }
    }
    return out;
  }();
  return lines;
}

// A price curve of 10,000 connected segments across the width.
const std::vector<Gdiplus::PointF>& CurvePoints() {
  static const std::vector<Gdiplus::PointF> points = [] {
    std::mt19937 rng(2);
    std::normal_distribution<float> step(0.f, 2.f);
    std::vector<Gdiplus::PointF> out;
    float y = kH / 2.f;
    for (int i = 0; i <= 10000; ++i) {
      y += step(rng);
      if (y < 10) y = 10;
      if (y > kH - 10) y = kH - 10;
      out.emplace_back(10.f + (kW - 20.f) * static_cast<float>(i) / 10000.f, y);
    }
    return out;
  }();
  return points;
}

struct Label {
  CRect rect;
  std::string text;
};

// 200 price labels in columns at both sides, right-aligned in their rectangles.
const std::vector<Label>& Labels() {
  static const std::vector<Label> labels = [] {
    std::vector<Label> out;
    for (int i = 0; i < 200; ++i) {
      const int column = i / 40, row = i % 40;
      char text[32];
      std::snprintf(text, sizeof text, "%.2f", 12000.0 + i * 7.25);
      out.push_back({CRect(column * 160, row * 15, column * 160 + 100, row * 15 + 15), text});
    }
    return out;
  }();
  return labels;
}

// A raw cairo image of the same size: the baseline each layer benchmark is measured against.
struct RawCairo {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kW, kH);
  cairo_t* cr = cairo_create(surface);
  RawCairo() { cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT); }
  ~RawCairo() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  RawCairo(const RawCairo&) = delete;
  RawCairo& operator=(const RawCairo&) = delete;
  // Ends one round: cairo finishes drawing into the image.
  void EndRound() {
    cairo_surface_flush(surface);
    benchmark::ClobberMemory();
  }
};

void BM_GdiLines_Layer(benchmark::State& state) {
  auto dc = CDC::CreateRaster(kW, kH);
  CPen pen(PS_SOLID, 1, RGB(80, 80, 80));
  dc->SelectObject(&pen);
  for (auto _ : state) {
    for (const GdiLine& l : Lines()) {
      dc->MoveTo(l.x0, l.y0);
      dc->LineTo(l.x1, l.y1);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void BM_GdiLines_RawCairo(benchmark::State& state) {
  RawCairo raw;
  cairo_t* cr = raw.cr;
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, 1.0);
  cairo_set_source_rgb(cr, 80 / 255.0, 80 / 255.0, 80 / 255.0);
  for (auto _ : state) {
    for (const GdiLine& l : Lines()) {
      cairo_move_to(cr, l.x0 + 0.5, l.y0 + 0.5);
      cairo_line_to(cr, l.x1 + 0.5, l.y1 + 0.5);
      cairo_stroke(cr);
    }
    raw.EndRound();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void BM_AaSegments_Layer(benchmark::State& state) {
  auto dc = CDC::CreateRaster(kW, kH);
  Gdiplus::Graphics g(dc.get());
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(255, 255, 255, 0), 1.5f);
  const auto& p = CurvePoints();
  for (auto _ : state) {
    for (std::size_t i = 1; i < p.size(); ++i) g.DrawLine(&pen, p[i - 1].X, p[i - 1].Y, p[i].X, p[i].Y);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void BM_AaSegments_RawCairo(benchmark::State& state) {
  RawCairo raw;
  cairo_t* cr = raw.cr;
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  cairo_set_line_width(cr, 1.5);
  cairo_set_source_rgba(cr, 1.0, 1.0, 0.0, 1.0);
  cairo_translate(cr, 0.5, 0.5);
  const auto& p = CurvePoints();
  for (auto _ : state) {
    for (std::size_t i = 1; i < p.size(); ++i) {
      cairo_move_to(cr, p[i - 1].X, p[i - 1].Y);
      cairo_line_to(cr, p[i].X, p[i].Y);
      cairo_stroke(cr);
    }
    raw.EndRound();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void BM_Labels_Layer(benchmark::State& state) {
  auto dc = CDC::CreateRaster(kW, kH);
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(RGB(255, 255, 0));
  for (auto _ : state) {
    for (const Label& l : Labels()) {
      CRect r = l.rect;
      dc->DrawText(l.text.c_str(), static_cast<int>(l.text.size()), &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 200);
}

void BM_Labels_RawCairo(benchmark::State& state) {
  RawCairo raw;
  cairo_t* cr = raw.cr;
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_select_font_face(cr, "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12.0);
  cairo_set_source_rgb(cr, 1.0, 1.0, 0.0);
  for (auto _ : state) {
    for (const Label& l : Labels()) {
      // The same work as a clipped, right-aligned, vertically centred label.
      cairo_text_extents_t extents;
      cairo_text_extents(cr, l.text.c_str(), &extents);
      cairo_save(cr);
      cairo_rectangle(cr, l.rect.left, l.rect.top, l.rect.Width(), l.rect.Height());
      cairo_clip(cr);
      cairo_move_to(cr, l.rect.right - extents.x_advance, l.rect.top + 11);
      cairo_show_text(cr, l.text.c_str());
      cairo_restore(cr);
    }
    raw.EndRound();
  }
  state.SetItemsProcessed(state.iterations() * 200);
  cairo_font_options_destroy(options);
}

// A layer like a chart's data layer: background colour with a curve painted over it.
void PaintLayer(CDC& memory) {
  memory.FillSolidRect(0, 0, kW, kH, kBackground);
  Gdiplus::Graphics g(&memory);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(255, 255, 255, 0), 1.5f);
  const auto& p = CurvePoints();
  g.DrawLines(&pen, p.data(), static_cast<int>(p.size()));
}

void BM_KeyCopy_Layer(benchmark::State& state) {
  auto screen = CDC::CreateRaster(kW, kH);
  CDC memory;
  memory.CreateCompatibleDC(screen.get());
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(screen.get(), kW, kH);
  memory.SelectObject(&bitmap);
  PaintLayer(memory);
  for (auto _ : state) {
    screen->TransparentBlt(0, 0, kW, kH, &memory, 0, 0, kW, kH, kBackground);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}

// The worst case for the keyed copy: a layer without a single key pixel.
void BM_KeyCopy_NoKeyPixels_Layer(benchmark::State& state) {
  auto screen = CDC::CreateRaster(kW, kH);
  CDC memory;
  memory.CreateCompatibleDC(screen.get());
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(screen.get(), kW, kH);
  memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, kW, kH, RGB(1, 2, 3));
  for (auto _ : state) {
    screen->TransparentBlt(0, 0, kW, kH, &memory, 0, 0, kW, kH, kBackground);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}

void BM_KeyCopy_Memcpy(benchmark::State& state) {
  std::vector<std::uint32_t> src(static_cast<std::size_t>(kW) * kH, 0xFF000000u);
  std::vector<std::uint32_t> dst(src.size());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kW * kH * 4);
}

// A chart-like image: dark background, dotted grid, axes, a curve, bars and 200 labels.
const kelo::surface::RasterBackend& ChartImage() {
  static std::unique_ptr<CDC> dc = [] {
    auto d = CDC::CreateRaster(kW, kH);
    d->FillSolidRect(0, 0, kW, kH, RGB(0, 0, 0));
    LOGBRUSH brush;
    brush.lbColor = RGB(60, 60, 60);
    CPen grid;
    grid.Attach(ExtCreatePen(PS_DOT | PS_GEOMETRIC, 1, &brush, 0, nullptr));
    CPen* old = d->SelectObject(&grid);
    for (int x = 100; x < 700; x += 60) {
      d->MoveTo(x, 20);
      d->LineTo(x, 560);
    }
    for (int y = 20; y < 560; y += 27) {
      d->MoveTo(100, y);
      d->LineTo(700, y);
    }
    CPen axis(PS_SOLID, 2, RGB(128, 128, 128));
    d->SelectObject(&axis);
    d->MoveTo(100, 20);
    d->LineTo(100, 560);
    d->LineTo(700, 560);
    d->SelectObject(old);
    Gdiplus::Graphics g(d.get());
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::SolidBrush bar(Gdiplus::Color(255, 0, 128, 255));
    for (int x = 102; x < 698; x += 4) g.FillRectangle(&bar, x, 480 + (x * 37) % 70, 2, 80 - (x * 37) % 70);
    Gdiplus::Pen pen(Gdiplus::Color(255, 255, 255, 0), 1.5f);
    std::vector<Gdiplus::PointF> curve;
    for (std::size_t i = 0; i < CurvePoints().size(); i += 20) {
      curve.emplace_back(100.f + CurvePoints()[i].X * 0.75f, 40.f + CurvePoints()[i].Y * 0.7f);
    }
    g.DrawLines(&pen, curve.data(), static_cast<int>(curve.size()));
    d->SetBkMode(TRANSPARENT);
    for (const Label& l : Labels()) {
      CRect r = l.rect;
      d->SetTextColor(r.top % 2 ? RGB(255, 0, 0) : RGB(0, 255, 0));
      d->DrawText(l.text.c_str(), static_cast<int>(l.text.size()), &r, DT_RIGHT | DT_SINGLELINE);
    }
    return d;
  }();
  return *kelo::surface::RasterOf(*dc);
}

cairo_status_t CountBytes(void* closure, const unsigned char*, unsigned int length) {
  *static_cast<std::size_t*>(closure) += length;
  return CAIRO_STATUS_SUCCESS;
}

void BM_Png_Cairo(benchmark::State& state) {
  const auto& image = ChartImage();
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      const_cast<unsigned char*>(image.Data()), CAIRO_FORMAT_ARGB32, image.Width(), image.Height(), image.Stride());
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    cairo_surface_write_to_png_stream(surface, CountBytes, &bytes);
  }
  state.counters["png_bytes"] = static_cast<double>(bytes);
  cairo_surface_destroy(surface);
}

// Argument: the libdeflate level.
void BM_Png_Level(benchmark::State& state) {
  const auto& image = ChartImage();
  kelo::surface::detail::PngSettings settings;
  settings.level = static_cast<int>(state.range(0));
  std::vector<std::uint8_t> png;
  for (auto _ : state) {
    kelo::surface::detail::EncodeArgb32Png(image.Data(), image.Width(), image.Height(), image.Stride(), settings, png);
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(png.size());
}

// The layer's own PNG settings, as WritePng uses them.
void BM_Png_Default(benchmark::State& state) {
  const auto& image = ChartImage();
  std::vector<std::uint8_t> png;
  for (auto _ : state) {
    kelo::surface::detail::EncodeArgb32Png(image.Data(), image.Width(), image.Height(), image.Stride(),
                                           kelo::surface::detail::PngSettings{}, png);
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(png.size());
}

}  // namespace

BENCHMARK(BM_GdiLines_Layer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GdiLines_RawCairo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AaSegments_Layer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AaSegments_RawCairo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Labels_Layer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Labels_RawCairo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyCopy_Layer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyCopy_NoKeyPixels_Layer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyCopy_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Png_Cairo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Png_Level)->Unit(benchmark::kMillisecond)->ArgName("level")->DenseRange(1, 6)->Arg(9)->Arg(12);
BENCHMARK(BM_Png_Default)->Unit(benchmark::kMillisecond);
