// What the chart tests share: a chart whose layout caches they can read and set, the
// colours and pens they give it, and the drawn lines and labels in comparable form.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

namespace kelo::test {

constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr COLORREF kDefaultText = 0x000001;
constexpr COLORREF kLeftText = 0x000002;
constexpr COLORREF kRightText = 0x000003;
constexpr COLORREF kMaxText = 0x000004;
constexpr COLORREF kMidText = 0x000005;
constexpr COLORREF kMinText = 0x000006;
constexpr COLORREF kXText = 0x0000FF;
inline const kelo::surface::GdiPenDesc kGridPen = Pen(PS_DOT, 1, 0x0000AA, true);
inline const kelo::surface::GdiPenDesc kMidPen = Pen(PS_SOLID, 1, 0x00BB00, true);

// A chart with a 12 x 6 character cell and the test colours, its layout state open.
class ProbeChart : public CKeloBaseChart {
 public:
  ProbeChart() {
    SetFontSize(12, 6);
    SetDefaultTextColor(kDefaultText);
    SetXTextColor(kXText);
    SetLeftYTextColor(kLeftText);
    SetRigthtYTextColor(kRightText);
    SetYMaxTextColor(kMaxText);
    SetYMidTextColor(kMidText);
    SetYMinTextColor(kMinText);
  }
  // Reached where the public operations give no view: the layout caches and the pens' handles.
  using CKeloBaseChart::xInforPositions, CKeloBaseChart::xLinePen, CKeloBaseChart::xSubLinePen,
      CKeloBaseChart::xTimePositions, CKeloBaseChart::yLabelHalf, CKeloBaseChart::yLabelSlots;
};

inline std::vector<kelo::surface::LineRecord> LinesOf(CDC& dc) { return Lines(LogOf(dc)); }

// Lines across the plot from left to right at the heights ys.
inline std::vector<kelo::surface::LineRecord> Across(int left, int right, const std::vector<int>& ys,
                                                     const kelo::surface::GdiPenDesc& pen) {
  std::vector<kelo::surface::LineRecord> lines;
  for (int y : ys) lines.push_back(Line(left, y, right, y, pen));
  return lines;
}

// A Y label as the tests compare it.
struct Label {
  std::string text;
  CRect rect;
  COLORREF color = 0;
  friend bool operator==(const Label& a, const Label& b) {
    return a.text == b.text && a.rect == b.rect && a.color == b.color;
  }
  friend std::ostream& operator<<(std::ostream& os, const Label& l) {
    return os << "\"" << l.text << "\" " << l.rect << " colour 0x" << std::hex << l.color << std::dec;
  }
};

// The texts drawn (empty ones only with keepEmpty), with their rectangles and colours.
inline std::vector<Label> LabelsOf(CDC& dc, bool keepEmpty = false) {
  std::vector<Label> labels;
  for (const auto& r : TextRecords(LogOf(dc))) {
    if (keepEmpty || !r.text.text.empty()) labels.push_back({r.text.text, r.text.rect, r.text.color});
  }
  return labels;
}

// Label rectangles of the Y column of a plot at left 60 with 6-pixel characters: 9 to 57.
inline CRect Column(int top, int height = 12) { return CRect(9, top, 57, top + height); }

// An X or time label, checked to be drawn over a background fill of its place.
struct XLabel {
  std::string text;
  CRect rect;
  UINT format = DT_CENTER;
  COLORREF color = kXText;
};

inline std::vector<XLabel> XLabelsOf(CDC& dc) {
  const COLORREF background = CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4);
  std::vector<XLabel> labels;
  const auto& log = LogOf(dc);
  for (std::size_t i = 0; i < log.size(); ++i) {
    const auto* text = std::get_if<kelo::surface::TextRecord>(&log[i].op);
    if (text == nullptr) continue;
    const auto* fill = i > 0 ? std::get_if<kelo::surface::FillRectRecord>(&log[i - 1].op) : nullptr;
    EXPECT_TRUE(fill != nullptr && fill->rect == text->text.rect && fill->color == background)
        << "label \"" << text->text.text << "\" is not drawn over a background fill of its place";
    labels.push_back({text->text.text, text->text.rect, text->text.format, text->text.color});
  }
  return labels;
}

// A 600 x 400 recording with the grid pens set, checked to get its pen and font back.
class AxisDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    dc = CDC::CreateRecording(600, 400);
    chart.SetYLinePen(kGridPen.style, kGridPen.width, kGridPen.color);
    chart.SetMidYLinePen(kMidPen.style, kMidPen.width, kMidPen.color);
    penBefore = dc->GetCurrentPen();
    fontBefore = dc->GetCurrentFont();
  }
  void TearDown() override {
    EXPECT_EQ(dc->GetCurrentPen(), penBefore) << "the DC must leave with the pen it came with";
    EXPECT_EQ(dc->GetCurrentFont(), fontBefore) << "the DC must leave with the font it came with";
  }
  const kelo::test::Log& Log() { return LogOf(*dc); }
  std::vector<kelo::surface::LineRecord> Lines() { return kelo::test::Lines(LogOf(*dc)); }
  void Clear() { kelo::surface::RecordingOf(*dc)->Clear(); }

  std::unique_ptr<CDC> dc;
  ProbeChart chart;
  CPen* penBefore = nullptr;
  CFont* fontBefore = nullptr;
};

}  // namespace kelo::test
