// Sample curve charts as a client paints them: the intraday price pane of a sample stock
// (frame, time axis, reference-price axis, the day's tick-price curve and its high and low
// marks), a curve group and an XY chart with two return regions and points. The golden-image
// tests draw these pictures and the benchmarks time the same price pane.
#pragma once

#include <kelochart/KeloChartLib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace kelo::samples::curve {

using Curve = CKeloBaseCurve;

inline constexpr int kPaneWidth = 800, kPaneHeight = 420;
inline constexpr int kGroupWidth = 640, kGroupHeight = 320;
inline constexpr int kXYWidth = 640, kXYHeight = 400;
inline constexpr std::int32_t kOpen = 90000, kClose = 133000, kReference = 3000;

inline COLORREF Background() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }

inline std::int32_t ClockOfMinute(std::int32_t minute) { return (minute / 60) * 10000 + (minute % 60) * 100; }

// A trading day of one-minute slots from 09:00 to 13:29 (each slot stamped with its start) in price units of 0.01
// (ticks of 0.05): a morning rally, an afternoon slide and a late recovery, with quiet stretches whose price holds and,
// unless full is set, minutes without trades (drawn as hold lines).
inline std::vector<Curve::STickPrice> SampleTradingDay(bool full = true) {
  std::vector<Curve::STickPrice> day;
  std::uint32_t seed = 20261205;
  auto next = [&seed](std::int32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<std::int32_t>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  std::int32_t close = kReference;
  for (std::int32_t i = 0; i < 270; ++i) {
    const bool quiet = (i >= 100 && i < 108) || (i >= 200 && i < 206);
    if (!full && ((i >= 40 && i < 46) || (i >= 150 && i < 153))) continue;
    // The day's drift: up to about 32.20 by 10:10, down to about 28.70 by 12:20, then back.
    const std::int32_t target = i < 70 ? 3000 + i * 3 : i < 200 ? 3210 - (i - 70) * 4 : 2690 + (i - 200) * 4;
    const std::int32_t open = quiet ? close : close + 5 * (next(3) - 1);
    std::int32_t last = open + (quiet ? 0 : 5 * (next(5) - 2) + ((target - open) / 40) * 5);
    last = std::clamp(last, 2700, 3305);
    const std::int32_t high = quiet ? last : std::max(open, last) + 5 * next(3);
    const std::int32_t low = quiet ? last : std::min(open, last) - 5 * next(3);
    const std::int32_t time = ClockOfMinute(9 * 60 + i);
    day.push_back({time, open, std::min(high, 3310), std::max(low, 2695), last, 0, time, time});
    close = last;
  }
  return day;
}

// The price pane: time grid, the reference-price axis from the tick-size rules, axes, the
// curve and the high and low marks the chart reports, each with its price.
inline void DrawPricePane(CDC* dc, Curve& chart, const std::vector<Curve::STickPrice>& day) {
  const unsigned category = KeloChartCalculate::GetNormalStockIndex();
  std::vector<std::int32_t> scale;
  const std::int32_t top = KeloChartCalculate::GetReasonableMaxPrice(3312, 100, category);
  const std::int32_t bottom = KeloChartCalculate::GetReasonableMinPrice(2693, 100, category);
  KeloChartCalculate::GetReasonablePrice(top, kReference, bottom, 100, category, scale);

  dc->FillSolidRect(CRect(0, 0, kPaneWidth, kPaneHeight), Background());
  chart.SetBmpDeflate(8, 1, 9, 2);
  int l = 0, t = 0, r = 0, b = 0;
  chart.GetBmpDeflate(l, t, r, b);
  const CRect plot(l, t, kPaneWidth - r, kPaneHeight - b);
  CFont* oldFont = dc->SelectObject(chart.GetFont());
  dc->SetBkMode(TRANSPARENT);

  std::vector<Curve::STimeLine> lines;
  std::vector<Curve::STimeString> labels;
  for (std::int32_t minute = 9 * 60; minute <= 13 * 60 + 30; minute += 30) {
    const std::int32_t time = ClockOfMinute(minute);
    if (minute > 9 * 60) lines.push_back({time, minute % 60 == 0 ? 0 : 1});
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
    labels.push_back({time, CString(text), minute % 60 == 0 ? 0 : 1});
  }
  chart.DrawXGridByTime(dc, plot, kClose, kOpen, lines, 0, 0, Curve::eTickMinute);
  chart.SetXInfor(labels);
  chart.DrawXGridTextByTime(dc, plot, kClose, kOpen, 0, Curve::eTickMinute);
  Curve::_SDataInfor axis;
  axis.maxValue = top;
  axis.baseValue = kReference;
  axis.minValue = bottom;
  axis.priceScale = 100;
  axis.values = scale;
  chart.DrawHorizontalLineWithTextByRange(dc, plot, axis, 0xFFFFFFFF);
  chart.DrawAxis(dc, plot);

  const Curve::SDrawRange range{kOpen, kClose, bottom, kReference, top, kClose};
  chart.DrawTickPrice(dc, plot, range, day, Curve::eTickMinute, 1);

  // The marks as a client shows them: the price beside the point, pointing at it.
  for (int which : {1, 0}) {
    int x = 0, y = 0;
    std::int32_t time = 0, price = 0;
    chart.GetHighLowPointXY(which, x, y, time, price);
    if (x < 0) continue;
    char text[24];
    std::snprintf(text, sizeof text, "\xE2\x86\x90 %.2f", price / 100.0);
    const int h = chart.GetFontHeight();
    CRect place(x + 3, which ? y - 2 : y - h + 2, x + 120, which ? y - 2 + h : y + 2);
    dc->SetTextColor(which ? RGB(255, 80, 80) : RGB(80, 255, 80));
    dc->DrawText(CString(text), &place, DT_LEFT | DT_SINGLELINE);
  }
  dc->SelectObject(oldFont);
}

// A curve group: three series of 91 daily values, 0.00 to 125.00, on the layered pane. The
// half-cell insets leave nine grid cells for the 90 slots, so every tenth day falls on a grid
// line and the labels, one every second cell, read day 0, 20, ... 80.
inline void DrawCurveGroupSample(CDC* dc) {
  Curve chart;
  std::vector<CString> labels;
  for (const char* m : {"D0", "D20", "D40", "D60", "D80"}) labels.emplace_back(m);
  chart.SetXInfor(labels);
  std::vector<std::vector<std::int32_t>> curves(3);
  for (std::int32_t i = 0; i <= 90; ++i) {
    curves[0].push_back(6000 + (i * 37) % 900 + i * 40);
    curves[1].push_back(9000 - i * 50 + (i * 53) % 700);
    curves[2].push_back(3000 + ((i / 10) % 2 == 0 ? i * 25 : 2250 - i * 5) + (i * 29) % 400);
  }
  chart.DrawEasyCurveGroupChart(dc, CRect(0, 0, kGroupWidth, kGroupHeight), 12500, 0, 90, curves, 100);
}

// An XY chart: risk (x) against return (y) of two strategies, two return regions and the
// points of a few holdings in their own colours and sizes.
inline void DrawXYSample(CDC* dc) {
  Curve chart;
  using V = Curve::XYValue;
  std::vector<std::vector<V>> curves = {
      {{0, -20}, {10, 5}, {20, 18}, {30, 26}, {40, 31}, {50, 34}, {60, 36}, {70, 37}, {80, 37}, {90, 36}},
      {{0, -10}, {10, -2}, {20, 6}, {30, 12}, {40, 16}, {50, 22}, {60, 30}, {70, 38}, {80, 44}, {90, 48}},
  };
  chart.SetRgnPointsValue({{{5, 10}, {25, 30}, {45, 35}, {35, 15}}, {{55, -5}, {85, 10}, {88, -15}, {65, -25}}});
  chart.SetROIBrushNumColor(1, Gdiplus::Color(0x6000A0FF));
  chart.SetROICurveNumColor(1, Gdiplus::Color(0xFF40A0FF));
  chart.SetCurveNumWidth(0, 2.0f);
  chart.SetCurveNumStyle(1, Gdiplus::DashStyleDash);
  chart.SetEasyPoints({{15.0f, 12.0f, Gdiplus::Color(0xFFFFA000), 10.0f},
                       {33.0f, 24.5f, Gdiplus::Color(0xFFFF4040), 14.0f},
                       {72.0f, -8.0f, Gdiplus::Color(0xFF40FF40), 8.0f}});
  // Ten x cells under ten labels 0 .. 90 and eight y cells under nine labels -30 .. 50, so
  // every label sits on its grid line.
  chart.SetYCells(8);
  chart.DrawEasyXYChart(dc, CRect(0, 0, kXYWidth, kXYHeight), 90, 0, 10, 50, -30, 9, curves);
  chart.DrawPoints(dc, CRect(0, 0, kXYWidth, kXYHeight), 90, 0, 50, -30, {{20, 40}, {45, 44}});
}

}  // namespace kelo::samples::curve
