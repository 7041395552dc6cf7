// Path construction for the GDI+ side of the raster surface.
#include "surface/GpGeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "surface/StrokeClip.h"

namespace kelo::surface::detail {

namespace {

constexpr double kSafe = 1.0e6;    // coordinates within this range go to cairo unchanged
constexpr double kMargin = 1.0e4;  // clipped figures keep this much room around the image

// GDI+ dash patterns in pen widths: dash, dot, dash-dot, dash-dot-dot.
constexpr double kDashPatterns[4][6] = {{3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
constexpr int kDashCounts[4] = {2, 2, 4, 6};

struct Box {
  double l, t, r, b;
};

bool Finite(const PointF& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool Near(const PointF& p) { return std::fabs(p.x) <= kSafe && std::fabs(p.y) <= kSafe; }

// Sutherland-Hodgman against one edge of the box; keeps winding numbers inside the box.
template <typename Inside, typename Cross>
std::vector<PointF> ClipEdge(const std::vector<PointF>& in, Inside inside, Cross cross) {
  std::vector<PointF> out;
  if (in.empty()) return out;
  PointF prev = in.back();
  bool prevIn = inside(prev);
  for (const PointF& cur : in) {
    const bool curIn = inside(cur);
    if (curIn != prevIn) out.push_back(cross(prev, cur));
    if (curIn) out.push_back(cur);
    prev = cur;
    prevIn = curIn;
  }
  return out;
}

std::vector<PointF> ClipPolygon(const std::vector<PointF>& poly, const Box& box) {
  auto lerpX = [](const PointF& a, const PointF& b, double x) {
    const double t = (x - a.x) / (static_cast<double>(b.x) - a.x);
    const double lo = std::min<double>(a.y, b.y), hi = std::max<double>(a.y, b.y);
    return PointF{static_cast<float>(x),
                  static_cast<float>(std::clamp(a.y + t * (static_cast<double>(b.y) - a.y), lo, hi))};
  };
  auto lerpY = [](const PointF& a, const PointF& b, double y) {
    const double t = (y - a.y) / (static_cast<double>(b.y) - a.y);
    const double lo = std::min<double>(a.x, b.x), hi = std::max<double>(a.x, b.x);
    return PointF{static_cast<float>(std::clamp(a.x + t * (static_cast<double>(b.x) - a.x), lo, hi)),
                  static_cast<float>(y)};
  };
  std::vector<PointF> p = poly;
  p = ClipEdge(
      p, [&](const PointF& q) { return q.x >= box.l; },
      [&](const PointF& a, const PointF& b) { return lerpX(a, b, box.l); });
  p = ClipEdge(
      p, [&](const PointF& q) { return q.x <= box.r; },
      [&](const PointF& a, const PointF& b) { return lerpX(a, b, box.r); });
  p = ClipEdge(
      p, [&](const PointF& q) { return q.y >= box.t; },
      [&](const PointF& a, const PointF& b) { return lerpY(a, b, box.t); });
  p = ClipEdge(
      p, [&](const PointF& q) { return q.y <= box.b; },
      [&](const PointF& a, const PointF& b) { return lerpY(a, b, box.b); });
  return p;
}

}  // namespace

bool AddPath(cairo_t* cr, const PathDesc& path, int width, int height) {
  const Box box{-kMargin, -kMargin, width + kMargin, height + kMargin};
  bool added = false;
  for (const PathFigure& figure : path.figures) {
    const auto& pts = figure.points;
    if (pts.empty()) continue;
    bool finite = true, near = true;
    for (const PointF& p : pts) {
      finite = finite && Finite(p);
      near = near && Near(p);
    }
    if (!finite) continue;  // a broken point spoils only its own figure
    std::vector<PointF> clipped;
    if (!near) clipped = ClipPolygon(pts, box);
    const std::vector<PointF>& shape = near ? pts : clipped;
    if (!near && clipped.size() < 2) continue;
    cairo_move_to(cr, shape[0].x, shape[0].y);
    for (std::size_t i = 1; i < shape.size(); ++i) cairo_line_to(cr, shape[i].x, shape[i].y);
    cairo_close_path(cr);
    added = true;
  }
  return added;
}

bool AddStrokePath(cairo_t* cr, const PathDesc& path, int width, int height, double strokeWidth, double dashPeriod) {
  const StrokeBox box = StrokeBoxOf(width, height, strokeWidth, dashPeriod > 0);
  bool added = false;
  std::vector<PointD> points;
  for (const PathFigure& figure : path.figures) {
    // A figure wholly inside the box (a chart's lines are) is what clipping would give back
    // unchanged: its points go to cairo as they are, without the copies clipping makes.
    const bool inside =
        figure.points.size() >= 2 && std::all_of(figure.points.begin(), figure.points.end(), [&](const auto& p) {
          const double x = p.x, y = p.y;
          return x >= box.l && x <= box.r && y >= box.t && y <= box.b;
        });
    if (inside) {
      cairo_move_to(cr, figure.points[0].x, figure.points[0].y);
      for (std::size_t i = 1; i < figure.points.size(); ++i) cairo_line_to(cr, figure.points[i].x, figure.points[i].y);
      if (figure.closed) cairo_close_path(cr);
      added = true;
      continue;
    }
    points.assign(figure.points.size(), PointD{});
    for (std::size_t i = 0; i < points.size(); ++i) points[i] = PointD{figure.points[i].x, figure.points[i].y};
    for (const StrokeRun& run : ClipStroke(points, figure.closed, box, dashPeriod)) {
      cairo_move_to(cr, run.points[0].x, run.points[0].y);
      for (std::size_t i = 1; i < run.points.size(); ++i) cairo_line_to(cr, run.points[i].x, run.points[i].y);
      if (run.closed) cairo_close_path(cr);
      added = true;
    }
  }
  return added;
}

double GpDashPeriod(int dashStyle, double penWidth) {
  if (dashStyle < 1 || dashStyle > 4) return 0;
  double units = 0;
  for (int i = 0; i < kDashCounts[dashStyle - 1]; ++i) units += kDashPatterns[dashStyle - 1][i];
  return units * (penWidth < 1.0 ? 1.0 : penWidth);
}

void SetGpDash(cairo_t* cr, int dashStyle, double penWidth) {
  if (dashStyle < 1 || dashStyle > 4) {
    cairo_set_dash(cr, nullptr, 0, 0);
    return;
  }
  // Pens thinner than a pixel keep one-pixel dash units, so a pattern never degenerates.
  const double unit = penWidth < 1.0 ? 1.0 : penWidth;
  double dashes[6];
  const int k = dashStyle - 1;
  for (int i = 0; i < kDashCounts[k]; ++i) dashes[i] = kDashPatterns[k][i] * unit;
  cairo_set_dash(cr, dashes, kDashCounts[k], 0);
}

bool AddPie(cairo_t* cr, double x, double y, double w, double h, double start, double sweep, int width, int height) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h) || !std::isfinite(start) ||
      !std::isfinite(sweep)) {
    return false;
  }
  if (w <= 0 || h <= 0 || sweep == 0) return false;
  if (w > kSafe || h > kSafe || std::fabs(x) > kSafe || std::fabs(y) > kSafe) return false;
  if (x + w < -1 || y + h < -1 || x > width + 1 || y > height + 1) return false;  // wholly outside
  const double rx = w / 2, ry = h / 2, cx = x + rx, cy = y + ry;
  constexpr double kDeg = 3.14159265358979323846 / 180.0;
  // GDI+ angles are true angles on the ellipse; cairo arcs take the parameter of the
  // unit circle that is scaled to it.
  auto param = [&](double degrees) {
    const double a = degrees * kDeg;
    const double t = std::atan2(rx * std::sin(a), ry * std::cos(a));
    // Keep the parameter in the same turn as the angle, so sweeps keep their length.
    const double turns = std::floor((a + 3.14159265358979323846) / (2 * 3.14159265358979323846));
    return t + turns * 2 * 3.14159265358979323846;
  };
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  if (std::fabs(sweep) >= 360.0) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979323846);
    cairo_close_path(cr);
  } else {
    const double t0 = param(start), t1 = param(start + sweep);
    cairo_move_to(cr, 0, 0);
    if (sweep > 0) {
      cairo_arc(cr, 0, 0, 1, t0, t1 < t0 ? t0 : t1);
    } else {
      cairo_arc_negative(cr, 0, 0, 1, t0, t1 > t0 ? t0 : t1);
    }
    cairo_close_path(cr);
  }
  cairo_restore(cr);
  return true;
}

}  // namespace kelo::surface::detail
