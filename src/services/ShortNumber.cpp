// Short volume texts: three significant digits and a unit of thousands (K, M, B, T, P, E),
// so that any 64-bit volume fits the eight-character label column with room to spare.
#include "services/ShortNumber.h"

#include <cstdint>
#include <string>

namespace kelo::services::detail {

namespace {

// Below this a volume is written in full: five digits still fit the label column.
constexpr std::uint64_t kPlainLimit = 100000;
constexpr char kUnits[] = {'\0', 'K', 'M', 'B', 'T', 'P', 'E'};

std::uint64_t Pow10(int exponent) {
  std::uint64_t p = 1;
  for (int i = 0; i < exponent; ++i) p *= 10;
  return p;
}

int DigitCount(std::uint64_t value) {
  int count = 1;
  while (value >= 10) {
    value /= 10;
    ++count;
  }
  return count;
}

}  // namespace

ShortVolume MakeShortVolume(std::int64_t volume) {
  ShortVolume result;
  result.negative = volume < 0;
  // The magnitude in unsigned arithmetic, so that INT64_MIN has one too.
  const std::uint64_t magnitude =
      result.negative ? ~static_cast<std::uint64_t>(volume) + 1 : static_cast<std::uint64_t>(volume);
  if (magnitude < kPlainLimit) {
    result.digits = std::to_string(magnitude);
    return result;
  }
  // Keep three significant digits, rounding half up; 999999 rounds to 1000K, which is
  // carried into the next power of ten (1.00M).
  int exponent = DigitCount(magnitude) - 3;  // >= 3 here
  const std::uint64_t divisor = Pow10(exponent);
  std::uint64_t kept = (magnitude + divisor / 2) / divisor;  // no overflow: magnitude <= 2^63
  if (kept >= 1000) {
    kept /= 10;
    ++exponent;
  }
  // The unit is the largest power of a thousand not above the value: 100..999 of it.
  const int unitIndex = (exponent + 2) / 3;
  int decimals = unitIndex * 3 - exponent;  // 0, 1 or 2
  std::string digits = std::to_string(kept);
  while (decimals > 0 && digits.back() == '0') {
    digits.pop_back();
    --decimals;
  }
  result.digits = digits;
  result.decimals = decimals;
  result.unit = kUnits[unitIndex];
  return result;
}

std::string PlainText(const ShortVolume& shortVolume) {
  std::string text;
  if (shortVolume.negative) text += '-';
  const std::size_t integerDigits = shortVolume.digits.size() - static_cast<std::size_t>(shortVolume.decimals);
  text += shortVolume.digits.substr(0, integerDigits);
  if (shortVolume.decimals > 0) {
    text += '.';
    text += shortVolume.digits.substr(integerDigits);
  }
  if (shortVolume.unit != '\0') text += shortVolume.unit;
  return text;
}

}  // namespace kelo::services::detail
