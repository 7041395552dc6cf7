// The vector surface: the same drawing calls as the raster surface, sent to a cairo SVG or
// PDF document. GDI lines become one-pixel-wide strokes along the pixel centres (covering
// the pixels the raster line sets), text keeps its glyphs from the shared font engine, and
// copies from other surfaces are embedded as images (with the key colour left transparent).
#include <kelochart/surface/VectorBackend.h>

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <deque>

#include <kelochart/surface/RasterBackend.h>

#include "surface/CopyWindow.h"
#include "surface/FontEngine.h"
#include "surface/GdiLine.h"
#include "surface/GpGeometry.h"
#include "surface/Limits.h"
#include "surface/StrokeClip.h"

namespace kelo::surface {

namespace {

void SetColor(cairo_t* cr, COLORREF c) {
  cairo_set_source_rgb(cr, (c & 255) / 255.0, ((c >> 8) & 255) / 255.0, ((c >> 16) & 255) / 255.0);
}
void SetArgb(cairo_t* cr, std::uint32_t argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 255) / 255.0, ((argb >> 8) & 255) / 255.0, (argb & 255) / 255.0,
                        (argb >> 24) / 255.0);
}
cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

struct VectorBackend::Impl {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  int width = 0, height = 0;
  std::vector<std::uint8_t> bytes;
  // The images of the last copies: cairo writes an image surface into the document once
  // however often it is painted, so a copy of pixels already embedded (an unchanged layer
  // composed again) paints the same image and adds only a reference to it.
  struct Image {
    std::uint64_t version;
    CRect window;
    bool useKey;
    COLORREF key;
    cairo_surface_t* surface;
  };
  static constexpr std::size_t kImages = 16;
  std::deque<Image> images;

  void BeginGp(const GpState& state) {
    cairo_save(cr);
    cairo_translate(cr, 0.5, 0.5);  // GDI+ puts pixel centres on whole coordinates
    if (state.clipped) {
      auto clip = [&](const PathDesc& p) {
        if (!detail::AddPath(cr, p, width, height)) cairo_rectangle(cr, -10, -10, 0, 0);
        cairo_set_fill_rule(cr, p.windingFill ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr);
      };
      clip(*state.clip);
      for (const PathDesc& more : *state.moreClips) clip(more);
    }
  }
  void EndGp() {
    cairo_new_path(cr);
    cairo_restore(cr);
  }
};

