// A surface on a cairo ARGB32 image. GDI-side calls are pixel exact and never
// anti-aliased; GDI+ calls are anti-aliased under SmoothingModeAntiAlias and blend alpha.
// Text goes through FreeType and fontconfig; characters the chosen face lacks fall back to
// an installed face that has them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <kelochart/surface/Backend.h>

class CDC;

namespace kelo::surface {

class RasterBackend : public SurfaceBackend {
 public:
  // A new image cleared to the colour given (opaque).
  RasterBackend(int width, int height, COLORREF clear = 0x000000);
  ~RasterBackend() override;

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
  std::string Name() const override;
  void SetName(std::string name) override { name_ = std::move(name); }

  // The pixel at (x, y) as COLORREF (alpha dropped); 0 outside the image.
  COLORREF GetPixel(int x, int y) const;
  // The pixel as stored: premultiplied ARGB32, native endian.
  std::uint32_t GetPixelArgb(int x, int y) const;
  const std::uint8_t* Data() const;
  int Stride() const;
  // PNG of the image: 8-bit RGB, zlib level 4 without row filters (chosen by measurement on
  // chart-like images: as small as cairo's own writer in a third of its time).
  bool WritePng(const std::string& path) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string name_;
};

// The raster image behind a DC made with CDC::CreateRaster, or behind the bitmap selected in
// a memory DC of one (null otherwise).
RasterBackend* RasterOf(CDC& dc);

}  // namespace kelo::surface
