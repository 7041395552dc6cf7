// Aggregation of the bar series: trades into minute bars, minute bars into bars of 5 to 60
// minutes, days, weeks and months, on the sessions of the market. Taiwan's screens stamp a
// bar with the end of its period, so a period is a half-open interval (start, end] of
// session time, and a night session counts for the next trading day.
#include <kelochart/kline/KLineSeries.h>

#include <algorithm>
#include <optional>
#include <set>

#include "base/Saturate.h"

namespace KeloKLine {

namespace {

constexpr std::int32_t kDay = 86400;

std::int32_t Seconds(std::int32_t hhmmss) { return hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100; }
std::int32_t Clock(std::int32_t seconds) {
  seconds %= kDay;
  return seconds / 3600 * 10000 + seconds / 60 % 60 * 100 + seconds % 60;
}

bool Crosses(const SSession& s) { return s.end <= s.start; }
std::int32_t Length(const SSession& s) {
  const std::int32_t d = Seconds(s.end) - Seconds(s.start);
  return d > 0 ? d : d + kDay;
}

// Where a clock time lies: the session's index, the seconds after its start, and whether it
// is the part of a night session after midnight.
struct Place {
  int session = -1;
  std::int32_t offset = 0;
  bool afterMidnight = false;
};

Place Locate(std::int32_t time, const std::vector<SSession>& sessions) {
  const std::int32_t t = Seconds(time);
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    const SSession& s = sessions[i];
    const std::int32_t a = Seconds(s.start), b = Seconds(s.end);
    if (!Crosses(s)) {
      if (t >= a && t <= b) return {static_cast<int>(i), t - a, false};
    } else if (t >= a) {
      return {static_cast<int>(i), t - a, false};
    } else if (t <= b) {
      return {static_cast<int>(i), t + kDay - a, true};
    }
  }
  return {-1, t, false};
}

// The trading day of a night session that started on the calendar day `started`: the next
// date the input trades in a day session, else the next weekday.
std::int32_t NextTradingDay(std::int32_t started, const std::set<std::int32_t>& dayDates) {
  const auto next = dayDates.upper_bound(started);
  if (next != dayDates.end()) return *next;
  std::int32_t n = DayNumber(started) + 1;
  // At most two weekend days; a saturated date (no calendar's) has one weekday for ever.
  for (int i = 0; i < 2 && Weekday(DateOfDay(n)) >= 5; ++i) ++n;
  return DateOfDay(n);
}

void Merge(SKBar& into, const SKBar& b) {
  into.high = std::max(into.high, b.high);
  into.low = std::min(into.low, b.low);
  into.close = b.close;
  into.volume = kelo::detail::AddSat64(into.volume, b.volume);
}

}  // namespace

