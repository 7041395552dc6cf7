// The embedded sample trading day.
#include "SampleData.h"

#include <algorithm>
#include <cmath>

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
