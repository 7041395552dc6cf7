// The size limits of the surface layer: the largest surface it creates and the longest
// recording and the font cache keep, so that a hostile size, call count or face name never
// allocates gigabytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelo::surface::detail {

inline constexpr int kMaxSurfaceSide = 16384;
inline constexpr std::int64_t kMaxSurfacePixels = 64LL * 1024 * 1024;

// The most records one recording list (a surface's own, or the shared log) keeps: about a
// hundred full chart redraws. Calls past it are counted, not recorded.
inline constexpr std::size_t kMaxRecords = std::size_t{1} << 20;
// The most bytes one recording list keeps, records with their paths, texts and copied pixels
// (RecordingBackend::Bytes): 2^20 of the largest plain records fit, copies of pixels are
// bounded as well. Calls past it are counted, not recorded.
inline constexpr std::uint64_t kMaxRecordingBytes = std::uint64_t{256} * 1024 * 1024;

// The font cache keeps faces and sizes for the process (they are bounded by the installed
// font files and the clamped em size), but logical fonts are keyed by caller-chosen face
// names: at most kMaxFontFamilies of them are kept, the least recently used going first,
// each with at most kMaxGlyphsPerFamily character look-ups.
inline constexpr std::size_t kMaxFontFamilies = 64;
inline constexpr std::size_t kMaxGlyphsPerFamily = 65536;
// Logical fonts cached now (defined by the font engine).
std::size_t CachedFontFamilies();

inline bool SurfaceSizeOk(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
         static_cast<std::int64_t>(width) * height <= kMaxSurfacePixels;
}

}  // namespace kelo::surface::detail
