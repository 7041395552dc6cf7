// PNG encoding of finished charts with libdeflate (whole-buffer zlib) or libspng.
#include "PngEncoder.h"

#include <libdeflate.h>

#include <kelochart/surface/RasterBackend.h>

#include "surface/Png.h"

namespace kelo::cli {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char type[4], const std::uint8_t* data, std::size_t size) {
  Put32(out, static_cast<std::uint32_t>(size));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + size);
  Put32(out, libdeflate_crc32(0, out.data() + start, size + 4));
}

bool EncodeWithLibdeflate(const std::uint8_t* data, int width, int height, int stride, int level,
                          std::vector<std::uint8_t>& png) {
  // Scanlines: filter byte 0 and RGB, from opaque premultiplied ARGB (plain RGB).
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3 + 1;
  std::vector<std::uint8_t> raw(rowBytes * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    std::uint8_t* out = raw.data() + rowBytes * static_cast<std::size_t>(y);
    *out++ = 0;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = src[x];
      out[0] = static_cast<std::uint8_t>(p >> 16);
      out[1] = static_cast<std::uint8_t>(p >> 8);
      out[2] = static_cast<std::uint8_t>(p);
      out += 3;
    }
  }
  // One compressor per thread: batch workers encode in parallel.
  thread_local struct Compressor {
    libdeflate_compressor* c = nullptr;
    int level = -1;
    ~Compressor() { libdeflate_free_compressor(c); }
  } compressor;
  if (compressor.level != level) {
    libdeflate_free_compressor(compressor.c);
    compressor.c = libdeflate_alloc_compressor(level);
    compressor.level = level;
  }
  if (compressor.c == nullptr) return false;
  std::vector<std::uint8_t> z(libdeflate_zlib_compress_bound(compressor.c, raw.size()));
  const std::size_t zSize = libdeflate_zlib_compress(compressor.c, raw.data(), raw.size(), z.data(), z.size());
  if (zSize == 0) return false;
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
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

}  // namespace

bool EncodePng(const kelo::surface::RasterBackend& image, std::vector<std::uint8_t>& png, PngEncoder encoder,
               int level) {
  png.clear();
  const int width = image.Width(), height = image.Height();
  if (width <= 0 || height <= 0) return false;
  if (encoder == PngEncoder::kSpng) {
    auto settings = kelo::surface::detail::DefaultPngSettings();
    if (level >= 0) settings.level = level;
    return kelo::surface::detail::EncodeArgb32Png(image.Data(), width, height, image.Stride(), settings, png);
  }
  return EncodeWithLibdeflate(image.Data(), width, height, image.Stride(), level >= 0 ? level : 4, png);
}

}  // namespace kelo::cli
