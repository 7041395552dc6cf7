// Renumbering cairo's surface and image ids of an SVG document.
#include "SvgIds.h"

#include <cctype>
#include <map>
#include <string>
#include <string_view>

namespace kelo::cli {

void NumberSvgIdsInOrder(std::vector<std::uint8_t>& svg) {
  const std::string_view text(reinterpret_cast<const char*>(svg.data()), svg.size());
  static constexpr std::string_view kPrefixes[] = {"surface", "image"};
  std::map<std::string, std::size_t> numbers[2];
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    // An id is named after id=" and referred to after #.
    const bool opens = c == '#' || (c == '"' && i >= 3 && text.substr(i - 3, 3) == "id=");
    out += c;
    ++i;
    if (!opens) continue;
    for (std::size_t p = 0; p < 2; ++p) {
      const std::string_view prefix = kPrefixes[p];
      if (text.substr(i, prefix.size()) != prefix) continue;
      std::size_t end = i + prefix.size();
      while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
      if (end == i + prefix.size()) break;
      const std::string serial(text.substr(i + prefix.size(), end - i - prefix.size()));
      auto [at, added] = numbers[p].emplace(serial, numbers[p].size() + 1);
      out += prefix;
      out += std::to_string(at->second);
      i = end;
      break;
    }
  }
  svg.assign(out.begin(), out.end());
}

}  // namespace kelo::cli
