// GDI object holders: pens, fonts and bitmaps. Each holds a shared "handle" (an immutable
// description, or the bitmap's surface) so that a DC that selected an object keeps drawing
// with what was selected even if the holder is changed or destroyed afterwards, as handles
// behave in GDI. Destroying a holder while a DC still has it selected is supported: the DC
// draws on with the handle it took, and from then on reports and hands back its own stock
// object in place of the destroyed holder (see CDC::SelectObject), never a dangling pointer.
#pragma once

#include <memory>
#include <string>

#include <kelochart/surface/Backend.h>
#include <kelochart/surface/Types.h>

class CDC;

class CGdiObject {
 public:
  CGdiObject() = default;
  // A copy is a holder of its own, with a life of its own.
  CGdiObject(const CGdiObject&) : CGdiObject() {}
  CGdiObject& operator=(const CGdiObject&) { return *this; }
  virtual ~CGdiObject() = default;
  // Expires when the holder is destroyed: a DC keeps it to learn that its selection is gone.
  std::weak_ptr<const void> Life() const { return life_; }
  // Releases the handle; the holder can be created again.
  virtual BOOL DeleteObject() = 0;
  virtual bool HasHandle() const = 0;
  // Like GetSafeHandle() != nullptr.
  explicit operator bool() const { return HasHandle(); }

 private:
  std::shared_ptr<const char> life_ = std::make_shared<const char>('\0');
};

class CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  // A cosmetic pen (style in the low bits; PS_GEOMETRIC is ignored here).
  BOOL CreatePen(int style, int width, COLORREF color);
  // A pen from a brush; geometric when the style carries PS_GEOMETRIC. Only solid brushes
  // and no user style are supported (styleCount 0, styles null).
  BOOL CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount = 0, const DWORD* styles = nullptr);
  BOOL DeleteObject() override;
  bool HasHandle() const override { return handle_ != nullptr; }

  // The description the pen draws with (null when it has none).
  std::shared_ptr<const kelo::surface::GdiPenDesc> Handle() const { return handle_; }
  // Wraps an existing handle (used by DCs for their stock pen).
  void Attach(std::shared_ptr<const kelo::surface::GdiPenDesc> handle) { handle_ = std::move(handle); }

 private:
  std::shared_ptr<const kelo::surface::GdiPenDesc> handle_;
};

// ExtCreatePen of GDI: a pen whose colour comes from a brush record.
// Returns a new pen description for CPen::Attach, null for unsupported brushes.
std::shared_ptr<const kelo::surface::GdiPenDesc> ExtCreatePen(int style, int width, const LOGBRUSH* brush,
                                                              DWORD styleCount, const DWORD* styles);

class CFont : public CGdiObject {
 public:
  BOOL CreateFontIndirect(const LOGFONT* logFont);
  BOOL CreateFontIndirectA(const LOGFONT* logFont) { return CreateFontIndirect(logFont); }
  // Copies the logical-font record back; returns the bytes written (0 without a handle).
  int GetObject(int size, void* buffer) const;
  int GetLogFont(LOGFONT* logFont) const;
  BOOL DeleteObject() override;
  bool HasHandle() const override { return handle_ != nullptr; }

  std::shared_ptr<const LOGFONT> Handle() const { return handle_; }
  void Attach(std::shared_ptr<const LOGFONT> handle) { handle_ = std::move(handle); }
  // The font as the backends see it.
  static kelo::surface::FontDesc ToDesc(const LOGFONT& logFont);

 private:
  std::shared_ptr<const LOGFONT> handle_;
};

class CBitmap : public CGdiObject {
 public:
  // A bitmap of the DC's kind (raster or recording), cleared to black, as GDI leaves it.
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  // Names the bitmap's surface ("curve.base", "bar.data") so records and messages say which
  // layer a call went to; does nothing without a handle or on a surface that is not a recording.
  void SetName(std::string name);
  BOOL DeleteObject() override;
  bool HasHandle() const override { return surface_ != nullptr; }
  CSize GetBitmapDimension() const;

  const std::shared_ptr<kelo::surface::SurfaceBackend>& Surface() const { return surface_; }

 private:
  std::shared_ptr<kelo::surface::SurfaceBackend> surface_;
};
