// The bar charts as a client paints them, shared by the golden-image tests (which write the
// pictures of docs/images) and the benchmarks (which time the same volume pane): the
// intraday volume pane under a price pane of the same width and session, an up/down bar
// chart, a by-ratio volume pane, inner/outer volume panes and a grouped bar chart with an
// appended layer. Data are fixed pseudo-random series, so every run draws the same pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <kelochart/bar/KeloBaseBar.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>

namespace kelo::pictures {

using Bar = CKeloBaseBar;
constexpr int kPaneWidth = 640;
constexpr std::int32_t kOpen = 90000, kClose = 133000;

// A fixed pseudo-random sequence in [0, 1).
struct Series {
  std::uint32_t state;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 16777216.0;
  }
};

// HHMMSS of minute m after 09:00.
inline std::int32_t MinuteTime(int m) { return (9 + m / 60) * 10000 + (m % 60) * 100; }

// count samples spread over the session in slots of step seconds, heavier at open and close,
// each with a state and its inner, outer and difference parts.
inline std::vector<Bar::STickVolume> IntradaySamples(int count, int step = 60, std::int32_t start = kOpen) {
  Series rng{7};
  std::vector<Bar::STickVolume> samples(count);
  std::int32_t startSec = 0;
  KeloUtility::TimeToSecTick(start, startSec);
  std::int64_t cumulative = 0;
  for (int i = 0; i < count; ++i) {
    auto& s = samples[i];
    KeloUtility::SecTickToTime(s.time, startSec + i * step);
    const double edge = std::exp(-i / (count * 0.06)) + 0.6 * std::exp((i - count) / (count * 0.05));
    s.volume = static_cast<std::int64_t>((0.15 + rng.Next() * 0.5 + 2.5 * edge * rng.Next()) * 1000);
    s.state = rng.Next() < 0.08 ? 2 : (rng.Next() < 0.5 ? 0 : 1);
    s.innerVolume = static_cast<std::int64_t>(s.volume * rng.Next());
    s.outerVolume = s.volume - s.innerVolume;
    s.diffVolume = s.outerVolume - s.innerVolume;
    cumulative += s.diffVolume;
    s.curve1Volume = cumulative / 8;
    s.curve2Volume = static_cast<std::int64_t>(std::sin(i / 30.0) * 600);
  }
  return samples;
}

inline COLORREF Background() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }

// Time grid every 30 minutes (hours main, half hours sub) and hour labels under rect.
inline void DrawSessionFrame(CKeloBaseChart& chart, CDC* dc, const CRect& plot, bool labels) {
  std::vector<CKeloBaseChart::STimeLine> lines;
  std::vector<CKeloBaseChart::STimeString> texts;
  for (int m = 0; m <= 270; m += 30) {
    lines.push_back({MinuteTime(m), m % 60 == 0 ? 0 : 1});
    if (m % 60 == 0) texts.push_back({MinuteTime(m), CString(std::to_string(9 + m / 60) + ":00"), 0});
  }
  chart.DrawXGridByTime(dc, plot, kClose, kOpen, lines, 0, 1, CKeloBaseChart::eTickMinute);
  chart.DrawAxis(dc, plot);
  if (!labels) return;
  CFont* previous = dc->SelectObject(chart.GetFont());
  chart.SetXInfor(texts);
  chart.DrawXGridTextByTime(dc, plot, kClose, kOpen, 0, CKeloBaseChart::eTickMinute);
  if (previous != nullptr) dc->SelectObject(previous);
}

// The volume pane alone: state-coloured lines on the fitted scale of the largest volume,
// with that scale's labels and grid lines.
inline void DrawVolumePane(Bar& bar, CDC* dc, const CRect& plot, const std::vector<Bar::STickVolume>& samples,
                           std::int32_t end = kClose, std::int32_t start = kOpen,
                           CKeloBaseChart::ETickType step = CKeloBaseChart::eTickMinute) {
  std::int64_t top = 1;
  for (const auto& s : samples) top = std::max(top, s.volume);
  std::vector<std::int32_t> scale;
  KeloUtility::FindFitScale(static_cast<double>(top), scale);
  CFont* previous = dc->SelectObject(bar.GetFont());
  bar.DrawFitYGridText(dc, plot, top, KeloUtility::GetFitScaleCount(), 1);
  if (previous != nullptr) dc->SelectObject(previous);
  bar.DrawTickVolumeWithState(dc, plot, {start, end, 0, scale.back(), end, 0}, samples, step);
}

