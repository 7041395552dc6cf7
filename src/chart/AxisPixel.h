// Pixel helpers of the chart frame and its axes: the most lines one axis draws and the
// sizes of a rectangle, exact for hostile edges. The saturating conversions they go with
// are those of base/Saturate.h, shared by every layer.
#pragma once

#include <cstddef>
#include <cstdint>

#include <kelochart/surface/Rect.h>

#include "base/Saturate.h"

namespace kelo::detail {

// More grid lines or labels than this are never drawn along one axis: no screen has that
// many pixel rows or columns, so further lines would only repaint drawn ones, and a hostile
// count must not cost billions of drawing calls. A count above it draws nothing.
inline constexpr std::int64_t kMaxAxisLines = 65536;

// The same bound for label lists (X labels, time labels, label times): a longer list is
// drawn as nothing and gets no slot table, as a grid of too many lines is.
inline bool LabelCountOk(std::size_t count) { return count <= static_cast<std::size_t>(kMaxAxisLines); }

// Width and height of a rectangle, exact in double even for hostile edges.
inline double RectWidth(const CRect& rect) {
  return static_cast<double>(static_cast<std::int64_t>(rect.right) - rect.left);
}
inline double RectHeight(const CRect& rect) {
  return static_cast<double>(static_cast<std::int64_t>(rect.bottom) - rect.top);
}

}  // namespace kelo::detail
