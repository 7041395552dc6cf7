// Intraday tick volume and value bars: one vertical line per sample, standing on the bottom
// edge at the x of the sample's time slot on the frame's time axis, so that the volume lines
// stand exactly under the price slots of a curve chart with the same rectangle and session.
// Variants colour the lines by state, compress the height piecewise along the fit scale, split
// each line into its inner and outer parts, or draw inner/outer differences around a zero line
// with two curves.
#include <kelochart/bar/KeloBaseBar.h>

#include <algorithm>
#include <cmath>

#include <kelochart/services/KeloUtility.h>

#include "bar/BarGeometry.h"
#include "chart/AxisPixel.h"

using kelo::detail::NarrowSat32;
using kelo::detail::TruncSat32;

namespace {

using Range = CKeloBaseBar::SDrawRange;

bool RangeValid(const Range& range) { return range.maxValue > range.minValue && range.endTime > range.startTime; }

// The linear height scale of the tick bars: quantity q stands trunc((q - minValue) * scale)
// pixels above the bottom edge. The range and the distance from its bottom are exact in 128
// bits before they become doubles, so no 64-bit difference can overflow.
struct LinearHeight {
  LinearHeight(const CRect& rect, int horizontalLineOffset, const Range& range)
      : bottom(rect.bottom), minValue(range.minValue) {
    const std::int64_t usable = static_cast<std::int64_t>(rect.bottom) - rect.top - horizontalLineOffset;
    const __int128 span = static_cast<__int128>(range.maxValue) - range.minValue;
    scale = static_cast<double>(usable) / static_cast<double>(span);
  }
  // y of the top end of a line for quantity q.
  int Top(std::int64_t q) const {
    const double above = static_cast<double>(static_cast<__int128>(q) - minValue) * scale;
    // Any height beyond 2^40 pixels saturates the result anyway; the bound keeps the
    // subtraction inside 64 bits.
    constexpr std::int64_t kFar = std::int64_t{1} << 40;
    const std::int64_t h = std::clamp(kelo::detail::TruncSat64(above), -kFar, kFar);
    return NarrowSat32(static_cast<std::int64_t>(bottom) - h);
  }
  int bottom;
  std::int64_t minValue;
  double scale = 0.0;
};

}  // namespace

namespace {

// The x of a sample's time on the chart's time axis; a sample after the end of the range
// stands at the overflow time when no midnight offset is set.
int SampleX(CKeloBaseChart& chart, const CRect& rect, const Range& range, std::int32_t time,
            CKeloBaseChart::ETickType step, std::int32_t offsetMinTick) {
  if (time > range.endTime && offsetMinTick == 0) time = range.overflowTime;
  return chart.GetXPosByTime(rect, range.endTime, range.startTime, time, step, 0);
}

// The linear tick charts: one anti-aliased line per sample from the bottom edge up to its
// amount, in the pen the chart kind or the sample's state asks for.
template <typename Sample, typename PenOf, typename AmountOf>
void DrawLinearTicks(CKeloBaseBar& chart, CDC* pDC, const CRect& rect, const CKeloBaseBar::SDrawRange& range,
                     const std::vector<Sample>& samples, CKeloBaseChart::ETickType tickType, int lineOffset,
                     std::int32_t offsetMinTick, PenOf penOf, AmountOf amountOf) {
  if (pDC == nullptr || !RangeValid(range) || samples.empty()) return;
  Gdiplus::Graphics graphics(pDC);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  const LinearHeight height(rect, lineOffset, range);
  for (const Sample& s : samples) {
    const int x = SampleX(chart, rect, range, s.time, tickType, offsetMinTick);
    graphics.DrawLine(penOf(s), x, rect.bottom, x, height.Top(amountOf(s)));
  }
}

}  // namespace

void CKeloBaseBar::DrawTickVolume(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickVolume> samples,
                                  ETickType tickType) {
  DrawLinearTicks(
      *this, pDC, rect, range, samples, tickType, horizontalLineOffset, offsetMinTick,
      [this](const STickVolume&) { return &volumeBarPen; }, [](const STickVolume& s) { return s.volume; });
}

