// The bar series of a K-line chart and the pure functions over it: building bars of a longer
// length from minute bars or trades (aggregation) and the indicators traders read (moving
// averages, Bollinger bands, KD, MACD, RSI). Prices are whole numbers scaled by the chart's
// priceScale, as everywhere in the library; indicator values are doubles on the same scale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace KeloKLine {

// One bar: the trading day as yyyymmdd, the clock time HHMMSS its period ends at (0 for
// bars of a day or longer), open, high, low and close, and the volume traded in it.
struct SKBar {
  std::int32_t date = 0;
  std::int32_t time = 0;
  std::int32_t open = 0;
  std::int32_t high = 0;
  std::int32_t low = 0;
  std::int32_t close = 0;
  std::int64_t volume = 0;
  friend bool operator==(const SKBar&, const SKBar&) = default;
};

// One trade: calendar date yyyymmdd, clock time HHMMSS, price and volume.
struct STrade {
  std::int32_t date = 0;
  std::int32_t time = 0;
  std::int32_t price = 0;
  std::int64_t volume = 0;
};

// A trading session from start to end (clock times HHMMSS). A session whose end is not after
// its start runs across midnight (a night session, 15:00-05:00) and belongs to the NEXT
// trading day.
struct SSession {
  std::int32_t start = 90000;
  std::int32_t end = 133000;
};

// Bar lengths: minutes (1, 5, 15, 30, 60), or a day, a week (Monday to Sunday) or a month.
enum EPeriod : std::int32_t {
  ePeriod1Min = 1,
  ePeriod5Min = 5,
  ePeriod15Min = 15,
  ePeriod30Min = 30,
  ePeriod60Min = 60,
  ePeriodDay = 1440,
  ePeriodWeek = 10080,
  ePeriodMonth = 43200,
};

// Minute bars from trades: the bar stamped 09:01 holds the trades of 09:00:00-09:00:59; a trade
// at the session's end (the closing auction at 13:30:00) joins the session's last bar. Trades
// must be in time order; the minute bars carry the calendar date of their trades, except the
// minute that ends at midnight: it is stamped 00:00 of the next calendar day.
std::vector<SKBar> MinuteBarsFromTrades(const std::vector<STrade>& trades, const std::vector<SSession>& sessions);

// Bars of period from minute bars (each stamped with the end of its minute, carrying its
// calendar date) or from daily bars (time 0; only day, week and month apply). A bar never
// straddles a session break; a night-session bar belongs to the next trading day (the next
// date of a day-session bar in the input, else the next weekday). Minute periods count from
// the session's start and are stamped with their end (the first 30-minute bar of 09:00-13:30
// is 09:30 and covers 09:01-09:30; the last of a session ends at its end). Days are stamped
// with the trading day, weeks and months with their last trading day, all with time 0.
// Bars outside every session count their periods from midnight of their own date. When any
// bar has a time the input is intraday and time 0 is the minute ending at midnight (dated
// with the day that starts then), not a daily bar.
std::vector<SKBar> AggregateBars(const std::vector<SKBar>& bars, EPeriod period, const std::vector<SSession>& sessions);

// Day number of a yyyymmdd date (days since 1970-01-01) and back; weekday 0 is Monday.
std::int32_t DayNumber(std::int32_t yyyymmdd);
std::int32_t DateOfDay(std::int32_t dayNumber);
int Weekday(std::int32_t yyyymmdd);

// ---- indicators ----

// A series as long as the bars; values before `first` are undefined (warm-up) and are not
// drawn. first == values.size() when no value is defined.
struct SSeries {
  std::vector<double> values;
  std::size_t first = 0;
  bool Defined(std::size_t i) const { return i >= first && i < values.size(); }
};

std::vector<double> Closes(const std::vector<SKBar>& bars);
std::vector<double> Volumes(const std::vector<SKBar>& bars);

// Simple moving average of the last period values, defined from index period - 1.
SSeries MovingAverage(const std::vector<double>& x, int period);

// Bollinger bands: the moving average of period closes and width standard deviations of the
// same closes (population deviation, divided by period) above and below it.
struct SBands {
  SSeries middle, upper, lower;
};
SBands Bollinger(const std::vector<double>& closes, int period, double width);

// KD as Taiwan's screens show it: RSV = (close - lowest low) / (highest high - lowest low) x 100
// over the last n bars (50 when the range is empty); K = ((kSmooth - 1) K' + RSV) / kSmooth and
// D = ((dSmooth - 1) D' + K) / dSmooth, with K' and D' starting at 50 before the first full
// window. Defined from index n - 1.
struct SKD {
  SSeries k, d;
};
SKD StochasticKD(const std::vector<SKBar>& bars, int n, int kSmooth, int dSmooth);

// MACD of the closes: DIF = EMA(fast) - EMA(slow), signal = EMA(signal) of DIF, histogram =
// DIF - signal. Each EMA (factor 2 / (period + 1)) starts at the simple average of its first
// period inputs, so DIF is defined from index slow - 1 and the signal from slow + signal - 2.
struct SMACD {
  SSeries dif, signal, histogram;
};
SMACD Macd(const std::vector<double>& closes, int fast, int slow, int signal);

// RSI with Wilder's smoothing: the first averages of gains and losses are the simple
// averages of the first period changes, then avg = (avg' (period - 1) + change) / period;
// RSI = 100 gain / (gain + loss), 50 when nothing moved. Defined from index period.
SSeries Rsi(const std::vector<double>& closes, int period);

}  // namespace KeloKLine
