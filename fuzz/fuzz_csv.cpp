// The command-line tool's CSV reader of minute bars under any bytes, and the session check
// after it. An input whose first byte is a control byte below 8 (which the reader refuses as
// binary anyway) is a recipe instead: a CSV built from it with a byte order mark or not,
// columns in any order and case, quoted or not, CR/LF mixes, edge values (32- and 64-bit
// extremes, NaN, infinities, -0, exponents, times out of range and out of order) and up to
// 100,000 rows. Any other input is the file itself.
// Promises checked: the reader gives bars or one error, never neither; an error names the
// file and a line and column inside the input; accepted bars have valid clock times,
// positive prices with the high not below the low, non-negative volumes, increasing source
// lines and one price scale of 10^decimals (0 to 4 decimals); the session check accepts
// only bars inside the session in strictly increasing time.
#include <algorithm>
#include <cstdint>
#include <new>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "CsvReader.h"
#include "FuzzInput.h"
#include "Market.h"
#include "MinuteBars.h"

// fast-cpp-csv-parser reads every file through a buffer of three 16 MiB blocks, made anew for
// each file. Under AddressSanitizer each such buffer is mapped and its 48 MiB poisoned when
// freed (about 10 ms), which held this target to a hundred executions a second. The fuzz
// build hands out that one buffer from a static arena, reused from one execution to the
// next; every other array goes through the sanitizer's malloc as before.
namespace {
alignas(64) char gLineBuffer[3 << 24];
bool gLineBufferTaken = false;
}  // namespace

