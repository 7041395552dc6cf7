// Clock times HHMMSS and seconds since midnight at their edges. (Ordinary times are converted
// on every call of the time axis, whose tests pin them.)
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include <kelochart/services/KeloUtility.h>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ClockTime, RejectsTimesThatAreNotClockTimesAndClampsSecondsWithoutOverflow) {
  for (std::int32_t time : {-1, kMin, 60, 6000, 95960, 2147476000, kMax}) {
    std::int32_t seconds = 12345;
    EXPECT_EQ(KeloUtility::TimeToSecTick(time, seconds), 0) << time;
    EXPECT_EQ(seconds, 0) << time;
  }
  const std::pair<std::int32_t, std::int32_t> clamped[] = {
      {-1, 0}, {kMin, 0}, {773095200, 2147475959}, {kMax, 2147475959}};
  for (const auto& [seconds, time] : clamped) {
    std::int32_t t = 1;
    EXPECT_EQ(KeloUtility::SecTickToTime(t, seconds), 0) << seconds;
    EXPECT_EQ(t, time) << seconds;
  }
  std::int32_t seconds = 0, time = 0;  // the last clock time round-trips
  EXPECT_EQ(KeloUtility::TimeToSecTick(2147475959, seconds) + KeloUtility::SecTickToTime(time, seconds), 2);
  EXPECT_EQ(time, 2147475959);
}

}  // namespace
