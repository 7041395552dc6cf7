// The intraday pane pair: a price pane (frame, time grid, reference-price axis, tick-price
// curve, the day's high and low marked) over a volume pane on the same time slots, with the
// volume drawn by state, on a by-ratio scale, or split into bid and ask sides.
#include <algorithm>
#include <cstdio>

#include "ChartKinds.h"

namespace kelo::cli {

namespace {

using Curve = CKeloBaseCurve;
using Bar = CKeloBaseBar;

enum class VolumeMode { kState, kRatio, kInnerOuter };

// The price pane's curve object. Its cell grid gives way to the session's time grid and the
// price-scale lines, so the frame is painted with the grid pens off.
class PriceCurve : public Curve {
 public:
  void DrawFrame(CDC* dc, const CRect& plot) {
    const int xs = xLineStyle, xw = xLineWidth, ss = xSubLineStyle, sw = xSubLineWidth;
    const int ys = yLineStyle, yw = yLineWidth;
    const COLORREF xc = xLineColor, sc = xSubLineColor, yc = yLineColor;
    SetXLinePen(PS_NULL, xw, xc);
    SetXSubLinePen(PS_NULL, sw, sc);
    SetYLinePen(PS_NULL, yw, yc);
    DrawBase(dc, plot, 0, 0);
    SetXLinePen(xs, xw, xc);
    SetXSubLinePen(ss, sw, sc);
    SetYLinePen(ys, yw, yc);
    SetLineOffSet(0);  // the time axis runs from edge to edge
  }
};

std::vector<Curve::STickPrice> TickPrices(const ChartInput& in) {
  std::vector<Curve::STickPrice> prices;
  prices.reserve(in.data.bars.size());
  for (const MinuteBar& b : in.data.bars) {
    prices.push_back({b.time, b.open, b.high, b.low, b.close, 0, b.time, b.time});
  }
  return prices;
}

// Volume state: the side that traded more when the sides are known, else the close's
// direction (a rising minute was bought at the ask).
int StateOf(const ChartInput& in, std::size_t i) {
  const MinuteBar& b = in.data.bars[i];
  if (in.data.hasInnerOuter) return b.outer > b.inner ? 0 : b.inner > b.outer ? 1 : 2;
  const std::int32_t before = i == 0 ? in.reference : in.data.bars[i - 1].close;
  return b.close > before ? 0 : b.close < before ? 1 : 2;
}

void DrawHighLowMarks(CDC* dc, Curve& curve, const CRect& plot, std::int32_t priceScale) {
  const COLORREF color = CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kReferenceColor];
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, color);
  CPen* old = dc->SelectObject(&pen);
  for (int which : {1, 0}) {
    int x = 0, y = 0;
    std::int32_t time = 0, price = 0;
    curve.GetHighLowPointXY(which, x, y, time, price);
    if (x < 0 || y < 0) continue;
    const std::string text = FormatPrice(price, priceScale) + " " + FormatClock(time);
    const CSize size = dc->GetTextExtent(text.c_str(), static_cast<int>(text.size()));
    // A short stem from the point to the label, on the side with room.
    const bool right = x + 8 + size.cx < plot.right;
    const int stemEnd = right ? x + 6 : x - 6;
    dc->MoveTo(x, y);
    dc->LineTo(stemEnd, y);
    const int textY = std::clamp(y - static_cast<int>(size.cy / 2), static_cast<int>(plot.top),
                                 std::max<int>(plot.top, plot.bottom - static_cast<int>(size.cy)));
    DrawLabel(dc, right ? stemEnd + 2 : stemEnd - 2, textY, text, color, right ? DT_LEFT : DT_RIGHT);
  }
  dc->SelectObject(old);
}

// Name, last price, change and volume of the day, in the price pane's top margin.
void DrawTitle(CDC* dc, const ChartInput& in, const CRect& plot, int fontHeight) {
  const MinuteBar& last = in.data.bars.back();
  const std::int64_t change = static_cast<std::int64_t>(last.close) - in.reference;
  std::int64_t volume = 0;
  for (const MinuteBar& b : in.data.bars) volume += b.volume;
  char pct[32];
  std::snprintf(pct, sizeof pct, "%+.2f%%", in.reference ? 100.0 * static_cast<double>(change) / in.reference : 0.0);
  const std::string text = DisplayName(in) + "  " + in.category.name + "  " +
                           FormatPrice(last.close, in.data.priceScale) + "  " + (change >= 0 ? "+" : "") +
                           FormatPrice(static_cast<std::int32_t>(change), in.data.priceScale) + " " + pct +
                           "  vol " + std::to_string(volume);
  const auto& table = CKeloUIObjectSingletonPool::Instance()->palette.colorTable;
  DrawLabel(dc, plot.left + 4, plot.top - fontHeight, text, change > 0 ? table[321] : change < 0 ? table[311] : table[307]);
}

