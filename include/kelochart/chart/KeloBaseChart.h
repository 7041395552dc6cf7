// CKeloBaseChart: the frame every chart kind shares. It owns the label font and character
// cell, the margins, the grid cell counts, eight GDI pens, the label colours and unit texts,
// the time-axis settings and the cached label layouts, and draws the axes, grids, labels,
// time axis and reference-price lines. The drawings live in one file per concept:
//   KeloBaseChart.cpp  state, setters, pens, axes, special-position lines
//   YAxis.cpp          horizontal grid and Y labels
//   XAxis.cpp          vertical grid and X labels
//   TimeAxis.cpp       time-slot table, time grid and time labels
//   HorizontalLines.cpp reference-price axis, volume-style side labels, underlined labels
#pragma once

#include <climits>
#include <cstdint>
#include <vector>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>

class CKeloUIObjectSingletonPool;
namespace kelo::detail {
struct AxisMetrics;
}  // namespace kelo::detail

class CKeloBaseChart {
 public:
  // One data set to draw with its value range.
  struct _SDataInfor {
    std::int32_t maxValue = 0;
    std::int32_t baseValue = 0;
    std::int32_t minValue = 0;
    std::int32_t totalCount = 0;
    std::int32_t priceScale = 100;
    std::vector<std::int32_t> values;
  };

  // Length of one time slot in seconds. Any positive number of seconds may be passed;
  // eTickMinute is the default and the only value the library passes itself.
  enum ETickType : std::int32_t { eTickMinute = 60 };

  // One label of the time axis.
  struct STimeString {
    std::int32_t time = 0;  // clock time HHMMSS
    CString text;
    int isMinor = 0;  // shown only when all labels are asked for
  };

  // One vertical line of the time grid: kind 0 main line, 1 sub line.
  struct STimeLine {
    std::int32_t time = 0;
    int kind = 0;
  };

  // The place of one axis label.
  struct SLabelSlot {
    CRect rect;
    int visible = 0;
  };

  CKeloBaseChart();
  virtual ~CKeloBaseChart();
  CKeloBaseChart(const CKeloBaseChart&) = delete;
  CKeloBaseChart& operator=(const CKeloBaseChart&) = delete;

  // ---- font and character cell ----
  virtual void SetFont(CFont* font);
  virtual CFont* GetFont();
  virtual void SetFontSize(std::int32_t height, std::int32_t width);
  std::int32_t GetFontHeight() const;
  std::int32_t GetFontWidth() const;

  // ---- margins and cells ----
  virtual void SetBmpDeflate(int left, int top, int right, int bottom);
  virtual void SetBmpLeftDeflate(int left);
  virtual void GetBmpDeflatePixel(int& left, int& top, int& right, int& bottom);
  virtual void SetXCells(int cells);
  virtual void SetYCells(int cells);

  // ---- pens ----
  void SetXLinePen(int style, int width, COLORREF color);
  void SetXLineColor(COLORREF color);
  void SetXSubLinePen(int style, int width, COLORREF color);
  void SetXSubLineColor(COLORREF color);
  void SetAxisPen(int style, int width, COLORREF color);
  void SetAxisColor(COLORREF color);
  virtual void SetYLinePen(int style, int width, COLORREF color);
  void SetYLineColor(COLORREF color);
  virtual void SetMidYLinePen(int style, int width, COLORREF color);
  void SetMidYLineColor(COLORREF color);
  virtual void SetSpecialPosLinePen(int index, int style, int width, COLORREF color);

  // ---- colours, units and flags ----
  void SetDefaultTextColor(COLORREF color);
  void SetXTextColor(COLORREF color);
  void SetLeftYTextColor(COLORREF color);
  void SetRigthtYTextColor(COLORREF color);
  void SetYMaxTextColor(COLORREF color);
  void SetYMidTextColor(COLORREF color);
  void SetYMinTextColor(COLORREF color);
  void SetXTextFormatFlag(std::uint32_t flag);
  void SetLeftUnit(CString unit, int highlight);
  void SetRightUnit(CString unit);
  void SetYValueUnit(CString unit);
  void SetOverDrawLine(int overDraw);
  void SetIsDrawRTLine(int draw);
  void SetOffsetMinTick(std::int32_t minutes);
  std::int32_t GetOffsetMinTick() const;
  void SetLineOffSet(int offset);
  int GetLineOffSet() const;
  int GetHorizontalLineOffSet() const;
  void SetTickType(ETickType type);
  float GetTickXPosStep() const;

