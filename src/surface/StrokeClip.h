// Where a stroke can show: the width a surface strokes a pen with, the box outside which no
// part of such a stroke colours a pixel, and the parts of a figure inside that box. Backends
// stroke only those parts, so a stroke costs work bounded by the surface size whatever its
// coordinates (cairo walks every dash of a path, visible or not).
#pragma once

#include <vector>

namespace kelo::surface::detail {

struct PointD {
  double x = 0;
  double y = 0;
  friend bool operator==(const PointD&, const PointD&) = default;
};

// The miter limit of GDI+ pens, and cairo's default: a miter reaches at most this many half
// widths from its vertex (sharper joins are bevelled).
inline constexpr double kMiterLimit = 10.0;

// The width a width x height surface strokes a pen with: a zero, negative or non-finite width
// one pixel, and a width past twice the surface's diagonal (plus a pixel each side) that
// width, which already covers the whole surface from any line crossing it.
double StrokeWidth(double penWidth, int width, int height);

// The box whose edge no part of a stroke of that width, with or without dashes, can cross
// into the surface (coordinates 0..width, 0..height): the surface grown by the reach of a
// miter and a pixel for anti-aliasing, and by more where that costs nothing. Cairo strokes a
// solid segment at a cost independent of its length, so solid strokes are cut only at
// kSolidReach, inside cairo's fixed-point range. Dashes cost a step each, visible or not, so
// dashed strokes are cut one surface size (width + height) beyond the reach. Segments inside
// the box reach cairo as they are; a cut one lands on cairo's 1/256-pixel grid differently
// and may shift anti-aliased pixels by a level.
struct StrokeBox {
  double l, t, r, b;
};
inline constexpr double kSolidReach = 1.0e6;
StrokeBox StrokeBoxOf(int width, int height, double strokeWidth, bool dashed);

// A connected part of a figure: points joined in order, closed when the whole figure is.
struct StrokeRun {
  std::vector<PointD> points;
  bool closed = false;
};

// The parts of a figure (closed: joined back to its first point) inside the box. A figure
// wholly inside comes back unchanged; a figure with a non-finite point gives nothing.
// Segments are cut where they cross the edge, with the piece outside left out. With a dash
// period (0: solid), a run that starts after the figure's first point starts instead at the
// last whole period before that point (outside the box), so the dashes inside keep the phase
// they have along the whole figure.
std::vector<StrokeRun> ClipStroke(const std::vector<PointD>& points, bool closed, const StrokeBox& box,
                                  double dashPeriod);

}  // namespace kelo::surface::detail
