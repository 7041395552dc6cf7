// Clock times HHMMSS and seconds since midnight.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include <kelochart/services/KeloUtility.h>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ClockTime, ConvertsValidTimesToSecondsOfTheDay) {
  struct Case {
    std::int32_t time;
    std::int32_t seconds;
  };
  const Case cases[] = {
      {0, 0},           {59, 59},          {100, 60},         {90000, 32400},
      {90130, 32490},   {133000, 48600},   {235959, 86399},   {240000, 86400},
      {250000, 90000},  {2147475959, 214747 * 3600 + 3599},
  };
  for (const Case& c : cases) {
    std::int32_t seconds = -1;
    EXPECT_EQ(KeloUtility::TimeToSecTick(c.time, seconds), 1) << c.time;
    EXPECT_EQ(seconds, c.seconds) << c.time;
    std::int32_t time = -1;
    EXPECT_EQ(KeloUtility::SecTickToTime(time, c.seconds), 1) << c.seconds;
    EXPECT_EQ(time, c.time) << c.seconds;
  }
}

TEST(ClockTime, RejectsTimesThatAreNotHoursMinutesAndSeconds) {
  const std::int32_t times[] = {-1, -90000, kMin, 60, 99, 6000, 93060, 95900 + 60,
                                2147476000, kMax};
  for (std::int32_t t : times) {
    std::int32_t seconds = 12345;
    EXPECT_EQ(KeloUtility::TimeToSecTick(t, seconds), 0) << t;
    EXPECT_EQ(seconds, 0) << t;
  }
}

TEST(ClockTime, SecondsOutsideTheClockAreClampedWithoutOverflow) {
  struct Case {
    std::int32_t seconds;
    std::int32_t time;
    int result;
  };
  const Case cases[] = {
      {-1, 0, 0},
      {kMin, 0, 0},
      {214747 * 3600 + 3600, 2147475959, 0},
      {kMax, 2147475959, 0},
  };
  for (const Case& c : cases) {
    std::int32_t time = 1;
    EXPECT_EQ(KeloUtility::SecTickToTime(time, c.seconds), c.result) << c.seconds;
    EXPECT_EQ(time, c.time) << c.seconds;
  }
}

TEST(ClockTime, EverySecondOfTwoDaysRoundTrips) {
  std::int32_t previousTime = -1;
  for (std::int32_t s = 0; s <= 2 * 86400; ++s) {
    std::int32_t time = 0;
    ASSERT_EQ(KeloUtility::SecTickToTime(time, s), 1);
    ASSERT_GT(time, previousTime) << "clock times grow with the time of day";
    std::int32_t back = -1;
    ASSERT_EQ(KeloUtility::TimeToSecTick(time, back), 1) << time;
    ASSERT_EQ(back, s);
    previousTime = time;
  }
}

}  // namespace
