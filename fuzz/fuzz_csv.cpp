// The command-line tool's reader of bars and trades under any bytes, and the session check
// after it. An input whose first byte is a control byte below 8 (which the reader refuses as
// binary anyway) is a recipe instead: a file built from it as Taiwan's vendors write them,
// in UTF-8 (with or without a byte order mark), Big5 or UTF-16; comma, tab or semicolon
// separated; English or Chinese column names in any order and case, quoted or not, with
// quoted names that hold the separator ("a,b", "x,time"); a date column or dates inside the
// time field in ISO, slashed, compact and ROC forms; times HH:MM:SS, HH:MM, HHMMSS or HMM;
// bars or trades, cumulative volumes, a reference column, rows newest first, blank lines,
// trailing separators, quoted thousands; edge values (32- and 64-bit extremes, NaN,
// exponents, times out of range and out of order) and up to 100,000 rows. Any other input is
// the file itself.
// Promises checked: the reader gives bars or one error, never neither; an error names the
// file and a line and column inside the decoded text, and an error about a column points at
// the start of a field of that line, split here independently of the reader, whose header
// field has the name the message gives; accepted bars have valid clock times, positive
// prices with the open and close within the low and high, non-negative volumes, and come in
// the order of their lines (reversed for files newest first), dated ones in ascending days;
// one price scale of 10^decimals (0 to 4 decimals); the session check accepts only bars
// inside the session in strictly increasing time on each day.
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "CsvReader.h"
#include "DateTimeFields.h"
#include "FuzzInput.h"
#include "Market.h"
#include "MinuteBars.h"
#include "TextDecoding.h"

namespace {

using namespace kelo::cli;

constexpr std::string_view kName = "fuzz.csv";

using kelo::fuzz::Input;

const char* const kEdgeFields[] = {"2147483647",
                                   "-2147483648",
                                   "2147483648",
                                   "9223372036854775807",
                                   "-9223372036854775808",
                                   "18446744073709551616",
                                   "NaN",
                                   "nan",
                                   "inf",
                                   "-inf",
                                   "Infinity",
                                   "-0",
                                   "+0",
                                   "0",
                                   "-0.0",
                                   "0.0001",
                                   "0.00001",
                                   "214748.3647",
                                   "214748.3648",
                                   "1e5",
                                   "1E-3",
                                   "0x1F",
                                   "1,000",
                                   "\"1,000\"",
                                   "\"12,34\"",
                                   "\"1,035.00\"",
                                   ".5",
                                   "5.",
                                   ".",
                                   "-",
                                   "+",
                                   "",
                                   " ",
                                   "\"10.5\"",
                                   "\"1\"\"0\"",
                                   "\"",
                                   "\"\"",
                                   " 10.5 ",
                                   "\t7\t",
                                   "\"7\"x",
                                   "\xEF\xBC\x91\xEF\xBC\x90",
                                   "\xFF\xFE",
                                   "\xC3\x28",
                                   "\xA4\xA4",
                                   "24:00",
                                   "24:00:00",
                                   "23:59:59",
                                   "23:59:60",
                                   "25:00",
                                   "-1:00",
                                   "9:5",
                                   "09:00",
                                   "00:00",
                                   "99:99:99",
                                   "12:00:",
                                   "2147483647:00",
                                   "13:30:00.5",
                                   "090100",
                                   "0960",
                                   "901",
                                   "115/02/30",
                                   "115/12/04",
                                   "2026-02-29",
                                   "20261204 090100",
                                   "2026-12-04T09:01",
                                   "1151204",
                                   "2026/13/01"};

// Column names: English and Chinese, one of each column's names.
const char* const kNames[][2] = {{"time", "時間"},  {"open", "開盤價"},    {"high", "最高"},   {"low", "最低價"},
                                 {"close", "收盤"}, {"volume", "單量"},    {"inner", "內盤"},  {"outer", "外盤"},
                                 {"date", "日期"},  {"reference", "昨收"}, {"volume", "總量"}, {"price", "成交價"}};

struct Recipe {
  char separator = ',';
  int timeForm = 0, dateForm = 0;
  bool dates = false, combined = false, trades = false, cumulative = false, descending = false;
  bool blankLines = false, trailing = false, thousands = false;
};

std::string TimeText(const Recipe& r, int seconds) {
  const int h = seconds / 3600 % 24, m = seconds / 60 % 60, s = seconds % 60;
  char text[32];
  switch (r.timeForm) {
    case 0: std::snprintf(text, sizeof text, "%02d:%02d:%02d", h, m, s); break;
    case 1: std::snprintf(text, sizeof text, "%d:%02d", h, m); break;
    case 2: std::snprintf(text, sizeof text, "%02d%02d%02d", h, m, s); break;
    default: std::snprintf(text, sizeof text, "%d%02d", h, m); break;
  }
  return text;
}

std::string DateText(const Recipe& r, int day) {
  const std::int32_t date = 20261201 + day % 28;
  char text[32];
  const int y = date / 10000, m = date / 100 % 100, d = date % 100;
  switch (r.dateForm) {
    case 0: std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d); break;
    case 1: std::snprintf(text, sizeof text, "%04d/%02d/%02d", y, m, d); break;
    case 2: std::snprintf(text, sizeof text, "%08d", date); break;
    default: std::snprintf(text, sizeof text, "%d/%02d/%02d", y - 1911, m, d); break;
  }
  return text;
}

