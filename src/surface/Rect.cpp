// CRect helpers. Every sum and difference is computed in 64 bits and saturated to the
// 32-bit range, so hostile rectangles never overflow.
#include <kelochart/surface/Rect.h>

#include <cstdint>

#include "base/Saturate.h"

using kelo::detail::NarrowSat32;

int CRect::Width() const { return NarrowSat32(static_cast<std::int64_t>(right) - left); }
int CRect::Height() const { return NarrowSat32(static_cast<std::int64_t>(bottom) - top); }

CPoint CRect::CenterPoint() const {
  return CPoint(static_cast<LONG>((static_cast<std::int64_t>(left) + right) / 2),
                static_cast<LONG>((static_cast<std::int64_t>(top) + bottom) / 2));
}

BOOL CRect::EqualRect(const RECT* r) const {
  if (r == nullptr) return FALSE;
  return left == r->left && top == r->top && right == r->right && bottom == r->bottom;
}

void CRect::CopyRect(const RECT* r) {
  if (r == nullptr) return;
  left = r->left;
  top = r->top;
  right = r->right;
  bottom = r->bottom;
}

void CRect::DeflateRect(int x, int y) { DeflateRect(x, y, x, y); }

void CRect::DeflateRect(int l, int t, int r, int b) {
  left = NarrowSat32(static_cast<std::int64_t>(left) + l);
  top = NarrowSat32(static_cast<std::int64_t>(top) + t);
  right = NarrowSat32(static_cast<std::int64_t>(right) - r);
  bottom = NarrowSat32(static_cast<std::int64_t>(bottom) - b);
}

void CRect::InflateRect(int x, int y) {
  left = NarrowSat32(static_cast<std::int64_t>(left) - x);
  top = NarrowSat32(static_cast<std::int64_t>(top) - y);
  right = NarrowSat32(static_cast<std::int64_t>(right) + x);
  bottom = NarrowSat32(static_cast<std::int64_t>(bottom) + y);
}

void CRect::OffsetRect(int dx, int dy) {
  left = NarrowSat32(static_cast<std::int64_t>(left) + dx);
  right = NarrowSat32(static_cast<std::int64_t>(right) + dx);
  top = NarrowSat32(static_cast<std::int64_t>(top) + dy);
  bottom = NarrowSat32(static_cast<std::int64_t>(bottom) + dy);
}
