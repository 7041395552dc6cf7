// Pieces every renderer shares: the label font, the plot rectangle, the session's time axis,
// the intraday price axis, and the list of chart kinds.
#include "ChartKinds.h"
#include "KLineChart.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace kelo::cli {

const std::vector<ChartKind>& ChartKinds() {
  static const std::vector<ChartKind> kinds = {
      {"intraday", "price pane over a state-coloured volume pane (the trading client's typical paint)",
       "time, open, high, low, close, volume; with inner and outer columns the volume lines are coloured "
       "by the side that traded more (ask red, bid green), otherwise by the close against the close before",
       false, false, DrawIntraday},
      {"ratio", "price pane over volume lines on a by-ratio scale (small volumes stay visible)",
       "time, open, high, low, close, volume (inner and outer colour the lines when present)", false, false,
       DrawVolumeByRatio},
      {"innerouter",
       "price pane over the bid/ask volume split and the ask-minus-bid volume with its 10- and 30-minute averages",
       "time, open, high, low, close, volume, inner, outer (inner: volume traded at the bid, outer: at the ask)", false,
       true, DrawInnerOuter},
      {"updown", "up/down bars: the price change of every 15 minutes around a zero line",
       "time and close (the change is the last close of each interval against the one before)", true, false,
       DrawUpDownBars},
      {"multibar", "grouped bars of up-minute and down-minute volume every half hour, the larger side highlighted",
       "time, open, close, volume (a minute counts as up when its close is not below its open)", true, false,
       DrawMultiBars},
      {"curvegroup", "a curve group: the closes with their VWAP and 10- and 30-minute averages on one scale",
       "time, close, volume", true, false, DrawCurveGroup},
      {"figure", "figure curves split at the reference price: closes coloured by direction and the VWAP",
       "time, close, volume", false, false, DrawFigureCurves},
      {"xy",
       "XY chart of the return against the reference over the session, regions above it shaded, "
       "the high and low as points",
       "time, high, low, close", false, false, DrawXYReturns},
      {"kline", "K-line (candlestick) chart over many days with volume and indicators, at any bar length",
       "date (or one date-time column), time for minute bars or trades, open, high, low, close, volume; "
       "daily rows have a date and no time",
       false, false, DrawKLineChart, true},
  };
  return kinds;
}

const ChartKind* FindChartKind(std::string_view name) {
  for (const ChartKind& kind : ChartKinds()) {
    if (name == kind.name) return &kind;
  }
  return nullptr;
}

LabelFont::LabelFont(CDC* dc, const ChartStyle& style) {
  const SKeloFontInfo& pool = CKeloUIObjectSingletonPool::Instance()->defaultFont;
  font_ = pool.font;
  cellWidth_ = pool.charWidth;
  cellHeight_ = pool.charHeight;
  if (style.fontFace.empty() && style.fontSize <= 0) return;
  LOGFONT logFont;
  pool.font->GetLogFont(&logFont);
  if (!style.fontFace.empty()) {
    std::strncpy(logFont.lfFaceName, style.fontFace.c_str(), LF_FACESIZE - 1);
    logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
  }
  if (style.fontSize > 0) logFont.lfHeight = -style.fontSize;
  own_.CreateFontIndirect(&logFont);
  font_ = &own_;
  // The cell of a digit: label widths are counted in characters of the cell width.
  CFont* old = dc->SelectObject(&own_);
  const CSize digit = dc->GetTextExtent("0", 1);
  dc->SelectObject(old);
  cellWidth_ = std::max<int>(1, digit.cx);
  cellHeight_ = std::max<int>(1, digit.cy);
}

void LabelFont::Apply(CKeloBaseChart& chart) {
  chart.SetFont(font_);
  chart.SetFontSize(cellHeight_, cellWidth_);
}

std::string DisplayName(const ChartInput& in) { return std::filesystem::path(in.data.name).stem().string(); }

COLORREF Background() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }

