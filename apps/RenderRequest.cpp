// The render request: the tool's options by name, and the one path from bars to bytes.
#include "RenderRequest.h"

#include <algorithm>
#include <charconv>

#include "CsvReader.h"
#include "DateTimeFields.h"
#include "KLineChart.h"
#include "TextDecoding.h"

namespace kelo::cli {

namespace {

// "800x600", each side 16 to 8192.
bool ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  int w = 0, h = 0;
  const char* end = text.data() + text.size();
  auto a = std::from_chars(text.data(), text.data() + x, w);
  auto b = std::from_chars(text.data() + x + 1, end, h);
  if (a.ec != std::errc() || a.ptr != text.data() + x || b.ec != std::errc() || b.ptr != end) return false;
  if (w < 16 || h < 16 || w > 8192 || h > 8192) return false;
  width = w;
  height = h;
  return true;
}

std::string Canonical(std::string_view name) {
  std::string s(name);
  std::replace(s.begin(), s.end(), '_', '-');
  return s;
}

}  // namespace

const std::vector<RenderOption>& RenderOptions() {
  static const std::vector<RenderOption> options = {
      {"category", "market category"},
      {"reference", "reference price (default: the file's reference column, else the first open)"},
      {"price-scale",
       "prices are whole numbers of 1/SCALE: 1, 10, 100, 1000 or 10000 (default: the decimals the prices "
       "really have, at least what the category's ticks need)"},
      {"session",
       "trading session HH:MM-HH:MM, across midnight as 15:00-05:00; the whole day is 00:00-24:00 "
       "(default: the category's day session)"},
      {"encoding", "text encoding of the file: auto, utf-8, big5 or utf-16 (auto)"},
      {"date", "trading day to draw from a file of several: 2026-12-04 or ROC 115/12/04 (the last)"},
      {"size",
       "picture size WIDTHxHEIGHT up to 8192x8192 (800x600); at least 308x224 at the default font "
       "(308x280 for innerouter): smaller is refused with the smallest size that works"},
      {"font", "label font face (DejaVu Sans Mono)"},
      {"font-size", "label font em height in pixels, 6 to 72 (12)"},
      {"theme", "palette: dark or light (dark)"},
      {"format", "png, svg or pdf (png)"},
      {"png-level",
       "PNG compression from 0 (none) to 12 (smallest file, slowest); 2 is the fastest on charts, higher "
       "levels make files up to 13 % smaller (2)"},
      {"bars", "K-line bar length: 1m, 5m, 15m, 30m, 60m, 1d, 1w or 1mo (the input's own)", true},
      {"indicators",
       "K-line indicators: ma, bollinger, volume-ma and one of kd, macd, rsi, comma-separated; or none "
       "(ma,volume-ma)",
       true},
      {"style", "K-line style: candle or ohlc (candle)", true},
      {"last", "K-line: show the last N bars (what fits at a readable width)", true},
      {"record", "draw on a recording and replay it: true or false (false)"},
  };
  return options;
}

std::optional<UsageError> SetRenderOption(RenderRequest& r, std::string_view rawName, std::string_view value) {
  const std::string name = Canonical(rawName);
  const std::string v(value);
  if (name == "category") {
    if (!FindCategory(v)) return UsageError{"unknown category \"" + v + "\" (one of " + CategoryNames() + ")"};
    r.input.category = v;
  } else if (name == "reference") {
    auto d = ParseDecimal(v);
    if (!d || d->mantissa <= 0) return UsageError{"--reference must be a positive decimal price like 30.15, not " + v};
    r.input.reference = v;
  } else if (name == "price-scale") {
    if (!ParsePriceScale(v)) return UsageError{"--price-scale must be 1, 10, 100, 1000 or 10000, not " + v};
    r.input.priceScale = v;
  } else if (name == "session") {
    if (!ParseSession(v)) return UsageError{SessionUsage(v)};
    r.input.session = v;
  } else if (name == "encoding") {
    if (!ParseEncoding(v)) return UsageError{"--encoding must be auto, utf-8, big5 or utf-16, not " + v};
    r.input.encoding = v;
  } else if (name == "date") {
    if (!ParseDate(v)) return UsageError{"--date must look like 2026-12-04 or 115/12/04, not " + v};
    r.input.date = v;
  } else if (name == "size") {
    if (!ParseSize(value, r.style.width, r.style.height)) {
      return UsageError{"--size must be WIDTHxHEIGHT with sides 16 to 8192, not " + v};
    }
  } else if (name == "font") {
    r.style.fontFace = v;
  } else if (name == "font-size") {
    int size = 0;
    auto res = std::from_chars(value.data(), value.data() + value.size(), size);
    if (res.ec != std::errc() || res.ptr != value.data() + value.size() || size < 6 || size > 72) {
      return UsageError{"--font-size must be a whole number of pixels from 6 to 72, not " + v};
    }
    r.style.fontSize = size;
  } else if (name == "theme") {
    auto theme = ParseTheme(v);
    if (!theme) return UsageError{"--theme must be dark or light, not " + v};
    r.theme = *theme;
  } else if (name == "format") {
    auto format = FormatForPath("x." + v);
    if (v.empty() || !format) return UsageError{"--format must be png, svg or pdf, not " + v};
    r.format = *format;
  } else if (name == "png-level") {
    int level = -1;
    auto res = std::from_chars(value.data(), value.data() + value.size(), level);
    if (res.ec != std::errc() || res.ptr != value.data() + value.size() || level < 0 || level > 12) {
      return UsageError{"--png-level must be a whole number from 0 to 12, not " + v};
    }
    r.pngLevel = level;
  } else if (name == "bars" || name == "indicators" || name == "style" || name == "last") {
    KLineOptions kline = r.kline;
    if (name == "bars") kline.bars = v;
    if (name == "indicators") kline.indicators = v;
    if (name == "style") kline.style = v;
    if (name == "last") {
      int last = 0;
      auto res = std::from_chars(value.data(), value.data() + value.size(), last);
      if (res.ec != std::errc() || res.ptr != value.data() + value.size() || last < 0) {
        return UsageError{"--last must be a whole number of bars, not " + v};
      }
      kline.last = last;
    }
    if (auto error = CheckKLineOptions(kline)) return UsageError{*error};
    r.kline = kline;
  } else if (name == "record") {
    if (v != "true" && v != "false" && v != "1" && v != "0")
      return UsageError{"--record must be true or false, not " + v};
    r.viaRecording = v == "true" || v == "1";
  } else {
    return UsageError{"unknown option " + std::string(rawName)};
  }
  return std::nullopt;
}

