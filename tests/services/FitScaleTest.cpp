// Fitted volume scales: evenly spaced 1-2-5 values whose top reaches the maximum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <kelochart/services/KeloUtility.h>

namespace {

std::vector<std::int32_t> Scale(double maxValue) {
  std::vector<std::int32_t> scale = {-7, -7, -7, -7, -7, -7, -7};  // must be replaced, not appended to
  KeloUtility::FindFitScale(maxValue, scale);
  return scale;
}

bool IsNiceStep(std::int64_t step) {
  while (step % 10 == 0) step /= 10;
  return step == 1 || step == 2 || step == 5;
}

// 1 -> none, 2 -> 1, 5 -> 2, 10 -> 5, 20 -> 10, 50 -> 20, ...
std::int64_t PreviousNiceStep(std::int64_t step) {
  std::int64_t decade = 1;
  while (step / decade >= 10) decade *= 10;
  const std::int64_t mantissa = step / decade;
  if (mantissa == 5) return 2 * decade;
  if (mantissa == 2) return decade;
  return decade / 2;  // mantissa 1: 5 of the decade below
}

TEST(FitScale, ChoosesTheSmallestNiceStepThatReachesTheMaximum) {
  struct Case {
    double maxValue;
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {
      {1.0, {1, 2, 3, 4}},
      {4.0, {1, 2, 3, 4}},
      {4.0001, {2, 4, 6, 8}},
      {8.0, {2, 4, 6, 8}},
      {9.0, {5, 10, 15, 20}},
      {20.5, {10, 20, 30, 40}},
      {7300.0, {2000, 4000, 6000, 8000}},
      {12345678.0, {5000000, 10000000, 15000000, 20000000}},
      {2000000000.0, {500000000, 1000000000, 1500000000, 2000000000}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Scale(c.maxValue), c.expected) << "maximum " << c.maxValue;
  }
}

TEST(FitScale, EmptyOrUnreadableMaximaGetTheSmallestStep) {
  const double maxima[] = {0.0, -0.0, -1.0, -1e300, std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::infinity(), 1e-300, 0.5};
  for (double m : maxima) EXPECT_EQ(Scale(m), (std::vector<std::int32_t>{1, 2, 3, 4})) << m;
}

TEST(FitScale, MaximaBeyondTheIntegerRangeSaturateAtTheLargestStep) {
  const std::vector<std::int32_t> largest = {500000000, 1000000000, 1500000000, 2000000000};
  const double maxima[] = {2000000000.5, 2147483647.0, 1e12, 1e300,
                           std::numeric_limits<double>::infinity()};
  for (double m : maxima) EXPECT_EQ(Scale(m), largest) << m;
}

TEST(FitScale, EveryScaleIsEvenIncreasingPositiveAndReachesItsMaximum) {
  // Maxima spread over the whole useful range, including the boundaries of each step.
  std::vector<double> maxima;
  for (double m = 0.25; m < 2.0e9; m *= 1.07) maxima.push_back(m);
  for (std::int64_t decade = 1; decade <= 100000000; decade *= 10) {
    for (std::int64_t top : {4 * decade, 8 * decade, 20 * decade}) {
      maxima.push_back(static_cast<double>(top));
      if (top < 2000000000) maxima.push_back(static_cast<double>(top) + 1.0);
    }
  }
  const std::size_t count = static_cast<std::size_t>(KeloUtility::GetFitScaleCount());
  for (double m : maxima) {
    const std::vector<std::int32_t> scale = Scale(m);
    ASSERT_EQ(scale.size(), count) << m;
    const std::int64_t step = scale[0];
    EXPECT_TRUE(IsNiceStep(step)) << m;
    for (std::size_t k = 0; k < scale.size(); ++k) {
      EXPECT_EQ(scale[k], step * static_cast<std::int64_t>(k + 1)) << m;
    }
    EXPECT_GE(static_cast<double>(scale.back()), m) << m;
    // The next smaller nice step would not have reached the maximum.
    if (step > 1) {
      EXPECT_LT(static_cast<double>(PreviousNiceStep(step) * static_cast<std::int64_t>(count)), m) << m;
    }
  }
}

}  // namespace
