// The options of `render kline`, as given on the command line, and what they mean once
// checked: the bar length, the indicators, the candle style and how many bars to show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelo::cli {

struct KLineOptions {
  std::string bars;                         // 1m 5m 15m 30m 60m 1d 1w 1mo; empty: the input's own
  std::string indicators = "ma,volume-ma";  // comma list, or none
  std::string style = "candle";             // candle or ohlc
  std::int32_t last = 0;                    // bars shown; 0: what fits at a readable width

  // Resolved by CheckKLineOptions.
  std::int32_t periodMinutes = 0;  // KeloKLine::EPeriod; 0: the input's own
  std::uint32_t overlays = 0;      // CKeloKLine::EOverlay bits
  int lowerPane = 0;               // CKeloKLine::ELowerPane
  bool ohlc = false;
};

// Checks and resolves the options in place; the usage message when one is wrong.
std::optional<std::string> CheckKLineOptions(KLineOptions& options);

}  // namespace kelo::cli