// One field of a built row: usually a plausible value for its column, often an edge.
std::string Field(Input& in, const Recipe& r, const std::string& column, std::size_t row) {
  const std::uint8_t how = in.Byte();
  if (how >= 176) return kEdgeFields[in.Byte() % (sizeof kEdgeFields / sizeof kEdgeFields[0])];
  const int day = static_cast<int>(row / (1 + (how & 3) * 40));
  int seconds =
      (how & 1) ? 9 * 3600 + static_cast<int>(row) * (r.trades ? 7 : 60) % 16200 : static_cast<int>(row) * (how % 7);
  if (how % 29 == 0) seconds += 6 * 3600;  // into the evening of a night session
  if (column == "time" || column == "時間") {
    return r.combined ? DateText(r, day) + (how & 2 ? "T" : " ") + TimeText(r, seconds) : TimeText(r, seconds);
  }
  if (column == "date" || column == "日期") return DateText(r, day);
  if (column == "總量") return std::to_string(row * 13 + how % 5);
  if (column == "volume" || column == "單量" || column == "inner" || column == "內盤" || column == "outer" ||
      column == "外盤") {
    const int v = how * 1037;
    return r.thousands && v >= 1000
               ? "\"" + std::to_string(v / 1000) + "," + std::to_string(1000 + v % 1000).substr(1) + "\""
               : std::to_string(v);
  }
  // Prices: the high above the low, open and close between them.
  const int base = 1000 + static_cast<int>(row % 37);
  int value = base;
  if (column == "high" || column == "最高") value = base + 40;
  if (column != "low" && column != "最低價" && value == base) value = base + how % 41;
  char text[32];
  std::snprintf(text, sizeof text, "%d.%02d", value / 100, value % 100);
  return text;
}

const char* LineEnd(Input& in, bool mixed) {
  static const char* const kEnds[] = {"\n", "\r\n", "\r", "\n\r\n", "\n\n"};
  return mixed ? kEnds[in.Byte() % 5] : "\n";
}

