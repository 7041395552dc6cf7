// Field texts for the CSV a DataFrame becomes.
#include "FieldText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kelo::py {

std::string NumberText(double value, bool single) {
  if (std::isnan(value)) return "";
  char text[400];
  // to_chars and from_chars ignore the C locale, which a Python program may have set.
  for (int decimals = 0; decimals <= 4; ++decimals) {
    auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc()) break;
    double back = 0;
    std::from_chars(text, written.ptr, back);
    if (single ? static_cast<float>(back) == static_cast<float>(value) : back == value) {
      return std::string(text, written.ptr);
    }
  }
  auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
  return std::string(text, written.ptr);
}

DateTime FromEpochNanoseconds(std::int64_t ns) {
  constexpr std::int64_t kDay = 86400LL * 1000000000LL;
  std::int64_t days = ns / kDay, rest = ns % kDay;
  if (rest < 0) {
    rest += kDay;
    --days;
  }
  // Days to the proleptic Gregorian calendar (the civil-from-days algorithm).
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  DateTime t;
  t.year = static_cast<std::int32_t>(yoe + era * 400 + (m <= 2));
  t.month = static_cast<std::int32_t>(m);
  t.day = static_cast<std::int32_t>(d);
  const std::int64_t seconds = rest / 1000000000LL;
  t.hour = static_cast<std::int32_t>(seconds / 3600);
  t.minute = static_cast<std::int32_t>(seconds / 60 % 60);
  t.second = static_cast<std::int32_t>(seconds % 60);
  t.nanosecond = static_cast<std::int32_t>(rest % 1000000000LL);
  return t;
}

std::string ClockText(std::int32_t hour, std::int32_t minute, std::int32_t second, std::int32_t nanosecond) {
  char text[40];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
  std::string out = text;
  if (nanosecond > 0) {
    std::snprintf(text, sizeof text, ".%09d", nanosecond);
    std::string fraction = text;
    while (fraction.back() == '0') fraction.pop_back();
    out += fraction;
  }
  return out;
}

std::string DateText(std::int32_t yyyymmdd) {
  char text[24];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
  return text;
}

std::string CsvField(std::string text) {
  if (text.find_first_of(",\"") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace kelo::py
