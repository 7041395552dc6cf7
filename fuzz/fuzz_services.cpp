// The services under hostile values: rounding (a zero is +0.0, NaN and infinities pass),
// clock times (a valid time survives the round trip), fitted scales (strictly increasing,
// as many as promised), short texts (at most six characters for a volume, an underline
// count inside the text) and the palette pool (any index gives a colour and a brush).
#include <cmath>
#include <vector>

#include <kelochart/services/KeloDataFormat.h>
#include <kelochart/services/KeloPalette.h>
#include <kelochart/services/KeloUtility.h>

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelo::fuzz::Input in(data, size);
  std::vector<std::int32_t> scale;
  CString text, suffix;
  CKeloPalette& palette = CKeloUIObjectSingletonPool::Instance()->palette;
  while (!in.Empty()) {
    switch (in.Pick(7)) {
      case 0: {
        const double v = in.Double();
        const double r = KeloUtility::Round(v, in.Count());
        if (r == 0.0) KELO_FUZZ_CHECK(!std::signbit(r));
        if (std::isnan(v)) KELO_FUZZ_CHECK(std::isnan(r));
        if (std::isinf(v)) KELO_FUZZ_CHECK(r == v);
        if (std::isfinite(v)) KELO_FUZZ_CHECK(std::isfinite(r) && (r == 0.0 || std::signbit(r) == std::signbit(v)));
        break;
      }
      case 1: {
        const std::int32_t time = in.Int();
        std::int32_t sec = 12345, back = 0;
        if (KeloUtility::TimeToSecTick(time, sec) == 1) {
          KELO_FUZZ_CHECK(KeloUtility::SecTickToTime(back, sec) == 1 && back == time);
        } else {
          KELO_FUZZ_CHECK(sec == 0);
        }
        KeloUtility::SecTickToTime(back, in.Int());
        break;
      }
      case 2: {
        const double max = in.Double();
        KeloUtility::FindFitScale(max, scale);
        KELO_FUZZ_CHECK(static_cast<std::int32_t>(scale.size()) == KeloUtility::GetFitScaleCount());
        for (std::size_t i = 0; i < scale.size(); ++i) {
          KELO_FUZZ_CHECK(scale[i] > 0 && (i == 0 || scale[i] > scale[i - 1]));
        }
        if (max <= 2e9 && !scale.empty()) KELO_FUZZ_CHECK(static_cast<double>(scale.back()) >= max || std::isnan(max));
        break;
      }
      case 3: {
        if (in.Byte() & 1) {
          KeloUtility::VolumeFormatA(text, in.Int(), in.Int());
        } else {
          KeloUtility::VolumeFormatA(text, in.Int64(), 1);
        }
        KELO_FUZZ_CHECK(text.GetLength() <= 6);
        break;
      }
      case 4: {
        text = CString(in.Text().c_str());
        int count = -7;
        ConvertToShortPriceFormat(in.U32(), &text, &count);
        KELO_FUZZ_CHECK(count >= 0 && count <= text.GetLength());
        break;
      }
      case 5: {
        int count = -7;
        ConvertToShortVolumeFormat(in.U32(), in.Int64(), &text, &suffix, &count, 0);
        KELO_FUZZ_CHECK(count >= 0 && count <= text.GetLength());
        ConvertToShortVolumeFormat(0, in.Int64(), nullptr, &suffix, nullptr, 0);
        break;
      }
      case 6: {
        const unsigned index = in.U32() % 4096;
        (void)palette.GetLayoutColor(index);
        KELO_FUZZ_CHECK(palette.GetGPBrushByIndex(index) != nullptr);
        break;
      }
    }
  }
  return 0;
}
