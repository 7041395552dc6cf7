// PNG encoding and decoding of surfaces.
#include "surface/Png.h"

#include <cairo.h>
#include <spng.h>

#include <cstdio>
#include <cstdlib>

#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>

namespace kelo::surface::detail {

// Level 4 without row filters: within 2% of the size of cairo's own writer for a third of its
// time on a chart-like image (see docs/notes/surface.md for the measurements).
PngSettings DefaultPngSettings() { return PngSettings{4, 0, 0}; }

bool EncodeArgb32Png(const std::uint8_t* data, int width, int height, int stride, const PngSettings& settings,
                     std::vector<std::uint8_t>& png) {
  png.clear();
  if (data == nullptr || width <= 0 || height <= 0 || stride < width * 4) return false;
  spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
  if (ctx == nullptr) return false;
  spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
  spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, settings.level);
  spng_set_option(ctx, SPNG_FILTER_CHOICE, settings.filter);
  spng_set_option(ctx, SPNG_IMG_COMPRESSION_STRATEGY, settings.strategy);
  spng_ihdr ihdr{};
  ihdr.width = static_cast<std::uint32_t>(width);
  ihdr.height = static_cast<std::uint32_t>(height);
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  int err = spng_set_ihdr(ctx, &ihdr);
  if (err == 0) err = spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
  // Rows are converted one at a time: opaque premultiplied ARGB is plain RGB.
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; err == 0 && y < height; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    std::uint8_t* out = row.data();
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = src[x];
      out[0] = static_cast<std::uint8_t>(p >> 16);
      out[1] = static_cast<std::uint8_t>(p >> 8);
      out[2] = static_cast<std::uint8_t>(p);
      out += 3;
    }
    err = spng_encode_row(ctx, row.data(), row.size());
    if (err == SPNG_EOI) err = 0;
  }
  if (err == 0) {
    std::size_t size = 0;
    void* buffer = spng_get_png_buffer(ctx, &size, &err);
    if (buffer != nullptr && err == 0) {
      png.assign(static_cast<const std::uint8_t*>(buffer), static_cast<const std::uint8_t*>(buffer) + size);
    }
    std::free(buffer);
  }
  spng_ctx_free(ctx);
  return err == 0 && !png.empty();
}

bool WriteArgb32Png(const std::string& path, const std::uint8_t* data, int width, int height, int stride) {
  std::vector<std::uint8_t> png;
  if (!EncodeArgb32Png(data, width, height, stride, DefaultPngSettings(), png)) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && ok;
}

bool WriteSurfacePng(SurfaceBackend& surface, const std::string& path) {
  if (auto* raster = dynamic_cast<RasterBackend*>(&surface)) return raster->WritePng(path);
  if (auto* recording = dynamic_cast<RecordingBackend*>(&surface)) {
    const RecordingSnapshot snapshot = recording->Snapshot();
    if (snapshot.width <= 0 || snapshot.height <= 0) return false;
    RasterBackend raster(snapshot.width, snapshot.height, snapshot.initial);
    Replay(snapshot.records, raster);
    return raster.WritePng(path);
  }
  return false;
}

bool ReadPng(const std::string& path, PngImage& image) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(surface),
                                                     cairo_image_surface_get_height(surface));
  cairo_t* cr = cairo_create(argb);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(argb);
  image.width = cairo_image_surface_get_width(argb);
  image.height = cairo_image_surface_get_height(argb);
  image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 0);
  const int stride = cairo_image_surface_get_stride(argb);
  const unsigned char* data = cairo_image_surface_get_data(argb);
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t p = row[x];
      const std::uint32_t a = p >> 24;
      if (a != 0 && a != 255) {  // back to straight alpha
        auto un = [a](std::uint32_t c) { return (c * 255 + a / 2) / a; };
        p = (a << 24) | (un((p >> 16) & 255) << 16) | (un((p >> 8) & 255) << 8) | un(p & 255);
      }
      image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)] = p;
    }
  }
  cairo_surface_destroy(argb);
  cairo_surface_destroy(surface);
  return true;
}

}  // namespace kelo::surface::detail
