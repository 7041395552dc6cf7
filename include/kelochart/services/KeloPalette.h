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
  CString faceName;             // 1: face of the label font
  CFont* font = nullptr;        // 2: label font
  CFont* boldFont = nullptr;    // 3: bold variant
  LONG pixelHeight = 0;         // 4: lfHeight of the label font
  LONG pointSize = 0;           // 5: size in points at 96 dpi
  LONG charWidth = 0;           // 6: character width in pixels
  LONG charHeight = 0;          // 7: character height in pixels
};

class CKeloUIObjectSingletonPool {
 public:
  // The pool of the process, created on first use.
  static CKeloUIObjectSingletonPool* Instance();

  CString themeName;      // 1
  LONG logPixelsX = 96;   // 2
  LONG logPixelsY = 96;   // 3
  CKeloPalette palette;   // 4
  SKeloFontInfo defaultFont;  // 5

 private:
  CKeloUIObjectSingletonPool();
  CFont labelFont_;
  CFont boldFont_;
};
