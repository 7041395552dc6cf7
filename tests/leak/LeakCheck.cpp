// Leaves nothing behind: every chart kind is made, drawn on a small raster pane and a small
// recording pane, and destroyed ten thousand times. After a warm-up that fills the caches
// kept for the process once (font cache, palette brushes, cairo's and fontconfig's own), the
// heap in use must come back within kHeapSlack, the library's live counters must not move,
// and every surface a round made (panes, memory-DC bitmaps, chart layers) must be gone when
// the round ends. The sanitizer build also runs LeakSanitizer when the program exits.
#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/KeloChartLib.h>
#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>
#include <kelochart/surface/VectorBackend.h>

#include "BarPictures.h"
#include "CurveSamples.h"
#include "surface/Limits.h"

#if defined(__SANITIZE_ADDRESS__)
#define KELO_LEAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELO_LEAK_ASAN 1
#endif
#endif
#if defined(KELO_LEAK_ASAN) && __has_include(<sanitizer/allocator_interface.h>)
#include <sanitizer/allocator_interface.h>
#elif defined(KELO_LEAK_ASAN)  // GCC 12 ships the function but not its header
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using Curve = CKeloBaseCurve;
using Bar = CKeloBaseBar;
namespace pictures = kelo::pictures;
namespace samples = kelo::samples::curve;

constexpr int kWarmUpRounds = 50;
constexpr int kRounds = 10000;
// What may differ between two readings besides a leak: a free list or the allocator's own
// bookkeeping grown once more (measured: at most 176 bytes). A part of a kind runs at least
// 700 times on each pane, so one leaked block (32 bytes or more in glibc) in one part on one
// pane leaves at least 22 KB, above the slack.
constexpr std::int64_t kHeapSlack = 16 * 1024;
// A cache of a library below may still grow after the warm-up: the K-line's glyphs filled
// some of cairo's and pixman's caches slowly and by chance (measured: 2 to 17 KB over the
// first window, nothing over the next ones in most runs). A leak grows the heap in every
// window, so a window over the slack is measured again, up to kWindows times.
constexpr int kWindows = 3;
const CRect kPane(0, 0, 120, 80);
const CRect kPlot(24, 4, 116, 70);

// Bytes the program holds on the heap now: in-use chunks of every arena plus mmapped blocks
// under glibc; the sanitizer allocator's own count under AddressSanitizer (glibc's is unused).
std::int64_t HeapInUse() {
#ifdef KELO_LEAK_ASAN
  return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
  const struct mallinfo2 info = mallinfo2();
  return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
#endif
}

// The counts the library keeps of what lives for the process.
struct LiveCounters {
  std::size_t fontFamilies = kelo::surface::detail::CachedFontFamilies();
  int graphicsUsers = KeloUtility::GdiplusUseCount();
  friend bool operator==(const LiveCounters&, const LiveCounters&) = default;
};

// The surfaces made in one round; all must have died when the round ends.
std::vector<std::weak_ptr<kelo::surface::SurfaceBackend>> made;
void Watch(const std::shared_ptr<kelo::surface::SurfaceBackend>& surface) {
  if (surface) made.push_back(surface);
}

// The chart objects with their layers watched as they are destroyed.
struct CurveProbe : Curve {
  ~CurveProbe() override {
    Watch(baseBmp.Surface());
    Watch(curveBmp.Surface());
  }
};
struct BarProbe : Bar {
  ~BarProbe() override {
    Watch(baseBmp.Surface());
    Watch(dataBmp.Surface());
    Watch(appendedBmp.Surface());
  }
};

// Fixed data, made once so that a round's allocations are the library's: the first quarter
// hour of the sample trading day and of the sample volumes.
constexpr std::int32_t kOpen = 90000, kEnd = 91500;
const std::vector<Curve::STickPrice>& Day() {
  static const auto day = [] {
    auto all = samples::SampleTradingDay(false);
    return std::vector<Curve::STickPrice>(all.begin(), all.begin() + 15);
  }();
  return day;
}
const std::vector<Bar::STickVolume>& Volumes() {
  static const auto volumes = pictures::IntradaySamples(15);
  return volumes;
}
std::vector<std::int32_t> Values(int count, int phase) {
  std::vector<std::int32_t> values;
  for (int i = 0; i < count; ++i) values.push_back(((i * 37 + phase * 11) % 90) - 30);
  return values;
}

