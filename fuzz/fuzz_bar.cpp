// The bar object under hostile callers, one object per input so its layers and bar slot
// tables carry over: value bars, state bars, up/down bars, grouped bars, tick volumes and
// values with times out of range and out of order, start after end, slot lengths of zero,
// negative or huge, 0 to thousands of samples, INT64 extremes. Every call leaves the
// caller's pen and font selected.
#include <vector>

#include <kelochart/bar/KeloBaseBar.h>

#include "FuzzDC.h"

using kelo::fuzz::Input;
using Bar = CKeloBaseBar;

namespace {

// Up to 24 samples mostly, now and then 50,000 to 100,000.
std::size_t Length(Input& in) { return in.Size(24, 100000); }

Bar::SDrawRange Range(Input& in) {
  Bar::SDrawRange r;
  r.startTime = in.Byte() < 128 ? 90000 : in.Int();
  r.endTime = in.Byte() < 128 ? 133000 : in.Int();
  r.minValue = in.Int64();
  r.maxValue = in.Int64();
  r.overflowTime = in.Int();
  return r;
}

std::vector<Bar::STickVolume> Volumes(Input& in) {
  std::vector<Bar::STickVolume> v(Length(in));
  for (auto& s : v) {
    s.time = in.Byte() < 200 ? 90000 + (in.Byte() % 44) * 100 : in.Int();
    s.innerVolume = in.Int64();
    s.outerVolume = in.Int64();
    s.volume = in.Int64();
    s.state = in.Count();
    s.innerCount = in.Int();
    s.outerCount = in.Int();
    s.diffVolume = in.Int64();
    s.curve1Volume = in.Int64();
    s.curve2Volume = in.Int64();
  }
  return v;
}

std::vector<Bar::STickValue> Values(Input& in) {
  std::vector<Bar::STickValue> v(Length(in));
  for (auto& s : v) s = {in.Int(), in.Int64(), in.Count()};
  return v;
}

Bar::ETickType Step(Input& in) {
  static constexpr std::int32_t kSteps[] = {60, 1, 0, -60, 86400, 2147483647};
  return static_cast<Bar::ETickType>(kSteps[in.Byte() % 6]);
}

CKeloBaseChart::_SDataInfor Data(Input& in) {
  CKeloBaseChart::_SDataInfor d;
  d.maxValue = in.Int();
  d.baseValue = in.Int();
  d.minValue = in.Int();
  d.totalCount = in.Count();
  d.priceScale = in.Int();
  d.values.resize(Length(in));
  for (auto& v : d.values) v = in.Int();
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  auto dc = kelo::fuzz::MakeDC(in);
  Bar bar;
  kelo::fuzz::RunCalls(in, dc.get(), [&](const CRect& rect) {
    std::vector<std::int32_t> ints(Length(in));
    for (auto& v : ints) v = in.Int();
    std::vector<Bar::VolumeInOut> states(Length(in));
    for (auto& s : states) s = {in.Int(), in.Count()};
    std::vector<Bar::BarGroupData> groups(Length(in));
    for (auto& g : groups) g = {in.Int(), in.Int(), in.Int()};
    switch (in.Pick(20)) {
      case 0: bar.SetBmpDeflate(in.Int(), in.Int(), in.Int(), in.Int()); break;
      case 1: bar.SetMultiBarSize(in.U32()); break;
      case 2: bar.DrawBase(dc.get(), rect, in.Int(), in.Int(), in.Int(), in.Byte() & 1, in.Byte() & 1, in.Int()); break;
      case 3: bar.DrawBaseL(dc.get(), rect, in.Int()); break;
      case 4: bar.DrawBarChart(dc.get(), rect, in.Int(), in.Int(), in.Int(), ints); break;
      case 5: bar.DrawBarChartWithState(dc.get(), rect, in.Int(), in.Int(), in.Int(), states); break;
      case 6: bar.DrawBarChartUpDown(dc.get(), rect, Data(in)); break;
      case 7: bar.DrawEasyMultiBarChart(dc.get(), rect, in.Int(), in.Int(), in.Int(), groups, in.Int()); break;
      case 8: bar.DrawEasyUpDownBarChart(dc.get(), rect, Data(in)); break;
      case 9: bar.UpdateMultiBarData(dc.get(), rect, in.Int(), in.Int(), in.Int(), groups); break;
      case 10: bar.UpdateUpDownBarChart(dc.get(), rect, Data(in)); break;
      case 11: bar.DrawBarChartByRatio(dc.get(), rect, in.Int(), 0, in.Int(), in.Int(), ints, in.U32()); break;
      case 12: bar.DrawBarCharByRatiotWithState(dc.get(), rect, in.Int(), in.Int(), in.Int(), states); break;
      case 13: bar.DrawTickVolume(dc.get(), rect, Range(in), Volumes(in), Step(in)); break;
      case 14: bar.DrawTickVolumeWithState(dc.get(), rect, Range(in), Volumes(in), Step(in)); break;
      case 15: (in.Byte() & 1) ? bar.DrawTickValue(dc.get(), rect, Range(in), Values(in), Step(in))
                               : bar.DrawTickValueWithState(dc.get(), rect, Range(in), Values(in), Step(in)); break;
      case 16: bar.DrawTickVolumeByRatio(dc.get(), rect, in.Int64(), Range(in), Volumes(in), Step(in)); break;
      case 17: bar.DrawTickVolumeByRatioWithState(dc.get(), rect, in.Int64(), Range(in), Volumes(in), Step(in)); break;
      case 18: bar.DrawTickInnerOuterChart(dc.get(), rect, Range(in), Volumes(in), in.Int()); break;
      case 19: bar.DrawTickInnerOuterUpDownChart(dc.get(), rect, Range(in), Volumes(in), in.Int(), in.Int(), in.Int()); break;
    }
  });
  return 0;
}
