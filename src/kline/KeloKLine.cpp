// The K-line object: construction from the palette's colours, the setters, the scene (the
// layout of one paint) and the layer that a change at the end of the series updates in
// place: the tail is repainted when the frame (panes, slots, axes, labels) stays the same,
// everything otherwise.
#include <kelochart/kline/KeloKLine.h>

#include <algorithm>
#include <cmath>

#include "chart/ChartLayers.h"
#include <kelochart/services/KeloPalette.h>

#include "kline/KLineScene.h"

namespace kelo::detail {

namespace {

constexpr std::uint32_t kLinePens[] = {1738, 1676, 1710, 1678};  // palette entries of the averages
constexpr std::uint32_t kBandPen = 1426;

std::uint32_t Entry(std::uint32_t index) { return CKeloUIObjectSingletonPool::Instance()->palette.colorTable[index]; }

// Highest and lowest defined value of a series over bars [from, to).
void Extend(const KeloKLine::SSeries& s, std::size_t from, std::size_t to, double& high, double& low) {
  for (std::size_t i = std::max(from, s.first); i < to && i < s.values.size(); ++i) {
    high = std::max(high, s.values[i]);
    low = std::min(low, s.values[i]);
  }
}

}  // namespace

bool KLineScene::SameFrame(const KLineScene& o) const {
  auto sameLabels = [](const TimeAxisLayout& a, const TimeAxisLayout& b) {
    if (a.labels.size() != b.labels.size() || a.separators != b.separators || a.gridLines != b.gridLines) return false;
    for (std::size_t i = 0; i < a.labels.size(); ++i) {
      if (a.labels[i].left != b.labels[i].left || a.labels[i].text != b.labels[i].text) return false;
    }
    return true;
  };
  return rect == o.rect && panes.valid == o.panes.valid && panes.price == o.panes.price &&
         panes.volume == o.panes.volume && panes.lower == o.panes.lower && slots.left == o.slots.left &&
         slots.width == o.slots.width && slots.count == o.slots.count && first == o.first && bodyWidth == o.bodyWidth &&
         price.top == o.price.top && price.bottom == o.price.bottom && price.lines == o.price.lines &&
         volumeTop == o.volumeTop && lowerRows.high == o.lowerRows.high && lowerRows.low == o.lowerRows.low &&
         lowerLines == o.lowerLines && lowerPane == o.lowerPane && overlays == o.overlays &&
         lines.size() == o.lines.size() && sameLabels(time, o.time);
}

KLineScene BuildScene(const KLineSettings& st, const std::vector<KeloKLine::SKBar>& bars) {
  using namespace KeloKLine;
  KLineScene s;
  s.rect = st.rect;
  s.lowerPane = st.lowerPane;
  s.overlays = st.overlays;
  s.panes = LayoutPanes(st.rect, st.marginLeft, st.marginTop, st.marginRight, st.marginBottom, st.fontHeight,
                        st.lowerPane != 0);
  if (!s.panes.valid || bars.empty()) return s;
  const std::int32_t slots =
      st.visibleCount > 0 ? st.visibleCount : static_cast<std::int32_t>(std::min<std::size_t>(bars.size(), INT32_MAX));
  s.slots = MakeSlotAxis(s.panes.price, slots);
  s.shown = std::min<std::size_t>(bars.size(), static_cast<std::size_t>(slots));
  s.first = bars.size() - s.shown;
  s.bodyWidth = BodyWidth(s.slots.Step());
  const std::size_t to = bars.size();

  // The series: each computed over every bar, so the warm-up ends before the view starts.
  const std::vector<double> closes = Closes(bars);
  if (st.overlays & 2u) {
    const SBands b = Bollinger(closes, 20, 2.0);
    for (const SSeries* band : {&b.upper, &b.middle, &b.lower}) s.lines.push_back({*band, Entry(kBandPen), "", 0});
    s.lines[s.lines.size() - 3].name = "BB(20,2)";
  }
  if (st.overlays & 1u) {
    for (std::size_t k = 0; k < st.maPeriods.size() && k < 4; ++k) {
      const int p = st.maPeriods[k];
      s.lines.push_back({MovingAverage(closes, p), Entry(kLinePens[k]), "MA" + std::to_string(p), 0});
    }
  }
  if (st.overlays & 4u) {
    const std::vector<double> volumes = Volumes(bars);
    s.lines.push_back({MovingAverage(volumes, 5), Entry(kLinePens[0]), "MA5", 1});
    s.lines.push_back({MovingAverage(volumes, 20), Entry(kLinePens[1]), "MA20", 1});
  }
  if (st.lowerPane == 1) {
    const SKD kd = StochasticKD(bars, 9, 3, 3);
    s.lines.push_back({kd.k, Entry(kLinePens[0]), "K(9,3)", 2});
    s.lines.push_back({kd.d, Entry(kLinePens[1]), "D(3)", 2});
    s.lowerRows.high = 100.0;
    s.lowerRows.low = 0.0;
    s.lowerLines = {20.0, 50.0, 80.0};
  } else if (st.lowerPane == 3) {
    s.lines.push_back({Rsi(closes, 6), Entry(kLinePens[0]), "RSI6", 2});
    s.lines.push_back({Rsi(closes, 12), Entry(kLinePens[1]), "RSI12", 2});
    s.lowerRows.high = 100.0;
    s.lowerRows.low = 0.0;
    s.lowerLines = {20.0, 50.0, 80.0};
  } else if (st.lowerPane == 2) {
    const SMACD m = Macd(closes, 12, 26, 9);
    s.histogram = m.histogram;
    s.lines.push_back({m.dif, Entry(kLinePens[0]), "DIF(12,26)", 2});
    s.lines.push_back({m.signal, Entry(kLinePens[1]), "MACD(9)", 2});
    double high = 0.0, low = 0.0;
    for (const SSeries* x : {&m.dif, &m.signal, &m.histogram}) Extend(*x, s.first, to, high, low);
    // A symmetric range on a round number of price units keeps the zero line in the middle.
    const double largest = std::min(std::ceil(std::max(high, -low)), 4.0e9);
    const double bound = std::max<double>(1.0, static_cast<double>(VolumeTop(static_cast<std::int64_t>(largest))));
    s.lowerRows.high = bound;
    s.lowerRows.low = -bound;
    s.lowerLines = {0.0};
  }

  // Price axis over the shown highs and lows and the price-pane lines in view.
  double high = bars[s.first].high, low = bars[s.first].low;
  std::int64_t maxVolume = 0;
  for (std::size_t i = s.first; i < to; ++i) {
    high = std::max<double>(high, bars[i].high);
    low = std::min<double>(low, bars[i].low);
    maxVolume = std::max(maxVolume, bars[i].volume);
  }
  for (const auto& line : s.lines) {
    if (line.pane == 0) Extend(line.series, s.first, to, high, low);
    if (line.pane == 1) {
      double vh = 0, vl = 0;
      Extend(line.series, s.first, to, vh, vl);
      // An average of volumes near the 64-bit top is a double past it: cap before converting.
      maxVolume = std::max(maxVolume, static_cast<std::int64_t>(std::min(std::ceil(vh), 9.0e18)));
    }
  }
  s.price = MakePriceAxis(static_cast<std::int64_t>(std::ceil(high)), static_cast<std::int64_t>(std::floor(low)),
                          st.priceScale, st.category);
  s.priceRows = {s.panes.price.top, s.panes.price.Height(), static_cast<double>(s.price.top),
                 static_cast<double>(s.price.bottom)};
  s.volumeTop = VolumeTop(maxVolume);
  s.lowerRows.top = s.panes.lower.top;
  s.lowerRows.height = s.panes.lower.Height();
  s.time = LayoutTimeAxis(s.slots, bars, s.first, st.fontWidth);
  return s;
}

}  // namespace kelo::detail

