// Palette themes of the tool. The library paints in the client's dark palette (black
// background, red up, green down); the light theme turns a finished drawing into light
// colours: greys invert (black ground to white, light text to dark) and colours keep their
// hue, darkened where they would be too bright to read on white.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include <kelochart/surface/RecordingBackend.h>

namespace kelo::cli {

enum class Theme { kDark, kLight };
std::optional<Theme> ParseTheme(std::string_view name);

// The light colour of a dark-theme colour (COLORREF and ARGB with its alpha kept).
COLORREF LightColorref(COLORREF color);
std::uint32_t LightArgb(std::uint32_t argb);
// The light colour of a text colour: also dark enough to reach kTextContrast on white.
inline constexpr double kTextContrast = 4.5;
COLORREF LightTextColorref(COLORREF color);
// The contrast ratio of a colour against white, 1 to 21.
double ContrastOnWhite(COLORREF color);

// The records with every colour turned light, copied sources included.
std::vector<kelo::surface::Record> LightRecords(const std::vector<kelo::surface::Record>& records);

}  // namespace kelo::cli
