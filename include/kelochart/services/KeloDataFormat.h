// Short number texts of the data library and its price record.
#pragma once

#include <cstdint>

#include <kelochart/surface/String.h>

// Replaces *text (a formatted price such as "1234.50") by its short form and sets *count
// to the number of trailing characters to underline. kind 0xFFFFFFFF is the library's own.
void ConvertToShortPriceFormat(unsigned kind, CString* text, int* count);

// Writes the short label of a volume into *text, its unit suffix into *suffix (its last
// character is drawn plainly in place of the text's last character) and the number of
// trailing characters to underline into *count. reserved is 0.
void ConvertToShortVolumeFormat(unsigned kind, std::int64_t volume, CString* text,
                                CString* suffix, int* count, int reserved);

namespace KeloDataGroup {
class CKeloDataMerge {
 public:
  // Seven signed 32-bit fields, the first four prices.
  struct SPriceData {
    std::int32_t open = 0;
    std::int32_t high = 0;
    std::int32_t low = 0;
    std::int32_t close = 0;
    std::int32_t reference = 0;
    std::int32_t time = 0;
    std::int32_t volume = 0;
  };
};
}  // namespace KeloDataGroup
