// The device contexts the drawing targets draw on: a recording (fast, every record kept
// up to its limit) or a small raster (cairo under hostile geometry), and the promise every
// chart operation makes: the DC leaves with the pen and font it came with.
#pragma once

#include <memory>

#include <kelochart/surface/DC.h>

#include "FuzzInput.h"

namespace kelo::fuzz {

inline std::unique_ptr<CDC> MakeDC(Input& in) {
  return (in.Byte() % 4 == 0) ? CDC::CreateRaster(96, 64) : CDC::CreateRecording(640, 400);
}

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

}  // namespace kelo::fuzz
