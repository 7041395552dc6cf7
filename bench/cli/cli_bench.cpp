// The command-line tool end to end: an intraday pane pair from a CSV file to PNG bytes in
// memory (read, parse, check, draw, encode), and the PNG encoder's levels on the finished picture.
//   KELOCHART_BENCH_CSV=file.csv kelochart_cli_bench   (default: the embedded sample day)
#include <benchmark/benchmark.h>

#include <cstdlib>

#include <kelochart/surface/RasterBackend.h>

#include "Batch.h"
#include "CsvReader.h"
#include "SampleData.h"
#include "surface/Png.h"

namespace {

using namespace kelo::cli;

ChartInput LoadInput(const char* path) {
  if (path == nullptr) return std::get<ChartInput>(PrepareInput(SampleDay(), InputOptions{}));
  auto data = ParseMinuteBars(path, std::get<std::string>(ReadInput(path)));
  return std::get<ChartInput>(PrepareInput(std::get<MinuteBars>(data), InputOptions{}));
}

void BM_CliIntradayEndToEnd(benchmark::State& state) {
  const char* path = std::getenv("KELOCHART_BENCH_CSV");
  PrepareSharedObjects();
  const ChartStyle style{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), "", 0};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const ChartInput in = LoadInput(path);
    std::vector<std::uint8_t> png;
    RenderPicture([&](CDC* dc) { DrawIntraday(dc, in, style); }, style.width, style.height, OutputFormat::kPng,
                  Theme::kDark, png);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_CliIntradayEndToEnd)->Args({800, 600})->Args({400, 300})->Unit(benchmark::kMillisecond);

// The steps alone at 800x600: drawing only, and encoding only with each encoder.
void BM_CliIntradayDrawOnly(benchmark::State& state) {
  const ChartInput in = LoadInput(std::getenv("KELOCHART_BENCH_CSV"));
  PrepareSharedObjects();
  for (auto _ : state) {
    kelo::surface::RasterBackend raster(800, 600, 0xFFFFFF);
    auto dc = CDC::FromBackend(std::shared_ptr<kelo::surface::SurfaceBackend>(&raster, [](auto*) {}));
    DrawIntraday(dc.get(), in, ChartStyle{});
    benchmark::DoNotOptimize(raster.Data());
  }
}
BENCHMARK(BM_CliIntradayDrawOnly)->Unit(benchmark::kMillisecond);

void BM_CliPngEncode(benchmark::State& state) {
  const ChartInput in = LoadInput(std::getenv("KELOCHART_BENCH_CSV"));
  const int width = static_cast<int>(state.range(1)), height = width * 3 / 4;
  auto raster = std::make_shared<kelo::surface::RasterBackend>(width, height, 0xFFFFFF);
  auto dc = CDC::FromBackend(raster);
  DrawIntraday(dc.get(), in, ChartStyle{width, height, "", 0});
  kelo::surface::detail::PngSettings settings;
  settings.level = static_cast<int>(state.range(0));
  std::vector<std::uint8_t> png;
  for (auto _ : state) {
    kelo::surface::detail::EncodeArgb32Png(raster->Data(), width, height, raster->Stride(), settings, png);
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["png_bytes"] = static_cast<double>(png.size());
}
// {libdeflate level, width}
BENCHMARK(BM_CliPngEncode)
    ->Args({1, 800})
    ->Args({2, 800})
    ->Args({4, 800})
    ->Args({6, 800})
    ->Args({1, 400})
    ->Args({2, 400})
    ->Args({4, 400})
    ->Unit(benchmark::kMillisecond);

}  // namespace
