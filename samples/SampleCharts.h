// The sample charts of kelochart-samples, as functions that draw on any DC, so the tool
// and the golden-image tests draw exactly the same pictures.
#pragma once

#include <kelochart/KeloChartLib.h>

#include <cstdint>
#include <vector>

namespace kelo::samples {

// The sample instrument: a listed stock, prices in hundredths, reference price 30.00 and a
// trading day whose raw high and low were 33.12 and 26.93.
struct SampleInstrument {
  std::int32_t priceScale = 100;
  std::int32_t reference = 3000;
  std::int32_t rawHigh = 3312;
  std::int32_t rawLow = 2693;
  unsigned category = KeloChartCalculate::GetNormalStockIndex();
};

struct PriceAxis {
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  double tick = 0;
  std::vector<std::int32_t> scale;
};

// The client's first step of a paint: move the raw bounds onto the tick grid, then lay the
// scale lines around the reference price.
PriceAxis ComputePriceAxis(const SampleInstrument& s);

inline constexpr int kFrameWidth = 480, kFrameHeight = 260;
inline constexpr int kIntradayWidth = 800, kIntradayHeight = 560;

// A chart frame: axes reaching above the plot, three special-position lines and a title in
// the label font (with CJK characters). The DC must be kFrameWidth x kFrameHeight.
void DrawFrameSample(CDC* dc);

// The frame of an intraday price pane over a volume pane, 09:00 to 13:30: time grid and
// labels, the reference-price axis from the scale list, and volume-style labels on both
// sides. The DC must be kIntradayWidth x kIntradayHeight.
void DrawIntradayFrameSample(CDC* dc, const SampleInstrument& s, const PriceAxis& axis);

}  // namespace kelo::samples
