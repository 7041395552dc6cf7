// The stock objects every fresh DC starts with: a black solid cosmetic pen of width 1 and the
// label font (DejaVu Sans Mono, 12-pixel em).
#pragma once

#include <memory>

#include <kelochart/surface/Backend.h>
#include <kelochart/surface/Types.h>

namespace kelo::surface::detail {

inline constexpr const char* kLabelFace = "DejaVu Sans Mono";
inline constexpr int kLabelFontHeight = -12;

std::shared_ptr<const GdiPenDesc> StockPen();
std::shared_ptr<const LOGFONT> StockFont();

}  // namespace kelo::surface::detail
