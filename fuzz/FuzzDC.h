// The device contexts the drawing targets draw on, and the promise every chart operation
// makes: the DC leaves with the pen and font it came with.
// An input draws on a small raster (cairo under hostile geometry), a recording (every record
// kept up to its limit), an SVG or a PDF page (vector surfaces, whose layer bitmaps are
// rasters composed onto the page as images) or a memory DC drawing on a bitmap of its own.
// Now and then the DC changes between calls, so that layers a chart made on one kind of
// surface are drawn on and composed onto another (a window painted on the screen, then
// printed or recorded), as a client holding one chart object for many DCs does.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>
#include <kelochart/surface/VectorBackend.h>

#include "FuzzInput.h"

namespace kelo::fuzz {

class Surfaces {
 public:
  enum Kind { kRecording, kRaster, kSvg, kPdf, kMemory, kKinds };

  // The first DC: a recording for 3 in 8 inputs (the byte 0 of an ended input too), a
  // raster for 2 in 8, each of the others for 1 in 8.
  explicit Surfaces(Input& in) {
    static constexpr Kind kFirst[] = {kRecording, kRecording, kRecording, kRaster, kRaster, kSvg, kPdf, kMemory};
    current_ = Get(kFirst[in.Byte() % 8]);
  }
  CDC* Current() const { return current_; }

  // Before each call: one in eight moves to a DC of another kind (made at first use).
  CDC* Next(Input& in) {
    const std::uint8_t b = in.Byte();
    if (b >= 224) current_ = Get(static_cast<Kind>(b % kKinds));
    return current_;
  }

  CDC* Get(Kind kind) {
    if (kind == kMemory) {
      if (!memory_.IsValid()) {
        memory_.CreateCompatibleDC(Get(kRaster));
        bitmap_.CreateCompatibleBitmap(Get(kRaster), 120, 80);
        memory_.SelectObject(&bitmap_);
      }
      return &memory_;
    }
    auto& dc = dcs_[kind];
    if (!dc) {
      switch (kind) {
        case kRaster: dc = CDC::CreateRaster(96, 64); break;
        case kSvg:
        case kPdf: {
          using kelo::surface::VectorBackend;
          const auto format = kind == kSvg ? VectorBackend::Format::kSvg : VectorBackend::Format::kPdf;
          dc = CDC::FromBackend(std::make_shared<VectorBackend>(format, 320, 200));
          break;
        }
        default: dc = CDC::CreateRecording(640, 400); break;
      }
    }
    return dc.get();
  }

