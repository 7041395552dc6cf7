// Market categories and the tick-size table: the band a price falls into on both sides of
// every band limit, categories outside the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "kelochart/calculate/KeloChartCalculate.h"

namespace KC = KeloChartCalculate;

namespace {

TEST(MarketCategory, GettersHandOutTheIndicesOfTheTickTable) {
  const std::vector<unsigned int> indices = {
      KC::GetNormalStockIndex(), KC::GetWarrantStockIndex(), KC::GetBwAWStockIndex(),  KC::GetETFStockIndex(),
      KC::GetFITXStockIndex(),   KC::GetFIMTStockIndex(),    KC::GetFITEStockIndex(),  KC::GetFITFStockIndex(),
      KC::GetFICPStockIndex(),   KC::GetFIGBStockIndex(),    KC::GetFIT5StockIndex(),  KC::GetFIGDStockIndex(),
      KC::GetFIMSStockIndex(),   KC::GetOptionFITXIndex(),   KC::GetOptionFITEIndex(), KC::GetOptionFIGDIndex(),
      KC::GetOptionOtherIndex()};
  for (unsigned int i = 0; i < indices.size(); ++i) EXPECT_EQ(indices[i], i);
}

struct BandCase {
  unsigned int category;
  double price;
  double tick;
  double limit;
};

// Every band limit of the banded categories, probed exactly on the limit and just above it.
const BandCase kBandCases[] = {
    // Normal stocks, warrants, BwAW and ETFs: the limit belongs to the band below.
    {0, 0.01, 0.01, 10},
    {0, 10, 0.01, 10},
    {0, 10.01, 0.05, 50},
    {0, 50, 0.05, 50},
    {0, 50.05, 0.1, 100},
    {0, 100, 0.1, 100},
    {0, 100.5, 0.5, 500},
    {0, 500, 0.5, 500},
    {0, 501, 1, 1000},
    {0, 1000, 1, 1000},
    {0, 1000.5, 5, 9995},
    {0, 9995, 5, 9995},
    {0, 20000, 5, 9995},
    {1, 5, 0.01, 5},
    {1, 5.01, 0.05, 10},
    {1, 10, 0.05, 10},
    {1, 10.05, 0.1, 50},
    {1, 50, 0.1, 50},
    {1, 50.1, 0.5, 100},
    {1, 100, 0.5, 100},
    {1, 100.5, 1, 500},
    {1, 500, 1, 500},
    {1, 501, 5, 9995},
    {2, 150, 0.05, 150},
    {2, 150.05, 1, 1000},
    {2, 1000, 1, 1000},
    {2, 1001, 5, 9995},
    {3, 50, 0.01, 50},
    {3, 50.05, 0.05, 9995},
    // Options: the limit opens the band above.
    {13, 9.9, 0.1, 10},
    {13, 10, 0.5, 50},
    {13, 49.5, 0.5, 50},
    {13, 50, 1, 500},
    {13, 499, 1, 500},
    {13, 500, 5, 1000},
    {13, 995, 5, 1000},
    {13, 1000, 10, 9995},
    {14, 0.495, 0.005, 0.5},
    {14, 0.5, 0.025, 2.5},
    {14, 2.5, 0.05, 25},
    {14, 25, 0.25, 50},
    {14, 50, 0.5, 9995},
    {15, 1.98, 0.02, 2},
    {15, 2, 0.1, 10},
    {15, 10, 0.2, 100},
    {15, 100, 1, 200},
    {15, 200, 2, 9995},
    {16, 4.99, 0.01, 5},
    {16, 5, 0.05, 15},
    {16, 15, 0.1, 50},
    {16, 50, 0.5, 150},
    {16, 150, 1, 1000},
    {16, 1000, 5, 9995},
    // Futures: one band for every price. Negative prices fall into the lowest band.
    {4, 0, 1, 9995},
    {5, 123.4, 1, 9995},
    {6, 10, 0.05, 9995},
    {7, 0.2, 0.2, 9995},
    {7, 99999, 0.2, 9995},
    {8, 1, 0.05, 9995},
    {9, 1, 0.05, 9995},
    {10, 1, 1, 9995},
    {11, 1, 0.1, 9995},
    {12, 1, 0.1, 9995},
    {0, -5, 0.01, 10},
    {13, -1, 0.1, 10},
    {14, -100, 0.005, 0.5},
};

TEST(TickSizeTable, PriceFallsIntoItsBandOnBothSidesOfEveryLimit) {
  for (const BandCase& c : kBandCases) {
    double limit = -1.0;
    EXPECT_EQ(KC::FindOneSideJumpPrice(c.price, c.category, limit), c.tick)
        << "category " << c.category << " price " << c.price;
    EXPECT_EQ(limit, c.limit) << "category " << c.category << " price " << c.price;
  }
  for (const unsigned int category : {17u, UINT_MAX}) {  // outside the table: no tick, limit kept
    double limit = 123.25;
    EXPECT_EQ(KC::FindOneSideJumpPrice(12.0, category, limit), 0.0);
    EXPECT_EQ(limit, 123.25);
  }
}

}  // namespace
