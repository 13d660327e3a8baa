#ifndef ZEMBRAX_CODERS_SIGNAL_MORSETABLE_H_
#define ZEMBRAX_CODERS_SIGNAL_MORSETABLE_H_

// Morse code: the table of codes and the number of every code, which the
// coder and the wide kernels share.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tables {

// One symbol of Morse code and its dots and dashes.
struct MorseCode {
  char symbol;
  std::string_view code;
};

// International Morse code for the letters, the digits and fifteen
// punctuation symbols. Symbols and codes are each distinct.
inline constexpr std::array<MorseCode, 51> kMorseTable = {{
    {'A', ".-"},      {'B', "-..."},   {'C', "-.-."},    {'D', "-.."},    {'E', "."},
    {'F', "..-."},    {'G', "--."},    {'H', "...."},    {'I', ".."},     {'J', ".---"},
    {'K', "-.-"},     {'L', ".-.."},   {'M', "--"},      {'N', "-."},     {'O', "---"},
    {'P', ".--."},    {'Q', "--.-"},   {'R', ".-."},     {'S', "..."},    {'T', "-"},
    {'U', "..-"},     {'V', "...-"},   {'W', ".--"},     {'X', "-..-"},   {'Y', "-.--"},
    {'Z', "--.."},    {'1', ".----"},  {'2', "..---"},   {'3', "...--"},  {'4', "....-"},
    {'5', "....."},   {'6', "-...."},  {'7', "--..."},   {'8', "---.."},  {'9', "----."},
    {'0', "-----"},   {'/', "-..-."},  {'+', ".-.-."},   {'=', "-...-"},  {'.', ".-.-.-"},
    {',', "--..--"},  {'?', "..--.."}, {'(', "-.--."},   {')', "-.--.-"}, {'-', "-....-"},
    {'"', ".-..-."},  {'_', "..--.-"}, {'\'', ".----."}, {':', "---..."}, {';', "-.-.-."},
    {'$', "...-..-"},
}};

// The code of byte `c` (a lower-case letter as its upper-case form), or null
// for a byte without one.
constexpr const MorseCode* codeOfByte(int c) {
  const int folded = c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
  for (const MorseCode& entry : kMorseTable) {
    if (static_cast<unsigned char>(entry.symbol) == folded) return &entry;
  }
  return nullptr;
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
  for (const MorseCode& entry : kMorseTable)
    symbols[codeNumber(entry.code)] = entry.symbol;
  return symbols;
}();

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

#endif  // ZEMBRAX_CODERS_SIGNAL_MORSETABLE_H_
