// CDC: a device context in the shape chart code expects. It holds the drawing state (the
// selected pen, font and bitmap, text and background colours, background mode, current
// position) and turns each call into one call of its surface backend with that state
// resolved. A DC draws on one of:
//   - a screen surface made by CDC::CreateRaster / CDC::CreateRecording (the caller's DC);
//   - a memory DC (CreateCompatibleDC) that draws on the bitmap selected into it.
#pragma once

#include <memory>
#include <string>

#include <kelochart/surface/Backend.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>
#include <kelochart/surface/Types.h>

class CDC {
 public:
  CDC();
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // A DC on a new raster image (cairo ARGB32), cleared to white like a fresh window.
  static std::unique_ptr<CDC> CreateRaster(int width, int height);
  // A DC on a new recording surface of that size (see RecordingBackend.h).
  static std::unique_ptr<CDC> CreateRecording(int width, int height);
  // A DC on a backend of the caller's own.
  static std::unique_ptr<CDC> FromBackend(std::shared_ptr<kelo::surface::SurfaceBackend> backend);

  // A memory DC compatible with dc: it draws nowhere until a bitmap is selected.
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  // Whether the DC was created (screen DC or memory DC).
  bool IsValid() const { return valid_; }

  // Selection returns the previously selected object (the DC's stock object at first). A
  // holder destroyed while selected is reported and handed back as the DC's stock object,
  // so that restoring "the previous object" after a call is always safe; until the next
  // selection the DC keeps drawing with the destroyed holder's handle.
  CPen* SelectObject(CPen* pen);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  CPen* GetCurrentPen() const;
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;

  // Lines with the selected pen; LineTo leaves out the end point, as GDI does.
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  CPoint GetCurrentPosition() const { return position_; }

  // Fills exactly the rectangle; the colour stays as the DC's background colour.
  void FillSolidRect(const RECT* rect, COLORREF color);
  void FillSolidRect(const RECT& rect, COLORREF color) { FillSolidRect(&rect, color); }
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);

  // Text in the selected font, colour and background mode; returns the text height.
  virtual int DrawText(const char* text, int length, RECT* rect, UINT format);
  int DrawText(const CString& text, RECT* rect, UINT format) {
    return DrawText(text.GetString(), text.GetLength(), rect, format);
  }
  CSize GetTextExtent(const char* text, int length) const;
  CSize GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }

  virtual COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const { return textColor_; }
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return bkColor_; }
  int SetBkMode(int mode);
  int GetBkMode() const { return bkMode_; }

  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop);
  // Copies source to this DC leaving out the pixels equal to transparent. Stretching is not
  // supported: source and destination sizes must match (otherwise nothing is drawn, FALSE).
  BOOL TransparentBlt(int xDest, int yDest, int wDest, int hDest, CDC* source, int xSource, int ySource, int wSource,
                      int hSource, UINT transparent);

  // LOGPIXELSX / LOGPIXELSY: 96, the usual screen resolution.
  int GetDeviceCaps(int index) const;

  // The surface drawn on now (the selected bitmap's for a memory DC); null when none.
  kelo::surface::SurfaceBackend* GetBackend() const;
  std::shared_ptr<kelo::surface::SurfaceBackend> GetBackendShared() const;

  // Writes the current surface as PNG (raster surfaces only; recordings are replayed first).
  bool WritePng(const std::string& path) const;

 private:
  std::shared_ptr<kelo::surface::SurfaceBackend> target_;     // screen surface or null
  std::shared_ptr<kelo::surface::SurfaceBackend> prototype_;  // kind to create bitmaps of
  bool valid_ = false;
  CPen stockPen_;
  CFont stockFont_;
  CBitmap stockBitmap_;
  CPen* pen_ = nullptr;
  CFont* font_ = nullptr;
  CBitmap* bitmap_ = nullptr;
  std::weak_ptr<const void> penLife_, fontLife_, bitmapLife_;  // of the selected holders
  std::shared_ptr<const kelo::surface::GdiPenDesc> penHandle_;
  std::shared_ptr<const LOGFONT> fontHandle_;
  kelo::surface::FontDesc fontDesc_;  // fontHandle_ as the backends see it
  std::shared_ptr<kelo::surface::SurfaceBackend> bitmapSurface_;
  COLORREF textColor_ = 0x000000;
  COLORREF bkColor_ = 0xFFFFFF;
  int bkMode_ = OPAQUE;
  CPoint position_;

  friend class CBitmap;
  std::shared_ptr<kelo::surface::SurfaceBackend> Prototype() const;
  void SetFontHandle(std::shared_ptr<const LOGFONT> handle);
};
