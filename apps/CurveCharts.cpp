// The curve charts on a plain slot axis: a curve group (composed from layers), figure
// curves split at the reference price, and the XY chart of returns with regions and points.
#include <algorithm>
#include <cmath>
#include <numeric>

#include <kelochart/calculate/KeloChartCalculate.h>

#include "ChartKinds.h"

namespace kelo::cli {

namespace {

using Curve = CKeloBaseCurve;

// One value per minute of the session, carried forward over minutes without a bar.
struct MinuteSeries {
  std::vector<std::int32_t> close, vwap;
};

MinuteSeries SeriesOf(const ChartInput& in) {
  const std::size_t slots = static_cast<std::size_t>(in.session.LengthSeconds() / 60);
  MinuteSeries s;
  s.close.assign(slots, in.reference);
  s.vwap.assign(slots, in.reference);
  std::size_t filled = 0;
  std::int32_t last = in.reference, lastVwap = in.reference;
  double value = 0, volume = 0;
  for (const MinuteBar& b : in.data.bars) {
    const std::int32_t offset = in.session.OffsetOf(b.time).value_or(0);
    const std::size_t k = std::min(slots - 1, static_cast<std::size_t>(offset > 0 ? (offset - 1) / 60 : 0));
    for (; filled < k; ++filled) {
      s.close[filled] = last;
      s.vwap[filled] = lastVwap;
    }
    value += static_cast<double>(b.volume) * (static_cast<double>(b.high) + b.low + b.close) / 3.0;
    volume += static_cast<double>(b.volume);
    last = b.close;
    if (volume > 0) lastVwap = static_cast<std::int32_t>(std::lround(value / volume));
    s.close[k] = last;
    s.vwap[k] = lastVwap;
    filled = k + 1;
  }
  for (; filled < slots; ++filled) {
    s.close[filled] = last;
    s.vwap[filled] = lastVwap;
  }
  return s;
}

std::vector<std::int32_t> MovingAverage(const std::vector<std::int32_t>& v, std::size_t n) {
  std::vector<std::int32_t> out(v.size());
  double sum = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    sum += v[i];
    if (i >= n) sum -= v[i - n];
    out[i] = static_cast<std::int32_t>(std::lround(sum / static_cast<double>(std::min(i + 1, n))));
  }
  return out;
}

// The clock steps a time axis labels by: from the half hour to six hours.
const std::vector<std::int32_t> kClockSteps = {1800, 3600, 7200, 10800, 14400, 21600};

// The x grid of a session: cells of one clock step. The frame's cell grid is inset by half a
// cell at either end and the curves span the lines between, so n steps take n + 1 cells.
struct SessionGrid {
  std::int32_t step = 1800;  // seconds per cell
  int cells = 2;
  std::int32_t spanMinutes = 0;  // what the lines between the insets cover (the session, rounded up)
  bool firstLabel = true;        // the session start is labelled
  int labelEvery = 1;            // labels stand on every this many label places
};

SessionGrid GridOf(const ChartInput& in, int plotWidth, int labelPixels, int gap, int cellsPerLabel) {
  const std::int32_t length = in.session.LengthSeconds();
  SessionGrid grid;
  for (std::int32_t step : kClockSteps) {
    grid.step = step;
    grid.cells = std::max(1, static_cast<int>((length + step - 1) / step)) + 1;
    if (plotWidth / grid.cells * cellsPerLabel >= labelPixels + gap) break;
  }
  // A step that does not divide the session runs the axis past its end, to times nobody
  // trades (07:00 after a 15:00-05:00 night): lines on the widest step that divides it, with
  // labels on every few of them, a clock step apart, keep the axis to the session.
  for (auto g = kClockSteps.rbegin(); length % grid.step != 0 && g != kClockSteps.rend(); ++g) {
    if (*g >= grid.step || length % *g != 0) continue;
    const int cells = static_cast<int>(length / *g) + 1;
    for (std::int32_t label : kClockSteps) {
      const int every = static_cast<int>(label / *g);
      if (label % *g != 0 || every < 2 || plotWidth / cells * cellsPerLabel * every < labelPixels + gap) continue;
      grid.step = *g;
      grid.cells = cells;
      grid.labelEvery = every;
      break;
    }
  }
  grid.spanMinutes = (grid.cells - 1) * grid.step / 60;
  return grid;
}

// The frame labels every second line: the labels are two cells apart from the session start.
std::vector<CString> FrameLabels(const ChartInput& in, const SessionGrid& grid) {
  std::vector<CString> labels;
  const std::int32_t start = SecondsOf(in.session.start);
  for (int k = 0; k < grid.cells; k += 2) {
    if ((k == 0 && !grid.firstLabel) || k / 2 % grid.labelEvery != 0) {
      labels.push_back(CString(""));
      continue;
    }
    labels.push_back(CString(FormatClock(ClockOf((start + k * grid.step) % 86400)).c_str()));
  }
  return labels;
}

// The slot count the curves are laid on: every minute of the grid's span, so that a minute
// lands under its clock label even when the session is not a whole number of steps.
std::int32_t SlotsOf(const MinuteSeries& s, const SessionGrid& grid) {
  return std::max(static_cast<std::int32_t>(s.close.size()), grid.spanMinutes);
}

// The curve charts' plot and time grid for a picture: the default margins, the left one wide
// enough for the longest y label.
CRect LayOut(Curve& chart, const ChartInput& in, const CRect& rect, std::size_t labelCharacters, int cellsPerLabel,
             SessionGrid& grid) {
  chart.SetBmpDeflate(std::max<int>(8, static_cast<int>(labelCharacters) + 2), 1, 3, 2);
  const CRect plot = PlotOf(chart, rect);
  grid = GridOf(in, plot.Width(), TextPixels(chart, 5), TextPixels(chart, 1) / 2 + 1, cellsPerLabel);
  // The first time label is centred half a cell in; the y labels reach a few pixels past the
  // plot's left edge at the corner: without the room, the first time label is left out.
  grid.firstLabel = plot.Width() / grid.cells / 2 >= TextPixels(chart, 5) / 2 + 5;
  return PlotOf(chart, rect);
}

// The smallest round count of ticks from n on: 1 to 6 and 8, then 10, 12, 15, 20, 25, 30, 40,
// 50, 60, 80 times a power of ten, so a round step widens the axis by a quarter at the most
// (a third at 30 and 60), not the half that steps of 1, 2 and 5 alone can cost.
std::int64_t RoundTicks(std::int64_t n) {
  if (n <= 6) return std::max<std::int64_t>(1, n);
  if (n <= 8) return 8;
  for (std::int64_t power = 1; power <= INT64_MAX / 1000; power *= 10) {
    for (std::int64_t m : {10, 12, 15, 20, 25, 30, 40, 50, 60, 80}) {
      if (m * power >= n) return m * power;
    }
  }
  return n;
}

struct PriceFrame {
  PriceAxis axis;
  SessionGrid grid;
  CRect plot;
};
// The plot under a column as wide as the axis's labels, and the session's time grid on it.
PriceFrame LabelTimeGrid(Curve& chart, const ChartInput& in, const CRect& rect, PriceFrame f) {
  f.plot = LayOut(chart, in, rect, FormatPrice(f.axis.top, in.data.priceScale).size(), 2, f.grid);
  chart.SetXCells(f.grid.cells);
  chart.SetXInfor(FrameLabels(in, f.grid));
  return f;
}

// The price frame of the curve-group and figure charts: the axis from the data on round steps,
// the session's time grid under a column of price labels, and the grid's cells and time
// labels on the chart.
PriceFrame LayOutPriceFrame(Curve& chart, const ChartInput& in, const CRect& rect, bool splitAtReference) {
  PriceFrame f{MakePriceAxis(in, PlotOf(chart, rect).Height()), {}, {}};
  // These charts split the axis into even cells, the reference on the middle line: cells a
  // round number of ticks put every line on a price a trader reads (32.00 31.50 ...), where
  // an even split of the tick-ladder axis gave 31.72 31.29.
  const std::int64_t ref = in.reference, halfCells = std::max(1, chart.GetYCells() / 2);
  const std::int64_t reach = std::max(std::int64_t{f.axis.top} - ref, ref - f.axis.bottom);
  const std::int64_t perCell = halfCells * f.axis.tickUnits;
  std::int64_t ticks = RoundTicks((reach + perCell - 1) / perCell);
  const std::int64_t scale = in.data.priceScale;
  const bool onLadder =
      KeloChartCalculate::GetReasonableMaxPrice(in.reference, in.data.priceScale, in.category.index) == in.reference;
  if (!splitAtReference && !onLadder) {
    // A reference between ticks (an index level, an option of 145.5 where the ticks are whole
    // points): the curve group's lines go on multiples of the step instead, the reference
    // between two of them, and a whole top labels whole prices.
    const std::int64_t step = ticks * f.axis.tickUnits;
    std::int64_t top = (ref + reach + step - 1) / step * step;
    if (top % scale == 0 && step % scale != 0) top += step;
    const std::int64_t bottom = std::max<std::int64_t>(0, ref - reach) / step * step;
    if (top <= INT32_MAX) {
      f.axis.top = static_cast<std::int32_t>(top);
      f.axis.bottom = static_cast<std::int32_t>(bottom);
      chart.SetYCells(static_cast<int>((top - bottom) / step));
    }
    return LabelTimeGrid(chart, in, rect, f);
  }
  // The curve group labels an axis whose top is a whole price in whole prices, cut toward
  // zero: its steps must then be whole prices too, or 56.80 would read 56.
  while (!splitAtReference && ticks < INT32_MAX) {
    const std::int64_t units = ticks * f.axis.tickUnits;
    if ((ref + units * halfCells) % scale != 0 || units % scale == 0) break;
    ticks = RoundTicks(ticks + 1);
  }
  const std::int64_t step = ticks * f.axis.tickUnits;
  if (ref - step * halfCells >= 0 && ref + step * halfCells <= INT32_MAX) {
    // Every cell a whole step of at least one tick: no two lines within a price unit.
    f.axis.top = static_cast<std::int32_t>(ref + step * halfCells);
    f.axis.bottom = static_cast<std::int32_t>(ref - step * halfCells);
    return LabelTimeGrid(chart, in, rect, f);
  }
  // The axis stays as the tick ladder gave it. A penny warrant's stops at zero and spans a
  // few price units: lines at fractions of a unit would print the same label twice, or a
  // price between two ticks. Fewer lines then, each on a whole unit: the figure chart splits
  // its lines at the reference, the curve group spreads them evenly.
  const std::int64_t up = std::int64_t{f.axis.top} - ref, down = ref - f.axis.bottom;
  if (std::min(up, down) < chart.GetYCells() / 2) {
    std::int64_t cells = chart.GetYCells();
    if (splitAtReference) {
      cells = 2 * std::gcd(up, down);
    } else {
      while (cells > 2 && (up + down) % cells != 0) --cells;
    }
    chart.SetYCells(static_cast<int>(std::max<std::int64_t>(2, cells)));
  }
  return LabelTimeGrid(chart, in, rect, f);
}

COLORREF Caption() { return CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kTextColor]; }

}  // namespace

