// The shared pool: palette roles, brushes and the default label font.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include <kelochart/services/KeloPalette.h>
#include <kelochart/surface/DC.h>

namespace {

CKeloPalette& Palette() { return CKeloUIObjectSingletonPool::Instance()->palette; }
bool Reddish(COLORREF c) { return GetRValue(c) >= 200 && GetGValue(c) < 128 && GetBValue(c) < 128; }
bool Greenish(COLORREF c) { return GetGValue(c) >= 150 && GetRValue(c) < 100 && GetBValue(c) < 100; }
COLORREF Opaque(std::uint32_t argb) { return (argb >> 24) == 0xFF ? Gdiplus::Color(argb).ToCOLORREF() : 0xFFFFFFFF; }

TEST(Palette, DarkThemeWithRedUpAndGreenDownAndNothingDrawnInTheKeyedOutBackground) {
  const auto& table = Palette().colorTable;
  const COLORREF background = Palette().GetLayoutColor(4);
  EXPECT_EQ(background, RGB(0, 0, 0));
  EXPECT_EQ(Palette().GetLayoutColor(99), background) << "unknown index: background";
  EXPECT_TRUE(Reddish(table[5]) && Reddish(table[321]) && Reddish(Opaque(table[1416])) && Reddish(Opaque(table[1430])));
  EXPECT_TRUE(Greenish(table[9]) && Greenish(table[311]) && Greenish(Opaque(table[1420])) &&
              Greenish(Opaque(table[1428])));
  const std::set<unsigned> argbEntries = {1416, 1420, 1426, 1428, 1430, 1676, 1678, 1710, 1738};
  for (unsigned i = 0; i < CKeloPalette::kColorTableSize; ++i) {
    EXPECT_NE(argbEntries.count(i) ? Opaque(table[i]) : table[i], background) << "entry " << i;
  }
}

TEST(Palette, BrushesAreOwnedOpaqueAndStable) {
  for (unsigned index : {16u, 18u, 298u, 306u, 310u, 320u, 332u}) {
    Gdiplus::SolidBrush* brush = Palette().GetGPBrushByIndex(index);
    ASSERT_NE(brush, nullptr) << index;
    EXPECT_EQ(brush, Palette().GetGPBrushByIndex(index)) << "the same brush every time: " << index;
    Gdiplus::Color color;
    brush->GetColor(&color);
    EXPECT_EQ(Opaque(color.GetValue()), Palette().colorTable[index]) << index;
  }
  EXPECT_EQ(Palette().GetGPBrushByIndex(CKeloPalette::kColorTableSize), Palette().GetGPBrushByIndex(0));
  // The GDI+ fills of state bars match their GDI fills.
  EXPECT_EQ(std::vector({Palette().colorTable[CKeloPalette::kState0BarBrush],
                         Palette().colorTable[CKeloPalette::kState1BarBrush]}),
            std::vector({Palette().colorTable[CKeloPalette::kState0BarColor],
                         Palette().colorTable[CKeloPalette::kState1BarColor]}));
}

}  // namespace
