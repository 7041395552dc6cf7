// Pure geometry of the Y labels and of the reference-price axis (see YLabelLayout.h).
#include "chart/YLabelLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kelo::detail {

LabelColumn YLabelColumn(std::int32_t plotLeft, const AxisMetrics& m, bool clampAtZero) {
  LabelColumn column;
  column.right = TruncSat32(static_cast<double>(plotLeft) - m.halfFontWidth);
  const std::int64_t width = static_cast<std::int64_t>(m.bmpDeflateLeft) * m.fontWidth;
  column.left = NarrowSat32(column.right - width);
  if (clampAtZero && column.right <= width) column.left = 0;
  return column;
}

CRect YLabelRect(const LabelColumn& column, double y, const AxisMetrics& m) {
  const std::int32_t top = TruncSat32(y - m.halfFontHeight);
  return CRect(column.left, top, column.right, NarrowSat32(static_cast<std::int64_t>(top) + m.fontHeight));
}

std::int64_t YLabelInterval(std::int32_t fontHeight, double step) {
  // All lines at one height: none can carry a label apart from the others.
  if (step == 0.0 || std::isnan(step)) return 0;
  const double lines = static_cast<double>(fontHeight) / step;
  const std::int32_t thousandths = TruncSat32(1000.0 * lines);
  const std::int64_t whole = TruncSat32(lines);
  return thousandths % 1000 == 0 ? whole : whole + 1;
}

std::vector<SLabelSlot> EvenlySpacedYLayout(const CRect& rect, int horizontalLineOffset, std::int64_t n,
                                            const AxisMetrics& m) {
  const LabelColumn column = YLabelColumn(rect.left, m, false);
  const double bottom = static_cast<double>(rect.bottom);
  std::vector<SLabelSlot> slots;
  slots.push_back({YLabelRect(column, bottom, m), 0});
  if (n < 1 || n > kMaxAxisLines) return slots;

  const std::int64_t usedHeight = static_cast<std::int64_t>(rect.bottom) - rect.top - horizontalLineOffset;
  const double step = static_cast<double>(usedHeight) / static_cast<double>(n);
  const std::int64_t e = YLabelInterval(m.fontHeight, step);
  slots.reserve(static_cast<std::size_t>(n) + 1);
  for (std::int64_t i = 1; i <= n; ++i) {
    const double y = bottom - static_cast<double>(i) * step;
    const bool visible = e != 0 && (i - n) % e == 0 && i >= e;
    slots.push_back({YLabelRect(column, y, m), visible ? 1 : 0});
  }
  return slots;
}

std::vector<SLabelSlot> MiddleLineYLayout(const CRect& rect, std::int64_t n, std::int64_t h, const AxisMetrics& m) {
  const LabelColumn column = YLabelColumn(rect.left, m, true);
  const double bottom = static_cast<double>(rect.bottom);
  std::vector<SLabelSlot> slots;
  slots.push_back({YLabelRect(column, bottom, m), 0});
  if (n < 2 || n > kMaxAxisLines) return slots;

  const std::int64_t height = static_cast<std::int64_t>(rect.bottom) - rect.top;
  const double step = static_cast<double>(height) / static_cast<double>(n - 1);
  const std::int32_t midTop = TruncSat32(static_cast<double>(rect.bottom - height / 2) - m.halfFontHeight);

  // The first line above the middle whose label clears the middle label and stays more than
  // a text height below the top sets the interval; the line under the top decides crowding.
  std::int64_t e = n - h;
  bool found = false;
  bool crowded = false;
  for (std::int64_t k = std::max<std::int64_t>(h + 1, 1); k <= n - 1; ++k) {
    const std::int32_t y = TruncSat32(bottom - static_cast<double>(k) * step);
    const std::int64_t underTop = static_cast<std::int64_t>(y) - m.fontHeight;
    if (!found && TruncSat32(static_cast<double>(y) + m.halfFontHeight) < midTop && underTop > rect.top) {
      e = k - h;
      found = true;
    }
    if (k == n - 2 && underTop < rect.top) crowded = true;
  }

  slots.reserve(static_cast<std::size_t>(n));
  for (std::int64_t i = 1; i <= n - 1; ++i) {
    const double y = bottom - static_cast<double>(i) * step;
    const std::int64_t distance = i > h ? i - h : h - i;
    bool visible = e != 0 && distance % e == 0;
    if (crowded && i == 1 && 1 < h) visible = false;
    if (crowded && i == n - 2 && n - 2 >= h) visible = false;
    slots.push_back({YLabelRect(column, y, m), visible ? 1 : 0});
  }
  return slots;
}

PriceAxisSplitScale PriceAxisSplitScale::Make(const CRect& rect, std::int32_t maxValue, std::int32_t baseValue,
                                              std::int32_t minValue) {
  PriceAxisSplitScale s;
  const double half = RectHeight(rect) * 0.5;
  s.bottom = static_cast<double>(rect.bottom);
  s.midY = s.bottom - half;
  s.upScale = half / static_cast<double>(static_cast<std::int64_t>(maxValue) - baseValue);
  s.downScale = half / static_cast<double>(static_cast<std::int64_t>(baseValue) - minValue);
  s.baseValue = baseValue;
  s.minValue = minValue;
  return s;
}

