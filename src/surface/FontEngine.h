// The one font engine of the surface layer: resolves a logical font to FreeType faces
// through fontconfig, lays a line of text out into glyph runs (falling back per character to
// an installed face that has the glyph) and measures it. Raster and vector drawing and
// CDC::GetTextExtent go through it, so text measures the same on every surface.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <kelochart/surface/Backend.h>
#include <kelochart/surface/Types.h>

namespace kelo::surface::detail {

struct GlyphRun {
  cairo_scaled_font_t* font = nullptr;  // owned by the engine for the life of the process
  std::vector<cairo_glyph_t> glyphs;    // x from the line's start, y = 0 on the baseline
};

struct TextLayout {
  int width = 0;               // sum of the (whole-pixel) advances
  int ascent = 0;              // whole pixels above the baseline
  int descent = 0;             // whole pixels below it
  int height = 0;              // ascent + descent: the cell height GetTextExtent reports
  int underlineOffset = 1;     // rows from the baseline to the underline's top
  int underlineThickness = 1;  // rows
  std::vector<GlyphRun> runs;
};

class FontEngine {
 public:
  static FontEngine& Instance();

  // One line of text (no line breaks are interpreted).
  TextLayout Layout(const FontDesc& font, std::string_view utf8);
  CSize Measure(const FontDesc& font, std::string_view utf8);

  // The em size in pixels a logical font height gives (exposed for tests and notes):
  // < 0 is the em height, > 0 the cell height (ascent + descent), 0 the label size 12.
  double EmPixels(const FontDesc& font);
  // Logical fonts (face name, weight, italic) cached now: never more than a small bound.
  std::size_t CachedFamilies();
  // Takes fontconfig's answers from the file at path and keeps new ones there (empty: off).
  void KeepAnswers(const std::string& path);

  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

 private:
  FontEngine();
  ~FontEngine();
  // Measuring needs the advances only, so it skips collecting the glyph runs.
  TextLayout LayoutText(const FontDesc& font, std::string_view utf8, bool withGlyphs);
  // Releases the fontconfig configuration at exit; text measured afterwards is empty.
  static void Shutdown();
  struct Impl;
  Impl* impl_;  // lives as long as the process (cairo keeps its faces)
};

// Decodes one UTF-8 character at text[i], advancing i; invalid bytes give '?'.
std::uint32_t NextCodepoint(std::string_view text, std::size_t& i);

}  // namespace kelo::surface::detail
