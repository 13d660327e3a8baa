// The byte-map kernels of a tier: plain loops that the compiler vectorises
// with the instructions of the file that includes this one, which defines
// WIDE as their target attribute first. They map in place, where one pointer
// leaves the compiler no overlap to allow for.

#ifndef WIDE
#error "define WIDE as the target attribute of the tier before including ByteMaps.h"
#endif

template <typename Map>
WIDE Progress mapEach(const char* in, std::size_t n, char* out, Map map) {
  if (out != in) std::memmove(out, in, n);
  tables::mapBytes(out, n, map);
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