void DrawCurveGroup(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  const MinuteSeries s = SeriesOf(in);
  std::vector<std::vector<std::int32_t>> curves = {s.close, s.vwap, MovingAverage(s.close, 10),
                                                   MovingAverage(s.close, 30)};
  Curve chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  const CRect rect(0, 0, style.width, style.height);
  const auto [axis, grid, plot] = LayOutPriceFrame(chart, in, rect, false);
  chart.SetCurveNumColor(0, Gdiplus::Color(0xFFF0F0F0));
  chart.DrawEasyCurveGroupChart(dc, rect, axis.top, axis.bottom, SlotsOf(s, grid), curves, in.data.priceScale);
  const std::string name = DisplayName(in);
  DrawCaption(dc, chart, plot,
              {name + "  close (" + (style.light ? "black" : "white") +
                   "), VWAP (green), 10-minute (blue) and 30-minute (cyan) averages",
               name + "  close, VWAP (green), 10/30-min averages", name},
              Caption());
}

void DrawFigureCurves(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  const MinuteSeries s = SeriesOf(in);
  dc->FillSolidRect(CRect(0, 0, style.width, style.height), Background());
  Curve chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  const CRect rect(0, 0, style.width, style.height);
  const auto [axis, grid, plot] = LayOutPriceFrame(chart, in, rect, true);
  chart.DrawBase(dc, plot, 0, 0);
  CFont* old = dc->SelectObject(chart.GetFont());
  int decimals = 0;
  for (std::int32_t v = in.data.priceScale; v >= 10; v /= 10) ++decimals;
  const double scale = in.data.priceScale;
  chart.DrawYGridTextEx(dc, plot, axis.top / scale, in.reference / scale, axis.bottom / scale, chart.GetYCells() + 1,
                        decimals);
  dc->SelectObject(old);
  CKeloBaseChart::_SDataInfor info;
  info.maxValue = axis.top;
  info.baseValue = in.reference;
  info.minValue = axis.bottom;
  info.totalCount = SlotsOf(s, grid);
  info.priceScale = in.data.priceScale;
  info.values = s.vwap;
  chart.SetDefaultCurveColor(Gdiplus::Color(0xFFFFD200));
  chart.DrawDivideFigureCurve(dc, plot, info, 0);
  info.values = s.close;
  chart.DrawDivideFigureUpDownCurve(dc, plot, info, 0);
  const std::string name = DisplayName(in), reference = FormatPrice(in.reference, in.data.priceScale);
  DrawCaption(dc, chart, plot,
              {name + "  closes by direction around " + reference + ", VWAP in yellow",
               name + "  closes around " + reference + ", VWAP", name},
              Caption());
}

