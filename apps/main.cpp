// kelochart: renders trading charts from minute-bar CSV files (or the embedded sample day)
// and prints what the price-scale functions give.
//
//   kelochart render intraday [FILE.csv | -] -o OUT.png [options]
//   kelochart render KIND --batch DIR --out OUTDIR
//   kelochart gallery --out DIR
//   kelochart scale --category C --price-scale S --bottom B --base M --top T
//   kelochart tick --category C PRICE
//   kelochart sample [-o FILE.csv]
//   kelochart serve --data DIR [--host H] [--port P] [--threads N] [--cache-mb M] [--max-body-mb B]
//
// Exit codes: 0 success, 1 bad data or a failed write, 2 bad usage.
#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "Batch.h"
#include "CsvReader.h"
#include "KLineChart.h"
#include "SampleData.h"
#include "ScaleCommands.h"
#include "serve/ServeCommand.h"

namespace {

using namespace kelo::cli;

constexpr int kBadData = 1, kBadUsage = 2;

// Ends the process once a chart is written. The font configuration, the font and glyph caches
// and the chart objects would otherwise be taken apart piece by piece at exit, work that the
// process throws away a moment later; the sanitizer builds exit normally so that the leak
// check still sees every allocation.
[[noreturn]] void ExitNow(int code) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  std::exit(code);
#else
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
  std::exit(code);
#endif
#endif
  std::fflush(nullptr);
  std::_Exit(code);
#endif
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "kelochart: %s\n", message.c_str());
  return code;
}

// The tool is started once per chart by scripts: it keeps fontconfig's answers in the user's
// cache (KELOCHART_FONT_ANSWERS: another file, or "off").
void KeepFontAnswersOfTheTool() {
  const char* setting = std::getenv("KELOCHART_FONT_ANSWERS");
  const std::string path = setting == nullptr              ? kelo::surface::DefaultFontAnswersPath()
                           : std::string(setting) == "off" ? std::string()
                                                           : std::string(setting);
  kelo::surface::KeepFontAnswers(path);
}

// `serve` runs as the service's own program beside this one, with the arguments after
// `serve` (already checked here): replacing this process keeps its id, so whoever started
// `kelochart serve` signals the service itself. Returns only when the program cannot start.
int StartServe(int argc, char** argv) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path program =
      (ec ? std::filesystem::path(argv[0]) : self).parent_path() / kelo::serve::kServeProgram;
  int first = 1;
  while (first < argc && std::strcmp(argv[first], "serve") != 0) ++first;
  std::vector<char*> args{const_cast<char*>(program.c_str())};
  for (int i = first + 1; i < argc; ++i) args.push_back(argv[i]);
  args.push_back(nullptr);
  ::execv(program.c_str(), args.data());
  return Fail(kBadData, "cannot start the service's program " + program.string() + ": " + std::strerror(errno));
}

struct RenderCommand {
  const ChartKind* kind = nullptr;
  CLI::App* app = nullptr;
  std::string input, output, batch, outDir;
  // The request's options as typed, by name; applied through SetRenderOption so that the
  // command line takes exactly what the Python package and the service take.
  std::map<std::string, std::string> values;
  std::map<std::string, CLI::Option*> given;
  unsigned jobs = 0;
  bool record = false;
};

void AddRenderOptions(CLI::App& app, RenderCommand& c) {
  app.add_option("input", c.input,
                 c.kind->multiDay ? "daily bars, minute bars or trades as CSV, or - for standard input (default: the "
                                    "embedded 250 daily bars)"
                                  : "minute bars or trades as CSV, or - for standard input (default: the embedded "
                                    "sample day)");
  app.add_option("-o,--output", c.output, "output file: .png, .svg or .pdf, or - for PNG on standard output");
  for (const RenderOption& option : RenderOptions()) {
    const std::string name = option.name;
    if (name == "record") continue;  // a flag, below
    if (option.klineOnly && !c.kind->multiDay) continue;
    std::string help = option.help;
    if (name == "category") help += ": " + CategoryNames() + " (stock)";
    if (name == "format") help = "output format of --batch: png, svg or pdf (png)";
    c.given[name] = app.add_option("--" + name, c.values[name], help);
  }
  app.add_option("--batch", c.batch, "render one chart per *.csv of this folder (with --out)");
  app.add_option("--out", c.outDir, "output folder of --batch");
  app.add_option("-j,--jobs", c.jobs, "worker threads of --batch (default: one per core)");
  app.add_flag("--record", c.record, "draw on a recording and replay it (checks that the recorder loses nothing)");
}

