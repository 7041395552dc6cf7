// The sample charts: a chart frame and the frame of an intraday price and volume pane.
#include "SampleCharts.h"

#include <cstdio>

namespace kelo::samples {
namespace {

using Chart = CKeloBaseChart;

COLORREF Background() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }

// The plot rectangle inside a pane, from the chart's margins in character cells.
CRect PlotOf(Chart& chart, const CRect& pane) {
  int l = 0, t = 0, r = 0, b = 0;
  chart.GetBmpDeflatePixel(l, t, r, b);
  return CRect(pane.left + l, pane.top + t, pane.right - r, pane.bottom - b);
}

}  // namespace

PriceAxis ComputePriceAxis(const SampleInstrument& s) {
  PriceAxis axis;
  axis.top = KeloChartCalculate::GetReasonableMaxPrice(s.rawHigh, s.priceScale, s.category);
  axis.bottom = KeloChartCalculate::GetReasonableMinPrice(s.rawLow, s.priceScale, s.category);
  axis.tick =
      KeloChartCalculate::GetReasonablePrice(axis.top, s.reference, axis.bottom, s.priceScale, s.category, axis.scale);
  return axis;
}

void DrawFrameSample(CDC* dc) {
  dc->FillSolidRect(CRect(0, 0, kFrameWidth, kFrameHeight), Background());
  Chart chart;
  chart.SetOverDrawLine(TRUE);
  CRect plot = PlotOf(chart, CRect(0, 0, kFrameWidth, kFrameHeight));

  CFont* old = dc->SelectObject(chart.GetFont());
  dc->SetBkMode(TRANSPARENT);
  chart.DrawAxis(dc, plot);
  // Three special-position lines: the last price, a time mark, and a target level.
  chart.SetSpecialPosLinePen(2, PS_DASH, 1, RGB(0, 192, 255));
  chart.SetSpecialPosLinePen(3, PS_DOT, 1, RGB(255, 200, 0));
  chart.DrawSpecialPosLine(dc, plot.left, plot.top + 70, plot.right, plot.top + 70, 1);
  chart.DrawSpecialPosLine(dc, plot.left + 250, plot.top, plot.left + 250, plot.bottom, 2);
  chart.DrawSpecialPosLine(dc, plot.left, plot.top + 130, plot.right, plot.top + 130, 3);

  CRect title(plot.left + 6, plot.top + 4, plot.right - 6, plot.top + 4 + chart.GetFontHeight() + 2);
  dc->SetTextColor(RGB(230, 230, 230));
  dc->DrawText(CString("2330 台積電  frame, axes and special lines"), &title, DT_LEFT);
  dc->SelectObject(old);
}

// The frame of an intraday price pane over a volume pane, 09:00 to 13:30.
void DrawIntradayFrameSample(CDC* dc, const SampleInstrument& s, const PriceAxis& axis) {
  const int width = kIntradayWidth, height = kIntradayHeight, split = 380;
  dc->FillSolidRect(CRect(0, 0, width, height), Background());

  const std::int32_t start = 90000, end = 133000;
  std::vector<Chart::STimeLine> lines;
  std::vector<Chart::STimeString> labels;
  for (std::int32_t h = 9; h <= 13; ++h) {
    for (std::int32_t m : {0, 30}) {
      std::int32_t t = h * 10000 + m * 100;
      if (t <= start || t > end) continue;
      lines.push_back({t, m == 0 ? 0 : 1});
    }
  }
  for (std::int32_t h = 9; h <= 13; ++h) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d:00", h);
    labels.push_back({h * 10000, CString(text), 0});
    std::snprintf(text, sizeof text, "%02d:30", h);
    labels.push_back({h * 10000 + 3000, CString(text), 1});
  }

  // Price pane.
  Chart price;
  price.SetBmpDeflate(8, 1, 9, 1);
  CRect pricePlot = PlotOf(price, CRect(0, 0, width, split));
  CFont* old = dc->SelectObject(price.GetFont());
  dc->SetBkMode(TRANSPARENT);
  price.DrawXGridByTime(dc, pricePlot, end, start, lines, 0, 0, Chart::eTickMinute);
  Chart::_SDataInfor data;
  data.maxValue = axis.top;
  data.baseValue = s.reference;
  data.minValue = axis.bottom;
  data.priceScale = s.priceScale;
  data.values = axis.scale;
  price.DrawHorizontalLineWithTextByRange(dc, pricePlot, data, 0xFFFFFFFF);
  price.DrawAxis(dc, pricePlot);
  // The last trade as a special-position line.
  int lastY = pricePlot.top + pricePlot.Height() / 2 - 40;
  price.DrawSpecialPosLine(dc, pricePlot.left, lastY, pricePlot.right, lastY, 1);

  // Volume pane with the time labels under it.
  Chart volume;
  volume.SetBmpDeflate(8, 1, 9, 2);
  volume.SetLeftUnit(CString("張"), 0);
  volume.SetRightUnit(CString("億"));
  CRect volumePlot = PlotOf(volume, CRect(0, split, width, height));
  volume.DrawXGridByTime(dc, volumePlot, end, start, lines, 0, 0, Chart::eTickMinute);
  // Time labels clear their strip with the background, so they go before the unit texts
  // that sit level with the bottom line.
  volume.SetXInfor(labels);
  volume.DrawXGridTextByTime(dc, volumePlot, end, start, 0, Chart::eTickMinute);
  volume.DrawHorizontalText(dc, volumePlot, 1860000, 0, 4, TRUE, TRUE, TRUE, 0, TRUE, 0xFFFFFFFF);
  volume.DrawAxis(dc, volumePlot);

  dc->SelectObject(old);
}

}  // namespace kelo::samples
