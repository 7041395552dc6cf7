// CRect: a rectangle of four signed 32-bit integers in device pixels, right and bottom
// exclusive, with the helpers chart code uses to copy, compare and shrink it.
#pragma once

#include <kelochart/surface/Types.h>

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

class CRect : public RECT {
 public:
  CRect() = default;
  CRect(LONG l, LONG t, LONG r, LONG b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  CRect(const RECT& r) : RECT(r) {}  // NOLINT: implicit like the MFC class

  // Width and height are computed in 64 bits and narrowed, so that hostile
  // rectangles (left = INT32_MIN, right = INT32_MAX) never overflow.
  int Width() const;
  int Height() const;
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const;

  // Empty when the width or the height is zero or negative.
  BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL EqualRect(const RECT* r) const;
  void CopyRect(const RECT* r);
  void SetRect(LONG l, LONG t, LONG r, LONG b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  void SetRectEmpty() { left = top = right = bottom = 0; }
  void DeflateRect(int x, int y);
  void DeflateRect(int l, int t, int r, int b);
  // Grows every side by x and y; saturates at the 32-bit range (INT_MIN is never negated).
  void InflateRect(int x, int y);
  void OffsetRect(int dx, int dy);
  BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

  operator RECT*() { return this; }              // NOLINT
  operator const RECT*() const { return this; }  // NOLINT

  friend bool operator==(const CRect& a, const CRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
  friend bool operator!=(const CRect& a, const CRect& b) { return !(a == b); }
};
