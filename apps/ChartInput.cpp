// Checking the command line's data options against the minute bars.
#include "ChartInput.h"

#include <algorithm>
#include <cstdio>

#include "CsvReader.h"
#include "DateTimeFields.h"
#include "TradeSlots.h"
#include "TradingDays.h"

namespace kelo::cli {

std::string FormatPrice(std::int32_t price, std::int32_t priceScale) {
  int decimals = 0;
  for (std::int32_t s = priceScale; s >= 10; s /= 10) ++decimals;
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(price) / (priceScale > 0 ? priceScale : 1));
  return text;
}

std::variant<ChartInput, InputError> PrepareInput(MinuteBars data, const InputOptions& options) {
  auto fail = [&](std::string message) { return InputError{data.name, 0, 0, std::move(message)}; };
  ChartInput in;
  auto category = FindCategory(options.category);
  if (!category) return fail("unknown category \"" + options.category + "\" (one of " + CategoryNames() + ")");
  in.category = *category;

  if (data.daily && !options.allDays) {
    return fail("daily bars (a date column and no time): this chart draws one day of minute bars or trades");
  }
  if (!options.allDays) {
    auto day = ChooseDay(std::move(data), options.date);
    if (auto* error = std::get_if<InputError>(&day)) return *error;
    data = std::move(std::get<DayChoice>(day).data);
    if (!std::get<DayChoice>(day).note.empty()) in.notes.push_back(std::get<DayChoice>(day).note);
  }

  if (!options.priceScale.empty()) {
    const std::string& s = options.priceScale;
    std::int32_t scale = 0;
    for (std::int32_t candidate : {1, 10, 100, 1000, 10000}) {
      if (s == std::to_string(candidate)) scale = candidate;
    }
    if (scale == 0) return fail("--price-scale must be 1, 10, 100, 1000 or 10000, not " + s);
    if (scale < data.priceScale) {
      return fail("the prices have " + std::to_string(data.decimals) + " decimals, more than --price-scale " + s +
                  " keeps");
    }
    const std::int32_t factor = scale / data.priceScale;
    for (MinuteBar& b : data.bars) {
      for (std::int32_t* p : {&b.open, &b.high, &b.low, &b.close, &b.reference}) {
        if (*p > 2147483647 / factor) return InputError{data.name, b.line, 1, "price too large for --price-scale " + s};
        *p *= factor;
      }
    }
    if (data.reference) {
      if (*data.reference > 2147483647 / factor) return fail("reference price too large for --price-scale " + s);
      *data.reference *= factor;
    }
    data.priceScale = scale;
    data.decimals = 0;
    for (std::int32_t v = scale; v >= 10; v /= 10) ++data.decimals;
  }

  if (!options.session.empty()) {
    auto session = ParseSession(options.session);
    if (!session) return fail("--session must look like 09:00-13:30 (or 15:00-05:00 across midnight), not " + options.session);
    in.session = *session;
  } else {
    in.session = DefaultSession(in.category);
  }
  if (data.fromTrades) FoldClosingAuction(data.bars, in.session);
  if (data.hasDates && !options.allDays) {
    // A futures trading day holds the night session before it and the day session: the
    // chart draws the session chosen and leaves the other out, saying so.
    const auto outside = [&](const MinuteBar& b) { return !in.session.OffsetOf(b.time); };
    const auto left = std::count_if(data.bars.begin(), data.bars.end(), outside);
    if (left > 0 && left < static_cast<std::ptrdiff_t>(data.bars.size())) {
      data.bars.erase(std::remove_if(data.bars.begin(), data.bars.end(), outside), data.bars.end());
      in.notes.push_back(data.name + ": " + std::to_string(left) + " bars of " + FormatDate(data.bars.front().date) +
                         " lie outside the session " + FormatClock(in.session.start) + "-" +
                         FormatClock(in.session.end) + " and are left out (choose another with --session)");
    }
  }
  if (auto error = data.daily ? std::nullopt : CheckSession(data, in.session)) return *error;  // days have no session

  if (!options.reference.empty()) {
    auto d = ParseDecimal(options.reference);
    if (!d || d->mantissa <= 0) return fail("--reference must be a positive price, not " + options.reference);
    if (d->decimals > data.decimals) {
      return fail("--reference " + options.reference + " has more decimals than the prices");
    }
    std::int64_t v = d->mantissa;
    for (int k = d->decimals; k < data.decimals; ++k) v *= 10;
    if (v > 2147483647) return fail("--reference " + options.reference + " is too large");
    in.reference = static_cast<std::int32_t>(v);
    in.referenceFrom = "--reference";
  } else if (data.reference) {
    // A gap day opens away from the previous close: the file's reference is the right one.
    in.reference = *data.reference;
    in.referenceFrom = "the file's reference column";
    in.notes.push_back(data.name + ": reference price " + FormatPrice(in.reference, data.priceScale) +
                       " from the file's reference column");
  } else {
    in.reference = data.bars.front().open;
    in.referenceFrom = "the first open";
  }
  in.data = std::move(data);
  return in;
}

}  // namespace kelo::cli

namespace kelo::cli {

std::variant<ChartInput, InputError> ReadChartInput(const std::string& path, const InputOptions& options) {
  const std::string name = path == "-" ? "<stdin>" : path;
  const auto encoding = ParseEncoding(options.encoding);
  if (!encoding) {
    return InputError{name, 0, 0, "--encoding must be auto, utf-8, big5 or utf-16, not " + options.encoding};
  }
  auto text = ReadInput(path);
  if (auto* error = std::get_if<InputError>(&text)) return *error;
  auto data = ParseMinuteBars(name, std::get<std::string>(text), ReadOptions{*encoding});
  if (auto* error = std::get_if<InputError>(&data)) return *error;
  return PrepareInput(std::move(std::get<MinuteBars>(data)), options);
}

}  // namespace kelo::cli
