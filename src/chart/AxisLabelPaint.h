// Painting one label of the X or time axis: the label's place is cleared with the chart
// background first, so a label never shows through an older one beneath it.
#pragma once

#include <kelochart/services/KeloPalette.h>
#include <kelochart/surface/DC.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>

namespace kelo::detail {

// The chart background of the palette, read at each drawing.
inline COLORREF ChartBackground() {
  return CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4);
}

inline void PaintAxisLabel(CDC* dc, const CRect& rect, const CString& text, UINT format, COLORREF background) {
  CRect place = rect;
  dc->FillSolidRect(place, background);
  dc->DrawText(text, place, format);
}

}  // namespace kelo::detail
