// The composite bar charts: up/down bars of the price change per interval, and grouped bars
// of up-minute and down-minute volume with the larger side on the appended layer.
#include <algorithm>

#include "ChartKinds.h"

namespace kelo::cli {

namespace {

using Bar = CKeloBaseBar;

// Index of the interval of intervalSeconds a bar belongs to (a bar stamped at the end of its
// minute belongs to the interval that minute lies in).
std::size_t IntervalOf(const ChartInput& in, const MinuteBar& b, std::int32_t intervalSeconds, std::size_t count) {
  const std::int32_t offset = in.session.OffsetOf(b.time).value_or(0);
  const std::int32_t k = offset > 0 ? (offset - 1) / intervalSeconds : 0;
  return std::min<std::size_t>(static_cast<std::size_t>(k), count - 1);
}

std::size_t IntervalCount(const ChartInput& in, std::int32_t intervalSeconds) {
  return static_cast<std::size_t>((in.session.LengthSeconds() + intervalSeconds - 1) / intervalSeconds);
}

// The time labels of the intervals, drawn by the tool: the frame clips each label to its
// bar's cell, which a long session makes narrower than a time. A label stands at the end of
// every interval whose end is a whole multiple of the label step (15 minutes to six hours,
// the first whose labels leave room between them), centred on that boundary.
void DrawIntervalLabels(CDC* dc, CKeloBaseChart& chart, const CRect& plot, const ChartInput& in,
                        std::int32_t intervalSeconds, std::size_t count) {
  std::vector<std::int32_t> steps;
  for (std::int32_t every : {1, 2, 4, 8, 12, 16, 24}) {
    if (21600 % (every * intervalSeconds) == 0) steps.push_back(every * intervalSeconds);
  }
  const double perSecond = static_cast<double>(plot.Width()) / (static_cast<double>(count) * intervalSeconds);
  const std::int32_t step = FittingStep(steps, perSecond, TextPixels(chart, 5), TextPixels(chart, 1));
  const std::int32_t start = SecondsOf(in.session.start);
  // A session that starts off the interval grid counts its steps from its start.
  const std::int32_t origin = start % intervalSeconds == 0 ? 0 : start;
  CFont* old = dc->SelectObject(chart.GetFont());
  const COLORREF color = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kUpTextColor];
  int freeFrom = plot.left - TextPixels(chart, 8);
  for (std::size_t k = 0; k < count; ++k) {
    const std::int32_t end = start + static_cast<std::int32_t>(k + 1) * intervalSeconds;
    if ((end - origin) % step != 0) continue;
    const std::string text = FormatClock(ClockOf(end % 86400));
    const int half = TextPixels(chart, text.size()) / 2;
    // The last label is pulled in from the right edge; one that would then touch the label
    // before it is left out.
    const int x = std::min(plot.left + static_cast<int>((k + 1) * perSecond * intervalSeconds), plot.right - half);
    if (x - half < freeFrom) continue;
    DrawLabel(dc, x - half, plot.bottom + 2, text, color);
    freeFrom = x + half + TextPixels(chart, 1);
  }
  dc->SelectObject(old);
}

COLORREF Caption() { return CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kTextColor]; }

}  // namespace

