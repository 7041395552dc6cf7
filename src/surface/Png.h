// PNG output of surfaces and PNG input for the golden-image tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <kelochart/surface/Backend.h>
#include <kelochart/surface/PngEncoder.h>

namespace kelo::surface::detail {

// An image of opaque (or straight-alpha) pixels 0xAARRGGBB, rows without padding.
struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Encoder settings: the libdeflate compression level, 0 (stored) to 12; by default the one
// every PNG of the layer is written with unless a caller chooses a level (kDefaultPngLevel).
struct PngSettings {
  int level = kDefaultPngLevel;
};

// Encodes a premultiplied, native-endian ARGB32 image (cairo's layout, opaque) as an 8-bit
// RGB PNG: rows without filters (chart images are flat areas and thin lines, where filters
// only add entropy), one zlib stream compressed by libdeflate in one call.
bool EncodeArgb32Png(const std::uint8_t* data, int width, int height, int stride, const PngSettings& settings,
                     std::vector<std::uint8_t>& png);

// Writes a premultiplied, native-endian ARGB32 image (cairo's layout) as PNG with the
// layer's chosen encoder settings.
bool WriteArgb32Png(const std::string& path, const std::uint8_t* data, int width, int height, int stride);
// Writes any surface that can be read back (ReadPixels): a raster directly, a recording drawn
// onto a raster first.
bool WriteSurfacePng(SurfaceBackend& surface, const std::string& path);
// Reads a PNG (any colour type) into straight-alpha ARGB; false when it cannot be read.
bool ReadPng(const std::string& path, PngImage& image);

}  // namespace kelo::surface::detail
