// Trades (one row per trade: time, price, volume) into the time slots the charts draw, as
// the trading client builds its minute slots from the tick feed.
#pragma once

#include <vector>

#include "Market.h"
#include "MinuteBars.h"

namespace kelo::cli {

// Slots of slotSeconds from trades in ascending order (each trade a MinuteBar whose four
// prices are the trade price). A slot is stamped with the time its period ends: with one-
// minute slots, slot 09:01 holds the trades from 09:00:00 to 09:00:59 and a trade at
// 09:01:00 opens slot 09:02. Open and close are the first and last trade, high and low the
// extremes; volumes add up. A slot keeps the line of its first trade and the time of its
// last (lastTrade). Trades of different trading days never share a slot.
std::vector<MinuteBar> SlotsFromTrades(const std::vector<MinuteBar>& trades, std::int32_t slotSeconds);

// The closing auction trades at the session's end, exactly (13:30:00 for stocks): it belongs
// to the session's last slot, not to a slot after the session. Joins the one-minute slot
// right after the session end into the slot at the end when all its trades are at the end
// (or stamps it with the end when no slot is there).
void FoldClosingAuction(std::vector<MinuteBar>& slots, const Session& session);

}  // namespace kelo::cli
