// CKeloBaseCurve: the curve-chart object. A chart frame (CKeloBaseChart) with five GDI+ pens
// (rising, falling, unchanged, single-colour and return-region curves), two brushes, the
// numbered curve and return-region styles, the plot margins in pixels, a base and a data
// layer for the curve groups, the day's high and low marks of the tick-price curve, the x
// geometry of the last figure curve and the point sets of the XY chart. The drawings live in
// one file per concept under src/curve/:
//   KeloBaseCurve.cpp   object, pens, styles, margins, layers
//   TickPrice.cpp       intraday tick-price curve, its frame and its marks
//   FigureCurve.cpp     index-based curves, plain and split at a base value
//   CurveGroup.cpp      layered curve groups and combined tick-price curves
//   XYChart.cpp         XY curves, return regions and points
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>
#include <kelochart/services/KeloDataFormat.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>

class CKeloBaseCurve : public CKeloBaseChart {
 public:
  // Style of curve number i of a curve group or an XY chart.
  struct SCurveStyle {
    Gdiplus::Color color;
    Gdiplus::DashStyle dashStyle = Gdiplus::DashStyleSolid;
    float width = 1.0f;
  };

  // Style of return region number i.
  struct SROIStyle {
    Gdiplus::Color curveColor;
    Gdiplus::DashStyle dashStyle = Gdiplus::DashStyleSolid;
    float width = 1.0f;
    Gdiplus::Color brushColor;
  };

  // Where the day's highest or lowest price was drawn.
  struct SHighLowPoint {
    int x = 0;
    int y = 0;              // pixel, cut toward zero
    std::int32_t time = 0;  // clock time of the price
    std::int32_t price = 0;
  };

  // Time and price range of one intraday drawing.
  struct SDrawRange {
    std::int32_t startTime = 0;
    std::int32_t endTime = 0;
    std::int32_t minPrice = 0;      // bottom edge
    std::int32_t refPrice = 0;      // vertical middle
    std::int32_t maxPrice = 0;      // top edge
    std::int32_t overflowTime = 0;  // where a record after endTime is drawn
  };

  // One time slot of the tick-price curve. Prices may be kNoPrice.
  struct STickPrice {
    std::int32_t time = 0;
    std::int32_t open = 0;
    std::int32_t high = 0;
    std::int32_t low = 0;
    std::int32_t close = 0;
    std::int32_t skipOpenMark = 0;  // non-zero: the open takes no part in the marks
    std::int32_t highTime = 0;
    std::int32_t lowTime = 0;
  };

  // The data library's price record, field for field; the first four are prices.
  struct SPrice {
    std::int32_t price1 = 0;
    std::int32_t price2 = 0;
    std::int32_t price3 = 0;
    std::int32_t price4 = 0;
    std::int32_t extra1 = 0;
    std::int32_t extra2 = 0;
    std::int32_t extra3 = 0;
  };

  // One pane of DrawEasyCurveGroupChartEx.
  struct SGroupCurveEx {
    CRect rect;  // in the coordinates of the whole target rectangle
    int paneYCells = 10;
    CString leftUnit;
    std::int32_t maxValue = 0;
    std::int32_t minValue = 0;
    std::int32_t slotCount = 0;
    std::vector<std::vector<std::int32_t>> curves;
    std::int32_t priceScale = 0;  // 0 leaves the pane without data
  };

  // One curve of DrawTickPriceCombine, drawn in one colour.
  struct CurveCombine {
    CRect rect;
    SDrawRange range;
    std::vector<STickPrice> prices;
    Gdiplus::Color color;
    ETickType gapSeconds = eTickMinute;
    int markMode = 0;
  };

  // An (x, y) pair of the XY chart.
  struct XYValue {
    std::int32_t x = 0;
    std::int32_t y = 0;
  };

  // A point mark of its own colour and size.
  struct EasyPoint {
    float x = 0.0f;
    float y = 0.0f;
    Gdiplus::Color color;
    float diameter = 0.0f;
  };

  // A slot's price that did not trade (0x80000001).
  static constexpr std::int32_t kNoPrice = -2147483647;

  CKeloBaseCurve();
  ~CKeloBaseCurve() override;

  // ---- frame overrides (margins follow the character cell) ----
  void SetFontSize(std::int32_t height, std::int32_t width) override;
  void SetBmpDeflate(int left, int top, int right, int bottom) override;
  void SetXCells(int cells) override;
  void SetYCells(int cells) override;