// Each kind below draws one of its parts a round (see Round), so that every drawing of the
// kind runs hundreds of times on each pane while a round stays short under the sanitizers.
void DrawFrame(CDC* dc, int part) {
  CKeloBaseChart chart;
  CFont* old = dc->SelectObject(chart.GetFont());
  chart.SetLeftUnit(CString("%"), 1);
  if (part == 0) {  // Y grid and labels
    chart.DrawYGrid(dc, kPlot, 4, 0);
    chart.DrawYGridText(dc, kPlot, 103.0, 97.0);
  } else if (part == 1) {
    chart.DrawYGridTextEx(dc, kPlot, 103.0, 100.0, 97.0, 4, 2);
    chart.DrawSymYGridText(dc, kPlot, 5.0, -5.0, 4);
  } else if (part == 2) {
    chart.DrawFitYGridText(dc, kPlot, 7300, KeloUtility::GetFitScaleCount(), 1);
    chart.DrawJumpYGridText(dc, kPlot, 33.1, 26.9, 30.0, 4, 0);
    chart.DrawYGridTextBylossBenefit(dc, kPlot, 100.0, 103.0, 97.0, 1.5, 2);
  } else if (part == 3) {  // X grid and labels
    chart.DrawXGrid(dc, kPlot, 4, 1);
    chart.DrawXSubXGrid(dc, kPlot, 4, 1);
    chart.SetXInfor(std::vector<CString>{CString("Q1"), CString("Q2"), CString("Q3"), CString("Q4")});
    chart.DrawXGridText(dc, kPlot, 0);
    chart.DrawXGridTextWithRange(dc, kPlot, 10.0, 0.0, 4, 0, 1);
  } else if (part == 4) {  // time axis
    pictures::DrawSessionFrame(chart, dc, kPlot, true);
    std::int32_t time = 0;
    chart.GetTimeByXPos(chart.GetXPosByTime(kPlot, kEnd, kOpen, 91000, Curve::eTickMinute, 0), time);
  } else if (part == 5) {  // reference-price lines, side labels, underlined labels, axes
    CKeloBaseChart::_SDataInfor axis{3310, 3000, 2695, 0, 100, {}};
    KeloChartCalculate::GetReasonablePrice(3310, 3000, 2695, 100, KeloChartCalculate::GetNormalStockIndex(),
                                           axis.values);
    chart.DrawHorizontalLineWithTextByRange(dc, kPlot, axis, 0xFFFFFFFF);
  } else {
    chart.DrawHorizontalText(dc, kPlot, 5000000, 0, 4, 1, 1, 0, 0, 1, 0);
    chart.DrawUnderlineString(dc, kPlot, 2, CString("12.34"), CString("%"), 0);
    chart.DrawLeftBottomAxis(dc, kPlot);
    chart.DrawSpecialPosLine(dc, kPlot.left, 40, kPlot.right, 40, 1);
  }
  dc->SelectObject(old);
}

void DrawTickPrice(CDC* dc, int part) {
  CurveProbe chart;
  const Curve::SDrawRange range{kOpen, kEnd, 2950, samples::kReference, 3100, kEnd};
  if (part == 0) {
    chart.DrawBase(dc, kPane, 0, 0);
  } else if (part == 1) {
    chart.DrawTickPrice(dc, kPane, range, Day(), Curve::eTickMinute, 1);
    int x = 0, y = 0;
    std::int32_t time = 0, price = 0;
    chart.GetHighLowPointXY(1, x, y, time, price);
  } else if (part == 2) {
    chart.DrawTickPrice(dc, kPane, range, Day(), Gdiplus::Color(0xFFFFA000), Curve::eTickMinute, 0);
  } else {
    std::deque<Curve::CurveCombine> combos;
    combos.push_back({kPlot, range, Day(), Gdiplus::Color(0xFF40A0FF), Curve::eTickMinute, 0});
    chart.DrawTickPriceCombine(dc, combos);
  }
}

