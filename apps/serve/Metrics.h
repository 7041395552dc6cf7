// The service's counters in the Prometheus text format: requests by route and status, a
// latency histogram, cache hits and misses, renders in flight and bytes sent. Routes are the
// fixed labels of RouteLabel and statuses three digits, so no request can grow the series.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace kelo::serve {

class Metrics {
 public:
  // Bucket bounds of the latency histogram, in seconds.
  static constexpr std::array<double, 10> kBuckets = {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 1, 5};

  void Record(std::string_view route, int status, double seconds, std::uint64_t bytesOut);
  void CacheHit() { hits_.fetch_add(1, std::memory_order_relaxed); }
  void CacheMiss() { misses_.fetch_add(1, std::memory_order_relaxed); }

  // Counts a render from construction to destruction.
  class Rendering {
   public:
    explicit Rendering(Metrics& m) : m_(m) { m_.inFlight_.fetch_add(1, std::memory_order_relaxed); }
    ~Rendering() { m_.inFlight_.fetch_sub(1, std::memory_order_relaxed); }
    Rendering(const Rendering&) = delete;
    Rendering& operator=(const Rendering&) = delete;

   private:
    Metrics& m_;
  };

  std::string Text(std::size_t cacheBytes, std::size_t cacheEntries) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::pair<std::string, int>, std::uint64_t> requests_;
  std::array<std::uint64_t, kBuckets.size() + 1> histogram_{};  // the last is +Inf
  double latencySum_ = 0;
  std::uint64_t bytesOut_ = 0;
  std::atomic<std::uint64_t> hits_{0}, misses_{0};
  std::atomic<std::int64_t> inFlight_{0};
};

}  // namespace kelo::serve
