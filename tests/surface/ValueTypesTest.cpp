// Value types of the surface at their limits: MulDiv rounding and overflow, CRect arithmetic
// saturating at the 32-bit ends, CString never reading past a terminator or the text and
// tokenising over delimiter runs.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/Rect.h>
#include <kelochart/surface/String.h>
#include <kelochart/surface/Types.h>

#include "RecordHelpers.h"

namespace {

TEST(MulDiv, RoundsHalfAwayFromZeroAndFailsWithMinusOne) {
  const std::vector<std::vector<LONG>> cases = {{10, 96, 72, 13},
                                                {5, 1, 2, 3},
                                                {-5, 1, 2, -3},
                                                {5, -1, 2, -3},
                                                {5, 1, -2, -3},
                                                {-5, -1, -2, -3},
                                                {1, 1, 0, -1} /* division by zero */,
                                                {INT_MAX, INT_MAX, 1, -1} /* does not fit */,
                                                {INT_MIN, 1, -1, -1},
                                                {INT_MAX, 2, 2, INT_MAX},
                                                {INT_MIN, 1, 1, -1} /* -2^31 is outside the results too */};
  for (const auto& c : cases) EXPECT_EQ(MulDiv(c[0], c[1], c[2]), c[3]) << c[0] << " * " << c[1] << " / " << c[2];
}

TEST(CRect, SizesAndMovesSaturateAtTheIntegerLimits) {
  const CRect wide(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(std::vector<LONG>({wide.Width(), wide.Height(), CRect(10, 20, 4, 25).Width()}),
            std::vector<LONG>({INT_MAX, INT_MAX, -6}));
  CRect r(INT_MAX - 1, 0, INT_MAX, 1);
  r.OffsetRect(10, 3);
  EXPECT_EQ(r, CRect(INT_MAX, 3, INT_MAX, 4));
  r.InflateRect(INT_MAX, 1);
  EXPECT_EQ(r, CRect(0, 2, INT_MAX, 5));
  EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1));
}

TEST(CString, SlicesClampToTheTextAndNeverReadPastATerminator) {
  const CString t("12345");
  EXPECT_EQ(std::vector<std::string>(
                {t.Left(-1).str(), t.Right(99).str(), t.Mid(-2, 2).str(), t.Mid(4, 10).str(), t.Mid(9, 1).str()}),
            std::vector<std::string>({"", "12345", "12", "5", ""}));
  EXPECT_EQ(std::vector<int>({t.GetAt(5), t.GetAt(-1)}), std::vector<int>({0, 0}));
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
  EXPECT_EQ(CString("abc\0def", 7), "abc");
  CString longer;  // past the 256 bytes formatted on the stack
  longer.Format("%s!", std::string(300, 'x').c_str());
  EXPECT_EQ(longer.str(), std::string(300, 'x') + "!");
  EXPECT_EQ(std::vector<int>({t.Find('3'), t.Find('3', 3), t.Find('1', -4)}), std::vector<int>({2, -1, 0}));
  const CString times(",,9:00,,13:30,");  // delimiter runs are skipped; the end is -1
  int start = 0;
  std::vector<std::string> tokens;
  for (CString k = times.Tokenize(",", start); start != -1; k = times.Tokenize(",", start)) tokens.push_back(k.str());
  EXPECT_EQ(tokens, (std::vector<std::string>{"9:00", "13:30"}));
  EXPECT_EQ(times.Tokenize(",", start), "");
}

TEST(CRect, InflatesByTheMostNegativeAmountWithoutNegatingIt) {
  struct Case {
    int x, y;
    CRect want;
  };
  const Case cases[] = {
      {INT_MIN, 0, CRect(INT_MAX, 0, INT_MIN + 10, 10)},
      {0, INT_MIN, CRect(0, INT_MAX, 10, INT_MIN + 10)},
      {INT_MAX, INT_MAX, CRect(-INT_MAX, -INT_MAX, INT_MAX, INT_MAX)},
  };
  for (const Case& c : cases) {
    CRect r(0, 0, 10, 10);
    r.InflateRect(c.x, c.y);
    EXPECT_EQ(r, c.want) << c.x << ", " << c.y;
  }
}

}  // namespace
