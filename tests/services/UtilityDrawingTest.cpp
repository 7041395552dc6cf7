// Counted graphics start-up and the grey edge lines.
#include <gtest/gtest.h>

#include <vector>

#include <kelochart/services/KeloUtility.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

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

TEST(ColorEdge, DrawsOneEdgeLineByStyleAndKeepsTheDcPen) {
  const CRect rect(10, 20, 110, 70);
  const std::tuple<int, CPoint, CPoint> cases[] = {
      {KeloUtility::eDrawEdgeRight, CPoint(110, 20), CPoint(110, 70)}, {KeloUtility::eDrawEdgeTop, CPoint(10, 20), CPoint(110, 20)},
      {KeloUtility::eDrawEdgeLeft, CPoint(10, 20), CPoint(10, 70)}, {KeloUtility::eDrawEdgeBottom, CPoint(10, 70), CPoint(110, 70)},
      {0, CPoint(), CPoint()}, {6, CPoint(), CPoint()}};  // unknown styles draw nothing
  for (const auto& [style, from, to] : cases) {
    auto dc = CDC::CreateRecording(200, 100);
    CPen callerPen(PS_DOT, 3, RGB(1, 2, 3));
    dc->SelectObject(&callerPen);
    KeloUtility::DrawColorEdge(dc.get(), rect, 0xA8A8A8, 1, static_cast<KeloUtility::EDrawEdgeStyle>(style));
    std::vector<kelo::surface::LineRecord> expected;
    if (from != to) expected.push_back({from, to, kelo::test::Pen(PS_SOLID, 1, 0xA8A8A8)});
    EXPECT_EQ(kelo::test::LogOf(*dc).size(), expected.size()) << style;
    EXPECT_EQ(kelo::test::Lines(kelo::test::LogOf(*dc)), expected) << style;
    EXPECT_EQ(dc->GetCurrentPen(), &callerPen) << style;
  }
  KeloUtility::DrawColorEdge(nullptr, rect, 0xA8A8A8, 1, KeloUtility::eDrawEdgeTop);
}

}  // namespace
