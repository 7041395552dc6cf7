// PNG encoding of finished charts in memory: 8-bit RGB without row filters (chart images are
// flat areas and thin lines, where filters only add entropy), compressed by libdeflate or by
// the library's libspng encoder. The tool uses the faster one at the same size (see
// docs/performance.md); both stay for the side-by-side measurement.
#pragma once

#include <cstdint>
#include <vector>

namespace kelo::surface { class RasterBackend; }

namespace kelo::cli {

enum class PngEncoder { kLibdeflate, kSpng };
inline constexpr PngEncoder kDefaultPngEncoder = PngEncoder::kLibdeflate;

// Encodes the image; false (and empty bytes) on failure. level: the compressor's level.
bool EncodePng(const kelo::surface::RasterBackend& image, std::vector<std::uint8_t>& png,
               PngEncoder encoder = kDefaultPngEncoder, int level = -1);

}  // namespace kelo::cli
