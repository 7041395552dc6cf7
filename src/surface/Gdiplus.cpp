// GDI+ on the surface layer: paths and regions become PathDesc values, and Graphics hands
// each call to the backend of the DC it was made for, with its smoothing mode and clip.
#include <kelochart/surface/Gdiplus.h>

#include <cmath>

namespace Gdiplus {

using kelo::surface::GpState;
using kelo::surface::PathDesc;
using kelo::surface::PathFigure;

namespace {

kelo::surface::PointF P(REAL x, REAL y) { return kelo::surface::PointF{x, y}; }

// One figure through count points (Point or PointF): a polygon when closed, else a polyline.
template <typename Pt>
PathFigure FigureOf(const Pt* points, INT count, bool closed) {
  PathFigure figure{{}, closed};
  for (INT i = 0; i < count; ++i) {
    figure.points.push_back(P(static_cast<REAL>(points[i].X), static_cast<REAL>(points[i].Y)));
  }
  return figure;
}

PathDesc PointsPath(const PointF* points, INT count, bool closed) {
  PathDesc path;
  path.figures.push_back(FigureOf(points, count, closed));
  return path;
}

PathDesc RectPath(REAL x, REAL y, REAL w, REAL h) {
  PathDesc desc;
  desc.figures.push_back(PathFigure{{P(x, y), P(x + w, y), P(x + w, y + h), P(x, y + h)}, true});
  return desc;
}

}  // namespace

Status GraphicsPath::AddPolygon(const Point* points, INT count) {
  if (points == nullptr || count < 3) return InvalidParameter;
  figures_.push_back(FigureOf(points, count, true));
  open_ = false;
  return Ok;
}

Status GraphicsPath::AddPolygon(const PointF* points, INT count) {
  if (points == nullptr || count < 3) return InvalidParameter;
  figures_.push_back(FigureOf(points, count, true));
  open_ = false;
  return Ok;
}

Status GraphicsPath::AddLines(const PointF* points, INT count) {
  if (points == nullptr || count < 1) return InvalidParameter;
  if (!open_) {
    figures_.push_back(PathFigure{{}, false});
    open_ = true;
  }
  auto& pts = figures_.back().points;
  for (INT i = 0; i < count; ++i) {
    // A line that starts where the figure ends continues it without repeating the point.
    if (i == 0 && !pts.empty() && pts.back().x == points[0].X && pts.back().y == points[0].Y) continue;
    pts.push_back(P(points[i].X, points[i].Y));
  }
  return Ok;
}

Status GraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2) {
  const PointF pts[2] = {PointF(x1, y1), PointF(x2, y2)};
  return AddLines(pts, 2);
}

Status GraphicsPath::CloseFigure() {
  if (open_ && !figures_.empty()) figures_.back().closed = true;
  open_ = false;
  return Ok;
}

Status GraphicsPath::StartFigure() {
  open_ = false;
  return Ok;
}

PathDesc GraphicsPath::Desc() const {
  PathDesc desc;
  desc.figures = figures_;
  desc.windingFill = mode_ == FillModeWinding;
  return desc;
}

Region::Region(const GraphicsPath* path) {
  if (path == nullptr) return;  // stays infinite
  infinite_ = false;
  path_ = path->Desc();
}

Region::Region(const Rect& rect) : infinite_(false) {
  if (rect.Width > 0 && rect.Height > 0) {
    path_ = RectPath(static_cast<REAL>(rect.X), static_cast<REAL>(rect.Y), static_cast<REAL>(rect.Width),
                     static_cast<REAL>(rect.Height));
  }
}

Graphics::Graphics(CDC* dc) {
  if (dc != nullptr) target_ = dc->GetBackendShared();
}

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
  if (mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias) return InvalidParameter;
  smoothing_ = mode;
  UpdateState();
  return Ok;
}

void Graphics::UpdateState() {
  state_ = GpState();
  state_.antiAlias = smoothing_ == SmoothingModeAntiAlias || smoothing_ == SmoothingModeHighQuality;
  state_.clipped = !clips_.empty();
  if (state_.clipped) {
    // Made once here and shared by the records of every call until the clip changes.
    state_.clip = clips_.front();
    state_.moreClips = std::vector<PathDesc>(clips_.begin() + 1, clips_.end());
  }
}

