// The market board: one HTML page, served by the binary itself (no build step, no CDN), with a
// 400x300 thumbnail per instrument of the data folder, each linking to its full-size chart.
// The page polls /state once a second with If-None-Match; /state lists every instrument
// with a version that changes when its file does, and the page swaps in a new thumbnail for
// each version that changed. Polling rather than server-sent events: an open event stream
// would hold one of the server's worker threads per open page for as long as it stays open.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelo::serve {

// The page (HTML, CSS and script in one). It reads kind= from its own URL and passes its
// other parameters (theme=, category=, ...) on to every chart.
std::string_view BoardPage();

// The board's state as JSON: {"symbols": [["2330", "version"], ...]} in the order given.
std::string BoardState(const std::vector<std::pair<std::string, std::string>>& versions);

}  // namespace kelo::serve
