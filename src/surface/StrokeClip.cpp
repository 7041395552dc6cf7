// The parts of stroked figures that can show on a surface, in double.
#include "surface/StrokeClip.h"

#include <algorithm>
#include <cmath>

namespace kelo::surface::detail {

namespace {

bool Inside(const PointD& p, const StrokeBox& box) {
  return p.x >= box.l && p.x <= box.r && p.y >= box.t && p.y <= box.b;
}

// The part p-q of segment a-b (a != b) inside the box, in the direction a -> b; an end inside
// the box is kept exactly. Along the main axis u the other coordinate is v = c + u * slope,
// with |slope| <= 1 and c taken from the end nearer u = 0 in one rounding, so a segment 1e30
// long keeps the part near the box that a parameter 0..1 would lose. Cuts are clamped into
// the box, where the exact answer lies.
bool ClipSegment(const PointD& a, const PointD& b, const StrokeBox& box, PointD& p, PointD& q) {
  const bool xMajor = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
  const double ua = xMajor ? a.x : a.y, va = xMajor ? a.y : a.x;
  const double ub = xMajor ? b.x : b.y, vb = xMajor ? b.y : b.x;
  const double uLo = xMajor ? box.l : box.t, uHi = xMajor ? box.r : box.b;
  const double vLo = xMajor ? box.t : box.l, vHi = xMajor ? box.b : box.r;
  double lo = std::max(std::min(ua, ub), uLo), hi = std::min(std::max(ua, ub), uHi);
  if (!(lo <= hi)) return false;
  // Halves: the difference of two coordinates near the largest double would overflow.
  const double slope = (0.5 * vb - 0.5 * va) / (0.5 * ub - 0.5 * ua);
  const bool fromA = std::fabs(ua) <= std::fabs(ub);
  const double c = std::fma(-(fromA ? ua : ub), slope, fromA ? va : vb);
  if (slope == 0) {
    if (c < vLo || c > vHi) return false;
  } else {
    double uA = (vLo - c) / slope, uB = (vHi - c) / slope;
    if (uA > uB) std::swap(uA, uB);
    lo = std::max(lo, uA);
    hi = std::min(hi, uB);
    if (!(lo <= hi)) return false;
  }
  auto at = [&](double u) {
    const double v = std::clamp(c + u * slope, vLo, vHi);
    return xMajor ? PointD{u, v} : PointD{v, u};
  };
  p = Inside(a, box) ? a : at(ua <= ub ? lo : hi);
  q = Inside(b, box) ? b : at(ua <= ub ? hi : lo);
  return true;
}

}  // namespace

double StrokeWidth(double penWidth, int width, int height) {
  if (!(penWidth > 0) || !std::isfinite(penWidth)) return 1.0;
  return std::min(penWidth, 2.0 * std::hypot(width, height) + 2.0);
}

StrokeBox StrokeBoxOf(int width, int height, double strokeWidth, bool dashed) {
  const double reach = kMiterLimit / 2 * strokeWidth + 2.0;
  const double grow = dashed ? reach + width + height : std::max(reach, kSolidReach);
  return StrokeBox{-grow, -grow, width + grow, height + grow};
}

std::vector<StrokeRun> ClipStroke(const std::vector<PointD>& points, bool closed, const StrokeBox& box,
                                  double dashPeriod) {
  std::vector<StrokeRun> runs;
  bool inside = true;
  for (const PointD& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return runs;
    inside = inside && Inside(p, box);
  }
  if (points.size() < 2) return runs;
  if (inside) {
    runs.push_back(StrokeRun{points, closed});
    return runs;
  }
  const std::size_t n = points.size(), segments = closed ? n : n - 1;
  double along = 0;  // length of the figure before the current segment
  bool open = false;
  for (std::size_t i = 0; i < segments; ++i) {
    const PointD& a = points[i];
    const PointD& b = points[(i + 1) % n];
    if (a == b) continue;  // cairo skips it too, without breaking the line
    PointD p, q;
    const bool shows = ClipSegment(a, b, box, p, q) && !(p == q);
    if (!shows) {
      open = false;
    } else {
      if (!open) {  // else p is a, where the run ends
        PointD start = p;
        const double phase = dashPeriod > 0 ? std::fmod(along + std::hypot(p.x - a.x, p.y - a.y), dashPeriod) : 0;
        if (phase > 0 && phase < dashPeriod) {
          // Back along the segment, away from the box (p is where it enters).
          const double length = std::hypot(q.x - p.x, q.y - p.y);
          start = PointD{p.x - (q.x - p.x) / length * phase, p.y - (q.y - p.y) / length * phase};
        }
        runs.push_back(StrokeRun{{start}, false});
      }
      runs.back().points.push_back(q);
      open = q == b;  // b is inside
    }
    along += std::hypot(b.x - a.x, b.y - a.y);
  }
  // A solid closed figure shown across its first point joins there, as it did whole.
  if (closed && dashPeriod <= 0 && runs.size() >= 2 && runs.front().points.front() == points[0] &&
      runs.back().points.back() == points[0]) {
    std::vector<PointD>& last = runs.back().points;
    last.insert(last.end(), runs.front().points.begin() + 1, runs.front().points.end());
    runs.front().points = std::move(last);
    runs.pop_back();
  }
  return runs;
}

}  // namespace kelo::surface::detail
