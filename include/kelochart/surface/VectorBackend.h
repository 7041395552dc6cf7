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

  int Width() const override;
  int Height() const override;
  std::shared_ptr<SurfaceBackend> CreateCompatible(int width, int height) override;
  void FillSolidRect(const CRect& rect, COLORREF color) override;
  void GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) override;
  void DrawText(const TextDesc& text) override;
  CSize MeasureText(const FontDesc& font, std::string_view text) override;
  void Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey,
            COLORREF key) override;
  void StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) override;
  void FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) override;
  void FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle,
               std::uint32_t argb, const GpState& state) override;
  std::string Name() const override { return name_; }
  void SetName(std::string name) override { name_ = std::move(name); }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string name_ = "vector";
};

}  // namespace kelo::surface
