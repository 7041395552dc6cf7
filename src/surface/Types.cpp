// MulDiv: the rounding 64-bit multiply-divide that font sizes go through (points to pixels).
#include <kelochart/surface/Types.h>

#include <cstdint>

LONG MulDiv(LONG number, LONG numerator, LONG denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t divisor = denominator;
  if (divisor < 0) {
    product = -product;  // |product| <= 2^62, so negation is safe
    divisor = -divisor;
  }
  // Round half away from zero, as the GDI helper does.
  const std::int64_t half = divisor / 2;
  const std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > 2147483647LL || result < -2147483647LL) return -1;
  return static_cast<LONG>(result);
}