// Price pane (frame and price path) over the volume pane, both plots 540 pixels wide.
inline void DrawIntradayVolume(CDC* dc) {
  dc->FillSolidRect(CRect(0, 0, kPaneWidth, 420), Background());
  const CRect pricePlot(60, 12, 600, 240), volumePlot(60, 262, 600, 390);
  CKeloBaseChart price;
  price.DrawYGrid(dc, pricePlot, 6, 0);
  price.DrawYGridText(dc, pricePlot, 103.0, 97.0);
  DrawSessionFrame(price, dc, pricePlot, false);
  const auto samples = IntradaySamples(270);
  Series rng{3};
  double p = 100.0;
  Gdiplus::Graphics g(dc);
  g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::Pen pen(Gdiplus::Color(0xFFFFFFFF), 1.2f);
  int px = -1, py = 0;
  for (const auto& s : samples) {
    p = std::clamp(p + (rng.Next() - 0.5) * 0.5, 97.2, 102.8);
    const int x = price.GetXPosByTime(pricePlot, kClose, kOpen, s.time, CKeloBaseChart::eTickMinute, 0);
    const int y = static_cast<int>(pricePlot.bottom - (p - 97.0) / 6.0 * pricePlot.Height());
    if (px >= 0) g.DrawLine(&pen, px, py, x, y);
    px = x;
    py = y;
  }
  Bar bar;
  DrawSessionFrame(bar, dc, volumePlot, true);
  DrawVolumePane(bar, dc, volumePlot, samples);
}

// The by-ratio volume pane: the fitted axis cut into equal steps, lines by state.
inline void DrawByRatioVolume(CDC* dc) {
  dc->FillSolidRect(CRect(0, 0, kPaneWidth, 200), Background());
  const CRect plot(60, 12, 600, 170);
  Bar bar;
  DrawSessionFrame(bar, dc, plot, true);
  CFont* previous = dc->SelectObject(bar.GetFont());
  bar.DrawFitYGridText(dc, plot, 3500, KeloUtility::GetFitScaleCount(), 1);
  if (previous != nullptr) dc->SelectObject(previous);
  bar.DrawTickVolumeByRatioWithState(dc, plot, 3500, {kOpen, kClose, 0, 3500, kClose, 0}, IntradaySamples(270),
                                     CKeloBaseChart::eTickMinute);
}

// Inner/outer parts above, differences with two curves below.
inline void DrawInnerOuter(CDC* dc) {
  dc->FillSolidRect(CRect(0, 0, kPaneWidth, 360), Background());
  const CRect parts(60, 12, 600, 160), diffs(60, 180, 600, 330);
  const auto samples = IntradaySamples(270);
  Bar bar;
  DrawSessionFrame(bar, dc, parts, false);
  bar.DrawTickInnerOuterChart(dc, parts, {kOpen, kClose, 0, 3000, kClose, 0}, samples, 0);
  DrawSessionFrame(bar, dc, diffs, true);
  bar.DrawTickInnerOuterUpDownChart(dc, diffs, {kOpen, kClose, -3000, 3000, kClose, 0}, samples, 0, 0, 0);
}

inline std::vector<CString> SlotLabels(int count, const char* const* names) {
  std::vector<CString> labels;
  for (int i = 0; i < count; ++i) labels.emplace_back(names[i]);
  return labels;
}

// An up/down bar chart of 24 slots through the object's layers.
inline void DrawUpDown(CDC* dc) {
  Bar bar;
  bar.SetYCells(4);  // an even cell count puts the middle label on the zero line
  static const char* const kNames[] = {"1",  "", "", "4",  "", "", "7",  "", "", "10", "", "",
                                       "13", "", "", "16", "", "", "19", "", "", "22", "", ""};
  bar.SetXInfor(SlotLabels(24, kNames));
  CKeloBaseChart::_SDataInfor data{500, 0, -500, 24, 100, {}};
  for (int i = 0; i < 24; ++i) {
    data.values.push_back(static_cast<std::int32_t>(std::sin(i / 3.0) * 420 + (i % 5) * 9 - 18));
  }
  data.values[5] = 0;
  data.values[6] = 2;
  bar.DrawEasyUpDownBarChart(dc, CRect(0, 0, 600, 300), data);
}

// Twelve groups of three bars, with an appended layer of two bars drawn over them.
inline void DrawGroups(CDC* dc) {
  Bar bar;
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  bar.SetXInfor(SlotLabels(12, kMonths));
  bar.SetMultiBarSize(3);
  std::vector<Bar::BarGroupData> groups, appended;
  Series rng{11};
  for (int i = 0; i < 12; ++i) {
    groups.push_back({static_cast<std::int32_t>(200 + rng.Next() * 700),
                      static_cast<std::int32_t>(100 + rng.Next() * 600), static_cast<std::int32_t>(rng.Next() * 500)});
    appended.push_back({groups.back().value1 / 3, groups.back().value2 / 2, 0});
  }
  static Gdiplus::SolidBrush first(Gdiplus::Color(0xFFFFFFFF)), second(Gdiplus::Color(0xFFFFA040));
  bar.SetAppenedBarData(appended);
  bar.SetAppenedBarColor(&first, &second, &second);
  bar.ShowAppendedBmp(1);
  bar.DrawEasyMultiBarChart(dc, CRect(0, 0, 600, 300), 1000, 0, 12, groups, 1);
}

}  // namespace kelo::pictures
