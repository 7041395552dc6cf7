// The chart kinds the tool renders, each a function that paints one picture of the given
// size on a DC from a prepared input, through the library's chart objects. A new chart
// object is made for every picture (and so for every thread of a batch).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <kelochart/KeloChartLib.h>

#include "ChartInput.h"

namespace kelo::cli {

struct ChartStyle {
  int width = 800;
  int height = 600;
  std::string fontFace;  // empty: the palette's label font
  int fontSize = 0;      // em height in pixels; 0: the label font's
  bool light = false;    // drawn for the light theme: a caption that names a grey names its inverse
};

struct ChartKind {
  const char* name;
  const char* summary;  // one line for the command list
  const char* columns;  // which CSV columns it reads, for --help
  bool layered;         // composed from layer bitmaps (embedded as images in SVG and PDF)
  bool needsInnerOuter;
  void (*draw)(CDC* dc, const ChartInput& in, const ChartStyle& style);
  bool multiDay = false;  // bars over many days: prepared by PrepareKLineInput, not PrepareInput
};

const std::vector<ChartKind>& ChartKinds();
const ChartKind* FindChartKind(std::string_view name);

// ---- shared by the renderers (ChartParts.cpp) ----

// The font of a picture: the label font of the palette, or the face and size asked for,
// with its character cell measured once.
class LabelFont {
 public:
  LabelFont(CDC* dc, const ChartStyle& style);
  // Gives the chart the font and its cell (margins follow the cell).
  void Apply(CKeloBaseChart& chart);
  CFont* Font() { return font_; }

 private:
  CFont own_;
  CFont* font_ = nullptr;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
};

COLORREF Background();
// The instrument's name for captions: the file name without folder and extension.
std::string DisplayName(const ChartInput& in);
// pane less the chart's pixel margins.
CRect PlotOf(CKeloBaseChart& chart, const CRect& pane);

// The picture size a kind needs to show its labels without overlap, for the style's label
// font: smaller sizes are refused as bad usage.
struct PictureSize {
  int width = 0;
  int height = 0;
};
int LabelEm(const ChartStyle& style);  // the em height of the labels in pixels
PictureSize SmallestSize(const ChartKind& kind, const ChartStyle& style);

// The label interval of an axis: the first of steps (seconds) whose labels, pitch pixels apart
// per step, leave a character of room around labels labelPixels wide; the last one else.
std::int32_t FittingStep(const std::vector<std::int32_t>& steps, double pixelsPerSecond, int labelPixels,
                         int gapPixels);

// Label widths in a monospaced label cell.
int TextPixels(CKeloBaseChart& chart, std::size_t characters);

// The time axis of a session: chart-clock start and end (after the midnight offset), the
// offset in minutes, and the grid lines and labels every hour and half hour. plotWidth lets
// the axis run far enough past the session end that the last slot (the closing auction)
// stands a few pixels inside the pane, clear of its right frame line.
struct TimeAxis {
  std::int32_t start = 0;
  std::int32_t end = 0;
  std::int32_t offsetMinutes = 0;
  std::vector<CKeloBaseChart::STimeLine> lines;
  std::vector<CKeloBaseChart::STimeString> labels;
};
TimeAxis MakeTimeAxis(const Session& session, int plotWidth = 0);
void ApplyTimeAxis(CKeloBaseChart& chart, const TimeAxis& axis);

// The price axis of the intraday pane: reference in the middle, bounds on the tick grid (on
// the reference's own grid when it lies off the tick grid, as index levels do), with room
// enough that the day's high and low stand kHeadroomPixels inside a pane plotHeight high.
struct PriceAxis {
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  double tick = 0;
  std::int64_t tickUnits = 1;  // the coarsest tick of the axis (the top's), in price units
  std::vector<std::int32_t> scale;
};
inline constexpr int kHeadroomPixels = 5;
PriceAxis MakePriceAxis(const ChartInput& in, int plotHeight);

// A round upper bound for volumes: 1, 2 or 5 times a power of ten, at least max.
std::int64_t RoundUp(std::int64_t max);

// The first of variants (longest first) that fits width pixels as measure gives them, or the
// last one cut to fit with an ellipsis: a caption stays on its line however small the picture.
std::string FitText(const std::vector<std::string>& variants, int width,
                    const std::function<int(const std::string&)>& measure);
// A caption in the top margin over plot: the longest of variants that fits the plot's width.
void DrawCaption(CDC* dc, CKeloBaseChart& chart, const CRect& plot, const std::vector<std::string>& variants,
                 COLORREF color);

// Text in the palette's label colour at (x, y), on the DC's current font.
void DrawLabel(CDC* dc, int x, int y, const std::string& text, COLORREF color, UINT format = DT_LEFT);

// ---- the renderers ----
void DrawIntraday(CDC* dc, const ChartInput& in, const ChartStyle& style);
void DrawVolumeByRatio(CDC* dc, const ChartInput& in, const ChartStyle& style);
void DrawInnerOuter(CDC* dc, const ChartInput& in, const ChartStyle& style);
void DrawUpDownBars(CDC* dc, const ChartInput& in, const ChartStyle& style);
void DrawMultiBars(CDC* dc, const ChartInput& in, const ChartStyle& style);
void DrawCurveGroup(CDC* dc, const ChartInput& in, const ChartStyle& style);
void DrawFigureCurves(CDC* dc, const ChartInput& in, const ChartStyle& style);
void DrawXYReturns(CDC* dc, const ChartInput& in, const ChartStyle& style);

}  // namespace kelo::cli
