// The horizontal reference lines and their labels on one chart object: price lists of 0 to
// thousands of entries, reversed and equal ranges, hostile cell counts and formats, and
// underlined labels of any text with hostile underline counts, in the caller's font or in a
// font whose holder is released or destroyed while selected. Every call leaves the caller's
// pen and font selected (the DC's stock object in place of a destroyed one).
#include <memory>
#include <vector>

#include <kelochart/chart/KeloBaseChart.h>

#include "FuzzDC.h"

using kelo::fuzz::Input;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  kelo::fuzz::Surfaces surfaces(in);
  CKeloBaseChart chart;
  for (int calls = 0; calls < kelo::fuzz::kMaxCalls && !in.Empty(); ++calls) {
    CDC* dc = surfaces.Next(in);
    const CRect rect = in.Rect();
    const unsigned op = in.Pick(7);
    if (op == 6) {  // a caller's font, released or destroyed while selected
      LOGFONT record;
      record.lfHeight = in.Int();
      record.lfWeight = in.Int();
      auto font = std::make_unique<CFont>();
      font->CreateFontIndirect(&record);
      CFont* previous = dc->SelectObject(font.get());
      if (in.Byte() & 1) font->DeleteObject();
      if (in.Byte() & 1) font.reset();
      chart.DrawUnderlineString(dc, rect, in.Int(), in.Text().c_str(), in.Text().c_str(), in.Byte() & 1);
      if (!font) KELO_FUZZ_CHECK(dc->GetCurrentFont() != nullptr && dc->GetCurrentFont()->HasHandle());
      if (previous != nullptr) dc->SelectObject(previous);
      continue;
    }
    kelo::fuzz::SelectionGuard guard(dc);
    switch (op) {
      case 0: chart.DrawHorizontalLine(dc, rect, in.Count()); break;
      case 1: {
        CKeloBaseChart::_SDataInfor info;
        info.maxValue = in.Int();
        info.baseValue = in.Int();
        info.minValue = in.Int();
        info.priceScale = in.Int();
        info.values.resize(in.Size(14, 70000));
        for (std::size_t i = 0; i < info.values.size() && i < 14; ++i) info.values[i] = in.Int();
        chart.DrawHorizontalLineWithTextByRange(dc, rect, info, in.U32());
        break;
      }
      case 2:
        chart.DrawHorizontalText(dc, rect, in.Int64(), in.Int64(), in.Count(), in.Byte() & 1, in.Byte() & 1, in.Int(),
                                 in.U32(), in.Byte() & 1, in.U32());
        break;
      case 3: chart.DrawUnderlineString(dc, rect, in.Int(), in.Text().c_str(), in.Text().c_str(), in.Byte() & 1); break;
      case 4: chart.SetLeftUnit(in.Text().c_str(), in.Byte() & 1); break;
      case 5: chart.SetIsDrawRTLine(in.Byte() & 1); break;
    }
  }
  return 0;
}
