// Fitted volume scales: a few evenly spaced grid values on a 1-2-5 step, the top one not
// below the largest volume, so that volume axes read 2K, 4K, 6K, 8K rather than 1873, 3746.
#include <kelochart/services/KeloUtility.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr std::int32_t kFitScaleCount = 4;
// The largest 1-2-5 step whose top grid value (count x step) still fits a 32-bit value.
constexpr std::int64_t kLargestStep = 500000000;

}  // namespace

namespace KeloUtility {

std::int32_t GetFitScaleCount() { return kFitScaleCount; }

void FindFitScale(double maxValue, std::vector<std::int32_t>& scale) {
  scale.clear();
  // The smallest 1-2-5 step that reaches the maximum. An empty or negative range (and NaN)
  // gets the smallest step; a maximum beyond the 32-bit range gets the largest step, whose
  // top value then stays below that maximum.
  std::int64_t step = 1;
  if (maxValue > 0.0) {
    static constexpr std::int64_t kMantissas[] = {1, 2, 5};
    bool found = false;
    for (std::int64_t decade = 1; !found && decade <= kLargestStep; decade *= 10) {
      for (std::int64_t mantissa : kMantissas) {
        step = mantissa * decade;
        if (static_cast<double>(step * kFitScaleCount) >= maxValue || step >= kLargestStep) {
          found = true;
          break;
        }
      }
    }
  }
  scale.reserve(kFitScaleCount);
  for (std::int32_t k = 1; k <= kFitScaleCount; ++k) {
    scale.push_back(static_cast<std::int32_t>(step * k));
  }
}

}  // namespace KeloUtility
