// The market-category indices handed to the client. The client never writes the numbers
// itself; they index the tick-size table.
#include "kelochart/calculate/KeloChartCalculate.h"

namespace KeloChartCalculate {

unsigned int GetNormalStockIndex() { return 0; }
unsigned int GetWarrantStockIndex() { return 1; }
unsigned int GetBwAWStockIndex() { return 2; }
unsigned int GetETFStockIndex() { return 3; }
unsigned int GetFITXStockIndex() { return 4; }
unsigned int GetFIMTStockIndex() { return 5; }
unsigned int GetFITEStockIndex() { return 6; }
unsigned int GetFITFStockIndex() { return 7; }
unsigned int GetFICPStockIndex() { return 8; }
unsigned int GetFIGBStockIndex() { return 9; }
unsigned int GetFIT5StockIndex() { return 10; }
unsigned int GetFIGDStockIndex() { return 11; }
unsigned int GetFIMSStockIndex() { return 12; }
unsigned int GetOptionFITXIndex() { return 13; }
unsigned int GetOptionFITEIndex() { return 14; }
unsigned int GetOptionFIGDIndex() { return 15; }
unsigned int GetOptionOtherIndex() { return 16; }

}  // namespace KeloChartCalculate