void DrawFigureCurves(CDC* dc, int part) {
  CurveProbe chart;
  const auto values = Values(12, part);
  if (part == 0) chart.DrawFigureCurve(dc, kPane, 60, -30, 12, values, 0);
  if (part == 1) chart.DrawFigureCurveEx(dc, kPane, 60, -30, 12, values, 1);
  if (part == 2) chart.DrawDivideFigureCurve(dc, kPane, {60, 0, -30, 12, 100, values}, 1);
  if (part == 3) chart.DrawDivideFigureUpDownCurve(dc, kPane, {60, 0, -30, 12, 100, values}, 0);
}

// Layered: base and data layers made at the first paint, bound onto the pane, repainted.
void DrawCurveGroups(CDC* dc, int part) {
  CurveProbe chart;
  chart.SetXInfor(std::vector<CString>{CString("D0"), CString("D3"), CString("D6")});
  const std::vector<std::vector<std::int32_t>> curves{Values(7, 0), Values(7, 3)};
  if (part <= 1) {
    chart.DrawEasyCurveGroupChart(dc, kPane, 60, -30, 6, curves, 100);
    if (part == 1) chart.UpdateCurveGroupData(dc, kPane, 60, -30, 6, {Values(7, 7)}, 100);
  } else if (part == 2) {
    chart.DrawEasyCurveGroupChartNew(dc, kPane, 60, -30, 6, curves, 100, 60);
    chart.OnChangeSize();
    chart.ReDoBmp();
  } else {
    std::vector<Curve::SGroupCurveEx> panes(2);
    panes[0] = {CRect(0, 0, 120, 40), 2, CString("%"), 60, -30, 6, curves, 100};
    panes[1] = {CRect(0, 40, 120, 80), 2, CString(""), 60, -30, 6, {Values(7, 9)}, 100};
    chart.DrawEasyCurveGroupChartEx(dc, kPane, panes);
    if (part == 4) chart.UpdateCurveGroupDataEx(dc, kPane, panes);
  }
}

// An XY chart with two return regions and point marks (the sample's data, on the small pane).
void DrawXYChart(CDC* dc, int part) {
  CurveProbe chart;
  using V = Curve::XYValue;
  const std::vector<std::vector<V>> curves{{{0, -20}, {20, 18}, {40, 31}, {60, 36}, {90, 36}},
                                           {{0, -10}, {30, 12}, {60, 30}, {90, 48}}};
  chart.SetRgnPointsValue({{{5, 10}, {25, 30}, {45, 35}, {35, 15}}, {{55, -5}, {85, 10}, {88, -15}, {65, -25}}});
  chart.SetROIBrushNumColor(1, Gdiplus::Color(0x6000A0FF));
  chart.SetCurveNumStyle(1, Gdiplus::DashStyleDash);
  chart.SetEasyPoints(
      {{15.0f, 12.0f, Gdiplus::Color(0xFFFFA000), 10.0f}, {72.0f, -8.0f, Gdiplus::Color(0xFF40FF40), 8.0f}});
  if (part == 0) {
    chart.DrawEasyXYChart(dc, kPane, 90, 0, 4, 50, -30, 5, curves);
  } else {
    chart.DrawPoints(dc, kPane, 90, 0, 50, -30, {{20, 40}, {45, 44}});
    chart.DrawXYCurve(dc, kPane, 90, 0, 50, -30, curves[0]);
    chart.DrawROIRgn(dc, kPane, 90, 0, 50, -30, curves[1]);
    chart.DrawEasyPoints(dc, kPane, 90, 0, 50, -30);
  }
}

