// Value types of the surface: MulDiv rounding, CRect arithmetic at the 32-bit limits,
// CString formatting and tokenising.
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
  struct Case {
    LONG a, b, c, want;
  };
  const Case cases[] = {
      {3, 96, 72, 4},            // 3 points at 96 dpi
      {9, 96, 72, 12},           // 12
      {10, 96, 72, 13},          // 13.33
      {5, 1, 2, 3},              // 2.5 rounds up
      {-5, 1, 2, -3},            // -2.5 rounds away from zero
      {5, -1, 2, -3},
      {5, 1, -2, -3},
      {-5, -1, -2, -3},
      {1, 1, 0, -1},             // division by zero
      {INT_MAX, INT_MAX, 1, -1}, // does not fit
      {INT_MIN, 1, -1, -1},      // 2^31 does not fit
      {INT_MAX, 2, 2, INT_MAX},
      {INT_MIN, 1, 1, -1},       // -2^31 is outside the result range as well
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want) << c.a << " * " << c.b << " / " << c.c;
  }
}

TEST(CRect, SizesAndMovesSaturateAtTheIntegerLimits) {
  const CRect wide(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(wide.Width(), INT_MAX);
  EXPECT_EQ(wide.Height(), INT_MAX);
  EXPECT_EQ(CRect(10, 20, 4, 25).Width(), -6);
  EXPECT_TRUE(CRect(10, 20, 4, 25).IsRectEmpty());
  EXPECT_TRUE(CRect(0, 0, 5, 0).IsRectEmpty());
  EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
  CRect r(INT_MAX - 1, 0, INT_MAX, 1);
  r.OffsetRect(10, 0);
  EXPECT_EQ(r, CRect(INT_MAX, 0, INT_MAX, 1));
  CRect d(0, 0, 100, 50);
  d.DeflateRect(10, 5);
  EXPECT_EQ(d, CRect(10, 5, 90, 45));
  d.InflateRect(1, 2);
  EXPECT_EQ(d, CRect(9, 3, 91, 47));
  EXPECT_TRUE(d.EqualRect(CRect(9, 3, 91, 47)));
  EXPECT_FALSE(d.EqualRect(nullptr));
  d.CopyRect(nullptr);
  EXPECT_EQ(d, CRect(9, 3, 91, 47));
  EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1));
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

TEST(CString, FormatsAnyLength) {
  CString s;
  s.Format("%.2f%s", 12.345, "");
  EXPECT_EQ(s, "12.35");  // the stored double is a little above 12.345
  s.Format("%+.2f%s", 1.5, "%");
  EXPECT_EQ(s, "+1.50%");
  const std::string big(1000, 'x');
  s.Format("[%s]", big.c_str());
  EXPECT_EQ(s.GetLength(), 1002);
  s.AppendFormat("%d", 7);
  EXPECT_EQ(s.Right(2), "]7");
}

TEST(CString, SlicesClampToTheText) {
  const CString s("12345");
  EXPECT_EQ(s.Left(2), "12");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(99), "12345");
  EXPECT_EQ(s.Right(2), "45");
  EXPECT_EQ(s.Right(99), "12345");
  EXPECT_EQ(s.Mid(3), "45");
  EXPECT_EQ(s.Mid(-2, 2), "12");
  EXPECT_EQ(s.Mid(4, 10), "5");
  EXPECT_EQ(s.Mid(9, 1), "");
  EXPECT_EQ(s.Find('3'), 2);
  EXPECT_EQ(s.Find('3', 3), -1);
  EXPECT_EQ(s.GetAt(4), '5');
  EXPECT_EQ(s.GetAt(5), '\0');  // outside the text: no exception
  EXPECT_EQ(s.GetAt(-1), '\0');
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
  EXPECT_EQ(CString("abc\0def", 7), "abc");  // never reads past a terminator
}

TEST(CString, TokenizeSkipsDelimiterRunsAndEndsWithMinusOne) {
  const CString s(",,9:00,,13:30,");
  int start = 0;
  std::vector<std::string> tokens;
  for (CString t = s.Tokenize(",", start); start != -1; t = s.Tokenize(",", start)) tokens.push_back(t.str());
  EXPECT_EQ(tokens, (std::vector<std::string>{"9:00", "13:30"}));
  start = 0;
  EXPECT_EQ(CString("").Tokenize(",", start), "");
  EXPECT_EQ(start, -1);
  start = -1;
  EXPECT_EQ(s.Tokenize(",", start), "");
  start = 0;
  EXPECT_EQ(CString("a b").Tokenize(nullptr, start), "a b");
}

}  // namespace
