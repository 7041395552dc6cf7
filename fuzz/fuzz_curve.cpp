// The curve object under hostile callers, one object per input so its layers, slot tables
// and high/low marks carry over: the tick-price curve (in one colour too) with times out of
// range and out of order and across midnight, figure curves, curve groups, XY charts, return
// regions and point marks with NaN and infinite coordinates, 0 to thousands of values, INT32
// extremes and untraded slots, between every setter of the object (pens, numbered styles,
// stored regions and points, cells, margins, font size, layers dropped). Calls go to rasters,
// recordings, SVG and PDF pages and memory DCs, the DC changing between calls. Every call
// leaves the caller's pen and font selected.
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

Curve::SDrawRange Range(Input& in, Curve& curve) {
  Curve::SDrawRange r;
  kelo::fuzz::Session(in, curve, r);
  r.minPrice = in.Int();
  r.refPrice = in.Int();
  r.maxPrice = in.Int();
  r.overflowTime = in.Int();
  return r;
}

std::vector<Curve::STickPrice> Prices(Input& in) {
  std::vector<Curve::STickPrice> v(Length(in));
  for (auto& p : v) {
    p.time = kelo::fuzz::Clock(in);
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

Gdiplus::DashStyle Dash(Input& in) { return static_cast<Gdiplus::DashStyle>(in.Pick(8)); }

// One setter of the object, any of them.
void Set(Input& in, Curve& curve) {
  switch (in.Pick(25)) {
    case 0: curve.SetCurveStyle(Dash(in), in.Float()); break;
    case 1: curve.SetDefaultCurveColor(in.U32()); break;
    case 2: curve.SetUpCurveStyle(Dash(in), in.Float()); break;
    case 3: curve.SetUpCurveColor(in.U32()); break;
    case 4: curve.SetDownCurveStyle(Dash(in), in.Float()); break;
    case 5: curve.SetDownCurveColor(in.U32()); break;
    case 6: curve.SetEqualCurveStyle(Dash(in), in.Float()); break;
    case 7: curve.SetEqualCurveColor(in.U32()); break;
    case 8: curve.SetROICurveStyle(Dash(in), in.Float()); break;
    case 9: curve.SetROICurveColor(in.U32()); break;
    case 10:
      curve.SetCurveNumColor(in.Count(), in.U32());
      curve.SetCurveNumStyle(in.Count(), Dash(in));
      break;
    case 11:
      curve.SetROICurveNumColor(in.Count(), in.U32());
      curve.SetROICurveNumWidth(in.Count(), in.Float());
      break;
    case 12:
      curve.SetROICurveNumStyle(in.Count(), Dash(in));
      curve.SetROIBrushNumColor(in.Count(), in.U32());
      break;
    case 13: {
      std::vector<std::vector<Curve::XYValue>> regions(in.Pick(5));
      for (auto& r : regions) r = Points(in);
      curve.SetRgnPointsValue(regions);
      break;
    }
    case 14:
      curve.SetShowROI(in.Int());
      curve.SetShowSpecialPoints(in.Int());
      break;
    case 15: curve.SetXCells(in.Count()); break;
    case 16: curve.SetYCells(in.Count()); break;
    case 17: curve.SetFontSize(in.Int(), in.Int()); break;
    case 18: curve.SetBkColor(in.U32()); break;
    case 19: curve.SetOffsetMinTick(in.Byte() & 1 ? 900 : in.Int()); break;
    case 20: curve.SetLineOffSet(in.Int()); break;
    case 21: curve.OnChangeSize(); break;
    case 22: curve.ReDoBmp(); break;
    case 23: curve.ChangeBaseChart(); break;
    default: kelo::fuzz::SetFrame(in, curve); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  kelo::fuzz::Surfaces surfaces(in);
  Curve curve;
  kelo::fuzz::RunCalls(in, surfaces, [&](CDC* dc, const CRect& rect) {
    switch (in.Pick(22)) {
      case 0: curve.SetBmpDeflate(in.Int(), in.Int(), in.Int(), in.Int()); break;
      case 1: curve.SetCurveNumWidth(in.U32(), in.Float()); break;
      case 2: curve.DrawBase(dc, rect, in.Int(), in.Byte() & 1); break;
      case 3: curve.DrawBaseNew(dc, rect, in.Int(), in.Int(), in.Int(), in.Byte() & 1); break;
      case 4: curve.DrawTickPrice(dc, rect, Range(in, curve), Prices(in), Step(in), in.Count()); break;
      case 5: curve.DrawFigureCurve(dc, rect, in.Int(), in.Int(), in.Int(), Ints(in), in.Byte() & 1); break;
      case 6: curve.DrawFigureCurveEx(dc, rect, in.Int(), in.Int(), in.Int(), Ints(in), in.Byte() & 1); break;
      case 7: {
        CKeloBaseChart::_SDataInfor info;
        info.maxValue = in.Int();
        info.baseValue = in.Int();
        info.minValue = in.Int();
        info.totalCount = in.Count();
        info.priceScale = in.Int();
        info.values = Ints(in);
        (in.Byte() & 1) ? curve.DrawDivideFigureCurve(dc, rect, info, in.Int())
                        : curve.DrawDivideFigureUpDownCurve(dc, rect, info, in.Int());
        break;
      }
      case 8: curve.DrawXYCurve(dc, rect, in.Int(), in.Int(), in.Int(), in.Int(), Points(in)); break;
      case 9: curve.DrawROIRgn(dc, rect, in.Int(), in.Int(), in.Int(), in.Int(), Points(in)); break;
      case 10: {
        std::vector<Curve::EasyPoint> marks(in.Pick(8));
        for (auto& m : marks) m = {in.Float(), in.Float(), Gdiplus::Color(in.U32()), in.Float()};
        curve.SetEasyPoints(marks);
        curve.DrawEasyPoints(dc, rect, in.Int(), in.Int(), in.Int(), in.Int());
        break;
      }
      case 11: {
        std::vector<std::vector<Curve::XYValue>> xy(in.Pick(4));
        for (auto& c : xy) c = Points(in);
        curve.DrawEasyXYChart(dc, rect, in.Int(), in.Int(), in.Count(), in.Int(), in.Int(), in.Count(), xy);
        break;
      }
      case 12: curve.DrawPoints(dc, rect, in.Int(), in.Int(), in.Int(), in.Int(), Points(in)); break;
      case 13: curve.DrawEasyCurveGroupChart(dc, rect, in.Int(), in.Int(), in.Int(), Curves(in), in.Int()); break;
      case 14:
        curve.DrawEasyCurveGroupChartNew(dc, rect, in.Int(), in.Int(), in.Int(), Curves(in), in.Int(), in.Int());
        break;
      case 15: curve.UpdateCurveGroupData(dc, rect, in.Int(), in.Int(), in.Int(), Curves(in), in.Int()); break;
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
        (in.Byte() & 1) ? curve.DrawEasyCurveGroupChartEx(dc, rect, groups)
                        : curve.UpdateCurveGroupDataEx(dc, rect, groups);
        break;
      }
      case 17: {
        std::deque<Curve::CurveCombine> combos(in.Pick(3));
        for (auto& c : combos)
          c = {kelo::fuzz::PaneFor(in, dc, in.Rect()),
               Range(in, curve),
               Prices(in),
               Gdiplus::Color(in.U32()),
               Step(in),
               in.Count()};
        curve.DrawTickPriceCombine(dc, combos);
        break;
      }
      case 18:
      case 20: Set(in, curve); break;  // setters twice as often as any one drawing
      case 21: {
        // Stored return regions in numbered styles, drawn by the whole XY chart.
        std::vector<std::vector<Curve::XYValue>> regions(in.Pick(4));
        for (auto& r : regions) r = Points(in);
        curve.SetRgnPointsValue(regions);
        for (int i = in.Pick(4); i > 0; --i) Set(in, curve);
        curve.DrawEasyXYChart(dc, rect, in.Int(), in.Int(), in.Count(), in.Int(), in.Int(), in.Count(), {Points(in)});
        break;
      }
      case 19:
        curve.DrawTickPrice(dc, rect, Range(in, curve), Prices(in), Gdiplus::Color(in.U32()), Step(in), in.Count());
        break;
    }
  });
  return 0;
}
