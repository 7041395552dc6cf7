// The GDI+ shapes chart code uses for anti-aliased drawing: colours, pens, solid brushes,
// polygon paths, regions and a Graphics bound to a CDC for one drawing call.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <kelochart/surface/Backend.h>
#include <kelochart/surface/DC.h>

// Xlib defines Status as a macro: set aside here and restored at the end of this header, so
// the header reads the same after <X11/Xlib.h>; such code names the type GpStatus.
#pragma push_macro("Status")
#undef Status

namespace Gdiplus {

using ARGB = std::uint32_t;  // 0xAARRGGBB
using REAL = float;
using INT = int;

enum Status { Ok = 0, GenericError = 1, InvalidParameter = 2 };
using GpStatus = Status;

enum DashStyle {
  DashStyleSolid = 0,
  DashStyleDash = 1,
  DashStyleDot = 2,
  DashStyleDashDot = 3,
  DashStyleDashDotDot = 4,
};

enum SmoothingMode {
  SmoothingModeInvalid = -1,
  SmoothingModeDefault = 0,
  SmoothingModeHighSpeed = 1,
  SmoothingModeHighQuality = 2,
  SmoothingModeNone = 3,
  SmoothingModeAntiAlias = 4,
};

enum FillMode { FillModeAlternate = 0, FillModeWinding = 1 };
enum CombineMode { CombineModeReplace = 0, CombineModeIntersect = 1 };

class Color {
 public:
  Color() = default;
  Color(ARGB argb) : argb_(argb) {}  // NOLINT: implicit as in GDI+
  Color(BYTE r, BYTE g, BYTE b) : argb_(MakeARGB(255, r, g, b)) {}
  Color(BYTE a, BYTE r, BYTE g, BYTE b) : argb_(MakeARGB(a, r, g, b)) {}
  ARGB GetValue() const { return argb_; }
  void SetValue(ARGB argb) { argb_ = argb; }
  BYTE GetA() const { return static_cast<BYTE>(argb_ >> 24); }
  BYTE GetR() const { return static_cast<BYTE>(argb_ >> 16); }
  BYTE GetG() const { return static_cast<BYTE>(argb_ >> 8); }
  BYTE GetB() const { return static_cast<BYTE>(argb_); }
  COLORREF ToCOLORREF() const { return RGB(GetR(), GetG(), GetB()); }
  void SetFromCOLORREF(COLORREF c) { argb_ = kelo::surface::OpaqueArgb(c); }
  static constexpr ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
  }
  friend bool operator==(const Color& a, const Color& b) { return a.argb_ == b.argb_; }

 private:
  ARGB argb_ = 0xFF000000;
};

struct Point {
  INT X = 0;
  INT Y = 0;
  Point() = default;
  Point(INT x, INT y) : X(x), Y(y) {}
};

struct PointF {
  REAL X = 0;
  REAL Y = 0;
  PointF() = default;
  PointF(REAL x, REAL y) : X(x), Y(y) {}
};

struct Rect {
  INT X = 0, Y = 0, Width = 0, Height = 0;
  Rect() = default;
  Rect(INT x, INT y, INT w, INT h) : X(x), Y(y), Width(w), Height(h) {}
};

struct RectF {
  REAL X = 0, Y = 0, Width = 0, Height = 0;
  RectF() = default;
  RectF(REAL x, REAL y, REAL w, REAL h) : X(x), Y(y), Width(w), Height(h) {}
};

class Brush {
 public:
  virtual ~Brush() = default;
  virtual Brush* Clone() const = 0;
  virtual ARGB FillArgb() const = 0;
};

class SolidBrush : public Brush {
 public:
  explicit SolidBrush(const Color& color) : color_(color) {}
  Status GetColor(Color* color) const {
    *color = color_;
    return Ok;
  }
  Status SetColor(const Color& color) {
    color_ = color;
    return Ok;
  }
  Brush* Clone() const override { return new SolidBrush(color_); }
  ARGB FillArgb() const override { return color_.GetValue(); }

 private:
  Color color_;
};

