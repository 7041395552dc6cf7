// CKeloKLine: the K-line (candlestick) chart object. A chart frame (CKeloBaseChart) holding a
// series of bars over many days, drawn as candles or OHLC bars on a price pane whose axis lies
// on the market's tick ladder, with a volume pane below and one optional lower pane (KD, MACD
// or RSI). One slot per bar: no weekend, holiday or overnight gaps. The drawings live in one
// file per concept:
//   KeloKLine.cpp       state, setters, layout, the layer and incremental update
//   KLinePaint.cpp      the thin painters over the geometry
//   SlotAxis.cpp        slots, time labels and day separators (pure)
//   CandleGeometry.cpp  body, wick and OHLC ticks, price and volume to y (pure)
//   Aggregate.cpp, Indicators.cpp   the bar series (KLineSeries.h)
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/kline/KLineSeries.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/Rect.h>

namespace kelo::detail {
struct KLineScene;
}  // namespace kelo::detail

class CKeloKLine : public CKeloBaseChart {
 public:
  using SKBar = KeloKLine::SKBar;

  enum EKLineStyle : std::int32_t { eCandle = 0, eOHLC = 1 };
  enum ELowerPane : std::int32_t { eLowerNone = 0, eLowerKD = 1, eLowerMACD = 2, eLowerRSI = 3 };
  // What is drawn over the price and volume panes (bits).
  enum EOverlay : std::uint32_t { eOverlayMA = 1, eOverlayBollinger = 2, eOverlayVolumeMA = 4 };
  // What the last UpdateKLine repainted.
  enum ERepaint : int { eRepaintNone = 0, eRepaintTail = 1, eRepaintFull = 2 };

  CKeloKLine();
  ~CKeloKLine() override;

  // ---- data ----
  void SetBars(std::vector<SKBar> bars);
  // A live feed: a new bar, or a new state of the last one.
  void AppendBar(const SKBar& bar);
  void UpdateLastBar(const SKBar& bar);
  const std::vector<SKBar>& GetBars() const;
  // Slots across the plot; the last min(count, bars) bars are shown from the left, so slots
  // beyond the last bar stay free for bars still to come. 0 (the default): one slot per bar.
  void SetVisibleCount(std::int32_t count);
  void SetPriceScale(std::int32_t priceScale);
  // Market category index of KeloChartCalculate (the tick ladder of the price axis).
  void SetMarketCategory(unsigned int category);

  // ---- look ----
  void SetKLineStyle(EKLineStyle style);
  // Up candles drawn as an outline (hollow) instead of filled.
  void SetHollowUp(int hollow);
  void SetKLineColors(COLORREF up, COLORREF down, COLORREF neutral);
  void SetBkColor(COLORREF color);
  void SetOverlays(std::uint32_t overlays);
  void SetLowerPane(ELowerPane pane);
  // Periods of the moving averages of the close (at most four are drawn; 5, 10, 20, 60).
  void SetMAPeriods(std::vector<int> periods);

  // ---- painting ----
  // Paints the whole chart in rect on dc.
  virtual void DrawKLine(CDC* pDC, const CRect& rect);
  // Brings the layer bitmap up to date and shows nothing: the whole chart after a size, data
  // or axis change, else only the tail (the last two slots, the indicator lines' ends and the
  // axes over them). Returns what it repainted.
  virtual int UpdateKLine(CDC* pDC, const CRect& rect);
  // UpdateKLine, then the layer copied onto dc.
  virtual void DrawEasyKLine(CDC* pDC, const CRect& rect);
  // Deletes the layer; the next UpdateKLine repaints everything.
  void OnChangeSize();

  // x of the centre of the slot of bar index (an index into GetBars()) in the last layout;
  // -1 when the bar is not shown or nothing was laid out.
  int GetXPosByIndex(std::size_t index) const;

 protected:
  std::vector<SKBar> bars;
  std::int32_t visibleCount = 0;
  std::int32_t priceScale = 100;
  unsigned int category = 0;
  EKLineStyle kLineStyle = eCandle;
  int hollowUp = 0;
  COLORREF upColor;
  COLORREF downColor;
  COLORREF neutralColor;
  COLORREF bkColor;
  std::uint32_t overlays = eOverlayMA | eOverlayVolumeMA;
  ELowerPane lowerPane = eLowerNone;
  std::vector<int> maPeriods{5, 10, 20, 60};
  CBitmap layerBmp;
  // The last layout and what changed since it was painted into the layer.
  std::unique_ptr<kelo::detail::KLineScene> scene;
  bool dataChanged = true;           // anything but a change at the end of the series
  std::size_t dirtyFrom = SIZE_MAX;  // first bar changed or appended since the last paint

 private:
  // The layout of the bars in rect with the chart's margins, font and settings.
  std::unique_ptr<kelo::detail::KLineScene> SceneFor(const CRect& rect);
  void PaintFull(CDC* dc, const kelo::detail::KLineScene& s);
  void PaintTail(CDC* dc, const kelo::detail::KLineScene& s, std::size_t fromSlot);
  void PaintSpan(CDC* dc, const kelo::detail::KLineScene& s, int x0, int x1, std::size_t fromSlot,
                 std::size_t fromPoint);
};
