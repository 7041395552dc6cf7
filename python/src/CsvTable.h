// A DataFrame (or a mapping of columns) as the CSV text of a vendor's file, so the package
// feeds the tool's own reader: whatever the reader accepts from a file it accepts from a
// DataFrame, with the same checks and messages. The reader's line and character column are
// mapped back to the table's row and column name.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kelo::py {

struct TableColumn {
  std::string name;                 // as the table names it (the reader takes English or Chinese names)
  std::vector<std::string> fields;  // one field text per row, unquoted
  std::vector<std::int32_t> dates;  // the calendar day (yyyymmdd) of each row when the values carry one
};

// Where in the table a reader error lies: the 1-based row (0: the header or the whole
// input) and the name of the column (empty when none).
struct TablePlace {
  std::int32_t row = 0;
  std::string column;
};

struct TableError {
  TablePlace place;
  std::string message;
};

class CsvTable {
 public:
  // Lays the columns out, header first. The first column whose values span several days is
  // preceded by a "date" column (YYYY-MM-DD; its times stay HH:MM:SS), unless the table has a
  // date column of its own. Fails on columns of unequal length and on line breaks in a field.
  static std::variant<CsvTable, TableError> Make(std::vector<TableColumn> columns);

  const std::string& Text() const { return text_; }
  std::size_t Rows() const { return rows_; }
  // The table's place of a reader error at line and character column of Text().
  TablePlace Locate(std::int32_t line, std::int32_t column) const;

 private:
  std::string text_;
  std::size_t rows_ = 0;
  std::vector<std::string> fieldColumns_;  // per CSV field, the table column it came from
};

// True for the names a date column goes by: "date", "日期", "交易日期" (any case, spaces ignored).
bool IsDateColumnName(const std::string& name);

}  // namespace kelo::py
