// PNG encoding (libdeflate) and decoding (cairo) of surfaces.
#include "surface/Png.h"

#include <cairo.h>
#include <libdeflate.h>

#include <bit>
#include <cstddef>
#include <cstring>
#include <cstdio>

#include <kelochart/surface/PngEncoder.h>

#include "surface/LargeBuffer.h"

namespace kelo::surface::detail {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char type[4], const std::uint8_t* data, std::size_t size) {
  Put32(out, static_cast<std::uint32_t>(size));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  if (size != 0) out.insert(out.end(), data, data + size);
  Put32(out, libdeflate_crc32(0, out.data() + start, size + 4));
}

}  // namespace

bool EncodeArgb32Png(const std::uint8_t* data, int width, int height, int stride, const PngSettings& settings,
                     std::vector<std::uint8_t>& png) {
  png.clear();
  if (data == nullptr || width <= 0 || height <= 0 || stride / 4 < width) return false;
  // Scanlines: filter byte 0 and RGB, from opaque premultiplied ARGB (plain RGB).
  // Every byte of the scanlines is written below, and the compressor writes only what it
  // returns: neither buffer is cleared first (clearing them was a tenth of a chart's cost).
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3 + 1;
  const std::size_t rawSize = rowBytes * static_cast<std::size_t>(height);
  ScopedBuffer raw(rawSize + 1);  // the last pixel's 4-byte store reaches one byte past the rows
  if (raw.data() == nullptr) return false;
  for (int y = 0; y < height; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    std::uint8_t* out = raw.data() + rowBytes * static_cast<std::size_t>(y);
    *out++ = 0;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = src[x];
      if constexpr (std::endian::native == std::endian::little) {
        // R, G, B and a byte the next pixel (or the next row's filter byte) overwrites: one
        // store a pixel instead of three. 0xAARRGGBB byte-swapped is 0xBBGGRRAA; shifted, it
        // lies in memory as R, G, B, 0.
        const std::uint32_t rgb = __builtin_bswap32(p) >> 8;
        std::memcpy(out, &rgb, 4);
      } else {
        out[0] = static_cast<std::uint8_t>(p >> 16);
        out[1] = static_cast<std::uint8_t>(p >> 8);
        out[2] = static_cast<std::uint8_t>(p);
      }
      out += 3;
    }
  }
  // One compressor per thread and level: the tool's batch workers encode in parallel.
  thread_local struct Compressor {
    libdeflate_compressor* c = nullptr;
    int level = -1;
    ~Compressor() { libdeflate_free_compressor(c); }
  } compressor;
  if (compressor.c == nullptr || compressor.level != settings.level) {
    libdeflate_free_compressor(compressor.c);
    compressor.c = libdeflate_alloc_compressor(settings.level);  // null for a level outside 0..12
    compressor.level = settings.level;
  }
  if (compressor.c == nullptr) return false;
  const std::size_t zBound = libdeflate_zlib_compress_bound(compressor.c, rawSize);
  ScopedBuffer z(zBound);
  if (z.data() == nullptr) return false;
  const std::size_t zSize = libdeflate_zlib_compress(compressor.c, raw.data(), rawSize, z.data(), zBound);
  if (zSize == 0 || zSize > 0x7FFFFFFFu) return false;  // a chunk holds at most 2^31-1 bytes
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png.reserve(8 + 25 + 12 + zSize + 12);
  png.assign(kSignature, kSignature + 8);
  std::vector<std::uint8_t> ihdr;
  Put32(ihdr, static_cast<std::uint32_t>(width));
  Put32(ihdr, static_cast<std::uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter method, no interlace
  Chunk(png, "IHDR", ihdr.data(), ihdr.size());
  Chunk(png, "IDAT", z.data(), zSize);
  Chunk(png, "IEND", nullptr, 0);
  return true;
}

bool WriteArgb32Png(const std::string& path, const std::uint8_t* data, int width, int height, int stride) {
  std::vector<std::uint8_t> png;
  if (!EncodeArgb32Png(data, width, height, stride, PngSettings{}, png)) return false;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && ok;
}

bool WriteSurfacePng(SurfaceBackend& surface, const std::string& path) {
  const PixelWindow read = surface.ReadPixels(CRect(0, 0, surface.Width(), surface.Height()));
  if (read.Empty() || read.window != CRect(0, 0, surface.Width(), surface.Height())) return false;
  return WriteArgb32Png(path, reinterpret_cast<const std::uint8_t*>(read.pixels), surface.Width(), surface.Height(),
                        static_cast<int>(read.stride * 4));
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
      image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)] =
          p;
    }
  }
  cairo_surface_destroy(argb);
  cairo_surface_destroy(surface);
  return true;
}

}  // namespace kelo::surface::detail

namespace kelo::surface {

bool EncodePng(SurfaceBackend& surface, std::vector<std::uint8_t>& png, int level) {
  png.clear();
  const PixelWindow read = surface.ReadPixels(CRect(0, 0, surface.Width(), surface.Height()));
  if (read.Empty() || read.window != CRect(0, 0, surface.Width(), surface.Height())) return false;
  return detail::EncodeArgb32Png(reinterpret_cast<const std::uint8_t*>(read.pixels), surface.Width(), surface.Height(),
                                 static_cast<int>(read.stride * 4), detail::PngSettings{level}, png);
}

}  // namespace kelo::surface
