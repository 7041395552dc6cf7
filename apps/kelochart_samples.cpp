// kelochart-samples: renders sample charts of what the library draws into a folder, and
// prints the price scale it computes for the sample instrument.
//
//   kelochart-samples [OUT_DIR]     (default: out)
#include <kelochart/KeloChartLib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Chart = CKeloBaseChart;

COLORREF Background() { return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4); }

// The sample instrument: a listed stock, prices in hundredths, reference price 30.00 and a
// trading day whose raw high and low were 33.12 and 26.93.
struct SampleInstrument {
  std::int32_t priceScale = 100;
  std::int32_t reference = 3000;
  std::int32_t rawHigh = 3312;
  std::int32_t rawLow = 2693;
  unsigned category = KeloChartCalculate::GetNormalStockIndex();
};

struct PriceAxis {
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  double tick = 0;
  std::vector<std::int32_t> scale;
};

// The client's first step of a paint: move the raw bounds onto the tick grid, then lay the
// scale lines around the reference price.
PriceAxis ComputePriceAxis(const SampleInstrument& s) {
  PriceAxis axis;
  axis.top = KeloChartCalculate::GetReasonableMaxPrice(s.rawHigh, s.priceScale, s.category);
  axis.bottom = KeloChartCalculate::GetReasonableMinPrice(s.rawLow, s.priceScale, s.category);
  axis.tick = KeloChartCalculate::GetReasonablePrice(axis.top, s.reference, axis.bottom, s.priceScale,
                                                    s.category, axis.scale);
  return axis;
}

void PrintPriceAxis(const SampleInstrument& s, const PriceAxis& axis) {
  std::printf("price axis of the sample stock (reference %.2f, raw high %.2f, raw low %.2f):\n",
              s.reference / 100.0, s.rawHigh / 100.0, s.rawLow / 100.0);
  std::printf("  reasonable top %.2f, bottom %.2f, tick %.2f\n  scale:", axis.top / 100.0,
              axis.bottom / 100.0, axis.tick);
  for (auto p : axis.scale) std::printf(" %.2f", p / 100.0);
  std::printf("\n");
}

// The plot rectangle inside a pane, from the chart's margins in character cells.
CRect PlotOf(Chart& chart, const CRect& pane) {
  int l = 0, t = 0, r = 0, b = 0;
  chart.GetBmpDeflatePixel(l, t, r, b);
  return CRect(pane.left + l, pane.top + t, pane.right - r, pane.bottom - b);
}

bool WriteFrameSample(const std::string& path) {
  auto dc = CDC::CreateRaster(480, 260);
  dc->FillSolidRect(CRect(0, 0, 480, 260), Background());
  Chart chart;
  chart.SetOverDrawLine(TRUE);
  CRect plot = PlotOf(chart, CRect(0, 0, 480, 260));

  CFont* old = dc->SelectObject(chart.GetFont());
  dc->SetBkMode(TRANSPARENT);
  chart.DrawAxis(dc.get(), plot);
  // Three special-position lines: the last price, a time mark, and a target level.
  chart.SetSpecialPosLinePen(2, PS_DASH, 1, RGB(0, 192, 255));
  chart.SetSpecialPosLinePen(3, PS_DOT, 1, RGB(255, 200, 0));
  chart.DrawSpecialPosLine(dc.get(), plot.left, plot.top + 70, plot.right, plot.top + 70, 1);
  chart.DrawSpecialPosLine(dc.get(), plot.left + 250, plot.top, plot.left + 250, plot.bottom, 2);
  chart.DrawSpecialPosLine(dc.get(), plot.left, plot.top + 130, plot.right, plot.top + 130, 3);

  CRect title(plot.left + 6, plot.top + 4, plot.right - 6, plot.top + 4 + chart.GetFontHeight() + 2);
  dc->SetTextColor(RGB(230, 230, 230));
  dc->DrawText(CString("2330 台積電  frame, axes and special lines"), &title, DT_LEFT);
  dc->SelectObject(old);
  return dc->WritePng(path);
}

// The frame of an intraday price pane over a volume pane, 09:00 to 13:30.
bool WriteIntradayFrameSample(const std::string& path, const SampleInstrument& s, const PriceAxis& axis) {
  const int width = 800, height = 560, split = 380;
  auto dc = CDC::CreateRaster(width, height);
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
  price.DrawXGridByTime(dc.get(), pricePlot, end, start, lines, 0, 0, Chart::eTickMinute);
  Chart::_SDataInfor data;
  data.maxValue = axis.top;
  data.baseValue = s.reference;
  data.minValue = axis.bottom;
  data.priceScale = s.priceScale;
  data.values = axis.scale;
  price.DrawHorizontalLineWithTextByRange(dc.get(), pricePlot, data, 0xFFFFFFFF);
  price.DrawAxis(dc.get(), pricePlot);
  // The last trade as a special-position line.
  int lastY = pricePlot.top + pricePlot.Height() / 2 - 40;
  price.DrawSpecialPosLine(dc.get(), pricePlot.left, lastY, pricePlot.right, lastY, 1);

  // Volume pane with the time labels under it.
  Chart volume;
  volume.SetBmpDeflate(8, 1, 9, 2);
  volume.SetLeftUnit(CString("張"), 0);
  volume.SetRightUnit(CString("億"));
  CRect volumePlot = PlotOf(volume, CRect(0, split, width, height));
  volume.DrawXGridByTime(dc.get(), volumePlot, end, start, lines, 0, 0, Chart::eTickMinute);
  // Time labels clear their strip with the background, so they go before the unit texts
  // that sit level with the bottom line.
  volume.SetXInfor(labels);
  volume.DrawXGridTextByTime(dc.get(), volumePlot, end, start, 0, Chart::eTickMinute);
  volume.DrawHorizontalText(dc.get(), volumePlot, 1860000, 0, 4, TRUE, TRUE, TRUE, 0, TRUE, 0xFFFFFFFF);
  volume.DrawAxis(dc.get(), volumePlot);

  dc->SelectObject(old);
  return dc->WritePng(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::printf("usage: kelochart-samples [OUT_DIR]\n"
                "Renders the sample charts as PNG files into OUT_DIR (default: out) and prints\n"
                "the price scale computed for the sample stock.\n");
    return 0;
  }
  std::filesystem::path dir = argc > 1 ? argv[1] : "out";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "kelochart-samples: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
    return 1;
  }

  SampleInstrument stock;
  PriceAxis axis = ComputePriceAxis(stock);
  PrintPriceAxis(stock, axis);

  struct Job {
    const char* file;
    bool ok;
  };
  Job jobs[] = {
      {"frame.png", WriteFrameSample((dir / "frame.png").string())},
      {"intraday_frame.png", WriteIntradayFrameSample((dir / "intraday_frame.png").string(), stock, axis)},
  };
  int failures = 0;
  for (const auto& job : jobs) {
    std::printf("%s %s\n", job.ok ? "wrote" : "FAILED to write", (dir / job.file).c_str());
    failures += job.ok ? 0 : 1;
  }
  return failures == 0 ? 0 : 1;
}
