// Drawing one label into its rectangle, the one way every axis does it. The X and time
// labels clear their place with the chart background first, so a label never shows through
// an older one beneath it; the Y and reference-price labels are drawn as they are.
#pragma once

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>

namespace kelo::detail {

inline void DrawLabel(CDC* dc, const CString& text, const CRect& rect, UINT format) {
  CRect place = rect;  // DrawText takes the rectangle by pointer
  dc->DrawText(text, &place, format);
}

inline void DrawLabelOver(CDC* dc, const CString& text, const CRect& rect, UINT format, COLORREF background) {
  dc->FillSolidRect(rect, background);
  DrawLabel(dc, text, rect, format);
}

}  // namespace kelo::detail
