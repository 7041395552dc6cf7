// The names vendor, broker and exchange files give their columns, in Chinese and English:
// one table, so the reader, its messages, the help text and the docs agree on what is
// accepted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelo::cli {

enum class Column { Time, Date, Open, High, Low, Close, Volume, TotalVolume, Inner, Outer, Reference, Count };
inline constexpr int kColumnCount = static_cast<int>(Column::Count);

// The column a header name stands for, ignoring ASCII case, spaces and the width of
// parentheses ("成交量（張）" is "成交量(張)"); nullopt for a column the charts do not read.
std::optional<Column> ColumnOfName(std::string_view name);
// The English name of a column, as messages call it: "time", "volume", ...
const char* ColumnLabel(Column column);
// Every accepted name of a column, for messages: "close, price, 收盤價, 收盤, 成交價".
std::string AcceptedNames(Column column);

}  // namespace kelo::cli
