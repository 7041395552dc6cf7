// Building cairo paths from GDI+ shapes, safely: figures with non-finite points are left out,
// filled figures reaching far outside the image are clipped to a margin around it first, so
// cairo's fixed-point coordinates never overflow, and stroked ones to what the stroke can show.
#pragma once

#include <cairo.h>

#include <kelochart/surface/Backend.h>

namespace kelo::surface::detail {

// Adds the figures of path, each closed, to cr's current path for a fill or a clip. Returns
// whether anything was added.
bool AddPath(cairo_t* cr, const PathDesc& path, int width, int height);
// Adds what a stroke of that width and dash period can show of path's figures on a width x
// height surface (see ClipStroke). Returns whether anything was added.
bool AddStrokePath(cairo_t* cr, const PathDesc& path, int width, int height, double strokeWidth, double dashPeriod);
// GDI+ dash patterns (multiples of the pen width): dash 3-1, dot 1-1, dash-dot 3-1-1-1,
// dash-dot-dot 3-1-1-1-1-1; solid for any other style.
void SetGpDash(cairo_t* cr, int dashStyle, double penWidth);
// The length of one repeat of that pattern; 0 for a solid pen.
double GpDashPeriod(int dashStyle, double penWidth);
// A pie of the ellipse inside (x, y, w, h); angles in degrees, clockwise from the x axis.
bool AddPie(cairo_t* cr, double x, double y, double w, double h, double start, double sweep, int width, int height);

}  // namespace kelo::surface::detail