// Converts UTF-8 to another encoding; the text unchanged when it has no such form.
std::string Encode(const std::string& text, const char* to) {
  iconv_t cd = iconv_open(to, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  std::string out(text.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size(), outLeft = out.size();
  char* o = out.data();
  const bool ok = iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return text;
  out.resize(out.size() - outLeft);
  return out;
}

std::string BuildCsv(Input& in) {
  const std::uint8_t a = in.Byte(), b = in.Byte(), c = in.Byte();
  Recipe r;
  r.separator = ",\t;,"[(a >> 2) & 3];
  const bool chinese = a & 16, quoteNames = a & 32, trickyName = a & 64, mixedEnds = a & 128;
  r.trades = b & 4;
  r.dates = b & 16;
  r.combined = (b & 32) && !r.dates;
  r.descending = b & 64;
  r.timeForm = c & 3;
  r.dateForm = (c >> 2) & 3;
  r.cumulative = c & 16;
  r.blankLines = c & 32;
  r.trailing = c & 64;
  r.thousands = c & 128;
  std::vector<int> ids = r.trades ? std::vector<int>{0, 11, 5} : std::vector<int>{0, 1, 2, 3, 4, 5};
  if (r.cumulative) ids[ids.size() - 1] = 10;
  if (b & 1) ids.insert(ids.end(), {6, 7});
  if (r.dates) ids.push_back(8);
  if (b & 128) ids.push_back(9);
  std::vector<std::string> columns;
  for (int id : ids) columns.push_back(kNames[id][chinese ? 1 : 0]);
  if (b & 2) columns.push_back("note");
  for (std::size_t i = 1; i < columns.size(); ++i) std::swap(columns[i], columns[in.Byte() % (i + 1)]);
  if (b & 8) columns.erase(columns.begin() + in.Byte() % columns.size());
  const std::string sep(1, r.separator);
  // A quoted name holding the separator is one column; "x,time" is no time column.
  if (trickyName) {
    const std::string name = (in.Byte() & 1) ? "a" + sep + "b" : "x" + sep + "time";
    columns.insert(columns.begin() + in.Byte() % (columns.size() + 1), "\"" + name + "\"");
  }
  std::string out;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::string name = columns[i];
    if ((a & 2) && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
    if (quoteNames && name[0] != '"') name = "\"" + name + "\"";
    out += (i ? sep : "") + name;
  }
  if (r.trailing) out += sep;
  out += LineEnd(in, mixedEnds);
  // 1,000 rows take tens of milliseconds under the sanitizers, 100,000 rows seconds: they are
  // the input's heavy argument (see FuzzInput.h), 100,000 rows in rare inputs only.
  static constexpr std::size_t kRowCounts[] = {0, 1, 2, 3, 5, 8, 60, 100};
  const std::uint8_t rowPick = in.Byte();
  const std::size_t rows =
      rowPick >= 254 && in.Heavy() ? (rowPick == 255 && in.Rare() ? 100000 : 1000) : kRowCounts[rowPick % 8];
  // Rows past the eighth repeat the recipe's bytes, so 100,000 rows cost a few bytes.
  std::string recipe;
  for (int i = 0; i < 64; ++i) recipe.push_back(static_cast<char>(in.Byte()));
  std::vector<std::string> lines;
  for (std::size_t row = 0; row < rows; ++row) {
    Input rowInput = row < 8 ? in : Input(reinterpret_cast<const std::uint8_t*>(recipe.data()), recipe.size());
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const std::string& name = columns[i];
      line += (i ? sep : "") + (name[0] == '"' ? std::string("z") : Field(rowInput, r, name, row));
    }
    if (r.trailing) line += sep;
    line += LineEnd(rowInput, mixedEnds);
    if (r.blankLines && rowInput.Byte() < 40) line += (rowInput.Byte() & 1) ? "\n" : "  \r\n";
    lines.push_back(line);
    if (row < 8) in = rowInput;
  }
  if (r.descending) std::reverse(lines.begin(), lines.end());
  for (const std::string& line : lines) out += line;
  switch (a & 3) {
    case 1: return "\xEF\xBB\xBF" + out;
    case 2: return Encode(out, "CP950");
    case 3: return (b & 8 ? "\xFE\xFF" : "\xFF\xFE") + Encode(out, b & 8 ? "UTF-16BE" : "UTF-16LE");
    default: return out;
  }
}

// The text's lines as the reader counts them, after decoding: split at LF, one CR dropped.
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// An independent split: a quote toggles quoting (which "" inside a quoted field undoes at
// once), a separator outside quotes ends a field. Gives each field's first byte and its name
// as a header would give it (spaces and quotes around it dropped, "" as one quote).
struct Split {
  std::vector<std::size_t> starts;
  std::vector<std::string> names;
};
Split SplitIndependently(std::string_view line, char separator) {
  Split s;
  bool quoted = false;
  std::string raw;
  s.starts.push_back(0);
  auto finish = [&] {
    auto isSpace = [&](char ch) { return ch == ' ' || (ch == '\t' && separator != '\t'); };
    std::size_t b = 0, e = raw.size();
    while (b < e && isSpace(raw[b])) ++b;
    while (e > b && isSpace(raw[e - 1])) --e;
    std::string name = raw.substr(b, e - b);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
      std::string unq;
      for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        unq += name[i];
        if (name[i] == '"' && name[i + 1] == '"') ++i;
      }
      name = unq;
    }
    s.names.push_back(name);
    raw.clear();
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == separator && !quoted) {
      finish();
      s.starts.push_back(i + 1);
    } else {
      raw += line[i];
    }
  }
  finish();
  return s;
}

