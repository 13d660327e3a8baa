#ifndef ZEMBRAX_CODERS_KERNELS_KERNELTABLE_H_
#define ZEMBRAX_CODERS_KERNELS_KERNELTABLE_H_

// The table of kernels that each instruction set fills. Every kernel has
// one contract:
//
//   Progress kernel(const char* in, std::size_t n, char* out, options...)
//
// It codes a leading part of in[0, n) to `out` and says how many bytes it
// read and wrote. It may stop anywhere (before a partial block, before input
// it leaves to the plain loop, or at once), and the caller's plain loop goes
// on from there; read == n means it did all. It reads no byte outside
// in[0, n), and `out` has room for the most that any n bytes can become, not
// one byte more: n for the byte maps and decoders, 4 for every 3 (rounded
// up) for Base64, 8 for every 5 (rounded down) for Base32, 3n for URL and
// hexadecimal, 4n for octal, 5n for decimal, width * n for binary, 8n for Morse. Where the
// output never overtakes the input (byte maps and decoders), `out` may be
// `in` or trail it in the same buffer.

#include <cstddef>

namespace kernels {

struct Progress {
  std::size_t read;
  std::size_t written;
};

enum class BitOperation { bitAnd, bitOr, bitXor };

struct Kernels {
  // The name of the instruction set, for reports.
  const char* name;

  // Byte maps: a head up to the next cache line of `out` first, then whole
  // lines, so that where the text starts costs nothing. `shift` is 0..25 for
  // the letters, 0..254 around 1..255 for the full cycle; `table` has 256
  // entries.
  Progress (*caesarShift)(const char* in, std::size_t n, char* out, unsigned char shift);
  Progress (*caesarShiftFull)(const char* in, std::size_t n, char* out, unsigned char shift);
  Progress (*bitwise)(const char* in, std::size_t n, char* out, unsigned char value,
                      BitOperation operation);
  Progress (*lsbExtract)(const char* in, std::size_t n, char* out);
  Progress (*substitute)(const char* in, std::size_t n, char* out, const unsigned char* table);
  Progress (*rot47)(const char* in, std::size_t n, char* out);
  Progress (*atbash)(const char* in, std::size_t n, char* out);
  // `steps` holds the key's forward steps repeated to keyLength + 64 bytes;
  // `position` is the place in the key of the next letter, kept up to date.
  Progress (*vigenere)(const char* in, std::size_t n, char* out, const char* steps,
                       std::size_t keyLength, std::size_t& position);

  // Encoders, in whole blocks.
  Progress (*base64Encode)(const char* in, std::size_t n, char* out);
  Progress (*urlEncode)(const char* in, std::size_t n, char* out);
  Progress (*toBinary)(const char* in, std::size_t n, char* out, int width);
  Progress (*toDecimal)(const char* in, std::size_t n, char* out);
  Progress (*toHex)(const char* in, std::size_t n, char* out);
  Progress (*morseEncode)(const char* in, std::size_t n, char* out);
  Progress (*base32Encode)(const char* in, std::size_t n, char* out);
  Progress (*toOctal)(const char* in, std::size_t n, char* out);

  // Decoders. Base64 takes whole groups of characters from the alphabet and
  // whitespace between them, and leaves a group with a zero byte to the plain
  // loop; the others stop where their plain loop must take over.
  Progress (*base64Decode)(const char* in, std::size_t n, char* out);
  Progress (*urlDecode)(const char* in, std::size_t n, char* out);
  Progress (*fromDecimal)(const char* in, std::size_t n, char* out);
  Progress (*morseDecode)(const char* in, std::size_t n, char* out);
  // Base32 takes whole groups of eight digits, in either case, and stops
  // before any other byte. Octal reads numbers from where none is open, and
  // stops after the last byte that ends one.
  Progress (*base32Decode)(const char* in, std::size_t n, char* out);
  Progress (*fromOctal)(const char* in, std::size_t n, char* out);
};

// The kernel of an operation that a tier leaves to the plain loop.
template <typename... Options>
Progress nothing(const char*, std::size_t, char*, Options...) {
  return {0, 0};
}

}  // namespace kernels

#endif  // ZEMBRAX_CODERS_KERNELS_KERNELTABLE_H_
