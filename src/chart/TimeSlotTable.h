// The time-slot table of the time axis as pure computations: building the x position of
// every slot of a trading day and choosing the slot of a time. CKeloBaseChart keeps the
// table and its key in its members; these functions do the arithmetic, so the mapping can
// be checked without a device context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelo::detail {

// What a table is built from: the rectangle's left and right edge, the inset of the first
// and last slot, the start and end of the range in seconds of day and the slot length.
struct TimeSlotGeometry {
  std::int32_t left = 0;
  std::int32_t right = 0;
  std::int32_t lineOffset = 0;
  std::int32_t startSec = 0;
  std::int32_t endSec = 0;
  std::int32_t step = 60;
};

// Number of entries: one slot before the start to one slot after the end (kept inside the
// day), every step seconds. 0 when the step is not positive or the range is empty or
// reversed, so the table never needs more than one entry per second of a day.
std::int64_t TimeSlotCount(std::int32_t startSec, std::int32_t endSec, std::int32_t step);

// Pixels per slot: the usable width times the slot length (a 32-bit product) over the
// seconds of the range, in single precision. 0 when no table can be built.
float TimeSlotStep(const TimeSlotGeometry& geometry);

// Replaces positions by the table and returns the pixels per slot. Positions accumulate
// in single precision, one float addition per slot, so a slot may land a pixel short of
// where exact arithmetic would put it (13:29 on pixel 339 of a 100..340 morning session).
float BuildTimeSlotTable(const TimeSlotGeometry& geometry, std::vector<float>& positions);

// The slot chosen for a time.
struct TimeSlotPick {
  enum Kind { kNone, kEntry, kRightEdge };
  Kind kind = kNone;
  std::size_t index = 0;
};

// On the plain clock: times before the start take the first entry, times at or after the
// end the last one; otherwise the slot of the elapsed seconds, or the last entry when that
// slot is beyond the table.
TimeSlotPick PickTimeSlot(std::int32_t time, std::int32_t startTime, std::int32_t endTime, std::int32_t timeSec,
                          std::int32_t startSec, std::int32_t step, std::size_t entries);

// On the clock shifted to a trading period that starts offsetMinutes after midnight (the
// hours after midnight count as the next day): a slot beyond the table is the right edge,
// a slot before the start of the period the first entry (no position when the table is
// empty; a slot at or after the start of an empty table is beyond it, the right edge).
TimeSlotPick PickShiftedTimeSlot(std::int32_t timeSec, std::int32_t startSec, std::int32_t step,
                                 std::int32_t offsetMinutes, std::size_t entries);

// The pixel of a pick: the entry cut toward zero, rightEdge, or -1 for none.
std::int32_t TimeSlotPixel(const TimeSlotPick& pick, const std::vector<float>& positions, std::int32_t rightEdge);

// The first slot whose position cuts to x, or -1. Ties resolve to the earlier slot.
std::int64_t FirstSlotAtPixel(const std::vector<float>& positions, std::int32_t x);

}  // namespace kelo::detail