  // ---- axes ----
  void DrawAxis(CDC* dc, const CRect& rect);
  void DrawLeftBottomAxis(CDC* dc, const CRect& rect);
  void DrawSpecialPosLine(CDC* dc, int x1, int y1, int x2, int y2, int index);

  // ---- Y axis: horizontal grid and labels (YAxis.cpp) ----
  void DrawYGrid(CDC* dc, const CRect& rect, std::int32_t count, int topInset);
  void DrawYGridText(CDC* dc, const CRect& rect, double maxValue, double minValue);
  int DrawYGridTextEx(CDC* dc, const CRect& rect, double maxValue, double midValue, double minValue, std::int32_t count,
                      int decimals);
  void DrawSymYGridText(CDC* dc, const CRect& rect, double maxValue, double minValue, std::int32_t count);
  int DrawFitYGridText(CDC* dc, const CRect& rect, std::int64_t maxValue, std::int32_t count, int drawLines);
  void DrawJumpYGridText(CDC* dc, const CRect& rect, double maxValue, double minValue, double baseValue,
                         std::int32_t count, int noBaseLabel);
  void DrawYGridTextBylossBenefit(CDC* dc, const CRect& rect, double refValue, double maxValue, double minValue,
                                  double step, int decimals);

  // ---- X axis: vertical grid and labels (XAxis.cpp) ----
  void DrawXGrid(CDC* dc, const CRect& rect, std::int32_t count, int halfCellInset);
  void DrawXGridNew(CDC* dc, const CRect& rect, std::int32_t count, int unused1, std::int32_t unused2,
                    int halfCellInset);
  void DrawXSubXGrid(CDC* dc, const CRect& rect, std::int32_t count, int halfCellInset);
  void DrawXSubXGrid(CDC* dc, const CRect& rect, std::int32_t count, int secondsPerUnit, std::int32_t units,
                     int halfCellInset);
  void SetXInfor(const std::vector<CString>& strings);
  void SetXInforNew(const std::vector<CString>& strings);
  void DrawXGridText(CDC* dc, const CRect& rect, int everySecondCell);
  void DrawXGridTextNew(CDC* dc, const CRect& rect, int unused1, std::int32_t unused2, int unused3);
  void DrawXGridTextString(CDC* dc, const CRect& rect, std::int32_t count);
  void DrawXGridTextWithRange(CDC* dc, const CRect& rect, double maxValue, double minValue, std::int32_t count,
                              int cellShift, int decimals);

  // ---- time axis (TimeAxis.cpp) ----
  int GetXPosByTime(const CRect& rect, std::int32_t endTime, std::int32_t startTime, std::int32_t time, ETickType step,
                    int ignoreOffset);
  int GetTimeByXPos(int x, std::int32_t& time);
  void DrawXGridByTime(CDC* dc, const CRect& rect, std::int32_t endTime, std::int32_t startTime,
                       std::vector<STimeLine> lines, int ignoreOffset, int drawSubLines, ETickType step);
  void SetXInfor(std::vector<STimeString> strings);
  void DrawXGridTextByTime(CDC* dc, const CRect& rect, std::int32_t endTime, std::int32_t startTime, int showAll,
                           ETickType step);
  int CountGridOffset(std::int32_t a, std::int32_t b, int c);
  double CountLineOffsetStep(std::int32_t width, std::int32_t count);

  // ---- horizontal reference lines and texts (HorizontalLines.cpp) ----
  void DrawHorizontalLine(CDC* dc, const CRect& rect, std::int32_t cellCount);
  void DrawHorizontalLineWithTextByRange(CDC* dc, const CRect& rect, const _SDataInfor& data,
                                         unsigned int shortFormatKind);
  void DrawHorizontalText(CDC* dc, const CRect& rect, std::int64_t maxValue, std::int64_t minValue,
                          std::int32_t cellCount, int drawLeft, int drawRight, int topInset, std::uint32_t rightFormat,
                          int drawLines, unsigned int shortFormatKind);
  void DrawUnderlineString(CDC* dc, const CRect& rect, int underlineCount, CString text, CString suffix,
                           int keepFontSize) const;

