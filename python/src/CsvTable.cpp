// Laying a table out as CSV text and finding a reader error's place in the table.
#include "CsvTable.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "FieldText.h"

namespace kelo::py {

bool IsDateColumnName(const std::string& name) {
  std::string s;
  for (char c : name) {
    if (c != ' ' && c != '\t') s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return s == "date" || s == "日期" || s == "交易日期";
}

std::variant<CsvTable, TableError> CsvTable::Make(std::vector<TableColumn> columns) {
  CsvTable table;
  const std::size_t rows = columns.empty() ? 0 : columns.front().fields.size();
  for (const TableColumn& c : columns) {
    if (c.fields.size() != rows) {
      return TableError{{0, c.name},
                        "column \"" + c.name + "\" has " + std::to_string(c.fields.size()) +
                            " rows, the first column " + std::to_string(rows)};
    }
    if (c.name.find_first_of("\r\n") != std::string::npos) {
      return TableError{{0, c.name}, "a column name holds a line break"};
    }
    for (std::size_t r = 0; r < rows; ++r) {
      if (c.fields[r].find_first_of("\r\n") != std::string::npos) {
        return TableError{{static_cast<std::int32_t>(r + 1), c.name},
                          "column \"" + c.name + "\": a line break inside a value"};
      }
    }
  }
  // A day column for data over several days, before the column whose values carry the days.
  const bool ownDate =
      std::any_of(columns.begin(), columns.end(), [](const TableColumn& c) { return IsDateColumnName(c.name); });
  std::size_t dated = columns.size();
  if (!ownDate) {
    for (std::size_t k = 0; k < columns.size() && dated == columns.size(); ++k) {
      std::set<std::int32_t> days(columns[k].dates.begin(), columns[k].dates.end());
      days.erase(0);
      if (days.size() > 1) dated = k;
    }
  }
  struct Out {
    const TableColumn* column;
    bool date;
  };
  std::vector<Out> out;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    if (k == dated) out.push_back({&columns[k], true});
    out.push_back({&columns[k], false});
  }
  std::string& text = table.text_;
  for (std::size_t k = 0; k < out.size(); ++k) {
    text += (k ? "," : "") + CsvField(out[k].date ? "date" : out[k].column->name);
    table.fieldColumns_.push_back(out[k].column->name);
  }
  text += '\n';
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t k = 0; k < out.size(); ++k) {
      if (k) text += ',';
      const TableColumn& c = *out[k].column;
      if (out[k].date) {
        if (r < c.dates.size() && c.dates[r] != 0) text += DateText(c.dates[r]);
      } else {
        text += CsvField(c.fields[r]);
      }
    }
    text += '\n';
  }
  table.rows_ = rows;
  return table;
}

TablePlace CsvTable::Locate(std::int32_t line, std::int32_t column) const {
  TablePlace place;
  if (line < 1) return place;
  place.row = line - 1;  // the header is line 1, the first row line 2
  std::size_t start = 0;
  for (std::int32_t l = 1; l < line && start != std::string::npos; ++l) {
    start = text_.find('\n', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos || start >= text_.size()) return place;
  const std::size_t end = std::min(text_.find('\n', start), text_.size());
  // The field that holds the character column (past the end: the last field).
  std::size_t field = 0;
  bool quoted = false;
  for (std::size_t i = start; i < end && static_cast<std::int32_t>(i - start) + 1 < column; ++i) {
    if (text_[i] == '"') quoted = !quoted;
    if (text_[i] == ',' && !quoted) ++field;
  }
  if (!fieldColumns_.empty()) place.column = fieldColumns_[std::min(field, fieldColumns_.size() - 1)];
  return place;
}

}  // namespace kelo::py
