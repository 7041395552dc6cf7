// Grouped bars through the recording surface: bars per group, the appended layer over the
// main groups with the bar brushes given back, and the layers kept until the base changes.
#include "BarTestSupport.h"

namespace {

using namespace kelo::test;
using MultiBar = BarDrawing;

TEST_F(MultiBar, GroupsOfOneTwoAndThreeAdjacentBars) {
  const std::uint32_t b0 = BrushArgb(310), b1 = BrushArgb(320), b2 = BrushArgb(298);
  struct Case {
    std::uint32_t size;
    std::vector<Bar> bars;
  };
  const Case cases[] = {
      {1, {{CRect(7, 50, 22, 100), b0}}},
      {2, {{CRect(5, 50, 15, 100), b0}, {CRect(15, 99, 25, 100), b1}}},
      {3, {{CRect(3, 50, 10, 100), b0}, {CRect(10, 99, 17, 100), b1}, {CRect(17, 98, 24, 100), b2}}},
  };
  for (const Case& c : cases) {
    Clear();
    bar.SetMultiBarSize(c.size);
    bar.DrawMultiBar(dc.get(), CRect(0, 0, 300, 100), 100, 0, 10, {{50, 0, -5}});
    EXPECT_EQ(Bars(LogOf(*dc)), c.bars) << c.size << " bars per group";
  }
}

class CountingBar : public ProbeBar {
 public:
  int updates = 0, brushChanges = 0;
  void UpdateMultiBarData(CDC* dc, const CRect& rect, std::int32_t maxValue, std::int32_t minValue,
                          std::int32_t groupCount, std::vector<BarGroupData> groups) override {
    ++updates;
    ProbeBar::UpdateMultiBarData(dc, rect, maxValue, minValue, groupCount, groups);
  }
  void SetBarColors(std::uint32_t index, Gdiplus::SolidBrush* brush) override {
    ++brushChanges;
    ProbeBar::SetBarColors(index, brush);
  }
};

TEST_F(MultiBar, AppendedLayerDrawsOverTheMainGroupsAndGivesTheBrushesBack) {
  CountingBar bar;
  Gdiplus::SolidBrush red(Gdiplus::Color(0xFFFF0000)), blue(Gdiplus::Color(0xFF0000FF));
  const auto brushesBefore = bar.barBrushes;
  bar.SetAppenedBarData({{80, 60, 0}});
  bar.SetAppenedBarColor(&red, &blue, &red);
  bar.ShowAppendedBmp(1);
  bar.DrawEasyMultiBarChart(dc.get(), CRect(0, 0, 400, 300), 100, 0, 10, {{50, 40, 0}}, 1);
  EXPECT_EQ(bar.barBrushes, brushesBefore);
  EXPECT_EQ(bar.brushChanges, 6) << "borrowed and given back through the virtual table";
  const auto appended = Bars(OnSurface(LogOf(*dc), "bar.appended"));
  ASSERT_EQ(appended.size(), 2u);
  EXPECT_EQ(std::make_pair(appended[0].argb, appended[1].argb), std::make_pair(0xFFFF0000u, 0xFF0000FFu));
  EXPECT_EQ(Bars(OnSurface(LogOf(*dc), "bar.data")).at(0).box.left, appended[0].box.left) << "the same group slots";
  std::vector<std::string> sources;
  for (const auto& b : Blits(LogOf(*dc))) sources.push_back(b.sourceName);
  EXPECT_EQ(sources, (std::vector<std::string>{"bar.base", "bar.data", "bar.appended"}));
  // New appended data without a base change leave the picture as it was.
  Clear();
  bar.SetAppenedBarData({{10, 10, 10}});
  bar.DrawEasyMultiBarChart(dc.get(), CRect(0, 0, 400, 300), 100, 0, 10, {{1, 1, 1}}, 1);
  EXPECT_EQ(bar.updates, 1);
  EXPECT_EQ(Blits(LogOf(*dc)).size(), LogOf(*dc).size()) << "only the composition";
  bar.ShowAppendedBmp(0);
  Clear();
  bar.DrawEasyMultiBarChart(dc.get(), CRect(0, 0, 400, 300), 100, 0, 10, {}, 0);
  EXPECT_EQ(Blits(LogOf(*dc)).size(), 2u) << "a hidden appended layer is not composed";
}

TEST_F(MultiBar, AppendedBarsAreBlueUnlessGivenColours) {
  bar.SetAppenedBarData({{80, 60, 0}});
  bar.ShowAppendedBmp(1);
  bar.DrawEasyMultiBarChart(dc.get(), CRect(0, 0, 400, 300), 100, 0, 10, {{50, 40, 0}}, 1);
  const auto appended = Bars(OnSurface(LogOf(*dc), "bar.appended"));
  ASSERT_EQ(appended.size(), 2u);
  EXPECT_EQ(std::make_pair(appended[0].argb, appended[1].argb), std::make_pair(0xFF4682E6u, 0xFF4682E6u));
}

}  // namespace
