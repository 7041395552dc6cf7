// What a chart is drawn from once the command line and the data agree: the minute bars on
// their price scale, the market category, the session and the reference price. Preparing it
// is a pure function, so every check of options against data is testable without drawing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "KLineOptions.h"
#include "Market.h"
#include "MinuteBars.h"

namespace kelo::cli {

// The options of `render` that concern the data (as given; empty when not given).
struct InputOptions {
  std::string category = "stock";
  std::string reference;   // decimal price; default the first open
  std::string priceScale;  // 1, 10, 100, 1000 or 10000; default from the data's real decimals
  std::string session;     // "HH:MM-HH:MM"; default from the category
  std::string encoding;    // auto, utf-8, big5 or utf-16; default auto (see TextDecoding.h)
  std::string date;        // the trading day to draw from a file of several; default the last
  bool allDays = false;    // keep every day (for kinds that draw many days)
};

struct ChartInput {
  MinuteBars data;
  CategoryInfo category{};
  Session session;
  std::int32_t reference = 0;  // scaled like the prices
  // Which reference the chart uses: "--reference", "the file's reference column" or "the
  // first open".
  std::string referenceFrom;
  std::vector<std::string> notes;  // what the tool chose for the user, for stderr
  KLineOptions kline;              // the kline kind's options (PrepareKLineInput)
};

// Checks the options against the data; an error names the file (line 0) or the line of the
// bar at fault. Chooses the day to draw (unless allDays), folds a closing auction of trades
// into the session's last slot, and takes the reference from --reference, else the file's
// reference column, else the first open.
std::variant<ChartInput, InputError> PrepareInput(MinuteBars data, const InputOptions& options);

// "1" to "10000" as a price scale; nullopt for anything else.
std::optional<std::int32_t> ParsePriceScale(std::string_view text);
// The finest scale the prices of data need (a power of ten up to data.priceScale): 23267.00
// needs 1, 145.50 needs 10.
std::int32_t NeededPriceScale(const MinuteBars& data);
// Every price of data (bars and reference) moved to scale, exactly both ways: a coarser scale
// divides only by what every price is a multiple of (at least NeededPriceScale). The error
// names the first price past 32 bits.
std::optional<InputError> RescalePrices(MinuteBars& data, std::int32_t scale);
// The message for a --session that is not a session.
std::string SessionUsage(std::string_view text);

// The price with priceScale as text: 3015 at 100 is "30.15".
std::string FormatPrice(std::int32_t price, std::int32_t priceScale);

}  // namespace kelo::cli
