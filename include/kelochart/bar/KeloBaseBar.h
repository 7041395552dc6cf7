// CKeloBaseBar: the bar-chart object. A chart frame (CKeloBaseChart) with three layer bitmaps
// (base, data, appended), bar brushes, up and down colours, nine GDI+ pens for the intraday
// tick bars, margins cached in pixels and a cache of bar x positions. The drawings live in one
// file per concept:
//   KeloBaseBar.cpp   state, setters, pens, pixel margins, bar-position cache, layers
//   ValueBars.cpp     bar frame, plain, state, by-ratio and up/down bar charts
//   TickVolume.cpp    intraday tick volume and value bars
//   MultiBar.cpp      grouped bars and the appended layer
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/Rect.h>

class CKeloBaseBar : public CKeloBaseChart {
 public:
  // The time range and value range of one intraday drawing.
  struct SDrawRange {
    std::int32_t startTime = 0;  // left end of the time axis (clock time)
    std::int32_t endTime = 0;    // right end of the time axis
    std::int64_t minValue = 0;
    std::int64_t maxValue = 0;
    std::int32_t overflowTime = 0;  // where a sample after endTime stands (no midnight offset)
    std::int32_t spare = 0;         // not read
  };

  // One sample of the intraday volume chart. state: 0 outer, 1 inner, other not confirmed.
  // The ...Count fields are the 32-bit alternative the inner/outer charts draw in mode != 0.
  struct STickVolume {
    std::int32_t time = 0;
    std::int64_t innerVolume = 0;
    std::int64_t outerVolume = 0;
    std::int64_t extraVolume = 0;  // not read
    std::int64_t volume = 0;
    int state = 0;
    int innerCount = 0;
    int outerCount = 0;
    int extraCount = 0;  // not read
    std::int64_t diffVolume = 0;
    int diffCount = 0;
    std::int64_t curve1Volume = 0;
    int curve1Count = 0;
    std::int64_t curve2Volume = 0;
    int curve2Count = 0;
  };

  // One sample of the intraday value chart.
  struct STickValue {
    std::int32_t time = 0;
    std::int64_t value = 0;
    int state = 0;
  };

  // One bar of the state bar charts: state 1 inner, any other outer.
  struct VolumeInOut {
    std::int32_t volume = 0;
    int state = 0;
  };

  // One group of grouped bars.
  struct BarGroupData {
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    std::int32_t value3 = 0;
  };

  // Left and right x pixel of one bar slot.
  using BarPos = std::pair<int, int>;

  CKeloBaseBar();
  ~CKeloBaseBar() override;

  // ---- overridden frame operations ----
  void SetFontSize(std::int32_t height, std::int32_t width) override;
  void SetBmpDeflate(int left, int top, int right, int bottom) override;
  void GetBmpDeflatePixel(int& left, int& top, int& right, int& bottom) override;
  void SetXCells(int cells) override;
  void SetYCells(int cells) override;

  // ---- operations of the bar object, in the order of their virtual slots ----
  virtual void SetBkColor(COLORREF color);
  virtual void SetUpDownBarColor(COLORREF up, COLORREF down);
  // Replaces entry index, or appends the brush when index is beyond the list.
  virtual void SetBarColors(std::uint32_t index, Gdiplus::SolidBrush* brush);
  virtual void DrawBase(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue, int topInset,
                        int drawLeft, int drawRight, std::int32_t divisor);
  virtual void DrawBaseL(CDC* pDC, const CRect& rect, std::int32_t slotCount);
  virtual void DrawBarChart(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                            std::int32_t slotCount, const std::vector<std::int32_t>& values);
  virtual void DrawBarChartWithState(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                     std::int32_t slotCount, std::vector<VolumeInOut>& values);
  virtual void DrawBarChartUpDown(CDC* pDC, const CRect& rect, _SDataInfor data);
  virtual void DrawEasyMultiBarChart(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                     std::int32_t groupCount, std::vector<BarGroupData> groups, std::int32_t divisor);
  virtual void DrawEasyUpDownBarChart(CDC* pDC, const CRect& rect, _SDataInfor data);
  virtual void UpdateMultiBarData(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                  std::int32_t groupCount, std::vector<BarGroupData> groups);
  virtual void UpdateUpDownBarChart(CDC* pDC, const CRect& rect, _SDataInfor data);

  // ---- cells, flags and data ----
  int GetYCells() const;
  // At most 3 bars per group.
  void SetMultiBarSize(std::uint32_t size);
  void SetShowXGrid(int show);
  void SetShowYRightInfor(int show);
  void SetHorizontalOffset(int offset);
  void SetYTextBeDoubleValue(int asDouble);
  void ShowAppendedBmp(int show);
  void SetAppenedBarData(std::vector<BarGroupData> groups);
  void SetAppenedBarColor(Gdiplus::SolidBrush* b1, Gdiplus::SolidBrush* b2, Gdiplus::SolidBrush* b3);

  // Deletes the layer bitmaps and recomputes the pixel margins; call when the pane's size
  // or font changes.
  void OnChangeSize();
  // The base and data layers are painted again at the next composite paint.
  void ChangeBaseChart();

