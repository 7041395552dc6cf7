// Turning a drawing into a file: PNG from the raster surface, SVG and PDF from the vector
// surface, in the palette theme asked for; written whole or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/PngEncoder.h>

#include "Theme.h"

namespace kelo::cli {

enum class OutputFormat { kPng, kSvg, kPdf };
// By the file's extension (case-insensitive); "-" (standard output) is PNG. nullopt for
// any other extension.
std::optional<OutputFormat> FormatForPath(const std::string& path);

// Draws a picture of the given size on a DC it is handed.
using DrawFunction = std::function<void(CDC* dc)>;

// Draws and encodes; false when the surface or the encoder failed. viaRecording draws on a
// recording and replays it (the light theme always does, to turn the colours); pngLevel is
// the deflate level of a PNG (0 to 12).
bool RenderPicture(const DrawFunction& draw, int width, int height, OutputFormat format, Theme theme,
                   std::vector<std::uint8_t>& bytes, bool viaRecording = false,
                   int pngLevel = kelo::surface::kDefaultPngLevel);

// Writes the bytes to path through a temporary file in the same folder renamed over it, so
// no reader ever sees a partial image; "-" writes to standard output. The error text on
// failure.
std::optional<std::string> WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace kelo::cli
