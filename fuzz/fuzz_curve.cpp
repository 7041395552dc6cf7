// The curve object under hostile callers, one object per input so its layers, slot tables
// and high/low marks carry over: the tick-price curve with times out of range and out of
// order, figure curves, curve groups, XY charts, regions and point marks with NaN and
// infinite coordinates, 0 to thousands of values, INT32 extremes and untraded slots. Every
// call leaves the caller's pen and font selected.
#include <deque>
#include <vector>

#include <kelochart/curve/KeloBaseCurve.h>

#include "FuzzDC.h"

using kelo::fuzz::Input;
using Curve = CKeloBaseCurve;

namespace {

// Up to 24 samples mostly, now and then 50,000 to 100,000.
std::size_t Length(Input& in) { return in.Size(24, 100000); }

std::int32_t Price(Input& in) { return in.Byte() < 32 ? static_cast<std::int32_t>(0x80000001) : in.Int(); }

Curve::SDrawRange Range(Input& in) {
  Curve::SDrawRange r;
  r.startTime = in.Byte() < 128 ? 90000 : in.Int();
  r.endTime = in.Byte() < 128 ? 133000 : in.Int();
  r.minPrice = in.Int();
  r.refPrice = in.Int();
  r.maxPrice = in.Int();
  r.overflowTime = in.Int();
  return r;
}

std::vector<Curve::STickPrice> Prices(Input& in) {
  std::vector<Curve::STickPrice> v(Length(in));
  for (auto& p : v) {
    p.time = in.Byte() < 200 ? 90000 + (in.Byte() % 44) * 100 : in.Int();
    p.open = Price(in);
    p.high = Price(in);
    p.low = Price(in);
    p.close = Price(in);
    p.skipOpenMark = in.Byte() & 1;
    p.highTime = in.Int();
    p.lowTime = in.Int();
  }
  return v;
}

std::vector<std::int32_t> Ints(Input& in) {
  std::vector<std::int32_t> v(Length(in));
  for (auto& x : v) x = Price(in);
  return v;
}

std::vector<Curve::XYValue> Points(Input& in) {
  std::vector<Curve::XYValue> v(Length(in));
  for (auto& p : v) p = {in.Int(), in.Int()};
  return v;
}

std::vector<std::vector<std::int32_t>> Curves(Input& in) {
  std::vector<std::vector<std::int32_t>> c(in.Pick(5));
  for (auto& v : c) v = Ints(in);
  return c;
}

Curve::ETickType Step(Input& in) {
  static constexpr std::int32_t kSteps[] = {60, 1, 0, -60, 86400, 2147483647};
  return static_cast<Curve::ETickType>(kSteps[in.Byte() % 6]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  auto dc = kelo::fuzz::MakeDC(in);
  Curve curve;
  kelo::fuzz::RunCalls(in, dc.get(), [&](const CRect& rect) {
    switch (in.Pick(18)) {
      case 0: curve.SetBmpDeflate(in.Int(), in.Int(), in.Int(), in.Int()); break;
      case 1: curve.SetCurveNumWidth(in.U32(), in.Float()); break;
      case 2: curve.DrawBase(dc.get(), rect, in.Int(), in.Byte() & 1); break;
      case 3: curve.DrawBaseNew(dc.get(), rect, in.Int(), in.Int(), in.Int(), in.Byte() & 1); break;
      case 4: curve.DrawTickPrice(dc.get(), rect, Range(in), Prices(in), Step(in), in.Count()); break;
      case 5: curve.DrawFigureCurve(dc.get(), rect, in.Int(), in.Int(), in.Int(), Ints(in), in.Byte() & 1); break;
      case 6: curve.DrawFigureCurveEx(dc.get(), rect, in.Int(), in.Int(), in.Int(), Ints(in), in.Byte() & 1); break;
      case 7: {
        CKeloBaseChart::_SDataInfor info;
        info.maxValue = in.Int();
        info.baseValue = in.Int();
        info.minValue = in.Int();
        info.totalCount = in.Count();
        info.priceScale = in.Int();
        info.values = Ints(in);
        (in.Byte() & 1) ? curve.DrawDivideFigureCurve(dc.get(), rect, info, in.Int())
                        : curve.DrawDivideFigureUpDownCurve(dc.get(), rect, info, in.Int());
        break;
      }
      case 8: curve.DrawXYCurve(dc.get(), rect, in.Int(), in.Int(), in.Int(), in.Int(), Points(in)); break;
      case 9: curve.DrawROIRgn(dc.get(), rect, in.Int(), in.Int(), in.Int(), in.Int(), Points(in)); break;
      case 10: {
        std::vector<Curve::EasyPoint> marks(in.Pick(8));
        for (auto& m : marks) m = {in.Float(), in.Float(), Gdiplus::Color(in.U32()), in.Float()};
        curve.SetEasyPoints(marks);
        curve.DrawEasyPoints(dc.get(), rect, in.Int(), in.Int(), in.Int(), in.Int());
        break;
      }
      case 11: {
        std::vector<std::vector<Curve::XYValue>> xy(in.Pick(4));
        for (auto& c : xy) c = Points(in);
        curve.DrawEasyXYChart(dc.get(), rect, in.Int(), in.Int(), in.Count(), in.Int(), in.Int(), in.Count(), xy);
        break;
      }
      case 12: curve.DrawPoints(dc.get(), rect, in.Int(), in.Int(), in.Int(), in.Int(), Points(in)); break;
      case 13: curve.DrawEasyCurveGroupChart(dc.get(), rect, in.Int(), in.Int(), in.Int(), Curves(in), in.Int()); break;
      case 14:
        curve.DrawEasyCurveGroupChartNew(dc.get(), rect, in.Int(), in.Int(), in.Int(), Curves(in), in.Int(), in.Int());
        break;
      case 15: curve.UpdateCurveGroupData(dc.get(), rect, in.Int(), in.Int(), in.Int(), Curves(in), in.Int()); break;
      case 16: {
        std::vector<Curve::SGroupCurveEx> groups(in.Pick(4));
        for (auto& g : groups) {
          g.paneYCells = in.Count();
          g.maxValue = in.Int();
          g.minValue = in.Int();
          g.slotCount = in.Int();
          g.curves = Curves(in);
          g.priceScale = in.Int();
        }
        (in.Byte() & 1) ? curve.DrawEasyCurveGroupChartEx(dc.get(), rect, groups)
                        : curve.UpdateCurveGroupDataEx(dc.get(), rect, groups);
        break;
      }
      case 17: {
        std::deque<Curve::CurveCombine> combos(in.Pick(3));
        for (auto& c : combos) c = {kelo::fuzz::PaneFor(dc.get(), in.Rect()), Range(in), Prices(in), Gdiplus::Color(in.U32()), Step(in), in.Count()};
        curve.DrawTickPriceCombine(dc.get(), combos);
        break;
      }
    }
  });
  return 0;
}