 protected:
  void InitPens();
  void DeletePens();
  void ReCalculateYInforPos();
  void ReCalculateYInforPosWithMid();
  void GetFitYGridCount();
  void ReCalculateXInforPos(int everySecondCell);
  void ReCalculateXInforPosNew(int unused);
  void ReCalculateXTimePos(ETickType step);
  void ReCalculateXTimeInfoPos(int showAll, ETickType step);

  // The character cell and margin the label layouts read (YLabelLayout.h).
  kelo::detail::AxisMetrics LabelMetrics() const;

  // Members, in declared order, each with its default: a constant here, or what the
  // constructor reads of the UI pool (palette entry N, the default-font record).
  CFont* font;  // the default-font record's label font
  CPen* savedPen = nullptr;
  CPen xLinePen;
  CPen xSubLinePen;
  CPen axisPen;
  CPen yLinePen;
  CPen midYLinePen;
  CPen specialPosLinePen1;
  CPen specialPosLinePen2;
  CPen specialPosLinePen3;
  COLORREF defaultTextColor;      // palette entry 307
  COLORREF xTextColor;            // palette entry 321
  COLORREF leftYTextColor;        // palette entry 311
  COLORREF rightYTextColor;       // palette entry 321
  COLORREF yMaxTextColor;         // palette entry 321
  COLORREF yMidTextColor;         // palette entry 299
  COLORREF yMinTextColor;         // palette entry 311
  COLORREF xLineColor;            // palette entry 303
  COLORREF xSubLineColor;         // palette entry 303
  COLORREF yLineColor;            // palette entry 303
  COLORREF midYLineColor;         // palette entry 321
  COLORREF axisColor;             // palette entry 303
  COLORREF specialPosLineColor1;  // palette entry 321
  COLORREF specialPosLineColor2;  // palette entry 321
  COLORREF specialPosLineColor3;  // palette entry 321
  int xLineStyle = 0;
  int xSubLineStyle = 2;
  int yLineStyle = 2;
  int midYLineStyle = 0;
  int axisStyle = 0;
  int specialPosLineStyle1 = 0;
  int specialPosLineStyle2 = 0;
  int specialPosLineStyle3 = 0;
  int xLineWidth = 1;
  int xSubLineWidth = 2;
  int yLineWidth = 2;
  int midYLineWidth = 1;
  int axisWidth = 2;
  int specialPosLineWidth1 = 1;
  int specialPosLineWidth2 = 1;
  int specialPosLineWidth3 = 1;
  std::uint32_t xTextFormatFlag = DT_CENTER;
  int xCells = 10;
  int yCells = 10;
  std::int32_t fontHeight;  // the default-font record's character height
  std::int32_t fontWidth;   // and width
  double halfFontHeight = 0.0;
  double halfFontWidth = 0.0;
  int overDrawLineOffset = 0;
  int bmpDeflateLeft = 8;
  int bmpDeflateRight = 3;
  int bmpDeflateTop = 1;
  int bmpDeflateBottom = 2;
  int horizontalLineOffset = 0;
  int lineOffset = 0;
  int fitYGridCount = 0;
  std::vector<CString> xInfor;
  std::vector<std::int32_t> xInforTimes;
  std::vector<std::int32_t> xInforPositions;
  std::vector<STimeString> timeStrings;
  int timeStringsChanged = TRUE;
  CString leftUnit;
  CString rightUnit;
  CString yValueUnit;
  CRect xLabelRect;
  CRect yLabelRect;
  int xLabelCount = 0;
  int yLabelCount = 0;
  int yLabelHalf = 0;
  std::vector<SLabelSlot> xLabelSlots;
  std::vector<SLabelSlot> yLabelSlots;
  int overDrawLine = FALSE;
  int isDrawRTLine = TRUE;
  std::int32_t timeEnd = INT32_MIN;
  std::int32_t timeStart = INT32_MAX;
  std::int32_t labelTimeEnd = INT32_MIN;
  std::int32_t labelTimeStart = INT32_MAX;
  CRect timeTableRect;
  ETickType tickType = eTickMinute;
  float tickXPosStep = 0.0f;
  std::vector<float> xTimePositions;
  std::int32_t offsetMinTick = 0;
  int leftUnitHighlight = 0;
  // The chart background (palette layout colour 4) that X and time labels are drawn over,
  // read with the other colours; the pool's layout colours are fixed for the process.
  COLORREF labelBackground;

 private:
  explicit CKeloBaseChart(const CKeloUIObjectSingletonPool& pool);
};