  // ---- virtual operations of the curve object, in the order of its table ----
  virtual void SetBkColor(COLORREF color);
  virtual void DrawBase(CDC* dc, const CRect& rect, int topInset, int simpleFrame);
  virtual void DrawBaseNew(CDC* dc, const CRect& rect, int topInset, int secondsPerUnit, std::int32_t units,
                           int simpleFrame);
  virtual void DrawTickPrice(CDC* dc, const CRect& rect, SDrawRange range, std::vector<STickPrice> prices,
                             ETickType gapSeconds, int markMode);
  virtual void DrawFigureCurve(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                               std::int32_t slotCount, const std::vector<std::int32_t>& values, int fromMiddle);
  virtual void DrawFigureCurveEx(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                 std::int32_t slotCount, const std::vector<std::int32_t>& values, int fromMiddle);
  virtual void DrawDivideFigureCurve(CDC* dc, const CRect& rect, _SDataInfor info, int leadingValue);
  virtual void DrawDivideFigureUpDownCurve(CDC* dc, const CRect& rect, _SDataInfor info, int leadingValue);
  virtual void DrawXYCurve(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                           std::int32_t yMin, const std::vector<XYValue>& points);
  virtual void DrawROIRgn(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                          std::int32_t yMin, const std::vector<XYValue>& points);
  virtual void DrawEasyPoints(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                              std::int32_t yMin);
  virtual void DrawEasyXYChart(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin,
                               std::int32_t xLabelCount, std::int32_t yMax, std::int32_t yMin, std::int32_t yLabelCount,
                               std::vector<std::vector<XYValue>> curves);
  virtual void DrawPoints(CDC* dc, const CRect& rect, std::int32_t xMax, std::int32_t xMin, std::int32_t yMax,
                          std::int32_t yMin, std::vector<XYValue> points);
  virtual void DrawEasyCurveGroupChart(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                       std::int32_t slotCount, const std::vector<std::vector<std::int32_t>>& curves,
                                       std::int32_t priceScale);
  virtual void DrawEasyCurveGroupChartNew(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                          std::int32_t slotCount, const std::vector<std::vector<std::int32_t>>& curves,
                                          std::int32_t priceScale, int secondsPerUnit);
  virtual void UpdateCurveGroupData(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                                    std::int32_t slotCount, const std::vector<std::vector<std::int32_t>>& curves,
                                    std::int32_t priceScale);

  // ---- pens ----
  void SetCurveStyle(Gdiplus::DashStyle style, float width);
  void SetDefaultCurveColor(Gdiplus::Color color);
  void SetUpCurveStyle(Gdiplus::DashStyle style, float width);
  void SetUpCurveColor(Gdiplus::Color color);
  Gdiplus::Color GetUpCurveColor();
  void SetDownCurveStyle(Gdiplus::DashStyle style, float width);
  void SetDownCurveColor(Gdiplus::Color color);
  Gdiplus::Color GetDownCurveColor();
  void SetEqualCurveStyle(Gdiplus::DashStyle style, float width);
  void SetEqualCurveColor(Gdiplus::Color color);
  Gdiplus::Color GetEqualCurveColor();
  void SetROICurveStyle(Gdiplus::DashStyle style, float width);
  void SetROICurveColor(Gdiplus::Color color);

  // ---- numbered styles: 1 when index is inside the list, else 0 and nothing changes ----
  int SetCurveNumColor(unsigned int index, Gdiplus::Color color);
  int SetCurveNumWidth(unsigned int index, float width);
  int SetCurveNumStyle(unsigned int index, Gdiplus::DashStyle style);
  int SetROICurveNumColor(unsigned int index, Gdiplus::Color color);
  int SetROICurveNumWidth(unsigned int index, float width);
  int SetROICurveNumStyle(unsigned int index, Gdiplus::DashStyle style);
  int SetROIBrushNumColor(unsigned int index, Gdiplus::Color color);
  // The colour of curve style index, or of style 0 for an index beyond the list.
  Gdiplus::Color GetCurveColors(unsigned int index);

  // ---- geometry and layers ----
  int GetYCells();
  void GetBmpDeflate(int& left, int& top, int& right, int& bottom);
  void OnChangeSize();
  void ReDoBmp();
  void ChangeBaseChart();
  double GetXRatio();
  int GetFirstTickPos();
  int GetEndTickPos();

