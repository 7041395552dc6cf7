// One layout of the K-line chart: panes, slots, axes, labels and the indicator series, built
// from the chart's settings and bars without a device context. Two scenes with the same frame
// (everything but the series) let a change at the end of the series repaint only the tail.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <kelochart/kline/KLineSeries.h>

#include "kline/KLineGeometry.h"

namespace kelo::detail {

// What the scene is built from.
struct KLineSettings {
  CRect rect;
  int marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
  int fontHeight = 14, fontWidth = 7;
  std::int32_t visibleCount = 0;
  std::int32_t priceScale = 100;
  unsigned int category = 0;
  std::uint32_t overlays = 0;  // CKeloKLine::EOverlay bits
  int lowerPane = 0;           // CKeloKLine::ELowerPane
  std::vector<int> maPeriods;
};

struct KLineScene {
  CRect rect;
  KLinePanes panes;
  SlotAxis slots;
  std::size_t first = 0;  // bar index in slot 0
  std::size_t shown = 0;  // bars shown
  int bodyWidth = 0;
  PriceAxis price;
  ValueRows priceRows, lowerRows;
  std::int64_t volumeTop = 1;
  std::vector<double> lowerLines;  // grid values of the lower pane
  TimeAxisLayout time;
  int lowerPane = 0;
  std::uint32_t overlays = 0;

  // The series, each with the palette entry (ARGB) of its pen, in drawing order.
  struct Line {
    KeloKLine::SSeries series;
    std::uint32_t argb = 0;
    std::string name;
    int pane = 0;  // 0 price, 1 volume, 2 lower
  };
  std::vector<Line> lines;
  KeloKLine::SSeries histogram;  // the MACD histogram (lower pane) when shown

  // Everything the pixels outside the tail depend on, apart from the series.
  bool SameFrame(const KLineScene& o) const;
};

KLineScene BuildScene(const KLineSettings& settings, const std::vector<KeloKLine::SKBar>& bars);

}  // namespace kelo::detail
