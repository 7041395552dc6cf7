// The recording surface: each call is kept with the state it was drawn with and the name of
// the surface it went to; selection returns what was selected before; null arguments do
// nothing.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <kelochart/surface/DC.h>
#include <kelochart/surface/Gdiplus.h>
#include <kelochart/surface/RecordingBackend.h>

#include "RecordHelpers.h"

namespace {

using namespace kelo::surface;
using kelo::test::Blits;
using kelo::test::Describe;
using kelo::test::Fills;
using kelo::test::Line;
using kelo::test::Lines;
using kelo::test::LinesWithPen;
using kelo::test::LogOf;
using kelo::test::OnSurface;
using kelo::test::Pen;
using kelo::test::TextRecords;
using kelo::test::Texts;

TEST(Recording, LinesCarryThePenTheyWereDrawnWith) {
  auto dc = CDC::CreateRecording(100, 50);
  dc->MoveTo(1, 2);
  dc->LineTo(3, 4);  // the stock pen
  LOGBRUSH brush;
  brush.lbColor = RGB(1, 2, 3);
  CPen dotted;
  dotted.Attach(ExtCreatePen(PS_DOT | PS_GEOMETRIC, 2, &brush, 0, nullptr));
  CPen* old = dc->SelectObject(&dotted);
  dc->LineTo(30, 4);
  dc->MoveTo(0, 9);
  dc->LineTo(0, 40);
  dc->SelectObject(old);
  CPen axis(PS_SOLID, 2, RGB(9, 8, 7));
  dc->SelectObject(&axis);
  dc->LineTo(50, 40);

  const auto& log = LogOf(*dc);
  const auto stock = Pen(PS_SOLID, 1, 0);
  const auto geometric = Pen(PS_DOT, 2, RGB(1, 2, 3), true);
  const std::vector<LineRecord> want = {Line(1, 2, 3, 4, stock), Line(3, 4, 30, 4, geometric),
                                        Line(0, 9, 0, 40, geometric), Line(0, 40, 50, 40, Pen(PS_SOLID, 2, RGB(9, 8, 7)))};
  EXPECT_EQ(Lines(log), want) << Describe(log);
  EXPECT_EQ(LinesWithPen(log, geometric).size(), 2u);
  for (const auto& record : log) EXPECT_EQ(record.surface, "screen");
}

TEST(Recording, TextsCarryFontColourModeAndFormat) {
  auto dc = CDC::CreateRecording(100, 50);
  CRect r(0, 0, 80, 20);
  dc->DrawText("plain", -1, &r, DT_LEFT);
  LOGFONT lf{};
  lf.lfHeight = -14;
  lf.lfUnderline = 1;
  lf.lfWeight = FW_BOLD;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  CFont* stock = dc->SelectObject(&font);
  dc->SetTextColor(RGB(10, 20, 30));
  EXPECT_EQ(dc->SetBkMode(TRANSPARENT), OPAQUE);
  EXPECT_EQ(dc->SetBkMode(7), 0);  // unknown modes are refused
  dc->DrawText(CString("12.34"), &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  dc->DrawText("abcdef", 3, &r, DT_CENTER);  // the length counts
  dc->SelectObject(stock);

  const auto texts = TextRecords(LogOf(*dc));
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(Texts(LogOf(*dc)), (std::vector<std::string>{"plain", "12.34", "abc"}));
  const TextDesc& first = texts[0].text;
  EXPECT_EQ(first.font, FontDesc{});  // the stock font: DejaVu Sans Mono, 12-pixel em
  EXPECT_EQ(first.font.face, "DejaVu Sans Mono");
  EXPECT_EQ(first.font.height, -12);
  EXPECT_EQ(first.color, RGB(0, 0, 0));
  EXPECT_EQ(first.bkMode, OPAQUE);
  EXPECT_EQ(first.bkColor, RGB(255, 255, 255));
  const TextDesc& second = texts[1].text;
  EXPECT_EQ(second.rect, r);
  EXPECT_EQ(second.format, 0x26u);
  EXPECT_EQ(second.font.face, "DejaVu Sans");
  EXPECT_EQ(second.font.height, -14);
  EXPECT_TRUE(second.font.underline);
  EXPECT_EQ(second.font.weight, FW_BOLD);
  EXPECT_EQ(second.color, RGB(10, 20, 30));
  EXPECT_EQ(second.bkMode, TRANSPARENT);
}

TEST(Recording, SelectionReturnsThePreviousObjectAndHandlesOutliveTheirHolders) {
  auto dc = CDC::CreateRecording(100, 50);
  CPen* stock = dc->GetCurrentPen();
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(*stock->Handle(), Pen(PS_SOLID, 1, 0));
  CPen red(PS_SOLID, 1, RGB(255, 0, 0));
  CPen blue(PS_DASH, 1, RGB(0, 0, 255));
  EXPECT_EQ(dc->SelectObject(&red), stock);
  EXPECT_EQ(dc->SelectObject(&blue), &red);
  EXPECT_EQ(dc->SelectObject(&red), &blue);
  EXPECT_EQ(dc->SelectObject(static_cast<CPen*>(nullptr)), nullptr);
  CPen none;
  EXPECT_EQ(dc->SelectObject(&none), nullptr);  // a holder without a handle is refused
  EXPECT_EQ(dc->GetCurrentPen(), &red);

  // The pen is re-created while selected: the DC keeps drawing with the handle it selected,
  // as GDI does, until the holder is selected again.
  red.DeleteObject();
  red.CreatePen(PS_SOLID, 3, RGB(0, 255, 0));
  dc->MoveTo(0, 0);
  dc->LineTo(10, 0);
  dc->SelectObject(&red);
  dc->LineTo(20, 0);
  const auto lines = Lines(LogOf(*dc));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].pen, Pen(PS_SOLID, 1, RGB(255, 0, 0)));
  EXPECT_EQ(lines[1].pen, Pen(PS_SOLID, 3, RGB(0, 255, 0)));