void DrawValueBars(CDC* dc, int part) {
  BarProbe bar;
  const auto values = Values(12, 2);
  std::vector<Bar::VolumeInOut> states;
  for (int i = 0; i < 12; ++i) states.push_back({values[static_cast<std::size_t>(i)] + 40, i % 2});
  if (part == 0) {
    bar.DrawBase(dc, kPane, 60, -30, 0, 1, 1, 1);
    bar.DrawBaseL(dc, kPane, 12);
  } else if (part == 1) {
    bar.DrawBarChart(dc, kPane, 60, -30, 12, values);
    bar.DrawBarChartWithState(dc, kPane, 100, 0, 12, states);
  } else {
    bar.DrawBarChartByRatio(dc, kPane, 60, 0, 4, 12, values, RGB(255, 160, 0));
    bar.DrawBarCharByRatiotWithState(dc, kPane, 100, 4, 12, states);
  }
}

void DrawUpDownBars(CDC* dc, int part) {
  BarProbe bar;
  const CKeloBaseChart::_SDataInfor data{60, 0, -30, 12, 100, Values(12, 4)};
  if (part == 0) {
    bar.DrawEasyUpDownBarChart(dc, kPane, data);
    bar.UpdateUpDownBarChart(dc, kPane, {60, 0, -30, 12, 100, Values(12, 6)});
  } else {
    bar.DrawBarChartUpDown(dc, kPane, data);
  }
}

// Layered with the appended layer shown over the groups.
void DrawGroupedBars(CDC* dc, int part) {
  BarProbe bar;
  bar.SetXInfor(std::vector<CString>{CString("Jan"), CString("Feb"), CString("Mar"), CString("Apr")});
  bar.SetMultiBarSize(3);
  const std::vector<Bar::BarGroupData> groups{{200, 700, 50}, {400, 100, 300}, {900, 500, 0}, {100, 800, 450}};
  bar.SetAppenedBarData({{100, 300, 0}, {150, 50, 0}, {300, 200, 0}, {50, 400, 0}});
  auto& palette = CKeloUIObjectSingletonPool::Instance()->palette;
  bar.SetAppenedBarColor(palette.GetGPBrushByIndex(310), palette.GetGPBrushByIndex(320), nullptr);
  bar.ShowAppendedBmp(1);
  bar.DrawEasyMultiBarChart(dc, kPane, 1000, 0, 4, groups, part == 0 ? 1 : 10);
  if (part == 1) bar.UpdateMultiBarData(dc, kPane, 1000, 0, 4, {{300, 200, 100}, {0, 0, 0}, {1000, 1, 2}, {5, 6, 7}});
  if (part == 2) {
    bar.OnChangeSize();
    bar.ChangeBaseChart();
  }
}

void DrawMultiBar(CDC* dc, int) {
  BarProbe bar;
  bar.SetMultiBarSize(2);
  bar.DrawMultiBar(dc, kPane, 1000, 0, 4, {{200, 700, 0}, {400, 100, 0}, {900, 500, 0}, {100, 800, 0}});
}

void DrawTickVolumes(CDC* dc, int part) {
  BarProbe bar;
  const Bar::SDrawRange range{kOpen, kEnd, 0, 3000, kEnd, 0};
  if (part == 0) {
    pictures::DrawVolumePane(bar, dc, kPlot, Volumes(), kEnd, kOpen);
    bar.DrawTickVolume(dc, kPlot, range, Volumes(), CKeloBaseChart::eTickMinute);
  } else if (part == 1) {
    std::vector<Bar::STickValue> values;
    for (const auto& s : Volumes()) values.push_back({s.time, s.volume * 25, s.state});
    bar.DrawTickValue(dc, kPlot, {kOpen, kEnd, 0, 75000, kEnd, 0}, values, CKeloBaseChart::eTickMinute);
    bar.DrawTickValueWithState(dc, kPlot, {kOpen, kEnd, 0, 75000, kEnd, 0}, values, CKeloBaseChart::eTickMinute);
  } else if (part == 2) {
    bar.DrawTickVolumeByRatio(dc, kPlot, 3000, range, Volumes(), CKeloBaseChart::eTickMinute);
    bar.DrawTickVolumeByRatioWithState(dc, kPlot, 3000, range, Volumes(), CKeloBaseChart::eTickMinute);
  } else {
    bar.DrawTickInnerOuterChart(dc, kPlot, range, Volumes(), 0);
    bar.DrawTickInnerOuterUpDownChart(dc, kPlot, {kOpen, kEnd, -3000, 3000, kEnd, 0}, Volumes(), 0, 0, 0);
  }
}

