// The raster surface: a cairo ARGB32 image. GDI-side calls (lines, solid fills, copies) write
// pixels directly, so they are exact and never anti-aliased; text goes through the shared
// font engine and cairo's glyph rasteriser; GDI+ paths are stroked and filled by cairo.
#include <kelochart/surface/RasterBackend.h>

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include <kelochart/surface/DC.h>

#include "surface/CopyWindow.h"
#include "surface/FontEngine.h"
#include "surface/GdiLine.h"
#include "surface/GpGeometry.h"
#include "surface/LargeBuffer.h"
#include "surface/Limits.h"
#include "surface/PixelVersion.h"
#include "surface/Png.h"
#include "surface/StrokeClip.h"

namespace kelo::surface {

// A cairo ARGB32 pixel is the ARGB value itself: GDI colours become pixels by OpaqueArgb.
struct RasterBackend::Impl {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  std::uint32_t* pixels = nullptr;
  int width = 0;  // of the image held
  int height = 0;
  int stridePixels = 0;
  // A window of a larger surface: its size (what geometry is cut and bounded by, as the whole
  // surface would be) and the coordinates of the image's pixel (0, 0).
  int fullWidth = 0;
  int fullHeight = 0;
  std::int64_t originX = 0;
  std::int64_t originY = 0;
  // Of the pixels now: renewed by every call that may change them (see PixelWindow).
  std::uint64_t version = detail::NewPixelVersion();

  detail::PixelTarget Target() { return detail::PixelTarget{pixels, width, height, stridePixels, originX, originY}; }

  // Direct pixel access: cairo must have finished its own drawing first and learn afterwards
  // that the pixels changed.
  void BeginDirect() {
    version = detail::NewPixelVersion();
    cairo_surface_flush(surface);
  }
  void EndDirect() { cairo_surface_mark_dirty(surface); }

  // A rectangle in the surface's coordinates.
  void FillRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b, std::uint32_t pixel) {
    l = std::max<std::int64_t>(l - originX, 0);
    t = std::max<std::int64_t>(t - originY, 0);
    r = std::min<std::int64_t>(r - originX, width);
    b = std::min<std::int64_t>(b - originY, height);
    if (l >= r || t >= b) return;
    for (std::int64_t y = t; y < b; ++y) {
      std::uint32_t* row = pixels + y * stridePixels;
      std::fill(row + l, row + r, pixel);
    }
  }

  // The cairo context keeps its settings between calls; each is set only when it changes,
  // so that a stream of small strokes costs no more than raw cairo calls.
  bool gpSpace = false;                      // the matrix puts pixel centres on integer coordinates
  int antialias = -1;                        // cairo_antialias_t last set
  std::uint64_t source = ~std::uint64_t{0};  // last colour: ARGB, or COLORREF | 1 << 32
  double lineWidth = -1;
  int dashStyle = 0;
  double dashWidth = 0;
  int fillRule = -1;
  bool clipped = false;

  // GDI+ coordinates put pixel centres on integers (GDI+'s default pixel offset); cairo's
  // pixel (x, y) spans [x, x + 1), so GDI+ drawing is shifted by half a pixel.
  void UseGpSpace() {
    if (gpSpace) return;
    cairo_identity_matrix(cr);
    cairo_translate(cr, 0.5, 0.5);
    gpSpace = true;
  }
  void UsePixelSpace() {
    if (!gpSpace) return;
    cairo_identity_matrix(cr);
    gpSpace = false;
  }
  void SetAntialias(bool on) {
    const int mode = on ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE;
    if (mode == antialias) return;
    cairo_set_antialias(cr, static_cast<cairo_antialias_t>(mode));
    antialias = mode;
  }
  void SetSourceArgb(std::uint32_t argb) {
    if (source == argb) return;
    cairo_set_source_rgba(cr, ((argb >> 16) & 255) / 255.0, ((argb >> 8) & 255) / 255.0, (argb & 255) / 255.0,
                          (argb >> 24) / 255.0);
    source = argb;
  }
  void SetSourceColorref(COLORREF c) {
    const std::uint64_t key = (std::uint64_t{1} << 32) | c;
    if (source == key) return;
    cairo_set_source_rgb(cr, (c & 255) / 255.0, ((c >> 8) & 255) / 255.0, ((c >> 16) & 255) / 255.0);
    source = key;
  }
  void SetLineWidth(double width) {
    if (width == lineWidth) return;
    cairo_set_line_width(cr, width);
    lineWidth = width;
  }
  void SetDash(int style, double width) {
    if (style < 1 || style > 4) style = 0;
    if (style == dashStyle && (style == 0 || width == dashWidth)) return;
    detail::SetGpDash(cr, style, width);
    dashStyle = style;
    dashWidth = width;
  }
  void SetFillRule(bool winding) {
    const int rule = winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
    if (rule == fillRule) return;
    cairo_set_fill_rule(cr, static_cast<cairo_fill_rule_t>(rule));
    fillRule = rule;
  }
  void ClipTo(const PathDesc& path) {
    // A clip with nothing drawable in it (no figure, or only broken ones) leaves nothing.
    if (!detail::AddPath(cr, path, fullWidth, fullHeight)) cairo_rectangle(cr, -10, -10, 0, 0);
    SetFillRule(path.windingFill);
    cairo_clip(cr);
    clipped = true;
  }
  void ResetClip() {
    if (!clipped) return;
    cairo_reset_clip(cr);
    clipped = false;
  }

