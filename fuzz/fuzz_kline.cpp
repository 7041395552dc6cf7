// The K-line object and its bar series under hostile callers, one object per input so that
// its layer and last layout carry over: bars with INT32 extremes, dates and times that are no
// calendar's, high below low, volumes at the 64-bit ends; a live feed appending and changing
// bars between paints; every setter (styles, colours, overlays, lower panes, moving-average
// periods, visible counts, price scales and categories) and the frame's own. Calls go to
// rasters, recordings, SVG and PDF pages and memory DCs, the DC changing between calls.
// Each input also runs the pure series functions (aggregation of trades and bars into every
// period over hostile sessions, the indicators over hostile periods) and checks what they
// promise whatever the input: series as long as their input, nothing defined before `first`.
#include <vector>

#include <kelochart/kline/KeloKLine.h>

#include "FuzzDC.h"

using kelo::fuzz::Input;
using namespace KeloKLine;

namespace {

// Up to 40 bars mostly, now and then 50,000 to 100,000.
std::size_t Length(Input& in) { return in.Size(40, 100000); }

std::int32_t Date(Input& in) {
  const std::uint8_t how = in.Byte();
  if (how < 160) return DateOfDay(DayNumber(20261201) + in.Byte());  // real trading-day-like dates
  return in.Int();
}

std::int32_t Price(Input& in) { return in.Byte() < 200 ? 5000 + static_cast<std::int8_t>(in.Byte()) : in.Int(); }

SKBar Bar(Input& in) {
  SKBar b;
  b.date = Date(in);
  b.time = in.Byte() < 128 ? 0 : kelo::fuzz::Clock(in);
  b.open = Price(in);
  b.high = Price(in);
  b.low = Price(in);
  b.close = Price(in);
  b.volume = in.Int64();
  return b;
}

std::vector<SKBar> Bars(Input& in) {
  std::vector<SKBar> v(Length(in));
  for (auto& b : v) b = Bar(in);
  return v;
}

std::vector<SSession> Sessions(Input& in) {
  switch (in.Pick(4)) {
    case 0: return {{90000, 133000}};
    case 1: return {{84500, 134500}, {150000, 50000}};
    case 2: return {};
    default: {
      std::vector<SSession> s(in.Pick(4));
      for (auto& x : s) x = {kelo::fuzz::Clock(in), kelo::fuzz::Clock(in)};
      return s;
    }
  }
}

EPeriod Period(Input& in) {
  static constexpr EPeriod kPeriods[] = {ePeriod1Min,  ePeriod5Min, ePeriod15Min, ePeriod30Min,
                                         ePeriod60Min, ePeriodDay,  ePeriodWeek,  ePeriodMonth};
  return in.Byte() < 240 ? kPeriods[in.Pick(8)] : static_cast<EPeriod>(in.Int());
}

void CheckSeries(const SSeries& s, std::size_t length) {
  KELO_FUZZ_CHECK(s.values.size() == length && s.first <= length);
}

// The pure functions: aggregation and indicators over the same hostile bars.
void RunSeries(Input& in, const std::vector<SKBar>& bars) {
  std::vector<STrade> trades(in.Pick(30));
  for (auto& t : trades) t = {Date(in), kelo::fuzz::Clock(in), Price(in), in.Int64()};
  const auto sessions = Sessions(in);
  const auto minutes = MinuteBarsFromTrades(trades, sessions);
  KELO_FUZZ_CHECK(minutes.size() <= trades.size());
  const auto aggregated = AggregateBars(in.Byte() & 1 ? minutes : bars, Period(in), sessions);
  (void)aggregated;
  const auto closes = Closes(bars);
  CheckSeries(MovingAverage(closes, in.Int()), closes.size());
  const SBands b = Bollinger(closes, in.Int(), in.Double());
  CheckSeries(b.upper, closes.size());
  const SKD kd = StochasticKD(bars, in.Int(), in.Int(), in.Int());
  CheckSeries(kd.d, bars.size());
  const SMACD m = Macd(closes, in.Int(), in.Int(), in.Int());
  CheckSeries(m.histogram, closes.size());
  CheckSeries(Rsi(closes, in.Int()), closes.size());
}

void Set(Input& in, CKeloKLine& chart) {
  switch (in.Pick(12)) {
    case 0: chart.SetVisibleCount(in.Count()); break;
    case 1: chart.SetPriceScale(in.Int()); break;
    case 2: chart.SetMarketCategory(in.U32() % 64); break;
    case 3: chart.SetKLineStyle(static_cast<CKeloKLine::EKLineStyle>(in.Int())); break;
    case 4: chart.SetHollowUp(in.Int()); break;
    case 5: chart.SetKLineColors(in.U32(), in.U32(), in.U32()); break;
    case 6: chart.SetBkColor(in.U32()); break;
    case 7: chart.SetOverlays(in.U32()); break;
    case 8: chart.SetLowerPane(static_cast<CKeloKLine::ELowerPane>(in.Int())); break;
    case 9: {
      std::vector<int> periods(in.Pick(6));
      for (int& p : periods) p = in.Int();
      chart.SetMAPeriods(periods);
      break;
    }
    case 10: chart.SetFontSize(in.Int(), in.Int()); break;
    default: kelo::fuzz::SetFrame(in, chart); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  kelo::fuzz::Surfaces surfaces(in);
  CKeloKLine chart;
  std::vector<SKBar> bars = Bars(in);
  RunSeries(in, bars);
  chart.SetBars(bars);
  kelo::fuzz::RunCalls(in, surfaces, [&](CDC* dc, const CRect& rect) {
    switch (in.Pick(8)) {
      case 0: chart.DrawKLine(dc, rect); break;
      case 1: chart.DrawEasyKLine(dc, rect); break;
      case 2: chart.UpdateKLine(dc, rect); break;
      case 3:
        chart.AppendBar(Bar(in));
        chart.DrawEasyKLine(dc, rect);
        break;
      case 4:
        chart.UpdateLastBar(Bar(in));
        chart.UpdateKLine(dc, rect);
        break;
      case 5: chart.SetBars(Bars(in)); break;
      case 6: chart.OnChangeSize(); break;
      default: Set(in, chart); break;
    }
    (void)chart.GetXPosByIndex(in.U32());
  });
  return 0;
}
