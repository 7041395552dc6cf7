// Memory for full-size pixel images and PNG scanlines, which a chart needs once per picture.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelo::surface::detail {

// A buffer of at least `bytes` bytes, uninitialised (every user writes it whole before
// reading it). Large buffers are mapped in 2 MiB steps and marked for transparent huge pages:
// the first touch of an 800x600 image then costs one fault instead of about 470, which on a
// virtual machine was the largest single cost of a one-chart process. A thread keeps a few
// released buffers and hands them out again, so a batch worker that draws chart after chart
// of one size maps and faults its buffers once. Null when memory is exhausted.
std::uint8_t* AcquireBuffer(std::size_t bytes);
// Gives back a buffer of AcquireBuffer with the size it was asked for (null is ignored).
void ReleaseBuffer(std::uint8_t* buffer, std::size_t bytes);

// Owns an acquired buffer.
class ScopedBuffer {
 public:
  explicit ScopedBuffer(std::size_t bytes) : bytes_(bytes), data_(AcquireBuffer(bytes)) {}
  ~ScopedBuffer() { ReleaseBuffer(data_, bytes_); }
  ScopedBuffer(const ScopedBuffer&) = delete;
  ScopedBuffer& operator=(const ScopedBuffer&) = delete;
  std::uint8_t* data() const { return data_; }

 private:
  std::size_t bytes_;
  std::uint8_t* data_;
};

}  // namespace kelo::surface::detail
