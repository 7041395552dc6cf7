// One chart to draw, as every front end asks for it. The command line, the Python package
// and the render service each spell the options their own way (--price-scale, price_scale=,
// ?price-scale=); all of them fill the same request through SetRenderOption and draw it
// through RenderBars, so one input gives the same bytes whichever way it came in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ChartInput.h"
#include "ChartKinds.h"
#include "KLineOptions.h"
#include "Output.h"
#include "ScaleCommands.h"
#include "Theme.h"

namespace kelo::cli {

struct RenderRequest {
  const ChartKind* kind = nullptr;
  InputOptions input;  // the data options as given (checked against the data by PrepareInput)
  ChartStyle style;    // size and font
  KLineOptions kline;  // bar length, indicators, style and bars shown of the K-line kind
  Theme theme = Theme::kDark;
  OutputFormat format = OutputFormat::kPng;
  int pngLevel = kelo::surface::kDefaultPngLevel;  // deflate level of a PNG, 0 to 12
  bool viaRecording = false;
};

// An option a request takes: its long name (with dashes, as on the command line; front ends
// that cannot spell a dash use underscores) and its help text.
struct RenderOption {
  const char* name;
  const char* help;
  bool klineOnly = false;  // read by the K-line kind only
};
const std::vector<RenderOption>& RenderOptions();

// Sets one option by name ("price-scale" and "price_scale" alike) from its text. An unknown
// name or a bad value is bad usage; the message names the option and the accepted values.
std::optional<UsageError> SetRenderOption(RenderRequest& request, std::string_view name, std::string_view value);

// The checks of options against each other, once all are set (every front end calls it
// before drawing): a --price-scale too coarse for the category's ticks, a --size too small
// for the kind's labels. Bad usage, like a bad value.
std::optional<UsageError> CheckRenderRequest(const RenderRequest& request);

// The chart kind by name, or bad usage listing the kinds.
std::variant<const ChartKind*, UsageError> KindByName(std::string_view name);

// The encoded picture, or the input error (file, line, column) that stopped it. name is the
// input's file name as messages and the caption show it (the caption takes its stem).
// Notes about what the chart used (the day chosen of several, the reference price's source)
// are added to notes when given.
using RenderResult = std::variant<std::vector<std::uint8_t>, InputError>;
RenderResult RenderBars(const RenderRequest& request, MinuteBars bars, std::vector<std::string>* notes = nullptr);
RenderResult RenderCsv(const RenderRequest& request, std::string_view name, std::string_view text,
                       std::vector<std::string>* notes = nullptr);

// The bars of a file (or "-" for standard input) read with the request's encoding.
std::variant<MinuteBars, InputError> ReadBars(const RenderRequest& request, const std::string& path);
// A file read and prepared with these options, as a chart would draw it.
std::variant<ChartInput, InputError> ReadChartInput(const std::string& path, const InputOptions& options);

}  // namespace kelo::cli
