// Counted graphics start-up. (The grey edge lines are drawn and checked with the time grid.)
#include <gtest/gtest.h>

#include <kelochart/services/KeloUtility.h>

namespace {

TEST(GdiplusStartup, CountsNestedCallsAndNeverGoesBelowZero) {
  const int base = KeloUtility::GdiplusUseCount();
  EXPECT_EQ(GdiplusInitialize(), base + 1);
  EXPECT_EQ(GdiplusInitialize(), base + 2);
  EXPECT_EQ(GdiplusFinalize(), base + 1);
  EXPECT_EQ(GdiplusFinalize(), base);
  for (int i = 0; i < base + 3; ++i) GdiplusFinalize();  // unmatched calls stop at zero
  EXPECT_EQ(GdiplusFinalize(), 0);
  EXPECT_EQ(GdiplusInitialize(), 1);
  EXPECT_EQ(GdiplusFinalize(), 0);
  for (int i = 0; i < base; ++i) GdiplusInitialize();  // leave the count as found
}

}  // namespace
