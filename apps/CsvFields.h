// Splitting one line of a CSV file into fields: the separator found on the header line
// (comma, tab or semicolon), fields in double quotes with "" for a quote inside, spaces
// around a field dropped. The header and every data line go through this one function, so
// a quoted header name holding a separator is one name, as it is one field on data lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelo::cli {

struct CsvField {
  std::string text;        // without the quotes and the spaces around it
  std::size_t offset = 0;  // byte of the line where the field starts (its first byte)
  bool quoted = false;
};

struct CsvFieldError {
  std::size_t offset;  // start of the field at fault
  const char* message;
};

// The fields of a line (without its line end). Fills `fields` (reused to keep its memory).
std::optional<CsvFieldError> SplitCsvLine(std::string_view line, char separator, std::vector<CsvField>& fields);

// The separator of a header line: the one of ',', '\t', ';' that occurs most often outside
// quotes; a comma when none does or on a tie with it.
char DetectSeparator(std::string_view header);

// The character column (1-based) of a byte of a UTF-8 line: continuation bytes do not count.
std::int32_t CharacterColumn(std::string_view line, std::size_t offset);

}  // namespace kelo::cli