  // ---- GDI+ pens of the tick bars ----
  void SetInnerBarStyle(Gdiplus::DashStyle style, float width);
  void SetInnerBarColor(Gdiplus::Color color);
  Gdiplus::Color GetInnerBarColor();
  void SetOuterBarStyle(Gdiplus::DashStyle style, float width);
  void SetOuterBarColor(Gdiplus::Color color);
  Gdiplus::Color GetOuterBarColor();
  void SetNonConfirmBarStyle(Gdiplus::DashStyle style, float width);
  void SetNonConfirmBarColor(Gdiplus::Color color);
  Gdiplus::Color GetNonConfirmBarColor();
  void SetUpBarStyle(Gdiplus::DashStyle style, float width);
  void SetUpBarColor(Gdiplus::Color color);
  Gdiplus::Color GetUpBarColor();
  void SetDownBarStyle(Gdiplus::DashStyle style, float width);
  void SetDownBarColor(Gdiplus::Color color);
  Gdiplus::Color GetDownBarColor();
  void SetVolumeBarStyle(Gdiplus::DashStyle style, float width);
  void SetVolumeBarColor(Gdiplus::Color color);
  void SetValueBarStyle(Gdiplus::DashStyle style, float width);
  void SetValueBarColor(Gdiplus::Color color);
  // The same as the Volume/ValueBar setters.
  void SetVolumeCurveStyle(Gdiplus::DashStyle style, float width);
  void SetVolumeCurveColor(Gdiplus::Color color);
  void SetValueCurveStyle(Gdiplus::DashStyle style, float width);
  void SetValueCurveColor(Gdiplus::Color color);

  // ---- value bars (ValueBars.cpp) ----
  void DrawBarChartByRatio(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t unused,
                           std::int32_t stepCount, std::int32_t slotCount, const std::vector<std::int32_t>& values,
                           COLORREF color);
  int DrawBarCharByRatiotWithState(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t stepCount,
                                   std::int32_t slotCount, std::vector<VolumeInOut>& values);

  // ---- tick volume and value bars (TickVolume.cpp) ----
  void DrawTickVolume(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickVolume> samples,
                      ETickType tickType);
  void DrawTickVolumeWithState(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickVolume> samples,
                               ETickType tickType);
  void DrawTickValue(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickValue> samples,
                     ETickType tickType);
  void DrawTickValueWithState(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickValue> samples,
                              ETickType tickType);
  int DrawTickVolumeByRatio(CDC* pDC, const CRect& rect, std::int64_t maxVolume, SDrawRange range,
                            std::vector<STickVolume> samples, ETickType tickType);
  int DrawTickVolumeByRatioWithState(CDC* pDC, const CRect& rect, std::int64_t maxVolume, SDrawRange range,
                                     std::vector<STickVolume> samples, ETickType tickType);
  int GetDrawTickVolumeByRatioIsCorrect(std::int64_t maxVolume, SDrawRange range, std::vector<STickVolume> samples);
  void DrawTickInnerOuterChart(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickVolume> samples,
                               int mode);
  void DrawTickInnerOuterUpDownChart(CDC* pDC, const CRect& rect, SDrawRange range, std::vector<STickVolume> samples,
                                     int mode, int curve1Start, int curve2Start);

  // ---- grouped bars (MultiBar.cpp) ----
  void DrawMultiBar(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue, std::int32_t groupCount,
                    std::vector<BarGroupData> groups);

 protected:
  void PrepareDefaultBarColors();
  // Composes the base, data and (when shown) appended layer onto pDC.
  void BindBmp(CDC* pDC, CRect& rect);
  // Recomputes barPositions from barRect, barSlotCount and barCount.
  void ReCalculateBarPos();
  void DrawAppendedMultiBarData(CDC* pDC, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                std::int32_t groupCount);

  // Brings the bar-position cache up to date for a slot-based drawing of count values.
  void UpdateBarPositions(const CRect& rect, std::int32_t slotCount, std::size_t count);
  // The four pixel margins from the frame's character margins and cell.
  void RecalculatePixelMargins();
  // The target rectangle moved in by the pixel margins.
  CRect PlotRect(const CRect& rect) const;

  // Members, in declared order.
  CBitmap baseBmp;
  CBitmap dataBmp;
  CBitmap appendedBmp;
  int barXCells = 10;
  int barYCells = 5;
  COLORREF bkColor = 0;
  COLORREF downBarColor = 0;
  COLORREF upBarColor = 0;
  Gdiplus::SolidBrush* appendedBrush1 = nullptr;
  Gdiplus::SolidBrush* appendedBrush2 = nullptr;
  Gdiplus::SolidBrush* appendedBrush3 = nullptr;
  std::vector<Gdiplus::SolidBrush*> barBrushes;
  std::uint32_t multiBarSize = 2;
  std::vector<BarGroupData> appendedBarData;
  int baseChanged = 1;
  int showXGrid = 0;
  int showYRightInfor = 1;
  int horizontalOffset = 1;
  int yTextBeDoubleValue = 0;
  int showAppendedBmp = 0;
  int bmpDeflateLeftPixels = 0;
  int bmpDeflateTopPixels = 0;
  int bmpDeflateRightPixels = 0;
  int bmpDeflateBottomPixels = 0;
  CRect barRect;
  std::int32_t barSlotCount = 0;
  std::int32_t barCount = 0;
  std::vector<BarPos> barPositions;
  Gdiplus::Pen innerBarPen;
  Gdiplus::Pen outerBarPen;
  Gdiplus::Pen nonConfirmBarPen;
  Gdiplus::Pen upBarPen;
  Gdiplus::Pen downBarPen;
  Gdiplus::Pen volumeBarPen;
  Gdiplus::Pen valueBarPen;
  Gdiplus::Pen curvePen1;
  Gdiplus::Pen curvePen2;
};
