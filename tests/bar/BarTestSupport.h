// What the bar tests share: a bar chart with its state open, and the filled bars and drawn
// tick lines of a recording in comparable form.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <kelochart/bar/KeloBaseBar.h>
#include <kelochart/services/KeloPalette.h>

#include "RecordHelpers.h"

namespace kelo::test {

class ProbeBar : public CKeloBaseBar {
 public:
  ProbeBar() { SetFontSize(12, 6); }
  using CKeloBaseBar::barBrushes, CKeloBaseBar::multiBarSize, CKeloBaseBar::horizontalLineOffset,
      CKeloBaseBar::lineOffset, CKeloBaseBar::BindBmp, CKeloBaseBar::bkColor;
  using CKeloBaseBar::barCount, CKeloBaseBar::barPositions, CKeloBaseBar::barRect, CKeloBaseBar::barSlotCount;
  using CKeloBaseBar::baseBmp, CKeloBaseBar::dataBmp, CKeloBaseBar::appendedBmp, CKeloBaseBar::baseChanged;
};

// A filled GDI+ rectangle as left, top, right, bottom and colour.
struct Bar {
  CRect box;
  std::uint32_t argb = 0;
  friend bool operator==(const Bar&, const Bar&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Bar& b) { return os << b.box << " argb " << b.argb; }
};

inline std::vector<Bar> Bars(const Log& log) {
  std::vector<Bar> bars;
  for (const auto& f : OfType<kelo::surface::FillPathRecord>(log)) {
    const auto& p = f.path.figures.at(0).points;
    bars.push_back({CRect(int(p[0].x), int(p[0].y), int(p[2].x), int(p[2].y)), f.argb});
  }
  return bars;
}

// A GDI+ line as its end points and pen colour.
struct Tick {
  int x0, y0, x1, y1;
  std::uint32_t argb;
  friend bool operator==(const Tick&, const Tick&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Tick& t) {
    return os << t.x0 << "," << t.y0 << "-" << t.x1 << "," << t.y1 << " 0x" << std::hex << t.argb << std::dec;
  }
};

inline std::vector<Tick> Ticks(const Log& log) {
  std::vector<Tick> ticks;
  for (const auto& s : Strokes(log)) {
    const auto& p = s.path.figures.at(0).points;
    ticks.push_back({int(p[0].x), int(p[0].y), int(p[1].x), int(p[1].y), s.pen.argb});
  }
  return ticks;
}

// A recording and a bar chart to draw on it.
class BarDrawing : public ::testing::Test {
 protected:
  void Clear() { kelo::surface::RecordingOf(*dc)->Clear(); }
  std::unique_ptr<CDC> dc = CDC::CreateRecording(640, 420);
  ProbeBar bar;
};

inline COLORREF Background() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }
inline std::uint32_t Table(unsigned entry) { return CKeloUIObjectSingletonPool::Instance()->palette.colorTable[entry]; }
inline std::uint32_t BrushArgb(unsigned index) {
  return CKeloUIObjectSingletonPool::Instance()->palette.GetGPBrushByIndex(index)->FillArgb();
}

}  // namespace kelo::test
