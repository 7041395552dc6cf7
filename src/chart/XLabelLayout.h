// The label strip under a plot: where an X or time label goes and which labels are shown
// when they crowd. Pure computations on numbers, callable without a device context; the
// drawing operations of XAxis.cpp and TimeAxis.cpp only paint what these decide.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>

namespace kelo::detail {

// Vertical extent of the label strip: it starts two pixels under the bottom of the
// rectangle the layout was made for and is one pixel taller than a character.
struct LabelStrip {
  std::int32_t top = 0;
  std::int32_t bottom = 0;
};
LabelStrip LabelStripUnder(std::int32_t layoutBottom, std::int32_t fontHeight);

// Estimated width of a label: one character cell more than its bytes, so that a layout
// needs no device context to measure text.
double LabelWidth(int bytes, std::int32_t fontWidth);

struct LabelSpan {
  std::int32_t left = 0;
  std::int32_t right = 0;
};
// An X label centred at x: its right edge is its left edge plus the cut width.
LabelSpan XLabelSpan(double x, double width);
// A time label centred at x: both edges are cut from the centre.
LabelSpan TimeLabelSpan(double x, double width);

// Thins evenly spaced X labels. Labels are offered in order; a label that starts at or
// after the right edge of the last accepted one is accepted. The first accepted label
// after label 0 fixes the spacing 'every', and an accepted label is shown only when its
// index is a multiple of it, so crowded labels show every e-th one with equal gaps.
class XLabelThinner {
 public:
  // Whether the next label is shown.
  bool Next(const LabelSpan& span);

 private:
  std::int64_t index_ = 0;
  std::int32_t lastRight_ = 0;
  std::int64_t every_ = 1;
  bool gapFound_ = false;
};

// Thins time labels: the earlier label always wins an overlap; a label that is not to be
// shown (a minor label when not all are asked for, or one without a position) is hidden
// and does not block the next one.
class TimeLabelThinner {
 public:
  bool Next(const LabelSpan& span, bool eligible);

 private:
  std::int32_t lastRight_ = 0;
};

// Centres of labels at cell boundaries: left + inset + i × cell × factor, for count labels
// over cells cells of the rectangle's width. No centres when cells is 0.
std::vector<double> CellLabelCentres(const CRect& rect, int inset, int cells, int factor, std::size_t count);

// Lays out one slot per label that has a centre (the first min(texts, centres) labels),
// thinned, under the rectangle bottom layoutBottom. slots is replaced.
void LayoutXLabels(const std::vector<CString>& texts, const std::vector<double>& centres, std::int32_t layoutBottom,
                   std::int32_t fontWidth, std::int32_t fontHeight, std::vector<CKeloBaseChart::SLabelSlot>& slots);

// The leading number of a text as atoi reads it (spaces, a sign, digits; anything else
// ends it, no digits give 0), saturated to the 32-bit range instead of overflowing.
std::int32_t LeadingNumber(std::string_view text);

// Seconds of day of an hour-and-minute label such as "09:30": the parts between colons
// (runs of colons skipped) are hours, minutes and, when there is a third part, seconds;
// missing parts count 0 and further parts are ignored. Saturated to the 32-bit range.
std::int32_t LabelSecondsOfDay(std::string_view text);

}  // namespace kelo::detail
