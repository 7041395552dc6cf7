// Plain value types of the drawing surface: integer widths, colours, points, sizes and the
// flag constants of text, pens and copies. They carry the names and values a Windows
// charting code base uses, so chart code reads the same on this surface.
#pragma once

#include <cstdint>

// A program includes its platform's headers too, before or after these. As the Windows
// headers do, a name another header may already have defined as a macro is defined here only
// when it has not been: glib defines TRUE and FALSE (with the same values), so they are
// macros here as well and whichever header comes first defines them.
#ifndef BOOL
using BOOL = int;
#endif
using UINT = unsigned int;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using BYTE = std::uint8_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR

#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

#ifndef RGB
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
#endif
#ifndef GetRValue
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
#endif

namespace kelo::surface {
// A GDI colour 0x00BBGGRR as opaque ARGB 0xFFRRGGBB: the GDI+ colour of SetFromCOLORREF,
// the palette's brushes and the raster backend's pixels (cairo ARGB32) all use this one.
constexpr std::uint32_t OpaqueArgb(COLORREF c) {
  return 0xFF000000u | (std::uint32_t{GetRValue(c)} << 16) | (std::uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}
}  // namespace kelo::surface

// DrawText format flags.
inline constexpr UINT DT_TOP = 0x0;
inline constexpr UINT DT_LEFT = 0x0;
inline constexpr UINT DT_CENTER = 0x1;
inline constexpr UINT DT_RIGHT = 0x2;
inline constexpr UINT DT_VCENTER = 0x4;
inline constexpr UINT DT_BOTTOM = 0x8;
inline constexpr UINT DT_SINGLELINE = 0x20;
inline constexpr UINT DT_NOCLIP = 0x100;

// Pen styles. PS_GEOMETRIC pens keep their dash pattern at any width.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_STYLE_MASK = 0x0000000F;
inline constexpr int PS_COSMETIC = 0x00000000;
inline constexpr int PS_GEOMETRIC = 0x00010000;
inline constexpr int PS_TYPE_MASK = 0x000F0000;

// Brush styles (only the solid brush of a geometric pen is used).
inline constexpr UINT BS_SOLID = 0;

// Background modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Raster operation of an opaque copy.
inline constexpr DWORD SRCCOPY = 0x00CC0020;

// Device capabilities.
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

// Font weights.
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};

struct CPoint : POINT {
  CPoint() = default;
  CPoint(LONG x_, LONG y_) {
    x = x_;
    y = y_;
  }
  friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
};

struct CSize : SIZE {
  CSize() = default;
  CSize(LONG cx_, LONG cy_) {
    cx = cx_;
    cy = cy_;
  }
  friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};

struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  std::uintptr_t lbHatch = 0;
};

inline constexpr int LF_FACESIZE = 32;

struct LOGFONT {
  LONG lfHeight = 0;  // > 0: cell height in pixels; < 0: character (em) height in pixels
  LONG lfWidth = 0;   // average character width; 0 lets the face decide
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};
};
using LOGFONTA = LOGFONT;

// Multiplies two 32-bit values and divides by a third with rounding, as the GDI helper
// does; returns -1 when the divisor is 0 or the result does not fit.
LONG MulDiv(LONG number, LONG numerator, LONG denominator);