char SeparatorOf(std::string_view header) {
  std::size_t counts[3] = {0, 0, 0};
  bool quoted = false;
  for (char ch : header) {
    if (ch == '"') quoted = !quoted;
    if (!quoted) counts[0] += ch == ',', counts[1] += ch == '\t', counts[2] += ch == ';';
  }
  if (counts[1] > counts[0] && counts[1] >= counts[2]) return '\t';
  if (counts[2] > counts[0] && counts[2] > counts[1]) return ';';
  return ',';
}

std::int32_t Characters(std::string_view s) {
  std::int32_t n = 0;
  for (char ch : s) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
  return n;
}

// Line and column inside the decoded text (one past the end of a line at most).
void CheckPlace(const std::vector<std::string_view>& lines, std::int32_t line, std::int32_t column) {
  if (lines.empty()) {
    KELO_FUZZ_CHECK(line == 1 && column == 1);
    return;
  }
  KELO_FUZZ_CHECK(line >= 1 && static_cast<std::size_t>(line) <= lines.size());
  KELO_FUZZ_CHECK(column >= 1 && column <= Characters(lines[static_cast<std::size_t>(line) - 1]) + 1);
}

void CheckError(const InputError& e, const std::vector<std::string_view>& lines, bool decoded) {
  KELO_FUZZ_CHECK(e.file == kName);
  KELO_FUZZ_CHECK(!e.message.empty());
  const std::string prefix = std::string(kName) + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) + ": ";
  KELO_FUZZ_CHECK(e.Text() == prefix + e.message);
  if (!decoded) {
    KELO_FUZZ_CHECK(e.line >= 1 && e.column >= 1);  // an encoding error, in the text decoded before it
    return;
  }
  CheckPlace(lines, e.line, e.column);
  const std::string_view line = lines.empty() ? std::string_view() : lines[static_cast<std::size_t>(e.line) - 1];
  std::size_t header = 0;
  while (header < lines.size() && lines[header].find_first_not_of(" \t") == std::string_view::npos) ++header;
  if (header >= lines.size()) return;
  const char separator = SeparatorOf(lines[header]);
  const Split fields = SplitIndependently(line, separator);
  const bool atField = std::any_of(fields.starts.begin(), fields.starts.end(),
                                   [&](std::size_t s) { return Characters(line.substr(0, s)) + 1 == e.column; });
  // An error about a field or a column points at the start of a field; one about a column
  // names the header's name of that field.
  const bool aboutField = e.message.rfind("column \"", 0) == 0 || e.message.rfind("rows out of order", 0) == 0 ||
                          e.message.rfind("a quoted field", 0) == 0 ||
                          e.message.rfind("text after the closing", 0) == 0 ||
                          e.message.rfind("too many columns", 0) == 0;
  if (aboutField && e.message.find("names the") == std::string::npos) KELO_FUZZ_CHECK(atField);
  if (e.message.rfind("column \"", 0) == 0 && static_cast<std::size_t>(e.line) > header + 1 && atField) {
    std::size_t k = 0;
    while (k + 1 < fields.starts.size() && Characters(line.substr(0, fields.starts[k + 1])) + 1 <= e.column) ++k;
    const Split names = SplitIndependently(lines[header], separator);
    KELO_FUZZ_CHECK(k < names.names.size());
    KELO_FUZZ_CHECK(e.message.rfind("column \"" + names.names[k] + "\"", 0) == 0);
  }
  if (e.message.rfind("too few columns", 0) == 0) KELO_FUZZ_CHECK(e.column == Characters(line) + 1);
}

bool ValidClock(ClockTime t) { return t >= 0 && t / 10000 < 24 && t / 100 % 100 < 60 && t % 100 < 60; }

