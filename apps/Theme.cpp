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

// r, g, b in 0..255 to light, through HSL.
void Lighten(int& r, int& g, int& b) {
  const double R = r / 255.0, G = g / 255.0, B = b / 255.0;
  const double hi = std::max({R, G, B}), lo = std::min({R, G, B});
  const double l = (hi + lo) / 2, d = hi - lo;
  const double s = d == 0 ? 0 : d / (1 - std::fabs(2 * l - 1));
  double l2 = l;
  if (s < 0.15) {
    l2 = 1 - l;  // greys: the black ground turns white, light text dark
  } else {
    l2 = std::min(l, 0.42);  // colours: same hue, dark enough for a white ground
  }
  if (l2 == l) return;
  if (d == 0) {
    r = g = b = static_cast<int>(std::lround(l2 * 255));
    return;
  }
  double h = hi == R ? std::fmod((G - B) / d, 6.0) : hi == G ? (B - R) / d + 2 : (R - G) / d + 4;
  if (h < 0) h += 6;
  const double c = (1 - std::fabs(2 * l2 - 1)) * s, x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1)), m = l2 - c / 2;
  double rgb[3] = {0, 0, 0};
  const int sector = static_cast<int>(h) % 6;
  const int order[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
  rgb[order[sector][0]] = c;  // the largest component
  rgb[order[sector][1]] = x;
  r = static_cast<int>(std::lround((rgb[0] + m) * 255));
  g = static_cast<int>(std::lround((rgb[1] + m) * 255));
  b = static_cast<int>(std::lround((rgb[2] + m) * 255));
}

std::shared_ptr<kelo::surface::SurfaceBackend> LightImage(kelo::surface::SurfaceBackend& source) {
  auto* raster = dynamic_cast<kelo::surface::RasterBackend*>(&source);
  if (raster == nullptr) return nullptr;
  auto copy = std::make_shared<kelo::surface::RasterBackend>(raster->Width(), raster->Height());
  for (int y = 0; y < raster->Height(); ++y) {
    for (int x = 0; x < raster->Width(); ++x) {
      copy->FillSolidRect(CRect(x, y, x + 1, y + 1), LightColorref(raster->GetPixel(x, y)));
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
            op.text.color = LightColorref(op.text.color);
            op.text.bkColor = LightColorref(op.text.bkColor);
          } else if constexpr (std::is_same_v<T, BlitRecord>) {
            op.key = LightColorref(op.key);
            if (op.source) {
              auto source = std::make_shared<RecordingSnapshot>(*op.source);
              source->records = LightRecords(source->records);
              source->initial = LightColorref(source->initial);
              if (source->image) source->image = LightImage(*source->image);
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
