// One table of column names. Files come from data vendors (English names), brokers' trading
// software and public sites (Chinese names, sometimes with the unit in parentheses); the
// table is the whole of what the reader recognises, so adding a name is adding a row here.
#include "ColumnNames.h"

#include <array>

namespace kelo::cli {

namespace {

struct Names {
  Column column;
  const char* label;
  std::array<const char*, 7> names;  // lower case, without spaces; unused entries null
};

const Names kNames[] = {
    {Column::Time, "time", {"time", "時間", "datetime", "日期時間", "成交時間", "timestamp"}},
    {Column::Date, "date", {"date", "日期", "交易日期"}},
    {Column::Open, "open", {"open", "開盤價", "開盤"}},
    {Column::High, "high", {"high", "最高價", "最高"}},
    {Column::Low, "low", {"low", "最低價", "最低"}},
    {Column::Close, "close", {"close", "price", "收盤價", "收盤", "成交價"}},
    {Column::Volume, "volume", {"volume", "vol", "成交量", "成交量(張)", "單量"}},
    {Column::TotalVolume, "cumulative volume", {"totalvolume", "總量", "累計成交量"}},
    {Column::Inner, "inner", {"inner", "內盤", "內盤量"}},
    {Column::Outer, "outer", {"outer", "外盤", "外盤量"}},
    {Column::Reference, "reference", {"reference", "ref", "參考價", "昨收", "昨收價"}},
};

// ASCII lower case, spaces and tabs dropped, full-width parentheses made ASCII.
std::string Normal(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == ' ' || c == '\t') continue;
    if (name.substr(i, 3) == "\xEF\xBC\x88") {  // （
      out += '(';
      i += 2;
    } else if (name.substr(i, 3) == "\xEF\xBC\x89") {  // ）
      out += ')';
      i += 2;
    } else {
      out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
  }
  return out;
}

}  // namespace

std::optional<Column> ColumnOfName(std::string_view name) {
  const std::string n = Normal(name);
  for (const Names& row : kNames) {
    for (const char* alias : row.names) {
      if (alias && n == alias) return row.column;
    }
  }
  return std::nullopt;
}

const char* ColumnLabel(Column column) { return kNames[static_cast<int>(column)].label; }

std::string AcceptedNames(Column column) {
  std::string out;
  for (const char* alias : kNames[static_cast<int>(column)].names) {
    if (alias) out += (out.empty() ? "" : ", ") + std::string(alias);
  }
  return out;
}

}  // namespace kelo::cli
