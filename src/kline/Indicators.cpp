// The indicators of the K-line chart as pure functions over the bar series. Every series is
// as long as its input; the warm-up before a value is defined is marked by `first`, and the
// painters leave it out rather than draw a made-up start.
#include <kelochart/kline/KLineSeries.h>

#include <algorithm>
#include <cmath>

namespace KeloKLine {

namespace {

SSeries Undefined(std::size_t n) { return SSeries{std::vector<double>(n, 0.0), n}; }

// EMA of x from index start on, seeded with the simple average of x[start .. start+period-1];
// defined from start + period - 1.
SSeries Ema(const std::vector<double>& x, std::size_t start, int period) {
  SSeries s = Undefined(x.size());
  if (period <= 0 || start + static_cast<std::size_t>(period) > x.size()) return s;
  const std::size_t p = static_cast<std::size_t>(period);
  double sum = 0.0;
  for (std::size_t i = start; i < start + p; ++i) sum += x[i];
  double ema = sum / period;
  s.first = start + p - 1;
  s.values[s.first] = ema;
  const double alpha = 2.0 / (period + 1.0);
  for (std::size_t i = s.first + 1; i < x.size(); ++i) {
    ema += alpha * (x[i] - ema);
    s.values[i] = ema;
  }
  return s;
}

}  // namespace

std::vector<double> Closes(const std::vector<SKBar>& bars) {
  std::vector<double> x(bars.size());
  for (std::size_t i = 0; i < bars.size(); ++i) x[i] = bars[i].close;
  return x;
}

std::vector<double> Volumes(const std::vector<SKBar>& bars) {
  std::vector<double> x(bars.size());
  for (std::size_t i = 0; i < bars.size(); ++i) x[i] = static_cast<double>(bars[i].volume);
  return x;
}

SSeries MovingAverage(const std::vector<double>& x, int period) {
  SSeries s = Undefined(x.size());
  if (period <= 0 || x.size() < static_cast<std::size_t>(period)) return s;
  const std::size_t p = static_cast<std::size_t>(period);
  // A running sum of whole-number prices is exact in double far beyond any real series.
  double sum = 0.0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sum += x[i];
    if (i >= p) sum -= x[i - p];
    if (i + 1 >= p) s.values[i] = sum / period;
  }
  s.first = p - 1;
  return s;
}

SBands Bollinger(const std::vector<double>& closes, int period, double width) {
  SBands b{MovingAverage(closes, period), Undefined(closes.size()), Undefined(closes.size())};
  if (b.middle.first >= closes.size()) return b;
  const std::size_t p = static_cast<std::size_t>(period);
  for (std::size_t i = b.middle.first; i < closes.size(); ++i) {
    const double mean = b.middle.values[i];
    double squares = 0.0;
    for (std::size_t j = i + 1 - p; j <= i; ++j) squares += (closes[j] - mean) * (closes[j] - mean);
    const double sd = std::sqrt(squares / period);
    b.upper.values[i] = mean + width * sd;
    b.lower.values[i] = mean - width * sd;
  }
  b.upper.first = b.lower.first = b.middle.first;
  return b;
}

SKD StochasticKD(const std::vector<SKBar>& bars, int n, int kSmooth, int dSmooth) {
  SKD kd{Undefined(bars.size()), Undefined(bars.size())};
  if (n <= 0 || kSmooth <= 0 || dSmooth <= 0 || bars.size() < static_cast<std::size_t>(n)) return kd;
  const std::size_t w = static_cast<std::size_t>(n);
  double k = 50.0, d = 50.0;
  for (std::size_t i = w - 1; i < bars.size(); ++i) {
    std::int32_t high = bars[i].high, low = bars[i].low;
    for (std::size_t j = i + 1 - w; j < i; ++j) {
      high = std::max(high, bars[j].high);
      low = std::min(low, bars[j].low);
    }
    const double range = static_cast<double>(high) - low;
    const double rsv = range > 0 ? (bars[i].close - static_cast<double>(low)) / range * 100.0 : 50.0;
    k = ((kSmooth - 1) * k + rsv) / kSmooth;
    d = ((dSmooth - 1) * d + k) / dSmooth;
    kd.k.values[i] = k;
    kd.d.values[i] = d;
  }
  kd.k.first = kd.d.first = w - 1;
  return kd;
}

SMACD Macd(const std::vector<double>& closes, int fast, int slow, int signal) {
  const std::size_t n = closes.size();
  SMACD m{Undefined(n), Undefined(n), Undefined(n)};
  const SSeries f = Ema(closes, 0, fast), s = Ema(closes, 0, slow);
  const std::size_t from = std::max(f.first, s.first);
  if (from >= n) return m;
  for (std::size_t i = from; i < n; ++i) m.dif.values[i] = f.values[i] - s.values[i];
  m.dif.first = from;
  m.signal = Ema(m.dif.values, from, signal);
  if (m.signal.first < n) {
    for (std::size_t i = m.signal.first; i < n; ++i) m.histogram.values[i] = m.dif.values[i] - m.signal.values[i];
    m.histogram.first = m.signal.first;
  }
  return m;
}

SSeries Rsi(const std::vector<double>& closes, int period) {
  SSeries s = Undefined(closes.size());
  if (period <= 0 || closes.size() <= static_cast<std::size_t>(period)) return s;
  const std::size_t p = static_cast<std::size_t>(period);
  double gain = 0.0, loss = 0.0;
  for (std::size_t i = 1; i <= p; ++i) {
    const double c = closes[i] - closes[i - 1];
    (c > 0 ? gain : loss) += std::abs(c);
  }
  gain /= period;
  loss /= period;
  auto value = [&] { return gain + loss > 0 ? 100.0 * gain / (gain + loss) : 50.0; };
  s.values[p] = value();
  for (std::size_t i = p + 1; i < closes.size(); ++i) {
    const double c = closes[i] - closes[i - 1];
    gain = (gain * (period - 1) + (c > 0 ? c : 0.0)) / period;
    loss = (loss * (period - 1) + (c < 0 ? -c : 0.0)) / period;
    s.values[i] = value();
  }
  s.first = p;
  return s;
}

}  // namespace KeloKLine
