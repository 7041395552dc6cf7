// Label strip geometry and thinning of the X and time labels (see XLabelLayout.h).
#include "chart/XLabelLayout.h"

#include <algorithm>

#include "chart/AxisPixel.h"

namespace kelo::detail {

LabelStrip LabelStripUnder(std::int32_t layoutBottom, std::int32_t fontHeight) {
  LabelStrip strip;
  strip.top = NarrowSat32(static_cast<std::int64_t>(layoutBottom) + 2);
  strip.bottom = NarrowSat32(static_cast<std::int64_t>(strip.top) + fontHeight + 1);
  return strip;
}

double LabelWidth(int bytes, std::int32_t fontWidth) {
  return static_cast<double>((static_cast<std::int64_t>(bytes) + 1) * fontWidth);
}

LabelSpan XLabelSpan(double x, double width) {
  LabelSpan span;
  span.left = TruncSat32(x - width * 0.5);
  span.right = NarrowSat32(static_cast<std::int64_t>(span.left) + TruncSat32(width));
  return span;
}

LabelSpan TimeLabelSpan(double x, double width) {
  LabelSpan span;
  span.left = TruncSat32(x - width * 0.5);
  span.right = TruncSat32(x + width * 0.5);
  return span;
}

bool XLabelThinner::Next(const LabelSpan& span) {
  const std::int64_t index = index_++;
  if (span.left < lastRight_) return false;
  lastRight_ = span.right;
  if (index != 0 && !gapFound_) {
    every_ = index;
    gapFound_ = true;
  }
  return index % every_ == 0;
}

bool TimeLabelThinner::Next(const LabelSpan& span, bool eligible) {
  if (!eligible || span.left < lastRight_) return false;
  lastRight_ = span.right;
  return true;
}

std::vector<double> CellLabelCentres(const CRect& rect, int inset, int cells, int factor, std::size_t count) {
  std::vector<double> centres;
  // No cells would divide by zero; a negative count gives negative cells (labels running
  // leftwards), as the division says.
  if (cells == 0 || !LabelCountOk(count)) return centres;
  const double cell = RectWidth(rect) / cells;
  const double origin = static_cast<double>(static_cast<std::int64_t>(rect.left) + inset);
  centres.reserve(count);
  for (std::size_t i = 0; i < count; ++i) centres.push_back(origin + static_cast<double>(i) * cell * factor);
  return centres;
}

void LayoutXLabels(const std::vector<CString>& texts, const std::vector<double>& centres, std::int32_t layoutBottom,
                   std::int32_t fontWidth, std::int32_t fontHeight, std::vector<CKeloBaseChart::SLabelSlot>& slots) {
  slots.clear();
  if (!LabelCountOk(texts.size())) return;
  const LabelStrip strip = LabelStripUnder(layoutBottom, fontHeight);
  const std::size_t count = std::min(texts.size(), centres.size());
  slots.reserve(count);
  XLabelThinner thinner;
  for (std::size_t i = 0; i < count; ++i) {
    const LabelSpan span = XLabelSpan(centres[i], LabelWidth(texts[i].GetLength(), fontWidth));
    CKeloBaseChart::SLabelSlot slot;
    slot.rect = CRect(span.left, strip.top, span.right, strip.bottom);
    slot.visible = thinner.Next(span) ? 1 : 0;
    slots.push_back(slot);
  }
}

std::int32_t LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) value = 2147483648LL;  // already beyond the range: stop growing
  }
  return NarrowSat32(negative ? -value : value);
}

std::int32_t LabelSecondsOfDay(std::string_view text) {
  std::int64_t parts[3] = {0, 0, 0};
  std::size_t found = 0;
  std::size_t pos = 0;
  while (found < 3) {
    while (pos < text.size() && text[pos] == ':') ++pos;
    if (pos >= text.size()) break;
    const std::size_t end = std::min(text.find(':', pos), text.size());
    parts[found++] = LeadingNumber(text.substr(pos, end - pos));
    pos = end;
  }
  return NarrowSat32((parts[0] * 60 + parts[1]) * 60 + parts[2]);
}

}  // namespace kelo::detail
