// The time axis hot path: every point of an intraday curve and every tick bar asks the
// chart for its x, so a lookup on a built table must stay a couple of conversions, one
// division and one index; a rebuild (new width, range or slot length) is one float
// addition per slot.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>

#include "chart/TimeSlotTable.h"

namespace {

using Tick = CKeloBaseChart::ETickType;

// Clock times (HHMMSS) spread over a range of seconds, in a scrambled order so that the
// lookups do not walk the table in order.
std::vector<std::int32_t> ClockTimes(std::int32_t firstSec, std::int32_t seconds, std::size_t count) {
  std::vector<std::int32_t> times;
  times.reserve(count);
  std::uint32_t state = 12345;
  for (std::size_t i = 0; i < count; ++i) {
    state = state * 1664525u + 1013904223u;
    const std::int32_t s = firstSec + static_cast<std::int32_t>(state % static_cast<std::uint32_t>(seconds));
    times.push_back(s / 3600 * 10000 + s / 60 % 60 * 100 + s % 60);
  }
  return times;
}

// A whole day of one-second slots (86,461 entries), looked up on the plain clock.
void BM_TimeAxisLookupDayOfSeconds(benchmark::State& state) {
  CKeloBaseChart chart;
  const CRect rect(0, 0, 1440, 300);
  const Tick step = static_cast<Tick>(1);
  chart.GetXPosByTime(rect, 240000, 0, 0, step, 1);
  const std::vector<std::int32_t> times = ClockTimes(0, 86400, 4096);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(chart.GetXPosByTime(rect, 240000, 0, times[i++ & 4095], step, 1));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_TimeAxisLookupDayOfSeconds);

// The usual morning session of one-minute slots, with a trading period offset applied.
void BM_TimeAxisLookupMorningShifted(benchmark::State& state) {
  CKeloBaseChart chart;
  chart.SetOffsetMinTick(900);
  const CRect rect(0, 0, 840, 300);
  chart.GetXPosByTime(rect, 140000, 0, 150000, CKeloBaseChart::eTickMinute, 0);
  const std::vector<std::int32_t> times = ClockTimes(0, 86400, 4096);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(chart.GetXPosByTime(rect, 140000, 0, times[i++ & 4095], CKeloBaseChart::eTickMinute, 0));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_TimeAxisLookupMorningShifted);

// Rebuilding the table of a whole day of one-second slots through the chart: the width
// alternates, so every call misses the key and rebuilds before its lookup.
void BM_TimeAxisRebuildDayOfSeconds(benchmark::State& state) {
  CKeloBaseChart chart;
  const CRect rects[2] = {CRect(0, 0, 1440, 300), CRect(0, 0, 1441, 300)};
  const Tick step = static_cast<Tick>(1);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(chart.GetXPosByTime(rects[i++ & 1], 240000, 0, 120000, step, 1));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 86461);
}
BENCHMARK(BM_TimeAxisRebuildDayOfSeconds);

// The same rebuild as a pure computation into a reused vector.
void BM_TimeSlotTableBuildDayOfSeconds(benchmark::State& state) {
  std::vector<float> positions;
  const kelo::detail::TimeSlotGeometry geometry{0, 1440, 0, 0, 86400, 1};
  for (auto _ : state) {
    benchmark::DoNotOptimize(kelo::detail::BuildTimeSlotTable(geometry, positions));
    benchmark::DoNotOptimize(positions.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 86461);
}
BENCHMARK(BM_TimeSlotTableBuildDayOfSeconds);

}  // namespace
