// One process-wide counter: 64 bits never wrap, and atomic because surfaces of different
// threads take versions at once.
#include "surface/PixelVersion.h"

#include <atomic>

namespace kelo::surface::detail {

std::uint64_t NewPixelVersion() {
  static std::atomic<std::uint64_t> counter{0};
  return counter.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace kelo::surface::detail
