// Counted graphics start-up and the grey edge lines.
#include <gtest/gtest.h>

#include <vector>

#include <kelochart/services/KeloUtility.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

namespace {

using kelo::surface::LineRecord;

TEST(GdiplusStartup, CountsNestedCallsAndNeverGoesBelowZero) {
  const int base = KeloUtility::GdiplusUseCount();
  EXPECT_EQ(GdiplusInitialize(), base + 1);
  EXPECT_EQ(GdiplusInitialize(), base + 2);
  EXPECT_EQ(GdiplusFinalize(), base + 1);
  EXPECT_EQ(KeloUtility::GdiplusUseCount(), base + 1);
  EXPECT_EQ(GdiplusFinalize(), base);
  // Unmatched finalize calls stop at zero; the next start counts from there.
  for (int i = 0; i < base + 3; ++i) GdiplusFinalize();
  EXPECT_EQ(KeloUtility::GdiplusUseCount(), 0);
  EXPECT_EQ(GdiplusFinalize(), 0);
  EXPECT_EQ(GdiplusInitialize(), 1);
  EXPECT_EQ(GdiplusFinalize(), 0);
  for (int i = 0; i < base; ++i) GdiplusInitialize();  // leave the count as found
  EXPECT_EQ(KeloUtility::GdiplusUseCount(), base);
}

TEST(ColorEdge, DrawsOneEdgeLineByStyleAndKeepsTheDcPen) {
  struct Case {
    KeloUtility::EDrawEdgeStyle style;
    CPoint from;
    CPoint to;
  };
  const CRect rect(10, 20, 110, 70);
  const Case cases[] = {
      {KeloUtility::eDrawEdgeRight, CPoint(110, 20), CPoint(110, 70)},
      {KeloUtility::eDrawEdgeTop, CPoint(10, 20), CPoint(110, 20)},
      {KeloUtility::eDrawEdgeLeft, CPoint(10, 20), CPoint(10, 70)},
      {KeloUtility::eDrawEdgeBottom, CPoint(10, 70), CPoint(110, 70)},
  };
  for (const Case& c : cases) {
    auto dc = CDC::CreateRecording(200, 100);
    CPen callerPen(PS_DOT, 3, RGB(1, 2, 3));
    dc->SelectObject(&callerPen);
    KeloUtility::DrawColorEdge(dc.get(), rect, 0xA8A8A8, 1, c.style);
    EXPECT_EQ(kelo::test::LogOf(*dc).size(), 1u) << kelo::test::Describe(kelo::test::LogOf(*dc));
    EXPECT_EQ(kelo::test::Lines(kelo::test::LogOf(*dc)),
              (std::vector<LineRecord>{LineRecord{c.from, c.to, kelo::test::Pen(PS_SOLID, 1, 0xA8A8A8)}}))
        << c.style;
    EXPECT_EQ(dc->GetCurrentPen(), &callerPen) << c.style;
  }
}

TEST(ColorEdge, UnknownStylesAndMissingDcDrawNothing) {
  auto dc = CDC::CreateRecording(50, 50);
  CPen* before = dc->GetCurrentPen();
  KeloUtility::DrawColorEdge(dc.get(), CRect(0, 0, 10, 10), 0xA8A8A8, 1,
                             static_cast<KeloUtility::EDrawEdgeStyle>(0));
  KeloUtility::DrawColorEdge(dc.get(), CRect(0, 0, 10, 10), 0xA8A8A8, 1,
                             static_cast<KeloUtility::EDrawEdgeStyle>(6));
  KeloUtility::DrawColorEdge(nullptr, CRect(0, 0, 10, 10), 0xA8A8A8, 1, KeloUtility::eDrawEdgeTop);
  EXPECT_TRUE(kelo::surface::RecordingOf(*dc)->Log().empty());
  EXPECT_EQ(dc->GetCurrentPen(), before);
}

}  // namespace
