// Direct pixel work of the raster surface: GDI lines (pixel exact, end point left out, dash
// patterns counted in pixels along the line) and copies with or without a colour key.
#pragma once

#include <cstdint>

#include <kelochart/surface/Backend.h>

namespace kelo::surface::detail {

struct PixelTarget {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // in pixels
  // The coordinates of pixel (0, 0): a window of a larger surface is drawn in its coordinates.
  std::int64_t originX = 0;
  std::int64_t originY = 0;
};

// The on/off lengths (pixels) of a GDI pen's dash pattern; count 0 for a solid pen.
struct DashPattern {
  int count = 0;
  std::int64_t lengths[6] = {};
  std::int64_t period = 0;
};
DashPattern GdiDashPattern(const GdiPenDesc& pen);

// A line from 'from' towards 'to' with the pen, leaving out the end point. A pen wider than
// one pixel covers a band of 'width' pixels across the line's main direction, from
// width / 2 before the thin line's pixel to (width - 1) / 2 after it.
void DrawGdiLine(const PixelTarget& target, CPoint from, CPoint to, const GdiPenDesc& pen, std::uint32_t pixel);

// Copies a w x h block that lies inside both images (the caller clipped it). With a key,
// source pixels equal to keyPixel are left out. Source and destination may be the same image.
void CopyPixels(const PixelTarget& dst, const PixelTarget& src, std::int64_t dx, std::int64_t dy, std::int64_t sx,
                std::int64_t sy, std::int64_t w, std::int64_t h, bool useKey, std::uint32_t keyPixel);

}  // namespace kelo::surface::detail
