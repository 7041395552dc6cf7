// kelochart: renders trading charts from minute-bar CSV files (or the embedded sample day)
// and prints what the price-scale functions give.
//
//   kelochart render intraday [FILE.csv | -] -o OUT.png [options]
//   kelochart render KIND --batch DIR --out OUTDIR
//   kelochart gallery --out DIR
//   kelochart scale --category C --price-scale S --bottom B --base M --top T
//   kelochart tick --category C PRICE
//   kelochart sample [-o FILE.csv]
//
// Exit codes: 0 success, 1 bad data or a failed write, 2 bad usage.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "Batch.h"
#include "CsvReader.h"
#include "KLineChart.h"
#include "SampleData.h"
#include "ScaleCommands.h"

namespace {

using namespace kelo::cli;

constexpr int kBadData = 1, kBadUsage = 2;

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "kelochart: %s\n", message.c_str());
  return code;
}

struct RenderCommand {
  const ChartKind* kind = nullptr;
  CLI::App* app = nullptr;
  std::string input, output, batch, outDir, size = "800x600", theme = "dark", format = "png";
  InputOptions options;
  KLineOptions kline;
  ChartStyle style;
  unsigned jobs = 0;
  bool record = false;
};

// "800x600", each side 16 to 8192.
bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  try {
    std::size_t a = 0, b = 0;
    const int w = std::stoi(text.substr(0, x), &a), h = std::stoi(text.substr(x + 1), &b);
    if (a != x || b != text.size() - x - 1 || w < 16 || h < 16 || w > 8192 || h > 8192) return false;
    width = w;
    height = h;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void AddRenderOptions(CLI::App& app, RenderCommand& c) {
  app.add_option("input", c.input, "minute-bar CSV file, or - for standard input (default: the embedded sample day)");
  app.add_option("-o,--output", c.output, "output file: .png, .svg or .pdf, or - for PNG on standard output");
  app.add_option("--category", c.options.category, "market category: " + CategoryNames())->capture_default_str();
  app.add_option("--reference", c.options.reference, "reference price (default: the first open)");
  app.add_option("--price-scale", c.options.priceScale,
                 "prices are whole numbers of 1/SCALE: 1, 10, 100, 1000 or 10000 (default: from the data's decimals)");
  app.add_option("--session", c.options.session,
                 "trading session HH:MM-HH:MM, across midnight as 15:00-05:00 (default: 09:00-13:30 for stocks, "
                 "08:45-13:45 for futures and options)");
  app.add_option("--size", c.size, "picture size WIDTHxHEIGHT")->capture_default_str();
  app.add_option("--font", c.style.fontFace, "label font face (default: DejaVu Sans Mono)");
  app.add_option("--font-size", c.style.fontSize, "label font em height in pixels (default: 12)");
  app.add_option("--theme", c.theme, "palette: dark or light")->capture_default_str();
  app.add_option("--batch", c.batch, "render one chart per *.csv of this folder (with --out)");
  app.add_option("--out", c.outDir, "output folder of --batch");
  app.add_option("--format", c.format, "output format of --batch: png, svg or pdf")->capture_default_str();
  app.add_option("-j,--jobs", c.jobs, "worker threads of --batch (default: one per core)");
  app.add_flag("--record", c.record, "draw on a recording and replay it (checks that the recorder loses nothing)");
}

int RunRender(RenderCommand& c) {
  if (!ParseSize(c.size, c.style.width, c.style.height)) {
    return Fail(kBadUsage, "--size must be WIDTHxHEIGHT with sides 16 to 8192, not " + c.size);
  }
  auto theme = ParseTheme(c.theme);
  if (!theme) return Fail(kBadUsage, "--theme must be dark or light, not " + c.theme);
  if (!FindCategory(c.options.category)) {
    return Fail(kBadUsage, "unknown category \"" + c.options.category + "\" (one of " + CategoryNames() + ")");
  }
  if (auto error = CheckKLineOptions(c.kline)) return Fail(kBadUsage, *error);
  const RenderSettings settings{c.style, *theme, c.record};
  if (!c.batch.empty()) {
    if (c.outDir.empty() || !c.output.empty() || !c.input.empty()) {
      return Fail(kBadUsage, "--batch DIR takes --out OUTDIR (and no input file or -o)");
    }
    if (c.format != "png" && c.format != "svg" && c.format != "pdf") {
      return Fail(kBadUsage, "--format must be png, svg or pdf, not " + c.format);
    }
    if (!std::filesystem::is_directory(c.batch)) return Fail(kBadUsage, "--batch " + c.batch + " is not a folder");
    std::error_code ec;
    std::filesystem::create_directories(c.outDir, ec);
    if (ec) return Fail(kBadData, "cannot create " + c.outDir + ": " + ec.message());
    const auto jobs = BatchJobs(c.batch, c.outDir, c.format, c.kind, c.options, c.kline);
    if (jobs.empty()) return Fail(kBadData, "no *.csv files in " + c.batch);
    const std::size_t failed = RunJobs(jobs, settings, c.jobs, "rendering");
    std::fprintf(stderr, "kelochart: %zu of %zu charts written to %s\n", jobs.size() - failed, jobs.size(),
                 c.outDir.c_str());
    return failed == 0 ? 0 : kBadData;
  }
  if (c.output.empty()) return Fail(kBadUsage, "an output file is needed: -o OUT.png (or .svg, .pdf, or - for stdout)");
  if (!FormatForPath(c.output)) return Fail(kBadUsage, "unknown output format of " + c.output + " (use .png, .svg or .pdf)");
  Job job;
  job.kind = c.kind;
  job.output = c.output;
  const std::string input = c.input;
  const InputOptions options = c.options;
  const KLineOptions kline = c.kline;
  const ChartKind* kind = c.kind;
  job.input = [input, options, kline, kind]() -> std::variant<ChartInput, InputError> {
    if (input.empty()) return PrepareForKind(*kind, kind->multiDay ? SampleDailyBars() : SampleDay(), options, kline);
    auto text = ReadInput(input);
    if (auto* error = std::get_if<InputError>(&text)) return *error;
    auto data = ParseMinuteBars(input == "-" ? "<stdin>" : input, std::get<std::string>(text));
    if (auto* error = std::get_if<InputError>(&data)) return *error;
    return PrepareForKind(*kind, std::move(std::get<MinuteBars>(data)), options, kline);
  };
  PrepareSharedObjects();
  if (auto error = RunJob(job, settings)) return Fail(kBadData, *error);
  if (c.output != "-") std::printf("wrote %s\n", c.output.c_str());
  return 0;
}

std::string SampleCsv(std::uint32_t seed) {
  const MinuteBars day = SampleDay(seed);
  std::string text = "time,open,high,low,close,volume,inner,outer\n";
  for (const MinuteBar& b : day.bars) {
    text += FormatClock(b.time) + "," + FormatPrice(b.open, 100) + "," + FormatPrice(b.high, 100) + "," +
            FormatPrice(b.low, 100) + "," + FormatPrice(b.close, 100) + "," + std::to_string(b.volume) + "," +
            std::to_string(b.inner) + "," + std::to_string(b.outer) + "\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kelochart: intraday trading charts from minute-bar CSV files, rendered to PNG, SVG or PDF.\n"
               "Without a file every chart is drawn from an embedded sample trading day."};
  app.set_version_flag("--version", "kelochart 0.1.0");
  app.require_subcommand(1);

  CLI::App* render = app.add_subcommand("render", "render one chart kind from a CSV file, stdin or the sample day");
  render->require_subcommand(1);
  std::vector<RenderCommand> commands(ChartKinds().size());
  for (std::size_t i = 0; i < ChartKinds().size(); ++i) {
    const ChartKind& kind = ChartKinds()[i];
    commands[i].kind = &kind;
    commands[i].app = render->add_subcommand(kind.name, std::string(kind.summary) + ".");
    commands[i].app->footer(std::string("Columns read: ") + kind.columns +
                            ".\nThe CSV needs a header line naming its columns (time,open,high,low,close,volume"
                            "[,inner,outer]); times HH:MM or HH:MM:SS, decimal prices." +
                            (kind.layered ? "\nThis chart is composed from layer bitmaps: SVG and PDF embed them as images."
                                          : ""));
    AddRenderOptions(*commands[i].app, commands[i]);
    if (kind.multiDay) AddKLineOptions(*commands[i].app, commands[i].kline);
  }

  std::string galleryDir;
  unsigned galleryJobs = 0;
  CLI::App* gallery = app.add_subcommand("gallery", "render every chart kind from the sample day into a folder");
  gallery->add_option("--out", galleryDir, "output folder")->required();
  gallery->add_option("-j,--jobs", galleryJobs, "worker threads (default: one per core)");

  ScaleRequest scale;
  CLI::App* scaleCmd = app.add_subcommand("scale", "print the price axis the price-scale functions give");
  scaleCmd->add_option("--category", scale.category, "market category: " + CategoryNames())->capture_default_str();
  scaleCmd->add_option("--price-scale", scale.priceScale, "1, 10, 100, 1000 or 10000")->capture_default_str();
  scaleCmd->add_option("--bottom", scale.bottom, "the day's raw low, e.g. 26.93")->required();
  scaleCmd->add_option("--base", scale.base, "the reference price, e.g. 30.00")->required();
  scaleCmd->add_option("--top", scale.top, "the day's raw high, e.g. 33.12")->required();

  std::string tickCategory = "stock", tickPrice;
  CLI::App* tick = app.add_subcommand("tick", "print the tick size of a price and the band it lies in");
  tick->add_option("--category", tickCategory, "market category: " + CategoryNames())->capture_default_str();
  tick->add_option("price", tickPrice, "a decimal price, e.g. 12.35")->required();

  std::string sampleOut = "-";
  std::uint32_t sampleSeed = 1;
  CLI::App* sample = app.add_subcommand("sample", "write the embedded sample day as CSV (the input format)");
  sample->add_option("-o,--output", sampleOut, "output file (default: standard output)");
  sample->add_option("--seed", sampleSeed, "another generated day of the same kind (1 is the sample day)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kBadUsage;
  }

  for (RenderCommand& c : commands) {
    if (c.app->parsed()) return RunRender(c);
  }
  if (gallery->parsed()) {
    std::error_code ec;
    std::filesystem::create_directories(galleryDir, ec);
    if (ec) return Fail(kBadData, "cannot create " + galleryDir + ": " + ec.message());
    const auto jobs = GalleryJobs(galleryDir);
    const std::size_t failed = RunJobs(jobs, RenderSettings{}, galleryJobs, "gallery");
    for (const Job& job : jobs) std::printf("wrote %s\n", job.output.c_str());
    return failed == 0 ? 0 : kBadData;
  }
  if (scaleCmd->parsed() || tick->parsed()) {
    auto text = scaleCmd->parsed() ? ScaleText(scale) : TickText(tickCategory, tickPrice);
    if (auto* error = std::get_if<UsageError>(&text)) return Fail(kBadUsage, error->message);
    std::fputs(std::get<std::string>(text).c_str(), stdout);
    return 0;
  }
  if (sample->parsed()) {
    const std::string text = SampleCsv(sampleSeed);
    if (auto error = WriteOutput(sampleOut, std::vector<std::uint8_t>(text.begin(), text.end()))) {
      return Fail(kBadData, *error);
    }
    return 0;
  }
  return kBadUsage;
}