int RunRender(RenderCommand& c) {
  RenderRequest request;
  request.kind = c.kind;
  request.viaRecording = c.record;
  for (const auto& [name, option] : c.given) {
    if (option->count() == 0) continue;
    if (auto error = SetRenderOption(request, name, c.values[name])) return Fail(kBadUsage, error->message);
  }
  if (auto error = CheckRenderRequest(request)) return Fail(kBadUsage, error->message);
  if (!c.batch.empty()) {
    if (c.outDir.empty() || !c.output.empty() || !c.input.empty()) {
      return Fail(kBadUsage, "--batch DIR takes --out OUTDIR (and no input file or -o)");
    }
    if (!std::filesystem::is_directory(c.batch)) return Fail(kBadUsage, "--batch " + c.batch + " is not a folder");
    std::error_code ec;
    std::filesystem::create_directories(c.outDir, ec);
    if (ec) return Fail(kBadData, "cannot create " + c.outDir + ": " + ec.message());
    const std::string extension = c.given["format"]->count() ? c.values["format"] : "png";
    const auto jobs = BatchJobs(c.batch, c.outDir, extension);
    if (jobs.empty()) return Fail(kBadData, "no *.csv files in " + c.batch);
    const std::size_t failed = RunJobs(jobs, request, c.jobs, "rendering");
    std::fprintf(stderr, "kelochart: %zu of %zu charts written to %s\n", jobs.size() - failed, jobs.size(),
                 c.outDir.c_str());
    return failed == 0 ? 0 : kBadData;
  }
  if (c.output.empty()) return Fail(kBadUsage, "an output file is needed: -o OUT.png (or .svg, .pdf, or - for stdout)");
  if (!FormatForPath(c.output))
    return Fail(kBadUsage, "unknown output format of " + c.output + " (use .png, .svg or .pdf)");
  Job job;
  job.output = c.output;
  job.bars = [input = c.input](const RenderRequest& r) -> std::variant<MinuteBars, InputError> {
    if (input.empty()) return r.kind->multiDay ? SampleDailyBars() : SampleDay();
    return ReadBars(r, input);
  };
  // One job on this thread: the shared objects need not be made ahead (RunJobs does that
  // for its workers), each is made when the chart first uses it.
  if (auto error = RunJob(job, request)) return Fail(kBadData, *error);
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
  CLI::App app{
      "kelochart: intraday trading charts from minute-bar CSV files, rendered to PNG, SVG or PDF.\n"
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
    commands[i].app->footer(
        std::string("Columns read: ") + kind.columns +
        ".\nThe CSV needs a header line naming its columns (time,open,high,low,close,volume"
        "[,inner,outer], or in Chinese: 時間,開盤價,最高價,最低價,收盤價,成交量); one row per "
        "trade (time,price,volume) is read too. See the README for every accepted form." +
        (kind.layered ? "\nThis chart is composed from layer bitmaps: SVG and PDF embed them as images." : ""));
    AddRenderOptions(*commands[i].app, commands[i]);
  }

  std::string galleryDir;
  unsigned galleryJobs = 0;
  CLI::App* gallery = app.add_subcommand("gallery", "render every chart kind from the sample day into a folder");
  gallery->add_option("--out", galleryDir, "output folder")->required();
  gallery->add_option("-j,--jobs", galleryJobs, "worker threads (default: one per core)");

  ScaleRequest scale;
  CLI::App* scaleCmd = app.add_subcommand("scale", "print the price axis the price-scale functions give");
  scaleCmd->footer(
      "A low above the reference (a gap-up day) or a high below it is normal: the axis is extended to "
      "include the reference, as the charts do.");
  scaleCmd->add_option("--category", scale.category, "market category: " + CategoryNames())->capture_default_str();
  scaleCmd->add_option("--price-scale", scale.priceScale, "1, 10, 100, 1000 or 10000")->capture_default_str();
  scaleCmd->add_option("--bottom", scale.bottom, "the day's raw low, e.g. 26.93")->required();
  scaleCmd->add_option("--base", scale.base, "the reference price, e.g. 30.00")->required();
  scaleCmd->add_option("--top", scale.top, "the day's raw high, e.g. 33.12")->required();

  std::string tickCategory = "stock", tickPrice;
  CLI::App* tick = app.add_subcommand("tick", "print the tick size of a price and the band it lies in");
  tick->add_option("--category", tickCategory, "market category: " + CategoryNames())->capture_default_str();
  tick->add_option("price", tickPrice, "a positive decimal price, e.g. 12.35")->required();
  tick->footer(
      "The tick is the one of the client's tick table for the category at that price; the band says up "
      "to which price it holds and what the next band's tick is.");

  std::string sampleOut = "-";
  std::uint32_t sampleSeed = 1;
  CLI::App* sample = app.add_subcommand("sample", "write the embedded sample day as CSV (the input format)");
  sample->add_option("-o,--output", sampleOut, "output file (default: standard output)");
  sample->add_option("--seed", sampleSeed, "another generated day of the same kind (1 is the sample day)");

  kelo::serve::ServeOptions serveOptions;
  CLI::App* serve =
      app.add_subcommand("serve", "serve the charts of a folder of CSV files over HTTP, with a market board");
  kelo::serve::AddServeOptions(*serve, serveOptions);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kBadUsage;
  }

  KeepFontAnswersOfTheTool();
  for (RenderCommand& c : commands) {
    if (c.app->parsed()) ExitNow(RunRender(c));
  }
  if (gallery->parsed()) {
    std::error_code ec;
    std::filesystem::create_directories(galleryDir, ec);
    if (ec) return Fail(kBadData, "cannot create " + galleryDir + ": " + ec.message());
    const auto jobs = GalleryJobs(galleryDir);
    const std::size_t failed = RunJobs(jobs, RenderRequest{}, galleryJobs, "gallery");
    for (const Job& job : jobs) std::printf("wrote %s\n", job.output.c_str());
    return failed == 0 ? 0 : kBadData;
  }
  if (scaleCmd->parsed() || tick->parsed()) {
    auto text = scaleCmd->parsed() ? ScaleText(scale) : TickText(tickCategory, tickPrice);
    if (auto* error = std::get_if<UsageError>(&text)) return Fail(kBadUsage, error->message);
    std::fputs(std::get<std::string>(text).c_str(), stdout);
    return 0;
  }
  if (serve->parsed()) return StartServe(argc, argv);
  if (sample->parsed()) {
    const std::string text = SampleCsv(sampleSeed);
    if (auto error = WriteOutput(sampleOut, std::vector<std::uint8_t>(text.begin(), text.end()))) {
      return Fail(kBadData, *error);
    }
    return 0;
  }
  return kBadUsage;
}
