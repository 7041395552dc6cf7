// The bar object under hostile callers, one object per input so its layers and bar slot
// tables carry over: value bars, state bars, up/down bars, grouped bars, tick volumes and
// values with times out of range and out of order and across midnight, start after end,
// slot lengths of zero, negative or huge, 0 to thousands of samples, INT64 extremes, between
// every setter of the object (pens, bar and appended-layer brushes, null ones included, the
// appended layer shown with its data, flags, cells, margins, layers dropped). Calls go to
// rasters, recordings, SVG and PDF pages and memory DCs, the DC changing between calls. Every
// call leaves the caller's pen and font selected.
#include <vector>

#include <kelochart/bar/KeloBaseBar.h>

#include "FuzzDC.h"

using kelo::fuzz::Input;
using Bar = CKeloBaseBar;

namespace {

// Up to 24 samples mostly, now and then 50,000 to 100,000.
std::size_t Length(Input& in) { return in.Size(24, 100000); }

Bar::SDrawRange Range(Input& in, Bar& bar) {
  Bar::SDrawRange r;
  kelo::fuzz::Session(in, bar, r);
  r.minValue = in.Int64();
  r.maxValue = in.Int64();
  r.overflowTime = in.Int();
  return r;
}

std::vector<Bar::STickVolume> Volumes(Input& in) {
  std::vector<Bar::STickVolume> v(Length(in));
  for (auto& s : v) {
    s.time = kelo::fuzz::Clock(in);
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

Gdiplus::DashStyle Dash(Input& in) { return static_cast<Gdiplus::DashStyle>(in.Pick(8)); }

// Brushes the object keeps pointers to (they outlive it), or none.
Gdiplus::SolidBrush* Brush(Input& in) {
  static Gdiplus::SolidBrush brushes[] = {Gdiplus::SolidBrush(Gdiplus::Color(0xFFFF0000)),
                                          Gdiplus::SolidBrush(Gdiplus::Color(0x8000FF00)),
                                          Gdiplus::SolidBrush(Gdiplus::Color(0))};
  const unsigned i = in.Pick(4);
  return i < 3 ? &brushes[i] : nullptr;
}

// One setter of the object, any of them.
void Set(Input& in, Bar& bar) {
  switch (in.Pick(29)) {
    case 0: bar.SetBkColor(in.U32()); break;
    case 1: bar.SetUpDownBarColor(in.U32(), in.U32()); break;
    case 2: bar.SetBarColors(in.Count(), Brush(in)); break;
    case 3:
      bar.SetShowXGrid(in.Int());
      bar.SetShowYRightInfor(in.Int());
      break;
    case 4: bar.SetHorizontalOffset(in.Int()); break;
    case 5: bar.SetYTextBeDoubleValue(in.Int()); break;
    case 6: bar.ShowAppendedBmp(in.Byte() < 192 ? 1 : in.Int()); break;
    case 7: {
      std::vector<Bar::BarGroupData> groups(Length(in));
      for (auto& g : groups) g = {in.Int(), in.Int(), in.Int()};
      bar.SetAppenedBarData(groups);
      break;
    }
    case 8: bar.SetAppenedBarColor(Brush(in), Brush(in), Brush(in)); break;
    case 9:
      bar.SetInnerBarStyle(Dash(in), in.Float());
      bar.SetInnerBarColor(in.U32());
      break;
    case 10:
      bar.SetOuterBarStyle(Dash(in), in.Float());
      bar.SetOuterBarColor(in.U32());
      break;
    case 11:
      bar.SetNonConfirmBarStyle(Dash(in), in.Float());
      bar.SetNonConfirmBarColor(in.U32());
      break;
    case 12:
      bar.SetUpBarStyle(Dash(in), in.Float());
      bar.SetUpBarColor(in.U32());
      break;
    case 13:
      bar.SetDownBarStyle(Dash(in), in.Float());
      bar.SetDownBarColor(in.U32());
      break;
    case 14:
      bar.SetVolumeBarStyle(Dash(in), in.Float());
      bar.SetVolumeBarColor(in.U32());
      break;
    case 15:
      bar.SetValueBarStyle(Dash(in), in.Float());
      bar.SetValueBarColor(in.U32());
      break;
    case 16:
      bar.SetVolumeCurveStyle(Dash(in), in.Float());
      bar.SetVolumeCurveColor(in.U32());
      break;
    case 17:
      bar.SetValueCurveStyle(Dash(in), in.Float());
      bar.SetValueCurveColor(in.U32());
      break;
    case 18: bar.SetXCells(in.Count()); break;
    case 19: bar.SetYCells(in.Count()); break;
    case 20: bar.SetFontSize(in.Int(), in.Int()); break;
    case 21: bar.SetOffsetMinTick(in.Byte() & 1 ? 900 : in.Int()); break;
    case 22: bar.OnChangeSize(); break;
    case 23: bar.ChangeBaseChart(); break;
    case 24: bar.SetMultiBarSize(in.U32()); break;
    case 25: bar.SetBmpDeflate(in.Int(), in.Int(), in.Int(), in.Int()); break;
    case 26: bar.GetDrawTickVolumeByRatioIsCorrect(in.Int64(), Range(in, bar), Volumes(in)); break;
    case 27: bar.SetLineOffSet(in.Int()); break;
    default: kelo::fuzz::SetFrame(in, bar); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  kelo::fuzz::Surfaces surfaces(in);
  Bar bar;
  kelo::fuzz::RunCalls(in, surfaces, [&](CDC* dc, const CRect& rect) {
    std::vector<std::int32_t> ints(Length(in));
    for (auto& v : ints) v = in.Int();
    std::vector<Bar::VolumeInOut> states(Length(in));
    for (auto& s : states) s = {in.Int(), in.Count()};
    std::vector<Bar::BarGroupData> groups(Length(in));
    for (auto& g : groups) g = {in.Int(), in.Int(), in.Int()};
    switch (in.Pick(22)) {
      case 0: Set(in, bar); break;
      case 1: bar.DrawMultiBar(dc, rect, in.Int(), in.Int(), in.Int(), groups); break;
      case 2: bar.DrawBase(dc, rect, in.Int(), in.Int(), in.Int(), in.Byte() & 1, in.Byte() & 1, in.Int()); break;
      case 3: bar.DrawBaseL(dc, rect, in.Int()); break;
      case 4: bar.DrawBarChart(dc, rect, in.Int(), in.Int(), in.Int(), ints); break;
      case 5: bar.DrawBarChartWithState(dc, rect, in.Int(), in.Int(), in.Int(), states); break;
      case 6: bar.DrawBarChartUpDown(dc, rect, Data(in)); break;
      case 7: bar.DrawEasyMultiBarChart(dc, rect, in.Int(), in.Int(), in.Int(), groups, in.Int()); break;
      case 8: bar.DrawEasyUpDownBarChart(dc, rect, Data(in)); break;
      case 9: bar.UpdateMultiBarData(dc, rect, in.Int(), in.Int(), in.Int(), groups); break;
      case 10: bar.UpdateUpDownBarChart(dc, rect, Data(in)); break;
      case 11: bar.DrawBarChartByRatio(dc, rect, in.Int(), 0, in.Int(), in.Int(), ints, in.U32()); break;
      case 12: bar.DrawBarCharByRatiotWithState(dc, rect, in.Int(), in.Int(), in.Int(), states); break;
      case 13: bar.DrawTickVolume(dc, rect, Range(in, bar), Volumes(in), Step(in)); break;
      case 14: bar.DrawTickVolumeWithState(dc, rect, Range(in, bar), Volumes(in), Step(in)); break;
      case 15:
        (in.Byte() & 1) ? bar.DrawTickValue(dc, rect, Range(in, bar), Values(in), Step(in))
                        : bar.DrawTickValueWithState(dc, rect, Range(in, bar), Values(in), Step(in));
        break;
      case 16: bar.DrawTickVolumeByRatio(dc, rect, in.Int64(), Range(in, bar), Volumes(in), Step(in)); break;
      case 17: bar.DrawTickVolumeByRatioWithState(dc, rect, in.Int64(), Range(in, bar), Volumes(in), Step(in)); break;
      case 18: bar.DrawTickInnerOuterChart(dc, rect, Range(in, bar), Volumes(in), in.Int()); break;
      case 19:
        bar.DrawTickInnerOuterUpDownChart(dc, rect, Range(in, bar), Volumes(in), in.Int(), in.Int(), in.Int());
        break;
      case 20: Set(in, bar); break;  // setters twice as often as any one drawing
      case 21:
        // The appended layer shown, with its data and brushes (null ones too).
        bar.ShowAppendedBmp(1);
        bar.SetAppenedBarData(groups);
        bar.SetAppenedBarColor(Brush(in), Brush(in), Brush(in));
        (in.Byte() & 1) ? bar.DrawEasyMultiBarChart(dc, rect, in.Int(), in.Int(), in.Int(), groups, in.Int())
                        : bar.UpdateMultiBarData(dc, rect, in.Int(), in.Int(), in.Int(), groups);
        break;
    }
  });
  return 0;
}