// Memory DCs, bitmaps, pens, fonts (three faces, one unknown) and GDI+ paths, composed onto
// the pane; a bitmap destroyed while selected; a recording replayed onto a raster.
void DrawSurfaces(CDC* dc, int) {
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(dc, 60, 40);
  Watch(bitmap.Surface());
  CBitmap* oldBitmap = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, 60, 40, RGB(0, 0, 40));
  CPen pen(PS_DASH, 1, RGB(200, 200, 0));
  CPen* oldPen = memory.SelectObject(&pen);
  memory.MoveTo(0, 20);
  memory.LineTo(60, 5);
  static int face = 0;
  static const char* const kFaces[] = {"DejaVu Sans", "WenQuanYi Micro Hei", "No Such Face"};
  LOGFONT log;
  log.lfHeight = -11;
  std::snprintf(log.lfFaceName, sizeof log.lfFaceName, "%s", kFaces[face++ % 3]);
  CFont font;
  font.CreateFontIndirect(&log);
  CFont* oldFont = memory.SelectObject(&font);
  CRect text(2, 2, 58, 20);
  memory.DrawText(CString("12.34 \xE6\x88\x90\xE4\xBA\xA4"), &text, DT_LEFT | DT_SINGLELINE);
  {
    Gdiplus::Graphics g(&memory);
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::GraphicsPath path;
    const Gdiplus::PointF points[] = {{5, 35}, {30, 10}, {55, 35}};
    path.AddPolygon(points, 3);
    Gdiplus::Region region(&path);
    g.SetClip(&region);
    Gdiplus::SolidBrush brush(Gdiplus::Color(0x8000A0FF));
    g.FillPath(&brush, &path);
    g.FillPie(&brush, 10.0f, 10.0f, 30.0f, 30.0f, 0.0f, 120.0f);
    Gdiplus::Pen line(Gdiplus::Color(0xFFFFFFFF), 1.5f);
    g.DrawLines(&line, points, 3);
  }
  dc->BitBlt(0, 0, 60, 40, &memory, 0, 0, SRCCOPY);
  dc->TransparentBlt(60, 40, 60, 40, &memory, 0, 0, 60, 40, RGB(0, 0, 40));
  memory.SelectObject(oldFont);
  memory.SelectObject(oldPen);
  memory.SelectObject(oldBitmap);
  {
    CBitmap doomed;  // destroyed while selected: the DC hands back its stock bitmap
    doomed.CreateCompatibleBitmap(dc, 20, 20);
    Watch(doomed.Surface());
    memory.SelectObject(&doomed);
  }
  memory.FillSolidRect(0, 0, 20, 20, RGB(255, 0, 0));
  memory.DeleteDC();
  if (auto* recording = kelo::surface::RecordingOf(*dc)) {
    auto raster = CDC::CreateRaster(kPane.Width(), kPane.Height());
    Watch(raster->GetBackendShared());
    kelo::surface::Replay(recording->Log(), *raster->GetBackend());
  }
}

// A K-line chart of forty days: painted straight onto the pane, or through its layer with a
// live feed's tail repaints and a full one.
void DrawKLine(CDC* dc, int part) {
  std::vector<KeloKLine::SKBar> bars;
  for (int i = 0; i < 40; ++i) {
    const std::int32_t date = KeloKLine::DateOfDay(KeloKLine::DayNumber(20261001) + i);
    bars.push_back({date, 0, 5000 + i, 5100 + i, 4900 + i, 5000 + (i % 2 ? 50 : -50) + i, 1000});
  }
  CKeloKLine chart;
  chart.SetFontSize(8, 5);
  chart.SetLowerPane(part == 0 ? CKeloKLine::eLowerKD : CKeloKLine::eLowerMACD);
  chart.SetOverlays(CKeloKLine::eOverlayMA | CKeloKLine::eOverlayBollinger | CKeloKLine::eOverlayVolumeMA);
  chart.SetVisibleCount(45);
  chart.SetBars(bars);
  if (part == 0) {
    chart.DrawKLine(dc, kPane);
    return;
  }
  chart.DrawEasyKLine(dc, kPane);
  chart.AppendBar(bars.back());
  chart.DrawEasyKLine(dc, kPane);
  bars.back().high += 500;
  chart.UpdateLastBar(bars.back());
  chart.DrawEasyKLine(dc, kPane);
}

