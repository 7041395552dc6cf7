// The stock pen and font shared by every DC (immutable, so one instance each).
#include "surface/StockObjects.h"

#include <cstring>

namespace kelo::surface::detail {

std::shared_ptr<const GdiPenDesc> StockPen() {
  static const auto pen = std::make_shared<const GdiPenDesc>(GdiPenDesc{PS_SOLID, 1, 0x000000, false});
  return pen;
}

std::shared_ptr<const LOGFONT> StockFont() {
  static const auto font = [] {
    auto f = std::make_shared<LOGFONT>();
    f->lfHeight = kLabelFontHeight;
    f->lfWeight = FW_NORMAL;
    std::strncpy(f->lfFaceName, kLabelFace, LF_FACESIZE - 1);
    return std::shared_ptr<const LOGFONT>(std::move(f));
  }();
  return font;
}

}  // namespace kelo::surface::detail
