// Reading minute bars from CSV files through the fast-cpp-csv-parser library (header and
// row splitting, quoting, column counts), with the values checked here field by field.
#include "CsvReader.h"

#define CSV_IO_NO_THREAD
#include <csv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace kelo::cli {

std::string InputError::Text() const {
  // Appended piece by piece: ":" + a temporary string draws GCC 12's false -Wrestrict at -O3.
  std::string text = file;
  if (line > 0) {
    text += ':';
    text += std::to_string(line);
    text += ':';
    text += std::to_string(column > 0 ? column : 1);
  }
  text += ": ";
  text += message;
  return text;
}

namespace {

constexpr const char* kColumns[] = {"time", "open", "high", "low", "close", "volume", "inner", "outer"};
constexpr int kRequired = 6;

std::string TooLarge() {
  return "larger than " + std::to_string(kMaxInputBytes >> 20) +
         " MiB: this is not a day of minute bars (split it per instrument and day)";
}

// The raw lines of the text, for locating fields and checking bytes before the CSV parser
// sees them.
struct Lines {
  std::vector<std::string_view> lines;

  explicit Lines(std::string_view text) : lines(SplitLines(text)) {}
  // Character column (1-based) where field number `field` (0-based) of line starts; one
  // past the end of the line when the line has fewer fields.
  std::int32_t ColumnOf(std::int32_t line, int field) const {
    if (line < 1 || static_cast<std::size_t>(line) > lines.size()) return 1;
    std::string_view l = lines[static_cast<std::size_t>(line) - 1];
    bool quoted = false;
    int current = 0;
    for (std::size_t i = 0; i < l.size(); ++i) {
      if (current == field) return static_cast<std::int32_t>(i) + 1;
      if (l[i] == '"') quoted = !quoted;
      if (l[i] == ',' && !quoted) ++current;
    }
    return static_cast<std::int32_t>(l.size()) + 1;
  }
};

// Bytes no text file of prices has: NUL and other control characters.
std::optional<InputError> CheckBytes(std::string_view name, const Lines& lines) {
  for (std::size_t n = 0; n < lines.lines.size(); ++n) {
    std::string_view l = lines.lines[n];
    const auto line = static_cast<std::int32_t>(n + 1);
    if (l.size() > kMaxLineBytes) {
      return InputError{std::string(name), line, static_cast<std::int32_t>(kMaxLineBytes) + 1,
                        "line longer than " + std::to_string(kMaxLineBytes) + " bytes: not a minute bar"};
    }
    for (std::size_t i = 0; i < l.size(); ++i) {
      const auto c = static_cast<unsigned char>(l[i]);
      if (c < 0x20 && c != '\t') {
        char text[96];
        std::snprintf(text, sizeof text, "binary data (byte 0x%02X): expected a CSV text file", c);
        return InputError{std::string(name), line, static_cast<std::int32_t>(i) + 1, text};
      }
    }
  }
  return std::nullopt;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Index (0-based) of each known column in the header line, -1 when absent.
std::vector<int> HeaderColumns(std::string_view header) {
  std::vector<int> at(std::size(kColumns), -1);
  int field = 0;
  std::size_t start = 0;
  while (start <= header.size()) {
    std::size_t end = header.find(',', start);
    if (end == std::string_view::npos) end = header.size();
    std::string name = Lower(header.substr(start, end - start));
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c == ' ' || c == '\t' || c == '"'; }),
               name.end());
    for (std::size_t k = 0; k < std::size(kColumns); ++k) {
      if (name == kColumns[k] && at[k] < 0) at[k] = field;
    }
    ++field;
    start = end + 1;
  }
  return at;
}

std::string Quote(const char* field) { return std::string("\"") + (field ? field : "") + "\""; }

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::variant<std::string, InputError> ReadInput(const std::string& path) {
  const bool isStdin = path == "-";
  const std::string name = isStdin ? "<stdin>" : path;
  std::ifstream file;
  if (!isStdin) {
    // A file of gigabytes is refused from its size, without reading it.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxInputBytes) return InputError{name, 0, 0, TooLarge()};
    file.open(path, std::ios::binary);
    if (!file) return InputError{name, 0, 0, "cannot open the file"};
  }
  std::istream& in = isStdin ? std::cin : file;
  std::string text;
  char buffer[1 << 16];
  while (in) {
    in.read(buffer, sizeof buffer);
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxInputBytes) return InputError{name, 0, 0, TooLarge()};
  }
  if (in.bad()) return InputError{name, 0, 0, "read error"};
  return text;
}

