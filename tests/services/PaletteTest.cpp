// The shared pool: palette roles, brushes and the default label font.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include <kelochart/services/KeloPalette.h>
#include <kelochart/surface/DC.h>

namespace {

CKeloPalette& Palette() { return CKeloUIObjectSingletonPool::Instance()->palette; }

constexpr COLORREF kBlack = RGB(0, 0, 0);

bool Reddish(COLORREF c) { return GetRValue(c) >= 200 && GetGValue(c) < 128 && GetBValue(c) < 128; }
bool Greenish(COLORREF c) { return GetGValue(c) >= 150 && GetRValue(c) < 100 && GetBValue(c) < 100; }
bool ArgbReddish(std::uint32_t argb) { return (argb >> 24) == 0xFF && Reddish(Gdiplus::Color(argb).ToCOLORREF()); }
bool ArgbGreenish(std::uint32_t argb) { return (argb >> 24) == 0xFF && Greenish(Gdiplus::Color(argb).ToCOLORREF()); }
int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

TEST(Palette, DarkThemeWithRedUpAndGreenDown) {
  const auto& table = Palette().colorTable;
  EXPECT_EQ(Palette().GetLayoutColor(4), kBlack) << "chart background";
  EXPECT_GT(Brightness(Palette().GetLayoutColor(1)), 600) << "zero label reads on black";
  EXPECT_EQ(Palette().GetLayoutColor(99), Palette().GetLayoutColor(4)) << "unknown index: background";

  EXPECT_TRUE(Reddish(table[5])) << "up bars";
  EXPECT_TRUE(Greenish(table[9])) << "down bars";
  EXPECT_TRUE(Reddish(table[321])) << "profits, top label, X labels";
  EXPECT_TRUE(Greenish(table[311])) << "losses, bottom label, left labels";
  EXPECT_GT(Brightness(table[307]), 450) << "default text is light";
  EXPECT_GT(Brightness(table[299]), 600) << "reference label is bright";
  EXPECT_LT(Brightness(table[303]), 400) << "grid is dark grey";
  EXPECT_EQ(GetRValue(table[303]), GetGValue(table[303]));
  EXPECT_EQ(GetGValue(table[303]), GetBValue(table[303]));

  EXPECT_TRUE(ArgbReddish(table[1416])) << "up difference pen";
  EXPECT_TRUE(ArgbGreenish(table[1420])) << "down difference pen";
  EXPECT_TRUE(ArgbGreenish(table[1428])) << "inner-state pen";
  EXPECT_TRUE(ArgbReddish(table[1430])) << "outer-state pen";
  for (unsigned argbEntry : {1426u, 1676u, 1678u, 1710u, 1738u}) {
    EXPECT_EQ(table[argbEntry] >> 24, 0xFFu) << "opaque pen " << argbEntry;
  }
}

TEST(Palette, NothingDrawnMatchesTheBackgroundThatLayersKeyOut) {
  const auto& table = Palette().colorTable;
  const COLORREF background = Palette().GetLayoutColor(4);
  std::set<unsigned> argbEntries = {1416, 1420, 1426, 1428, 1430, 1676, 1678, 1710, 1738};
  for (unsigned i = 0; i < CKeloPalette::kColorTableSize; ++i) {
    const COLORREF drawn = argbEntries.count(i) ? Gdiplus::Color(table[i]).ToCOLORREF() : table[i];
    EXPECT_NE(drawn, background) << "entry " << i;
  }
}

TEST(Palette, BrushesAreOwnedOpaqueAndStable) {
  for (unsigned index : {16u, 18u, 298u, 306u, 310u, 320u, 332u}) {
    Gdiplus::SolidBrush* brush = Palette().GetGPBrushByIndex(index);
    ASSERT_NE(brush, nullptr) << index;
    EXPECT_EQ(brush, Palette().GetGPBrushByIndex(index)) << "the same brush every time: " << index;
    Gdiplus::Color color;
    brush->GetColor(&color);
    EXPECT_EQ(color.GetA(), 0xFF) << index;
    EXPECT_EQ(color.ToCOLORREF(), Palette().colorTable[index]) << index;
  }
  // The GDI+ fills of state bars match their GDI fills.
  EXPECT_EQ(Palette().colorTable[16], Palette().colorTable[17]);
  EXPECT_EQ(Palette().colorTable[18], Palette().colorTable[19]);
  // The five default bar brushes are told apart.
  std::set<COLORREF> barColors;
  for (unsigned index : {310u, 320u, 298u, 332u, 306u}) barColors.insert(Palette().colorTable[index]);
  EXPECT_EQ(barColors.size(), 5u);
  EXPECT_EQ(Palette().GetGPBrushByIndex(CKeloPalette::kColorTableSize), Palette().GetGPBrushByIndex(0));
}

TEST(DefaultFont, CellMatchesTheMeasuredLabelFont) {
  const SKeloFontInfo& info = CKeloUIObjectSingletonPool::Instance()->defaultFont;
  ASSERT_NE(info.font, nullptr);
  LOGFONT logFont;
  ASSERT_GT(info.font->GetLogFont(&logFont), 0);
  EXPECT_STREQ(logFont.lfFaceName, "DejaVu Sans Mono");
  EXPECT_EQ(logFont.lfHeight, info.pixelHeight);
  ASSERT_NE(info.boldFont, nullptr);

  auto dc = CDC::CreateRecording(200, 50);
  dc->SelectObject(info.font);
  // Labels are laid out as (bytes + 1) character widths and a label line is one character
  // high: the record's cell is exactly the measured cell of the monospaced face.
  EXPECT_EQ(dc->GetTextExtent("0"), CSize(info.charWidth, info.charHeight));
  EXPECT_EQ(dc->GetTextExtent("1234567890"), CSize(10 * info.charWidth, info.charHeight));
  EXPECT_EQ(dc->GetTextExtent("-9.22E").cx, 6 * info.charWidth);
}

}  // namespace