  CFont* stockFont = dc->GetCurrentFont();
  CFont font;
  LOGFONT lf{};
  lf.lfHeight = 20;
  font.CreateFontIndirect(&lf);
  EXPECT_EQ(dc->SelectObject(&font), stockFont);
  EXPECT_EQ(dc->SelectObject(stockFont), &font);
}

TEST(Recording, MemoryDCsDrawOnBitmapsNamedInOrder) {
  auto screen = CDC::CreateRecording(40, 30);
  CBitmap base, data;
  ASSERT_TRUE(base.CreateCompatibleBitmap(screen.get(), 40, 30));
  ASSERT_TRUE(data.CreateCompatibleBitmap(screen.get(), 40, 30));
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(screen.get()));
  memory.FillSolidRect(0, 0, 5, 5, RGB(1, 1, 1));  // no bitmap yet: nowhere
  CBitmap* original = memory.SelectObject(&base);
  ASSERT_NE(original, nullptr);
  memory.FillSolidRect(0, 0, 40, 30, RGB(2, 2, 2));
  EXPECT_EQ(memory.SelectObject(&data), &base);
  memory.FillSolidRect(1, 1, 3, 3, RGB(3, 3, 3));
  memory.SelectObject(&base);
  screen->BitBlt(0, 0, 40, 30, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(&data);
  screen->TransparentBlt(0, 0, 40, 30, &memory, 0, 0, 40, 30, RGB(2, 2, 2));
  memory.SelectObject(original);
  memory.DeleteDC();

  const auto& log = LogOf(*screen);
  ASSERT_EQ(log.size(), 4u) << Describe(log);
  EXPECT_EQ(Fills(OnSurface(log, "bitmap#1")), (std::vector<FillRectRecord>{{CRect(0, 0, 40, 30), RGB(2, 2, 2)}}));
  EXPECT_EQ(Fills(OnSurface(log, "bitmap#2")), (std::vector<FillRectRecord>{{CRect(1, 1, 4, 4), RGB(3, 3, 3)}}));
  const auto blits = Blits(OnSurface(log, "screen"));
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].sourceName, "bitmap#1");
  EXPECT_FALSE(blits[0].useKey);
  EXPECT_EQ(blits[1].sourceName, "bitmap#2");
  EXPECT_TRUE(blits[1].useKey);
  EXPECT_EQ(blits[1].key, RGB(2, 2, 2));
  EXPECT_EQ(blits[1].dst, CRect(0, 0, 40, 30));
  // The copy keeps the source as it was then.
  ASSERT_TRUE(blits[1].source);
  EXPECT_EQ(blits[1].source->records.size(), 1u);
  EXPECT_EQ(RecordingOf(*screen)->Records().size(), 2u);
}