CRect PlotOf(CKeloBaseChart& chart, const CRect& pane) {
  int l = 0, t = 0, r = 0, b = 0;
  chart.GetBmpDeflatePixel(l, t, r, b);
  return CRect(pane.left + l, pane.top + t, pane.right - r, pane.bottom - b);
}

int LabelEm(const ChartStyle& style) { return style.fontSize > 0 ? style.fontSize : 12; }

PictureSize SmallestSize(const ChartKind& kind, const ChartStyle& style) {
  // In label cells (a DejaVu Sans Mono digit is 7 by 14 pixels at the 12-pixel em): the
  // longest caption part and price labels across, the panes' label rows and grid down.
  const int em = LabelEm(style);
  const int cellWidth = (em * 7 + 11) / 12, cellHeight = (em * 14 + 11) / 12;
  const int lines = kind.needsInnerOuter ? 20 : 16;
  return {44 * cellWidth, lines * cellHeight};
}

std::int32_t FittingStep(const std::vector<std::int32_t>& steps, double pixelsPerSecond, int labelPixels,
                         int gapPixels) {
  for (std::int32_t step : steps) {
    if (step * pixelsPerSecond >= labelPixels + gapPixels) return step;
  }
  return steps.back();
}

int TextPixels(CKeloBaseChart& chart, std::size_t characters) {
  return static_cast<int>(characters) * std::max(1, static_cast<int>(chart.GetFontWidth()));
}

TimeAxis MakeTimeAxis(const Session& session, int plotWidth) {
  TimeAxis axis;
  const std::int32_t startSec = SecondsOf(session.start), length = session.LengthSeconds();
  // A slot stands at the end of its minute, so the axis runs past the session: a bar stamped
  // at the start of the session's last minute and one stamped at the session end both land
  // inside the plot, and the latter (the closing auction) a few pixels clear of the frame.
  const std::int32_t minutes = length / 60;
  const std::int32_t past = plotWidth > 8 ? 1 + (kHeadroomPixels * minutes + plotWidth - 1) / (plotWidth - 8) : 1;
  if (session.CrossesMidnight()) {
    // The chart's clock starts at the session start: times after midnight follow on.
    axis.offsetMinutes = startSec / 60;
    axis.start = 0;
    axis.end = ClockOf(length + 60 * past);
  } else {
    axis.start = session.start;
    axis.end = ClockOf(SecondsOf(session.end == 0 ? 240000 : session.end) + 60 * past);
  }
  for (std::int32_t o = 0; o <= length; o += 60) {
    const std::int32_t real = (startSec + o) % 86400;
    if (real % 1800 != 0 && o != 0 && o != length) continue;
    const bool hour = real % 3600 == 0;
    if (o > 0 && o < length) axis.lines.push_back({ClockOf(real), hour ? 0 : 1});
    axis.labels.push_back({ClockOf(real), CString(FormatClock(ClockOf(real)).c_str()), hour || o == 0 ? 0 : 1});
  }
  return axis;
}

void ApplyTimeAxis(CKeloBaseChart& chart, const TimeAxis& axis) {
  chart.SetOffsetMinTick(axis.offsetMinutes);
  chart.SetXInfor(axis.labels);
}

