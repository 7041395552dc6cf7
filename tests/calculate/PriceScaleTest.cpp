// Scale lines of a price axis: whole-tick splitting inside one band, the choice between one
// band and the overlap path at band limits, the snapping of the overlap path, hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "kelochart/calculate/KeloChartCalculate.h"

namespace KC = KeloChartCalculate;

namespace {

using Lines = std::vector<std::int32_t>;

struct ScaleCase {
  const char* what;
  std::int32_t top, base, bottom, priceScale;
  unsigned int category;
  Lines lines;
  double tick;
};

const ScaleCase kScaleCases[] = {
    {"one band, 60 ticks per half",
     3300,
     3000,
     2700,
     100,
     0,
     {2700, 2760, 2820, 2880, 2940, 3000, 3060, 3120, 3180, 3240, 3300},
     0.05},
    {"remainder ticks next to the bottom below, next to the top above",
     3290,
     3000,
     2710,
     100,
     0,
     {2710, 2770, 2830, 2890, 2945, 3000, 3055, 3110, 3170, 3230, 3290},
     0.05},
    {"7 ticks per half mirror around the base",
     107,
     100,
     93,
     1,
     4,
     {93, 95, 97, 98, 99, 100, 101, 102, 103, 105, 107},
     1},
    {"fewer than five ticks: one tick apart", 3015, 3000, 2990, 100, 0, {2990, 2995, 3000, 3005, 3010, 3015}, 0.05},
    {"one price", 1000, 1000, 1000, 100, 0, {1000, 1000, 1000}, 0.01},
    {"futures at scale 1", 300, 250, 200, 1, 4, {200, 210, 220, 230, 240, 250, 260, 270, 280, 290, 300}, 1},
    {"4 ticks per half of the smallest option tick",
     120,
     100,
     80,
     1000,
     14,
     {80, 85, 90, 95, 100, 105, 110, 115, 120},
     0.005},
    {"a unit of 2.5 is cut per step, not in total",
     100,
     80,
     60,
     100,
     14,
     {60, 65, 70, 75, 77, 80, 82, 84, 89, 94, 100},
     0.025},
    {"one band with tick 1",
     40000,
     30000,
     20000,
     100,
     2,
     {20000, 22000, 24000, 26000, 28000, 30000, 32000, 34000, 36000, 38000, 40000},
     1},
    {"one band with tick 5",
     130000,
     120000,
     110000,
     100,
     2,
     {110000, 112000, 114000, 116000, 118000, 120000, 122000, 124000, 126000, 128000, 130000},
     5},
    // Single band or not, decided at the limits.
    {"stock top exactly on a limit stays in one band", 1000, 997, 995, 100, 0, {995, 996, 997, 998, 999, 1000}, 0.01},
    {"stock bottom exactly on a limit belongs to the upper band",
     1020,
     1010,
     1000,
     100,
     0,
     {1000, 1005, 1010, 1015, 1020},
     0.05},
    {"option top below a limit stays in one band", 99, 97, 95, 10, 13, {95, 96, 97, 98, 99}, 0.1},
    {"option top exactly on a limit crosses it",
     100,
     97,
     95,
     10,
     13,
     {95, 96, 96, 97, 97, 97, 97, 98, 98, 99, 100},
     0.1},
    {"option bottom exactly on a limit belongs to the upper band",
     120,
     110,
     100,
     10,
     13,
     {100, 105, 110, 115, 120},
     0.5},
    {"option top exactly on a middle limit crosses it",
     500,
     303,
     100,
     10,
     13,
     {100, 140, 180, 220, 260, 303, 340, 380, 420, 460, 500},
     0.5},
    {"a bottom below one cent never fits one band", 4, 2, 0, 100, 0, {0, 1, 1, 2, 2, 2, 2, 2, 3, 3, 4}, 0.01},
    {"futures fit one band even from zero", 4, 2, 0, 1, 4, {0, 1, 2, 3, 4}, 1},
    // Crossing band limits: even intervals, each inner line moved down onto its band's grid.
    {"lines below 10 keep the 0.01 grid, those above take the 0.05 grid",
     1093,
     1000,
     913,
     100,
     0,
     {913, 931, 948, 966, 983, 1000, 1015, 1035, 1055, 1070, 1093},
     0.05},
    {"stock top just above a limit crosses it",
     1001,
     997,
     995,
     100,
     0,
     {995, 996, 996, 997, 997, 997, 997, 998, 999, 1000, 1001},
     0.01},
    // The other categories' limits: a top past one leaves its band, a bottom on or just above one takes the next.
    {"warrant 10.75", 1075, 1000, 600, 100, 1, {600, 680, 760, 840, 920, 1000, 1010, 1030, 1040, 1060, 1075}, 0.1},
    {"BW 1001", 1001, 988, 976, 1, 2, {976, 979, 981, 984, 986, 988, 990, 993, 995, 998, 1001}, 1},
    {"FITE below 51", 509, 505, 500, 10, 14, {500, 505, 509}, 0.5},
    {"FIGD top 200", 200, 193, 186, 1, 15, {186, 188, 189, 191, 192, 193, 194, 195, 197, 198, 200}, 1},
    {"FIGD bottom 200", 228, 214, 200, 1, 15, {200, 204, 208, 210, 212, 214, 216, 218, 220, 224, 228}, 2},
    {"option 5.60", 560, 480, 400, 100, 16, {400, 416, 432, 448, 464, 480, 496, 510, 525, 540, 560}, 0.05},
    {"option 1000", 1070, 1035, 1000, 1, 16, {1000, 1010, 1020, 1025, 1030, 1035, 1040, 1045, 1050, 1060, 1070}, 5},
    {"FITX one price 1000", 1000, 1000, 1000, 1, 13, {1000, 1000, 1000}, 10},
    {"warrant 10.3", 1170, 1100, 1030, 100, 1, {1030, 1050, 1070, 1080, 1090, 1100, 1110, 1120, 1130, 1150, 1170}, 0.1},
    {"option 5.3", 670, 600, 530, 100, 16, {530, 545, 560, 575, 590, 600, 610, 625, 640, 655, 670}, 0.05},
    // Failures: no grid, no inner lines.
    {"category outside the table", 3300, 3000, 2700, 100, 17, {2700, 3000, 3300}, 0.0},
    {"largest category number", 3300, 3000, 2700, 100, UINT_MAX, {2700, 3000, 3300}, 0.0},
    {"reversed halves", 2700, 3000, 3300, 100, 0, {3300, 3000, 2700}, 0.05},
    {"a zero scale", 3300, 3000, 2700, 0, 0, {2700, 3000, 3300}, 5},
    {"a zero scale on the overlap path", 3300, 3000, -2700, 0, 0, {-2700, 3000, 3300}, 5},
    {"a negative scale", 3300, 3000, 2700, -1, 0, {2700, 3000, 3300}, 0.0},
};

TEST(PriceScale, ScaleLinesFromBottomThroughBaseToTop) {
  for (const ScaleCase& c : kScaleCases) {
    Lines lines = {7, 7, 7};
    const double tick = KC::GetReasonablePrice(c.top, c.base, c.bottom, c.priceScale, c.category, lines);
    EXPECT_EQ(lines, c.lines) << c.what;
    EXPECT_EQ(tick, c.tick) << c.what;
  }
}

// The shape every scale has, whatever the input: bottom first, base among the entries, top
// last, at most five intervals on each side.
void ExpectScaleShape(const Lines& lines, std::int32_t top, std::int32_t base, std::int32_t bottom) {
  ASSERT_GE(lines.size(), 3u);
  ASSERT_LE(lines.size(), 11u);
  EXPECT_EQ(lines.front(), bottom);
  EXPECT_EQ(lines.back(), top);
  EXPECT_NE(std::find(lines.begin(), lines.end(), base), lines.end());
}

// Hostile input: extreme prices, zero and negative scales and categories outside the table
// give a bounded scale of the usual shape without overflow or undefined conversions.
TEST(PriceScale, ExtremeInputGivesABoundedScale) {
  const std::int32_t prices[] = {INT32_MIN, INT32_MIN + 1, -1000, 0, 1, 1000, INT32_MAX - 1, INT32_MAX};
  const std::int32_t scales[] = {INT32_MIN, -1, 0, 1, 100, 10000, INT32_MAX};
  const unsigned int categories[] = {0, 2, 3, 4, 7, 13, 14, 16, 17, UINT_MAX};
  Lines lines;
  for (const std::int32_t top : prices) {
    for (const std::int32_t base : prices) {
      for (const std::int32_t bottom : prices) {
        for (const std::int32_t scale : scales) {
          for (const unsigned int category : categories) {
            KC::GetReasonablePrice(top, base, bottom, scale, category, lines);
            ExpectScaleShape(lines, top, base, bottom);
            KC::GetOverlapReasonablePrice(top, base, bottom, scale, category, lines);
            ExpectScaleShape(lines, top, base, bottom);
          }
        }
      }
    }
  }
  // The widest ordered axis splits into five even intervals on each side.
  KC::GetReasonablePrice(INT32_MAX, 0, INT32_MIN, 1, KC::GetFITXStockIndex(), lines);
  EXPECT_EQ(lines, (Lines{INT32_MIN, -1717986918, -1288490188, -858993458, -429496729, 0, 429496729, 858993458,
                          1288490187, 1717986917, INT32_MAX}));
}

}  // namespace