std::int32_t DayNumber(std::int32_t yyyymmdd) {
  // Days from civil (proleptic Gregorian), after H. Hinnant's algorithm.
  std::int32_t y = yyyymmdd / 10000;
  const std::int32_t m = yyyymmdd / 100 % 100, d = yyyymmdd % 100;
  y -= m <= 2;
  const std::int32_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int32_t yoe = y - era * 400;
  const std::int32_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::int32_t DateOfDay(std::int32_t day) {
  // In 64 bits: a day number far from any calendar saturates instead of overflowing.
  const std::int64_t z = std::int64_t{day} + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = yoe + era * 400;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
  return kelo::detail::NarrowSat32(y * 10000 + m * 100 + d);
}

int Weekday(std::int32_t yyyymmdd) {
  // 1970-01-01 was a Thursday (3 counting Monday as 0).
  const std::int32_t n = DayNumber(yyyymmdd) + 3;
  return static_cast<int>(((n % 7) + 7) % 7);
}

std::vector<SKBar> MinuteBarsFromTrades(const std::vector<STrade>& trades, const std::vector<SSession>& sessions) {
  std::vector<SKBar> out;
  for (const STrade& t : trades) {
    const Place p = Locate(t.time, sessions);
    std::int32_t stamp = 0;
    if (p.session >= 0) {
      const SSession& s = sessions[static_cast<std::size_t>(p.session)];
      // The minute a trade lies in ends one minute after its start; the closing trade at the
      // session's end belongs to the last minute.
      const std::int32_t minute = std::min(p.offset / 60 + 1, Length(s) / 60);
      stamp = Clock(Seconds(s.start) + minute * 60);
    } else {
      stamp = Clock((Seconds(t.time) / 60 + 1) * 60);
    }
    // The minute that ends at midnight is stamped 00:00 of the day that starts then, as a
    // vendor's file lists it; AggregateBars reads it as the end of the night's ninth hour.
    const std::int32_t date = stamp == 0 ? DateOfDay(DayNumber(t.date) + 1) : t.date;
    if (!out.empty() && out.back().date == date && out.back().time == stamp) {
      SKBar& b = out.back();
      b.high = std::max(b.high, t.price);
      b.low = std::min(b.low, t.price);
      b.close = t.price;
      b.volume = kelo::detail::AddSat64(b.volume, t.volume);
    } else {
      out.push_back({date, stamp, t.price, t.price, t.price, t.price, t.volume});
    }
  }
  return out;
}

std::vector<SKBar> AggregateBars(const std::vector<SKBar>& bars, EPeriod period,
                                 const std::vector<SSession>& sessions) {
  // Daily bars all have time 0; among intraday bars, time 0 is the minute that ends at
  // midnight (a night session's 00:00 bar), which must not be taken for a day.
  const bool intraday = std::any_of(bars.begin(), bars.end(), [](const SKBar& b) { return b.time != 0; });
  // The dates that trade in a day session name the trading days night sessions belong to.
  std::set<std::int32_t> dayDates;
  for (const SKBar& b : bars) {
    const Place p = Locate(b.time, sessions);
    if (!intraday || p.session < 0 || !Crosses(sessions[static_cast<std::size_t>(p.session)])) {
      dayDates.insert(b.date);
    }
  }
  const bool minutes = period < ePeriodDay;
  const std::int32_t k = std::max<std::int32_t>(1, period);
  std::vector<SKBar> out;
  std::optional<std::int64_t> lastKey;
  for (const SKBar& b : bars) {
    std::int32_t tradingDay = b.date;
    std::int32_t stamp = 0;
    std::int64_t group = 0;
    const Place p = intraday ? Locate(b.time, sessions) : Place{};
    if (p.session >= 0) {
      const SSession& s = sessions[static_cast<std::size_t>(p.session)];
      if (Crosses(s)) {
        const std::int32_t started = p.afterMidnight ? DateOfDay(DayNumber(b.date) - 1) : b.date;
        tradingDay = NextTradingDay(started, dayDates);
      }
      if (minutes) {
        // The minute a bar ends: 09:01 is minute 1; a bar stamped at the start joins minute 1.
        const std::int32_t minute = std::max<std::int32_t>(1, (p.offset + 59) / 60);
        const std::int32_t index = (minute - 1) / k;
        const std::int32_t end = std::min<std::int32_t>((index + 1) * k * 60, Length(s));
        stamp = Clock(Seconds(s.start) + end);
        group = (static_cast<std::int64_t>(p.session) + 1) * 100000 + index;
      }
    } else if (minutes && intraday) {
      const std::int32_t minute = std::max<std::int32_t>(1, (p.offset + 59) / 60);
      const std::int32_t index = (minute - 1) / k;
      stamp = Clock(std::min<std::int32_t>((index + 1) * k * 60, kDay));
      group = index;
    }
    std::int32_t date = tradingDay;
    std::int64_t key = 0;
    switch (period) {
      case ePeriodWeek: {
        const std::int32_t day = DayNumber(tradingDay);
        key = day - Weekday(tradingDay);
        break;
      }
      case ePeriodMonth: key = tradingDay / 100; break;
      case ePeriodDay: key = tradingDay; break;
      default: key = static_cast<std::int64_t>(tradingDay) * 1000000 + group; break;
    }
    if (lastKey && *lastKey == key) {
      Merge(out.back(), b);
      out.back().date = date;  // weeks and months end on their last trading day
    } else {
      out.push_back({date, stamp, b.open, b.high, b.low, b.close, b.volume});
      lastKey = key;
    }
  }
  return out;
}

}  // namespace KeloKLine