namespace {
CKeloPalette& Palette() { return CKeloUIObjectSingletonPool::Instance()->palette; }
}  // namespace

CKeloKLine::CKeloKLine()
    : upColor(Palette().colorTable[CKeloPalette::kUpBarColor]),
      downColor(Palette().colorTable[CKeloPalette::kDownBarColor]),
      neutralColor(Palette().colorTable[CKeloPalette::kTextColor]), bkColor(Palette().GetLayoutColor(4)) {
  bmpDeflateLeft = 8;
  bmpDeflateTop = 1;
  bmpDeflateRight = 2;
  bmpDeflateBottom = 2;
}

CKeloKLine::~CKeloKLine() { layerBmp.DeleteObject(); }

void CKeloKLine::SetBars(std::vector<SKBar> newBars) {
  bars = std::move(newBars);
  dataChanged = true;
}

void CKeloKLine::AppendBar(const SKBar& bar) {
  bars.push_back(bar);
  dirtyFrom = std::min(dirtyFrom, bars.size() - 1);
}

void CKeloKLine::UpdateLastBar(const SKBar& bar) {
  if (bars.empty()) {
    AppendBar(bar);
    return;
  }
  bars.back() = bar;
  dirtyFrom = std::min(dirtyFrom, bars.size() - 1);
}