VectorBackend::VectorBackend(Format format, int width, int height, COLORREF clear) : impl_(std::make_unique<Impl>()) {
  if (!detail::SurfaceSizeOk(width, height)) width = height = 1;
  impl_->width = width;
  impl_->height = height;
  SetSize(width, height);
  impl_->surface = format == Format::kSvg ? cairo_svg_surface_create_for_stream(Append, &impl_->bytes, width, height)
                                          : cairo_pdf_surface_create_for_stream(Append, &impl_->bytes, width, height);
  // One unit per pixel of the raster picture, so an SVG opens at the size of the PNG.
  if (format == Format::kSvg) cairo_svg_surface_set_document_unit(impl_->surface, CAIRO_SVG_UNIT_PX);
  impl_->cr = cairo_create(impl_->surface);
  cairo_set_line_cap(impl_->cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(impl_->cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_miter_limit(impl_->cr, detail::kMiterLimit);
  FillSolidRect(CRect(0, 0, width, height), clear);
}

VectorBackend::~VectorBackend() {
  for (const Impl::Image& image : impl_->images) cairo_surface_destroy(image.surface);
  cairo_destroy(impl_->cr);
  cairo_surface_destroy(impl_->surface);
}

std::vector<std::uint8_t> VectorBackend::Finish() {
  cairo_surface_finish(impl_->surface);
  if (cairo_surface_status(impl_->surface) != CAIRO_STATUS_SUCCESS) return {};
  return std::move(impl_->bytes);
}

std::shared_ptr<SurfaceBackend> VectorBackend::CreateCompatible(int width, int height) {
  if (!detail::SurfaceSizeOk(width, height)) return nullptr;
  return std::make_shared<RasterBackend>(width, height, 0x000000);
}

void VectorBackend::FillSolidRect(const CRect& rect, COLORREF color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  cairo_t* cr = impl_->cr;
  cairo_rectangle(cr, rect.left, rect.top, static_cast<double>(rect.right) - rect.left,
                  static_cast<double>(rect.bottom) - rect.top);
  SetColor(cr, color);
  cairo_fill(cr);
}

void VectorBackend::GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) {
  if (pen.style == PS_NULL || (from.x == to.x && from.y == to.y)) return;
  cairo_t* cr = impl_->cr;
  // Pixel centres, with the stroke starting at the first pixel's near edge and ending at
  // the last pixel's far edge (GDI leaves out the end point itself).
  const double dx = static_cast<double>(to.x) - from.x, dy = static_cast<double>(to.y) - from.y;
  const double major = std::max(std::fabs(dx), std::fabs(dy));
  const double ux = dx / major * 0.5, uy = dy / major * 0.5;
  // A pen past the widest stroke draws as that stroke, dashes scaled to it.
  GdiPenDesc drawn = pen;
  const double width = detail::StrokeWidth(pen.width > 1 ? pen.width : 1, impl_->width, impl_->height);
  drawn.width = static_cast<int>(width);
  const detail::DashPattern dash = detail::GdiDashPattern(drawn);
  const std::vector<detail::PointD> ends = {{from.x + 0.5 - ux, from.y + 0.5 - uy}, {to.x + 0.5 - ux, to.y + 0.5 - uy}};
  const auto runs =
      detail::ClipStroke(ends, false, detail::StrokeBoxOf(impl_->width, impl_->height, width, dash.count > 0),
                         static_cast<double>(dash.period));
  if (runs.empty()) return;
  cairo_move_to(cr, runs[0].points[0].x, runs[0].points[0].y);
  cairo_line_to(cr, runs[0].points[1].x, runs[0].points[1].y);
  cairo_set_line_width(cr, width);
  double lengths[6];
  for (int i = 0; i < dash.count; ++i) lengths[i] = static_cast<double>(dash.lengths[i]);
  cairo_set_dash(cr, lengths, dash.count, 0);
  SetColor(cr, pen.color);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void VectorBackend::DrawText(const TextDesc& call) {
  if (call.text.empty()) return;
  const bool noClip = (call.format & DT_NOCLIP) != 0, singleLine = (call.format & DT_SINGLELINE) != 0;
  const CRect& rc = call.rect;
  if (!noClip && rc.IsRectEmpty()) return;
  std::vector<std::string_view> lines;
  const std::string_view text(call.text);
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = singleLine ? text.size() : text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  auto& engine = detail::FontEngine::Instance();
  cairo_t* cr = impl_->cr;
  cairo_save(cr);
  if (!noClip) {
    cairo_rectangle(cr, rc.left, rc.top, static_cast<double>(rc.right) - rc.left,
                    static_cast<double>(rc.bottom) - rc.top);
    cairo_clip(cr);
  }
  double y = rc.top;
  bool first = true;
  for (std::string_view line : lines) {
    const detail::TextLayout layout = engine.Layout(call.font, line);
    if (first && singleLine && (call.format & DT_VCENTER))
      y = rc.top + (static_cast<double>(rc.bottom) - rc.top - layout.height) / 2;
    if (first && singleLine && (call.format & DT_BOTTOM)) y = static_cast<double>(rc.bottom) - layout.height;
    y = std::trunc(y);
    first = false;
    double x = rc.left;
    if (call.format & DT_CENTER) x = std::trunc((static_cast<double>(rc.left) + rc.right - layout.width) / 2);
    else if (call.format & DT_RIGHT) x = static_cast<double>(rc.right) - layout.width;
    if (call.bkMode == OPAQUE) {
      cairo_rectangle(cr, x, y, layout.width, layout.height);
      SetColor(cr, call.bkColor);
      cairo_fill(cr);
    }
    SetColor(cr, call.color);
    for (const detail::GlyphRun& run : layout.runs) {
      std::vector<cairo_glyph_t> glyphs(run.glyphs.begin(), run.glyphs.end());
      for (cairo_glyph_t& g : glyphs) {
        g.x += x;
        g.y = y + layout.ascent;
      }
      cairo_set_scaled_font(cr, run.font);
      cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    }
    if (call.font.underline) {
      cairo_rectangle(cr, x, y + layout.ascent + layout.underlineOffset, layout.width, layout.underlineThickness);
      cairo_fill(cr);
    }
    y += layout.height;
  }
  cairo_restore(cr);
}

PixelWindow VectorBackend::ReadPixels(const CRect&) { return PixelWindow(); }

void VectorBackend::Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey, COLORREF key) {
  if (dst.right <= dst.left || dst.bottom <= dst.top) return;
  // A finished page (or one cairo gave up on) draws nothing more, and cairo's error state
  // leaks the source pattern set below: copy nothing onto it.
  if (cairo_status(impl_->cr) != CAIRO_STATUS_SUCCESS) return;
  // Only the source pixels that land on the page are read and embedded.
  const CRect window = detail::CopyReadWindow(dst, sourceOrigin, CRect(0, 0, impl_->width, impl_->height),
                                              source.Width(), source.Height());
  if (window.right <= window.left || window.bottom <= window.top) return;
  const PixelWindow read = source.ReadPixels(window);
  if (read.Empty()) return;
  const int w = read.window.right - read.window.left, h = read.window.bottom - read.window.top;
  cairo_surface_t* image = nullptr;
  for (const Impl::Image& kept : impl_->images) {
    if (read.version != 0 && kept.version == read.version && kept.window == read.window && kept.useKey == useKey &&
        (!useKey || kept.key == key)) {
      image = kept.surface;
      break;
    }
  }
  if (image == nullptr) {
    image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    auto* out = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(image));
    if (out == nullptr) {
      cairo_surface_destroy(image);
      return;
    }
    const int outStride = cairo_image_surface_get_stride(image) / 4;
    const std::uint32_t keyPixel = 0xFF000000u | ((key & 0xFFu) << 16) | (key & 0xFF00u) | ((key >> 16) & 0xFFu);
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* row = read.pixels + static_cast<std::ptrdiff_t>(y) * read.stride;
      for (int x = 0; x < w; ++x) {
        const std::uint32_t p = row[x] | 0xFF000000u;
        out[static_cast<std::ptrdiff_t>(y) * outStride + x] = useKey && p == keyPixel ? 0u : p;
      }
    }
    cairo_surface_mark_dirty(image);
    impl_->images.push_back({read.version, read.window, useKey, key, image});
    if (impl_->images.size() > Impl::kImages) {
      cairo_surface_destroy(impl_->images.front().surface);
      impl_->images.pop_front();
    }
  }
  cairo_t* cr = impl_->cr;
  cairo_save(cr);
  cairo_rectangle(cr, dst.left, dst.top, static_cast<double>(dst.right) - dst.left,
                  static_cast<double>(dst.bottom) - dst.top);
  cairo_clip(cr);
  cairo_set_source_surface(cr, image, static_cast<double>(dst.left) - sourceOrigin.x + read.window.left,
                           static_cast<double>(dst.top) - sourceOrigin.y + read.window.top);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
}

