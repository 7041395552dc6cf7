// The geometry of the bar charts as pure functions: where the bars of a slot chart stand,
// how high a by-ratio bar is, where the bars of a group stand, and which rows an up/down bar
// fills. The Draw... members of CKeloBaseBar only paint what these return, and tests call
// them without a device context. Every result is computed in double or 64 bits and narrowed
// on purpose, so hostile rectangles, counts and values never overflow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include <kelochart/surface/Rect.h>

namespace kelo::detail {

using BarPos = std::pair<int, int>;

// Left and right x pixel of the first count slots of slotCount equal slots across rect, inset
// by lineOffset on either side. A slot count of 0 or less gives no positions.
std::vector<BarPos> BarPositions(const CRect& rect, int lineOffset, std::int32_t slotCount, std::int32_t count);

// Height in pixels of value on the by-ratio scale: each interval between consecutive entries
// of the first count entries of scale gets one step of stepHeight pixels, a value at or above
// the last entry the full count steps.
std::int32_t RatioHeight(std::int64_t value, const std::vector<std::int32_t>& scale, std::size_t count,
                         double stepHeight);

// Rows of one up/down bar: top to bottom (bottom exclusive) and the colour it takes.
struct UpDownRows {
  enum Kind { kUp, kDown, kZero };
  int top = 0;
  int bottom = 0;
  Kind kind = kUp;
};
// A bar of value around the zero line midY at scale pixels per unit: at least the one row
// above (positive values) or below (zero and negative values) the zero line.
UpDownRows UpDownBarRows(std::int32_t value, int midY, double scale);
// Columns of an up/down bar in the slot (left, right): from left + 2 to right - 1, or the single
// column left ... left + 1 when the slot is narrower than four pixels.
std::pair<int, int> UpDownBarColumns(const BarPos& slot);

// The group slots of a grouped bar chart: unit width and bar width; valid is false when there
// is no unit to divide the width into.
struct GroupLayout {
  bool valid = false;
  double unit = 0.0;
  int barWidth = 1;
  double left = 0.0;  // rect.left + lineOffset
  std::uint32_t unitsPerGroup = 1;
};
GroupLayout LayoutGroups(const CRect& rect, int lineOffset, std::int32_t groupCount, std::uint32_t multiBarSize);
// Left edge of the first bar of group index.
int GroupBarLeft(const GroupLayout& layout, std::size_t index);
// Top row of a grouped bar of value standing on bottom: one row for 0, two rows for values of
// at most two pixels (negative ones included).
int GroupBarTop(std::int32_t value, int bottom, double scale);

}  // namespace kelo::detail
