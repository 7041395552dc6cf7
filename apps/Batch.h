// Rendering many files: one chart per CSV of a folder (batch mode) or every chart kind from
// the sample day (the gallery), on all cores, with a progress bar on a terminal.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "RenderRequest.h"

namespace kelo::cli {

// One picture to make: its output path (whose extension gives the format) and how to get
// its bars (read with the request's encoding); kind, when set, overrides the request's (the
// gallery draws every kind).
struct Job {
  std::string output;
  std::function<std::variant<MinuteBars, InputError>(const RenderRequest&)> bars;
  const ChartKind* kind = nullptr;
  std::optional<KLineOptions> kline;  // overrides the request's (the gallery's K-line pictures)
};

// Renders and writes one job through the request's one path to a picture; the error
// message when it failed.
std::optional<std::string> RunJob(const Job& job, const RenderRequest& request);

// Runs every job on `threads` worker threads (0: one per core), each with chart objects of
// its own. Failures are reported on stderr as they happen and the others go on. Returns
// the number of failed jobs.
std::size_t RunJobs(const std::vector<Job>& jobs, const RenderRequest& request, unsigned threads,
                    const std::string& what);

// The jobs of a batch: every *.csv of dir (sorted by name), written as outDir/<stem>.<ext>.
std::vector<Job> BatchJobs(const std::string& dir, const std::string& outDir, const std::string& extension);

// The gallery: every chart kind from the sample day, as outDir/<kind>.png.
std::vector<Job> GalleryJobs(const std::string& outDir);

// Palette brushes and other shared objects are made on first use; make them before threads
// start so that the workers only read them.
void PrepareSharedObjects();

}  // namespace kelo::cli
