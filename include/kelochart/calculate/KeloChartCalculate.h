// Price-axis calculations from the tick-size rules of the Taiwan market's instruments:
// market categories, tick sizes, reasonable bounds and scale lines. Pure functions, safe
// from any thread.
#pragma once

#include <cstdint>
#include <vector>

namespace KeloChartCalculate {

// Market categories.
unsigned int GetNormalStockIndex();
unsigned int GetWarrantStockIndex();
unsigned int GetBwAWStockIndex();
unsigned int GetETFStockIndex();
unsigned int GetFITXStockIndex();
unsigned int GetFIMTStockIndex();
unsigned int GetFITEStockIndex();
unsigned int GetFITFStockIndex();
unsigned int GetFICPStockIndex();
unsigned int GetFIGBStockIndex();
unsigned int GetFIT5StockIndex();
unsigned int GetFIGDStockIndex();
unsigned int GetFIMSStockIndex();
unsigned int GetOptionFITXIndex();
unsigned int GetOptionFITEIndex();
unsigned int GetOptionFIGDIndex();
unsigned int GetOptionOtherIndex();

// Tick size of the band holding price; writes the band's upper limit (9995 for the open
// last band). A category above 16 returns 0.0 and leaves bandLimit untouched.
double FindOneSideJumpPrice(double price, unsigned int category, double& bandLimit);

// A scaled bound moved onto the tick grid of its own band: the maximum down, the minimum up
// (toward zero for negative prices). Without a grid (a category above 16, or a priceScale at
// which the tick is worth less than one unit) the price comes back unchanged; a minimum past
// the 32-bit top is clamped there.
std::int32_t GetReasonableMaxPrice(std::int32_t price, std::int32_t priceScale, unsigned int category);
std::int32_t GetReasonableMinPrice(std::int32_t price, std::int32_t priceScale, unsigned int category);

// Scale lines from bottom through base to top, at most five intervals on each side, every
// line on the tick grid; returns the tick used. scalePrices is emptied first and always ends
// up as bottom, ..., base, ..., top with at most 11 entries. Inner lines that have no grid
// (a category above 16, a priceScale of 0) are left out; a reversed half gets none.
double GetReasonablePrice(std::int32_t topPrice, std::int32_t basePrice, std::int32_t bottomPrice,
                          std::int32_t priceScale, unsigned int category, std::vector<std::int32_t>& scalePrices);
double GetOverlapReasonablePrice(std::int32_t topPrice, std::int32_t basePrice, std::int32_t bottomPrice,
                                 std::int32_t priceScale, unsigned int category,
                                 std::vector<std::int32_t>& scalePrices);

}  // namespace KeloChartCalculate
