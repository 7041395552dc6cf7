// Short number texts of the data library. A short text leaves out the decimal point: the
// decimals are the underlined tail of the digits ("1234.50" is drawn 123450 with "50"
// underlined), which saves a character in the narrow label column.
#include <kelochart/services/KeloDataFormat.h>

#include <cctype>
#include <string>

#include "services/ShortNumber.h"

namespace {

// Longest short price: the label column is eight characters wide and a label is laid out
// one character wider than its text.
constexpr std::size_t kMaxPriceLength = 7;

bool AllDigits(const std::string& s) {
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Drops the last decimal of integer + fraction, rounding half up on the decimal digits.
void DropOneDecimal(std::string& integer, std::string& fraction) {
  const bool roundUp = fraction.back() >= '5';
  fraction.pop_back();
  if (!roundUp) return;
  std::string digits = integer + fraction;
  int i = static_cast<int>(digits.size()) - 1;
  for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) digits[static_cast<std::size_t>(i)] = '0';
  if (i >= 0) {
    ++digits[static_cast<std::size_t>(i)];
  } else {
    digits.insert(digits.begin(), '1');
  }
  const std::size_t integerLength = digits.size() - fraction.size();
  integer = digits.substr(0, integerLength);
  fraction = digits.substr(integerLength);
}

}  // namespace

void ConvertToShortPriceFormat(unsigned kind, CString* text, int* count) {
  // Every kind is formatted alike; 0xFFFFFFFF is the one the charts pass themselves.
  if (text == nullptr || count == nullptr) return;
  *count = 0;
  const std::string& source = text->str();
  // Only a plain decimal number ([sign]digits[.digits]) is shortened; a text with a unit or
  // anything else is drawn as it stands, without underline.
  std::size_t pos = 0;
  std::string sign;
  if (pos < source.size() && (source[pos] == '-' || source[pos] == '+')) sign = source[pos++];
  const std::size_t point = source.find('.', pos);
  std::string integer = source.substr(pos, point == std::string::npos ? std::string::npos : point - pos);
  std::string fraction = point == std::string::npos ? std::string() : source.substr(point + 1);
  if (integer.empty() || !AllDigits(integer) || !AllDigits(fraction)) return;
  while (!fraction.empty() && sign.size() + integer.size() + fraction.size() > kMaxPriceLength) {
    DropOneDecimal(integer, fraction);
  }
  *text = CString(sign + integer + fraction);
  *count = static_cast<int>(fraction.size());
}

void ConvertToShortVolumeFormat(unsigned kind, std::int64_t volume, CString* text, CString* suffix, int* count,
                                int reserved) {
  // Every kind is formatted alike; 0xFFFFFFFF is the one the charts pass themselves.
  if (text == nullptr || suffix == nullptr || count == nullptr) return;
  const kelo::services::detail::ShortVolume shortVolume = kelo::services::detail::MakeShortVolume(volume);
  std::string digits = shortVolume.negative ? "-" + shortVolume.digits : shortVolume.digits;
  std::string unit;
  // The unit closes the text too: the label drawing puts the suffix's last character in
  // place of the text's last character.
  if (shortVolume.unit != '\0') unit = std::string(1, shortVolume.unit);
  *text = CString(digits + unit);
  *suffix = CString(unit);
  *count = shortVolume.decimals;
}
