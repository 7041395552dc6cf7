// The free price-scale functions under hostile prices, scales and categories: a scale list
// always runs from the bottom price through the base to the top with at most 11 entries,
// a category above 16 gives no tick and leaves the band limit alone.
#include <algorithm>
#include <vector>

#include <kelochart/calculate/KeloChartCalculate.h>

#include "FuzzInput.h"

using namespace KeloChartCalculate;

namespace {

void CheckScale(const std::vector<std::int32_t>& lines, std::int32_t top, std::int32_t base, std::int32_t bottom) {
  KELO_FUZZ_CHECK(lines.size() >= 3 && lines.size() <= 11);
  KELO_FUZZ_CHECK(lines.front() == bottom);
  KELO_FUZZ_CHECK(lines.back() == top);
  KELO_FUZZ_CHECK(std::find(lines.begin(), lines.end(), base) != lines.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelo::fuzz::Input in(data, size);
  std::vector<std::int32_t> lines;  // one list for the whole input: its old content must go
  while (!in.Empty()) {
    const unsigned category = in.Byte() < 200 ? in.Pick(18) : in.U32();
    switch (in.Pick(4)) {
      case 0: {
        double limit = 12345.0;
        const double tick = FindOneSideJumpPrice(in.Double(), category, limit);
        if (category > 16) KELO_FUZZ_CHECK(tick == 0.0 && limit == 12345.0);
        KELO_FUZZ_CHECK(!(tick < 0.0));
        break;
      }
      case 1: {
        const std::int32_t price = in.Int(), scale = in.Int();
        const std::int32_t max = GetReasonableMaxPrice(price, scale, category);
        const std::int32_t min = GetReasonableMinPrice(price, scale, category);
        if (category > 16) KELO_FUZZ_CHECK(max == price && min == price);
        break;
      }
      case 2:
      case 3: {
        const std::int32_t top = in.Int(), base = in.Int(), bottom = in.Int(), scale = in.Int();
        const bool overlap = in.Byte() & 1;
        const double tick = overlap ? GetOverlapReasonablePrice(top, base, bottom, scale, category, lines)
                                    : GetReasonablePrice(top, base, bottom, scale, category, lines);
        KELO_FUZZ_CHECK(!(tick < 0.0));
        CheckScale(lines, top, base, bottom);
        break;
      }
    }
  }
  return 0;
}
