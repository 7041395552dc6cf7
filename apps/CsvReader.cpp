// Reading CSV files of bars or trades in one pass over the decoded text: each line is
// checked for stray bytes, split by our own splitter (CsvFields.cpp) and its fields parsed
// at once, so every error knows its line and the byte where its field starts. What needs the
// whole file (its order, cumulative volumes, the price scale, slots from trades) works on the
// parsed rows after the pass.
#include "CsvReader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "ColumnNames.h"
#include "CsvFields.h"
#include "DateTimeFields.h"
#include "TradeSlots.h"

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

std::string TooLarge() {
  return "larger than " + std::to_string(kMaxInputBytes >> 20) +
         " MiB: this is not a day of minute bars (split it per instrument and day)";
}

constexpr const char* kTimeForms = "HH:MM, HH:MM:SS, HHMMSS or HMM, with or without a date before it";
constexpr const char* kDateForms = "2026-12-04, 2026/12/04, 20261204 or ROC 115/12/04, a time may follow";

// Indexes of price fields in a row.
enum { kOpen, kHigh, kLow, kClose, kReference, kPrices };
constexpr Column kPriceColumns[kPrices] = {Column::Open, Column::High, Column::Low, Column::Close, Column::Reference};

// A row as read, before the file's order and price scale are known.
struct Row {
  MinuteBar bar;  // date is the calendar date here
  std::array<Decimal, kPrices> price{};
  std::array<std::int32_t, kPrices> priceColumn{};
  std::int64_t total = 0;  // cumulative volume, when that is the file's volume
  std::int32_t totalColumn = 0;
};

// The header: for each column the index of its field (-1 when absent) and its name there.
struct Header {
  std::array<int, kColumnCount> at;
  std::array<std::string, kColumnCount> name;
  std::size_t fields = 0;
  int last = 0;  // highest index of a column read
  bool trades = false;
  std::int32_t line = 1;
  int At(Column c) const { return at[static_cast<int>(c)]; }
  bool Has(Column c) const { return At(c) >= 0; }
  std::string Name(Column c) const { return "column \"" + name[static_cast<int>(c)] + "\""; }
};

std::string Missing(Column c) {
  std::string text = std::string("missing column \"") + ColumnLabel(c) + "\" in the header: its accepted names are " +
                     AcceptedNames(c);
  if (c == Column::Volume) text += " (or a cumulative volume: " + AcceptedNames(Column::TotalVolume) + ")";
  if (c == Column::Time) text += " (or, for daily bars, a date: " + AcceptedNames(Column::Date) + ")";
  return text + "; bars need time, open, high, low, close and volume, trades time, close (price) and volume";
}

std::int64_t Scaled(const Decimal& d, int decimals) {
  std::int64_t v = d.mantissa;
  for (int k = d.decimals; k < decimals; ++k) v *= 10;
  return v;
}

bool Blank(std::string_view l) { return l.find_first_not_of(" \t") == std::string_view::npos; }

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

std::optional<Decimal> ParseNumber(std::string_view s) {
  if (s.find(',') == std::string_view::npos) return ParseDecimal(s);
  // Thousands separators: groups of exactly three digits after the first group of one to three.
  std::string plain;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) plain += s[i++];
  const std::size_t point = std::min(s.find('.'), s.size());
  std::size_t group = 0;
  bool first = true;
  for (; i < point; ++i) {
    if (s[i] == ',') {
      if ((first && (group == 0 || group > 3)) || (!first && group != 3)) return std::nullopt;
      first = false;
      group = 0;
    } else {
      plain += s[i];
      ++group;
    }
  }
  if (first || group != 3) return std::nullopt;
  plain += s.substr(point);
  return ParseDecimal(plain);
}

