#ifndef ZEMBRAX_CODERS_OUTPUTBUFFER_H_
#define ZEMBRAX_CODERS_OUTPUTBUFFER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

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

  // Takes the bytes written up to `newEnd`.
  void wrote(char* newEnd) {
    if (prefetching) prefetchNextChunk(end, newEnd);
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
  }

  const bool prefetching;
  char buffer[kChunk + kRoom];
  char* end = buffer;
  std::string result;
};

#endif  // ZEMBRAX_CODERS_OUTPUTBUFFER_H_
