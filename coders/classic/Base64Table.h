#ifndef ZEMBRAX_CODERS_CLASSIC_BASE64TABLE_H_
#define ZEMBRAX_CODERS_CLASSIC_BASE64TABLE_H_

// The Base64 alphabet, which the coder and the wide kernels share.

#include <array>

#include "Ascii.h"

namespace tables {

inline constexpr char kBase64Chars[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
inline constexpr int kBase64Size = 64;

// The 6-bit value of every byte of the alphabet, `whitespace` for the
// whitespace bytes and `other` for the rest.
constexpr std::array<unsigned char, 256> base64Values(unsigned char whitespace,
                                                      unsigned char other) {
  std::array<unsigned char, 256> values{};
  for (int c = 0; c < 256; ++c)
    values[c] = ascii::isWhitespace(static_cast<char>(c)) ? whitespace : other;
  for (int p = 0; p < kBase64Size; ++p)
    values[static_cast<unsigned char>(kBase64Chars[p])] = static_cast<unsigned char>(p);
  return values;
}

}  // namespace tables

#endif  // ZEMBRAX_CODERS_CLASSIC_BASE64TABLE_H_
