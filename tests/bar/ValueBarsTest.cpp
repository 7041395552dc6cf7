// The bar object and the value bar charts through the recording surface: brushes and
// margins, the bar-position cache, plain, state, by-ratio and up/down bars, the layered
// up/down chart and its steps through the virtual table.
#include "BarTestSupport.h"

namespace {

using namespace kelo::test;
using BarObject = BarDrawing;
using BarChart = BarDrawing;
using UpDownBars = BarDrawing;
using UpDownChart = BarDrawing;

TEST_F(BarObject, BrushListMarginsAndGroupSize) {
  Gdiplus::SolidBrush brush(Gdiplus::Color(0xFF112233));
  bar.SetBarColors(7, &brush);
  bar.SetBarColors(2, &brush);
  ASSERT_EQ(bar.barBrushes.size(), 6u) << "an index beyond the list appends";
  EXPECT_EQ(std::make_pair(bar.barBrushes[2], bar.barBrushes[5]), std::make_pair(&brush, &brush));
  for (auto [in, stored] : {std::pair{0u, 0u}, {2u, 2u}, {3u, 3u}, {5u, 3u}}) {
    bar.SetMultiBarSize(in);
    EXPECT_EQ(bar.multiBarSize, stored);
  }
  int l, t, r, b;
  bar.GetBmpDeflatePixel(l, t, r, b);
  EXPECT_EQ(std::vector<int>({l, t, r, b}), std::vector<int>({36, 12, 36, 24}));
  bar.SetBmpLeftDeflate(1);  // the cached pixels follow only at the next recomputation
  bar.GetBmpDeflatePixel(l, t, r, b);
  EXPECT_EQ(l, 36);
  bar.OnChangeSize();
  bar.GetBmpDeflatePixel(l, t, r, b);
  EXPECT_EQ(l, 6);
}

TEST_F(BarChart, BarsStandOnTheBottomEdgeAndTheCacheKeepsPositionsForFewerValues) {
  const std::uint32_t brush = BrushArgb(310);
  bar.DrawBarChart(dc.get(), CRect(0, 0, 100, 100), 200, 100, 10, {50, -50});
  EXPECT_EQ(Bars(LogOf(*dc)), (std::vector<Bar>{{CRect(0, 50, 9, 100), brush}, {CRect(10, 50, 19, 100), brush}}));
  struct Step {
    CRect rect;
    int slots;
    std::vector<std::int32_t> values;
    int count;
    int firstRight;
  };
  const Step steps[] = {
      {CRect(0, 0, 100, 100), 10, {1, 2, 3, 4}, 4, 9},
      {CRect(0, 0, 100, 100), 10, {1}, 4, 9},        // fewer values keep the cache
      {CRect(0, 0, 100, 100), 20, {1}, 1, 4},        // another slot count recomputes
      {CRect(0, 0, 200, 100), 20, {1}, 1, 9},        // another rectangle recomputes
      {CRect(0, 0, 200, 100), 20, {1, 2, 3}, 3, 9},  // more values recompute
  };
  for (const Step& s : steps) {
    bar.DrawBarChart(dc.get(), s.rect, 200, 100, s.slots, s.values);
    EXPECT_EQ(bar.barCount, s.count);
    EXPECT_EQ(bar.barPositions.size(), std::size_t(s.count));
    EXPECT_EQ(bar.barPositions[0].second, s.firstRight);
  }
  bar.DrawBarChart(dc.get(), CRect(0, 0, 50, 50), 7, 7, 3, {1, 2, 3, 4, 5});
  EXPECT_EQ(bar.barCount, 3) << "equal bounds draw nothing and leave the cache alone";
}

TEST_F(BarChart, StateAndByRatioBarsAndTheBackgroundLeftOnTheDc) {
  bar.SetBkColor(0x123456);
  std::vector<CKeloBaseBar::VolumeInOut> state = {{50, 1}, {20, 0}, {30, 2}};
  bar.DrawBarChartWithState(dc.get(), CRect(0, 0, 100, 100), 100, 0, 10, state);
  EXPECT_EQ(Fills(LogOf(*dc)), (std::vector<kelo::surface::FillRectRecord>{{CRect(0, 50, 9, 100), Table(19)},
                                                                           {CRect(10, 80, 19, 100), Table(17)},
                                                                           {CRect(20, 70, 29, 100), Table(17)},
                                                                           {CRect(0, 0, 0, 0), 0x123456}}));
  EXPECT_EQ(dc->GetBkColor(), 0x123456u);
  // Fit scale of 1000 in four cells: 500, 1000, 1500, 2000; stepCount 4 gives 25-pixel steps.
  Clear();
  bar.DrawBarChartByRatio(dc.get(), CRect(0, 0, 100, 100), 1000, 0, 4, 10, {125, 250, 600, 2000}, 0xAA);
  std::vector<int> tops;
  for (const auto& f : Fills(LogOf(*dc))) tops.push_back(f.rect.top);
  EXPECT_EQ(tops, (std::vector<int>{94, 88, 70, 0, 0}));
  Clear();
  std::vector<CKeloBaseBar::VolumeInOut> none;
  EXPECT_EQ(bar.DrawBarCharByRatiotWithState(dc.get(), CRect(0, 0, 100, 100), 1000, 4, 10, none), 1);
  EXPECT_EQ(bar.DrawBarCharByRatiotWithState(dc.get(), CRect(0, 0, 100, 100), 1000, 0, 10, state), 0)
      << "a step count of 0 has no step height";
  EXPECT_EQ(bar.DrawBarCharByRatiotWithState(dc.get(), CRect(0, 0, 100, 100), 1000, 4, 10, state), 1);
  EXPECT_EQ(Bars(LogOf(*dc)), (std::vector<Bar>{{CRect(0, 98, 9, 100), BrushArgb(18)},
                                                {CRect(10, 99, 19, 100), BrushArgb(16)},
                                                {CRect(20, 99, 29, 100), BrushArgb(16)}}));
}

TEST_F(UpDownBars, MinimumRowsZeroColourAndNarrowSlots) {
  bar.SetUpDownBarColor(0x0000FF, 0x00FF00);
  CKeloBaseChart::_SDataInfor data{50, 0, -50, 10, 100, {30, 1, 0, -30}};
  bar.DrawBarChartUpDown(dc.get(), CRect(0, 0, 100, 100), data);
  data.totalCount = 40;  // 2.5-pixel slots: the bar keeps one column at the slot's left
  data.values = {30};
  bar.DrawBarChartUpDown(dc.get(), CRect(0, 0, 100, 100), data);
  EXPECT_EQ(Fills(LogOf(*dc)), (std::vector<kelo::surface::FillRectRecord>{{CRect(2, 20, 8, 50), 0x0000FF},
                                                                           {CRect(12, 49, 18, 50), 0x0000FF},
                                                                           {CRect(22, 50, 28, 51), Table(299)},
                                                                           {CRect(32, 50, 38, 80), 0x00FF00},
                                                                           {CRect(0, 0, 0, 0), bar.bkColor},
                                                                           {CRect(0, 20, 1, 50), 0x0000FF},
                                                                           {CRect(0, 0, 0, 0), bar.bkColor}}));
}

// Replaces the steps of the composite paint to prove they are called through the virtual table.
class CountingBar : public ProbeBar {
 public:
  int bases = 0, updates = 0;
  void DrawBaseL(CDC* d, const CRect& r, std::int32_t n) override {
    ++bases;
    ProbeBar::DrawBaseL(d, r, n);
  }
  void UpdateUpDownBarChart(CDC* dc, const CRect& rect, _SDataInfor data) override {
    ++updates;
    ProbeBar::UpdateUpDownBarChart(dc, rect, data);
  }
};

TEST_F(UpDownChart, LayersArePaintedOnceUntilTheBaseChangesAndComposedEveryTime) {
  CountingBar bar;
  const CKeloBaseChart::_SDataInfor first{50, 0, -50, 10, 100, {30}};
  const CKeloBaseChart::_SDataInfor second{50, 0, -50, 10, 100, {-30}};
  bar.DrawEasyUpDownBarChart(nullptr, CRect(0, 0, 400, 300), first);
  EXPECT_FALSE(bar.baseBmp.HasHandle()) << "a null DC paints nothing";
  bar.DrawEasyUpDownBarChart(dc.get(), CRect(0, 0, 400, 300), first);
  bar.DrawEasyUpDownBarChart(dc.get(), CRect(0, 0, 400, 300), second);
  EXPECT_EQ(std::make_pair(bar.bases, bar.updates), std::make_pair(1, 1));
  const auto blits = Blits(LogOf(*dc));
  ASSERT_EQ(blits.size(), 4u);
  EXPECT_EQ(std::make_pair(blits[0].sourceName, blits[0].useKey), std::make_pair(std::string("bar.base"), false));
  EXPECT_EQ(std::make_tuple(blits[1].sourceName, blits[1].useKey, blits[1].key),
            std::make_tuple(std::string("bar.data"), true, Background()));
  bar.OnChangeSize();
  EXPECT_FALSE(bar.dataBmp.HasHandle());
  bar.DrawEasyUpDownBarChart(dc.get(), CRect(0, 0, 400, 300), second);
  EXPECT_EQ(std::make_pair(bar.bases, bar.updates), std::make_pair(2, 2));
  Clear();
  bar.DrawEasyUpDownBarChart(dc.get(), CRect(0, 0, 60, 30), second);
  EXPECT_EQ(Fills(LogOf(*dc)), (std::vector<kelo::surface::FillRectRecord>{{CRect(0, 0, 60, 30), blits[1].key}}))
      << "an empty plot fills the target with the background";
}

}  // namespace
