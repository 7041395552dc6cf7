// Counted graphics start-up: every chart object starts the graphics service in its
// constructor and stops it in its destructor, so the service stays up while any chart lives.
#include <kelochart/services/KeloUtility.h>

#include <atomic>

namespace {
// Chart objects live on user-interface threads, possibly more than one: count atomically.
std::atomic<int> gdiplusUseCount{0};
}  // namespace

int GdiplusInitialize() { return gdiplusUseCount.fetch_add(1, std::memory_order_acq_rel) + 1; }

int GdiplusFinalize() {
  // An unmatched finalize never drives the count below zero: a later initialize must
  // start the service again, not merely cancel a debt.
  int count = gdiplusUseCount.load(std::memory_order_acquire);
  while (count > 0 && !gdiplusUseCount.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel)) {
  }
  return count > 0 ? count - 1 : 0;
}

namespace KeloUtility {
int GdiplusUseCount() { return gdiplusUseCount.load(std::memory_order_acquire); }
}  // namespace KeloUtility
