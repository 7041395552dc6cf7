// The part of a source surface a copy reads: only that part of a recorded bitmap is drawn
// when a copy out of it is replayed onto pixels.
#pragma once

#include <kelochart/surface/Rect.h>

namespace kelo::surface::detail {

// The source pixels a copy of dst, read from sourceOrigin, lands on the visible part of its
// destination with (visible in the destination's coordinates), within a source of
// sourceWidth x sourceHeight. Empty (all zero) when the copy shows nothing. Whatever the
// rectangles say, the window is never larger than visible nor than the source.
CRect CopyReadWindow(const CRect& dst, CPoint sourceOrigin, const CRect& visible, int sourceWidth, int sourceHeight);

}  // namespace kelo::surface::detail
