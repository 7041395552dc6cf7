// The chart frame's Y and X grids and labels on one chart object, so that the label layout
// caches carry over between calls: hostile counts, values, rectangles, decimals and label
// lists of any length. Every call leaves the caller's pen and font selected.
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>

#include "FuzzDC.h"

using kelo::fuzz::Input;

namespace {

std::vector<CString> Labels(Input& in) {
  std::vector<CString> labels;
  const std::size_t n = in.Size(12, 65537);  // past the label limit now and then
  labels.reserve(n);
  const CString text(in.Text().c_str());
  for (std::size_t i = 0; i < n; ++i) labels.push_back(i < 12 ? CString(in.Text().c_str()) : text);
  return labels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  kelo::fuzz::Surfaces surfaces(in);
  CKeloBaseChart chart;
  kelo::fuzz::RunCalls(in, surfaces, [&](CDC* dc, const CRect& rect) {
    switch (in.Pick(20)) {
      case 0: chart.SetFontSize(in.Int(), in.Int()); break;
      case 1: chart.SetBmpDeflate(in.Int(), in.Int(), in.Int(), in.Int()); break;
      case 2: chart.SetXCells(in.Count()); break;
      case 3: chart.SetYCells(in.Count()); break;
      case 4: chart.SetOverDrawLine(in.Byte() & 1); break;
      case 5: chart.SetYLinePen(in.Int(), in.Int(), in.U32()); break;
      case 6: chart.DrawYGrid(dc, rect, in.Count(), in.Int()); break;
      case 7: chart.DrawYGridText(dc, rect, in.Double(), in.Double()); break;
      case 8: chart.DrawYGridTextEx(dc, rect, in.Double(), in.Double(), in.Double(), in.Count(), in.Count()); break;
      case 9: chart.DrawSymYGridText(dc, rect, in.Double(), in.Double(), in.Count()); break;
      case 10: chart.DrawFitYGridText(dc, rect, in.Int64(), in.Count(), in.Byte() & 1); break;
      case 11:
        chart.DrawJumpYGridText(dc, rect, in.Double(), in.Double(), in.Double(), in.Count(), in.Byte() & 1);
        break;
      case 12:
        chart.DrawYGridTextBylossBenefit(dc, rect, in.Double(), in.Double(), in.Double(), in.Double(), in.Count());
        break;
      case 13: chart.DrawXGrid(dc, rect, in.Count(), in.Byte() & 1); break;
      case 14: chart.DrawXSubXGrid(dc, rect, in.Count(), in.Byte() & 1); break;
      case 15: chart.DrawXSubXGrid(dc, rect, in.Count(), in.Int(), in.Int(), in.Byte() & 1); break;
      case 16: (in.Byte() & 1) ? chart.SetXInfor(Labels(in)) : chart.SetXInforNew(Labels(in)); break;
      case 17: chart.DrawXGridText(dc, rect, in.Byte() & 1); break;
      case 18:
        (in.Byte() & 1) ? chart.DrawXGridTextNew(dc, rect, 0, 0, 0) : chart.DrawXGridTextString(dc, rect, in.Count());
        break;
      case 19:
        chart.DrawXGridTextWithRange(dc, rect, in.Double(), in.Double(), in.Count(), in.Int(), in.Count());
        break;
    }
  });
  return 0;
}
