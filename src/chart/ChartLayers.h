// Off-screen layers of the composite charts, shared by the curve object (base and data layer)
// and the bar object (base, data and appended layer). A layer is a bitmap of the target
// rectangle's size, made at the first paint and kept until its owner deletes it
// (OnChangeSize, ReDoBmp); composing copies the base layer opaquely and every upper layer
// keyed on the palette's layout colour 4, so only what was painted on it shows.
#pragma once

#include <initializer_list>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/GdiObjects.h>
#include <kelochart/surface/Rect.h>

namespace kelo::detail {

// Gives layer a bitmap compatible with dc of rect's width and height when it has none, named
// name ("curve.base", "bar.data", ...) so records say which layer a call went to. A layer that
// has a bitmap keeps it, whatever its size.
void EnsureLayer(CBitmap& layer, CDC* dc, const CRect& rect, const char* name);

// A memory device context compatible with dc with layer selected into it, for one paint. The
// previous bitmap is selected back and the context deleted when it goes out of scope. Get()
// is null when no context could be made (no dc) or the layer has no bitmap.
class LayerDC {
 public:
  LayerDC(CDC* dc, CBitmap& layer);
  ~LayerDC();
  LayerDC(const LayerDC&) = delete;
  LayerDC& operator=(const LayerDC&) = delete;

  CDC* Get() { return selected_ ? &memory_ : nullptr; }

 private:
  CDC memory_;
  CBitmap* previous_ = nullptr;
  bool selected_ = false;
};

// Composes the layers onto dc: base copied with BitBlt (SRCCOPY) from its (0, 0) to dc's
// (0, 0), rc's width and height; then each upper layer in order with TransparentBlt from and
// to (rc.left, rc.top) at the same size, leaving out the palette's layout colour 4 as it is
// at this moment. A layer without a bitmap copies nothing; a null dc composes nothing.
void BindLayers(CDC* dc, const CRect& rc, CBitmap& base, std::initializer_list<CBitmap*> upper);

}  // namespace kelo::detail
