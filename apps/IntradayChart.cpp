// The intraday pane pair: a price pane (frame, time grid, reference-price axis, tick-price
// curve, the day's high and low marked) over a volume pane on the same time slots, with the
// volume drawn by state, on a by-ratio scale, or split into bid and ask sides.
#include <algorithm>
#include <cmath>
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
    // On a narrow pane the label may fit on neither side: it stays inside the pane, over the
    // curve rather than over the price labels of the margin.
    const int textX =
        std::clamp(right ? stemEnd + 2 : stemEnd - 2 - static_cast<int>(size.cx), static_cast<int>(plot.left) + 1,
                   std::max<int>(plot.left + 1, plot.right - 1 - static_cast<int>(size.cx)));
    DrawLabel(dc, textX, textY, text, color);
  }
  dc->SelectObject(old);
}

// Name, last price, change and volume of the day, in the price pane's top margin.
void DrawTitle(CDC* dc, CKeloBaseChart& chart, const ChartInput& in, const CRect& plot) {
  const MinuteBar& last = in.data.bars.back();
  const std::int64_t change = static_cast<std::int64_t>(last.close) - in.reference;
  std::int64_t volume = 0;
  for (const MinuteBar& b : in.data.bars) volume += b.volume;
  char pct[32];
  std::snprintf(pct, sizeof pct, "%+.2f%%", in.reference ? 100.0 * static_cast<double>(change) / in.reference : 0.0);
  const std::string head = DisplayName(in) + "  " + in.category.name + "  " +
                           FormatPrice(last.close, in.data.priceScale) + "  " + (change >= 0 ? "+" : "") +
                           FormatPrice(static_cast<std::int32_t>(change), in.data.priceScale);
  const auto& table = CKeloUIObjectSingletonPool::Instance()->palette.colorTable;
  DrawCaption(dc, chart, plot,
              {head + " " + pct + "  vol " + std::to_string(volume), head + " " + pct, head,
               DisplayName(in) + "  " + FormatPrice(last.close, in.data.priceScale)},
              change > 0   ? table[321]
              : change < 0 ? table[311]
                           : table[307]);
}

// The scale lines whose labels keep a line of text apart on the pane: the bottom, the
// reference and the top always, the inner lines outward from the reference while they leave
// room to the last one kept and to the end of their half.
std::vector<std::int32_t> SpacedLines(const PriceAxis& axis, std::int32_t reference, const CRect& plot,
                                      int fontHeight) {
  const double perUnit = static_cast<double>(plot.Height()) / std::max(1, axis.top - axis.bottom);
  auto apart = [&](std::int32_t a, std::int32_t b) {
    return std::abs(static_cast<double>(a) - b) * perUnit >= fontHeight;
  };
  std::vector<std::int32_t> below, above;
  std::int32_t last = reference;
  for (auto it = axis.scale.rbegin(); it != axis.scale.rend(); ++it) {
    if (*it<reference&& * it> axis.bottom && apart(*it, last) && apart(*it, axis.bottom)) below.push_back(last = *it);
  }
  last = reference;
  for (std::int32_t v : axis.scale) {
    if (v > reference && v < axis.top && apart(v, last) && apart(v, axis.top)) above.push_back(last = v);
  }
  std::vector<std::int32_t> lines = {axis.bottom};
  lines.insert(lines.end(), below.rbegin(), below.rend());
  lines.push_back(reference);
  lines.insert(lines.end(), above.begin(), above.end());
  lines.push_back(axis.top);
  return lines;
}

// The top of the price axis with the most room (a tiny pane): as long as any label drawn.
std::int32_t PriceAxisTop(const ChartInput& in) { return MakePriceAxis(in, 0).top; }