void DrawPair(CDC* dc, const ChartInput& in, const ChartStyle& style, VolumeMode mode) {
  const int width = style.width, height = style.height;
  dc->FillSolidRect(CRect(0, 0, width, height), Background());
  LabelFont font(dc, style);
  const TimeAxis time = MakeTimeAxis(in.session);
  const PriceAxis axis = MakePriceAxis(in);
  const bool third = mode == VolumeMode::kInnerOuter;
  const int priceBottom = height * (third ? 52 : 64) / 100;
  const int volumeBottom = third ? height * 78 / 100 : height;

  // Price pane.
  PriceCurve price;
  font.Apply(price);
  price.SetBmpDeflate(8, 1, 9, 1);
  ApplyTimeAxis(price, time);
  const CRect pricePlot = PlotOf(price, CRect(0, 0, width, priceBottom));
  CFont* oldFont = dc->SelectObject(price.GetFont());
  dc->SetBkMode(TRANSPARENT);
  price.DrawFrame(dc, pricePlot);
  price.DrawXGridByTime(dc, pricePlot, time.end, time.start, time.lines, 0, 1, CKeloBaseChart::eTickMinute);
  CKeloBaseChart::_SDataInfor data;
  data.maxValue = axis.top;
  data.baseValue = in.reference;
  data.minValue = axis.bottom;
  data.priceScale = in.data.priceScale;
  data.values = axis.scale;
  price.DrawHorizontalLineWithTextByRange(dc, pricePlot, data, 0xFFFFFFFF);
  Curve::SDrawRange range{time.start, time.end, axis.bottom, in.reference, axis.top, time.end};
  price.DrawTickPrice(dc, pricePlot, range, TickPrices(in), CKeloBaseChart::eTickMinute, 1);
  DrawHighLowMarks(dc, price, pricePlot, in.data.priceScale);
  DrawTitle(dc, in, pricePlot, price.GetFontHeight());

  // Volume pane(s) on the same slots: the same margins in the same cell.
  std::vector<Bar::STickVolume> samples(in.data.bars.size());
  std::int64_t maxVolume = 1, maxDiff = 1;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const MinuteBar& b = in.data.bars[i];
    Bar::STickVolume& s = samples[i];
    s.time = b.time;
    s.volume = b.volume;
    s.innerVolume = b.inner;
    s.outerVolume = b.outer;
    s.state = StateOf(in, i);
    s.diffVolume = b.outer - b.inner;
    maxVolume = std::max(maxVolume, b.volume);
    maxDiff = std::max({maxDiff, s.diffVolume < 0 ? -s.diffVolume : s.diffVolume});
  }
  // The two curves of the difference pane: its 10- and 30-minute averages.
  for (std::size_t window : {10u, 30u}) {
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      sum += samples[i].diffVolume - (i >= window ? samples[i - window].diffVolume : 0);
      (window == 10 ? samples[i].curve1Volume : samples[i].curve2Volume) =
          sum / static_cast<std::int64_t>(std::min(i + 1, window));
    }
  }
  Bar volume;
  font.Apply(volume);
  volume.SetBmpDeflate(8, 1, 9, third ? 0 : 2);
  ApplyTimeAxis(volume, time);
  const CRect volumePlot = PlotOf(volume, CRect(0, priceBottom, width, volumeBottom));
  const std::int64_t top = RoundUp(maxVolume);
  volume.DrawXGridByTime(dc, volumePlot, time.end, time.start, time.lines, 0, 1, CKeloBaseChart::eTickMinute);
  if (!third) volume.DrawXGridTextByTime(dc, volumePlot, time.end, time.start, 0, CKeloBaseChart::eTickMinute);
  // The axes go first: the last minute's line stands on the right edge.
  volume.DrawAxis(dc, volumePlot);
  Bar::SDrawRange volumeRange{time.start, time.end, 0, top, time.end, 0};
  if (mode == VolumeMode::kRatio) {
    std::vector<std::int32_t> fit;
    KeloUtility::FindFitScale(static_cast<double>(maxVolume), fit);
    volume.DrawHorizontalText(dc, volumePlot, fit.empty() ? top : fit.back(), 0, KeloUtility::GetFitScaleCount(), 1,
                              1, 0, 0, 1, 0xFFFFFFFF);
    volume.DrawTickVolumeByRatioWithState(dc, volumePlot, maxVolume, volumeRange, samples, CKeloBaseChart::eTickMinute);
  } else {
    volume.DrawHorizontalText(dc, volumePlot, top, 0, volume.GetYCells(), 1, 1, 0, 0, 1, 0xFFFFFFFF);
    if (mode == VolumeMode::kInnerOuter) {
      volume.DrawTickInnerOuterChart(dc, volumePlot, volumeRange, samples, 0);
    } else {
      volume.DrawTickVolumeWithState(dc, volumePlot, volumeRange, samples, CKeloBaseChart::eTickMinute);
    }
  }

  if (third) {
    // The ask-minus-bid volume per minute around a zero line, with its averages.
    const std::int64_t bound = RoundUp(maxDiff);
    Bar diff;
    font.Apply(diff);
    diff.SetBmpDeflate(8, 1, 9, 2);
    ApplyTimeAxis(diff, time);
    const CRect diffPlot = PlotOf(diff, CRect(0, volumeBottom, width, height));
    diff.DrawXGridByTime(dc, diffPlot, time.end, time.start, time.lines, 0, 1, CKeloBaseChart::eTickMinute);
    diff.DrawXGridTextByTime(dc, diffPlot, time.end, time.start, 0, CKeloBaseChart::eTickMinute);
    diff.DrawYGridTextEx(dc, diffPlot, static_cast<double>(bound), 0.0, static_cast<double>(-bound), 5, 0);
    diff.DrawAxis(dc, diffPlot);
    Bar::SDrawRange diffRange{time.start, time.end, -bound, bound, time.end, 0};
    diff.DrawTickInnerOuterUpDownChart(dc, diffPlot, diffRange, samples, 0, 0, 0);
  }
  dc->SelectObject(oldFont);
}

}  // namespace

void DrawIntraday(CDC* dc, const ChartInput& in, const ChartStyle& style) { DrawPair(dc, in, style, VolumeMode::kState); }
void DrawVolumeByRatio(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  DrawPair(dc, in, style, VolumeMode::kRatio);
}
void DrawInnerOuter(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  DrawPair(dc, in, style, VolumeMode::kInnerOuter);
}

}  // namespace kelo::cli
