// A surface on a cairo vector document (SVG or PDF): the calls of a chart drawn directly
// become vector shapes and text with embedded fonts. Bitmaps of memory DCs made from it are
// raster surfaces, so a chart composed from layer bitmaps embeds those layers as images.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <kelochart/surface/Backend.h>

namespace kelo::surface {

class VectorBackend : public SurfaceBackend {
 public:
  enum class Format { kSvg, kPdf };
  // A new document of width x height points, cleared to the colour given.
  VectorBackend(Format format, int width, int height, COLORREF clear = 0xFFFFFF);
  ~VectorBackend() override;

  // Ends the document and returns its bytes (empty when cairo failed). Drawing afterwards
  // has no effect.
  std::vector<std::uint8_t> Finish();

  std::shared_ptr<SurfaceBackend> CreateCompatible(int width, int height) override;
  void FillSolidRect(const CRect& rect, COLORREF color) override;
  void GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) override;
  void DrawText(const TextDesc& text) override;
  // Embeds only the window of the source that lands on the page, as an image; a copy of the
  // same pixels (same version and window) reuses the image already in the document.
  void Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey, COLORREF key) override;
  void StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) override;
  void FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) override;
  void FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle, std::uint32_t argb,
               const GpState& state) override;
  // A page is not read back: nothing.
  PixelWindow ReadPixels(const CRect& window) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kelo::surface
