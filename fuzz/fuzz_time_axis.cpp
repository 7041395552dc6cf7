// The time axis on one chart object: clock times out of range and out of order, start after
// end, slot lengths of zero, negative or huge, offsets, grids and labels, so that the slot
// table and label layout caches carry over. Every call leaves the caller's pen and font
// selected.
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>

#include "FuzzDC.h"

using kelo::fuzz::Input;
using Tick = CKeloBaseChart::ETickType;

namespace {

std::int32_t Time(Input& in) {
  if (in.Byte() < 64) return in.Int();
  return (in.Byte() % 26) * 10000 + (in.Byte() % 60) * 100 + (in.Byte() % 60);
}

Tick Step(Input& in) {
  static constexpr std::int32_t kSteps[] = {60, 1, 0, -60, 300, 86400, 2147483647, -2147483647 - 1};
  return static_cast<Tick>(in.Byte() < 200 ? kSteps[in.Byte() % 8] : in.Int());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  kelo::fuzz::Surfaces surfaces(in);
  CKeloBaseChart chart;
  kelo::fuzz::RunCalls(in, surfaces, [&](CDC* dc, const CRect& rect) {
    switch (in.Pick(9)) {
      case 0: chart.SetOffsetMinTick(in.Byte() < 128 ? in.Int() : in.Byte() % 120); break;
      case 1: chart.SetTickType(Step(in)); break;
      case 2: chart.GetXPosByTime(rect, Time(in), Time(in), Time(in), Step(in), in.Byte() & 1); break;
      case 3: {
        std::int32_t time = 0;
        chart.GetTimeByXPos(in.Int(), time);
        break;
      }
      case 4: {
        std::vector<CKeloBaseChart::STimeLine> lines(in.Byte() % 16);
        for (auto& l : lines) l = {Time(in), in.Byte() % 3};
        chart.DrawXGridByTime(dc, rect, Time(in), Time(in), lines, in.Byte() & 1, in.Byte() & 1, Step(in));
        break;
      }
      case 5: {
        std::vector<CKeloBaseChart::STimeString> labels(in.Size(16, 65537));
        for (std::size_t i = 0; i < labels.size() && i < 16; ++i)
          labels[i] = {Time(in), CString(in.Text().c_str()), in.Byte() & 1};
        chart.SetXInfor(std::move(labels));
        break;
      }
      case 6: chart.DrawXGridTextByTime(dc, rect, Time(in), Time(in), in.Byte() & 1, Step(in)); break;
      case 7: chart.CountGridOffset(in.Int(), in.Int(), in.Int()); break;
      case 8: chart.CountLineOffsetStep(in.Int(), in.Int()); break;
    }
  });
  return 0;
}
