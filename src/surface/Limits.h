// The largest surface the layer creates: a hostile size fails instead of allocating gigabytes.
#pragma once

#include <cstdint>

namespace kelo::surface::detail {

inline constexpr int kMaxSurfaceSide = 16384;
inline constexpr std::int64_t kMaxSurfacePixels = 64LL * 1024 * 1024;

inline bool SurfaceSizeOk(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
         static_cast<std::int64_t>(width) * height <= kMaxSurfacePixels;
}

}  // namespace kelo::surface::detail