struct Kind {
  const char* name;
  void (*draw)(CDC*, int part);
  int parts;
};
void PrintTo(const Kind& kind, std::ostream* out) { *out << kind.name; }
const Kind kKinds[] = {
    {"Frame", DrawFrame, 7},
    {"TickPrice", DrawTickPrice, 4},
    {"FigureCurves", DrawFigureCurves, 4},
    {"CurveGroups", DrawCurveGroups, 5},
    {"XYChart", DrawXYChart, 2},
    {"ValueBars", DrawValueBars, 3},
    {"UpDownBars", DrawUpDownBars, 2},
    {"GroupedBars", DrawGroupedBars, 3},
    {"MultiBar", DrawMultiBar, 1},
    {"TickVolumes", DrawTickVolumes, 4},
    {"Surfaces", DrawSurfaces, 1},
    {"KLine", DrawKLine, 2},
};

// One round: the kind made, one part of it drawn on a new pane (raster on even rounds,
// recording on odd ones), pane and kind destroyed; returns how many of the surfaces it made
// are still alive. Every part meets both panes: the part changes every second round.
std::size_t Round(const Kind& kind, int round) {
  made.clear();
  {
    auto dc = round % 2 == 0 ? CDC::CreateRaster(kPane.Width(), kPane.Height())
                             : CDC::CreateRecording(kPane.Width(), kPane.Height());
    Watch(dc->GetBackendShared());
    kind.draw(dc.get(), round / 2 % kind.parts);
  }
  std::size_t alive = 0;
  for (const auto& surface : made) alive += surface.expired() ? 0 : 1;
  return alive;
}

class Leak : public ::testing::TestWithParam<Kind> {};

TEST_P(Leak, TenThousandRoundsLeaveTheHeapAndTheLiveCountsAsTheyWere) {
  for (int i = 0; i < kWarmUpRounds; ++i) Round(GetParam(), i);
  const LiveCounters before;
  std::int64_t grown = 0;
  std::size_t alive = 0;
  for (int window = 0; window < kWindows; ++window) {
    const std::int64_t heapBefore = HeapInUse();
    for (int i = 0; i < kRounds; ++i) alive += Round(GetParam(), i);
    grown = HeapInUse() - heapBefore;
    std::printf("%s: heap %+lld bytes after %d rounds\n", GetParam().name, static_cast<long long>(grown), kRounds);
    if (grown <= kHeapSlack) break;
  }
  const LiveCounters after;
  EXPECT_EQ(alive, 0u) << "surfaces outlived their round";
  EXPECT_EQ(after.fontFamilies, before.fontFamilies);
  EXPECT_EQ(after.graphicsUsers, before.graphicsUsers);
  EXPECT_LE(grown, kHeapSlack) << "bytes left on the heap by " << kRounds << " rounds in each of " << kWindows
                               << " windows (" << grown / kRounds << " a round in the last)";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Leak, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind>& info) { return info.param.name; });

