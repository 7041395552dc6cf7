// Versions that name the pixels of a surface (PixelWindow::version): every surface takes a new
// one whenever its pixels may change, so equal versions mean equal pixels, across surfaces too.
#pragma once

#include <cstdint>

namespace kelo::surface::detail {

// A version no surface has had before in this process (never 0). Safe from any thread.
std::uint64_t NewPixelVersion();

}  // namespace kelo::surface::detail
