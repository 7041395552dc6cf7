// PNG bytes of a surface in memory, for a program that sends or stores pictures itself
// (CDC::WritePng writes a file).
#pragma once

#include <cstdint>
#include <vector>

#include <kelochart/surface/Backend.h>

namespace kelo::surface {

// The whole surface as an 8-bit RGB PNG, as CDC::WritePng writes it (a recording is drawn
// first). False, with png empty, for a surface that cannot be read back (an SVG or PDF page).
bool EncodePng(SurfaceBackend& surface, std::vector<std::uint8_t>& png);

}  // namespace kelo::surface