void* operator new[](std::size_t size) {
  if (size == sizeof gLineBuffer && !gLineBufferTaken) {
    gLineBufferTaken = true;
    return gLineBuffer;
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete[](void* p) noexcept {
  if (p == gLineBuffer) {
    gLineBufferTaken = false;
    return;
  }
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { operator delete[](p); }

namespace {

using namespace kelo::cli;

constexpr std::string_view kName = "fuzz.csv";

using kelo::fuzz::Input;

const char* const kEdgeFields[] = {
    "2147483647", "-2147483648", "2147483648", "9223372036854775807", "-9223372036854775808",
    "18446744073709551616", "NaN", "nan", "inf", "-inf", "Infinity", "-0", "+0", "0", "-0.0", "0.0001",
    "0.00001", "214748.3647", "214748.3648", "1e5", "1E-3", "0x1F", "1,000", ".5", "5.", ".", "-", "+",
    "", " ", "\"10.5\"", "\"1\"\"0\"", "\"", "\"\"", " 10.5 ", "\t7\t", "\xEF\xBC\x91\xEF\xBC\x90", "\xFF\xFE",
    "\xC3\x28", "24:00", "24:00:00", "23:59:59", "23:59:60", "25:00", "-1:00", "9:5", "09:00", "00:00",
    "99:99:99", "12:00:", "2147483647:00", "13:30:00.5"};

// One field of a built row: usually a plausible value for its column, often an edge.
std::string Field(Input& in, const std::string& column, std::size_t row) {
  const std::uint8_t how = in.Byte();
  if (how >= 160) return kEdgeFields[in.Byte() % (sizeof kEdgeFields / sizeof kEdgeFields[0])];
  if (column == "time") {
    const std::size_t seconds = (how & 1) ? 9 * 3600 + row * 60 : row * (how % 7);  // in or out of order
    char text[32];
    std::snprintf(text, sizeof text, "%02zu:%02zu:%02zu", seconds / 3600 % 30, seconds / 60 % 60, seconds % 60);
    return text;
  }
  if (column == "volume" || column == "inner" || column == "outer") return std::to_string(how * 37);
  return std::to_string(10 + how % 13) + "." + std::to_string(how % 100);
}

const char* LineEnd(Input& in, bool mixed) {
  static const char* const kEnds[] = {"\n", "\r\n", "\r", "\n\r\n", "\n\n"};
  return mixed ? kEnds[in.Byte() % 5] : "\n";
}

std::string BuildCsv(Input& in) {
  const std::uint8_t flags = in.Byte();
  std::string out = (flags & 1) ? "\xEF\xBB\xBF" : "";
  std::vector<std::string> columns = {"time", "open", "high", "low", "close", "volume"};
  if (flags & 2) columns.insert(columns.end(), {"inner", "outer"});
  if (flags & 4) columns.push_back("note");
  for (std::size_t i = 1; i < columns.size(); ++i) std::swap(columns[i], columns[in.Byte() % (i + 1)]);
  if (flags & 8) columns.erase(columns.begin() + in.Byte() % columns.size());
  const bool mixedEnds = (flags & 64) != 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::string name = columns[i];
    if (flags & 16) name[0] = static_cast<char>(name[0] - 'a' + 'A');
    if (flags & 32) name = "\"" + name + "\"";
    out += (i ? "," : "") + name;
  }
  out += LineEnd(in, mixedEnds);
  // 1,000 rows take tens of milliseconds under the sanitizers, 100,000 rows seconds: they are
  // the input's heavy argument (see FuzzInput.h), 100,000 rows in rare inputs only.
  static constexpr std::size_t kRowCounts[] = {0, 1, 2, 3, 5, 8, 60, 100};
  const std::uint8_t rowPick = in.Byte();
  const std::size_t rows = rowPick >= 254 && in.Heavy() ? (rowPick == 255 && in.Rare() ? 100000 : 1000) : kRowCounts[rowPick % 8];
  // Rows past the eighth repeat the recipe's bytes, so 100,000 rows cost a few bytes.
  std::string recipe;
  for (int i = 0; i < 64; ++i) recipe.push_back(static_cast<char>(in.Byte()));
  for (std::size_t r = 0; r < rows; ++r) {
    Input rowInput = r < 8 ? in : Input(reinterpret_cast<const std::uint8_t*>(recipe.data()), recipe.size());
    for (std::size_t i = 0; i < columns.size(); ++i) out += (i ? "," : "") + Field(rowInput, columns[i], r);
    out += LineEnd(rowInput, mixedEnds);
    if (r < 8) in = rowInput;
  }
  return out;
}

// The input's lines as the reader counts them, after a leading byte order mark.
std::vector<std::string_view> LinesOf(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return SplitLines(text);
}

// Line and column inside the input (one past the end of a line at most); an empty input
// has its line 1, column 1.
void CheckPlace(const std::vector<std::string_view>& lines, std::int32_t line, std::int32_t column) {
  if (lines.empty()) {
    KELO_FUZZ_CHECK(line == 1 && column == 1);
    return;
  }
  KELO_FUZZ_CHECK(line >= 1 && static_cast<std::size_t>(line) <= lines.size());
  KELO_FUZZ_CHECK(column >= 1 && static_cast<std::size_t>(column) <= lines[static_cast<std::size_t>(line) - 1].size() + 1);
}

void CheckError(const InputError& e, const std::vector<std::string_view>& lines) {
  KELO_FUZZ_CHECK(e.file == kName);
  KELO_FUZZ_CHECK(!e.message.empty());
  CheckPlace(lines, e.line, e.column);
  const std::string prefix =
      std::string(kName) + ":" + std::to_string(e.line) + ":" + std::to_string(e.column) + ": ";
  KELO_FUZZ_CHECK(e.Text() == prefix + e.message);
}

bool ValidClock(ClockTime t) { return t >= 0 && t / 10000 < 24 && t / 100 % 100 < 60 && t % 100 < 60; }

void CheckBars(const MinuteBars& m, const std::vector<std::string_view>& lines) {
  KELO_FUZZ_CHECK(m.name == kName && !m.bars.empty() && m.bars.size() < lines.size());
  KELO_FUZZ_CHECK(m.decimals >= 0 && m.decimals <= 4);
  std::int32_t scale = 1;
  for (int d = 0; d < m.decimals; ++d) scale *= 10;
  KELO_FUZZ_CHECK(m.priceScale == scale);
  std::int32_t previousLine = 1;
  for (const MinuteBar& b : m.bars) {
    KELO_FUZZ_CHECK(ValidClock(b.time));
    KELO_FUZZ_CHECK(b.open > 0 && b.high > 0 && b.low > 0 && b.close > 0 && b.high >= b.low);
    for (const std::int64_t v : {b.volume, b.inner, b.outer}) KELO_FUZZ_CHECK(v >= 0 && v <= 2147483647);
    if (!m.hasInnerOuter) KELO_FUZZ_CHECK(b.inner == 0 && b.outer == 0);
    KELO_FUZZ_CHECK(b.line > previousLine && static_cast<std::size_t>(b.line) <= lines.size());
    CheckPlace(lines, b.line, b.timeColumn);
    previousLine = b.line;
  }
}

void CheckSessionResult(const MinuteBars& m, const Session& session, const std::vector<std::string_view>& lines) {
  if (auto error = CheckSession(m, session)) {
    CheckError(*error, lines);
    return;
  }
  std::int32_t previous = -1;
  for (const MinuteBar& b : m.bars) {
    const auto offset = session.OffsetOf(b.time);
    KELO_FUZZ_CHECK(offset && *offset > previous && *offset <= session.LengthSeconds());
    previous = *offset;
  }
}

// The field parsers on their own: a decimal fits a scaled 32-bit price with at most four
// decimals; a clock time is valid and survives formatting.
void CheckFields(std::string_view line) {
  std::size_t start = 0;
  for (int k = 0; k < 16 && start <= line.size(); ++k) {
    const std::size_t comma = std::min(line.find(',', start), line.size());
    const std::string_view field = line.substr(start, comma - start);
    if (const auto d = ParseDecimal(field)) {
      KELO_FUZZ_CHECK(d->decimals >= 0 && d->decimals <= 4 && d->mantissa >= -2147483647 && d->mantissa <= 2147483647);
    }
    if (const auto t = ParseClock(field)) {
      KELO_FUZZ_CHECK(*t == 240000 || ValidClock(*t));
      KELO_FUZZ_CHECK(ParseClock(FormatClock(*t, true)) == t);
    }
    start = comma + 1;
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
  const std::vector<std::string_view> lines = LinesOf(text);
  for (std::size_t n = 0; n < lines.size() && n < 4; ++n) CheckFields(lines[n]);
  const auto result = ParseMinuteBars(kName, text);
  if (const auto* error = std::get_if<InputError>(&result)) {
    CheckError(*error, lines);
    return 0;
  }
  const MinuteBars& bars = std::get<MinuteBars>(result);
  CheckBars(bars, lines);
  static const char* const kSessions[] = {"09:00-13:30", "08:45-13:45", "15:00-05:00", "00:00-24:00", "23:59-00:01"};
  CheckSessionResult(bars, *ParseSession(kSessions[sessionPick % 5]), lines);
  return 0;
}
