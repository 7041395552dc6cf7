// PNG bytes of a surface in memory, for a program that sends or stores pictures itself
// (CDC::WritePng writes a file).
#pragma once

#include <cstdint>
#include <vector>

#include <kelochart/surface/Backend.h>

namespace kelo::surface {

// The deflate level PNGs are written with unless a caller asks for another: 0 (stored) to 12
// (smallest, slowest). Level 2 is the fastest on chart images, level 1 included: level 1 runs
// fewer instructions but enters every byte of a long match into its hash table, and chart
// images are mostly long matches (docs/performance.md). A caller short of bytes rather than
// time passes a higher level.
inline constexpr int kDefaultPngLevel = 2;

// The whole surface as an 8-bit RGB PNG, as CDC::WritePng writes it (a recording is drawn
// first). False, with png empty, for a surface that cannot be read back (an SVG or PDF page)
// or a level outside 0 to 12.
bool EncodePng(SurfaceBackend& surface, std::vector<std::uint8_t>& png, int level = kDefaultPngLevel);

}  // namespace kelo::surface
