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

namespace {

std::int32_t PowerOfTen(int decimals) {
  std::int32_t scale = 1;
  for (int k = 0; k < decimals; ++k) scale *= 10;
  return scale;
}

}  // namespace

std::optional<std::int32_t> ParsePriceScale(std::string_view text) {
  for (std::int32_t candidate : {1, 10, 100, 1000, 10000}) {
    if (text == std::to_string(candidate)) return candidate;
  }
  return std::nullopt;
}

std::int32_t NeededPriceScale(const MinuteBars& data) {
  // The largest power of ten that divides every price: 2326700 at scale 100 is 23267.
  std::int32_t common = data.priceScale;
  for (const MinuteBar& b : data.bars) {
    for (std::int32_t p : {b.open, b.high, b.low, b.close, b.reference}) {
      while (common > 1 && p % common != 0) common /= 10;
    }
    if (common == 1) break;
  }
  if (data.reference) {
    while (common > 1 && *data.reference % common != 0) common /= 10;
  }
  return data.priceScale / common;
}

std::optional<InputError> RescalePrices(MinuteBars& data, std::int32_t scale) {
  if (scale == data.priceScale) return std::nullopt;
  const auto rescale = [&](std::int32_t& p) {
    if (scale < data.priceScale) {
      p /= data.priceScale / scale;
      return true;
    }
    const std::int32_t factor = scale / data.priceScale;
    if (p > 2147483647 / factor) return false;
    p *= factor;
    return true;
  };
  for (MinuteBar& b : data.bars) {
    for (std::int32_t* p : {&b.open, &b.high, &b.low, &b.close, &b.reference}) {
      if (!rescale(*p)) {
        return InputError{data.name, b.line, 1, "price too large for price scale " + std::to_string(scale)};
      }
    }
  }
  if (data.reference && !rescale(*data.reference)) {
    return InputError{data.name, 0, 0, "reference price too large for price scale " + std::to_string(scale)};
  }
  data.priceScale = scale;
  data.decimals = 0;
  for (std::int32_t v = scale; v >= 10; v /= 10) ++data.decimals;
  return std::nullopt;
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

  // The scale is the data's real decimals (23267.00 is a whole number of points), never finer
  // than the category's ticks need, or the one asked for.
  const std::int32_t needed = NeededPriceScale(data);
  std::int32_t scale = std::max(needed, in.category.priceScale);
  if (!options.priceScale.empty()) {
    auto asked = ParsePriceScale(options.priceScale);
    if (!asked) return fail("--price-scale must be 1, 10, 100, 1000 or 10000, not " + options.priceScale);
    if (*asked < needed) {
      int decimals = 0;
      for (std::int32_t v = needed; v >= 10; v /= 10) ++decimals;
      return fail("the prices have " + std::to_string(decimals) + " decimals, more than --price-scale " +
                  options.priceScale + " keeps");
    }
    if (*asked < in.category.priceScale) {
      return fail("--price-scale " + options.priceScale + " is too coarse for the ticks of " + in.category.name +
                  ": at least " + std::to_string(in.category.priceScale));
    }
    scale = *asked;
  }
  if (auto error = RescalePrices(data, scale)) return *error;

  if (!options.session.empty()) {
    auto session = ParseSession(options.session);
    if (!session) return fail(SessionUsage(options.session));
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
    if (PowerOfTen(d->decimals) > data.priceScale) {
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

std::string SessionUsage(std::string_view text) {
  return "--session must be HH:MM-HH:MM with a start and an end, 09:00-13:30 (15:00-05:00 runs across midnight, "
         "00:00-24:00 is the whole day), not " +
         std::string(text);
}

}  // namespace kelo::cli