  // Sets up cr for one GDI+ call: GDI+ coordinates, anti-aliasing as asked, and the clip.
  void BeginGp(const GpState& state) {
    version = detail::NewPixelVersion();
    UseGpSpace();
    SetAntialias(state.antiAlias);
    if (state.clipped) {
      ClipTo(*state.clip);
      for (const PathDesc& more : *state.moreClips) ClipTo(more);
    }
  }
  void EndGp() {
    cairo_new_path(cr);
    ResetClip();
  }
};

namespace {

// An ARGB32 image over a buffer of detail::AcquireBuffer, given back when cairo lets the
// image go. Its pixels are not cleared: the constructor fills every one.
cairo_surface_t* CreateImage(int width, int height) {
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
  const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
  std::uint8_t* data = width > 0 && height > 0 ? detail::AcquireBuffer(bytes) : nullptr;
  if (data == nullptr) return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_t* image = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, width, height, stride);
  static const cairo_user_data_key_t kBufferKey{};
  struct Owned {
    std::uint8_t* data;
    std::size_t bytes;
  };
  auto* owned = new Owned{data, bytes};
  if (cairo_surface_set_user_data(image, &kBufferKey, owned, [](void* p) {
        auto* o = static_cast<Owned*>(p);
        detail::ReleaseBuffer(o->data, o->bytes);
        delete o;
      }) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    detail::ReleaseBuffer(data, bytes);
    delete owned;
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  }
  return image;
}

}  // namespace

RasterBackend::RasterBackend(int width, int height, COLORREF clear)
    : RasterBackend(width, height, clear, width, height, CPoint(0, 0)) {}

std::shared_ptr<RasterBackend> RasterBackend::MakeWindow(int fullWidth, int fullHeight, const CRect& window) {
  if (!detail::SurfaceSizeOk(fullWidth, fullHeight) || window.left < 0 || window.top < 0 || window.right > fullWidth ||
      window.bottom > fullHeight || !detail::SurfaceSizeOk(window.right - window.left, window.bottom - window.top)) {
    return nullptr;
  }
  return std::shared_ptr<RasterBackend>(new RasterBackend(window.right - window.left, window.bottom - window.top,
                                                          0x000000, fullWidth, fullHeight, window.TopLeft()));
}

