// The embedded sample trading day: a listed stock from 09:00 to 13:30, generated
// deterministically (the same bars on every machine and every run), so the tool is useful
// without data and its pictures can be compared byte for byte.
#pragma once

#include <cstdint>

#include "MinuteBars.h"

namespace kelo::cli {

// 270 minute bars 09:01..13:30 around a reference price of 30.00: prices on the 0.05 tick
// grid of their band, a U-shaped volume profile, the volume split into bid and ask sides.
// seed picks another day of the same kind (batch benchmarks draw many instruments).
MinuteBars SampleDay(std::uint32_t seed = 1);

// A small deterministic generator (the standard distributions differ between libraries).
class SampleRandom {
 public:
  explicit SampleRandom(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // A whole number in [lo, hi].
  std::int32_t Between(std::int32_t lo, std::int32_t hi) {
    return lo + static_cast<std::int32_t>(Next() % static_cast<std::uint32_t>(hi - lo + 1));
  }

 private:
  std::uint32_t state_;
};

}  // namespace kelo::cli

namespace kelo::cli {

// Daily bars (time 0) of a listed stock over `count` weekdays ending 2026-12-04: a random
// walk on the tick ladder with trending stretches, volumes heavier on big moves.
MinuteBars SampleDailyBars(int count = 250, std::uint32_t seed = 7);

// Minute bars with dates over `days` weekdays ending 2026-12-04, each day a SampleDay that
// opens where the day before closed.
MinuteBars SampleDays(int days = 5, std::uint32_t seed = 3);

}  // namespace kelo::cli
