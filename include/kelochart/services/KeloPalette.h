// The shared user-interface pool: the palette of colours and brushes and the default
// label font, read by charts when they build their defaults and when they draw.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/String.h>

class CKeloPalette {
 public:
  static constexpr unsigned kColorTableSize = 2048;
  static constexpr unsigned kLayoutColorCount = 16;

  // The colour-table entries the charts read, by role (docs/decisions.md): GDI colours
  // (0x00BBGGRR), brushes (read as GDI colours by GetGPBrushByIndex) and GDI+ pen colours
  // (0xAARRGGBB). colorTable[kTextColor] reads as what it is.
  enum ColorEntry : unsigned {
    kUpBarColor = 5,            // up bars of the up/down bar chart
    kDownBarColor = 9,          // down bars of the up/down bar chart
    kState0BarBrush = 16,       // brush: bar fill, state 0 (the colour of kState0BarColor)
    kState0BarColor = 17,       // bar fill, state 0: volume yellow
    kState1BarBrush = 18,       // brush: bar fill, state 1 (the colour of kState1BarColor)
    kState1BarColor = 19,       // bar fill, state 1: cyan
    kGroupBar3Brush = 298,      // brush: third bar of a group
    kReferenceColor = 299,      // middle label, reference line text, zero bar
    kGridColor = 303,           // grid and axes
    kGroupBar5Brush = 306,      // brush: fifth bar of a group
    kTextColor = 307,           // default text
    kGroupBar1Brush = 310,      // brush: plain bars and the first bar of a group
    kDownTextColor = 311,       // left Y labels, bottom label, losses
    kGroupBar2Brush = 320,      // brush: second bar of a group
    kUpTextColor = 321,         // X and time labels, right Y labels, top label, middle and special lines, profits
    kAppendedBarBrush = 332,    // brush: appended bars
    kUpDifferencePen = 1416,    // pen: up difference bars
    kDownDifferencePen = 1420,  // pen: down difference bars
    kNeutralTickPen = 1426,     // pen: ticks of neither state, zero line of inner/outer charts
    kInnerTickPen = 1428,       // pen: inner-state ticks (sold at the bid)
    kOuterTickPen = 1430,       // pen: outer-state ticks (bought at the ask)
    kTickVolumePen = 1676,      // pen: tick volume lines
    kTickValuePen = 1678,       // pen: tick value lines
    kUpDownCurve2Pen = 1710,    // pen: second curve of the inner/outer up/down chart
    kUpDownCurve1Pen = 1738,    // pen: first curve of the inner/outer up/down chart
  };
  // The layout colours by role.
  enum LayoutEntry : unsigned {
    kLayoutZeroLabel = 1,   // text of the zero label of a profit-and-loss axis
    kLayoutBackground = 4,  // chart background, cleared layers and label areas, key of layer composition
  };

  CKeloPalette();
  ~CKeloPalette();

  // Layout colour by index: 4 is the chart background, 1 the text of the zero label of a
  // profit-and-loss axis. An unknown index gives the background colour.
  COLORREF GetLayoutColor(unsigned index) const;
  // A brush of the colour-table entry index, owned by the palette for the life of the
  // process; an index outside the table gives the brush of entry 0. Safe from any thread.
  Gdiplus::SolidBrush* GetGPBrushByIndex(unsigned index);

  // The colour table, read directly by entry number. Most entries are COLORREF values;
  // the entries used for GDI+ pens hold ARGB values (see docs/decisions.md for the roles).
  std::array<std::uint32_t, kColorTableSize> colorTable{};

 private:
  std::array<COLORREF, kLayoutColorCount> layoutColors_{};
  std::array<std::unique_ptr<Gdiplus::SolidBrush>, kColorTableSize> brushes_;
};

// The default-font record of the pool. Charts read the label font (second field) and the
// character cell (sixth and seventh fields).
struct SKeloFontInfo {
  CString faceName;           // 1: face of the label font
  CFont* font = nullptr;      // 2: label font
  CFont* boldFont = nullptr;  // 3: bold variant
  LONG pixelHeight = 0;       // 4: lfHeight of the label font
  LONG pointSize = 0;         // 5: size in points at 96 dpi
  LONG charWidth = 0;         // 6: character width in pixels
  LONG charHeight = 0;        // 7: character height in pixels
};

class CKeloUIObjectSingletonPool {
 public:
  // The pool of the process, created on first use.
  static CKeloUIObjectSingletonPool* Instance();

  CString themeName;          // 1
  LONG logPixelsX = 96;       // 2
  LONG logPixelsY = 96;       // 3
  CKeloPalette palette;       // 4
  SKeloFontInfo defaultFont;  // 5

 private:
  CKeloUIObjectSingletonPool();
  CFont labelFont_;
  CFont boldFont_;
};
