// The window of a source a copy reads, computed 64 bits wide: hostile rectangles and origins
// anywhere in the 32-bit range never overflow.
#include "surface/CopyWindow.h"

#include <algorithm>
#include <cstdint>

namespace kelo::surface::detail {

namespace {

struct Span {
  std::int64_t from = 0;
  std::int64_t to = 0;  // exclusive
};

// One axis: the destination cut to what shows, moved into the source, cut to the source.
Span ReadSpan(std::int64_t dstFrom, std::int64_t dstTo, std::int64_t visibleFrom, std::int64_t visibleTo,
              std::int64_t origin, std::int64_t sourceSize) {
  const std::int64_t shownFrom = std::max(dstFrom, visibleFrom);
  const std::int64_t shownTo = std::min(dstTo, visibleTo);
  if (shownFrom >= shownTo) return {};
  const std::int64_t from = std::max<std::int64_t>(origin + (shownFrom - dstFrom), 0);
  const std::int64_t to = std::min(origin + (shownTo - dstFrom), sourceSize);
  if (from >= to) return {};
  return {from, to};
}

}  // namespace

CRect CopyReadWindow(const CRect& dst, CPoint sourceOrigin, const CRect& visible, int sourceWidth, int sourceHeight) {
  const Span x = ReadSpan(dst.left, dst.right, visible.left, visible.right, sourceOrigin.x, sourceWidth);
  const Span y = ReadSpan(dst.top, dst.bottom, visible.top, visible.bottom, sourceOrigin.y, sourceHeight);
  if (x.from >= x.to || y.from >= y.to) return CRect();
  // Inside [0, source size): each fits 32 bits.
  return CRect(static_cast<int>(x.from), static_cast<int>(y.from), static_cast<int>(x.to), static_cast<int>(y.to));
}

}  // namespace kelo::surface::detail
