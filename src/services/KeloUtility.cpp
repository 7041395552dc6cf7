// The utility service's small helpers: decimal rounding, clock-time conversion, short
// volume texts and the grey edge lines of the time grid and price axis.
#include <kelochart/services/KeloUtility.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "services/ShortNumber.h"

namespace KeloUtility {

namespace {

constexpr int kSignificantDigits = 15;  // what a double holds of a typed decimal

// The largest HHMMSS clock time whose seconds still convert back: 214747:59:59.
constexpr std::int32_t kMaxHours = 214747;
constexpr std::int32_t kMaxSecTick = kMaxHours * 3600 + 3599;

}  // namespace

double Round(double value, int decimals) {
  if (value == 0.0) return 0.0;  // -0.0 too: a zero result is always +0.0
  if (!std::isfinite(value)) return value;
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  // Round the decimal the value stands for, not its binary neighbour: 1.005 is stored as
  // 1.00499999999999989..., yet a label of it must read 1.01. Fifteen significant digits
  // recover the decimal; the half is then rounded away from zero on those digits.
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, std::fabs(value));
  // buffer: d.dddddddddddddde[+-]XX
  std::int64_t mantissa = buffer[0] - '0';
  for (int i = 2; i < kSignificantDigits + 1; ++i) mantissa = mantissa * 10 + (buffer[i] - '0');
  const int exponent = std::atoi(buffer + kSignificantDigits + 2);
  // value = mantissa x 10^(exponent - 14); keep the digits down to 10^-decimals.
  const int dropped = (kSignificantDigits - 1) - exponent - decimals;
  if (dropped <= 0) return value;  // already exact at that many decimals
  std::int64_t kept = 0;
  if (dropped <= kSignificantDigits) {
    std::int64_t divisor = 1;
    for (int i = 0; i < dropped; ++i) divisor *= 10;
    kept = mantissa / divisor;
    if (mantissa % divisor >= divisor / 2) ++kept;
  }
  if (kept == 0) return 0.0;  // never a negative zero: it would print as "-0.00"
  char text[48];
  std::snprintf(text, sizeof text, "%s%llde-%d", value < 0 ? "-" : "", static_cast<long long>(kept), decimals);
  return std::strtod(text, nullptr);
}

int TimeToSecTick(std::int32_t time, std::int32_t& secTick) {
  const std::int32_t hours = time / 10000;
  const std::int32_t minutes = time / 100 % 100;
  const std::int32_t seconds = time % 100;
  if (time < 0 || minutes > 59 || seconds > 59 || hours > kMaxHours) {
    secTick = 0;
    return 0;
  }
  secTick = hours * 3600 + minutes * 60 + seconds;
  return 1;
}

int SecTickToTime(std::int32_t& time, std::int32_t secTick) {
  if (secTick < 0) {
    time = 0;
    return 0;
  }
  int result = 1;
  if (secTick > kMaxSecTick) {
    secTick = kMaxSecTick;
    result = 0;
  }
  time = secTick / 3600 * 10000 + secTick / 60 % 60 * 100 + secTick % 60;
  return result;
}

void VolumeFormatA(CString& text, std::int32_t volume, int flag) {
  VolumeFormatA(text, static_cast<std::int64_t>(volume), flag);
}

void VolumeFormatA(CString& text, std::int64_t volume, int flag) {
  text = CString(kelo::services::detail::PlainText(kelo::services::detail::MakeShortVolume(volume)));
}

void DrawColorEdge(CDC* dc, const CRect& rect, COLORREF color, int width, EDrawEdgeStyle style) {
  if (dc == nullptr) return;
  CPoint from;
  CPoint to;
  switch (style) {
    case eDrawEdgeLeft: from = CPoint(rect.left, rect.top), to = CPoint(rect.left, rect.bottom); break;
    case eDrawEdgeBottom: from = CPoint(rect.left, rect.bottom), to = CPoint(rect.right, rect.bottom); break;
    case eDrawEdgeRight: from = CPoint(rect.right, rect.top), to = CPoint(rect.right, rect.bottom); break;
    case eDrawEdgeTop: from = CPoint(rect.left, rect.top), to = CPoint(rect.right, rect.top); break;
    default: return;
  }
  CPen pen(PS_SOLID, width, color);
  CPen* previous = dc->SelectObject(&pen);
  dc->MoveTo(from);
  dc->LineTo(to);
  dc->SelectObject(previous);
}

}  // namespace KeloUtility
