// Market categories by name and trading sessions.
#include "Market.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include <kelochart/calculate/KeloChartCalculate.h>

namespace kelo::cli {

const std::vector<CategoryInfo>& Categories() {
  using namespace KeloChartCalculate;
  static const std::vector<CategoryInfo> all = {
      {"stock", "listed stocks", GetNormalStockIndex(), false, 100},
      {"warrant", "warrants", GetWarrantStockIndex(), false, 100},
      {"bwaw", "BwAW securities", GetBwAWStockIndex(), false, 100},
      {"etf", "exchange-traded funds", GetETFStockIndex(), false, 100},
      {"FITX", "TAIEX futures", GetFITXStockIndex(), true, 1},
      {"FIMT", "mini TAIEX futures", GetFIMTStockIndex(), true, 1},
      {"FITE", "electronics sector futures", GetFITEStockIndex(), true, 100},
      {"FITF", "finance sector futures", GetFITFStockIndex(), true, 10},
      {"FICP", "futures FICP", GetFICPStockIndex(), true, 100},
      {"FIGB", "futures FIGB", GetFIGBStockIndex(), true, 100},
      {"FIT5", "futures FIT5", GetFIT5StockIndex(), true, 1},
      {"FIGD", "gold futures", GetFIGDStockIndex(), true, 10},
      {"FIMS", "futures FIMS", GetFIMSStockIndex(), true, 10},
      {"option-FITX", "TAIEX options", GetOptionFITXIndex(), true, 10},
      {"option-FITE", "electronics sector options", GetOptionFITEIndex(), true, 1000},
      {"option-FIGD", "gold options", GetOptionFIGDIndex(), true, 100},
      {"option", "all other options", GetOptionOtherIndex(), true, 100},
      // Index levels are quoted to 0.01 and have no tick table of their own: the axis steps
      // in whole points, on the table of the index futures.
      {"index", "index levels such as TAIEX (two decimals, the axis in whole points)", GetFITXStockIndex(), false, 100},
  };
  return all;
}

std::optional<CategoryInfo> FindCategory(std::string_view name) {
  for (const CategoryInfo& c : Categories()) {
    const std::string_view n(c.name);
    if (n.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < n.size() && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(n[i])) == std::tolower(static_cast<unsigned char>(name[i]));
    }
    if (same) return c;
  }
  return std::nullopt;
}

std::string CategoryNames() {
  std::string names;
  for (const CategoryInfo& c : Categories()) names += (names.empty() ? "" : ", ") + std::string(c.name);
  return names;
}

namespace {

// A field of exactly two digits.
std::optional<int> TwoDigits(std::string_view s) {
  if (s.size() != 2 || !std::isdigit(static_cast<unsigned char>(s[0])) ||
      !std::isdigit(static_cast<unsigned char>(s[1]))) {
    return std::nullopt;
  }
  return (s[0] - '0') * 10 + (s[1] - '0');
}

}  // namespace

std::optional<ClockTime> ParseClock(std::string_view text) {
  // Hours may have one digit (9:05) as many vendors write them.
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2) return std::nullopt;
  std::string_view hh = text.substr(0, colon), rest = text.substr(colon + 1);
  int h = 0;
  for (char c : hh) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    h = h * 10 + (c - '0');
  }
  auto m = TwoDigits(rest.substr(0, 2));
  if (!m) return std::nullopt;
  int s = 0;
  if (rest.size() == 5 && rest[2] == ':') {
    auto sec = TwoDigits(rest.substr(3));
    if (!sec) return std::nullopt;
    s = *sec;
  } else if (rest.size() != 2) {
    return std::nullopt;
  }
  if (*m > 59 || s > 59 || h > 24 || (h == 24 && (*m != 0 || s != 0))) return std::nullopt;
  return h * 10000 + *m * 100 + s;
}

std::string FormatClock(ClockTime t, bool withSeconds) {
  char text[16];
  if (withSeconds) {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t / 10000 % 100, t / 100 % 100, t % 100);
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d", t / 10000 % 100, t / 100 % 100);
  }
  return text;
}

std::int32_t Session::LengthSeconds() const {
  const std::int32_t s = SecondsOf(start), e = SecondsOf(end);
  return e > s ? e - s : e + 86400 - s;
}

std::optional<std::int32_t> Session::OffsetOf(ClockTime t) const {
  const std::int32_t s = SecondsOf(start), sec = SecondsOf(t);
  std::int32_t offset = sec - s;
  if (CrossesMidnight() && sec < s) offset += 86400;
  if (offset < 0 || offset > LengthSeconds()) return std::nullopt;
  return offset;
}

std::optional<Session> ParseSession(std::string_view text) {
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) return std::nullopt;
  auto start = ParseClock(text.substr(0, dash));
  auto end = ParseClock(text.substr(dash + 1));
  if (!start || !end || *start == *end || *start == 240000) return std::nullopt;
  return Session{*start, *end == 240000 ? 0 : *end};
}

Session DefaultSession(const CategoryInfo& category) {
  // Index levels follow the stock market's hours; futures and options open 15 minutes early.
  return category.nightSession ? Session{84500, 134500} : Session{90000, 133000};
}

}  // namespace kelo::cli
