// The render service's request targets under any bytes: the raw target of a request line, as
// the open internet may send it, through the target parser, and its pieces through the cache
// key, the ETag comparison and the JSON error text.
// Promises checked: a target parses or is refused with 400 or 404, never neither; a parsed
// chart names a valid symbol (which can never leave the data folder: no slash, no "..", no
// leading dot) with a known format; the query stays within its bounds; parsing is a pure
// function (the same target parses the same again); the metrics label is one of a fixed set;
// JSON text has no raw control byte and is valid UTF-8 whatever the message held.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <variant>

#include "ChartCache.h"
#include "FuzzInput.h"
#include "JsonText.h"
#include "RequestPath.h"

namespace {

using namespace kelo::serve;

bool ValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<std::uint8_t>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<std::uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

void CheckJson(std::string_view message) {
  const std::string json = JsonError(message, 2, 3);
  KELO_FUZZ_CHECK(ValidUtf8(json));
  for (std::size_t i = 0; i + 1 < json.size(); ++i) KELO_FUZZ_CHECK(static_cast<std::uint8_t>(json[i]) >= 0x20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view target(reinterpret_cast<const char*>(data), size);
  const auto result = ParseTarget(target);
  const std::string_view label = RouteLabel(target);
  KELO_FUZZ_CHECK(label == "board" || label == "state" || label == "healthz" || label == "metrics" ||
                  label == "chart" || label == "render" || label == "other");
  CheckJson(target);
  if (const auto* error = std::get_if<TargetError>(&result)) {
    KELO_FUZZ_CHECK(error->status == 400 || error->status == 404);
    KELO_FUZZ_CHECK(!error->message.empty());
    return 0;
  }
  const Target& t = std::get<Target>(result);
  KELO_FUZZ_CHECK(t.query.size() <= kMaxQueryParameters);
  for (const auto& [name, value] : t.query) {
    KELO_FUZZ_CHECK(name.size() <= kMaxParameterBytes && value.size() <= kMaxParameterBytes);
    CheckJson(value);
  }
  if (t.route == Route::kChart || t.route == Route::kRender) {
    KELO_FUZZ_CHECK(t.format == "png" || t.format == "svg" || t.format == "pdf");
    KELO_FUZZ_CHECK(!t.kind.empty() && t.kind.find('/') == std::string::npos);
  }
  if (t.route == Route::kChart) {
    KELO_FUZZ_CHECK(ValidSymbol(t.symbol));
    KELO_FUZZ_CHECK(t.symbol.find('/') == std::string::npos && t.symbol.find("..") == std::string::npos &&
                    t.symbol.front() != '.');
    std::map<std::string, std::string> options(t.query.begin(), t.query.end());
    const std::string key = ChartKey(t.kind, t.symbol, t.format, {1, 2, 3}, options);
    const std::string etag = StrongETag(key);
    KELO_FUZZ_CHECK(etag.size() == 18 && ETagMatches(etag, etag) && ETagMatches("W/" + etag, etag));
  }
  // Pure: the same target parses to the same again.
  const auto again = ParseTarget(target);
  const Target& u = std::get<Target>(again);
  KELO_FUZZ_CHECK(u.route == t.route && u.kind == t.kind && u.symbol == t.symbol && u.format == t.format &&
                  u.query == t.query);
  // Anything as an If-None-Match header is compared without fault.
  (void)ETagMatches(target, "\"0123456789abcdef\"");
  return 0;
}
