// CDC: keeps the drawing state of a device context and hands each call to the surface
// backend with that state resolved (pen, font, colours, background mode).
#include <kelochart/surface/DC.h>

#include <cstring>

#include <kelochart/surface/RasterBackend.h>
#include <kelochart/surface/RecordingBackend.h>

#include "surface/FontEngine.h"
#include "surface/Limits.h"
#include "surface/Png.h"
#include "base/Saturate.h"
#include "surface/StockObjects.h"

using kelo::detail::NarrowSat32;
using kelo::surface::SurfaceBackend;

namespace {

// The rectangle of a copy: x, y, width, height in 64 bits, narrowed on purpose.
CRect CopyRect(int x, int y, int w, int h) {
  return CRect(x, y, NarrowSat32(static_cast<std::int64_t>(x) + w), NarrowSat32(static_cast<std::int64_t>(y) + h));
}

}  // namespace

CDC::CDC() {
  stockPen_.Attach(kelo::surface::detail::StockPen());
  stockFont_.Attach(kelo::surface::detail::StockFont());
  pen_ = &stockPen_;
  font_ = &stockFont_;
  bitmap_ = &stockBitmap_;
  penLife_ = stockPen_.Life();
  fontLife_ = stockFont_.Life();
  bitmapLife_ = stockBitmap_.Life();
  penHandle_ = stockPen_.Handle();
  SetFontHandle(stockFont_.Handle());
}

CDC::~CDC() = default;

// The font is resolved once, when it is selected, not on every text call.
void CDC::SetFontHandle(std::shared_ptr<const LOGFONT> handle) {
  fontHandle_ = std::move(handle);
  if (fontHandle_) fontDesc_ = CFont::ToDesc(*fontHandle_);
}

std::unique_ptr<CDC> CDC::CreateRaster(int width, int height) {
  if (!kelo::surface::detail::SurfaceSizeOk(width, height)) return nullptr;
  return FromBackend(std::make_shared<kelo::surface::RasterBackend>(width, height, 0xFFFFFF));
}

std::unique_ptr<CDC> CDC::CreateRecording(int width, int height) {
  if (!kelo::surface::detail::SurfaceSizeOk(width, height)) return nullptr;
  return FromBackend(std::make_shared<kelo::surface::RecordingBackend>(width, height));
}

std::unique_ptr<CDC> CDC::FromBackend(std::shared_ptr<SurfaceBackend> backend) {
  if (!backend) return nullptr;
  auto dc = std::make_unique<CDC>();
  dc->target_ = backend;
  dc->prototype_ = std::move(backend);
  dc->valid_ = true;
  return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (dc == nullptr || valid_) return FALSE;
  auto prototype = dc->Prototype();
  if (!prototype) return FALSE;
  prototype_ = std::move(prototype);
  target_.reset();
  valid_ = true;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  if (!valid_) return FALSE;
  valid_ = false;
  target_.reset();
  prototype_.reset();
  pen_ = &stockPen_;
  font_ = &stockFont_;
  bitmap_ = &stockBitmap_;
  penLife_ = stockPen_.Life();
  fontLife_ = stockFont_.Life();
  bitmapLife_ = stockBitmap_.Life();
  penHandle_ = stockPen_.Handle();
  SetFontHandle(stockFont_.Handle());
  bitmapSurface_.reset();
  position_ = CPoint();
  return TRUE;
}

std::shared_ptr<SurfaceBackend> CDC::Prototype() const { return prototype_; }

SurfaceBackend* CDC::GetBackend() const { return GetBackendShared().get(); }

std::shared_ptr<SurfaceBackend> CDC::GetBackendShared() const {
  if (!valid_) return nullptr;
  if (target_) return target_;
  return bitmapSurface_;
}

// The selected holder, or the stock object once the holder has been destroyed: the pointer
// to a destroyed holder is never handed out.
CPen* CDC::GetCurrentPen() const { return penLife_.expired() ? const_cast<CPen*>(&stockPen_) : pen_; }
CFont* CDC::GetCurrentFont() const { return fontLife_.expired() ? const_cast<CFont*>(&stockFont_) : font_; }
CBitmap* CDC::GetCurrentBitmap() const { return bitmapLife_.expired() ? const_cast<CBitmap*>(&stockBitmap_) : bitmap_; }

CPen* CDC::SelectObject(CPen* pen) {
  if (pen == nullptr || !pen->HasHandle() || !valid_) return nullptr;
  CPen* previous = GetCurrentPen();
  pen_ = pen;
  penLife_ = pen->Life();
  penHandle_ = pen->Handle();
  return previous;
}

