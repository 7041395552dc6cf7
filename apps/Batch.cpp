// Batch and gallery rendering on worker threads.
#include "Batch.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

#include "CsvReader.h"
#include "KLineChart.h"
#include "SampleData.h"

namespace kelo::cli {

namespace {

// A one-line progress bar on stderr, shown only on a terminal and only once the work has
// run for a second.
class Progress {
 public:
  Progress(std::size_t total, std::string what)
      : total_(total), what_(std::move(what)), enabled_(::isatty(STDERR_FILENO) != 0),
        start_(std::chrono::steady_clock::now()) {}
  void Step(std::size_t done) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(1) || (now - last_ < std::chrono::milliseconds(100) && done < total_))
      return;
    last_ = now;
    const int width = 30, filled = static_cast<int>(width * done / std::max<std::size_t>(total_, 1));
    std::fprintf(stderr, "\r%s [%.*s%*s] %zu/%zu", what_.c_str(), filled, "##############################",
                 width - filled, "", done, total_);
    shown_ = true;
  }
  // Clears the bar before a message so that it does not run into it.
  void Clear() {
    if (shown_) std::fprintf(stderr, "\r\033[K");
    shown_ = false;
  }
  ~Progress() {
    if (shown_) std::fprintf(stderr, "\n");
  }

 private:
  std::size_t total_;
  std::string what_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace

void PrepareSharedObjects() {
  CKeloBaseCurve curve;
  CKeloBaseBar bar;
  auto& palette = CKeloUIObjectSingletonPool::Instance()->palette;
  for (unsigned i = 0; i < CKeloPalette::kColorTableSize; ++i) palette.GetGPBrushByIndex(i);
  std::vector<std::int32_t> fit;
  KeloUtility::FindFitScale(1000.0, fit);
}

std::optional<std::string> RunJob(const Job& job, const RenderRequest& request) {
  auto format = FormatForPath(job.output);
  if (!format) return "unknown output format of " + job.output + " (use .png, .svg or .pdf)";
  auto bars = job.bars(request);
  if (auto* error = std::get_if<InputError>(&bars)) return error->Text();
  RenderRequest r = request;
  if (job.kind) r.kind = job.kind;
  if (job.kline) r.kline = *job.kline;
  r.format = *format;
  std::vector<std::string> notes;
  auto result = RenderBars(r, std::move(std::get<MinuteBars>(bars)), &notes);
  for (const std::string& note : notes) std::fprintf(stderr, "kelochart: %s\n", note.c_str());
  if (auto* error = std::get_if<InputError>(&result)) return error->Text();
  return WriteOutput(job.output, std::get<std::vector<std::uint8_t>>(result));
}

std::size_t RunJobs(const std::vector<Job>& jobs, const RenderRequest& request, unsigned threads,
                    const std::string& what) {
  PrepareSharedObjects();
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(jobs.size(), 1)));
  std::atomic<std::size_t> next{0};
  std::size_t done = 0, failed = 0;
  std::mutex mutex;
  Progress progress(jobs.size(), what);
  auto work = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      auto error = RunJob(jobs[i], request);
      std::lock_guard<std::mutex> lock(mutex);
      ++done;
      if (error) {
        ++failed;
        progress.Clear();
        std::fprintf(stderr, "kelochart: %s (skipped)\n", error->c_str());
      }
      progress.Step(done);
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& t : pool) t.join();
  return failed;
}

std::vector<Job> BatchJobs(const std::string& dir, const std::string& outDir, const std::string& extension) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    if (entry.path().extension() == ".csv" || entry.path().extension() == ".CSV") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<Job> jobs;
  for (const fs::path& file : files) {
    Job job;
    job.output = (fs::path(outDir) / file.stem()).string() + "." + extension;
    job.bars = [path = file.string()](const RenderRequest& request) { return ReadBars(request, path); };
    jobs.push_back(std::move(job));
  }
  return jobs;
}

std::vector<Job> GalleryJobs(const std::string& outDir) {
  std::vector<Job> jobs;
  for (const ChartKind& kind : ChartKinds()) {
    if (kind.multiDay) {
      for (const KLineGalleryEntry& entry : KLineGallery()) {
        Job job;
        job.kind = &kind;
        job.output = (std::filesystem::path(outDir) / entry.file).string() + ".png";
        job.kline = entry.options;
        job.bars = [intraday = entry.intraday](const RenderRequest&) -> std::variant<MinuteBars, InputError> {
          return intraday ? SampleDays() : SampleDailyBars();
        };
        jobs.push_back(std::move(job));
      }
      continue;
    }
    Job job;
    job.kind = &kind;
    job.output = (std::filesystem::path(outDir) / kind.name).string() + ".png";
    job.bars = [](const RenderRequest&) -> std::variant<MinuteBars, InputError> { return SampleDay(); };
    jobs.push_back(std::move(job));
  }
  return jobs;
}

}  // namespace kelo::cli