// A layered chart repainted 200 times on one target grows the heap by no more than one
// paint's worth (the pane's pixels): a repaint of unchanged layers copies the same pixels
// again, which a raster overwrites, a recording keeps as records sharing one snapshot of each
// layer, and a page refers to as the images it already holds. Layers are made at the first
// paint compatible with the target, or on a raster first (a chart moved between DCs).
struct Target {
  const char* name;
  bool layersOnRaster;
  std::function<std::unique_ptr<CDC>()> make;
};
void PrintTo(const Target& target, std::ostream* out) { *out << target.name; }
const CRect kPage(0, 0, 400, 300);
const Target kTargets[] = {
    {"Raster", false, [] { return CDC::CreateRaster(kPage.Width(), kPage.Height()); }},
    {"Recording", false, [] { return CDC::CreateRecording(kPage.Width(), kPage.Height()); }},
    {"RecordingWithRasterLayers", true, [] { return CDC::CreateRecording(kPage.Width(), kPage.Height()); }},
    {"SvgPage", false,
     [] {
       return CDC::FromBackend(std::make_shared<kelo::surface::VectorBackend>(
           kelo::surface::VectorBackend::Format::kSvg, kPage.Width(), kPage.Height()));
     }},
};

class Repaint : public ::testing::TestWithParam<Target> {};

TEST_P(Repaint, TwoHundredPaintsGrowByNoMoreThanOnePaintsWorth) {
  BarProbe bar;
  bar.SetMultiBarSize(3);
  bar.SetAppenedBarData({{100, 300, 0}, {150, 50, 0}, {300, 200, 0}, {50, 400, 0}});
  bar.ShowAppendedBmp(1);
  const std::vector<Bar::BarGroupData> groups{{200, 700, 50}, {400, 100, 300}, {900, 500, 0}, {100, 800, 450}};
  const auto paint = [&](CDC* dc) { bar.DrawEasyMultiBarChart(dc, kPage, 1000, 0, 4, groups, 1); };
  if (GetParam().layersOnRaster) paint(CDC::CreateRaster(kPage.Width(), kPage.Height()).get());
  auto dc = GetParam().make();
  paint(dc.get());  // the first paint: layers, caches and the images or snapshots they show
  const std::int64_t first = HeapInUse();
  for (int i = 1; i < 200; ++i) paint(dc.get());
  const std::int64_t growth = HeapInUse() - first;
  const std::int64_t onePaint = std::int64_t{4} * kPage.Width() * kPage.Height();
  std::printf("%s: heap %+lld bytes over 199 repaints (one paint's pixels: %lld)\n", GetParam().name,
              static_cast<long long>(growth), static_cast<long long>(onePaint));
  EXPECT_LE(growth, onePaint);
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, Repaint, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return info.param.name; });

// Bytes held for pixels: large pixel buffers are mapped directly, not taken from the heap, so
// the process's mapped size; under AddressSanitizer they come from its allocator, whose count
// leaves out freed blocks in its quarantine (which stay mapped).
std::int64_t MappedBytes() {
#ifdef KELO_LEAK_ASAN
  return HeapInUse();
#else
  long pages = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return static_cast<std::int64_t>(pages) * sysconf(_SC_PAGESIZE);
#endif
}

// A recording is bounded by bytes: copies of a changing 4096 x 4096 layer (64 MB of pixels
// each) stop being recorded at 256 MB, and the copies it drops leave no pixels behind.
TEST(RecordingBytes, CopiesPastTheByteBoundAreDroppedWithTheirPixels) {
  auto layer = CDC::CreateRaster(4096, 4096);
  auto recording = CDC::CreateRecording(4096, 4096);
  auto* log = kelo::surface::RecordingOf(*recording);
  const std::int64_t before = MappedBytes();
  for (int i = 0; i < 5; ++i) {
    layer->FillSolidRect(0, 0, 1, 1, RGB(i, 0, 0));  // a new version: no copy to share
    recording->BitBlt(0, 0, 4096, 4096, layer.get(), 0, 0, SRCCOPY);
  }
  const std::int64_t grown = MappedBytes() - before;
  const auto bound = kelo::surface::detail::kMaxRecordingBytes;
  EXPECT_EQ(log->Records().size(), 3u);  // the fourth passes 256 MB by its bookkeeping
  EXPECT_EQ(log->Dropped(), 2u);
  EXPECT_LE(log->Bytes(), bound);
  EXPECT_LE(grown, static_cast<std::int64_t>(bound)) << "mapped for three recorded 64 MB copies";
}

}  // namespace
