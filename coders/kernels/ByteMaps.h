// The byte-map kernels of a tier: plain loops that the compiler vectorises
// with the instructions of the file that includes this one, which defines
// WIDE as their target attribute first. They map in place, where one pointer
// leaves the compiler no overlap to allow for.

#ifndef WIDE
#error "define WIDE as the target attribute of the tier before including ByteMaps.h"
#endif

constexpr std::size_t kCacheLine = 64;

// How many bytes from `p` to the next cache line: 0 on one.
inline std::size_t bytesToLine(const char* p) {
  return (kCacheLine - reinterpret_cast<std::uintptr_t>(p) % kCacheLine) % kCacheLine;
}

// Maps a head up to the next cache line of `out` first, and the rest in
// whole lines, whose loads and stores never straddle two lines.
template <typename Map>
WIDE Progress mapEach(const char* in, std::size_t n, char* out, Map map) {
  if (out != in) std::memmove(out, in, n);
  const std::size_t head = std::min(n, bytesToLine(out));
  tables::mapBytes(out, head, map);
  // A text that ends before the line is all head.
  if (head < n) tables::mapBytes(std::assume_aligned<kCacheLine>(out + head), n - head, map);
  return {n, n};
}

WIDE Progress caesarShift(const char* in, std::size_t n, char* out, unsigned char shift) {
  return mapEach(in, n, out, [shift](char c) { return tables::moveLetter(c, shift); });
}

WIDE Progress caesarShiftFull(const char* in, std::size_t n, char* out, unsigned char shift) {
  return mapEach(in, n, out, [shift](char c) { return tables::moveAroundCycle(c, shift); });
}

WIDE Progress bitwise(const char* in, std::size_t n, char* out, unsigned char value,
                      BitOperation operation) {
  switch (operation) {
    case BitOperation::bitAnd:
      return mapEach(in, n, out, [value](char c) { return static_cast<char>(c & value); });
    case BitOperation::bitOr:
      return mapEach(in, n, out, [value](char c) { return static_cast<char>(c | value); });
    case BitOperation::bitXor:
      return mapEach(in, n, out, [value](char c) { return static_cast<char>(c ^ value); });
  }
  return {0, 0};
}

WIDE Progress lsbExtract(const char* in, std::size_t n, char* out) {
  return mapEach(in, n, out, tables::lowestBit);
}

WIDE Progress rot47(const char* in, std::size_t n, char* out) {
  return mapEach(in, n, out, tables::rot47Byte);
}

WIDE Progress atbash(const char* in, std::size_t n, char* out) {
  return mapEach(in, n, out, tables::atbashByte);
}
