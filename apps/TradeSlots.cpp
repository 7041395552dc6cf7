// Tick files are the other half of what traders have: exchange and broker exports of every
// trade. The charts draw slots, so the trades are gathered here into slots, the one place
// that knows the slot rule (a slot is stamped with the end of its period).
#include "TradeSlots.h"

#include <algorithm>

namespace kelo::cli {

namespace {

// The trades of `from` join the slot `into`, which they follow.
void Absorb(MinuteBar& into, const MinuteBar& from) {
  into.high = std::max(into.high, from.high);
  into.low = std::min(into.low, from.low);
  into.close = from.close;
  into.volume += from.volume;
  into.inner += from.inner;
  into.outer += from.outer;
  into.lastTrade = from.lastTrade;
}

}  // namespace

std::vector<MinuteBar> SlotsFromTrades(const std::vector<MinuteBar>& trades, std::int32_t slotSeconds) {
  std::vector<MinuteBar> slots;
  for (const MinuteBar& t : trades) {
    std::int32_t end = (SecondsOf(t.time) / slotSeconds + 1) * slotSeconds;
    if (end >= 86400) end -= 86400;  // the last slot of the day ends at midnight
    const ClockTime stamp = ClockOf(end);
    MinuteBar s = t;
    s.open = s.high = s.low = t.close;  // a trade is one price
    s.lastTrade = t.time;
    if (!slots.empty() && slots.back().date == t.date && slots.back().time == stamp) {
      Absorb(slots.back(), s);
      continue;
    }
    s.time = stamp;
    slots.push_back(s);
  }
  return slots;
}

void FoldClosingAuction(std::vector<MinuteBar>& slots, const Session& session) {
  const ClockTime after = ClockOf((SecondsOf(session.end) + 60) % 86400);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    MinuteBar& late = slots[i];
    // Its period starts at the end, so a last trade at the end means every trade is there.
    if (late.time != after || late.lastTrade != session.end) continue;
    if (i == 0 || slots[i - 1].date != late.date || slots[i - 1].time != session.end) {
      late.time = session.end;  // no trade in the last minute before the auction
      continue;
    }
    Absorb(slots[i - 1], late);
    slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(i));
    --i;
  }
}

}  // namespace kelo::cli