RasterBackend::RasterBackend(int width, int height, COLORREF clear, int fullWidth, int fullHeight, CPoint origin)
    : impl_(std::make_unique<Impl>()) {
  if (!detail::SurfaceSizeOk(width, height)) width = height = 0;
  impl_->surface = CreateImage(width, height);
  // cairo draws in the larger surface's coordinates; the context takes the offset when made.
  cairo_surface_set_device_offset(impl_->surface, -static_cast<double>(origin.x), -static_cast<double>(origin.y));
  impl_->cr = cairo_create(impl_->surface);
  // GDI+ pens have flat caps and mitred joins; nothing else is ever used.
  cairo_set_line_cap(impl_->cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(impl_->cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_miter_limit(impl_->cr, detail::kMiterLimit);  // the stroke clip counts on it
  impl_->width = width;
  impl_->height = height;
  impl_->pixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(impl_->surface));
  impl_->stridePixels = cairo_image_surface_get_stride(impl_->surface) / 4;
  if (impl_->pixels == nullptr) impl_->width = impl_->height = 0;
  const bool window = impl_->width != 0 && (origin != CPoint(0, 0) || fullWidth != width || fullHeight != height);
  impl_->fullWidth = window ? fullWidth : impl_->width;
  impl_->fullHeight = window ? fullHeight : impl_->height;
  impl_->FillRect(0, 0, impl_->width, impl_->height, OpaqueArgb(clear));
  impl_->originX = window ? origin.x : 0;
  impl_->originY = window ? origin.y : 0;
  cairo_surface_mark_dirty(impl_->surface);
  SetSize(impl_->fullWidth, impl_->fullHeight);
}

std::shared_ptr<RasterBackend> RasterBackend::FromPixels(int fullWidth, int fullHeight, const PixelWindow& pixels) {
  if (pixels.Empty()) return nullptr;
  auto copy = MakeWindow(fullWidth, fullHeight, pixels.window);
  if (!copy) return nullptr;
  Impl& to = *copy->impl_;
  const std::size_t rowBytes = static_cast<std::size_t>(to.width) * sizeof(std::uint32_t);
  for (int y = 0; y < to.height; ++y) {
    std::memcpy(to.pixels + static_cast<std::ptrdiff_t>(y) * to.stridePixels, pixels.pixels + y * pixels.stride,
                rowBytes);
  }
  cairo_surface_mark_dirty(to.surface);
  return copy;
}

RasterBackend::~RasterBackend() {
  cairo_destroy(impl_->cr);
  cairo_surface_destroy(impl_->surface);
}

CRect RasterBackend::Window() const {
  return CRect(static_cast<int>(impl_->originX), static_cast<int>(impl_->originY),
               static_cast<int>(impl_->originX + impl_->width), static_cast<int>(impl_->originY + impl_->height));
}

PixelWindow RasterBackend::ReadPixels(const CRect& window) {
  const CRect held = Window();
  PixelWindow read;
  read.window = CRect(std::max(window.left, held.left), std::max(window.top, held.top),
                      std::min(window.right, held.right), std::min(window.bottom, held.bottom));
  if (read.window.right <= read.window.left || read.window.bottom <= read.window.top) return PixelWindow();
  cairo_surface_flush(impl_->surface);
  read.stride = impl_->stridePixels;
  read.pixels = impl_->pixels + (read.window.top - impl_->originY) * read.stride + (read.window.left - impl_->originX);
  read.version = impl_->version;
  return read;
}
std::shared_ptr<SurfaceBackend> RasterBackend::CreateCompatible(int width, int height) {
  if (!detail::SurfaceSizeOk(width, height)) return nullptr;
  return std::make_shared<RasterBackend>(width, height, 0x000000);
}

void RasterBackend::FillSolidRect(const CRect& rect, COLORREF color) {
  impl_->BeginDirect();
  impl_->FillRect(rect.left, rect.top, rect.right, rect.bottom, OpaqueArgb(color));
  impl_->EndDirect();
}

void RasterBackend::GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) {
  if (pen.style == PS_NULL) return;
  impl_->BeginDirect();
  detail::DrawGdiLine(impl_->Target(), from, to, pen, OpaqueArgb(pen.color));
  impl_->EndDirect();
}