void CheckBars(const MinuteBars& m, const std::vector<std::string_view>& lines) {
  KELO_FUZZ_CHECK(m.name == kName && !m.bars.empty() && m.bars.size() < lines.size());
  KELO_FUZZ_CHECK(m.decimals >= 0 && m.decimals <= 4);
  std::int32_t scale = 1;
  for (int d = 0; d < m.decimals; ++d) scale *= 10;
  KELO_FUZZ_CHECK(m.priceScale == scale);
  std::int32_t previousLine = m.newestFirst ? static_cast<std::int32_t>(lines.size()) + 1 : 0;
  std::int32_t previousDay = 0;
  for (const MinuteBar& b : m.bars) {
    KELO_FUZZ_CHECK(ValidClock(b.time));
    KELO_FUZZ_CHECK(b.low > 0 && b.low <= b.open && b.open <= b.high && b.low <= b.close && b.close <= b.high);
    KELO_FUZZ_CHECK(b.reference >= 0);
    for (const std::int64_t v : {b.volume, b.inner, b.outer}) KELO_FUZZ_CHECK(v >= 0);
    if (!m.fromTrades) KELO_FUZZ_CHECK(b.volume <= 2147483647);
    if (!m.hasInnerOuter) KELO_FUZZ_CHECK(b.inner == 0 && b.outer == 0);
    KELO_FUZZ_CHECK(m.newestFirst ? b.line < previousLine : b.line > previousLine);
    KELO_FUZZ_CHECK(static_cast<std::size_t>(b.line) <= lines.size());
    CheckPlace(lines, b.line, b.timeColumn);
    KELO_FUZZ_CHECK(m.hasDates == (b.date != 0));
    if (m.hasDates) {
      KELO_FUZZ_CHECK(b.date >= previousDay && b.date >= 19120101);
      previousDay = b.date;
    }
    previousLine = b.line;
  }
}

void CheckSessionResult(const MinuteBars& m, const Session& session, const std::vector<std::string_view>& lines) {
  if (auto error = CheckSession(m, session)) {
    CheckError(*error, lines, true);
    return;
  }
  std::int32_t previous = -1, day = 0;
  for (const MinuteBar& b : m.bars) {
    if (b.date != day) previous = -1;
    day = b.date;
    const auto offset = session.OffsetOf(b.time);
    KELO_FUZZ_CHECK(offset && *offset > previous && *offset <= session.LengthSeconds());
    previous = *offset;
  }
}

// The field parsers on their own: a decimal fits a scaled 32-bit price with at most four
// decimals; a clock time is valid and survives formatting; a date is a real day.
void CheckFields(std::string_view line) {
  const Split fields = SplitIndependently(line, ',');
  for (std::size_t k = 0; k < fields.names.size() && k < 16; ++k) {
    const std::string& field = fields.names[k];
    for (const auto d : {ParseDecimal(field), ParseNumber(field)}) {
      if (d)
        KELO_FUZZ_CHECK(d->decimals >= 0 && d->decimals <= 4 && d->mantissa >= -2147483647 &&
                        d->mantissa <= 2147483647);
    }
    if (const auto t = ParseClock(field)) {
      KELO_FUZZ_CHECK(*t == 240000 || ValidClock(*t));
      KELO_FUZZ_CHECK(ParseClock(FormatClock(*t, true)) == t);
    }
    if (const auto t = ParseTimeOfDay(field))
      KELO_FUZZ_CHECK(ValidClock(*t) && ParseTimeOfDay(FormatClock(*t, true)) == t);
    if (const auto d = ParseDate(field)) KELO_FUZZ_CHECK(ParseDate(FormatDate(*d)) == d && NextDay(*d) > *d);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text;
  std::uint8_t sessionPick = 0;
  if (size > 0 && data[0] < 8) {
    Input in(data + 1, size - 1);
    sessionPick = in.Byte();
    text = BuildCsv(in);
  } else {
    text.assign(reinterpret_cast<const char*>(data), size);
  }
  // Positions count in the decoded text, as the reader's do.
  auto decodedText = DecodeText(kName, text, Encoding::Auto);
  const std::string* decoded = std::get_if<std::string>(&decodedText);
  const std::vector<std::string_view> lines = decoded ? LinesOf(*decoded) : std::vector<std::string_view>();
  for (std::size_t n = 0; n < lines.size() && n < 4; ++n) CheckFields(lines[n]);
  const auto result = ParseMinuteBars(kName, text);
  if (const auto* error = std::get_if<InputError>(&result)) {
    CheckError(*error, lines, decoded != nullptr);
    return 0;
  }
  KELO_FUZZ_CHECK(decoded != nullptr);
  const MinuteBars& bars = std::get<MinuteBars>(result);
  CheckBars(bars, lines);
  static const char* const kSessions[] = {"09:00-13:30", "08:45-13:45", "15:00-05:00", "00:00-24:00", "23:59-00:01"};
  CheckSessionResult(bars, *ParseSession(kSessions[sessionPick % 5]), lines);
  return 0;
}
