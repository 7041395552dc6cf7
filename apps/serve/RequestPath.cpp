// Request targets: route, kind, symbol, format and query, from the raw target.
#include "RequestPath.h"

#include <algorithm>

namespace kelo::serve {

namespace {

bool PlainPathChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
         c == '-' || c == '/';
}

bool SymbolChar(char c) { return c != '/' && PlainPathChar(c); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool KnownFormat(std::string_view format) { return format == "png" || format == "svg" || format == "pdf"; }

std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> out;
  std::size_t start = 1;  // after the leading slash
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    out.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return out;
}

std::variant<Query, TargetError> ParseQuery(std::string_view text) {
  Query query;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t amp = std::min(text.find('&', start), text.size());
    const std::string_view part = text.substr(start, amp - start);
    start = amp + 1;
    if (part.empty()) continue;
    if (query.size() == kMaxQueryParameters) return TargetError{400, "too many query parameters"};
    const std::size_t eq = part.find('=');
    auto name = PercentDecode(part.substr(0, eq));
    auto value = PercentDecode(eq == std::string_view::npos ? std::string_view() : part.substr(eq + 1));
    if (!name || !value) return TargetError{400, "malformed percent-encoding in the query"};
    if (name->size() > kMaxParameterBytes || value->size() > kMaxParameterBytes) {
      return TargetError{400, "a query parameter is longer than 256 bytes"};
    }
    query.emplace_back(std::move(*name), std::move(*value));
  }
  return query;
}

}  // namespace

bool ValidSymbol(std::string_view symbol) {
  if (symbol.empty() || symbol.size() > kMaxSymbolBytes || symbol.front() == '.') return false;
  if (symbol.find("..") != std::string_view::npos) return false;
  for (char c : symbol) {
    if (!SymbolChar(c)) return false;
  }
  return true;
}

std::optional<std::pair<std::string, std::string>> SplitSymbol(std::string_view file) {
  const std::size_t dot = file.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  return std::make_pair(std::string(file.substr(0, dot)), std::string(file.substr(dot + 1)));
}

std::optional<std::string> PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out.push_back(' ');
    } else if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int hi = HexValue(text[i + 1]), lo = HexValue(text[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::variant<Target, TargetError> ParseTarget(std::string_view target) {
  const std::size_t question = target.find('?');
  const std::string_view path = target.substr(0, question);
  const std::string_view queryText =
      question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
  if (path.empty() || path.front() != '/') return TargetError{400, "the request target must be a path"};
  for (char c : path) {
    if (!PlainPathChar(c)) return TargetError{400, "the path may hold only letters, digits and . _ - /"};
  }
  auto query = ParseQuery(queryText);
  if (auto* error = std::get_if<TargetError>(&query)) return *error;
  Target t;
  t.query = std::move(std::get<Query>(query));
  const std::vector<std::string_view> parts = Segments(path);
  if (path == "/") {
    t.route = Route::kBoard;
  } else if (path == "/state") {
    t.route = Route::kState;
  } else if (path == "/healthz") {
    t.route = Route::kHealth;
  } else if (path == "/metrics") {
    t.route = Route::kMetrics;
  } else if (parts.size() == 3 && parts[0] == "chart") {
    auto split = SplitSymbol(parts[2]);
    if (parts[1].empty() || !split || !KnownFormat(split->second)) {
      return TargetError{404, "no such chart: /chart/<kind>/<symbol>.<png|svg|pdf>"};
    }
    if (!ValidSymbol(split->first)) {
      return TargetError{400, "a symbol is 1 to 64 of A-Z a-z 0-9 . _ - (not starting with a dot, no \"..\")"};
    }
    t.route = Route::kChart;
    t.kind = std::string(parts[1]);
    t.symbol = std::move(split->first);
    t.format = std::move(split->second);
  } else if (parts.size() == 2 && parts[0] == "render") {
    auto split = SplitSymbol(parts[1]);
    if (!split || split->first.empty() || !KnownFormat(split->second)) {
      return TargetError{404, "no such renderer: /render/<kind>.<png|svg|pdf>"};
    }
    t.route = Route::kRender;
    t.kind = std::move(split->first);
    t.format = std::move(split->second);
  } else {
    return TargetError{404, "not found"};
  }
  return t;
}

std::string_view RouteLabel(std::string_view path) {
  const std::string_view p = path.substr(0, path.find('?'));
  if (p == "/") return "board";
  if (p == "/state") return "state";
  if (p == "/healthz") return "healthz";
  if (p == "/metrics") return "metrics";
  if (p.substr(0, 7) == "/chart/") return "chart";
  if (p.substr(0, 8) == "/render/") return "render";
  return "other";
}

}  // namespace kelo::serve
