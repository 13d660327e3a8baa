#ifndef ZEMBRAX_CODERS_OUTPUTBUFFER_H_
#define ZEMBRAX_CODERS_OUTPUTBUFFER_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "kernels/Kernels.h"

// Builds a long result a chunk at a time: writers fill a small buffer, which
// is appended to the result whenever it is nearly full. The result never has
// to be zero-filled ahead of the writing, as a string sized in advance would.
// For a result too big for the caches, the memory that the next chunk will
// fill is asked for while this one is written, so appending need not wait.
class OutputBuffer {
 public:
  // The most a writer may put at `next()` before calling `wrote`.
  static constexpr std::size_t kRoom = 1024;

  explicit OutputBuffer(std::size_t expectedSize) : prefetching(expectedSize >= kLargeSize) {
    result.reserve(expectedSize);
  }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // Where to write next; at least kRoom bytes are free there.
  char* next() { return end; }

  // The same, for a writer that will put up to `coming` bytes there: the
  // memory they go to is asked for before they are written.
  char* next(std::size_t coming) {
    if (prefetching) {
      prefetchNextChunk(std::max(end, prefetched), end + coming);
      prefetched = end + coming;
    }
    return end;
  }

  // Takes the bytes written up to `newEnd`.
  void wrote(char* newEnd) {
    if (prefetching && newEnd > prefetched) prefetchNextChunk(std::max(end, prefetched), newEnd);
    end = newEnd;
    if (end >= buffer + kChunk) flush();
  }

  std::string finish() {
    flush();
    return std::move(result);
  }

 private:
  static constexpr std::size_t kChunk = 16 * 1024;
  // Beyond the caches of one core.
  static constexpr std::size_t kLargeSize = 4 << 20;

  // Prefetches, for writing, the lines of the result that the bytes from
  // `from` to `to` of the buffer will fill at the next chunk's place. Those
  // lie in the result's reserved room, past its end, so they are reckoned as
  // plain addresses; a prefetch never faults.
  void prefetchNextChunk(const char* from, const char* to) const {
    const auto address = [](const void* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const std::uintptr_t shift = address(result.data()) + result.size() + kChunk - address(buffer);
    for (std::uintptr_t line = (address(from) + shift) & ~std::uintptr_t{63};
         line < address(to) + shift; line += 64) {
      __builtin_prefetch(reinterpret_cast<const void*>(line), 1);
    }
  }

  void flush() {
    result.append(buffer, end);
    end = buffer;
    prefetched = buffer;
  }

  const bool prefetching;
  char buffer[kChunk + kRoom];
  char* end = buffer;
  char* prefetched = buffer;  // the end of what `next` asked for ahead
  std::string result;
};

// Runs an encoder kernel over `text` into `out`, in runs of whole blocks of
// `block` bytes whose output (at most `blockOutput` bytes a block) fits the
// buffer's room. Returns where the kernel stopped; the plain loop goes on
// from there.
template <typename Kernel, typename... Options>
std::size_t runKernel(Kernel kernel, std::string_view text, OutputBuffer& out, std::size_t block,
                      std::size_t blockOutput, Options... options) {
  const std::size_t run = OutputBuffer::kRoom / blockOutput * block;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t take = std::min(run, text.size() - i);
    char* o = out.next((take + block - 1) / block * blockOutput);
    const kernels::Progress done = kernel(text.data() + i, take, o, options...);
    out.wrote(o + done.written);
    i += done.read;
    if (done.read < take) break;
  }
  return i;
}

#endif  // ZEMBRAX_CODERS_OUTPUTBUFFER_H_
