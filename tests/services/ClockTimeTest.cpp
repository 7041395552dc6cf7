// Clock times HHMMSS and seconds since midnight.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include <kelochart/services/KeloUtility.h>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLastSecond = 214747 * 3600 + 3599;  // 2147475959, the last clock time

TEST(ClockTime, ConvertsValidTimesAndRejectsOthersWithoutOverflow) {
  const std::pair<std::int32_t, std::int32_t> valid[] = {
      {0, 0}, {59, 59}, {100, 60}, {90130, 32490}, {235959, 86399}, {240000, 86400}, {250000, 90000},
      {2147475959, kLastSecond}};
  for (const auto& [time, seconds] : valid) {
    std::int32_t s = -1, t = -1;
    EXPECT_EQ(KeloUtility::TimeToSecTick(time, s), 1) << time;
    EXPECT_EQ(s, seconds) << time;
    EXPECT_EQ(KeloUtility::SecTickToTime(t, seconds), 1) << seconds;
    EXPECT_EQ(t, time) << seconds;
  }
  for (std::int32_t time : {-1, kMin, 60, 99, 6000, 93060, 95960, 2147476000, kMax}) {
    std::int32_t seconds = 12345;
    EXPECT_EQ(KeloUtility::TimeToSecTick(time, seconds), 0) << time;
    EXPECT_EQ(seconds, 0) << time;
  }
  const std::tuple<std::int32_t, std::int32_t> clamped[] = {{-1, 0}, {kMin, 0}, {kLastSecond + 1, 2147475959}, {kMax, 2147475959}};
  for (const auto& [seconds, time] : clamped) {
    std::int32_t t = 1;
    EXPECT_EQ(KeloUtility::SecTickToTime(t, seconds), 0) << seconds;
    EXPECT_EQ(t, time) << seconds;
  }
}

}  // namespace