void RasterBackend::DrawText(const TextDesc& call) {
  if (call.text.empty() || impl_->width == 0) return;
  impl_->version = detail::NewPixelVersion();
  const bool noClip = (call.format & DT_NOCLIP) != 0;
  const bool singleLine = (call.format & DT_SINGLELINE) != 0;
  const CRect& rc = call.rect;
  if (!noClip && rc.IsRectEmpty()) return;
  // The area pixels may change in: the rectangle (unless DT_NOCLIP) within the image.
  std::int64_t clipL = impl_->originX, clipT = impl_->originY;
  std::int64_t clipR = clipL + impl_->width, clipB = clipT + impl_->height;
  if (!noClip) {
    clipL = std::max<std::int64_t>(clipL, rc.left);
    clipT = std::max<std::int64_t>(clipT, rc.top);
    clipR = std::min<std::int64_t>(clipR, rc.right);
    clipB = std::min<std::int64_t>(clipB, rc.bottom);
  }
  if (clipL >= clipR || clipT >= clipB) return;

  // Lines: the whole text for DT_SINGLELINE, else split at line feeds.
  std::vector<std::string_view> lines;
  const std::string_view text(call.text);
  if (singleLine) {
    lines.push_back(text);
  } else {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }
  // A line's height comes from the font alone; a line is laid out only when its band meets
  // the clip, so a text of a million lines in a label box costs the lines that show. A
  // single-line label (nearly every call) is laid out once, its layout giving the height.
  auto& engine = detail::FontEngine::Instance();
  std::optional<detail::TextLayout> single;
  if (singleLine) single = engine.Layout(call.font, text);
  const std::int64_t lineHeight = single ? single->height : engine.Layout(call.font, std::string_view()).height;
  if (lineHeight <= 0) return;

  std::int64_t y = rc.top;
  if (singleLine && (call.format & DT_VCENTER)) {
    y = rc.top + (static_cast<std::int64_t>(rc.bottom) - rc.top - lineHeight) / 2;
  } else if (singleLine && (call.format & DT_BOTTOM)) {
    y = static_cast<std::int64_t>(rc.bottom) - lineHeight;
  }

  const std::uint32_t textPixel = OpaqueArgb(call.color);
  for (std::string_view line : lines) {
    if (y >= clipB) break;
    if (y + lineHeight <= clipT) {
      y += lineHeight;
      continue;
    }
    const detail::TextLayout layout = single ? std::move(*single) : engine.Layout(call.font, line);
    std::int64_t x = rc.left;
    if (call.format & DT_CENTER) {
      x = (static_cast<std::int64_t>(rc.left) + rc.right - layout.width) / 2;
    } else if (call.format & DT_RIGHT) {
      x = static_cast<std::int64_t>(rc.right) - layout.width;
    }
    const std::int64_t boxL = std::max(x, clipL), boxR = std::min(x + layout.width, clipR);
    const std::int64_t boxT = std::max(y, clipT), boxB = std::min(y + layout.height, clipB);
    if (boxL < boxR && boxT < boxB) {
      if (call.bkMode == OPAQUE) {
        impl_->BeginDirect();
        impl_->FillRect(boxL, boxT, boxR, boxB, OpaqueArgb(call.bkColor));
        impl_->EndDirect();
      }
      cairo_t* cr = impl_->cr;
      impl_->UsePixelSpace();
      impl_->SetAntialias(true);  // the same context state for every label, whatever came before
      cairo_rectangle(cr, static_cast<double>(boxL), static_cast<double>(boxT), static_cast<double>(boxR - boxL),
                      static_cast<double>(boxB - boxT));
      cairo_clip(cr);
      impl_->clipped = true;
      impl_->SetSourceColorref(call.color);
      const double baseline = static_cast<double>(y + layout.ascent);
      std::vector<cairo_glyph_t> glyphs;
      for (const detail::GlyphRun& run : layout.runs) {
        glyphs.assign(run.glyphs.begin(), run.glyphs.end());
        for (cairo_glyph_t& g : glyphs) {
          g.x += static_cast<double>(x);
          g.y = baseline;
        }
        cairo_set_scaled_font(cr, run.font);
        cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
      }
      impl_->ResetClip();
      if (call.font.underline) {
        const std::int64_t ut = y + layout.ascent + layout.underlineOffset;
        impl_->BeginDirect();
        impl_->FillRect(boxL, std::max(ut, boxT), boxR, std::min(ut + layout.underlineThickness, boxB), textPixel);
        impl_->EndDirect();
      }
    }
    y += layout.height;
  }
}

