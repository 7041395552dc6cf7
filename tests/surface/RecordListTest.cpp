// The records of GDI+ calls under one clip share that clip, and the record helpers name the
// operation at each index and the surfaces drawn on.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>

#include "RecordHelpers.h"

namespace {

using namespace kelo::surface;
using kelo::test::ExpectOp;
using kelo::test::LogOf;

TEST(RecordList, CallsUnderOneClipShareItUntilTheClipChanges) {
  auto dc = CDC::CreateRecording(100, 50);
  Gdiplus::Graphics graphics(dc.get());
  Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 255), 1.0f);
  const Gdiplus::Region band(Gdiplus::Rect(10, 0, 50, 50));
  graphics.SetClip(&band);
  graphics.DrawLine(&pen, 0, 10, 100, 10);
  graphics.DrawLine(&pen, 0, 20, 100, 20);
  const Gdiplus::Region narrow(Gdiplus::Rect(20, 0, 10, 50));
  graphics.SetClip(&narrow, Gdiplus::CombineModeIntersect);
  graphics.DrawLine(&pen, 0, 30, 100, 30);

  const auto& log = LogOf(*dc);
  const GpState first = ExpectOp<StrokePathRecord>(log, 0).state;
  const GpState second = ExpectOp<StrokePathRecord>(log, 1).state;
  const GpState third = ExpectOp<StrokePathRecord>(log, 2).state;
  EXPECT_EQ(&*first.clip, &*second.clip);  // one path, not a copy per call
  EXPECT_EQ(first, second);
  EXPECT_EQ(third.clip, first.clip);       // the same path by value ...
  EXPECT_EQ(third.moreClips->size(), 1u);  // ... narrowed by the second region
  EXPECT_NE(third, first);
}

TEST(RecordList, ExpectOpNamesTheOperationAndPrintsTheRecords) {
  auto dc = CDC::CreateRecording(10, 10);
  dc->FillSolidRect(CRect(0, 0, 2, 2), RGB(1, 2, 3));
  EXPECT_EQ(ExpectOp<FillRectRecord>(LogOf(*dc), 0).color, RGB(1, 2, 3));
  EXPECT_NONFATAL_FAILURE(ExpectOp<LineRecord>(LogOf(*dc), 0), "record 0 is not a LineRecord");
  EXPECT_NONFATAL_FAILURE(ExpectOp<LineRecord>(LogOf(*dc), 5), "[0] screen: FillSolidRect");
}

TEST(RecordList, SurfaceNamesFollowTheFirstDrawingOnEach) {
  auto dc = CDC::CreateRecording(10, 10);
  CDC memory;
  memory.CreateCompatibleDC(dc.get());
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(dc.get(), 10, 10);
  bitmap.SetName("curve.base");
  memory.SelectObject(&bitmap);
  memory.FillSolidRect(CRect(0, 0, 1, 1), 0);
  dc->FillSolidRect(CRect(0, 0, 1, 1), 0);
  memory.FillSolidRect(CRect(0, 0, 1, 1), 0);
  EXPECT_EQ(kelo::test::SurfaceNames(LogOf(*dc)), (std::vector<std::string>{"curve.base", "screen"}));
}

}  // namespace
