// SVG ids that depend on the picture alone. Cairo names an SVG's groups and embedded images
// after process-wide surface serial numbers (id="surface131", id="image166"), so the same
// chart drawn second in a process, or on another thread of a batch, came out with other
// bytes. Renumbering them in order of first appearance makes every front end (one render,
// --batch on many threads, the Python package) write the same SVG for the same chart.
#pragma once

#include <cstdint>
#include <vector>

namespace kelo::cli {

// Rewrites every id="surfaceN" / "#surfaceN" (and the same for "image") so that the Ns run
// 1, 2, 3, ... per prefix in order of first appearance. Other bytes are kept.
void NumberSvgIdsInOrder(std::vector<std::uint8_t>& svg);

}  // namespace kelo::cli
