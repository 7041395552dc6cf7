// The short volume text shared by the utility service (VolumeFormatA, drawn as it stands)
// and the data library's short format (drawn with underlined decimals).
#pragma once

#include <cstdint>
#include <string>

namespace kelo::services::detail {

// A volume cut to three significant digits in a unit of thousands: 1234567 is
// digits "123", decimals 2, unit 'M' (1.23M). Volumes below 100000 keep every digit and
// have no unit. Trailing zero decimals are dropped (1.00M is "1", unit 'M').
struct ShortVolume {
  bool negative = false;
  std::string digits;  // without the decimal point
  int decimals = 0;    // how many of the digits are decimals
  char unit = '\0';    // 'K', 'M', 'B', 'T', 'P', 'E' or none
};

ShortVolume MakeShortVolume(std::int64_t volume);

// "-1.23M": the digits with the point put back, the sign and the unit.
std::string PlainText(const ShortVolume& shortVolume);

}  // namespace kelo::services::detail
