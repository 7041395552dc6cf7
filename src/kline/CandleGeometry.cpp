// Candle geometry: the panes of the K-line chart, prices and volumes to rows, the body and
// wick of a candle and the ticks of an OHLC bar, and the price axis on the tick ladder.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include <kelochart/calculate/KeloChartCalculate.h>

#include "kline/KLineGeometry.h"

namespace kelo::detail {

KLinePanes LayoutPanes(const CRect& rect, int left, int top, int right, int bottom, int fontHeight, bool lower) {
  KLinePanes panes;
  const std::int64_t l = static_cast<std::int64_t>(rect.left) + left, r = static_cast<std::int64_t>(rect.right) - right;
  const std::int64_t t = static_cast<std::int64_t>(rect.top) + top, b = static_cast<std::int64_t>(rect.bottom) - bottom;
  const std::int64_t gaps = static_cast<std::int64_t>(std::max(fontHeight, 0)) * (lower ? 2 : 1);
  const std::int64_t height = b - t - gaps;
  // Nothing to draw in a sliver, and nothing sensible beyond the largest surface.
  if (r - l < 4 || height < (lower ? 30 : 20) || r - l > (1 << 20) || b - t > (1 << 20)) return panes;
  const std::int64_t priceH = height * (lower ? 55 : 70) / 100;
  const std::int64_t volumeH = lower ? height * 20 / 100 : height - priceH;
  const int L = static_cast<int>(l), R = static_cast<int>(r);
  const int priceBottom = static_cast<int>(t + priceH);
  const int volumeTop = priceBottom + fontHeight;
  panes.price = CRect(L, static_cast<int>(t), R, priceBottom);
  panes.volume = CRect(L, volumeTop, R, static_cast<int>(volumeTop + volumeH));
  if (lower) panes.lower = CRect(L, panes.volume.bottom + fontHeight, R, static_cast<int>(b));
  panes.valid = true;
  return panes;
}

int ValueRows::Y(double value) const {
  if (height <= 0) return top;
  const double span = high - low;
  double offset = span > 0 ? (high - value) * (height - 1) / span : 0.0;
  offset = std::clamp(offset, 0.0, static_cast<double>(height - 1));
  return top + static_cast<int>(offset);
}

PriceAxis MakePriceAxis(std::int64_t high, std::int64_t low, std::int32_t priceScale, unsigned int category) {
  using namespace KeloChartCalculate;
  PriceAxis axis;
  high = std::clamp<std::int64_t>(high, 1, 2000000000);
  low = std::clamp<std::int64_t>(low, 0, high);
  const double scale = priceScale > 0 ? priceScale : 1;
  auto tickAt = [&](std::int64_t price) {
    double limit = 0;
    const double tick = FindOneSideJumpPrice(static_cast<double>(price) / scale, category, limit);
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(tick * scale + 0.5));
  };
  const std::int64_t room = std::max<std::int64_t>((high - low) / 20, tickAt(high));
  // The maximum is moved down onto its band's grid and the minimum up, so one tick more on
  // each side lands them on the first grid price outside the room.
  const std::int64_t top = std::min<std::int64_t>(high + room + tickAt(high + room), 2100000000);
  const std::int64_t bottom = std::max<std::int64_t>(low - room - tickAt(std::max<std::int64_t>(low - room, 1)), 0);
  axis.top = GetReasonableMaxPrice(static_cast<std::int32_t>(top), priceScale, category);
  axis.bottom = GetReasonableMinPrice(static_cast<std::int32_t>(bottom), priceScale, category);
  if (axis.top < high) axis.top = static_cast<std::int32_t>(top);
  if (axis.bottom > low) axis.bottom = static_cast<std::int32_t>(bottom);
  if (axis.top <= axis.bottom) axis.top = axis.bottom + 1;
  const std::int32_t mid = GetReasonableMinPrice(axis.bottom + (axis.top - axis.bottom) / 2, priceScale, category);
  const std::int32_t base = std::clamp(mid, axis.bottom, axis.top);
  GetReasonablePrice(axis.top, base, axis.bottom, priceScale, category, axis.lines);
  return axis;
}

std::int64_t VolumeTop(std::int64_t max) {
  if (max <= 1) return 1;
  for (std::int64_t step = 1; step <= INT64_MAX / 100; step *= 10) {
    for (std::int64_t m : {10, 20, 25, 50}) {
      if (m * step / 10 >= max && m * step % 10 == 0) return m * step / 10;
    }
  }
  return max;
}

Rows VolumeRows(std::int64_t volume, std::int64_t volumeTop, const CRect& pane) {
  const int height = std::max(0, pane.Height());
  if (volume <= 0 || volumeTop <= 0 || height == 0) return {pane.bottom, pane.bottom};
  const double share = std::min(1.0, static_cast<double>(volume) / static_cast<double>(volumeTop));
  const int rows = std::max(1, static_cast<int>(share * height));
  return {pane.bottom - rows, pane.bottom};
}

CandleShape Candle(const SKBar& bar, int center, int bodyWidth, const ValueRows& rows) {
  CandleShape c;
  c.direction = DirectionOf(bar);
  c.wick = CRect(center, rows.Y(bar.high), center + 1, rows.Y(bar.low) + 1);
  c.lineOnly = bodyWidth <= 0;
  if (c.lineOnly) return c;
  const int half = (bodyWidth - 1) / 2;
  const int top = rows.Y(std::max(bar.open, bar.close));
  const int bottom = c.direction == Direction::kFlat ? top + 1 : rows.Y(std::min(bar.open, bar.close)) + 1;
  c.body = CRect(center - half, top, center + half + 1, bottom);
  return c;
}

OhlcShape Ohlc(const SKBar& bar, int center, int bodyWidth, const ValueRows& rows) {
  OhlcShape o;
  o.direction = DirectionOf(bar);
  o.line = CRect(center, rows.Y(bar.high), center + 1, rows.Y(bar.low) + 1);
  const int tick = std::max(1, (bodyWidth - 1) / 2);
  if (bodyWidth <= 0) return o;  // too narrow for ticks: the line alone
  const int yo = rows.Y(bar.open), yc = rows.Y(bar.close);
  o.openTick = CRect(center - tick, yo, center, yo + 1);
  o.closeTick = CRect(center + 1, yc, center + 1 + tick, yc + 1);
  return o;
}

std::string VolumeText(std::int64_t volume) {
  char text[32];
  const double v = static_cast<double>(volume);
  if (volume < 10000) {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(volume));
  } else if (volume < 10000000) {
    std::snprintf(text, sizeof text, "%.4gK", v / 1e3);
  } else if (volume < 10000000000LL) {
    std::snprintf(text, sizeof text, "%.4gM", v / 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.4gB", v / 1e9);
  }
  return text;
}

}  // namespace kelo::detail
