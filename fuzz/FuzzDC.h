// The device contexts the drawing targets draw on: a recording (fast, every record kept
// up to its limit) or a small raster (cairo under hostile geometry), and the promise every
// chart operation makes: the DC leaves with the pen and font it came with.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

#include "FuzzInput.h"

namespace kelo::fuzz {

inline std::unique_ptr<CDC> MakeDC(Input& in) {
  return (in.Byte() % 4 == 0) ? CDC::CreateRaster(96, 64) : CDC::CreateRecording(640, 400);
}

// The calls one input makes on one object. Few enough that an execution stays cheap (a
// single call may draw 65,536 labels or 100,000 samples), enough that layouts, slot tables
// and layers built by one call meet the next.
inline constexpr int kMaxCalls = 8;

class SelectionGuard {
 public:
  explicit SelectionGuard(CDC* dc) : dc_(dc), pen_(dc->GetCurrentPen()), font_(dc->GetCurrentFont()) {}
  ~SelectionGuard() {
    KELO_FUZZ_CHECK(dc_->GetCurrentPen() == pen_);
    KELO_FUZZ_CHECK(dc_->GetCurrentFont() == font_);
  }

 private:
  CDC* dc_;
  CPen* pen_;
  CFont* font_;
};

// A pane on a raster DC: the chart objects give a pane layer bitmaps of its own size, so a
// pane of tens of millions of pixels (within the surface limit) costs a second a call and
// would starve the run. On a raster such panes are cut to 512 x 512 at the same corner;
// enormous, reversed and empty panes keep their size (they meet the limits), and recording
// DCs, which hold no pixels, get every pane as decoded.
inline CRect PaneFor(CDC* dc, CRect pane) {
  constexpr std::int64_t kSide = 512;
  const std::int64_t w = std::int64_t{pane.right} - pane.left, h = std::int64_t{pane.bottom} - pane.top;
  const bool drawable = w > 0 && h > 0 && w <= 16384 && h <= 16384 && w * h <= std::int64_t{64} * 1024 * 1024;
  if (kelo::surface::RecordingOf(*dc) != nullptr || !drawable || w * h <= kSide * kSide) return pane;
  pane.right = static_cast<std::int32_t>(pane.left + std::min(w, kSide));
  pane.bottom = static_cast<std::int32_t>(pane.top + std::min(h, kSide));
  return pane;
}

// Decodes up to kMaxCalls calls with `call(pane)` on one DC, each with a pane of its own,
// and checks after each that the DC kept the caller's pen and font.
template <class Call>
void RunCalls(Input& in, CDC* dc, Call call) {
  for (int calls = 0; calls < kMaxCalls && !in.Empty(); ++calls) {
    SelectionGuard guard(dc);
    call(PaneFor(dc, in.Rect()));
  }
}

}  // namespace kelo::fuzz