class Pen {
 public:
  explicit Pen(const Color& color, REAL width = 1.0f) : color_(color), width_(width) {}
  Status SetColor(const Color& color) {
    color_ = color;
    return Ok;
  }
  Status GetColor(Color* color) const {
    *color = color_;
    return Ok;
  }
  Status SetWidth(REAL width) {
    width_ = width;
    return Ok;
  }
  REAL GetWidth() const { return width_; }
  Status SetDashStyle(DashStyle style) {
    dash_ = style;
    return Ok;
  }
  DashStyle GetDashStyle() const { return dash_; }
  Pen* Clone() const { return new Pen(*this); }
  kelo::surface::GpPenDesc Desc() const { return {color_.GetValue(), width_, static_cast<int>(dash_)}; }

 private:
  Color color_;
  REAL width_ = 1.0f;
  DashStyle dash_ = DashStyleSolid;
};

class GraphicsPath {
 public:
  explicit GraphicsPath(FillMode mode = FillModeAlternate) : mode_(mode) {}
  Status AddPolygon(const Point* points, INT count);
  Status AddPolygon(const PointF* points, INT count);
  Status AddLines(const PointF* points, INT count);
  Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
  Status CloseFigure();
  Status StartFigure();
  Status SetFillMode(FillMode mode) {
    mode_ = mode;
    return Ok;
  }
  FillMode GetFillMode() const { return mode_; }
  void Reset() {
    figures_.clear();
    open_ = false;
  }
  kelo::surface::PathDesc Desc() const;

 private:
  FillMode mode_;
  std::vector<kelo::surface::PathFigure> figures_;
  bool open_ = false;  // the last figure takes further lines
};

class Region {
 public:
  Region() = default;  // infinite region
  explicit Region(const GraphicsPath* path);
  explicit Region(const Rect& rect);
  bool IsInfinite() const { return infinite_; }
  const kelo::surface::PathDesc& Path() const { return path_; }

 private:
  bool infinite_ = true;
  kelo::surface::PathDesc path_;
};

// A drawing context on a CDC for the duration of one call: draws to the surface the DC
// draws on at construction.
class Graphics {
 public:
  explicit Graphics(CDC* dc);
  static Graphics* FromHDC(CDC* dc) { return new Graphics(dc); }
  Status SetSmoothingMode(SmoothingMode mode);
  SmoothingMode GetSmoothingMode() const { return smoothing_; }

  Status DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2);
  Status DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
  Status DrawLine(const Pen* pen, const Point& a, const Point& b) { return DrawLine(pen, a.X, a.Y, b.X, b.Y); }
  Status DrawLine(const Pen* pen, const PointF& a, const PointF& b) { return DrawLine(pen, a.X, a.Y, b.X, b.Y); }
  Status DrawLines(const Pen* pen, const PointF* points, INT count);
  Status FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height);
  Status FillRectangle(const Brush* brush, const Rect& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
  }
  Status FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
  Status FillPie(const Brush* brush, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
  Status FillPie(const Brush* brush, const RectF& r, REAL startAngle, REAL sweepAngle) {
    return FillPie(brush, r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
  }
  Status FillPolygon(const Brush* brush, const PointF* points, INT count, FillMode mode = FillModeAlternate);
  Status FillPath(const Brush* brush, const GraphicsPath* path);
  Status DrawPath(const Pen* pen, const GraphicsPath* path);
  Status FillRegion(const Brush* brush, const Region* region);
  Status SetClip(const Region* region, CombineMode mode = CombineModeReplace);
  Status SetClip(const GraphicsPath* path, CombineMode mode = CombineModeReplace);
  Status ResetClip();

 private:
  std::shared_ptr<kelo::surface::SurfaceBackend> target_;
  SmoothingMode smoothing_ = SmoothingModeNone;
  std::vector<kelo::surface::PathDesc> clips_;  // intersected; none: no clip
  // The state every call passes on, rebuilt when the smoothing mode or the clip changes.
  kelo::surface::GpState state_;
  // A one-segment path reused by DrawLine, so a stream of segments allocates nothing.
  kelo::surface::PathDesc segment_;
  const kelo::surface::GpState& State() const { return state_; }
  void UpdateState();
};

}  // namespace Gdiplus

#pragma pop_macro("Status")
