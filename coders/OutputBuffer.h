#ifndef ZEMBRAX_CODERS_OUTPUTBUFFER_H_
#define ZEMBRAX_CODERS_OUTPUTBUFFER_H_

#include <cstddef>
#include <string>
#include <utility>

// Builds a long result a chunk at a time: writers fill a small buffer, which
// is appended to the result whenever it is nearly full. The result never has
// to be zero-filled ahead of the writing, as a string sized in advance would.
class OutputBuffer {
 public:
  // The most a writer may put at `next()` before calling `wrote`.
  static constexpr std::size_t kRoom = 1024;

  explicit OutputBuffer(std::size_t expectedSize) { result.reserve(expectedSize); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  // Where to write next; at least kRoom bytes are free there.
  char* next() { return end; }

  // Takes the bytes written up to `newEnd`.
  void wrote(char* newEnd) {
    end = newEnd;
    if (end >= buffer + kChunk) flush();
  }

  std::string finish() {
    flush();
    return std::move(result);
  }

 private:
  static constexpr std::size_t kChunk = 16 * 1024;

  void flush() {
    result.append(buffer, end);
    end = buffer;
  }

  char buffer[kChunk + kRoom];
  char* end = buffer;
  std::string result;
};

#endif  // ZEMBRAX_CODERS_OUTPUTBUFFER_H_
