// The curve charts on a plain slot axis: a curve group (composed from layers), figure
// curves split at the reference price, and the XY chart of returns with regions and points.
#include <algorithm>
#include <cmath>

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

// The grid for half-hour lines. The frame's cell grid is inset by half a cell at either
// end and the curves span the lines between, so n half hours take n + 1 cells; the frame
// labels every second line, so the labels are a whole hour apart from the session start.
int HalfHourCells(const ChartInput& in, std::vector<CString>& labels) {
  const std::int32_t start = SecondsOf(in.session.start), length = in.session.LengthSeconds();
  const int cells = std::max(1, static_cast<int>((length + 1799) / 1800)) + 1;
  for (int k = 0; k < cells; k += 2) {
    labels.push_back(CString(FormatClock(ClockOf((start + k * 1800) % 86400)).c_str()));
  }
  return cells;
}

void DrawCaption(CDC* dc, Curve& chart, const CRect& plot, const std::string& text) {
  CFont* old = dc->SelectObject(chart.GetFont());
  DrawLabel(dc, plot.left + 4, plot.top - chart.GetFontHeight(), text,
            CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kTextColor]);
  dc->SelectObject(old);
}

}  // namespace

void DrawCurveGroup(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  const MinuteSeries s = SeriesOf(in);
  std::vector<std::vector<std::int32_t>> curves = {s.close, s.vwap, MovingAverage(s.close, 10),
                                                   MovingAverage(s.close, 30)};
  const PriceAxis axis = MakePriceAxis(in);
  Curve chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  std::vector<CString> labels;
  chart.SetXCells(HalfHourCells(in, labels));
  chart.SetXInfor(labels);
  chart.SetCurveNumColor(0, Gdiplus::Color(0xFFF0F0F0));
  const CRect rect(0, 0, style.width, style.height);
  chart.DrawEasyCurveGroupChart(dc, rect, axis.top, axis.bottom, static_cast<std::int32_t>(s.close.size()), curves,
                                in.data.priceScale);
  DrawCaption(dc, chart, PlotOf(chart, rect), DisplayName(in) + "  close (white), VWAP (green), 10-minute (blue) and 30-minute (cyan) averages");
}

void DrawFigureCurves(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  const MinuteSeries s = SeriesOf(in);
  const PriceAxis axis = MakePriceAxis(in);
  dc->FillSolidRect(CRect(0, 0, style.width, style.height), Background());
  Curve chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  std::vector<CString> labels;
  chart.SetXCells(HalfHourCells(in, labels));
  chart.SetXInfor(labels);
  const CRect plot = PlotOf(chart, CRect(0, 0, style.width, style.height));
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
  info.totalCount = static_cast<std::int32_t>(s.close.size());
  info.priceScale = in.data.priceScale;
  info.values = s.vwap;
  chart.SetDefaultCurveColor(Gdiplus::Color(0xFFFFD200));
  chart.DrawDivideFigureCurve(dc, plot, info, 0);
  info.values = s.close;
  chart.DrawDivideFigureUpDownCurve(dc, plot, info, 0);
  DrawCaption(dc, chart, plot, DisplayName(in) + "  closes by direction around " +
                                   FormatPrice(in.reference, in.data.priceScale) + ", VWAP in yellow");
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
  const std::int32_t bound = static_cast<std::int32_t>(RoundUp(std::max(yMax, -yMin)));
  const std::int32_t xMax = in.session.LengthSeconds() / 60;
  Curve chart;
  LabelFont font(dc, style);
  font.Apply(chart);
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
  const CRect rect(0, 0, style.width, style.height);
  chart.DrawEasyXYChart(dc, rect, xMax, 0, std::min(10, xMax), bound, -bound, 9, {curve});
  DrawCaption(dc, chart, PlotOf(chart, rect),
              DisplayName(in) + "  return in basis points against " + FormatPrice(in.reference, in.data.priceScale) +
                  " over the session's minutes");
}

}  // namespace kelo::cli