void RasterBackend::Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey, COLORREF key) {
  // Only the source pixels that land on what this image holds are read: a recording source
  // draws just that window.
  const CRect window = detail::CopyReadWindow(dst, sourceOrigin, Window(), source.Width(), source.Height());
  if (window.right <= window.left || window.bottom <= window.top) return;
  const PixelWindow read = source.ReadPixels(window);
  if (read.Empty()) return;
  const std::int64_t w = static_cast<std::int64_t>(dst.right) - dst.left;
  const std::int64_t h = static_cast<std::int64_t>(dst.bottom) - dst.top;
  if (w <= 0 || h <= 0) return;
  // Into image coordinates of both (either may be a window of a larger surface).
  const detail::PixelTarget src{const_cast<std::uint32_t*>(read.pixels),
                                read.window.right - read.window.left,
                                read.window.bottom - read.window.top,
                                static_cast<int>(read.stride),
                                read.window.left,
                                read.window.top};
  const std::int64_t dx = dst.left - impl_->originX, dy = dst.top - impl_->originY;
  const std::int64_t sx = sourceOrigin.x - src.originX, sy = sourceOrigin.y - src.originY;
  const std::int64_t uLo = std::max({std::int64_t{0}, -dx, -sx});
  const std::int64_t uHi = std::min({w, impl_->width - dx, std::int64_t{src.width} - sx});
  const std::int64_t vLo = std::max({std::int64_t{0}, -dy, -sy});
  const std::int64_t vHi = std::min({h, impl_->height - dy, std::int64_t{src.height} - sy});
  if (uLo >= uHi || vLo >= vHi) return;
  impl_->BeginDirect();
  detail::CopyPixels(impl_->Target(), src, dx + uLo, dy + vLo, sx + uLo, sy + vLo, uHi - uLo, vHi - vLo, useKey,
                     OpaqueArgb(key));
  impl_->EndDirect();
}

void RasterBackend::StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) {
  if (impl_->width == 0) return;
  cairo_t* cr = impl_->cr;
  impl_->BeginGp(state);
  const double width = detail::StrokeWidth(pen.width, impl_->fullWidth, impl_->fullHeight);
  if (detail::AddStrokePath(cr, path, impl_->fullWidth, impl_->fullHeight, width,
                            detail::GpDashPeriod(pen.dashStyle, width))) {
    impl_->SetLineWidth(width);
    impl_->SetDash(pen.dashStyle, width);
    impl_->SetSourceArgb(pen.argb);
    cairo_stroke(cr);
  }
  impl_->EndGp();
}

void RasterBackend::FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) {
  if (impl_->width == 0) return;
  cairo_t* cr = impl_->cr;
  impl_->BeginGp(state);
  if (detail::AddPath(cr, path, impl_->fullWidth, impl_->fullHeight)) {
    impl_->SetFillRule(path.windingFill);
    impl_->SetSourceArgb(argb);
    cairo_fill(cr);
  }
  impl_->EndGp();
}

void RasterBackend::FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle, std::uint32_t argb,
                            const GpState& state) {
  if (impl_->width == 0) return;
  cairo_t* cr = impl_->cr;
  impl_->BeginGp(state);
  if (detail::AddPie(cr, x, y, w, h, startAngle, sweepAngle, impl_->fullWidth, impl_->fullHeight)) {
    impl_->SetFillRule(true);
    impl_->SetSourceArgb(argb);
    cairo_fill(cr);
  }
  impl_->EndGp();
}

COLORREF RasterBackend::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= impl_->width || y >= impl_->height) return 0;
  const std::uint32_t p = GetPixelArgb(x, y);
  return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
}

std::uint32_t RasterBackend::GetPixelArgb(int x, int y) const {
  if (x < 0 || y < 0 || x >= impl_->width || y >= impl_->height) return 0;
  cairo_surface_flush(impl_->surface);
  return impl_->pixels[static_cast<std::ptrdiff_t>(y) * impl_->stridePixels + x];
}

const std::uint8_t* RasterBackend::Data() const {
  cairo_surface_flush(impl_->surface);
  return reinterpret_cast<const std::uint8_t*>(impl_->pixels);
}

int RasterBackend::Stride() const { return impl_->stridePixels * 4; }

bool RasterBackend::WritePng(const std::string& path) const {
  return detail::WriteArgb32Png(path, Data(), impl_->width, impl_->height, Stride());
}

RasterBackend* RasterOf(CDC& dc) { return dynamic_cast<RasterBackend*>(dc.GetBackend()); }

}  // namespace kelo::surface
