// Up/down bars around a zero line: the rows a value fills and the columns of its slot. A
// bar too small to show keeps one row on its side of the zero line, so every slot with data
// shows something.
#include "bar/BarGeometry.h"

#include "chart/AxisPixel.h"

namespace kelo::detail {

UpDownRows UpDownBarRows(std::int32_t value, int midY, double scale) {
  const double height = value * scale;
  UpDownRows rows;
  if (value > 0) {
    rows.kind = UpDownRows::kUp;
    if (std::trunc(height) > 1) {
      rows.top = TruncSat32(midY - height);
      rows.bottom = midY;
    } else {
      rows.top = NarrowSat32(static_cast<std::int64_t>(midY) - 1);
      rows.bottom = midY;
    }
    return rows;
  }
  rows.kind = value < 0 ? UpDownRows::kDown : UpDownRows::kZero;
  rows.top = midY;
  rows.bottom = TruncSat32(midY - height);
  if (rows.bottom == midY) rows.bottom = NarrowSat32(static_cast<std::int64_t>(midY) + 1);
  return rows;
}

std::pair<int, int> UpDownBarColumns(const BarPos& slot) {
  const std::int64_t left = static_cast<std::int64_t>(slot.first) + 2;
  const std::int64_t right = static_cast<std::int64_t>(slot.second) - 1;
  // Slots narrower than four pixels have no room for the two-pixel gap: the bar keeps one
  // column at the slot's left edge instead of vanishing.
  if (right <= left) return {slot.first, NarrowSat32(static_cast<std::int64_t>(slot.first) + 1)};
  return {NarrowSat32(left), NarrowSat32(right)};
}

}  // namespace kelo::detail