std::optional<Decimal> ParseDecimal(std::string_view s) {
  Decimal d;
  bool negative = false, point = false, digits = false;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '.' && !point) {
      point = true;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      digits = true;
      if (point && ++d.decimals > 4) return std::nullopt;
      d.mantissa = d.mantissa * 10 + (c - '0');
      if (d.mantissa > 2147483647) return std::nullopt;  // beyond a scaled 32-bit price
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  if (negative) d.mantissa = -d.mantissa;
  return d;
}

std::variant<MinuteBars, InputError> ParseMinuteBars(std::string_view name, std::string_view text) {
  const std::string file(name);
  if (text.size() > kMaxInputBytes) return InputError{file, 0, 0, TooLarge()};
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte order mark
  const Lines lines(text);
  auto fail = [&](std::int32_t line, int field, std::string message) {
    return InputError{file, line, lines.ColumnOf(line, field), std::move(message)};
  };
  if (lines.lines.empty() || std::all_of(lines.lines.begin(), lines.lines.end(), [](auto l) { return l.empty(); })) {
    return InputError{file, 1, 1, "empty file: expected a header line time,open,high,low,close,volume and minute bars"};
  }
  if (auto bad = CheckBytes(name, lines)) return *bad;

  const std::vector<int> at = HeaderColumns(lines.lines[0]);
  if (at[0] < 0 && ParseClock(lines.lines[0].substr(0, lines.lines[0].find(',')))) {
    return fail(1, 0, "no header line: the first line must name the columns time,open,high,low,close,volume");
  }
  for (int k = 0; k < kRequired; ++k) {
    if (at[static_cast<std::size_t>(k)] < 0) {
      return fail(1, 0, std::string("missing column \"") + kColumns[k] +
                            "\" in the header (needs time,open,high,low,close,volume)");
    }
  }
  const bool innerOuter = at[6] >= 0 && at[7] >= 0;
  if ((at[6] >= 0) != (at[7] >= 0)) {
    return fail(1, std::max(at[6], at[7]), "the columns \"inner\" and \"outer\" go together: one is missing");
  }

  // The CSV library reads the header again with lower-case names; it splits and counts.
  std::string body(text);
  const std::size_t headerEnd = std::min(body.find('\n'), body.size());
  std::transform(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(headerEnd), body.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  // The CSV library looks one byte past a last line without a line feed, in a buffer it does
  // not clear: a stale '\n' there made it read on into what a former file left (lines past
  // the end of the input, found by the CSV fuzz target, which reuses that buffer). A last
  // line feed keeps it inside the text.
  if (!body.empty() && body.back() != '\n') body.push_back('\n');
  MinuteBars out;
  out.name = file;
  out.hasInnerOuter = innerOuter;
  std::vector<std::array<Decimal, 4>> prices;
  try {
    io::CSVReader<8, io::trim_chars<' ', '\t'>, io::double_quote_escape<',', '"'>> csv(
        file, body.data(), body.data() + body.size());
    csv.read_header(io::ignore_missing_column | io::ignore_extra_column, "time", "open", "high", "low", "close",
                    "volume", "inner", "outer");
    char* f[8];
    for (;;) {
      std::fill(std::begin(f), std::end(f), nullptr);
      if (!csv.read_row(f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7])) break;
      const auto line = static_cast<std::int32_t>(csv.get_file_line());
      MinuteBar bar;
      bar.line = line;
      // Fields before the time field differ in width from line to line.
      bar.timeColumn = lines.ColumnOf(line, at[0]);
      auto time = ParseClock(f[0] ? f[0] : "");
      if (!time || *time == 240000) {
        return fail(line, at[0], "column \"time\": " + Quote(f[0]) + " is not a time of day (HH:MM or HH:MM:SS)");
      }
      bar.time = *time;
      std::array<Decimal, 4> p;
      for (int k = 1; k <= 4; ++k) {
        auto d = ParseDecimal(f[k] ? f[k] : "");
        if (!d) {
          return fail(line, at[static_cast<std::size_t>(k)],
                      std::string("column \"") + kColumns[k] + "\": " + Quote(f[k]) +
                          " is not a decimal price (digits with at most 4 decimals, like 30.15)");
        }
        if (d->mantissa <= 0) {
          return fail(line, at[static_cast<std::size_t>(k)],
                      std::string("column \"") + kColumns[k] + "\": price " + f[k] + " is not positive");
        }
        p[static_cast<std::size_t>(k - 1)] = *d;
        out.decimals = std::max(out.decimals, d->decimals);
      }
      for (int k = 5; k < (innerOuter ? 8 : 6); ++k) {
        auto d = ParseDecimal(f[k] ? f[k] : "");
        if (!d || d->decimals != 0 || std::string_view(f[k]).find('.') != std::string_view::npos) {
          return fail(line, at[static_cast<std::size_t>(k)],
                      std::string("column \"") + kColumns[k] + "\": " + Quote(f[k]) + " is not a whole number");
        }
        if (d->mantissa < 0) {
          return fail(line, at[static_cast<std::size_t>(k)],
                      std::string("column \"") + kColumns[k] + "\": volume " + f[k] + " is negative");
        }
        (k == 5 ? bar.volume : k == 6 ? bar.inner : bar.outer) = d->mantissa;
      }
      out.bars.push_back(bar);
      prices.push_back(p);
    }
  } catch (const io::error::base& e) {
    auto* where = dynamic_cast<const io::error::with_file_line*>(&e);
    // An error in the header line comes without a line number (-1): it is line 1.
    const std::int32_t line = where && where->file_line >= 1 ? static_cast<std::int32_t>(where->file_line) : 1;
    std::string message = "malformed CSV";
    int field = 0;
    if (dynamic_cast<const io::error::too_few_columns*>(&e)) {
      message = "too few columns: the header names more";
      field = 1 << 20;
    } else if (dynamic_cast<const io::error::too_many_columns*>(&e)) {
      message = "too many columns: the header names fewer";
      field = static_cast<int>(std::count(lines.lines[0].begin(), lines.lines[0].end(), ',')) + 1;
    } else if (dynamic_cast<const io::error::escaped_string_not_closed*>(&e)) {
      // The field that holds the opening quote.
      const std::string_view l = line >= 1 && static_cast<std::size_t>(line) <= lines.lines.size()
                                     ? lines.lines[static_cast<std::size_t>(line) - 1]
                                     : std::string_view();
      const std::size_t quote = std::min(l.find('"'), l.size());
      field = static_cast<int>(std::count(l.begin(), l.begin() + static_cast<std::ptrdiff_t>(quote), ','));
      message = "a quoted field is not closed";
    } else if (dynamic_cast<const io::error::duplicated_column_in_header*>(&e)) {
      message = "a column is named twice in the header";
    } else if (dynamic_cast<const io::error::line_length_limit_exceeded*>(&e)) {
      message = "line too long";
    }
    return fail(line, field, message);
  }
  if (out.bars.empty()) return fail(1, 0, "no minute bars after the header");

  // Every price on the scale of the most precise one.
  out.priceScale = 1;
  for (int k = 0; k < out.decimals; ++k) out.priceScale *= 10;
  for (std::size_t i = 0; i < out.bars.size(); ++i) {
    std::int32_t* fields[4] = {&out.bars[i].open, &out.bars[i].high, &out.bars[i].low, &out.bars[i].close};
    for (std::size_t k = 0; k < 4; ++k) {
      std::int64_t v = prices[i][k].mantissa;
      for (int d = prices[i][k].decimals; d < out.decimals; ++d) v *= 10;
      if (v > 2147483647) {
        return fail(out.bars[i].line, at[k + 1],
                    std::string("column \"") + kColumns[k + 1] + "\": price too large for " +
                        std::to_string(out.decimals) + " decimals");
      }
      *fields[k] = static_cast<std::int32_t>(v);
    }
    const MinuteBar& b = out.bars[i];
    if (b.high < b.low) return fail(b.line, at[2], "column \"high\": the high is below the low");
  }
  return out;
}

std::optional<InputError> CheckSession(const MinuteBars& data, const Session& session) {
  std::int32_t previous = -1;
  for (const MinuteBar& b : data.bars) {
    auto offset = session.OffsetOf(b.time);
    if (!offset) {
      return InputError{data.name, b.line, b.timeColumn,
                        "column \"time\": " + FormatClock(b.time, true) + " is outside the session " +
                            FormatClock(session.start) + "-" + FormatClock(session.end) + " (see --session)"};
    }
    if (*offset <= previous) {
      return InputError{data.name, b.line, b.timeColumn,
                        "column \"time\": " + FormatClock(b.time, true) +
                            " is not after the time of the line before: times must increase"};
    }
    previous = *offset;
  }
  return std::nullopt;
}

}  // namespace kelo::cli