const std::vector<CKeloKLine::SKBar>& CKeloKLine::GetBars() const { return bars; }

void CKeloKLine::SetVisibleCount(std::int32_t count) {
  visibleCount = std::max<std::int32_t>(0, count);
  dataChanged = true;
}
void CKeloKLine::SetPriceScale(std::int32_t scale) {
  priceScale = scale;
  dataChanged = true;
}
void CKeloKLine::SetMarketCategory(unsigned int c) {
  category = c;
  dataChanged = true;
}
void CKeloKLine::SetKLineStyle(EKLineStyle style) {
  kLineStyle = style;
  dataChanged = true;
}
void CKeloKLine::SetHollowUp(int hollow) {
  hollowUp = hollow;
  dataChanged = true;
}
void CKeloKLine::SetKLineColors(COLORREF up, COLORREF down, COLORREF neutral) {
  upColor = up;
  downColor = down;
  neutralColor = neutral;
  dataChanged = true;
}
void CKeloKLine::SetBkColor(COLORREF color) {
  bkColor = color;
  dataChanged = true;
}
void CKeloKLine::SetOverlays(std::uint32_t o) {
  overlays = o;
  dataChanged = true;
}
void CKeloKLine::SetLowerPane(ELowerPane pane) {
  lowerPane = pane;
  dataChanged = true;
}
void CKeloKLine::SetMAPeriods(std::vector<int> periods) {
  maPeriods = std::move(periods);
  dataChanged = true;
}

void CKeloKLine::OnChangeSize() {
  layerBmp.DeleteObject();
  dataChanged = true;
}

int CKeloKLine::GetXPosByIndex(std::size_t index) const {
  if (!scene || index < scene->first || index >= scene->first + scene->shown) return -1;
  return scene->slots.Center(index - scene->first);
}

std::unique_ptr<kelo::detail::KLineScene> CKeloKLine::SceneFor(const CRect& rect) {
  kelo::detail::KLineSettings st;
  st.rect = rect;
  GetBmpDeflatePixel(st.marginLeft, st.marginTop, st.marginRight, st.marginBottom);
  st.fontHeight = fontHeight;
  st.fontWidth = fontWidth;
  st.visibleCount = visibleCount;
  st.priceScale = priceScale;
  st.category = category;
  st.overlays = overlays;
  st.lowerPane = lowerPane;
  st.maPeriods = maPeriods;
  return std::make_unique<kelo::detail::KLineScene>(kelo::detail::BuildScene(st, bars));
}

void CKeloKLine::DrawKLine(CDC* pDC, const CRect& rect) {
  if (pDC == nullptr) return;
  auto next = SceneFor(rect);
  PaintFull(pDC, *next);
  scene = std::move(next);
  dataChanged = true;  // the layer did not see this paint
}

int CKeloKLine::UpdateKLine(CDC* pDC, const CRect& rect) {
  if (pDC == nullptr) return eRepaintNone;
  const bool fresh = !layerBmp.HasHandle();
  kelo::detail::EnsureLayer(layerBmp, pDC, rect, "kline.layer");
  kelo::detail::LayerDC layer(pDC, layerBmp);
  CDC* dc = layer.Get();
  if (dc == nullptr) return eRepaintNone;
  if (!fresh && !dataChanged && dirtyFrom == SIZE_MAX && scene && scene->rect == rect) return eRepaintNone;
  auto next = SceneFor(rect);
  const bool tail =
      !fresh && !dataChanged && scene && scene->SameFrame(*next) && dirtyFrom != SIZE_MAX && dirtyFrom >= next->first;
  // The slot before the first change repaints too: the lines into the change start there.
  const std::size_t from = tail ? (dirtyFrom - next->first > 0 ? dirtyFrom - next->first - 1 : 0) : 0;
  CFont* oldFont = dc->SelectObject(font);
  if (tail) {
    PaintTail(dc, *next, from);
  } else {
    PaintFull(dc, *next);
  }
  dc->SelectObject(oldFont);
  scene = std::move(next);
  dataChanged = false;
  dirtyFrom = SIZE_MAX;
  return tail ? eRepaintTail : eRepaintFull;
}

void CKeloKLine::DrawEasyKLine(CDC* pDC, const CRect& rect) {
  if (pDC == nullptr) return;
  UpdateKLine(pDC, rect);
  kelo::detail::BindLayers(pDC, rect, layerBmp, {});
}
