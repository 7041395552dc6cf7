// JSON text for the service's small answers (errors, the board's state): a string quoted and
// escaped, with bytes that are not UTF-8 (a Big5 file name in a message) replaced by U+FFFD so
// the answer is always valid JSON.
#pragma once

#include <string>
#include <string_view>

namespace kelo::serve {

std::string JsonString(std::string_view text);

// {"error": message} with "line" and "column" when line > 0.
std::string JsonError(std::string_view message, int line = 0, int column = 0);

}  // namespace kelo::serve