std::variant<MinuteBars, InputError> ParseMinuteBars(std::string_view name, std::string_view bytes,
                                                     const ReadOptions& options) {
  const std::string file(name);
  if (bytes.size() > kMaxInputBytes) return InputError{file, 0, 0, TooLarge()};
  auto decoded = DecodeText(name, bytes, options.encoding);
  if (auto* error = std::get_if<InputError>(&decoded)) return *error;
  const std::string_view text = std::get<std::string>(decoded);

  std::int32_t lineNo = 0;
  std::string_view l;  // the current line
  auto fail = [&](std::size_t offset, std::string message) {
    return InputError{file, lineNo, CharacterColumn(l, offset), std::move(message)};
  };
  Header h;
  h.at.fill(-1);
  bool haveHeader = false;
  char separator = ',';
  std::vector<CsvField> f;
  std::vector<Row> rows;
  int timeForm = -1;  // without a time column: 1 when the date field holds times, 0 for daily bars
  int ascents = 0, descents = 0, direction = 0;
  std::int64_t previousKey = 0;
  std::int32_t previousLine = 0;

  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    l = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    if (l.size() > kMaxLineBytes) {
      return fail(kMaxLineBytes, "line longer than " + std::to_string(kMaxLineBytes) + " bytes: not a minute bar");
    }
    for (std::size_t i = 0; i < l.size(); ++i) {
      const auto c = static_cast<unsigned char>(l[i]);
      if ((c < 0x20 && c != '\t') || c == 0x7F) {
        char message[96];
        std::snprintf(message, sizeof message, "binary data (byte 0x%02X): expected a CSV text file", c);
        return fail(i, message);
      }
    }
    if (Blank(l)) continue;  // blank lines are allowed anywhere
    if (!haveHeader) separator = DetectSeparator(l);
    if (auto bad = SplitCsvLine(l, separator, f)) return fail(bad->offset, bad->message);

    if (!haveHeader) {
      haveHeader = true;
      h.line = lineNo;
      h.fields = f.size();
      for (std::size_t k = 0; k < f.size(); ++k) {
        const auto c = ColumnOfName(f[k].text);
        if (!c) continue;
        const int i = static_cast<int>(*c);
        if (h.at[static_cast<std::size_t>(i)] >= 0) {
          return fail(f[k].offset, "column \"" + f[k].text + "\" names the " + ColumnLabel(*c) + " column again (\"" +
                                       h.name[static_cast<std::size_t>(i)] + "\" came before)");
        }
        h.at[static_cast<std::size_t>(i)] = static_cast<int>(k);
        h.name[static_cast<std::size_t>(i)] = f[k].text;
        h.last = std::max(h.last, static_cast<int>(k));
      }
      if (!h.Has(Column::Time) && !h.Has(Column::Date) && ParseDateTime(f[0].text)) {
        return fail(0, "no header line: the first line must name the columns, like time,open,high,low,close,volume");
      }
      if (!h.Has(Column::Time) && !h.Has(Column::Date)) return fail(0, Missing(Column::Time));
      h.trades = h.Has(Column::Close) && !h.Has(Column::Open) && !h.Has(Column::High) && !h.Has(Column::Low);
      if (!h.trades) {
        for (Column c : {Column::Open, Column::High, Column::Low, Column::Close}) {
          if (!h.Has(c)) return fail(0, Missing(c));
        }
      }
      if (!h.Has(Column::Volume) && !h.Has(Column::TotalVolume)) return fail(0, Missing(Column::Volume));
      if (h.Has(Column::Volume)) h.at[static_cast<int>(Column::TotalVolume)] = -1;  // per-row volume wins
      if (h.Has(Column::Inner) != h.Has(Column::Outer)) {
        return fail(f[static_cast<std::size_t>(std::max(h.At(Column::Inner), h.At(Column::Outer)))].offset,
                    "the columns \"inner\" (" + AcceptedNames(Column::Inner) + ") and \"outer\" (" +
                        AcceptedNames(Column::Outer) + ") go together: one is missing");
      }
      continue;
    }

    // A row of separators only is blank too (spreadsheets write them).
    if (std::all_of(f.begin(), f.end(), [](const CsvField& x) { return x.text.empty(); })) continue;
    if (f.size() <= static_cast<std::size_t>(h.last)) {
      return fail(l.size(), "too few columns: the header names " + std::to_string(h.fields) + ", this line has " +
                                std::to_string(f.size()));
    }
    for (std::size_t k = h.fields; k < f.size(); ++k) {
      if (!f[k].text.empty()) {
        return fail(f[k].offset, "too many columns: the header names " + std::to_string(h.fields) + ", this line has " +
                                     std::to_string(f.size()));
      }
    }
    auto field = [&](Column c) -> const CsvField& { return f[static_cast<std::size_t>(h.At(c))]; };
    auto quote = [](const CsvField& x) { return "\"" + x.text + "\""; };
    Row row;
    MinuteBar& bar = row.bar;
    bar.line = lineNo;
    std::int32_t dateColumn = 0;
    std::optional<ClockTime> time;
    if (h.Has(Column::Date)) {
      const CsvField& d = field(Column::Date);
      const auto dt = ParseDateTime(d.text);
      if (!dt || dt->date == 0)
        return fail(d.offset, h.Name(Column::Date) + ": " + quote(d) + " is not a date (" + kDateForms + ")");
      bar.date = dt->date;
      time = dt->time;
      bar.timeColumn = dateColumn = CharacterColumn(l, d.offset);
    }
    if (h.Has(Column::Time)) {
      const CsvField& t = field(Column::Time);
      const auto dt = ParseDateTime(t.text);
      if (!dt || !dt->time) {
        return fail(t.offset, h.Name(Column::Time) + ": " + quote(t) + " is not a time of day (" + kTimeForms + ")");
      }
      time = dt->time;
      bar.timeColumn = CharacterColumn(l, t.offset);
      if (!h.Has(Column::Date)) {
        bar.date = dt->date;
        if (!rows.empty() && (bar.date == 0) != (rows.front().bar.date == 0)) {
          return fail(t.offset, h.Name(Column::Time) + ": " + quote(t) +
                                    (bar.date ? " has a date, the rows above have none"
                                              : " has no date, the rows above have one"));
        }
      }
    } else {
      // Only a date column: daily bars, or date and time in the one field; the first row decides.
      if (timeForm < 0) timeForm = time ? 1 : 0;
      if (timeForm == 1 && !time) {
        const CsvField& d = field(Column::Date);
        return fail(d.offset, h.Name(Column::Date) + ": " + quote(d) + " has no time of day, the rows above have one");
      }
      if (timeForm == 0) time = 0;
      if (h.trades && timeForm == 0) return fail(field(Column::Date).offset, Missing(Column::Time));
    }
    bar.time = *time;

    for (int k = 0; k < kPrices; ++k) {
      if ((h.trades && k != kClose && k != kReference) || !h.Has(kPriceColumns[k])) continue;
      const CsvField& p = field(kPriceColumns[k]);
      row.priceColumn[static_cast<std::size_t>(k)] = CharacterColumn(l, p.offset);
      if (k == kReference && p.text.empty()) continue;  // no reference on this row
      const auto d = ParseNumber(p.text);
      if (!d) {
        return fail(p.offset,
                    h.Name(kPriceColumns[k]) + ": " + quote(p) +
                        " is not a decimal price (digits with at most 4 decimals, like 30.15 or \"1,035.00\")");
      }
      if (d->mantissa <= 0) return fail(p.offset, h.Name(kPriceColumns[k]) + ": price " + p.text + " is not positive");
      row.price[static_cast<std::size_t>(k)] = *d;
    }
    if (!h.trades) {
      // A bar's open and close lie within its low and high: anything else is bad data.
      const int dec = std::max(
          {row.price[kOpen].decimals, row.price[kHigh].decimals, row.price[kLow].decimals, row.price[kClose].decimals});
      const std::int64_t o = Scaled(row.price[kOpen], dec), hi = Scaled(row.price[kHigh], dec),
                         lo = Scaled(row.price[kLow], dec), c = Scaled(row.price[kClose], dec);
      const std::string range = " lies outside the bar's low " + field(Column::Low).text + " and high " +
                                field(Column::High).text + " (bad data)";
      if (hi < lo) {
        return fail(field(Column::High).offset, h.Name(Column::High) + ": " + field(Column::High).text +
                                                    " is below the low " + field(Column::Low).text + " (bad data)");
      }
      if (o < lo || o > hi)
        return fail(field(Column::Open).offset, h.Name(Column::Open) + ": " + field(Column::Open).text + range);
      if (c < lo || c > hi)
        return fail(field(Column::Close).offset, h.Name(Column::Close) + ": " + field(Column::Close).text + range);
    }
    for (Column c : {Column::Volume, Column::TotalVolume, Column::Inner, Column::Outer}) {
      if (!h.Has(c)) continue;
      const CsvField& v = field(c);
      const auto d = ParseNumber(v.text);
      if (!d || d->decimals != 0 || v.text.find('.') != std::string::npos) {
        return fail(v.offset, h.Name(c) + ": " + quote(v) + " is not a whole number");
      }
      if (d->mantissa < 0) return fail(v.offset, h.Name(c) + ": volume " + v.text + " is negative");
      if (c == Column::Volume) bar.volume = d->mantissa;
      if (c == Column::TotalVolume) row.total = d->mantissa, row.totalColumn = CharacterColumn(l, v.offset);
      if (c == Column::Inner) bar.inner = d->mantissa;
      if (c == Column::Outer) bar.outer = d->mantissa;
    }

    // The order of the rows. With dates it is checked here, strictly: oldest first or newest
    // first throughout. Without dates a night session wraps at midnight, which only the
    // session knows: the direction is the one most rows take, and the session check does the rest.
    const std::int64_t key = static_cast<std::int64_t>(bar.date) * 1000000 + bar.time;
    if (!rows.empty() && key != previousKey) {
      const int step = key > previousKey ? 1 : -1;
      (step > 0 ? ascents : descents)++;
      if (bar.date != 0) {
        if (direction == 0) direction = step;
        if (step != direction) {
          // The date's column when the date breaks the order, else the time's.
          const bool dateBreaks = bar.date != static_cast<std::int32_t>(previousKey / 1000000);
          const std::int32_t column = dateBreaks && dateColumn > 0 ? dateColumn : bar.timeColumn;
          return InputError{file, lineNo, column,
                            "rows out of order: " + FormatDate(bar.date) + " " + FormatClock(bar.time, true) +
                                " comes after " + FormatDate(static_cast<std::int32_t>(previousKey / 1000000)) + " " +
                                FormatClock(static_cast<ClockTime>(previousKey % 1000000), true) + " on line " +
                                std::to_string(previousLine) + ", but the rows before are " +
                                (direction > 0 ? "oldest first" : "newest first") +
                                " (rows must be all oldest first or all newest first)"};
        }
      }
    }
    previousKey = key;
    previousLine = lineNo;
    rows.push_back(row);
  }

  if (!haveHeader) {
    lineNo = 1;
    l = {};
    return fail(0, "empty file: expected a header line time,open,high,low,close,volume and minute bars");
  }
  if (rows.empty()) return InputError{file, h.line, 1, "no minute bars after the header"};

  MinuteBars out;
  out.name = file;
  out.hasInnerOuter = h.Has(Column::Inner);
  out.timeName = h.name[static_cast<int>(h.Has(Column::Time) ? Column::Time : Column::Date)];
  out.hasDates = rows.front().bar.date != 0;
  out.daily = timeForm == 0;
  out.newestFirst = descents > ascents;
  if (out.newestFirst) std::reverse(rows.begin(), rows.end());

  // Cumulative volumes become per-row volumes, starting again on each trading day.
  if (h.Has(Column::TotalVolume)) {
    std::int64_t before = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      Row& r = rows[i];
      if (i > 0 && TradingDayOf(r.bar.date, r.bar.time) != TradingDayOf(rows[i - 1].bar.date, rows[i - 1].bar.time)) {
        before = 0;
      }
      if (r.total < before) {
        return InputError{file, r.bar.line, r.totalColumn,
                          h.Name(Column::TotalVolume) + ": " + std::to_string(r.total) + " is less than " +
                              std::to_string(before) + " on the row before: a cumulative volume never decreases"};
      }
      r.bar.volume = r.total - before;
      before = r.total;
    }
  }

  // Every price on the scale of the most precise one.
  out.decimals = 0;
  for (const Row& r : rows) {
    for (const Decimal& d : r.price) out.decimals = std::max(out.decimals, d.decimals);
  }
  out.priceScale = 1;
  for (int k = 0; k < out.decimals; ++k) out.priceScale *= 10;
  out.bars.reserve(rows.size());
  for (Row& r : rows) {
    std::int32_t* target[kPrices] = {&r.bar.open, &r.bar.high, &r.bar.low, &r.bar.close, &r.bar.reference};
    for (int k = 0; k < kPrices; ++k) {
      const std::int64_t v = Scaled(r.price[static_cast<std::size_t>(k)], out.decimals);
      if (v > 2147483647) {
        return InputError{
            file, r.bar.line, r.priceColumn[static_cast<std::size_t>(k)],
            h.Name(kPriceColumns[k]) + ": price too large for " + std::to_string(out.decimals) + " decimals"};
      }
      *target[k] = static_cast<std::int32_t>(v);
    }
    if (h.trades) r.bar.open = r.bar.high = r.bar.low = r.bar.close;
    if (!out.daily) r.bar.date = TradingDayOf(r.bar.date, r.bar.time);
    out.bars.push_back(r.bar);
  }
  if (h.trades) {
    out.fromTrades = true;
    out.bars = SlotsFromTrades(out.bars, 60);
  }
  return out;
}

std::optional<InputError> CheckSession(const MinuteBars& data, const Session& session) {
  std::int32_t previous = -1, day = 0;
  for (const MinuteBar& b : data.bars) {
    if (b.date != day) previous = -1;  // each trading day starts the session again
    day = b.date;
    auto offset = session.OffsetOf(b.time);
    if (!offset) {
      return InputError{data.name, b.line, b.timeColumn,
                        "column \"" + data.timeName + "\": " + FormatClock(b.time, true) + " is outside the session " +
                            FormatClock(session.start) + "-" + FormatClock(session.end) + " (see --session)"};
    }
    if (*offset <= previous) {
      return InputError{
          data.name, b.line, b.timeColumn,
          "column \"" + data.timeName + "\": " + FormatClock(b.time, true) +
              (data.newestFirst ? " is not before the time of the line above: rows newest first must decrease"
                                : " is not after the time of the line before: times must increase")};
    }
    previous = *offset;
  }
  return std::nullopt;
}

}  // namespace kelo::cli
