#ifndef ZEMBRAX_CODERS_BYTEMAP_H_
#define ZEMBRAX_CODERS_BYTEMAP_H_

// The byte maps of Caesar, ROT47, Atbash and LSB extraction, which the
// coders' plain loops and their wide kernels share.

#include <cstddef>

#include "Ascii.h"

namespace tables {

// Maps every byte of p[0, n) through `map`, in place. Through a plain pointer
// and count, which the stores cannot change, the compiler vectorises the loop
// for any map written without branches; inlined always, so that a kernel's
// loop takes its instructions.
template <typename Map>
[[gnu::always_inline]] inline void mapBytes(char* p, std::size_t n, Map map) {
  for (std::size_t i = 0; i < n; ++i)
    p[i] = map(p[i]);
}

// Moves `c` forward by `shift` (0..25) within its own case if it is an ASCII
// letter, and returns any other byte as it is. Branch-free, so loops over it
// vectorise.
inline char moveLetter(char c, unsigned char shift) {
  const auto byte = static_cast<unsigned char>(c);
  const unsigned char index = ascii::letterIndex(c);
  auto moved = static_cast<unsigned char>(index + shift);
  moved = moved >= 26 ? static_cast<unsigned char>(moved - 26) : moved;
  return static_cast<char>(index < 26 ? byte - index + moved : byte);
}

// Moves `c` forward by `shift` (0..254) around the cycle of the bytes
// 1..255. A zero byte is outside the cycle: it lands on the shift itself,
// or on 255 when the shift is a whole number of turns.
inline char moveAroundCycle(char c, unsigned char shift) {
  const auto byte = static_cast<unsigned char>(c);
  const auto sum = static_cast<unsigned char>(byte + shift);
  // Passing 255 skips the zero byte.
  const auto moved = static_cast<unsigned char>(sum + (sum < byte ? 1 : 0));
  const auto fromZero = static_cast<unsigned char>(shift == 0 ? 255 : shift);
  return static_cast<char>(byte == 0 ? fromZero : moved);
}

// Moves each of the 94 printable characters '!'..'~' half way round them,
// and returns every other byte as it is.
inline char rot47Byte(char c) {
  const auto place = static_cast<unsigned char>(static_cast<unsigned char>(c) - '!');
  const auto moved = static_cast<unsigned char>(place >= 47 ? place - 47 : place + 47);
  return place < 94 ? static_cast<char>('!' + moved) : c;
}

// Turns an ASCII letter into the one as far from the alphabet's other end,
// in its own case, and returns every other byte as it is.
inline char atbashByte(char c) {
  const unsigned char index = ascii::letterIndex(c);
  return index < 26 ? static_cast<char>(static_cast<unsigned char>(c) - index + (25 - index)) : c;
}

inline char lowestBit(char c) {
  return static_cast<char>('0' + (c & 1));
}

}  // namespace tables

#endif  // ZEMBRAX_CODERS_BYTEMAP_H_
