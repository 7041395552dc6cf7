// The layer bitmaps of the composite charts and their composition onto the target.
#include "chart/ChartLayers.h"

#include <kelochart/services/KeloPalette.h>

namespace kelo::detail {

void EnsureLayer(CBitmap& layer, CDC* dc, const CRect& rect, const char* name) {
  if (layer.HasHandle()) return;
  if (layer.CreateCompatibleBitmap(dc, rect.Width(), rect.Height())) layer.SetName(name);
}

LayerDC::LayerDC(CDC* dc, CBitmap& layer) {
  if (!memory_.CreateCompatibleDC(dc)) return;
  previous_ = memory_.SelectObject(&layer);
  selected_ = previous_ != nullptr;
}

LayerDC::~LayerDC() {
  if (selected_) memory_.SelectObject(previous_);
  memory_.DeleteDC();
}

void BindLayers(CDC* dc, const CRect& rc, CBitmap& base, std::initializer_list<CBitmap*> upper) {
  if (dc == nullptr) return;
  const int width = rc.Width();
  const int height = rc.Height();
  LayerDC baseDC(dc, base);
  if (CDC* source = baseDC.Get()) dc->BitBlt(0, 0, width, height, source, 0, 0, SRCCOPY);
  const COLORREF key = CKeloUIObjectSingletonPool::Instance()->palette.GetLayoutColor(4);
  for (CBitmap* layer : upper) {
    LayerDC layerDC(dc, *layer);
    if (CDC* source = layerDC.Get()) {
      dc->TransparentBlt(rc.left, rc.top, width, height, source, rc.left, rc.top, width, height, key);
    }
  }
}

}  // namespace kelo::detail