TEST(Recording, GdiplusCallsCarryPenBrushSmoothingAndClip) {
  auto dc = CDC::CreateRecording(100, 50);
  Gdiplus::Graphics g(dc.get());
  Gdiplus::Pen pen(Gdiplus::Color(128, 255, 0, 0), 1.5f);
  pen.SetDashStyle(Gdiplus::DashStyleDot);
  g.DrawLine(&pen, 1, 2, 3, 4);
  EXPECT_EQ(g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias), Gdiplus::Ok);
  Gdiplus::GraphicsPath path;
  const Gdiplus::Point pts[] = {{0, 0}, {10, 0}, {5, 8}};
  path.AddPolygon(pts, 3);
  Gdiplus::Region region(&path);
  g.SetClip(&region);
  Gdiplus::SolidBrush brush(Gdiplus::Color(0xFF00FF00));
  g.FillRectangle(&brush, 0, 0, 10, 10);
  g.FillPie(&brush, 1.f, 2.f, 6.f, 6.f, 0.f, 360.f);
  g.ResetClip();
  EXPECT_EQ(g.DrawLine(nullptr, 0, 0, 1, 1), Gdiplus::InvalidParameter);
  EXPECT_EQ(g.FillRectangle(nullptr, 0, 0, 1, 1), Gdiplus::InvalidParameter);
  g.FillRectangle(&brush, 0, 0, 0, 10);  // empty: nothing

  const auto& log = LogOf(*dc);
  ASSERT_EQ(log.size(), 3u) << Describe(log);
  const auto& stroke = std::get<StrokePathRecord>(log[0].op);
  EXPECT_EQ(stroke.pen, (GpPenDesc{0x80FF0000u, 1.5f, 2}));
  EXPECT_FALSE(stroke.state.antiAlias);
  EXPECT_FALSE(stroke.state.clipped);
  ASSERT_EQ(stroke.path.figures.size(), 1u);
  EXPECT_FALSE(stroke.path.figures[0].closed);
  const auto& fill = std::get<FillPathRecord>(log[1].op);
  EXPECT_EQ(fill.argb, 0xFF00FF00u);
  EXPECT_TRUE(fill.state.antiAlias);
  EXPECT_TRUE(fill.state.clipped);
  EXPECT_EQ(fill.state.clip, path.Desc());
  EXPECT_EQ(fill.path.figures[0].points,
            (std::vector<PointF>{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  const auto& pie = std::get<FillPieRecord>(log[2].op);
  EXPECT_EQ(pie.sweepAngle, 360.f);
  EXPECT_TRUE(pie.state.clipped);
}

TEST(Recording, NullAndBrokenArgumentsDoNothing) {
  auto dc = CDC::CreateRecording(10, 10);
  EXPECT_EQ(dc->DrawText(nullptr, 3, nullptr, 0), 0);
  CRect r(0, 0, 5, 5);
  EXPECT_EQ(dc->DrawText(nullptr, 3, &r, 0), 0);
  EXPECT_EQ(dc->DrawText("x", -2, &r, 0), 0);
  EXPECT_EQ(dc->DrawText("x", 1, nullptr, 0), 0);
  dc->FillSolidRect(nullptr, 0);
  EXPECT_EQ(dc->SelectObject(static_cast<CFont*>(nullptr)), nullptr);
  EXPECT_EQ(dc->SelectObject(static_cast<CBitmap*>(nullptr)), nullptr);
  EXPECT_FALSE(dc->TransparentBlt(0, 0, 1, 1, nullptr, 0, 0, 1, 1, 0));
  EXPECT_EQ(dc->GetTextExtent(nullptr, 3), CSize());
  Gdiplus::Graphics none(nullptr);
  Gdiplus::Pen pen(Gdiplus::Color(0xFF000000));
  EXPECT_EQ(none.DrawLine(&pen, 0, 0, 1, 1), Gdiplus::GenericError);
  EXPECT_TRUE(LogOf(*dc).empty()) << Describe(LogOf(*dc));
  EXPECT_EQ(CDC::CreateRecording(0, 10), nullptr);
  EXPECT_EQ(CDC::CreateRaster(-1, 10), nullptr);
  CFont font;
  EXPECT_FALSE(font.CreateFontIndirect(nullptr));
  EXPECT_EQ(font.GetObject(sizeof(LOGFONT), nullptr), 0);
  CPen pen2;
  LOGBRUSH hatched;
  hatched.lbStyle = 2;
  EXPECT_FALSE(pen2.CreatePen(PS_SOLID | PS_GEOMETRIC, 1, &hatched));
  EXPECT_FALSE(pen2.CreatePen(PS_SOLID | PS_GEOMETRIC, 1, nullptr));
}

TEST(Recording, FontsReadBackTheirLogicalRecord) {
  LOGFONT lf{};
  lf.lfHeight = -13;
  lf.lfUnderline = 1;
  std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);  // no terminator
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirectA(&lf));
  LOGFONT back{};
  EXPECT_EQ(font.GetObject(sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_EQ(back.lfHeight, -13);
  EXPECT_EQ(back.lfUnderline, 1);
  EXPECT_EQ(std::strlen(back.lfFaceName), static_cast<std::size_t>(LF_FACESIZE - 1));
  EXPECT_EQ(CFont::ToDesc(back).face, std::string(LF_FACESIZE - 1, 'x'));
  EXPECT_EQ(font.GetObject(4, &back), 4);  // a short buffer takes what fits
}

TEST(Recording, MeasuresTextLikeTheRaster) {
  auto recording = CDC::CreateRecording(10, 10);
  auto raster = CDC::CreateRaster(10, 10);
  const char* texts[] = {"", "0", "12345.67", "張億萬", "A張b", "-0.25%"};
  for (int height : {-12, -16, 14, 0}) {
    LOGFONT lf{};
    lf.lfHeight = height;
    CFont font;
    font.CreateFontIndirect(&lf);
    recording->SelectObject(&font);
    raster->SelectObject(&font);
    for (const char* t : texts) {
      EXPECT_EQ(recording->GetTextExtent(t, static_cast<int>(std::strlen(t))),
                raster->GetTextExtent(t, static_cast<int>(std::strlen(t))))
          << t << " at " << height;
    }
  }
  // The label font: DejaVu Sans Mono at a 12-pixel em has 7-pixel digits in a 14-pixel cell,
  // and a character from the fallback face takes a full em.
  auto dc = CDC::CreateRecording(10, 10);
  EXPECT_EQ(dc->GetTextExtent("12345"), CSize(35, 14));
  EXPECT_EQ(dc->GetTextExtent("12張"), CSize(14 + 12, 14));
  EXPECT_EQ(dc->GetTextExtent(""), CSize(0, 14));
  LOGFONT cell{};
  cell.lfHeight = 16;  // a positive height is the cell height
  CFont cellFont;
  cellFont.CreateFontIndirect(&cell);
  dc->SelectObject(&cellFont);
  EXPECT_EQ(dc->GetTextExtent("0").cy, 16);
}

}  // namespace
