// An outside program: draws a chart frame through the installed package and writes a PNG.
#include <kelochart/KeloChartLib.h>

#include <cstdio>

int PlatformFirst();  // PlatformFirst.cpp: glib, Xlib and cairo included before the library
int PlatformAfter();  // PlatformAfter.cpp: and after it

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: consumer OUT.png\n");
    return 2;
  }
  auto dc = CDC::CreateRaster(320, 200);
  CKeloBaseChart chart;
  CRect plot(60, 20, 300, 170);
  dc->FillSolidRect(CRect(0, 0, 320, 200),
                    CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(CKeloPalette::kLayoutBackground));
  chart.DrawAxis(dc.get(), plot);
  std::vector<std::int32_t> scale;
  KeloChartCalculate::GetReasonablePrice(3300, 3000, 2700, 100, KeloChartCalculate::GetNormalStockIndex(), scale);
  if (PlatformFirst() != 0 || PlatformAfter() != 0) return 1;
  return dc->WritePng(argv[1]) && scale.size() == 11 ? 0 : 1;
}
