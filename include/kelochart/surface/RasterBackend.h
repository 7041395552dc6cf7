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

  std::shared_ptr<SurfaceBackend> CreateCompatible(int width, int height) override;
  void FillSolidRect(const CRect& rect, COLORREF color) override;
  void GdiLine(CPoint from, CPoint to, const GdiPenDesc& pen) override;
  void DrawText(const TextDesc& text) override;
  void Blit(const CRect& dst, SurfaceBackend& source, CPoint sourceOrigin, bool useKey, COLORREF key) override;
  void StrokePath(const PathDesc& path, const GpPenDesc& pen, const GpState& state) override;
  void FillPath(const PathDesc& path, std::uint32_t argb, const GpState& state) override;
  void FillPie(float x, float y, float w, float h, float startAngle, float sweepAngle, std::uint32_t argb,
               const GpState& state) override;
  // A view of the image's own pixels (no copy), with the image's version.
  PixelWindow ReadPixels(const CRect& window) override;

  // The pixel at (x, y) as COLORREF (alpha dropped); 0 outside the image.
  COLORREF GetPixel(int x, int y) const;
  // The pixel as stored: premultiplied ARGB32, native endian.
  std::uint32_t GetPixelArgb(int x, int y) const;
  const std::uint8_t* Data() const;
  int Stride() const;
  // PNG of the image: 8-bit RGB, zlib level 4 without row filters (chosen by measurement on
  // chart-like images: as small as cairo's own writer in a third of its time).
  bool WritePng(const std::string& path) const;

  // A raster that holds only the window (fullWidth x fullHeight coordinates) of a larger
  // surface: it draws as that surface would and keeps the pixels inside the window, so a
  // copy out of a large recorded bitmap renders just what it reads. Null for a window the
  // layer does not make. Width and Height are the larger surface's.
  static std::shared_ptr<RasterBackend> MakeWindow(int fullWidth, int fullHeight, const CRect& window);
  // A window raster holding a copy of the pixels read (of a surface of fullWidth x fullHeight):
  // what a recording keeps of a copy from pixels. Null when nothing was read.
  static std::shared_ptr<RasterBackend> FromPixels(int fullWidth, int fullHeight, const PixelWindow& pixels);
  // The pixels held, in the surface's coordinates: the whole image unless made as a window.
  CRect Window() const;

 private:
  RasterBackend(int width, int height, COLORREF clear, int fullWidth, int fullHeight, CPoint origin);
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The raster image behind a DC made with CDC::CreateRaster, or behind the bitmap selected in
// a memory DC of one (null otherwise).
RasterBackend* RasterOf(CDC& dc);

}  // namespace kelo::surface
