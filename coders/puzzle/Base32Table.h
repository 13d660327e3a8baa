#ifndef ZEMBRAX_CODERS_PUZZLE_BASE32TABLE_H_
#define ZEMBRAX_CODERS_PUZZLE_BASE32TABLE_H_

// The Base32 alphabet of RFC 4648, which the coder and the wide kernels
// share.

#include <array>

namespace tables {

inline constexpr char kBase32Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";

// Bytes that are no digit, both with the top bit set: skipped, or padding
// that ends a group.
inline constexpr unsigned char kBase32Skipped = 0x80;
inline constexpr unsigned char kBase32Padding = 0x81;

// The 5-bit value of every digit, in either case, and the marks above for
// every other byte.
inline constexpr std::array<unsigned char, 256> kBase32Values = [] {
  std::array<unsigned char, 256> values{};
  values.fill(kBase32Skipped);
  for (unsigned char d = 0; d < 32; ++d) {
    values[static_cast<unsigned char>(kBase32Digits[d])] = d;
    if (d < 26) values[static_cast<unsigned char>(kBase32Digits[d] | 0x20)] = d;
  }
  values['='] = kBase32Padding;
  return values;
}();

}  // namespace tables

#endif  // ZEMBRAX_CODERS_PUZZLE_BASE32TABLE_H_
