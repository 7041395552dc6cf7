// The one narrow interface every drawing backend implements. CDC and Gdiplus::Graphics
// resolve their selected pen, font, colours and modes and hand each drawing call here as
// a self-contained description, so a backend never sees DC state:
//   - RasterBackend paints into a cairo ARGB32 image;
//   - RecordingBackend keeps every call as a plain record and can replay it onto any backend;
//   - VectorBackend draws onto an SVG or PDF page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <kelochart/surface/Rect.h>
#include <kelochart/surface/Types.h>

namespace kelo::surface {

// A GDI pen as it is when a line is drawn.
struct GdiPenDesc {
  int style = PS_SOLID;  // PS_SOLID .. PS_NULL (without the type bits)
  int width = 1;         // pixels; 0 draws as 1
  COLORREF color = 0;
  bool geometric = false;  // created with ExtCreatePen and PS_GEOMETRIC
  friend bool operator==(const GdiPenDesc&, const GdiPenDesc&) = default;
};

// A font as it is when text is drawn or measured.
struct FontDesc {
  std::string face = "DejaVu Sans Mono";
  int height = -12;  // LOGFONT lfHeight: < 0 em height, > 0 cell height, 0 default
  int width = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// One DrawText call with everything that decides its pixels.
struct TextDesc {
  std::string text;
  CRect rect;
  UINT format = 0;
  FontDesc font;
  COLORREF color = 0;
  int bkMode = OPAQUE;
  COLORREF bkColor = 0xFFFFFF;
  friend bool operator==(const TextDesc&, const TextDesc&) = default;
};

struct PointF {
  float x = 0;
  float y = 0;
  friend bool operator==(const PointF&, const PointF&) = default;
};

// A GDI+ path: figures of points, each closed (polygon) or open (polyline).
struct PathFigure {
  std::vector<PointF> points;
  bool closed = true;
  friend bool operator==(const PathFigure&, const PathFigure&) = default;
};
struct PathDesc {
  std::vector<PathFigure> figures;
  bool windingFill = false;  // false: alternate (even-odd) fill, GDI+'s default
  friend bool operator==(const PathDesc&, const PathDesc&) = default;
};

// A GDI+ pen as it is when a line or path is stroked.
struct GpPenDesc {
  std::uint32_t argb = 0xFF000000;
  float width = 1.0f;
  int dashStyle = 0;  // Gdiplus::DashStyle: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
  friend bool operator==(const GpPenDesc&, const GpPenDesc&) = default;
};

// An immutable value shared by every call drawn under it, compared by value. A clip is set
// once and holds for many calls (a curve draws one segment a call), so the records of those
// calls refer to one copy of it instead of each copying the whole path.
template <typename T>
class Shared {
 public:
  Shared() = default;
  Shared(T value) : value_(std::make_shared<const T>(std::move(value))) {}  // NOLINT: implicit
  const T& get() const { return value_ ? *value_ : Empty(); }
  operator const T&() const { return get(); }  // NOLINT: reads as the value
  const T& operator*() const { return get(); }
  const T* operator->() const { return &get(); }
  friend bool operator==(const Shared& a, const Shared& b) { return a.value_ == b.value_ || a.get() == b.get(); }
  friend bool operator==(const Shared& a, const T& b) { return a.get() == b; }

 private:
  static const T& Empty() {
    static const T empty{};
    return empty;
  }
  std::shared_ptr<const T> value_;
};

// Drawing state of a GDI+ call: anti-aliasing and the clip (a path) if one is set. A clip
// intersected with further regions (CombineModeIntersect) keeps them in moreClips: the
// drawing is limited to the inside of every one of them.
struct GpState {
  bool antiAlias = false;
  bool clipped = false;
  Shared<PathDesc> clip;
  Shared<std::vector<PathDesc>> moreClips;
  friend bool operator==(const GpState&, const GpState&) = default;
};

// Pixels of a window of a surface, as a copy reads them: premultiplied ARGB32 in cairo's
// layout (native endian), opaque for every surface the layer makes.
struct PixelWindow {
  CRect window;                           // the pixels held, in the surface's coordinates
  const std::uint32_t* pixels = nullptr;  // pixel (window.left, window.top); null: none held
  std::ptrdiff_t stride = 0;              // pixels from one row to the next
  // Names the pixels: two reads of the same version (not 0) give the same pixels wherever their
  // windows overlap, so a reader may reuse what it made of the first for the second.
  std::uint64_t version = 0;
  // Holds the pixels when they were drawn for this read; null when they are the surface's own,
  // valid until the surface next changes.
  std::shared_ptr<const void> owner;

  bool Empty() const { return pixels == nullptr || window.right <= window.left || window.bottom <= window.top; }
  // The pixel at surface coordinates (x, y), which must lie inside window.
  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::ptrdiff_t>(y - window.top) * stride + (x - window.left)];
  }
};

// The interface of a drawing backend: ten virtual functions. A backend reads another surface's
// pixels only through ReadPixels, so it knows no other kind of backend and a new backend
// touches no other backend's file.
class SurfaceBackend {
 public:
  virtual ~SurfaceBackend() = default;

  // Size in pixels (of the whole surface, also for a raster that holds only a window of it).
  int Width() const { return width_; }
  int Height() const { return height_; }

  // A new, cleared surface of the same kind for memory DCs and CreateCompatibleBitmap; null
  // for a size the layer does not make.
  virtual std::shared_ptr<SurfaceBackend> CreateCompatible(int width, int height) = 0;
  // Fills the rectangle, pixel exact and never anti-aliased (as GdiLine and Blit are).
  virtual void FillSolidRect(const CRect& rect, COLORREF color) = 0;
  // A line from 'from' towards 'to', leaving out the last pixel as GDI does.
  virtual void GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) = 0;
  // One DrawText call; text is measured by the font engine, the same on every backend.
  virtual void DrawText(const TextDesc& text) = 0;
  // Copies the source area of the size of dst from sourceOrigin, clipped to both surfaces,
  // reading the source through its ReadPixels; with useKey, pixels exactly equal to key are
  // left out.
  virtual void Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey, COLORREF key) = 0;
  // GDI+ stroke: anti-aliased when the state asks for it; colours with alpha blend.
  virtual void StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) = 0;
  // GDI+ fill of a path, as StrokePath.
  virtual void FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) = 0;
  // GDI+ pie inside the ellipse of (x, y, w, h), angles in degrees, clockwise.
  virtual void FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle, std::uint32_t argb,
                       const GpState& state) = 0;
  // The pixels of window (in this surface's coordinates) as they are now: window cut to the
  // surface and to what it holds, so possibly less; nothing from a surface that cannot be
  // read back (an SVG or PDF page).
  virtual PixelWindow ReadPixels(const CRect& window) = 0;

 protected:
  SurfaceBackend() = default;
  SurfaceBackend(const SurfaceBackend&) = delete;
  SurfaceBackend& operator=(const SurfaceBackend&) = delete;
  void SetSize(int width, int height) {
    width_ = width;
    height_ = height;
  }

 private:
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kelo::surface
