// The `kline` chart kind: checking the rows, aggregating them to the bar length asked for,
// and drawing them with the library's K-line object under a caption.
#include "KLineChart.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include <kelochart/kline/KeloKLine.h>

#include "DateTimeFields.h"
#include "SampleData.h"
#include "TradeSlots.h"

namespace kelo::cli {

namespace {

struct BarLength {
  const char* name;
  std::int32_t minutes;
};
constexpr BarLength kBarLengths[] = {{"1m", 1},   {"5m", 5},    {"15m", 15},   {"30m", 30},
                                     {"60m", 60}, {"1d", 1440}, {"1w", 10080}, {"1mo", 43200}};

const char* NameOfPeriod(std::int32_t minutes) {
  for (const BarLength& b : kBarLengths) {
    if (b.minutes == minutes) return b.name;
  }
  return "";
}

// Readable candles: 60 daily bars across the plot of an 800-pixel picture.
constexpr int kReadableSlot = 12;

}  // namespace

std::optional<std::string> CheckKLineOptions(KLineOptions& o) {
  o.periodMinutes = 0;
  if (!o.bars.empty()) {
    for (const BarLength& b : kBarLengths) {
      if (o.bars == b.name) o.periodMinutes = b.minutes;
    }
    if (o.periodMinutes == 0) return "--bars must be 1m, 5m, 15m, 30m, 60m, 1d, 1w or 1mo, not " + o.bars;
  }
  if (o.style != "candle" && o.style != "ohlc") return "--style must be candle or ohlc, not " + o.style;
  o.ohlc = o.style == "ohlc";
  if (o.last < 0) return "--last must be a positive number of bars";
  o.overlays = 0;
  o.lowerPane = 0;
  if (o.indicators != "none") {
    std::stringstream list(o.indicators);
    std::string name;
    while (std::getline(list, name, ',')) {
      if (name == "ma") {
        o.overlays |= CKeloKLine::eOverlayMA;
      } else if (name == "bollinger") {
        o.overlays |= CKeloKLine::eOverlayBollinger;
      } else if (name == "volume-ma") {
        o.overlays |= CKeloKLine::eOverlayVolumeMA;
      } else if (name == "kd" || name == "macd" || name == "rsi") {
        const int pane = name == "kd"     ? CKeloKLine::eLowerKD
                         : name == "macd" ? CKeloKLine::eLowerMACD
                                          : CKeloKLine::eLowerRSI;
        if (o.lowerPane != 0 && o.lowerPane != pane) return "--indicators: one lower pane only (kd, macd or rsi)";
        o.lowerPane = pane;
      } else {
        return "--indicators takes ma, bollinger, volume-ma, kd, macd, rsi (comma-separated) or none, not \"" + name +
               "\"";
      }
    }
  }
  return std::nullopt;
}

std::optional<InputError> CheckKLineRows(const MinuteBars& data) {
  const MinuteBar* before = nullptr;
  for (const MinuteBar& b : data.bars) {
    auto fail = [&](int column, std::string message) {
      return InputError{data.name, b.line, column, std::move(message)};
    };
    const std::int32_t prices[4] = {b.open, b.high, b.low, b.close};
    const char* names[4] = {"open", "high", "low", "close"};
    for (int k = 0; k < 4; ++k) {
      if (prices[k] <= 0) return fail(1, std::string("column \"") + names[k] + "\": the price is not positive");
    }
    if (b.high < b.low) return fail(1, "column \"high\": the high is below the low");
    for (int k : {0, 3}) {
      if (prices[k] < b.low || prices[k] > b.high) {
        return fail(1, std::string("column \"") + names[k] + "\": " + FormatPrice(prices[k], data.priceScale) +
                           " is outside the bar's low-high range " + FormatPrice(b.low, data.priceScale) + "-" +
                           FormatPrice(b.high, data.priceScale));
      }
    }
    if (before != nullptr && (b.date < before->date || (b.date == before->date && b.time <= before->time))) {
      return fail(b.timeColumn, "the date and time are not after those of the line before: rows must be in time order");
    }
    before = &b;
  }
  return std::nullopt;
}

std::vector<KeloKLine::SSession> KLineSessions(const CategoryInfo& category) {
  const Session day = DefaultSession(category);
  std::vector<KeloKLine::SSession> sessions{{day.start, day.end}};
  if (category.nightSession) sessions.push_back({150000, 50000});
  return sessions;
}

std::int32_t InputPeriod(const MinuteBars& data) {
  // The reader's slots of trades are minutes, however far apart an illiquid day's trades are.
  if (data.fromTrades) return 1;
  bool allDays = true, seconds = false;
  for (const MinuteBar& b : data.bars) {
    allDays = allDays && b.time == 0;
    seconds = seconds || b.time % 100 != 0;
  }
  if (allDays) return KeloKLine::ePeriodDay;
  if (seconds) return 0;
  // The shortest step between two bars of a day, in minutes, on the bar lengths there are.
  std::int32_t step = 60;
  for (std::size_t i = 1; i < data.bars.size(); ++i) {
    const MinuteBar &a = data.bars[i - 1], &b = data.bars[i];
    if (a.date != b.date || b.time <= a.time) continue;
    const std::int32_t d = (SecondsOf(b.time) - SecondsOf(a.time)) / 60;
    if (d > 0) step = std::min(step, d);
  }
  for (std::int32_t m : {60, 30, 15, 5}) {
    if (step >= m) return m;
  }
  return 1;
}

std::variant<ChartInput, InputError> PrepareKLineInput(MinuteBars data, const InputOptions& options,
                                                       const KLineOptions& kline) {
  auto fail = [&](std::string message) { return InputError{data.name, 0, 0, std::move(message)}; };
  ChartInput in;
  in.kline = kline;
  if (auto error = CheckKLineOptions(in.kline)) return fail(*error);
  auto category = FindCategory(options.category);
  if (!category) return fail("unknown category \"" + options.category + "\" (one of " + CategoryNames() + ")");
  in.category = *category;
  if (data.bars.empty()) return fail("no bars");
  // The reader dates an evening row with the trading day it belongs to; the K-line's
  // aggregation assigns night sessions to trading days itself, from calendar dates.
  if (!data.daily) {
    for (MinuteBar& b : data.bars) b.date = CalendarDayOf(b.date, b.time);
  }
  if (auto error = CheckKLineRows(data)) return *error;
  // The one-day kinds' scale: the decimals the prices really have (577.00 is the whole price
  // 577, as it is in a table of numbers), at least the category's; --price-scale finer only.
  const std::int32_t needed = NeededPriceScale(data);
  std::int32_t scale = std::max(needed, in.category.priceScale);
  if (!options.priceScale.empty()) {
    scale = ParsePriceScale(options.priceScale).value_or(0);
    if (scale == 0) return fail("--price-scale must be 1, 10, 100, 1000 or 10000, not " + options.priceScale);
    if (scale < needed)
      return fail("the prices have more decimals than --price-scale " + options.priceScale + " keeps");
  }
  if (auto error = RescalePrices(data, scale)) return *error;

  std::vector<KeloKLine::SSession> sessions = KLineSessions(in.category);
  if (!options.session.empty()) {
    auto session = ParseSession(options.session);
    if (!session)
      return fail("--session must look like 09:00-13:30 (or 15:00-05:00 across midnight), not " + options.session);
    sessions = {{session->start, session->end}};
  }
  // The reader's one-minute slots of trades put a closing auction (13:30:00) in a slot after
  // the session; it belongs to the session's last minute, as in the one-day charts.
  if (data.fromTrades) {
    for (const KeloKLine::SSession& s : sessions) FoldClosingAuction(data.bars, Session{s.start, s.end});
  }
  const std::int32_t own = InputPeriod(data);
  std::vector<KeloKLine::SKBar> bars;
  bars.reserve(data.bars.size());
  if (own == 0) {
    // Trades: each row's close is the price of one trade.
    std::vector<KeloKLine::STrade> trades;
    for (const MinuteBar& b : data.bars) trades.push_back({b.date, b.time, b.close, b.volume});
    bars = KeloKLine::MinuteBarsFromTrades(trades, sessions);
  } else {
    for (const MinuteBar& b : data.bars) bars.push_back({b.date, b.time, b.open, b.high, b.low, b.close, b.volume});
  }
  const std::int32_t want = in.kline.periodMinutes != 0 ? in.kline.periodMinutes : std::max<std::int32_t>(own, 1);
  if (want < own) {
    return fail(std::string("--bars ") + NameOfPeriod(want) + " is shorter than the input's own bars (" +
                NameOfPeriod(own) + ")");
  }
  // Intraday bars go through the aggregation even at their own length: it dates a night
  // session's bars with the trading day they belong to, which the day labels and separators use.
  if (want != own || own < KeloKLine::ePeriodDay) {
    bars = KeloKLine::AggregateBars(bars, static_cast<KeloKLine::EPeriod>(want), sessions);
  }
  in.kline.periodMinutes = want;

  MinuteBars out;
  out.name = data.name;
  out.priceScale = data.priceScale;
  out.decimals = data.decimals;
  for (const KeloKLine::SKBar& b : bars) {
    MinuteBar m;
    m.date = b.date;
    m.time = b.time;
    m.open = b.open;
    m.high = b.high;
    m.low = b.low;
    m.close = b.close;
    m.volume = b.volume;
    out.bars.push_back(m);
  }
  in.session = Session{sessions.front().start, sessions.front().end};
  in.reference = out.bars.front().open;
  in.data = std::move(out);
  return in;
}

std::variant<ChartInput, InputError> PrepareForKind(const ChartKind& kind, MinuteBars data, const InputOptions& options,
                                                    const KLineOptions& kline) {
  if (kind.multiDay) return PrepareKLineInput(std::move(data), options, kline);
  return PrepareInput(std::move(data), options);
}

std::vector<KLineGalleryEntry> KLineGallery() {
  KLineOptions daily;
  daily.bars = "1d";
  daily.indicators = "ma,volume-ma";
  KLineOptions fiveMinutes;
  fiveMinutes.bars = "5m";
  fiveMinutes.indicators = "ma,volume-ma,kd";
  fiveMinutes.last = 5 * 54;  // all five days: one slot under three pixels, a high-low line each
  return {{"kline-daily", false, daily}, {"kline-5m-kd", true, fiveMinutes}};
}

void DrawKLineChart(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  const int width = style.width, height = style.height;
  dc->FillSolidRect(CRect(0, 0, width, height), Background());
  if (in.data.bars.empty()) return;
  CKeloKLine chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  std::vector<KeloKLine::SKBar> bars;
  bars.reserve(in.data.bars.size());
  for (const MinuteBar& b : in.data.bars) bars.push_back({b.date, b.time, b.open, b.high, b.low, b.close, b.volume});
  const KLineOptions& o = in.kline;
  chart.SetPriceScale(in.data.priceScale);
  chart.SetMarketCategory(in.category.index);
  chart.SetKLineStyle(o.ohlc ? CKeloKLine::eOHLC : CKeloKLine::eCandle);
  chart.SetOverlays(o.overlays);
  chart.SetLowerPane(static_cast<CKeloKLine::ELowerPane>(o.lowerPane));
  // The left margin holds the longest price label (an index at 23,001.00 needs more than the
  // frame's eight characters).
  std::int32_t highest = 0;
  for (const KeloKLine::SKBar& b : bars) highest = std::max(highest, b.high);
  const int labelCharacters = static_cast<int>(FormatPrice(highest, in.data.priceScale).size());
  chart.SetBmpDeflate(std::max(8, labelCharacters + 2), 1, 2, 2);
  // The caption row on top, then the chart.
  const int caption = chart.GetFontHeight() + 2;
  const CRect rect(0, caption, width, height);
  const CRect plot = PlotOf(chart, rect);
  std::int32_t shown = o.last;
  if (shown <= 0) shown = std::max(1, plot.Width() / kReadableSlot);
  chart.SetVisibleCount(std::min<std::int32_t>(shown, static_cast<std::int32_t>(bars.size())));
  const KeloKLine::SKBar last = bars.back();
  const KeloKLine::SKBar* before = bars.size() > 1 ? &bars[bars.size() - 2] : nullptr;
  chart.SetBars(std::move(bars));
  CFont* oldFont = dc->SelectObject(chart.GetFont());
  chart.DrawKLine(dc, rect);

  // The caption: the last bar in full where it fits, else less of it (a thumbnail keeps the
  // name, the close and the change), never past the picture's edge.
  const std::int32_t scale = in.data.priceScale;
  std::string when;
  if (last.date != 0) {
    char date[32];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", last.date / 10000, last.date / 100 % 100, last.date % 100);
    when = date;
  }
  if (last.time != 0) when += (when.empty() ? "" : " ") + FormatClock(last.time);
  const std::string name = DisplayName(in), period = NameOfPeriod(in.kline.periodMinutes);
  std::string change;
  COLORREF color = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kTextColor];
  if (before != nullptr) {
    const std::int64_t delta = static_cast<std::int64_t>(last.close) - before->close;
    change = std::string("  ") + (delta >= 0 ? "+" : "") + FormatPrice(static_cast<std::int32_t>(delta), scale);
    const auto& table = CKeloUIObjectSingletonPool::Instance()->palette.colorTable;
    color = delta > 0   ? table[CKeloPalette::kUpBarColor]
            : delta < 0 ? table[CKeloPalette::kDownBarColor]
                        : table[CKeloPalette::kTextColor];
  }
  const std::string close = "  C " + FormatPrice(last.close, scale) + change;
  const std::vector<std::string> variants = {
      name + "  " + period + "  " + when + "  O " + FormatPrice(last.open, scale) + "  H " +
          FormatPrice(last.high, scale) + "  L " + FormatPrice(last.low, scale) + close,
      name + "  " + period + "  " + when + close, name + "  " + period + close, name + close};
  const std::string text = FitText(variants, rect.right - plot.left - 2, [&](const std::string& t) {
    return static_cast<int>(dc->GetTextExtent(t.c_str(), static_cast<int>(t.size())).cx);
  });
  DrawLabel(dc, plot.left, 1, text, color);
  dc->SelectObject(oldFont);
}

}  // namespace kelo::cli
