// Turns a fuzzer's bytes into the arguments a hostile caller passes: mostly plain values
// taken from the bytes, often the ends of the ranges (INT32_MIN, INT32_MAX, 0, -1, NaN,
// infinities, huge sizes), so that every call meets its boundaries early.
// Past the end of the input every read gives 0, which must decode to the plainest value
// (zero, empty): huge sizes hang off the byte 255, never off 0, or a short input would
// build a 65,537-entry list in every call it runs out of bytes in.
// Heavy arguments (a huge list, a count of thousands within the limits, a long text) cost
// four times all the other calls of an input together, and the fuzzer learns at once the
// byte that selects one. So an input gets at most one, and only one input in sixteen may have
// it, chosen by a hash of all its bytes (which comparison tracing cannot steer towards):
// every call still meets heavy arguments in every cache state, and executions stay cheap.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include <kelochart/surface/Rect.h>

namespace kelo::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    hash_ = hash;
    heavyLeft_ = (hash >> 28) == 0 ? 1 : 0;
  }

  // One input in 4096 (by the same hash), for arguments costing seconds under the sanitizers.
  bool Rare() const { return (hash_ >> 20) == 0; }

  bool Empty() const { return pos_ >= size_; }

  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }

  // A list length: below `small` mostly, now and then (byte 255) one of the hostile lengths
  // between huge/2 and huge, exactly huge when the input ends there.
  std::size_t Size(std::size_t small, std::size_t huge) {
    const std::uint8_t b = Byte();
    if (b != 255 || !Heavy()) return small == 0 ? 0 : b % small;
    return huge - Byte() * (huge / 512);
  }

  // Whether this input may still take its one heavy argument (and takes it).
  bool Heavy() { return heavyLeft_ > 0 && heavyLeft_-- > 0; }

  // A value in [0, n).
  unsigned Pick(unsigned n) { return n == 0 ? 0 : Byte() % n; }

  std::int32_t Int() {
    static constexpr std::int32_t kEdges[] = {0,
                                              1,
                                              -1,
                                              2,
                                              60,
                                              100,
                                              9995,
                                              86400,
                                              240000,
                                              1000000,
                                              std::numeric_limits<std::int32_t>::max(),
                                              std::numeric_limits<std::int32_t>::min(),
                                              std::numeric_limits<std::int32_t>::max() - 1,
                                              std::numeric_limits<std::int32_t>::min() + 1};
    const std::uint8_t how = Byte();
    if (how < 64) return kEdges[how % (sizeof kEdges / sizeof kEdges[0])];
    if (how < 160) return static_cast<std::int32_t>(static_cast<std::int8_t>(Byte())) * (how & 7 ? 1 : 37);
    return static_cast<std::int32_t>(U32());
  }

  // A small count or index, sometimes hostile: the ends of the range and counts past the
  // limits (cheap: they draw nothing), rarely (a heavy argument) any value at all.
  std::int32_t Count() {
    static constexpr std::int32_t kEdges[] = {std::numeric_limits<std::int32_t>::min(), -1,     0, 1, 2, 65537,
                                              std::numeric_limits<std::int32_t>::max(), 1000000};
    const std::uint8_t how = Byte();
    if (how < 232) return static_cast<std::int32_t>(how % 24) - 2;
    if (how < 255 || !Heavy()) return kEdges[how % (sizeof kEdges / sizeof kEdges[0])];
    return Int();
  }

  std::int64_t Int64() {
    if (Byte() < 64) {
      static constexpr std::int64_t kEdges[] = {0,
                                                -1,
                                                std::numeric_limits<std::int64_t>::max(),
                                                std::numeric_limits<std::int64_t>::min(),
                                                999999999999LL,
                                                100000000LL,
                                                9999};
      return kEdges[Byte() % (sizeof kEdges / sizeof kEdges[0])];
    }
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(U32()) << 32) | U32());
  }

  double Double() {
    const std::uint8_t how = Byte();
    switch (how % 16) {
      case 0: return std::numeric_limits<double>::quiet_NaN();
      case 1: return std::numeric_limits<double>::infinity();
      case 2: return -std::numeric_limits<double>::infinity();
      case 3: return -0.0;
      case 4: return std::numeric_limits<double>::max();
      case 5: return std::numeric_limits<double>::denorm_min();
      case 6: {
        std::uint64_t bits = (static_cast<std::uint64_t>(U32()) << 32) | U32();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
      }
      default: return static_cast<double>(Int()) / (how & 1 ? 1.0 : 1000.0);
    }
  }

  float Float() { return static_cast<float>(Double()); }

  // Rectangles: ordinary, empty, reversed, enormous, at the ends of the range, with sides at
  // the surface limits (16384 pixels, 64 Mpx) and one past them.
  CRect Rect() {
    switch (Byte() % 8) {
      case 0:
      case 1: return CRect(Int(), Int(), Int(), Int());
      case 2: {
        static constexpr int kSides[] = {16384, 16385, 8192, 4096, 4097, 1, 64};
        const int l = Byte() % 40, t = Byte() % 40, w = kSides[Byte() % 7], h = kSides[Byte() % 7];
        return CRect(l, t, l + w, t + h);
      }
      case 3:
      case 4: {
        const int l = static_cast<std::int8_t>(Byte());
        const int t = static_cast<std::int8_t>(Byte());
        return CRect(l, t, l - 40 + Byte() * 3, t - 40 + Byte() * 2);  // sometimes reversed
      }
      default: return CRect(Byte() % 40, Byte() % 40, 200 + Byte(), 120 + Byte());
    }
  }

  // Text of any bytes: digits and clock times mostly, sometimes invalid UTF-8 or long runs.
  std::string Text() {
    const std::uint8_t how = Byte();
    std::string s;
    if (how == 255 && Heavy()) {  // a long run now and then
      s.assign(static_cast<std::size_t>(Byte()) * 16, static_cast<char>(Byte()));
      return s;
    }
    const std::size_t n = Byte() % 20;
    for (std::size_t i = 0; i < n && !Empty(); ++i) {
      const std::uint8_t b = Byte();
      if (how < 128) {
        static const char kChars[] = "0123456789:.-+ %dsfKMB";
        s.push_back(kChars[b % (sizeof kChars - 1)]);
      } else {
        s.push_back(static_cast<char>(b));
      }
    }
    return s;
  }

 private:
  std::uint32_t hash_ = 0;
  int heavyLeft_ = 0;
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A broken promise is a finding: print it and abort, so that libFuzzer keeps the input.
#define KELO_FUZZ_CHECK(cond)                                                          \
  do {                                                                                 \
    if (!(cond)) {                                                                     \
      std::fprintf(stderr, "promise broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)

}  // namespace kelo::fuzz