Status Graphics::DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2) {
  return DrawLine(pen, static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2), static_cast<REAL>(y2));
}

Status Graphics::DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  if (pen == nullptr) return InvalidParameter;
  if (!target_) return GenericError;
  if (segment_.figures.size() != 1) segment_.figures.assign(1, PathFigure{{P(0, 0), P(0, 0)}, false});
  segment_.figures[0].points[0] = P(x1, y1);
  segment_.figures[0].points[1] = P(x2, y2);
  target_->StrokePath(segment_, pen->Desc(), State());
  return Ok;
}

Status Graphics::DrawLines(const Pen* pen, const PointF* points, INT count) {
  if (pen == nullptr || points == nullptr || count < 2) return InvalidParameter;
  if (!target_) return GenericError;
  target_->StrokePath(PointsPath(points, count, false), pen->Desc(), State());
  return Ok;
}

Status Graphics::FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height) {
  return FillRectangle(brush, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                       static_cast<REAL>(height));
}

Status Graphics::FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height) {
  if (brush == nullptr) return InvalidParameter;
  if (!target_) return GenericError;
  if (!(width > 0) || !(height > 0)) return Ok;  // an empty rectangle paints nothing
  target_->FillPath(RectPath(x, y, width, height), brush->FillArgb(), State());
  return Ok;
}

Status Graphics::FillPie(const Brush* brush, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                         REAL sweepAngle) {
  if (brush == nullptr) return InvalidParameter;
  if (!target_) return GenericError;
  target_->FillPie(x, y, width, height, startAngle, sweepAngle, brush->FillArgb(), State());
  return Ok;
}

Status Graphics::FillPolygon(const Brush* brush, const PointF* points, INT count, FillMode mode) {
  if (brush == nullptr || points == nullptr || count < 3) return InvalidParameter;
  if (!target_) return GenericError;
  PathDesc path = PointsPath(points, count, true);
  path.windingFill = mode == FillModeWinding;
  target_->FillPath(path, brush->FillArgb(), State());
  return Ok;
}

Status Graphics::FillPath(const Brush* brush, const GraphicsPath* path) {
  if (brush == nullptr || path == nullptr) return InvalidParameter;
  if (!target_) return GenericError;
  target_->FillPath(path->Desc(), brush->FillArgb(), State());
  return Ok;
}

Status Graphics::DrawPath(const Pen* pen, const GraphicsPath* path) {
  if (pen == nullptr || path == nullptr) return InvalidParameter;
  if (!target_) return GenericError;
  target_->StrokePath(path->Desc(), pen->Desc(), State());
  return Ok;
}

Status Graphics::FillRegion(const Brush* brush, const Region* region) {
  if (brush == nullptr || region == nullptr) return InvalidParameter;
  if (!target_) return GenericError;
  if (region->IsInfinite()) {
    // The infinite region covers the whole surface (and whatever the clip leaves of it).
    target_->FillPath(RectPath(0, 0, static_cast<REAL>(target_->Width()), static_cast<REAL>(target_->Height())),
                      brush->FillArgb(), State());
  } else {
    target_->FillPath(region->Path(), brush->FillArgb(), State());
  }
  return Ok;
}

Status Graphics::SetClip(const Region* region, CombineMode mode) {
  if (region == nullptr) return InvalidParameter;
  if (mode != CombineModeReplace && mode != CombineModeIntersect) return InvalidParameter;
  if (mode == CombineModeReplace) clips_.clear();
  // An infinite region adds no limit.
  if (!region->IsInfinite()) clips_.push_back(region->Path());
  UpdateState();
  return Ok;
}

Status Graphics::SetClip(const GraphicsPath* path, CombineMode mode) {
  if (path == nullptr) return InvalidParameter;
  Region region(path);
  return SetClip(&region, mode);
}

Status Graphics::ResetClip() {
  clips_.clear();
  UpdateState();
  return Ok;
}

}  // namespace Gdiplus
