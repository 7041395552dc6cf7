// Pixel rows as text, so raster tests read as pictures: '#' where a pixel has the colour
// asked for, '.' elsewhere.
#pragma once

#include <string>

#include <kelochart/surface/RasterBackend.h>

namespace kelo::test {

inline std::string Row(const kelo::surface::RasterBackend& r, int y, int x0, int x1, COLORREF ink) {
  std::string s;
  for (int x = x0; x < x1; ++x) s += r.GetPixel(x, y) == ink ? '#' : '.';
  return s;
}

inline std::string Column(const kelo::surface::RasterBackend& r, int x, int y0, int y1, COLORREF ink) {
  std::string s;
  for (int y = y0; y < y1; ++y) s += r.GetPixel(x, y) == ink ? '#' : '.';
  return s;
}

// Number of pixels of the image that have the colour.
inline int CountColor(const kelo::surface::RasterBackend& r, COLORREF ink) {
  int n = 0;
  for (int y = 0; y < r.Height(); ++y) {
    for (int x = 0; x < r.Width(); ++x) n += r.GetPixel(x, y) == ink;
  }
  return n;
}

// Pixels that differ from the colour (anything drawn on a plain background).
inline int CountNot(const kelo::surface::RasterBackend& r, COLORREF background, int x0 = 0, int y0 = 0, int x1 = -1,
                    int y1 = -1) {
  if (x1 < 0) x1 = r.Width();
  if (y1 < 0) y1 = r.Height();
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) n += r.GetPixel(x, y) != background;
  }
  return n;
}

}  // namespace kelo::test