CFont* CDC::SelectObject(CFont* font) {
  if (font == nullptr || !font->HasHandle() || !valid_) return nullptr;
  CFont* previous = GetCurrentFont();
  font_ = font;
  fontLife_ = font->Life();
  SetFontHandle(font->Handle());
  return previous;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  // Only a memory DC takes a bitmap, as in GDI.
  if (bitmap == nullptr || !valid_ || target_) return nullptr;
  if (bitmap != &stockBitmap_ && !bitmap->HasHandle()) return nullptr;
  CBitmap* previous = GetCurrentBitmap();
  bitmap_ = bitmap;
  bitmapLife_ = bitmap->Life();
  bitmapSurface_ = bitmap->Surface();
  return previous;
}

CPoint CDC::MoveTo(int x, int y) {
  const CPoint previous = position_;
  position_ = CPoint(x, y);
  return previous;
}

BOOL CDC::LineTo(int x, int y) {
  const CPoint from = position_;
  position_ = CPoint(x, y);
  SurfaceBackend* backend = GetBackend();
  if (backend == nullptr || !penHandle_) return FALSE;
  backend->GdiLine(from, position_, *penHandle_);
  return TRUE;
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
  if (rect == nullptr || !valid_) return;
  bkColor_ = color & 0x00FFFFFF;
  SurfaceBackend* backend = GetBackend();
  if (backend == nullptr) return;
  // A reversed rectangle is put in order first, as the opaque text-out behind FillSolidRect does.
  CRect r(*rect);
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  backend->FillSolidRect(r, bkColor_);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  const CRect r = CopyRect(x, y, cx, cy);
  FillSolidRect(&r, color);
}

int CDC::DrawText(const char* text, int length, RECT* rect, UINT format) {
  if (text == nullptr || rect == nullptr || length < -1 || !valid_) return 0;
  const std::size_t n = length == -1 ? std::strlen(text) : ::strnlen(text, static_cast<std::size_t>(length));
  SurfaceBackend* backend = GetBackend();
  if (backend == nullptr || !fontHandle_) return 0;
  kelo::surface::TextDesc call;
  call.text.assign(text, n);
  call.rect = CRect(*rect);
  call.format = format;
  call.font = fontDesc_;
  call.color = textColor_;
  call.bkMode = bkMode_;
  call.bkColor = bkColor_;
  backend->DrawText(call);
  if (n == 0) return 0;
  // The height of a line depends on the font alone, so no second layout of the text is needed.
  return kelo::surface::detail::FontEngine::Instance().Measure(call.font, std::string_view()).cy;
}

CSize CDC::GetTextExtent(const char* text, int length) const {
  if (text == nullptr || length < 0 || !valid_ || !fontHandle_) return CSize();
  const std::size_t n = ::strnlen(text, static_cast<std::size_t>(length));
  // Text measures the same on every surface: the font engine's, not a backend's.
  return kelo::surface::detail::FontEngine::Instance().Measure(fontDesc_, std::string_view(text, n));
}

COLORREF CDC::SetTextColor(COLORREF color) {
  const COLORREF previous = textColor_;
  textColor_ = color & 0x00FFFFFF;
  return previous;
}

COLORREF CDC::SetBkColor(COLORREF color) {
  const COLORREF previous = bkColor_;
  bkColor_ = color & 0x00FFFFFF;
  return previous;
}

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  const int previous = bkMode_;
  bkMode_ = mode;
  return previous;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop) {
  if (source == nullptr || rop != SRCCOPY || width <= 0 || height <= 0) return FALSE;
  SurfaceBackend* dst = GetBackend();
  SurfaceBackend* src = source->GetBackend();
  if (dst == nullptr || src == nullptr) return FALSE;
  dst->Blit(CopyRect(x, y, width, height), *src, CPoint(xSource, ySource), false, 0);
  return TRUE;
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int wDest, int hDest, CDC* source, int xSource, int ySource, int wSource,
                         int hSource, UINT transparent) {
  if (source == nullptr || wDest <= 0 || hDest <= 0) return FALSE;
  if (wDest != wSource || hDest != hSource) return FALSE;
  SurfaceBackend* dst = GetBackend();
  SurfaceBackend* src = source->GetBackend();
  if (dst == nullptr || src == nullptr) return FALSE;
  dst->Blit(CopyRect(xDest, yDest, wDest, hDest), *src, CPoint(xSource, ySource), true, transparent & 0x00FFFFFF);
  return TRUE;
}

int CDC::GetDeviceCaps(int index) const {
  if (index == LOGPIXELSX || index == LOGPIXELSY) return 96;
  return 0;
}

bool CDC::WritePng(const std::string& path) const {
  SurfaceBackend* backend = GetBackend();
  if (backend == nullptr) return false;
  return kelo::surface::detail::WriteSurfacePng(*backend, path);
}
