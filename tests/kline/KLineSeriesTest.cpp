// The bar series of the K-line chart: indicators against values worked out by hand, and
// aggregation at the edges of minutes, periods, sessions, nights, weeks and months.
#include <gtest/gtest.h>

#include <kelochart/kline/KLineSeries.h>

namespace {

using namespace KeloKLine;

void ExpectSeries(const SSeries& s, std::size_t first, const std::vector<double>& defined, const char* what) {
  EXPECT_EQ(s.first, first) << what;
  ASSERT_EQ(s.values.size(), first + defined.size()) << what;
  for (std::size_t i = 0; i < defined.size(); ++i) {
    EXPECT_NEAR(s.values[first + i], defined[i], 1e-9) << what << " at " << first + i;
  }
}

TEST(Indicators, MatchHandComputedValuesAndLeaveTheWarmUpUndefined) {
  ExpectSeries(MovingAverage({1, 2, 3, 4, 5, 6}, 3), 2, {2, 3, 4, 5}, "MA3");
  EXPECT_EQ(MovingAverage({1, 2}, 3).first, 2u) << "too short: nothing defined";

  // The textbook sample: mean 5, population deviation 2.
  const SBands b = Bollinger({2, 4, 4, 4, 5, 5, 7, 9}, 8, 2.0);
  ExpectSeries(b.middle, 7, {5}, "middle");
  ExpectSeries(b.upper, 7, {9}, "upper");
  ExpectSeries(b.lower, 7, {1}, "lower");

  // KD(3,3,3): RSV 100 then 0 then 0, K and D smoothed from 50.
  const std::vector<SKBar> bars = {{0, 0, 9, 10, 8, 9, 1},
                                   {0, 0, 10, 11, 9, 10, 1},
                                   {0, 0, 11, 12, 10, 12, 1},
                                   {0, 0, 12, 12, 9, 9, 1},
                                   {0, 0, 9, 9, 9, 9, 1}};
  const SKD kd = StochasticKD(bars, 3, 3, 3);
  ExpectSeries(kd.k, 2, {200.0 / 3, 400.0 / 9, 800.0 / 27}, "K");
  ExpectSeries(kd.d, 2, {500.0 / 9, 1400.0 / 27, 3600.0 / 81}, "D");
  const SKD flat = StochasticKD(std::vector<SKBar>(4, SKBar{0, 0, 5, 5, 5, 5, 1}), 3, 3, 3);
  ExpectSeries(flat.k, 2, {50, 50}, "an empty range reads RSV 50");

  // MACD(2,3,2) of 10 11 12 13 15: EMA2 10.5 11.5 12.5 14.1667, EMA3 11 12 13.5.
  const SMACD m = Macd({10, 11, 12, 13, 15}, 2, 3, 2);
  ExpectSeries(m.dif, 2, {0.5, 0.5, 2.0 / 3}, "DIF");
  ExpectSeries(m.signal, 3, {0.5, 0.5 + (2.0 / 3 - 0.5) * 2 / 3}, "signal");
  ExpectSeries(m.histogram, 3, {0.0, (2.0 / 3 - 0.5) / 3}, "histogram");

  // RSI(2) of 10 11 10 12 12: averages 0.5/0.5, then 1.25/0.25, then 0.625/0.125.
  ExpectSeries(Rsi({10, 11, 10, 12, 12}, 2), 2, {50, 250.0 / 3, 250.0 / 3}, "RSI2");
  ExpectSeries(Rsi({7, 7, 7}, 2), 2, {50}, "nothing moved");
}

TEST(Calendar, DayNumbersWeekdaysAndLeapDays) {
  struct Case {
    std::int32_t date, day;
    int weekday;
  };
  // 2100 is no leap year; the day before 0000-03-01 starts the previous 400-year era.
  const Case cases[] = {{19700101, 0, 3},     {20261204, 20791, 4}, {20000229, 11016, 1},
                        {20261207, 20794, 0}, {21000301, 47541, 0}, {229, -719469, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(DayNumber(c.date), c.day) << c.date;
    EXPECT_EQ(DateOfDay(c.day), c.date) << c.date;
    EXPECT_EQ(Weekday(c.date), c.weekday) << c.date;
  }
  // Day numbers of no calendar saturate (they overflowed 32 bits).
  EXPECT_EQ(DateOfDay(INT32_MAX), INT32_MAX);
  EXPECT_EQ(DateOfDay(INT32_MIN), INT32_MIN);
}

TEST(Aggregation, HostileVolumesAndDatesSaturateInsteadOfOverflowing) {
  const std::vector<SSession> futures = {{84500, 134500}, {150000, 50000}};
  const std::vector<SKBar> days = {{20261204, 0, 5, 5, 5, 5, INT64_MAX}, {20261204, 0, 5, 5, 5, 5, 1}};
  EXPECT_EQ(AggregateBars(days, ePeriodWeek, futures).at(0).volume, INT64_MAX);
  const auto trades = MinuteBarsFromTrades({{20261204, 90000, 5, INT64_MIN}, {20261204, 90001, 5, -1}}, futures);
  EXPECT_EQ(trades.at(0).volume, INT64_MIN);
  // A night bar of a date past every calendar: its next trading day is found in bounded steps.
  EXPECT_EQ(AggregateBars({{INT32_MAX, 150100, 5, 5, 5, 5, 1}}, ePeriodDay, futures).size(), 1u);
}

TEST(Aggregation, TradesFillTheMinuteThatEndsAfterThem) {
  const std::vector<SSession> stock = {{90000, 133000}};
  const std::vector<STrade> trades = {{20261204, 90000, 100, 1},
                                      {20261204, 90059, 102, 2},
                                      {20261204, 90100, 101, 3},
                                      {20261204, 132959, 99, 4},
                                      {20261204, 133000, 98, 5}};
  const std::vector<SKBar> expected = {{20261204, 90100, 100, 102, 100, 102, 3},
                                       {20261204, 90200, 101, 101, 101, 101, 3},
                                       {20261204, 133000, 99, 99, 98, 98, 9}};  // the closing auction joins 13:30
  EXPECT_EQ(MinuteBarsFromTrades(trades, stock), expected);
}

std::vector<SKBar> StockDay(std::int32_t date) {
  std::vector<SKBar> day;
  for (int m = 1; m <= 270; ++m) {
    const int t = 9 * 60 + m;
    day.push_back({date, t / 60 * 10000 + t % 60 * 100, 100 + m, 100 + m + 1, 100 + m - 1, 100 + m, 1});
  }
  return day;
}

TEST(Aggregation, MinutePeriodsEndOnTheirStampAndStopAtTheSessionEnd) {
  const std::vector<SSession> stock = {{90000, 133000}};
  struct Case {
    EPeriod period;
    std::size_t count;
    std::int32_t firstStamp, lastStamp;
    std::int64_t lastVolume;
  };
  const Case cases[] = {{ePeriod5Min, 54, 90500, 133000, 5},
                        {ePeriod15Min, 18, 91500, 133000, 15},
                        {ePeriod30Min, 9, 93000, 133000, 30},
                        {ePeriod60Min, 5, 100000, 133000, 30},
                        {ePeriod1Min, 270, 90100, 133000, 1}};
  for (const Case& c : cases) {
    const auto bars = AggregateBars(StockDay(20261204), c.period, stock);
    ASSERT_EQ(bars.size(), c.count) << c.period;
    EXPECT_EQ(bars.front().time, c.firstStamp) << c.period;
    EXPECT_EQ(bars.back().time, c.lastStamp) << c.period;
    EXPECT_EQ(bars.back().volume, c.lastVolume) << c.period;
  }
  // The first 30-minute bar holds 09:01..09:30: open of 09:01, close of 09:30, the range of both.
  const auto half = AggregateBars(StockDay(20261204), ePeriod30Min, stock);
  EXPECT_EQ(half[0], (SKBar{20261204, 93000, 101, 131, 100, 130, 30}));
  EXPECT_EQ(half[1].open, 131) << "09:31 opens the second";
}

TEST(Aggregation, NightSessionsBelongToTheNextTradingDayAndNeverJoinTheDay) {
  const std::vector<SSession> futures = {{84500, 134500}, {150000, 50000}};
  const std::vector<SKBar> minutes = {
      {20261203, 150100, 50, 52, 49, 51, 1},  // Thursday night: Friday's trading day
      {20261204, 3000, 51, 55, 51, 54, 2},    // after midnight, still Thursday's night
      {20261204, 84600, 54, 54, 40, 41, 4},   // Friday day session
      {20261204, 134500, 41, 41, 41, 41, 8},
      {20261204, 150100, 42, 43, 42, 43, 16},  // Friday night: Monday's (no later day in the input)
  };
  const std::vector<SKBar> days = {{20261204, 0, 50, 55, 40, 41, 15}, {20261207, 0, 42, 43, 42, 43, 16}};
  EXPECT_EQ(AggregateBars(minutes, ePeriodDay, futures), days);

  const auto hours = AggregateBars(minutes, ePeriod60Min, futures);
  ASSERT_EQ(hours.size(), 5u) << "13:45 and 15:01 are one hour apart but in two sessions";
  EXPECT_EQ(hours[0].time, 160000);
  EXPECT_EQ(hours[1].time, 10000) << "00:30 lies in the night's tenth hour, which ends at 01:00";
  EXPECT_EQ(hours[1].date, 20261204);
  EXPECT_EQ(hours[2].time, 94500);
  EXPECT_EQ(hours[3].time, 134500) << "the last hour of 08:45-13:45 ends at 13:45";

  // Friday night's minute 23:59 ends at 00:00 on Saturday: Monday's trading day, not a day bar.
  const auto night = MinuteBarsFromTrades({{20261204, 235930, 60, 1}, {20261205, 10, 61, 2}}, futures);
  EXPECT_EQ(night.front(), (SKBar{20261205, 0, 60, 60, 60, 60, 1}));
  const std::vector<SKBar> friday = {{20261204, 134500, 41, 41, 41, 41, 8}, night[0], night[1]};
  EXPECT_EQ(AggregateBars(friday, ePeriodDay, futures),
            (std::vector<SKBar>{{20261204, 0, 41, 41, 41, 41, 8}, {20261207, 0, 60, 61, 60, 61, 3}}));

  // A night followed in the input by a day after a holiday belongs to that day.
  const std::vector<SKBar> holiday = {{20261230, 150100, 5, 5, 5, 5, 1}, {20270104, 84600, 6, 6, 6, 6, 1}};
  EXPECT_EQ(AggregateBars(holiday, ePeriodDay, futures).front().date, 20270104);
}

TEST(Aggregation, WeeksRunMondayToSundayAndMonthsAreCalendarMonths) {
  const std::vector<SSession> stock = {{90000, 133000}};
  std::vector<SKBar> days;
  for (std::int32_t d : {20261127, 20261130, 20261201, 20261204, 20261207, 20261231, 20270104}) {
    days.push_back({d, 0, 10, 12, 9, 11, 1});
  }
  const auto weeks = AggregateBars(days, ePeriodWeek, stock);
  std::vector<std::pair<std::int32_t, std::int64_t>> got;
  for (const SKBar& w : weeks) got.push_back({w.date, w.volume});
  const std::vector<std::pair<std::int32_t, std::int64_t>> expected = {
      {20261127, 1}, {20261204, 3}, {20261207, 1}, {20261231, 1}, {20270104, 1}};
  EXPECT_EQ(got, expected) << "each week stamped with its last trading day";
  const auto months = AggregateBars(days, ePeriodMonth, stock);
  ASSERT_EQ(months.size(), 3u);
  EXPECT_EQ(months[0].date, 20261130);
  EXPECT_EQ(months[1].date, 20261231);
  EXPECT_EQ(months[1].volume, 4);
}

}  // namespace
