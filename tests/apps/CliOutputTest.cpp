// The command-line tool's output side: the gallery against its golden images (drawn directly
// and through a recording), batch output byte for byte equal to single renders, whole-file
// writes, vector formats, the light theme, and the exit codes of the binary.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <kelochart/surface/RasterBackend.h>

#include "Batch.h"
#include "CsvReader.h"
#include "GoldenImage.h"
#include "SampleData.h"
#include "surface/FontAnswers.h"
#include "surface/Png.h"

namespace {

using namespace kelo::cli;
namespace fs = std::filesystem;

const std::string kData = KELOCHART_TEST_DATA_DIR;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path FreshDir(const std::string& name) {
  const fs::path dir = fs::path(kelo::test::TestOutDir()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

TEST(CliGallery, EveryKindMatchesItsGoldenImageDirectlyAndReplayed) {
  PrepareSharedObjects();
  const ChartInput in = std::get<ChartInput>(PrepareInput(SampleDay(), InputOptions{}));
  const ChartStyle style;
  for (const ChartKind& kind : ChartKinds()) {
    if (kind.multiDay) continue;  // drawn from samples of many days (KLineCliTest)
    SCOPED_TRACE(kind.name);
    auto raster = CDC::CreateRaster(style.width, style.height);
    kind.draw(raster.get(), in, style);
    EXPECT_TRUE(kelo::test::MatchesGolden(*raster, std::string("cli_") + kind.name));
    auto recording = CDC::CreateRecording(style.width, style.height);
    kind.draw(recording.get(), in, style);
    EXPECT_TRUE(kelo::test::MatchesGolden(*recording, std::string("cli_") + kind.name, 0));
  }
}

TEST(CliGallery, EveryKindDrawsExtremePricesAndVolumesWithoutFault) {
  // Prices from 0.0001 to the largest scaled price, volumes at the 32-bit top, a long gap.
  const std::string csv = Slurp(kData + "/good_extreme.csv");
  auto data = ParseMinuteBars("extreme", csv);
  ASSERT_TRUE(std::holds_alternative<MinuteBars>(data));
  const ChartInput in = std::get<ChartInput>(PrepareInput(std::get<MinuteBars>(data), InputOptions{}));
  EXPECT_EQ(in.data.priceScale, 10000);
  for (const ChartKind& kind : ChartKinds()) {
    auto raster = CDC::CreateRaster(300, 200);
    kind.draw(raster.get(), in, ChartStyle{300, 200, "", 0});
  }
}

TEST(CliBatch, BatchOutputEqualsSingleRendersByteForByte) {
  const fs::path in = FreshDir("batch-in"), out = FreshDir("batch-out"), single = FreshDir("batch-single");
  for (const char* f : {"good_sample.csv", "good_minimal.csv", "bad_order.csv"}) fs::copy(kData + "/" + f, in / f);
  for (std::uint32_t seed = 2; seed < 6; ++seed) {
    const std::string csv = (in / ("day" + std::to_string(seed) + ".csv")).string();
    std::ofstream(csv) << "time,open,high,low,close,volume\n09:01,10.00,10.05,9.95,10.00," << seed * 100 << "\n";
  }
  const ChartKind* kind = FindChartKind("intraday");
  RenderRequest settings;
  settings.kind = kind;
  settings.style.width = 400;
  settings.style.height = 300;
  const auto jobs = BatchJobs(in.string(), out.string(), "png");
  ASSERT_EQ(jobs.size(), 7u);
  EXPECT_EQ(RunJobs(jobs, settings, 2, "test"), 1u);  // the bad file is skipped, the others written
  EXPECT_FALSE(fs::exists(out / "bad_order.png"));
  for (const Job& job : BatchJobs(in.string(), single.string(), "png")) {
    const auto error = RunJob(job, settings);
    const fs::path name = fs::path(job.output).filename();
    if (error) continue;
    EXPECT_EQ(Slurp(out / name), Slurp(single / name)) << name;
    EXPECT_GT(fs::file_size(single / name), 1000u);
  }
}

TEST(CliOutput, WritesAreWholeAndFormatsFollowTheExtension) {
  const fs::path dir = FreshDir("output");
  EXPECT_NE(WriteOutput((dir / "missing" / "a.png").string(), {1, 2, 3}), std::nullopt);  // an error, no file
  EXPECT_FALSE(fs::exists(dir / "missing"));
  ASSERT_EQ(WriteOutput((dir / "a.bin").string(), {1, 2, 3}), std::nullopt);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left
  EXPECT_EQ(FormatForPath("x.PDF"), OutputFormat::kPdf);
  EXPECT_EQ(FormatForPath("-"), OutputFormat::kPng);
  EXPECT_FALSE(FormatForPath("x.jpg"));

  const ChartInput in = std::get<ChartInput>(PrepareInput(SampleDay(), InputOptions{}));
  const std::pair<OutputFormat, std::string> magic[] = {
      {OutputFormat::kPng, "\x89PNG"}, {OutputFormat::kSvg, "<?xml"}, {OutputFormat::kPdf, "%PDF"}};
  for (const auto& [format, start] : magic) {
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(
        RenderPicture([&](CDC* dc) { DrawUpDownBars(dc, in, ChartStyle{}); }, 800, 600, format, Theme::kLight, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(start.size())), start);
  }
  EXPECT_EQ(LightColorref(RGB(0, 0, 0)), RGB(255, 255, 255));
  EXPECT_EQ(LightColorref(RGB(200, 200, 200)), RGB(55, 55, 55));
  EXPECT_EQ(LightColorref(RGB(255, 60, 60)), RGB(255, 60, 60));  // dark enough already
  EXPECT_EQ(LightArgb(0x80FFFF00u) >> 24, 0x80u);
}

TEST(CliOutput, ThePngHoldsThePixelsDrawnAtEveryLevel) {
  const ChartInput in = std::get<ChartInput>(PrepareInput(SampleDay(), InputOptions{}));
  auto raster = std::make_shared<kelo::surface::RasterBackend>(400, 300);
  auto dc = CDC::FromBackend(raster);
  DrawIntraday(dc.get(), in, ChartStyle{400, 300, "", 0});
  const fs::path dir = FreshDir("png");
  for (int level : {0, 4, 12}) {
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(kelo::surface::detail::EncodeArgb32Png(raster->Data(), 400, 300, raster->Stride(), {level}, png));
    const fs::path file = dir / ("level" + std::to_string(level) + ".png");
    ASSERT_EQ(WriteOutput(file.string(), png), std::nullopt);
    kelo::surface::detail::PngImage image;
    ASSERT_TRUE(kelo::surface::detail::ReadPng(file.string(), image));
    ASSERT_EQ(image.width, 400);
    int differences = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 400; ++x) {
        differences += (image.pixels[static_cast<std::size_t>(y * 400 + x)] & 0xFFFFFFu) !=
                       (raster->GetPixelArgb(x, y) & 0xFFFFFFu);
      }
    }
    EXPECT_EQ(differences, 0);
  }
}

// Runs the tool; its exit code, with stderr in `err`.
int RunTool(const std::string& args, std::string& err, const std::string& fontAnswers = "off") {
  // One file per test process: ctest runs the tests of this program side by side.
  const std::string errFile = kelo::test::TestOutDir() + "/cli-stderr-" + std::to_string(::getpid()) + ".txt";
  const int status = std::system(("KELOCHART_FONT_ANSWERS='" + fontAnswers + "' " + std::string(KELOCHART_CLI) + " " +
                                  args + " >/dev/null 2>" + errFile)
                                     .c_str());
  err = Slurp(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliBinary, ExitCodesSayWhatWentWrongAndBadDataWritesNoImage) {
  const fs::path dir = FreshDir("binary");
  const std::string out = (dir / "x.png").string();
  std::string err;
  EXPECT_EQ(RunTool("--version", err), 0);
  EXPECT_EQ(RunTool("render intraday --help", err), 0);
  EXPECT_EQ(RunTool("render intraday -o " + out, err), 0);
  EXPECT_TRUE(fs::exists(out));
  fs::remove(out);
  EXPECT_EQ(RunTool("render intraday " + kData + "/bad_order.csv -o " + out, err), 1);
  EXPECT_EQ(err, "kelochart: " + kData +
                     "/bad_order.csv:4:1: column \"time\": 09:02:00 is not after the time of the "
                     "line before: times must increase\n");
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(RunTool("render intraday --size 5x5 -o " + out, err), 2);
  EXPECT_EQ(RunTool("render intraday --frobnicate", err), 2);
  EXPECT_EQ(RunTool("render innerouter " + kData + "/good_minimal.csv -o " + out, err), 1);
  EXPECT_NE(err.find("needs the columns \"inner\" and \"outer\""), std::string::npos) << err;
  EXPECT_EQ(RunTool("tick --category nope 10", err), 2);
}

// Fontconfig's answers kept between runs draw what asking draws: written by one run, read by
// the next, and an answer whose font file is gone is asked again.
TEST(CliBinary, KeptFontAnswersDrawWhatAskingDraws) {
  const fs::path dir = FreshDir("font-answers");
  const std::string answers = (dir / "answers").string();
  std::string err;
  auto render = [&](const std::string& setting, const std::string& name) {
    EXPECT_EQ(RunTool("render intraday --size 400x300 -o " + (dir / name).string(), err, setting), 0) << err;
    return Slurp((dir / name).string());
  };
  const std::string asked = render("off", "asked.png");
  EXPECT_FALSE(fs::exists(answers));
  EXPECT_EQ(render(answers, "writes.png"), asked);
  using namespace kelo::surface::detail;
  FontAnswers kept = ReadFontAnswers(answers, FontEnvironment());
  ASSERT_EQ(kept.answers.size(), 1u);
  EXPECT_EQ(render(answers, "reads.png"), asked);
  kept.answers.begin()->second.file = (dir / "gone.ttf").string();
  ASSERT_TRUE(WriteFontAnswers(answers, kept));
  EXPECT_EQ(render(answers, "gone.png"), asked);
  EXPECT_NE(ReadFontAnswers(answers, FontEnvironment()).answers.begin()->second.file, (dir / "gone.ttf").string());
}

}  // namespace
