// Field splitting is ours, not a library's: a line is a few dozen bytes, the rules are a
// screenful, and owning them means every error has the exact field it comes from. The fuzz
// target of the reader checks these offsets against a split of its own.
#include "CsvFields.h"

namespace kelo::cli {

namespace {

bool Space(char c, char separator) { return c == ' ' || (c == '\t' && separator != '\t'); }

}  // namespace

std::optional<CsvFieldError> SplitCsvLine(std::string_view line, char separator, std::vector<CsvField>& fields) {
  fields.clear();
  std::size_t i = 0;
  for (;;) {
    CsvField field;
    field.offset = i;
    while (i < line.size() && Space(line[i], separator)) ++i;
    if (i < line.size() && line[i] == '"') {
      field.quoted = true;
      for (++i;; ++i) {
        if (i >= line.size()) return CsvFieldError{field.offset, "a quoted field is not closed"};
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field.text += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          field.text += line[i];
        }
      }
      while (i < line.size() && Space(line[i], separator)) ++i;
      if (i < line.size() && line[i] != separator) {
        return CsvFieldError{field.offset, "text after the closing quote of a field"};
      }
    } else {
      const std::size_t start = i;
      while (i < line.size() && line[i] != separator) {
        // A quote belongs in a quoted field only: elsewhere it hides where fields end.
        if (line[i] == '"') return CsvFieldError{field.offset, "a quote inside a field that does not start with one"};
        ++i;
      }
      std::size_t end = i;
      while (end > start && Space(line[end - 1], separator)) --end;
      field.text.assign(line.substr(start, end - start));
    }
    fields.push_back(std::move(field));
    if (i >= line.size()) return std::nullopt;
    ++i;  // the separator
  }
}

char DetectSeparator(std::string_view header) {
  int comma = 0, tab = 0, semicolon = 0;
  bool quoted = false;
  for (char c : header) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    comma += c == ',';
    tab += c == '\t';
    semicolon += c == ';';
  }
  if (tab > comma && tab >= semicolon) return '\t';
  if (semicolon > comma && semicolon > tab) return ';';
  return ',';
}

std::int32_t CharacterColumn(std::string_view line, std::size_t offset) {
  std::int32_t column = 1;
  for (std::size_t i = 0; i < offset && i < line.size(); ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
  }
  if (offset > line.size()) column += static_cast<std::int32_t>(offset - line.size());
  return column;
}

}  // namespace kelo::cli
