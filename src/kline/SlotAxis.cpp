// The trading-day axis of the K-line chart: one slot per bar, whatever the calendar did
// between them (weekends, holidays, the night between two sessions take no room), with
// labels at the starts of days, months or years and a separator between trading days.
#include <algorithm>
#include <cstdio>

#include "kline/KLineGeometry.h"

namespace kelo::detail {

namespace {

std::int32_t KeyOf(const SKBar& b, LabelUnit unit) {
  switch (unit) {
    case LabelUnit::kDay: return b.date;
    case LabelUnit::kMonth: return b.date / 100;
    case LabelUnit::kYear: return b.date / 10000;
  }
  return b.date;
}

std::string TextOf(const SKBar& b, LabelUnit unit) {
  char text[16];
  const int y = b.date / 10000, m = b.date / 100 % 100, d = b.date % 100;
  if (unit == LabelUnit::kDay) std::snprintf(text, sizeof text, "%02d/%02d", m, d);
  if (unit == LabelUnit::kMonth) std::snprintf(text, sizeof text, "%04d/%02d", y, m);
  if (unit == LabelUnit::kYear) std::snprintf(text, sizeof text, "%04d", y);
  return text;
}

}  // namespace

int SlotAxis::Left(std::size_t i) const { return left + static_cast<int>(static_cast<double>(i) * Step()); }
int SlotAxis::Center(std::size_t i) const { return left + static_cast<int>((static_cast<double>(i) + 0.5) * Step()); }

SlotAxis MakeSlotAxis(const CRect& plot, std::int32_t count) {
  SlotAxis axis;
  axis.left = plot.left;
  axis.width = std::max(0, plot.Width());
  axis.count = std::max<std::int32_t>(0, count);
  return axis;
}

int BodyWidth(double step) {
  if (!(step >= 3.0)) return 0;
  // Two neighbouring centres are at least floor(step) apart.
  const int narrowest = static_cast<int>(std::min(step, 1e6));
  int width = std::min(narrowest - 1, static_cast<int>(step * 0.75));
  if (width % 2 == 0) --width;
  return std::max(width, 1);
}

LabelUnit LabelUnitOf(const std::vector<SKBar>& bars) {
  for (const SKBar& b : bars) {
    if (b.time != 0) return LabelUnit::kDay;
  }
  if (bars.size() < 2) return LabelUnit::kMonth;
  for (std::size_t i = 1; i < bars.size(); ++i) {
    if (bars[i].date / 100 == bars[i - 1].date / 100) return LabelUnit::kMonth;
  }
  return LabelUnit::kYear;
}

TimeAxisLayout LayoutTimeAxis(const SlotAxis& axis, const std::vector<SKBar>& bars, std::size_t first, int cellWidth) {
  TimeAxisLayout layout;
  if (axis.count <= 0 || first >= bars.size()) return layout;
  const LabelUnit unit = LabelUnitOf(bars);
  const std::size_t shown = std::min<std::size_t>(static_cast<std::size_t>(axis.count), bars.size() - first);
  std::vector<std::size_t> starts;
  for (std::size_t j = 0; j < shown; ++j) {
    const std::size_t i = first + j;
    // The series' first bar starts a day in view; it may be any day of a month or year.
    if (i == 0 ? unit != LabelUnit::kDay : KeyOf(bars[i], unit) == KeyOf(bars[i - 1], unit)) continue;
    starts.push_back(j);
    if (unit == LabelUnit::kDay && j > 0) layout.separators.push_back(axis.Left(j));
  }
  if (starts.empty()) starts.push_back(0);
  const int right = axis.left + axis.width;
  int lastRight = INT32_MIN;
  for (std::size_t j : starts) {
    std::string text = TextOf(bars[first + j], unit);
    const int width = static_cast<int>(text.size()) * std::max(cellWidth, 1);
    const int left = std::clamp(axis.Center(j) - width / 2, axis.left, std::max(axis.left, right - width));
    if (lastRight != INT32_MIN && left < lastRight + cellWidth) continue;
    if (left + width > right) continue;
    layout.labels.push_back({j, left, std::move(text)});
    lastRight = left + width;
    if (unit != LabelUnit::kDay && j > 0) layout.gridLines.push_back(axis.Left(j));
  }
  return layout;
}

}  // namespace kelo::detail