std::int32_t PriceAxisSplitScale::UpperY(std::int32_t value) const {
  return TruncSat32(midY - static_cast<double>(static_cast<std::int64_t>(value) - baseValue) * upScale);
}

std::int32_t PriceAxisSplitScale::LowerY(std::int32_t value) const {
  return TruncSat32(bottom - static_cast<double>(static_cast<std::int64_t>(value) - minValue) * downScale);
}

PriceAxisLayout PriceAxisYLayout(const CRect& rect, const std::vector<std::int32_t>& values, std::int32_t maxValue,
                                 std::int32_t baseValue, std::int32_t minValue, const AxisMetrics& m) {
  PriceAxisLayout out;
  const std::int64_t n = static_cast<std::int64_t>(values.size());
  if (n == 0 || n > kMaxAxisLines || maxValue <= baseValue || baseValue <= minValue) return out;
  out.valid = true;

  const double bottom = static_cast<double>(rect.bottom);
  const PriceAxisSplitScale scale = PriceAxisSplitScale::Make(rect, maxValue, baseValue, minValue);
  out.half = RectHeight(rect) * 0.5;
  out.midY = scale.midY;
  auto upperY = [&](std::int32_t value) { return scale.UpperY(value); };
  auto lowerY = [&](std::int32_t value) { return scale.LowerY(value); };

  for (std::int64_t i = 1; i < n; ++i) {
    if (values[static_cast<std::size_t>(i)] == baseValue) {
      out.baseIndex = i;
      break;
    }
  }

  // The first line above the base whose label lies wholly above the base label and more than
  // a text height below the top sets the interval; the line under the top decides crowding.
  const std::int32_t midTop = TruncSat32(out.midY - m.halfFontHeight);
  out.interval = n - out.baseIndex;
  bool found = false;
  for (std::int64_t i = out.baseIndex + 1; i < n; ++i) {
    const std::int32_t y = upperY(values[static_cast<std::size_t>(i)]);
    const std::int64_t underTop = static_cast<std::int64_t>(y) - m.fontHeight;
    if (!found && static_cast<double>(y) + m.halfFontHeight < static_cast<double>(midTop) && underTop > rect.top) {
      out.interval = i - out.baseIndex;
      found = true;
    }
    if (i == n - 2 && underTop < rect.top) out.crowded = true;
  }

  const LabelColumn column = YLabelColumn(rect.left, m, true);
  out.lineY.reserve(static_cast<std::size_t>(n));
  out.slots.reserve(static_cast<std::size_t>(n));
  out.lineY.push_back(rect.bottom);
  out.slots.push_back({YLabelRect(column, bottom, m), 0});
  for (std::int64_t i = 1; i < n; ++i) {
    const std::int32_t value = values[static_cast<std::size_t>(i)];
    std::int32_t y = 0;
    bool visible = false;
    if (i < out.baseIndex) {
      y = lowerY(value);
      visible = (out.baseIndex - i) % out.interval == 0 && !(out.crowded && i == 1);
    } else {
      y = upperY(value);
      visible = (i - out.baseIndex) % out.interval == 0 && !(out.crowded && i == n - 2);
    }
    out.lineY.push_back(y);
    out.slots.push_back({YLabelRect(column, static_cast<double>(y), m), visible ? 1 : 0});
  }
  return out;
}

CString FormatScaledPrice(std::int32_t scaledPrice, std::int32_t priceScale, const CString& unit) {
  // A zero scale would make every price infinite; the price is shown unscaled instead.
  const double divisor = priceScale == 0 ? 1.0 : static_cast<double>(priceScale);
  const double price = static_cast<double>(scaledPrice) / divisor;
  CString text;
  switch (priceScale) {
    case 1: text.Format("%.0f%s", price, unit.GetString()); break;
    case 10: text.Format("%.1f%s", price, unit.GetString()); break;
    case 100: text.Format("%.2f%s", price, unit.GetString()); break;
    case 1000: text.Format("%.3f%s", price, unit.GetString()); break;
    case 10000: text.Format("%.4f%s", price, unit.GetString()); break;
    default: text.Format("%.2f%s", price, unit.GetString()); break;
  }
  return text;
}

CString FormatDecimals(int decimals, double value, const CString& unit) {
  CString text;
  switch (decimals) {
    case 0: text.Format("%.0f%s", value, unit.GetString()); break;
    case 1: text.Format("%.1f%s", value, unit.GetString()); break;
    case 3: text.Format("%.3f%s", value, unit.GetString()); break;
    default: text.Format("%.2f%s", value, unit.GetString()); break;
  }
  return text;
}

CString FormatDecimals(int decimals, double value) {
  CString text;
  switch (decimals) {
    case 0: text.Format("%.0f", value); break;
    case 1: text.Format("%.1f", value); break;
    case 3: text.Format("%.3f", value); break;
    default: text.Format("%.2f", value); break;
  }
  return text;
}

int RoundingDigits(int decimals) { return decimals == 1 || decimals == 3 ? decimals : 2; }

}  // namespace kelo::detail
