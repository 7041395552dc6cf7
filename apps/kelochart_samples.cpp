// kelochart-samples: renders sample charts of what the library draws into a folder, and
// prints the price scale it computes for the sample instrument.
//
//   kelochart-samples [OUT_DIR]     (default: out)
#include "SampleCharts.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using namespace kelo::samples;

void PrintPriceAxis(const SampleInstrument& s, const PriceAxis& axis) {
  std::printf("price axis of the sample stock (reference %.2f, raw high %.2f, raw low %.2f):\n",
              s.reference / 100.0, s.rawHigh / 100.0, s.rawLow / 100.0);
  std::printf("  reasonable top %.2f, bottom %.2f, tick %.2f\n  scale:", axis.top / 100.0,
              axis.bottom / 100.0, axis.tick);
  for (auto p : axis.scale) std::printf(" %.2f", p / 100.0);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::printf("usage: kelochart-samples [OUT_DIR]\n"
                "Renders the sample charts as PNG files into OUT_DIR (default: out) and prints\n"
                "the price scale computed for the sample stock.\n");
    return 0;
  }
  std::filesystem::path dir = argc > 1 ? argv[1] : "out";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "kelochart-samples: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
    return 1;
  }

  SampleInstrument stock;
  PriceAxis axis = ComputePriceAxis(stock);
  PrintPriceAxis(stock, axis);

  struct Job {
    const char* file;
    bool ok;
  };
  auto frame = CDC::CreateRaster(kFrameWidth, kFrameHeight);
  DrawFrameSample(frame.get());
  auto intraday = CDC::CreateRaster(kIntradayWidth, kIntradayHeight);
  DrawIntradayFrameSample(intraday.get(), stock, axis);
  Job jobs[] = {
      {"frame.png", frame->WritePng((dir / "frame.png").string())},
      {"intraday_frame.png", intraday->WritePng((dir / "intraday_frame.png").string())},
  };
  int failures = 0;
  for (const auto& job : jobs) {
    std::printf("%s %s\n", job.ok ? "wrote" : "FAILED to write", (dir / job.file).c_str());
    failures += job.ok ? 0 : 1;
  }
  return failures == 0 ? 0 : 1;
}
