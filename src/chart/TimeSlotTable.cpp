// Building and reading the time-slot table (see TimeSlotTable.h).
#include "chart/TimeSlotTable.h"

#include "chart/AxisPixel.h"

namespace kelo::detail {

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
}  // namespace

std::int64_t TimeSlotCount(std::int32_t startSec, std::int32_t endSec, std::int32_t step) {
  if (step <= 0 || endSec <= startSec) return 0;
  const std::int64_t first = startSec >= 60 ? static_cast<std::int64_t>(startSec) - 60 : 0;
  const std::int64_t last = endSec <= kSecondsPerDay ? static_cast<std::int64_t>(endSec) + 60 : kSecondsPerDay;
  if (last < first) return 0;
  return (last - first) / step + 1;
}

float TimeSlotStep(const TimeSlotGeometry& geometry) {
  if (geometry.step <= 0 || geometry.endSec <= geometry.startSec) return 0.0f;
  const std::int64_t width =
      static_cast<std::int64_t>(geometry.right) - geometry.left - 2 * static_cast<std::int64_t>(geometry.lineOffset);
  // The product is a 32-bit one: taken modulo 2^32 on purpose rather than overflowing.
  const auto product =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(geometry.step));
  const double seconds = static_cast<double>(static_cast<std::int64_t>(geometry.endSec) - geometry.startSec);
  return static_cast<float>(static_cast<double>(product) / seconds);
}

float BuildTimeSlotTable(const TimeSlotGeometry& geometry, std::vector<float>& positions) {
  positions.clear();
  const float step = TimeSlotStep(geometry);
  const std::int64_t count = TimeSlotCount(geometry.startSec, geometry.endSec, geometry.step);
  positions.reserve(static_cast<std::size_t>(count));
  float x = static_cast<float>(static_cast<std::int64_t>(geometry.left) + geometry.lineOffset);
  for (std::int64_t k = 0; k < count; ++k) {
    x = x + step;
    positions.push_back(x);
  }
  return step;
}

TimeSlotPick PickTimeSlot(std::int32_t time, std::int32_t startTime, std::int32_t endTime, std::int32_t timeSec,
                          std::int32_t startSec, std::int32_t step, std::size_t entries) {
  TimeSlotPick pick;
  if (entries == 0 || step <= 0) return pick;
  pick.kind = TimeSlotPick::kEntry;
  if (time < startTime) {
    pick.index = 0;
  } else if (time >= endTime) {
    pick.index = entries - 1;
  } else {
    const std::int64_t k = (static_cast<std::int64_t>(timeSec) - startSec) / step;
    pick.index = (k >= 0 && static_cast<std::uint64_t>(k) < entries) ? static_cast<std::size_t>(k) : entries - 1;
  }
  return pick;
}

TimeSlotPick PickShiftedTimeSlot(std::int32_t timeSec, std::int32_t startSec, std::int32_t step,
                                 std::int32_t offsetMinutes, std::size_t entries) {
  TimeSlotPick pick;
  if (step <= 0) return pick;
  const std::int64_t offsetSec = 60 * static_cast<std::int64_t>(offsetMinutes);
  const std::int64_t shifted =
      timeSec >= offsetSec ? timeSec - offsetSec : timeSec + (1440 - static_cast<std::int64_t>(offsetMinutes)) * 60;
  const std::int64_t k = (shifted - startSec) / step;
  if (k >= 0 && static_cast<std::uint64_t>(k) >= entries) {
    // Beyond the table, also when the table has no entries at all.
    pick.kind = TimeSlotPick::kRightEdge;
  } else if (entries == 0) {
    // Before the start with no first slot to hold it on: no position.
  } else {
    // A time before the start of the shifted period has no slot of its own: it is held
    // on the first slot, as a time before the start is on the plain clock.
    pick.kind = TimeSlotPick::kEntry;
    pick.index = k < 0 ? 0 : static_cast<std::size_t>(k);
  }
  return pick;
}

std::int32_t TimeSlotPixel(const TimeSlotPick& pick, const std::vector<float>& positions, std::int32_t rightEdge) {
  switch (pick.kind) {
    case TimeSlotPick::kEntry: return pick.index < positions.size() ? TruncSat32(positions[pick.index]) : -1;
    case TimeSlotPick::kRightEdge: return rightEdge;
    case TimeSlotPick::kNone: break;
  }
  return -1;
}

std::int64_t FirstSlotAtPixel(const std::vector<float>& positions, std::int32_t x) {
  for (std::size_t k = 0; k < positions.size(); ++k) {
    if (TruncSat32(positions[k]) == x) return static_cast<std::int64_t>(k);
  }
  return -1;
}

}  // namespace kelo::detail
