// The utility service charts rely on: counted graphics start-up, fitted volume scales,
// clock-time conversion, short volume texts and grey edge lines.
//
// Clock times are 32-bit integers of the form HHMMSS: 133000 is 13:30:00.
#pragma once

#include <cstdint>
#include <vector>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>

// Counted: each chart object calls GdiplusInitialize once in its constructor and
// GdiplusFinalize once in its destructor. Both return the count after the call.
int GdiplusInitialize();
int GdiplusFinalize();

namespace KeloUtility {

// How many GdiplusInitialize calls are not yet matched by GdiplusFinalize.
int GdiplusUseCount();

// Number of grid cells of a fitted scale (the entries FindFitScale produces).
std::int32_t GetFitScaleCount();

// Fills scale (emptied first) with GetFitScaleCount() strictly increasing positive values,
// one per grid line upward from the base line; the last is not below maxValue. The values
// are evenly spaced on the smallest 1-2-5 "nice" step that reaches maxValue (4 cells: a
// maximum of 7300 gives 2000, 4000, 6000, 8000). A maximum of 0 or less, or NaN, gives the
// step 1; the step never exceeds 500,000,000, so a maximum above 2,000,000,000 (or +inf)
// gets a top value of 2,000,000,000, below it.
void FindFitScale(double maxValue, std::vector<std::int32_t>& scale);

// value rounded half away from zero to decimals places (0 to 9; others are clamped), on
// the decimal the double stands for (1.005 gives 1.01). NaN and infinities come back
// unchanged; a result of zero is +0.0, never -0.0.
double Round(double value, int decimals);

// Seconds since midnight of an HHMMSS clock time. Hours may run past 24 (250000 gives
// 90000), up to 214747. Returns 1, or 0 (secTick set to 0) for a time that is not of that
// form (negative, minutes or seconds above 59, hours above 214747).
int TimeToSecTick(std::int32_t time, std::int32_t& secTick);
// The HHMMSS clock time of seconds since midnight, the inverse of TimeToSecTick. Seconds
// beyond a day keep counting hours (90000 gives 250000). Returns 1; negative seconds give
// 0 and return 0; seconds beyond 214747:59:59 give that time and return 0.
int SecTickToTime(std::int32_t& time, std::int32_t secTick);

// A volume as a short label of at most six characters: below 100,000 every digit
// ("-99999"); above, three significant digits rounded half up and a unit of thousands
// K, M, B, T, P, E, trailing zero decimals dropped: 123456 "123K", 1234567 "1.23M",
// 1500000 "1.5M", INT64_MIN "-9.22E". Every flag gives the same text; 1 is the one used.
void VolumeFormatA(CString& text, std::int32_t volume, int flag);
void VolumeFormatA(CString& text, std::int64_t volume, int flag);

enum EDrawEdgeStyle : int {
  eDrawEdgeLeft = 2,
  eDrawEdgeBottom = 3,
  eDrawEdgeRight = 4,  // the line x = rect.right, from top to bottom
  eDrawEdgeTop = 5,    // the line y = rect.top, from left to right
};

// One edge line of rect in colour and width, chosen by style; the DC keeps its pen.
void DrawColorEdge(CDC* dc, const CRect& rect, COLORREF color, int width, EDrawEdgeStyle style);

}  // namespace KeloUtility