void DrawUpDownBars(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  constexpr std::int32_t kInterval = 900;
  const std::size_t count = IntervalCount(in, kInterval);
  std::vector<std::int32_t> lastClose(count, 0);
  std::vector<bool> traded(count, false);
  for (const MinuteBar& b : in.data.bars) {
    const std::size_t k = IntervalOf(in, b, kInterval, count);
    lastClose[k] = b.close;
    traded[k] = true;
  }
  CKeloBaseChart::_SDataInfor data;
  std::int32_t before = in.reference;
  std::int64_t largest = 1;
  for (std::size_t k = 0; k < count; ++k) {
    const std::int32_t close = traded[k] ? lastClose[k] : before;
    const std::int64_t change = static_cast<std::int64_t>(close) - before;
    data.values.push_back(static_cast<std::int32_t>(change));
    largest = std::max(largest, change < 0 ? -change : change);
    before = close;
  }
  const std::int32_t bound = static_cast<std::int32_t>(std::min<std::int64_t>(RoundUp(largest), 1000000000));
  data.maxValue = bound;
  data.minValue = -bound;
  data.baseValue = 0;
  data.totalCount = static_cast<std::int32_t>(count);
  data.priceScale = in.data.priceScale;

  Bar chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  chart.SetBmpDeflate(8, 1, 2, 2);
  chart.SetYCells(4);
  const CRect rect(0, 0, style.width, style.height);
  chart.SetXInfor(std::vector<CString>(count, CString("")));
  chart.DrawEasyUpDownBarChart(dc, rect, data);
  DrawIntervalLabels(dc, chart, PlotOf(chart, rect), in, kInterval, count);
  const std::string name = DisplayName(in);
  DrawCaption(dc, chart, PlotOf(chart, rect), {name + "  change every 15 minutes", name + "  15-min change", name},
              Caption());
}

void DrawMultiBars(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  constexpr std::int32_t kInterval = 1800;
  const std::size_t count = IntervalCount(in, kInterval);
  std::vector<Bar::BarGroupData> groups(count), dominant(count);
  std::int64_t largest = 1;
  std::vector<std::int64_t> up(count, 0), down(count, 0);
  for (const MinuteBar& b : in.data.bars) {
    const std::size_t k = IntervalOf(in, b, kInterval, count);
    (b.close >= b.open ? up[k] : down[k]) += b.volume;
  }
  for (std::size_t k = 0; k < count; ++k) {
    largest = std::max({largest, up[k], down[k]});
  }
  const std::int64_t top = RoundUp(largest);
  // Volumes beyond 32 bits are shown in thousands (or millions).
  std::int64_t divisor = 1;
  while (top / divisor > 2000000000) divisor *= 1000;
  for (std::size_t k = 0; k < count; ++k) {
    groups[k].value1 = static_cast<std::int32_t>(up[k] / divisor);
    groups[k].value2 = static_cast<std::int32_t>(down[k] / divisor);
    dominant[k].value1 = up[k] >= down[k] ? groups[k].value1 : 0;
    dominant[k].value2 = down[k] > up[k] ? groups[k].value2 : 0;
  }
  // The appended layer paints the larger side of each group again in brighter brushes.
  Gdiplus::SolidBrush upBright(Gdiplus::Color(0xFFFF7070)), downBright(Gdiplus::Color(0xFF40E040)),
      third(Gdiplus::Color(0xFFFFFFFF));
  Bar chart;
  LabelFont font(dc, style);
  font.Apply(chart);
  chart.SetMultiBarSize(2);
  // Up in red and down in green, as the market shows them.
  auto& palette = CKeloUIObjectSingletonPool::Instance()->palette;
  chart.SetBarColors(0, palette.GetGPBrushByIndex(320));
  chart.SetBarColors(1, palette.GetGPBrushByIndex(310));
  chart.SetAppenedBarData(dominant);
  chart.SetAppenedBarColor(&upBright, &downBright, &third);
  chart.ShowAppendedBmp(1);
  const CRect rect(0, 0, style.width, style.height);
  chart.SetXInfor(std::vector<CString>(count, CString("")));
  chart.DrawEasyMultiBarChart(dc, rect, static_cast<std::int32_t>(top / divisor), 0, static_cast<std::int32_t>(count),
                              groups, 1);
  DrawIntervalLabels(dc, chart, PlotOf(chart, rect), in, kInterval, count);
  const std::string name = DisplayName(in);
  const std::string unit = divisor == 1 ? "" : divisor == 1000 ? " (thousands)" : " (millions)";
  DrawCaption(dc, chart, PlotOf(chart, rect),
              {name + "  volume per half hour: up minutes | down minutes, the larger brighter" + unit,
               name + "  half-hour volume: up | down" + unit, name + unit},
              Caption());
}

}  // namespace kelo::cli
