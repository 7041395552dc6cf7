// What a request target names, parsed without touching the network or the disk: the route,
// the chart kind, the symbol and format of a chart, and the decoded query. Everything the
// open internet can put in a URL passes through here first, so it is pure, bounded and
// fuzzed (fuzz/fuzz_request.cpp).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kelo::serve {

enum class Route { kBoard, kState, kHealth, kMetrics, kChart, kRender };

// Query parameters, decoded, in the order given.
using Query = std::vector<std::pair<std::string, std::string>>;

struct Target {
  Route route = Route::kBoard;
  std::string kind;    // chart kind name (kChart, kRender); checked against the kinds later
  std::string symbol;  // kChart: the instrument, its file is <symbol>.csv inside the data folder
  std::string format;  // kChart, kRender: "png", "svg" or "pdf"
  Query query;
};

// A target that names nothing we serve (404) or is malformed (400).
struct TargetError {
  int status = 400;
  std::string message;
};

// Limits of one query: more parameters, or longer names or values, are a 400.
inline constexpr std::size_t kMaxQueryParameters = 64;
inline constexpr std::size_t kMaxParameterBytes = 256;
inline constexpr std::size_t kMaxSymbolBytes = 64;

// Parses a raw request target ("/chart/intraday/2330.TW.png?size=400x300"), as it came on the
// request line, before any decoding. The path must be plain: only [A-Za-z0-9._/-], so an
// encoded byte (%2e%2e%2f) in the path is refused rather than decoded; the query is decoded.
std::variant<Target, TargetError> ParseTarget(std::string_view target);

// A symbol is [A-Za-z0-9._-]{1,64}, not starting with a dot and without "..": it names a file
// of the data folder and nothing else.
bool ValidSymbol(std::string_view symbol);

// "2330.TW.png" is symbol "2330.TW" and format "png": split at the last dot.
std::optional<std::pair<std::string, std::string>> SplitSymbol(std::string_view file);

// Percent-decoding of a query component ('+' is a space); nullopt for a malformed escape.
std::optional<std::string> PercentDecode(std::string_view text);

// The label a request counts under in the metrics ("chart", "render", "board", ...), from its
// path alone; "other" for anything else, so hostile paths cannot grow the label set.
std::string_view RouteLabel(std::string_view path);

}  // namespace kelo::serve