void DrawXYReturns(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  // x: minutes into the session; y: return against the reference in basis points.
  // Kept within a billion basis points, so that the axis bounds and their negation fit.
  auto bp = [&](std::int32_t price) {
    const double r = (static_cast<double>(price) - in.reference) * 10000.0 / in.reference;
    return static_cast<std::int32_t>(std::lround(std::clamp(r, -1e9, 1e9)));
  };
  std::vector<Curve::XYValue> curve;
  std::vector<std::vector<Curve::XYValue>> regions;
  std::vector<Curve::XYValue> run;
  std::int32_t yMax = 1, yMin = -1;
  const MinuteBar* high = &in.data.bars.front();
  const MinuteBar* low = high;
  for (const MinuteBar& b : in.data.bars) {
    const Curve::XYValue p{in.session.OffsetOf(b.time).value_or(0) / 60, bp(b.close)};
    curve.push_back(p);
    yMax = std::max({yMax, bp(b.high)});
    yMin = std::min({yMin, bp(b.low)});
    if (b.high > high->high) high = &b;
    if (b.low < low->low) low = &b;
    // A region for every stretch above the reference, closed along the zero line.
    if (p.y > 0) {
      if (run.empty()) run.push_back({p.x, 0});
      run.push_back(p);
    }
    if ((p.y <= 0 || &b == &in.data.bars.back()) && run.size() > 1) {
      run.push_back({run.back().x, 0});
      regions.push_back(run);
    }
    if (p.y <= 0) run.clear();
  }
  // A sixteenth of room beyond the extreme return, so its point does not touch the frame.
  const std::int32_t reach = std::max(yMax, -yMin);
  const std::int32_t bound =
      static_cast<std::int32_t>(std::min<std::int64_t>(RoundUp(reach + reach / 16 + 1), 1000000000));
  Curve chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  const CRect rect(0, 0, style.width, style.height);
  // x runs over the session's minutes on a clock grid: one line per step, each labelled with
  // its time (the frame would label minute counts; it is given one label, which it skips).
  SessionGrid grid;
  const CRect plot = LayOut(chart, in, rect, std::to_string(-bound).size(), 1, grid);
  chart.SetXCells(grid.cells);
  chart.SetCurveNumWidth(0, 1.5f);
  chart.SetRgnPointsValue(regions);
  for (unsigned i = 0; i < regions.size(); ++i) {
    chart.SetROICurveNumColor(i, Gdiplus::Color(0xFFFF5050));
    chart.SetROIBrushNumColor(i, Gdiplus::Color(0x60FF3030));
  }
  const auto offsetMinutes = [&](const MinuteBar& b) {
    return static_cast<float>(in.session.OffsetOf(b.time).value_or(0) / 60);
  };
  chart.SetEasyPoints({{offsetMinutes(*high), static_cast<float>(bp(high->high)), Gdiplus::Color(0xFFFF4040), 10.0f},
                       {offsetMinutes(*low), static_cast<float>(bp(low->low)), Gdiplus::Color(0xFF40FF40), 10.0f}});
  chart.DrawEasyXYChart(dc, rect, grid.spanMinutes, 0, 1, bound, -bound, 9, {curve});
  // The time labels under the grid lines, where the frame puts its x labels.
  CFont* old = dc->SelectObject(chart.GetFont());
  const int inset = static_cast<int>(plot.Width() / grid.cells * 0.5);
  const double perMinute = static_cast<double>(plot.Width() - 2 * inset) / std::max(1, grid.spanMinutes);
  const COLORREF color = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kUpTextColor];
  const std::int32_t start = SecondsOf(in.session.start);
  for (int k = grid.firstLabel ? 0 : 1; k < grid.cells; ++k) {
    if (k % grid.labelEvery != 0) continue;
    const std::string text = FormatClock(ClockOf((start + k * grid.step) % 86400));
    const int x = plot.left + inset + static_cast<int>(k * grid.step / 60 * perMinute);
    DrawLabel(dc, x - TextPixels(chart, text.size()) / 2, plot.bottom + 2, text, color);
  }
  dc->SelectObject(old);
  const std::string name = DisplayName(in), reference = FormatPrice(in.reference, in.data.priceScale);
  DrawCaption(dc, chart, plot,
              {name + "  return in basis points against " + reference + " over the session",
               name + "  return (bp) against " + reference, name},
              Caption());
}

}  // namespace kelo::cli
