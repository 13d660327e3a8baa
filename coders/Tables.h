#ifndef ZEMBRAX_CODERS_TABLES_H_
#define ZEMBRAX_CODERS_TABLES_H_

// The tables and byte maps that the coders' plain loops and their wide
// kernels share.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Ascii.h"
#include "signal/SignalCoder.h"

namespace tables {

inline constexpr char kBase64Chars[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
inline constexpr int kBase64Size = 64;

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

inline char lowestBit(char c) {
  return static_cast<char>('0' + (c & 1));
}

// The longest Morse code, in marks.
inline constexpr std::size_t kLongestCode = 7;

// A word of at most seven dots and dashes as a number: a 1 above one bit per
// mark, mark j in bit j (dot 0, dash 1). Every code has its own number below
// 256; every other word is kNotACode.
inline constexpr unsigned kNotACode = 256;

constexpr unsigned codeNumber(std::string_view word) {
  if (word.size() > kLongestCode) return kNotACode;
  unsigned number = 1u << word.size();
  for (std::size_t j = 0; j < word.size(); ++j) {
    if (word[j] == '-') {
      number |= 1u << j;
    } else if (word[j] != '.') {
      return kNotACode;
    }
  }
  return number;
}

// The symbol of every code number; 0 where no code has that number.
inline constexpr std::array<char, kNotACode + 1> kSymbolOfNumber = [] {
  std::array<char, kNotACode + 1> symbols{};
  for (const MorseCode& entry : SignalCoder::morseTable)
    symbols[codeNumber(entry.code)] = entry.symbol;
  return symbols;
}();

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

// A block of 64 bytes of Morse code as masks, bit k for byte k: its
// whitespace, its dashes, and the bytes that are neither whitespace nor a
// mark.
struct MorseBlock {
  std::uint64_t space;
  std::uint64_t dash;
  std::uint64_t other;
};

// Writes the symbol of every word of `block` that ends inside it at
// out[written] on, advancing `written`, and returns where the last of them
// ends: 64 if no word runs past the block, 0 if the first does. A symbol
// never lands past the word it comes from, so `out` may trail the block.
// Inlined always, so that each wide kernel's loop takes its instructions.
[[gnu::always_inline]] inline unsigned decodeMorseWords(const MorseBlock& block, char* out,
                                                        std::size_t& written) {
  unsigned position = 0;
  while (position < 64) {
    const std::uint64_t word = ~block.space >> position;
    if (word == 0) return 64;
    const unsigned start = position + static_cast<unsigned>(std::countr_zero(word));
    const std::uint64_t after = block.space >> start;
    if (after == 0) break;  // the word goes on past the block
    const auto length = static_cast<unsigned>(std::countr_zero(after));
    const std::uint64_t marks = (std::uint64_t{1} << length) - 1;
    const bool code = length <= kLongestCode && ((block.other >> start) & marks) == 0;
    const char symbol =
        kSymbolOfNumber[code ? (1u << length) | ((block.dash >> start) & marks) : kNotACode];
    out[written] = symbol;
    written += symbol != 0 ? 1 : 0;
    position = start + length;
  }
  return position;
}

}  // namespace tables

#endif  // ZEMBRAX_CODERS_TABLES_H_