  // ---- intraday tick-price curve (TickPrice.cpp) ----
  // The whole curve in one colour; the up and down pens get their colours back afterwards.
  void DrawTickPrice(CDC* dc, const CRect& rect, SDrawRange range, std::vector<STickPrice> prices, Gdiplus::Color color,
                     ETickType gapSeconds, int markMode);
  void RecordHighLowPointPos(double y, int x, int yPixel, std::int32_t time, std::int32_t price);
  // which != 0: the high mark, 0: the low mark.
  void GetHighLowPointXY(int which, int& x, int& y, std::int32_t& time, std::int32_t& price);
  // 1 and a copy of the seven fields, or 0 (target untouched) when a price is a marker.
  int ConverPriceStruct(const KeloDataGroup::CKeloDataMerge::SPriceData& source, SPrice& target);

  // ---- curve groups (CurveGroup.cpp) ----
  void DrawEasyCurveGroupChartEx(CDC* dc, const CRect& rect, const std::vector<SGroupCurveEx>& groups);
  void UpdateCurveGroupDataEx(CDC* dc, const CRect& rect, const std::vector<SGroupCurveEx>& groups);
  void DrawTickPriceCombine(CDC* dc, std::deque<CurveCombine> combos);

  // ---- XY chart settings (XYChart.cpp) ----
  void SetRgnPointsValue(const std::vector<std::vector<XYValue>>& regions);
  void SetEasyPoints(const std::vector<EasyPoint>& points);
  void SetShowROI(int show);
  void SetShowSpecialPoints(int show);

 protected:
  void PrepareDefaultCurveColors();
  // Copies the base layer to dc's origin and the data layer, keyed on the background
  // colour, to rc's corner.
  void BindBmp(CDC* dc, const CRect& rc);
  // The target rectangle less the four pixel margins.
  CRect PlotRect(const CRect& rect) const;
  void RecalculateDeflatePixels();
  // The linear figure curve of DrawFigureCurve (one pen) and DrawFigureCurveEx (pens by direction).
  void DrawLinearFigureCurve(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                             std::int32_t slotCount, const std::vector<std::int32_t>& values, int fromMiddle,
                             bool byDirection);
  // The layers of the curve-group charts: the base of DrawBaseNew when secondsPerUnit is given,
  // else of DrawBase.
  void DrawCurveGroupLayers(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                            std::int32_t slotCount, const std::vector<std::vector<std::int32_t>>& curves,
                            std::int32_t priceScale, std::optional<int> secondsPerUnit);
  // The frame of every curve-group chart: when the base is marked changed, the base layer is
  // cleared and painted by paintBase(memory DC), the data layer by paintData(); then both are
  // bound onto the DC. Defined where the charts use it.
  template <class PaintBase, class PaintData>
  void ComposeGroupLayers(CDC* dc, const CRect& rect, PaintBase paintBase, PaintData paintData);

  // Members, in declared order; defaults are set by the constructor.
  CBitmap baseBmp;
  CBitmap curveBmp;
  int curveXCells = 10;
  int curveYCells = 10;
  COLORREF bkColor = 0;
  Gdiplus::Pen upCurvePen{Gdiplus::Color(0xFFFF0000), 1.5f};
  Gdiplus::Pen downCurvePen{Gdiplus::Color(0xFF00FF00), 1.5f};
  Gdiplus::Pen equalCurvePen{Gdiplus::Color(0xFFFFFFFF), 1.5f};
  Gdiplus::Pen defaultCurvePen{Gdiplus::Color(0xFF00FFFF), 1.0f};
  Gdiplus::Pen roiCurvePen{Gdiplus::Color(0xFFFF0000), 1.5f};
  Gdiplus::SolidBrush roiBrush{Gdiplus::Color(0x80960000)};
  Gdiplus::SolidBrush pointBrush{Gdiplus::Color(0xFFFFFFFF)};
  std::vector<SCurveStyle> curveStyles;
  int baseChanged = 1;
  int showROI = 1;
  int showSpecialPoints = 1;
  std::vector<std::vector<XYValue>> rgnPoints;
  float pointDiameter = 8.0f;
  std::vector<SROIStyle> roiStyles;
  std::vector<EasyPoint> easyPoints;
  int bmpDeflateLeftPixels = 0;
  int bmpDeflateTopPixels = 0;
  int bmpDeflateRightPixels = 0;
  int bmpDeflateBottomPixels = 0;
  SHighLowPoint highPoint;
  SHighLowPoint lowPoint;
  double highPointY = -1.0;
  double lowPointY = -1.0;
  double xRatio = 0.0;
  int firstTickPos = 0;
  int endTickPos = 0;
};
