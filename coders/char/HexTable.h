#ifndef ZEMBRAX_CODERS_CHAR_HEXTABLE_H_
#define ZEMBRAX_CODERS_CHAR_HEXTABLE_H_

// The hexadecimal digits, which the coders' plain loops and the wide
// kernels share.

#include <array>

namespace tables {

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// Escape digits: '0'-'9', 'A'-'Z' as 10-35, 'a'-'f' as 10-15, otherwise 32.
inline constexpr std::array<unsigned char, 256> kHexValues = [] {
  std::array<unsigned char, 256> values{};
  values.fill(32);
  for (int c = '0'; c <= '9'; ++c)
    values[c] = static_cast<unsigned char>(c - '0');
  for (int c = 'A'; c <= 'Z'; ++c)
    values[c] = static_cast<unsigned char>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c)
    values[c] = static_cast<unsigned char>(c - 'a' + 10);
  return values;
}();

}  // namespace tables

#endif  // ZEMBRAX_CODERS_CHAR_HEXTABLE_H_