void DrawPair(CDC* dc, const ChartInput& in, const ChartStyle& style, VolumeMode mode) {
  const int width = style.width, height = style.height;
  dc->FillSolidRect(CRect(0, 0, width, height), Background());
  LabelFont font(dc, style);
  const bool third = mode == VolumeMode::kInnerOuter;
  const int priceBottom = height * (third ? 52 : 64) / 100;
  const int volumeBottom = third ? height * 78 / 100 : height;

  // Price pane.
  PriceCurve price;
  font.Apply(price);
  // The price labels are the scaled digits (the decimals underlined): the left margin holds
  // the longest of them and a character of room. The volume panes share the margins.
  const int left = std::max(8, static_cast<int>(std::to_string(PriceAxisTop(in)).size()) + 2);
  price.SetBmpDeflate(left, 1, 9, 1);
  const CRect pricePlot = PlotOf(price, CRect(0, 0, width, priceBottom));
  const TimeAxis time = MakeTimeAxis(in.session, pricePlot.Width());
  const PriceAxis axis = MakePriceAxis(in, pricePlot.Height());
  ApplyTimeAxis(price, time);
  CFont* oldFont = dc->SelectObject(price.GetFont());
  dc->SetBkMode(TRANSPARENT);
  price.DrawFrame(dc, pricePlot);
  price.DrawXGridByTime(dc, pricePlot, time.end, time.start, time.lines, 0, 1, CKeloBaseChart::eTickMinute);
  CKeloBaseChart::_SDataInfor data;
  data.maxValue = axis.top;
  data.baseValue = in.reference;
  data.minValue = axis.bottom;
  data.priceScale = in.data.priceScale;
  data.values = SpacedLines(axis, in.reference, pricePlot, price.GetFontHeight());
  price.DrawHorizontalLineWithTextByRange(dc, pricePlot, data, 0xFFFFFFFF);
  Curve::SDrawRange range{time.start, time.end, axis.bottom, in.reference, axis.top, time.end};
  price.DrawTickPrice(dc, pricePlot, range, TickPrices(in), CKeloBaseChart::eTickMinute, 1);
  DrawHighLowMarks(dc, price, pricePlot, in.data.priceScale);
  DrawTitle(dc, price, in, pricePlot);

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
  volume.SetBmpDeflate(left, 1, 9, third ? 0 : 2);
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
    volume.DrawHorizontalText(dc, volumePlot, fit.empty() ? top : fit.back(), 0, KeloUtility::GetFitScaleCount(), 1, 1,
                              0, 0, 1, 0xFFFFFFFF);
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
    diff.SetBmpDeflate(left, 1, 9, 2);
    ApplyTimeAxis(diff, time);
    const CRect diffPlot = PlotOf(diff, CRect(0, volumeBottom, width, height));
    diff.DrawXGridByTime(dc, diffPlot, time.end, time.start, time.lines, 0, 1, CKeloBaseChart::eTickMinute);
    diff.DrawXGridTextByTime(dc, diffPlot, time.end, time.start, 0, CKeloBaseChart::eTickMinute);
    // The axis is symmetric: the upper half is labelled (as many labels as fit), so the
    // bottom corner stays free for the first time label.
    const CRect upper(diffPlot.left, diffPlot.top, diffPlot.right, diffPlot.top + diffPlot.Height() / 2);
    if (upper.Height() >= 2 * diff.GetFontHeight()) {
      diff.DrawYGridTextEx(dc, upper, static_cast<double>(bound), bound / 2.0, 0.0, 3, 0);
    } else {
      // Room for one label: the bound at the top.
      DrawLabel(dc, diffPlot.left - 2, diffPlot.top, std::to_string(bound),
                CKeloUIObjectSingletonPool::Instance()->palette.colorTable[CKeloPalette::kUpTextColor], DT_RIGHT);
    }
    diff.DrawAxis(dc, diffPlot);
    Bar::SDrawRange diffRange{time.start, time.end, -bound, bound, time.end, 0};
    diff.DrawTickInnerOuterUpDownChart(dc, diffPlot, diffRange, samples, 0, 0, 0);
  }
  dc->SelectObject(oldFont);
}

}  // namespace

void DrawIntraday(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  DrawPair(dc, in, style, VolumeMode::kState);
}
void DrawVolumeByRatio(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  DrawPair(dc, in, style, VolumeMode::kRatio);
}
void DrawInnerOuter(CDC* dc, const ChartInput& in, const ChartStyle& style) {
  DrawPair(dc, in, style, VolumeMode::kInnerOuter);
}

}  // namespace kelo::cli
