// Fitted volume scales: evenly spaced 1-2-5 values whose top reaches the maximum.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include <kelochart/services/KeloUtility.h>

namespace {

TEST(FitScale, ChoosesTheSmallestNiceStepThatReachesTheMaximum) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::int32_t> smallest = {1, 2, 3, 4}, largest = {500000000, 1000000000, 1500000000, 2000000000};
  const std::pair<double, std::vector<std::int32_t>> cases[] = {
      {4.0, smallest},
      {4.0001, {2, 4, 6, 8}},
      {8.5, {5, 10, 15, 20}},
      {20.5, {10, 20, 30, 40}},
      {12345678.0, {5000000, 10000000, 15000000, 20000000}},
      {2000000000.0, largest},
      // Empty or unreadable maxima get the smallest step, those beyond 32 bits the largest.
      {0.0, smallest},
      {std::numeric_limits<double>::quiet_NaN(), smallest},
      {-inf, smallest},
      {2000000000.5, largest},
      {inf, largest}};
  for (const auto& [maxValue, expected] : cases) {
    std::vector<std::int32_t> scale = {-7, -7, -7, -7, -7, -7, -7};  // replaced, not appended to
    KeloUtility::FindFitScale(maxValue, scale);
    EXPECT_EQ(scale, expected) << "maximum " << maxValue;
  }
  EXPECT_EQ(KeloUtility::GetFitScaleCount(), 4);
}

}  // namespace
