// Golden-image comparison: a raster is compared with tests/golden/<name>.png, exactly by
// default: the images were blessed on the build machine (Debian 12's cairo, FreeType and
// fonts), where the raster backend is deterministic to the bit. Another machine with other
// library or font versions may anti-alias glyph and curve edges a level or two differently;
// pass a tolerance there and say at the call why it is needed. On a mismatch <name>.out.png
// (what was drawn) and <name>.diff.png (the differing pixels in red on black) are
// written to the test output directory. KELOCHART_BLESS=1 (re)writes the golden instead.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RasterBackend.h>

namespace kelo::test {

::testing::AssertionResult MatchesGolden(const kelo::surface::RasterBackend& image, const std::string& name,
                                         int tolerance = 0);
// Any DC: a raster directly, a recording replayed onto a raster first.
::testing::AssertionResult MatchesGolden(CDC& dc, const std::string& name, int tolerance = 0);

// The directory test outputs go to (created on demand).
std::string TestOutDir();

// Pixels of two rasters that differ by more than tolerance in any channel.
int CountDifferentPixels(const kelo::surface::RasterBackend& a, const kelo::surface::RasterBackend& b,
                         int tolerance = 0);

}  // namespace kelo::test
