// Huge-page backed, per-thread recycled buffers for images and PNG scanlines.
#include "surface/LargeBuffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KELO_PLAIN_BUFFERS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KELO_PLAIN_BUFFERS 1
#endif

namespace kelo::surface::detail {

namespace {

#ifndef KELO_PLAIN_BUFFERS
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Smaller buffers come from the heap: a glyph window or a label strip faults little.
constexpr std::size_t kMapFrom = std::size_t{256} << 10;
// What a thread keeps for reuse: a chart's surfaces and its encoder buffers, bounded so an
// idle thread of a client holds at most this much.
constexpr std::size_t kKeepBytes = std::size_t{24} << 20;

std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

std::uint8_t* Map(std::size_t size) {
  // Mapped one huge page larger and trimmed so that the start is 2 MiB aligned: the kernel
  // backs only aligned 2 MiB ranges with huge pages.
  void* raw = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  auto* base = static_cast<std::uint8_t*>(raw);
  const auto address = reinterpret_cast<std::uintptr_t>(base);
  const std::size_t lead = (kHugePage - address % kHugePage) % kHugePage;
  if (lead != 0) ::munmap(base, lead);
  ::munmap(base + lead + size, kHugePage - lead);
  ::madvise(base + lead, size, MADV_HUGEPAGE);  // a hint: without it the buffer still works
  return base + lead;
}

// Released buffers of this thread, unmapped when the thread ends. A buffer released after
// that (a surface a static object destroys at exit) is unmapped at once: `keptGone` has no
// destructor, so it can still be read then.
thread_local bool keptGone = false;
struct Kept {
  struct Entry {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;
  };
  std::array<Entry, 8> entries{};
  std::size_t bytes = 0;
  ~Kept() {
    keptGone = true;
    for (Entry& e : entries) {
      if (e.data != nullptr) ::munmap(e.data, e.size);
    }
  }
};
thread_local Kept kept;
#endif

}  // namespace

std::uint8_t* AcquireBuffer(std::size_t bytes) {
#ifndef KELO_PLAIN_BUFFERS
  if (bytes >= kMapFrom) {
    const std::size_t size = Rounded(bytes);
    if (!keptGone) {
      for (Kept::Entry& e : kept.entries) {
        if (e.data != nullptr && e.size == size) {
          std::uint8_t* data = e.data;
          kept.bytes -= e.size;
          e = Kept::Entry{};
          return data;
        }
      }
    }
    return Map(size);
  }
#endif
  return new (std::nothrow) std::uint8_t[std::max<std::size_t>(bytes, 1)];
}

void ReleaseBuffer(std::uint8_t* buffer, std::size_t bytes) {
  if (buffer == nullptr) return;
#ifndef KELO_PLAIN_BUFFERS
  if (bytes >= kMapFrom) {
    const std::size_t size = Rounded(bytes);
    if (!keptGone && kept.bytes + size <= kKeepBytes) {
      for (Kept::Entry& e : kept.entries) {
        if (e.data == nullptr) {
          e = Kept::Entry{buffer, size};
          kept.bytes += size;
          return;
        }
      }
    }
    ::munmap(buffer, size);
    return;
  }
#endif
  delete[] buffer;
}

}  // namespace kelo::surface::detail
