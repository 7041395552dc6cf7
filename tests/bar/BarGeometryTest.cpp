// The pure geometry of the bar charts: slot positions, by-ratio heights, up/down rows and
// group slots, with their boundaries and hostile inputs.
#include <gtest/gtest.h>

#include "bar/BarGeometry.h"

namespace {

using namespace kelo::detail;

TEST(BarPositions, SlotWidthsAboveTwoBetweenOneAndTwoAndAtMostOne) {
  struct Case {
    int right, offset, slots, count;
    std::vector<BarPos> expected;
  };
  const Case cases[] = {
      {100, 0, 10, 3, {{0, 9}, {10, 19}, {20, 29}}},      // w = 10: bar fills its slot less a pixel
      {100, 0, 50, 3, {{0, 2}, {2, 4}, {4, 6}}},          // w = 2.0: reaches into the next slot
      {100, 0, 70, 4, {{0, 1}, {1, 2}, {2, 3}, {4, 5}}},  // w = 1.43
      {100, 0, 100, 2, {{0, 1}, {1, 2}}},                 // w = 1.0
      {110, 5, 10, 2, {{5, 14}, {15, 24}}},               // inset by lineOffset on both sides
      {100, 0, 0, 3, {}},                                 // no slot: nothing stands anywhere
      {100, 0, 10, 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BarPositions(CRect(0, 0, c.right, 50), c.offset, c.slots, c.count), c.expected) << c.slots << " slots";
  }
  // Hostile edges are narrowed, never overflowed.
  const auto far = BarPositions(CRect(INT32_MIN, 0, INT32_MAX, 1), INT32_MIN, 1, 2);
  ASSERT_EQ(far.size(), 2u);
  EXPECT_EQ(far[1].first, INT32_MAX);
}

TEST(RatioHeight, EachScaleIntervalGetsOneStep) {
  const std::vector<std::int32_t> scale = {100, 500, 1000};
  struct Case {
    std::int64_t value;
    std::int32_t height;
  };
  const Case cases[] = {{50, 15},
                        {100, 30},
                        {300, 45},
                        {750, 75},
                        {999, 89},
                        {1000, 90},
                        {5000, 90},
                        {0, 0},
                        {-100, -30},
                        {INT64_MAX, 90},
                        {INT64_MIN, INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(RatioHeight(c.value, scale, 3, 30.0), c.height) << c.value;
  EXPECT_EQ(RatioHeight(700, scale, 9, 30.0), 72) << "a count beyond the list searches the list";
  EXPECT_EQ(RatioHeight(700, scale, 2, 30.0), 60) << "only the first count entries are steps";
}

TEST(UpDownBar, RowsAroundTheZeroLineKeepOneRowForTinyBars) {
  using K = UpDownRows::Kind;
  struct Case {
    std::int32_t value;
    double scale;
    int top, bottom;
    K kind;
  };
  const Case cases[] = {
      {2, 1.0, 48, 50, K::kUp},
      {3, 0.5, 49, 50, K::kUp},  // the recording test has the rest
      {-1, 0.5, 50, 51, K::kDown},
      {INT32_MIN, 1.0, 50, INT32_MAX, K::kDown},
  };
  for (const Case& c : cases) {
    const UpDownRows rows = UpDownBarRows(c.value, 50, c.scale);
    EXPECT_EQ(std::make_tuple(rows.top, rows.bottom, rows.kind), std::make_tuple(c.top, c.bottom, c.kind)) << c.value;
  }
  EXPECT_EQ(UpDownBarColumns({10, 14}), std::make_pair(12, 13));
  EXPECT_EQ(UpDownBarColumns({10, 13}), std::make_pair(10, 11)) << "narrow slots keep one column";
  EXPECT_EQ(UpDownBarColumns({10, 11}), std::make_pair(10, 11));
}

TEST(GroupLayout, GroupSizesZeroToThree) {
  struct Case {
    std::uint32_t size;
    std::int32_t groups;
    double unit;
    int width;
    std::vector<int> lefts;
    int lineOffset = 0;
  };
  const Case cases[] = {
      {0, 10, 30.0, 30, {15, 45}},  // one unit per group, first bar still drawn
      {1, 10, 15.0, 15, {7, 37}},    {2, 10, 10.0, 10, {5, 35}},
      {3, 10, 7.5, 7, {3, 33}},      {2, 200, 0.5, 1, {0, 1}},  // a bar never gets narrower than one pixel
      {2, 10, 9.0, 9, {19, 46}, 15},                            // inset on either side
  };
  for (const Case& c : cases) {
    const GroupLayout layout = LayoutGroups(CRect(0, 0, 300, 100), c.lineOffset, c.groups, c.size);
    ASSERT_TRUE(layout.valid);
    EXPECT_DOUBLE_EQ(layout.unit, c.unit);
    EXPECT_EQ(layout.barWidth, c.width);
    EXPECT_EQ((std::vector<int>{GroupBarLeft(layout, 0), GroupBarLeft(layout, 1)}), c.lefts) << c.size;
  }
  EXPECT_FALSE(LayoutGroups(CRect(0, 0, 300, 100), 0, 0, 2).valid) << "no group slot";
  // -1 groups of 1 + 0xFFFFFFFF units wrap to no unit in 32 unsigned bits.
  EXPECT_FALSE(LayoutGroups(CRect(0, 0, 300, 100), 0, 1, 0xFFFFFFFFu).valid);
  EXPECT_TRUE(LayoutGroups(CRect(0, 0, 300, 100), 0, -1, 2).valid) << "a negative count is a huge unsigned one";
  EXPECT_EQ(GroupBarTop(INT32_MAX, 100, 1.0), 100 - INT32_MAX);
}

}  // namespace