PriceAxis MakePriceAxis(const ChartInput& in, int plotHeight) {
  using namespace KeloChartCalculate;
  const std::int32_t scale = in.data.priceScale, ref = in.reference;
  std::int64_t high = ref, low = ref;
  for (const MinuteBar& b : in.data.bars) {
    high = std::max<std::int64_t>(high, b.high);
    low = std::min<std::int64_t>(low, b.low);
  }
  double limit = 0;
  const double tickPrice = FindOneSideJumpPrice(static_cast<double>(ref) / scale, in.category.index, limit);
  const std::int64_t tick = std::max<std::int64_t>(1, static_cast<std::int64_t>(tickPrice * scale + 0.5));
  // The same span on both sides of the reference, with room for the day's extremes to stand
  // kHeadroomPixels inside the half pane (a locked limit-up day must not lie on the frame),
  // and at least one tick of it.
  const std::int64_t reach = std::max(high - ref, ref - low);
  const std::int64_t half = std::max(1, plotHeight / 2);
  const std::int64_t room = half > 3 * kHeadroomPixels
                                ? (reach * kHeadroomPixels + half - kHeadroomPixels - 1) / (half - kHeadroomPixels)
                                : reach;
  const std::int64_t span = reach + std::max(tick, room);
  PriceAxis axis;
  auto clamp = [](std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, 2147483647)); };
  if (GetReasonableMaxPrice(ref, scale, in.category.index) == ref) {
    // Outward onto the tick grid, so that neither bound cuts into the room.
    // (Near the 32-bit top a bound rounded up would not fit: it stays as it is there.)
    const bool fits = ref + span < 2147483647 - 1000000;
    axis.top = fits ? GetReasonableMinPrice(clamp(ref + span), scale, in.category.index) : clamp(ref + span);
    axis.bottom = GetReasonableMaxPrice(clamp(ref - span), scale, in.category.index);
  } else {
    // A reference off the grid (an index level): whole ticks from it, all lines on one grid.
    const std::int64_t steps = (span + tick - 1) / tick;
    axis.top = clamp(ref + steps * tick);
    axis.bottom = clamp(ref - std::min<std::int64_t>(steps * tick, ref / tick * tick));
  }
  if (axis.top <= ref) axis.top = clamp(ref + tick);
  if (axis.bottom >= ref) axis.bottom = clamp(ref - std::min<std::int64_t>(tick, ref));
  axis.tick = GetReasonablePrice(axis.top, ref, axis.bottom, scale, in.category.index, axis.scale);
  // Ticks grow with the price: the top's is the coarsest of the axis.
  const double topTick = FindOneSideJumpPrice(static_cast<double>(axis.top) / scale, in.category.index, limit);
  axis.tickUnits = std::max<std::int64_t>(tick, static_cast<std::int64_t>(topTick * scale + 0.5));
  return axis;
}

std::int64_t RoundUp(std::int64_t max) {
  std::int64_t step = 1;
  while (true) {
    for (std::int64_t m : {1, 2, 5}) {
      if (m * step >= max) return m * step;
    }
    if (step > INT64_MAX / 100) return max;
    step *= 10;
  }
}

std::string FitText(const std::vector<std::string>& variants, int width,
                    const std::function<int(const std::string&)>& measure) {
  for (const std::string& text : variants) {
    if (measure(text) <= width) return text;
  }
  std::string text = variants.empty() ? std::string() : variants.back();
  // Cut whole UTF-8 characters off the end until the rest and the ellipsis fit.
  while (!text.empty() && measure(text + "\xE2\x80\xA6") > width) {
    std::size_t cut = text.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
  }
  return text.empty() ? text : text + "\xE2\x80\xA6";
}

void DrawCaption(CDC* dc, CKeloBaseChart& chart, const CRect& plot, const std::vector<std::string>& variants,
                 COLORREF color) {
  CFont* old = dc->SelectObject(chart.GetFont());
  const std::string text = FitText(variants, plot.Width() - 4, [&](const std::string& t) {
    return static_cast<int>(dc->GetTextExtent(t.c_str(), static_cast<int>(t.size())).cx);
  });
  DrawLabel(dc, plot.left + 4, plot.top - chart.GetFontHeight(), text, color);
  dc->SelectObject(old);
}

void DrawLabel(CDC* dc, int x, int y, const std::string& text, COLORREF color, UINT format) {
  const CSize size = dc->GetTextExtent(text.c_str(), static_cast<int>(text.size()));
  CRect rect(x, y, x + size.cx, y + size.cy);
  if (format & DT_RIGHT) rect = CRect(x - size.cx, y, x, y + size.cy);
  const COLORREF old = dc->SetTextColor(color);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  dc->DrawText(text.c_str(), static_cast<int>(text.size()), &rect, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
  dc->SetBkMode(oldMode);
  dc->SetTextColor(old);
}

}  // namespace kelo::cli
