// The encodings Taiwan's files come in, turned into UTF-8 before any field is read: UTF-8
// with or without a byte order mark, Big5 (Windows code page 950, as many exports still are)
// and UTF-16 with a byte order mark (Excel's "Unicode text").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "MinuteBars.h"

namespace kelo::cli {

enum class Encoding { Auto, Utf8, Big5, Utf16 };

// "auto", "utf-8"/"utf8", "big5"/"cp950", "utf-16"/"utf16" in any case; nullopt otherwise.
std::optional<Encoding> ParseEncoding(std::string_view name);

// Auto: a UTF-16 or UTF-8 byte order mark decides; else text that is valid UTF-8 is UTF-8;
// else it is read as Big5. The result is UTF-8 without a byte order mark. An error names the
// line and column (counted in the decoded characters before it) of the first byte that the
// encoding does not have.
std::variant<std::string, InputError> DecodeText(std::string_view name, std::string_view bytes, Encoding encoding);

// Offset of the first byte that is not part of valid UTF-8 (no overlong forms, no
// surrogates); bytes.size() when all of it is valid.
std::size_t InvalidUtf8At(std::string_view bytes);

}  // namespace kelo::cli
