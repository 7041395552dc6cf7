// Short number texts of the data library and its price record.
#pragma once

#include <cstdint>

#include <kelochart/surface/String.h>

// Short texts leave out the decimal point: the decimals are the underlined tail.
// Every kind formats alike; 0xFFFFFFFF is the one the library passes itself. A null
// pointer among the arguments makes a call do nothing.

// Replaces *text (a formatted price such as "1234.50") by its short form and sets *count
// to the number of trailing characters to underline: "1234.50" gives "123450" and 2. Texts
// longer than 7 characters lose decimals, rounded half up ("123456.78" gives "1234568"
// and 1); the integer digits are never cut. A text that is not [sign]digits[.digits] is
// left as it is, with count 0.
void ConvertToShortPriceFormat(unsigned kind, CString* text, int* count);

// Writes the short label of a volume into *text, its unit suffix into *suffix (its last
// character is drawn plainly in place of the text's last character) and the number of
// trailing characters to underline into *count. reserved is 0. The figures are those of
// KeloUtility::VolumeFormatA without the point, the unit closing the text: 1234567 gives
// "123M", "M" and 2 (read 1.23M); 12345 gives "12345", "" and 0.
void ConvertToShortVolumeFormat(unsigned kind, std::int64_t volume, CString* text, CString* suffix, int* count,
                                int reserved);

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
