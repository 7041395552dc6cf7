// Dates and times of day in the forms Taiwan's files use. Each form is recognised by its
// shape alone (digit counts and separators), never by guessing from the value, so a field
// means the same thing in every file.
#include "DateTimeFields.h"

#include <algorithm>
#include <cstdio>

namespace kelo::cli {

namespace {

bool Digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<std::int32_t> MakeDate(int year, int month, int day) {
  if (year < 1912 || year > 2999 || month < 1 || month > 12 || day < 1 || day > DaysIn(year, month)) {
    return std::nullopt;
  }
  return year * 10000 + month * 100 + day;
}

}  // namespace

std::optional<std::int32_t> ParseDate(std::string_view s) {
  if (Digits(s)) {
    if (s.size() == 8) return MakeDate(Number(s.substr(0, 4)), Number(s.substr(4, 2)), Number(s.substr(6, 2)));
    if (s.size() == 7) return MakeDate(1911 + Number(s.substr(0, 3)), Number(s.substr(3, 2)), Number(s.substr(5, 2)));
    return std::nullopt;
  }
  const std::size_t a = s.find_first_of("/-.");
  if (a == std::string_view::npos) return std::nullopt;
  const char sep = s[a];
  const std::size_t b = s.find(sep, a + 1);
  if (b == std::string_view::npos) return std::nullopt;
  const std::string_view y = s.substr(0, a), m = s.substr(a + 1, b - a - 1), d = s.substr(b + 1);
  if (!Digits(y) || !Digits(m) || !Digits(d) || m.size() > 2 || d.size() > 2) return std::nullopt;
  // Four digits are a year of the common era; two or three a year of the Republic (ROC).
  if (y.size() == 4) return MakeDate(Number(y), Number(m), Number(d));
  if (y.size() == 2 || y.size() == 3) return MakeDate(1911 + Number(y), Number(m), Number(d));
  return std::nullopt;
}

std::optional<ClockTime> ParseTimeOfDay(std::string_view s) {
  int h = 0, m = 0, sec = 0;
  if (Digits(s)) {
    // Compact forms: the last two or four digits are minutes (and seconds).
    if (s.size() == 3 || s.size() == 4) {
      h = Number(s.substr(0, s.size() - 2));
      m = Number(s.substr(s.size() - 2));
    } else if (s.size() == 5 || s.size() == 6) {
      h = Number(s.substr(0, s.size() - 4));
      m = Number(s.substr(s.size() - 4, 2));
      sec = Number(s.substr(s.size() - 2));
    } else {
      return std::nullopt;
    }
  } else {
    const std::size_t colon = s.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || !Digits(s.substr(0, colon))) return std::nullopt;
    h = Number(s.substr(0, colon));
    std::string_view rest = s.substr(colon + 1);
    if (rest.size() < 2 || !Digits(rest.substr(0, 2))) return std::nullopt;
    m = Number(rest.substr(0, 2));
    rest.remove_prefix(2);
    if (!rest.empty()) {
      if (rest.size() < 3 || rest[0] != ':' || !Digits(rest.substr(1, 2))) return std::nullopt;
      sec = Number(rest.substr(1, 2));
      rest.remove_prefix(3);
      // Fractions of a second, as tick files give them: the trade belongs to its second.
      if (!rest.empty() && (rest[0] != '.' || !Digits(rest.substr(1)) || rest.size() > 10)) return std::nullopt;
    }
  }
  if (h > 23 || m > 59 || sec > 59) return std::nullopt;
  return h * 10000 + m * 100 + sec;
}

std::optional<DateTime> ParseDateTime(std::string_view s) {
  DateTime out;
  if (auto t = ParseTimeOfDay(s)) {
    out.time = t;
    return out;
  }
  if (auto d = ParseDate(s)) {
    out.date = *d;
    return out;
  }
  const std::size_t split = s.find_first_of(" T");
  std::string_view datePart, timePart;
  if (split != std::string_view::npos) {
    datePart = s.substr(0, split);
    timePart = s.substr(split + 1);
    if (s[split] == ' ') timePart.remove_prefix(std::min(timePart.find_first_not_of(' '), timePart.size()));
  } else if (Digits(s) && (s.size() == 12 || s.size() == 14)) {
    datePart = s.substr(0, 8);  // yyyymmddHHMM[SS]
    timePart = s.substr(8);
  } else {
    return std::nullopt;
  }
  auto d = ParseDate(datePart);
  auto t = ParseTimeOfDay(timePart);
  if (!d || !t) return std::nullopt;
  out.date = *d;
  out.time = t;
  return out;
}

std::string FormatDate(std::int32_t date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date / 10000 % 10000, date / 100 % 100, date % 100);
  return text;
}

std::int32_t NextDay(std::int32_t date) {
  int y = date / 10000, m = date / 100 % 100, d = date % 100 + 1;
  if (m < 1 || m > 12) return date;
  if (d > DaysIn(y, m)) {
    d = 1;
    if (++m > 12) {
      m = 1;
      ++y;
    }
  }
  return y * 10000 + m * 100 + d;
}

std::int32_t TradingDayOf(std::int32_t date, ClockTime time) {
  return date != 0 && time >= kEveningStart ? NextDay(date) : date;
}

std::int32_t CalendarDayOf(std::int32_t tradingDay, ClockTime time) {
  if (tradingDay == 0 || time < kEveningStart) return tradingDay;
  int y = tradingDay / 10000, m = tradingDay / 100 % 100, d = tradingDay % 100 - 1;
  if (m < 1 || m > 12) return tradingDay;
  if (d < 1) {
    if (--m < 1) {
      m = 12;
      --y;
    }
    d = DaysIn(y, m);
  }
  return y * 10000 + m * 100 + d;
}

std::int32_t SessionClockOf(ClockTime time) {
  const std::int32_t s = SecondsOf(time) - SecondsOf(kEveningStart);
  return s >= 0 ? s : s + 86400;
}

}  // namespace kelo::cli
