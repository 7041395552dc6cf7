// Prometheus text of the service's counters.
#include "Metrics.h"

#include <cstdio>

namespace kelo::serve {

void Metrics::Record(std::string_view route, int status, double seconds, std::uint64_t bytesOut) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++requests_[{std::string(route), status}];
  std::size_t b = 0;
  while (b < kBuckets.size() && seconds > kBuckets[b]) ++b;
  ++histogram_[b];
  latencySum_ += seconds;
  bytesOut_ += bytesOut;
}

std::string Metrics::Text(std::size_t cacheBytes, std::size_t cacheEntries) const {
  std::string out;
  char line[160];
  std::lock_guard<std::mutex> lock(mutex_);
  out +=
      "# HELP kelochart_requests_total Requests answered, by route and status.\n"
      "# TYPE kelochart_requests_total counter\n";
  std::uint64_t count = 0;
  for (const auto& [key, n] : requests_) {
    std::snprintf(line, sizeof line, "kelochart_requests_total{route=\"%s\",status=\"%d\"} %llu\n", key.first.c_str(),
                  key.second, static_cast<unsigned long long>(n));
    out += line;
    count += n;
  }
  out +=
      "# HELP kelochart_request_seconds Time from the request line to the response.\n"
      "# TYPE kelochart_request_seconds histogram\n";
  std::uint64_t cumulative = 0;
  for (std::size_t b = 0; b <= kBuckets.size(); ++b) {
    cumulative += histogram_[b];
    if (b < kBuckets.size()) {
      std::snprintf(line, sizeof line, "kelochart_request_seconds_bucket{le=\"%g\"} %llu\n", kBuckets[b],
                    static_cast<unsigned long long>(cumulative));
    } else {
      std::snprintf(line, sizeof line, "kelochart_request_seconds_bucket{le=\"+Inf\"} %llu\n",
                    static_cast<unsigned long long>(cumulative));
    }
    out += line;
  }
  std::snprintf(line, sizeof line, "kelochart_request_seconds_sum %.6f\nkelochart_request_seconds_count %llu\n",
                latencySum_, static_cast<unsigned long long>(count));
  out += line;
  std::snprintf(line, sizeof line,
                "# TYPE kelochart_cache_hits_total counter\nkelochart_cache_hits_total %llu\n"
                "# TYPE kelochart_cache_misses_total counter\nkelochart_cache_misses_total %llu\n",
                static_cast<unsigned long long>(hits_.load()), static_cast<unsigned long long>(misses_.load()));
  out += line;
  std::snprintf(line, sizeof line,
                "# TYPE kelochart_cache_bytes gauge\nkelochart_cache_bytes %zu\n"
                "# TYPE kelochart_cache_entries gauge\nkelochart_cache_entries %zu\n",
                cacheBytes, cacheEntries);
  out += line;
  std::snprintf(line, sizeof line,
                "# TYPE kelochart_renders_in_flight gauge\nkelochart_renders_in_flight %lld\n"
                "# TYPE kelochart_bytes_out_total counter\nkelochart_bytes_out_total %llu\n",
                static_cast<long long>(inFlight_.load()), static_cast<unsigned long long>(bytesOut_));
  out += line;
  return out;
}

}  // namespace kelo::serve