void CKeloBaseBar::DrawTickVolumeWithState(CDC* pDC, const CRect& rect, SDrawRange range,
                                           std::vector<STickVolume> samples, ETickType tickType) {
  DrawLinearTicks(
      *this, pDC, rect, range, samples, tickType, horizontalLineOffset, offsetMinTick,
      [this](const STickVolume& s) -> const Gdiplus::Pen* {
        return s.state == 0 ? &outerBarPen : s.state == 1 ? &innerBarPen : &nonConfirmBarPen;
      },
      [](const STickVolume& s) { return s.volume; });
}

void CKeloBaseBar::DrawTickValue(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickValue> samples,
                                 ETickType tickType) {
  DrawLinearTicks(
      *this, pDC, rect, range, samples, tickType, horizontalLineOffset, offsetMinTick,
      [this](const STickValue&) { return &valueBarPen; }, [](const STickValue& s) { return s.value; });
}

void CKeloBaseBar::DrawTickValueWithState(CDC* pDC, const CRect& rect, SDrawRange range,
                                          std::vector<STickValue> samples, ETickType tickType) {
  DrawLinearTicks(
      *this, pDC, rect, range, samples, tickType, horizontalLineOffset, offsetMinTick,
      [this](const STickValue& s) -> const Gdiplus::Pen* {
        return s.state == 0 ? &outerBarPen : s.state == 1 ? &innerBarPen : &nonConfirmBarPen;
      },
      [](const STickValue& s) { return s.value; });
}

int CKeloBaseBar::GetDrawTickVolumeByRatioIsCorrect(std::int64_t maxVolume, SDrawRange range,
                                                    std::vector<STickVolume> samples) {
  std::vector<std::int32_t> scale;
  KeloUtility::FindFitScale(static_cast<double>(maxVolume), scale);
  return !scale.empty() && RangeValid(range) && !samples.empty() ? 1 : 0;
}

namespace {

// The by-ratio tick bars: the fit scale of maxVolume cut into equal steps, each line's pen
// chosen by penOf.
template <typename PenOf>
int DrawTicksByRatio(CKeloBaseBar& chart, CDC* pDC, const CRect& rect, std::int64_t maxVolume, const Range& range,
                     const std::vector<CKeloBaseBar::STickVolume>& samples, CKeloBaseChart::ETickType tickType,
                     int horizontalLineOffset, std::int32_t offsetMinTick, PenOf penOf) {
  std::vector<std::int32_t> scale;
  KeloUtility::FindFitScale(static_cast<double>(maxVolume), scale);
  const std::int32_t steps = KeloUtility::GetFitScaleCount();
  // Without a step there is no step height.
  if (steps <= 0) return 0;
  const double step =
      static_cast<double>(static_cast<std::int64_t>(rect.bottom) - rect.top - horizontalLineOffset) / steps;
  Gdiplus::Graphics graphics(pDC);
  for (const auto& s : samples) {
    const int x = SampleX(chart, rect, range, s.time, tickType, offsetMinTick);
    const std::int32_t h = kelo::detail::RatioHeight(s.volume, scale, static_cast<std::size_t>(steps), step);
    graphics.DrawLine(penOf(s), x, rect.bottom, x, NarrowSat32(static_cast<std::int64_t>(rect.bottom) - h));
  }
  return 1;
}

}  // namespace

int CKeloBaseBar::DrawTickVolumeByRatio(CDC* pDC, const CRect& rect, std::int64_t maxVolume, SDrawRange range,
                                        std::vector<STickVolume> samples, ETickType tickType) {
  if (pDC == nullptr || GetDrawTickVolumeByRatioIsCorrect(maxVolume, range, samples) == 0) return 0;
  return DrawTicksByRatio(*this, pDC, rect, maxVolume, range, samples, tickType, horizontalLineOffset, offsetMinTick,
                          [this](const STickVolume&) { return &volumeBarPen; });
}

