// Pens, fonts and bitmaps: holders of shared, immutable handles (pen and font descriptions,
// a bitmap's surface), so that a DC keeps drawing with what was selected into it.
#include <kelochart/surface/GdiObjects.h>

#include <cstring>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/RecordingBackend.h>

#include "surface/Limits.h"

using kelo::surface::FontDesc;
using kelo::surface::GdiPenDesc;

namespace {

std::shared_ptr<const GdiPenDesc> MakePen(int style, int width, COLORREF color, bool geometric) {
  auto desc = std::make_shared<GdiPenDesc>();
  desc->style = style & PS_STYLE_MASK;
  desc->width = width;
  desc->color = color & 0x00FFFFFF;
  desc->geometric = geometric;
  return desc;
}

}  // namespace

std::shared_ptr<const GdiPenDesc> ExtCreatePen(int style, int width, const LOGBRUSH* brush, DWORD styleCount,
                                               const DWORD* styles) {
  // Only a solid brush and the built-in dash styles are supported; a user style (PS_USERSTYLE)
  // or a hatched brush gives no pen, as an unsupported request fails in GDI.
  if (brush == nullptr || brush->lbStyle != BS_SOLID) return nullptr;
  if (styleCount != 0 || styles != nullptr) return nullptr;
  if ((style & PS_STYLE_MASK) > PS_NULL) return nullptr;
  const bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  return MakePen(style, width, brush->lbColor, geometric);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  if ((style & PS_STYLE_MASK) > PS_NULL) return FALSE;
  handle_ = MakePen(style, width, color, false);
  return TRUE;
}

BOOL CPen::CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles) {
  if (styleCount < 0) return FALSE;
  auto handle = ExtCreatePen(style, width, brush, static_cast<DWORD>(styleCount), styles);
  if (!handle) return FALSE;
  handle_ = std::move(handle);
  return TRUE;
}

BOOL CPen::DeleteObject() {
  if (!handle_) return FALSE;
  handle_.reset();
  return TRUE;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) {
  if (logFont == nullptr) return FALSE;
  auto copy = std::make_shared<LOGFONT>(*logFont);
  copy->lfFaceName[LF_FACESIZE - 1] = '\0';  // a face name without terminator stays bounded
  handle_ = std::move(copy);
  return TRUE;
}

int CFont::GetObject(int size, void* buffer) const {
  if (!handle_) return 0;
  if (buffer == nullptr) return static_cast<int>(sizeof(LOGFONT));
  if (size <= 0) return 0;
  const std::size_t n =
      static_cast<std::size_t>(size) < sizeof(LOGFONT) ? static_cast<std::size_t>(size) : sizeof(LOGFONT);
  std::memcpy(buffer, handle_.get(), n);
  return static_cast<int>(n);
}

int CFont::GetLogFont(LOGFONT* logFont) const {
  if (logFont == nullptr) return 0;
  return GetObject(static_cast<int>(sizeof(LOGFONT)), logFont);
}

BOOL CFont::DeleteObject() {
  if (!handle_) return FALSE;
  handle_.reset();
  return TRUE;
}

FontDesc CFont::ToDesc(const LOGFONT& logFont) {
  FontDesc desc;
  const std::size_t len = ::strnlen(logFont.lfFaceName, LF_FACESIZE);
  if (len > 0) desc.face.assign(logFont.lfFaceName, len);
  desc.height = logFont.lfHeight;
  desc.width = logFont.lfWidth;
  desc.weight = logFont.lfWeight;
  desc.italic = logFont.lfItalic != 0;
  desc.underline = logFont.lfUnderline != 0;
  return desc;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  if (dc == nullptr) return FALSE;
  if (!kelo::surface::detail::SurfaceSizeOk(width, height)) return FALSE;
  auto prototype = dc->Prototype();
  if (!prototype) return FALSE;
  auto surface = prototype->CreateCompatible(width, height);
  if (!surface) return FALSE;
  surface_ = std::move(surface);
  return TRUE;
}

// Names belong to recordings (records say which surface a call went to); other surfaces have none.
void CBitmap::SetName(std::string name) {
  if (auto* recording = kelo::surface::RecordingOf(surface_.get())) recording->SetName(std::move(name));
}

BOOL CBitmap::DeleteObject() {
  if (!surface_) return FALSE;
  surface_.reset();
  return TRUE;
}

CSize CBitmap::GetBitmapDimension() const {
  if (!surface_) return CSize();
  return CSize(surface_->Width(), surface_->Height());
}
