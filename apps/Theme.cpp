// The light theme as a colour transform of recorded drawings.
#include "Theme.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include <kelochart/surface/RasterBackend.h>

namespace kelo::cli {

std::optional<Theme> ParseTheme(std::string_view name) {
  if (name == "dark") return Theme::kDark;
  if (name == "light") return Theme::kLight;
  return std::nullopt;
}

namespace {

// r, g, b in 0..255 to their light-theme colour.
void Lighten(int& r, int& g, int& b) {
  if (std::max({r, g, b}) - std::min({r, g, b}) < 40) {
    // Greys and near greys invert: the black ground turns white, light text dark.
    r = 255 - r;
    g = 255 - g;
    b = 255 - b;
    return;
  }
  // Colours keep their hue; bright ones are darkened to a luma that reads on white.
  const double luma = (0.299 * r + 0.587 * g + 0.114 * b) / 255.0;
  if (luma <= 0.5) return;
  const double k = 0.5 / luma;
  r = static_cast<int>(r * k);
  g = static_cast<int>(g * k);
  b = static_cast<int>(b * k);
}

// WCAG relative luminance of an sRGB colour, 0 (black) to 1 (white).
double Luminance(int r, int g, int b) {
  auto linear = [](int c) {
    const double v = c / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

std::shared_ptr<kelo::surface::SurfaceBackend> LightImage(kelo::surface::SurfaceBackend& source) {
  const kelo::surface::PixelWindow read = source.ReadPixels(CRect(0, 0, source.Width(), source.Height()));
  if (read.Empty()) return nullptr;
  auto copy = kelo::surface::RasterBackend::MakeWindow(source.Width(), source.Height(), read.window);
  if (!copy) return nullptr;
  for (int y = read.window.top; y < read.window.bottom; ++y) {
    for (int x = read.window.left; x < read.window.right; ++x) {
      const std::uint32_t p = read.At(x, y);
      copy->FillSolidRect(
          CRect(x, y, x + 1, y + 1),
          LightColorref(RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p))));
    }
  }
  return copy;
}

}  // namespace

COLORREF LightColorref(COLORREF color) {
  int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  Lighten(r, g, b);
  return RGB(r, g, b);
}

COLORREF LightTextColorref(COLORREF color) {
  int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  Lighten(r, g, b);
  // Text must read on the white ground: darken, hue kept, to a contrast of at least 4.5:1
  // (WCAG AA for text of normal size), a luminance of at most 1.05 / 4.5 - 0.05.
  const int r0 = r, g0 = g, b0 = b;
  for (int k = 100; k > 0 && Luminance(r, g, b) > 1.05 / kTextContrast - 0.05; --k) {
    r = r0 * k / 100;
    g = g0 * k / 100;
    b = b0 * k / 100;
  }
  return RGB(r, g, b);
}

double ContrastOnWhite(COLORREF color) {
  return 1.05 / (Luminance(GetRValue(color), GetGValue(color), GetBValue(color)) + 0.05);
}

std::uint32_t LightArgb(std::uint32_t argb) {
  int r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
  Lighten(r, g, b);
  return (argb & 0xFF000000u) | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
         static_cast<std::uint32_t>(b);
}

std::vector<kelo::surface::Record> LightRecords(const std::vector<kelo::surface::Record>& records) {
  using namespace kelo::surface;
  std::vector<Record> out = records;
  for (Record& record : out) {
    std::visit(
        [](auto& op) {
          using T = std::decay_t<decltype(op)>;
          if constexpr (std::is_same_v<T, FillRectRecord>) {
            op.color = LightColorref(op.color);
          } else if constexpr (std::is_same_v<T, LineRecord>) {
            op.pen.color = LightColorref(op.pen.color);
          } else if constexpr (std::is_same_v<T, TextRecord>) {
            op.text.color = LightTextColorref(op.text.color);
            op.text.bkColor = LightColorref(op.text.bkColor);
          } else if constexpr (std::is_same_v<T, BlitRecord>) {
            op.key = LightColorref(op.key);
            if (op.source) {
              auto source = std::make_shared<RecordingSnapshot>(*op.source);
              source->records = LightRecords(source->records);
              source->initial = LightColorref(source->initial);
              if (source->image) source->image = LightImage(*source->image);
              source->version = 0;  // lightened: no longer the pixels that version names
              op.source = source;
            }
          } else if constexpr (std::is_same_v<T, StrokePathRecord>) {
            op.pen.argb = LightArgb(op.pen.argb);
          } else {
            op.argb = LightArgb(op.argb);
          }
        },
        record.op);
  }
  return out;
}

}  // namespace kelo::cli