std::optional<UsageError> CheckRenderRequest(const RenderRequest& r) {
  if (!r.input.priceScale.empty()) {
    const auto category = FindCategory(r.input.category);
    const auto scale = ParsePriceScale(r.input.priceScale);
    if (category && scale && *scale < category->priceScale) {
      return UsageError{"--price-scale " + r.input.priceScale + " is too coarse for the ticks of " + category->name +
                        ": at least " + std::to_string(category->priceScale)};
    }
  }
  if (r.kind) {
    const PictureSize least = SmallestSize(*r.kind, r.style);
    if (r.style.width < least.width || r.style.height < least.height) {
      return UsageError{"--size " + std::to_string(r.style.width) + "x" + std::to_string(r.style.height) +
                        " is too small for " + r.kind->name + " with " + std::to_string(LabelEm(r.style)) +
                        "-pixel labels: the smallest size that works is " + std::to_string(least.width) + "x" +
                        std::to_string(least.height)};
    }
  }
  return std::nullopt;
}

std::variant<const ChartKind*, UsageError> KindByName(std::string_view name) {
  if (const ChartKind* kind = FindChartKind(name)) return kind;
  std::string names;
  for (const ChartKind& k : ChartKinds()) names += (names.empty() ? "" : ", ") + std::string(k.name);
  return UsageError{"unknown chart kind \"" + std::string(name) + "\" (one of " + names + ")"};
}

RenderResult RenderBars(const RenderRequest& request, MinuteBars bars, std::vector<std::string>* notes) {
  auto prepared = PrepareForKind(*request.kind, std::move(bars), request.input, request.kline);
  if (auto* error = std::get_if<InputError>(&prepared)) return *error;
  const ChartInput& in = std::get<ChartInput>(prepared);
  if (notes) notes->insert(notes->end(), in.notes.begin(), in.notes.end());
  const ChartKind* kind = request.kind;
  if (kind->needsInnerOuter && !in.data.hasInnerOuter) {
    return InputError{in.data.name, 1, 1,
                      std::string("the chart kind ") + kind->name + " needs the columns \"inner\" and \"outer\""};
  }
  std::vector<std::uint8_t> bytes;
  ChartStyle style = request.style;
  style.light = request.theme == Theme::kLight;
  const bool ok = RenderPicture([&](CDC* dc) { kind->draw(dc, in, style); }, style.width, style.height, request.format,
                                request.theme, bytes, request.viaRecording, request.pngLevel);
  if (!ok) return InputError{in.data.name, 0, 0, "cannot render the picture"};
  return bytes;
}

namespace {

std::variant<MinuteBars, InputError> ParseWithEncoding(const RenderRequest& request, std::string_view name,
                                                       std::string_view text) {
  const auto encoding = ParseEncoding(request.input.encoding);
  if (!encoding) {
    return InputError{std::string(name), 0, 0,
                      "--encoding must be auto, utf-8, big5 or utf-16, not " + request.input.encoding};
  }
  return ParseMinuteBars(name, text, ReadOptions{*encoding});
}

}  // namespace

RenderResult RenderCsv(const RenderRequest& request, std::string_view name, std::string_view text,
                       std::vector<std::string>* notes) {
  auto data = ParseWithEncoding(request, name, text);
  if (auto* error = std::get_if<InputError>(&data)) return *error;
  return RenderBars(request, std::move(std::get<MinuteBars>(data)), notes);
}

std::variant<MinuteBars, InputError> ReadBars(const RenderRequest& request, const std::string& path) {
  const std::string name = path == "-" ? "<stdin>" : path;
  auto text = ReadInput(path);
  if (auto* error = std::get_if<InputError>(&text)) return *error;
  return ParseWithEncoding(request, name, std::get<std::string>(text));
}

std::variant<ChartInput, InputError> ReadChartInput(const std::string& path, const InputOptions& options) {
  RenderRequest request;
  request.input = options;
  auto bars = ReadBars(request, path);
  if (auto* error = std::get_if<InputError>(&bars)) return *error;
  return PrepareInput(std::move(std::get<MinuteBars>(bars)), options);
}

}  // namespace kelo::cli
