// What the curve tests share: a curve object with its state open, and the anti-aliased
// lines of a recording as comparable segments.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include <kelochart/curve/KeloBaseCurve.h>

#include "RecordHelpers.h"

namespace kelo::test {

class ProbeCurve : public CKeloBaseCurve {
 public:
  ProbeCurve() { SetFontSize(12, 7); }
  using CKeloBaseCurve::baseChanged, CKeloBaseCurve::curveStyles, CKeloBaseCurve::roiStyles, CKeloBaseCurve::highPoint,
      CKeloBaseCurve::lowPoint;
};

// One stroked straight line: its two ends and the pen's colour.
struct Seg {
  float x1, y1, x2, y2;
  std::uint32_t argb;
  friend bool operator==(const Seg&, const Seg&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Seg& s) {
    return os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ") " << std::hex << s.argb << std::dec;
  }
};

inline std::vector<Seg> Segs(const Log& log) {
  std::vector<Seg> out;
  for (const auto& s : Strokes(log)) {
    const auto& p = s.path.figures.at(0).points;
    EXPECT_TRUE(s.state.antiAlias);
    out.push_back({p.at(0).x, p.at(0).y, p.at(p.size() - 1).x, p.at(p.size() - 1).y, s.pen.argb});
  }
  return out;
}

inline constexpr std::uint32_t kUp = 0xFFFF0000, kDown = 0xFF00FF00, kDefault = 0xFF00FFFF;

}  // namespace kelo::test
