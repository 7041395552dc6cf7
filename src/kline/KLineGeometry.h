// The geometry of the K-line chart as pure functions: the panes, one slot per bar on a
// trading-day axis with its labels and day separators, candle bodies and wicks, OHLC ticks,
// and prices, volumes and indicator values to rows. The painters of CKeloKLine only draw
// what these return, and tests call them without a device context. Positions are computed
// in double and truncated toward zero, like every pixel of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <kelochart/kline/KLineSeries.h>
#include <kelochart/surface/Rect.h>

namespace kelo::detail {

using KeloKLine::SKBar;

// ---- panes ----
// The price pane on top, the volume pane under it and the lower pane (KD, MACD or RSI) at the
// bottom, each with one text row above it for its legend; time labels go under the last.
struct KLinePanes {
  bool valid = false;
  CRect price, volume, lower;  // lower is empty without a lower pane
};
// margins: the chart's pixel margins (left, top, right, bottom); the legend row between panes
// is one font height.
KLinePanes LayoutPanes(const CRect& rect, int left, int top, int right, int bottom, int fontHeight, bool lower);

// ---- slots ----
// count equal slots across [left, left + width): slot i spans [Left(i), Left(i + 1)).
struct SlotAxis {
  int left = 0;
  int width = 0;
  std::int32_t count = 0;
  double Step() const { return count > 0 ? static_cast<double>(width) / count : 0.0; }
  int Left(std::size_t i) const;
  int Center(std::size_t i) const;
};
SlotAxis MakeSlotAxis(const CRect& plot, std::int32_t count);

// Body width of a candle in a slot of step pixels: odd (the wick has a middle column), at most
// three quarters of the slot and always one pixel short of the narrowest slot, so neighbouring
// bodies keep a pixel between them; 0 below three pixels a slot (a high-low line instead).
int BodyWidth(double step);

// ---- time axis ----
enum class LabelUnit { kDay, kMonth, kYear };
// Intraday bars (any time set) are labelled at day starts, bars of a month at year starts,
// daily and weekly bars at month starts.
LabelUnit LabelUnitOf(const std::vector<SKBar>& bars);

struct TimeLabel {
  std::size_t slot = 0;
  int left = 0;  // x of the text's left edge
  std::string text;
};
struct TimeAxisLayout {
  std::vector<TimeLabel> labels;  // kept after thinning, left to right
  std::vector<int> separators;    // x of a vertical line between two trading days (intraday)
  std::vector<int> gridLines;     // x of the vertical grid line of each kept label
};
// Labels of the bars shown in slots 0.. of axis (bars[first + slot]): the first bar of each new
// day, month or year, text centred on its slot and kept only when it clears the last kept one
// by a character and stays inside the plot (cellWidth pixels a character). With no start in
// view the first slot is labelled.
TimeAxisLayout LayoutTimeAxis(const SlotAxis& axis, const std::vector<SKBar>& bars, std::size_t first, int cellWidth);

// ---- values to rows ----
// Values from bottom to top over the rows [top, top + height): top maps to the first row,
// bottom to the last. Outside values are clamped to the pane.
struct ValueRows {
  int top = 0;
  int height = 0;
  double high = 1.0;
  double low = 0.0;
  int Y(double value) const;
};

// The price axis on the tick ladder of the market: bounds on the grid around the shown highs
// and lows with room of a twentieth of the range, and the scale lines between them.
struct PriceAxis {
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  std::vector<std::int32_t> lines;
};
PriceAxis MakePriceAxis(std::int64_t high, std::int64_t low, std::int32_t priceScale, unsigned int category);

// A round top for the volume pane: 1, 2, 2.5 or 5 times a power of ten, at least max (and 1).
std::int64_t VolumeTop(std::int64_t max);
// The volume bar of volume: rows [top, bottom) standing on the pane's bottom, at least one
// row when anything traded.
struct Rows {
  int top = 0;
  int bottom = 0;
};
Rows VolumeRows(std::int64_t volume, std::int64_t volumeTop, const CRect& pane);

// ---- candles ----
enum class Direction { kUp, kDown, kFlat };
inline Direction DirectionOf(const SKBar& b) {
  return b.close > b.open ? Direction::kUp : b.close < b.open ? Direction::kDown : Direction::kFlat;
}
// Every rectangle is left, top, right, bottom with right and bottom exclusive, as FillSolidRect
// takes them. A flat candle's body is one row at the open; a line-only candle (no body width)
// is just the wick.
struct CandleShape {
  Direction direction = Direction::kFlat;
  CRect wick;
  CRect body;  // empty when lineOnly
  bool lineOnly = false;
};
CandleShape Candle(const SKBar& bar, int center, int bodyWidth, const ValueRows& rows);

// OHLC bar: the high-low line and the open tick to the left, the close tick to the right.
struct OhlcShape {
  Direction direction = Direction::kFlat;
  CRect line, openTick, closeTick;
};
OhlcShape Ohlc(const SKBar& bar, int center, int bodyWidth, const ValueRows& rows);

// Short text of a volume for the axis: 950, 12.5K, 3.2M, 1.5B.
std::string VolumeText(std::int64_t volume);

}  // namespace kelo::detail