 private:
  std::array<std::unique_ptr<CDC>, kKinds> dcs_;
  CBitmap bitmap_;  // declared before the memory DC, so destroyed after it
  CDC memory_;
  CDC* current_ = nullptr;
};

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

// A pane for a call on dc. The chart objects give a pane layer bitmaps of its own size, which
// hold pixels unless dc is a recording (a vector page's layers are rasters). A layer at the
// surface limit (64 Mpx, 256 MB) costs seconds to make and clear (first touches of its pages:
// 14 s for the five layers of a curve group and a grouped bar chart here), so such panes
// would starve the run. Panes of more than 512 x 512 pixels within the limits are therefore
// cut at the same corner: to 512 x 512; in the inputs that may take a heavy argument (one in
// sixteen), the first such pane keeps its width up to the side limit and is cut to 1 Mpx
// (16384 x 64, 4096 x 256), and in one input of 4096 it stays whole, up to the limits (one
// set of layers at the limit costs seconds, several would pass the time limit of an input).
// Enormous, reversed and empty panes keep their size (they meet the limits), and recording
// DCs get every pane as decoded.
inline CRect PaneFor(Input& in, CDC* dc, CRect pane) {
  constexpr std::int64_t kSide = 512, kHeavyPixels = std::int64_t{1} << 20;
  const std::int64_t w = std::int64_t{pane.right} - pane.left, h = std::int64_t{pane.bottom} - pane.top;
  const bool drawable = w > 0 && h > 0 && w <= 16384 && h <= 16384 && w * h <= std::int64_t{64} * 1024 * 1024;
  if (kelo::surface::RecordingOf(*dc) != nullptr || !drawable || w * h <= kSide * kSide) return pane;
  if (in.Heavy()) {
    if (in.Rare()) return pane;
    pane.bottom = static_cast<std::int32_t>(pane.top + std::min(h, std::max<std::int64_t>(1, kHeavyPixels / w)));
    return pane;
  }
  pane.right = static_cast<std::int32_t>(pane.left + std::min(w, kSide));
  pane.bottom = static_cast<std::int32_t>(pane.top + std::min(h, kSide));
  return pane;
}

// A clock time (HHMMSS) of a sample: a minute of the day session, of the night session
// across midnight (15:00 to 08:00), or any value.
inline std::int32_t Clock(Input& in) {
  const std::uint8_t how = in.Byte();
  if (how < 128) return 90000 + (in.Byte() % 44) * 100;
  if (how < 200) {
    const int minute = (900 + in.Byte() * 4) % 1440;
    return minute / 60 * 10000 + minute % 60 * 100;
  }
  return in.Int();
}

// The session of a time-axis call into range.startTime and range.endTime: the day session,
// the night session across midnight (15:00 to 05:00, the chart's midnight offset set to 15:00,
// which stays for the calls after), or any times and offset.
template <class Chart, class Range>
void Session(Input& in, Chart& chart, Range& range) {
  switch (in.Byte() % 4) {
    case 0:
    case 1: range.startTime = 90000, range.endTime = 133000; break;
    case 2: chart.SetOffsetMinTick(900), range.startTime = 150000, range.endTime = 50000; break;
    default:
      if (in.Byte() & 1) chart.SetOffsetMinTick(in.Int());
      range.startTime = in.Byte() < 128 ? 90000 : in.Int();
      range.endTime = in.Byte() < 128 ? 133000 : in.Int();
  }
}

// One setter of the frame every chart kind inherits: its pens (any style, width and colour),
// text colours, units, flags, the midnight offset and the slot length.
inline void SetFrame(Input& in, CKeloBaseChart& chart) {
  switch (in.Pick(10)) {
    case 0:
      chart.SetXLinePen(in.Int(), in.Int(), in.U32());
      chart.SetXSubLinePen(in.Int(), in.Int(), in.U32());
      break;
    case 1: chart.SetAxisPen(in.Int(), in.Int(), in.U32()); break;
    case 2:
      chart.SetYLinePen(in.Int(), in.Int(), in.U32());
      chart.SetMidYLinePen(in.Int(), in.Int(), in.U32());
      break;
    case 3: chart.SetSpecialPosLinePen(in.Int(), in.Int(), in.Int(), in.U32()); break;
    case 4:
      chart.SetDefaultTextColor(in.U32());
      chart.SetXTextColor(in.U32());
      chart.SetYMidTextColor(in.U32());
      break;
    case 5:
      chart.SetLeftUnit(in.Text().c_str(), in.Int());
      chart.SetRightUnit(in.Text().c_str());
      break;
    case 6:
      chart.SetYValueUnit(in.Text().c_str());
      chart.SetXTextFormatFlag(in.U32());
      break;
    case 7:
      chart.SetOverDrawLine(in.Int());
      chart.SetIsDrawRTLine(in.Int());
      break;
    case 8: chart.SetTickType(static_cast<CKeloBaseChart::ETickType>(in.Int())); break;
    case 9: chart.SetBmpLeftDeflate(in.Int()); break;
  }
}

// Decodes up to kMaxCalls calls with `call(dc, pane)`, each on the DC of the moment and with a
// pane of its own, and checks after each that the DC kept the caller's pen and font.
template <class Call>
void RunCalls(Input& in, Surfaces& surfaces, Call call) {
  for (int calls = 0; calls < kMaxCalls && !in.Empty(); ++calls) {
    CDC* dc = surfaces.Next(in);
    SelectionGuard guard(dc);
    call(dc, PaneFor(in, dc, in.Rect()));
  }
}

}  // namespace kelo::fuzz
