#ifndef ZEMBRAX_CODERS_CHAR_DECIMALTABLE_H_
#define ZEMBRAX_CODERS_CHAR_DECIMALTABLE_H_

// Rows of decimal digit values, for the wide kernels' decimal readers.

#include <array>

namespace tables {

// `times` * d modulo 256 for each digit d, and 0 past the ten digits: a row
// for a byte shuffle that multiplies digits.
constexpr std::array<unsigned char, 16> digitsTimes(unsigned times) {
  std::array<unsigned char, 16> row{};
  for (unsigned d = 0; d < 10; ++d)
    row[d] = static_cast<unsigned char>(times * d);
  return row;
}
inline constexpr std::array<unsigned char, 16> kDigitTens = digitsTimes(10);
inline constexpr std::array<unsigned char, 16> kDigitHundreds = digitsTimes(100);

}  // namespace tables

#endif  // ZEMBRAX_CODERS_CHAR_DECIMALTABLE_H_