int CKeloBaseBar::DrawTickVolumeByRatioWithState(CDC* pDC, const CRect& rect, std::int64_t maxVolume, SDrawRange range,
                                                 std::vector<STickVolume> samples, ETickType tickType) {
  if (pDC == nullptr || GetDrawTickVolumeByRatioIsCorrect(maxVolume, range, samples) == 0) return 0;
  // No non-confirmed colour here: every state but outer is drawn as inner.
  return DrawTicksByRatio(
      *this, pDC, rect, maxVolume, range, samples, tickType, horizontalLineOffset, offsetMinTick,
      [this](const STickVolume& s) -> const Gdiplus::Pen* { return s.state == 0 ? &outerBarPen : &innerBarPen; });
}

void CKeloBaseBar::DrawTickInnerOuterChart(CDC* pDC, const CRect& rect, SDrawRange range,
                                           std::vector<STickVolume> samples, int mode) {
  if (pDC == nullptr || !RangeValid(range) || samples.empty()) return;
  Gdiplus::Graphics graphics(pDC);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  const LinearHeight height(rect, horizontalLineOffset, range);
  for (const STickVolume& s : samples) {
    const int x = SampleX(*this, rect, range, s.time, eTickMinute, offsetMinTick);
    const std::int64_t a = mode == 0 ? s.innerVolume : s.innerCount;
    const std::int64_t b = mode == 0 ? s.outerVolume : s.outerCount;
    const int yA = height.Top(a);
    const int yB = height.Top(b);
    graphics.DrawLine(&innerBarPen, x, rect.bottom, x, yA);
    graphics.DrawLine(&outerBarPen, x, rect.bottom, x, yB);
    // The part both quantities share shows in the non-confirmed colour.
    graphics.DrawLine(&nonConfirmBarPen, x, rect.bottom, x, yA > yB ? yA : yB);
  }
}

void CKeloBaseBar::DrawTickInnerOuterUpDownChart(CDC* pDC, const CRect& rect, SDrawRange range,
                                                 std::vector<STickVolume> samples, int mode, int curve1Start,
                                                 int curve2Start) {
  if (pDC == nullptr || !RangeValid(range) || samples.empty()) return;
  Gdiplus::Graphics graphics(pDC);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  // The larger magnitude of the two range ends, exact in unsigned 64 bits (|INT64_MIN| fits).
  const auto magnitude = [](std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
  };
  const std::uint64_t m = std::max(magnitude(range.maxValue), magnitude(range.minValue));
  const double height = static_cast<double>(static_cast<std::int64_t>(rect.bottom) - rect.top);
  const double scale = height / (2.0 * static_cast<double>(m));
  const int midY = TruncSat32(rect.bottom - 0.5 * height);
  // y of a curve point or of a positive difference: up to one pixel stays on the zero line.
  const auto yOf = [&](std::int64_t q) {
    const double h = static_cast<double>(q) * scale;
    if (q > 0 && std::trunc(h) <= 1) return midY;
    if (q == 0) return midY;
    return TruncSat32(midY - h);
  };
  int previousX = 0, previous1 = 0, previous2 = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const STickVolume& s = samples[i];
    const int x = SampleX(*this, rect, range, s.time, eTickMinute, offsetMinTick);
    const std::int64_t q = mode == 0 ? s.diffVolume : s.diffCount;
    const std::int64_t p = mode == 0 ? s.curve1Volume : s.curve1Count;
    const std::int64_t r = mode == 0 ? s.curve2Volume : s.curve2Count;
    if (q > 0) graphics.DrawLine(&upBarPen, x, midY, x, yOf(q));
    if (q < 0) graphics.DrawLine(&downBarPen, x, midY, x, yOf(q));
    const int y1 = yOf(p);
    const int y2 = yOf(r);
    // The first sample has no previous point and never ends a segment.
    const auto index = static_cast<long long>(i);
    if (i > 0 && index >= curve1Start) graphics.DrawLine(&curvePen1, previousX, previous1, x, y1);
    if (i > 0 && index >= curve2Start) graphics.DrawLine(&curvePen2, previousX, previous2, x, y2);
    previousX = x;
    previous1 = y1;
    previous2 = y2;
  }
  graphics.DrawLine(&nonConfirmBarPen, rect.left, midY, rect.right, midY);
}
