// The embedded sample trading day.
#include "SampleData.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelo::cli {

MinuteBars SampleDay(std::uint32_t seed) {
  MinuteBars day;
  day.name = "sample";
  day.priceScale = 100;
  day.decimals = 2;
  day.hasInnerOuter = true;
  SampleRandom random(seed);
  const std::int32_t reference = 3000, tick = 5;  // 30.00 on the 0.05 grid of the 10..50 band
  const std::int32_t limitUp = 3300, limitDown = 2700;
  // A drift that rises in the morning, falls back at noon and recovers at the close.
  std::int32_t price = reference + tick * random.Between(-4, 4);
  const int minutes = 270;
  for (int m = 0; m < minutes; ++m) {
    MinuteBar bar;
    const std::int32_t t = 9 * 60 + m + 1;
    bar.time = t / 60 * 10000 + t % 60 * 100;
    const double phase = static_cast<double>(m) / minutes;
    const int drift = phase < 0.35 ? 1 : phase < 0.7 ? -1 : 1;
    bar.open = price;
    std::int32_t high = price, low = price;
    for (int step = 0; step < 3; ++step) {
      const std::int32_t r = random.Between(-2, 2) + (random.Between(0, 9) == 0 ? drift : 0);
      price = std::clamp(price + r * tick, limitDown, limitUp);
      high = std::max(high, price);
      low = std::min(low, price);
    }
    bar.close = price;
    bar.high = high;
    bar.low = low;
    // U-shaped: heavy at the open and the close, quiet around noon.
    const double u = 0.25 + 3.0 * (phase - 0.5) * (phase - 0.5) + (m < 5 ? 1.5 : 0.0) + (m >= minutes - 1 ? 2.0 : 0.0);
    bar.volume = static_cast<std::int64_t>(std::lround(u * 400.0)) + random.Between(0, 160);
    const std::int64_t ask = bar.volume * random.Between(25, 75) / 100;
    bar.outer = ask;
    bar.inner = bar.volume - ask;
    day.bars.push_back(bar);
  }
  return day;
}

}  // namespace kelo::cli

#include <kelochart/kline/KLineSeries.h>

namespace kelo::cli {

namespace {

// The weekdays ending 2026-12-04 (a Friday), oldest first.
std::vector<std::int32_t> Weekdays(int count) {
  std::vector<std::int32_t> dates;
  std::int32_t day = KeloKLine::DayNumber(20261204);
  while (static_cast<int>(dates.size()) < count) {
    if (KeloKLine::Weekday(KeloKLine::DateOfDay(day)) < 5) dates.push_back(KeloKLine::DateOfDay(day));
    --day;
  }
  std::reverse(dates.begin(), dates.end());
  return dates;
}

// The tick of a listed stock's price (scaled by 100) in its band.
std::int32_t StockTick(std::int32_t price) {
  return price < 1000 ? 1 : price < 5000 ? 5 : price < 10000 ? 10 : price < 50000 ? 50 : price < 100000 ? 100 : 500;
}

std::int32_t OnTick(std::int32_t price) {
  return std::max<std::int32_t>(StockTick(price), price / StockTick(price) * StockTick(price));
}

}  // namespace

MinuteBars SampleDailyBars(int count, std::uint32_t seed) {
  MinuteBars out;
  out.name = "sample-daily";
  out.priceScale = 100;
  out.decimals = 2;
  SampleRandom random(seed);
  std::int32_t close = 5820;  // 58.20
  int trend = 1;
  for (std::int32_t date : Weekdays(count)) {
    if (random.Between(0, 14) == 0) trend = -trend;
    MinuteBar b;
    b.date = date;
    const std::int32_t tick = StockTick(close);
    b.open = OnTick(close + tick * random.Between(-3, 3));
    const std::int32_t move = tick * (random.Between(-12, 12) + trend * random.Between(0, 5));
    b.close = OnTick(std::clamp(b.open + move, close * 9 / 10 + tick, close * 11 / 10 - tick));
    b.high = OnTick(std::max(b.open, b.close) + tick * random.Between(0, 6));
    b.low = OnTick(std::min(b.open, b.close) - tick * random.Between(0, 6));
    b.high = std::max({b.high, b.open, b.close});
    b.low = std::min({b.low, b.open, b.close});
    const std::int32_t range = b.high - b.low;
    b.volume = 8000 + random.Between(0, 6000) + static_cast<std::int64_t>(range) * 900 / std::max(tick, 1);
    close = b.close;
    out.bars.push_back(b);
  }
  return out;
}

MinuteBars SampleDays(int days, std::uint32_t seed) {
  MinuteBars out;
  out.name = "sample-5days";
  out.priceScale = 100;
  out.decimals = 2;
  out.hasInnerOuter = true;
  std::uint32_t s = seed;
  for (std::int32_t date : Weekdays(days)) {
    MinuteBars day = SampleDay(s++);
    const std::int32_t delta = out.bars.empty() ? 0 : out.bars.back().close - day.bars.front().open;
    for (MinuteBar b : day.bars) {
      b.date = date;
      b.open += delta;
      b.high += delta;
      b.low += delta;
      b.close += delta;
      out.bars.push_back(b);
    }
  }
  return out;
}

}  // namespace kelo::cli