void VectorBackend::StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) {
  cairo_t* cr = impl_->cr;
  impl_->BeginGp(state);
  const double width = detail::StrokeWidth(pen.width, impl_->width, impl_->height);
  if (detail::AddStrokePath(cr, path, impl_->width, impl_->height, width, detail::GpDashPeriod(pen.dashStyle, width))) {
    cairo_set_line_width(cr, width);
    detail::SetGpDash(cr, pen.dashStyle, width);
    SetArgb(cr, pen.argb);
    cairo_stroke(cr);
  }
  impl_->EndGp();
}

void VectorBackend::FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) {
  cairo_t* cr = impl_->cr;
  impl_->BeginGp(state);
  if (detail::AddPath(cr, path, impl_->width, impl_->height)) {
    cairo_set_fill_rule(cr, path.windingFill ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    SetArgb(cr, argb);
    cairo_fill(cr);
  }
  impl_->EndGp();
}

void VectorBackend::FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle, std::uint32_t argb,
                            const GpState& state) {
  cairo_t* cr = impl_->cr;
  impl_->BeginGp(state);
  if (detail::AddPie(cr, x, y, w, h, startAngle, sweepAngle, impl_->width, impl_->height)) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetArgb(cr, argb);
    cairo_fill(cr);
  }
  impl_->EndGp();
}

}  // namespace kelo::surface
