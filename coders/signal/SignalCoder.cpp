#include "signal/SignalCoder.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Ascii.h"
#include "OutputBuffer.h"
#include "Simd.h"
#include "Spelling.h"

namespace {

constexpr std::size_t kLongestCode = 7;

// What the encoder writes for every byte: the code and a space for a table
// symbol (lower-case letters folded to upper case), the byte itself otherwise.
constexpr SpellingTable kMorseSpellings = [] {
  SpellingTable spellings{};
  for (int c = 0; c < 256; ++c) {
    Spelling& s = spellings[c];
    const int folded = c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
    s.text[s.length++] = static_cast<char>(c);
    for (const MorseCode& entry : SignalCoder::morseTable) {
      if (static_cast<unsigned char>(entry.symbol) != folded) continue;
      s.length = 0;
      for (char mark : entry.code)
        s.text[s.length++] = mark;
      s.text[s.length++] = ' ';
    }
  }
  return spellings;
}();

// For the encoder's kernel: the length of every byte's code (0 for a byte
// without one) and its dashes as bits, the first mark in bit 0.
constexpr std::array<unsigned char, 256> morseCodeInfo(bool lengths) {
  std::array<unsigned char, 256> info{};
  for (int c = 0; c < 256; ++c) {
    const int folded = c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
    for (const MorseCode& entry : SignalCoder::morseTable) {
      if (static_cast<unsigned char>(entry.symbol) != folded) continue;
      unsigned dashes = 0;
      for (std::size_t j = 0; j < entry.code.size(); ++j) {
        if (entry.code[j] == '-') dashes |= 1u << j;
      }
      info[c] = static_cast<unsigned char>(lengths ? entry.code.size() : dashes);
    }
  }
  return info;
}
constexpr std::array<unsigned char, 256> kCodeLengths = morseCodeInfo(true);
constexpr std::array<unsigned char, 256> kCodeDashes = morseCodeInfo(false);

#if ZEMBRAX_HAS_WIDE

// Encodes 64 bytes at a time, giving each byte eight lanes: lane j holds
// mark j of its code, lane `length` the space after it, and a byte without
// a code keeps itself in lane 0. The lanes in use are then packed together.
ZEMBRAX_WIDE std::size_t morseEncodeBlocks(const std::string& text, OutputBuffer& out) {
  const simd::ByteTable lengthTable = simd::loadTable(kCodeLengths.data());
  const simd::ByteTable dashTable = simd::loadTable(kCodeDashes.data());
  const __m512i lane = _mm512_set1_epi64(0x0706050403020100);
  const __m512i laneBit = _mm512_set1_epi64(static_cast<long long>(0x8040201008040201));
  const __m512i dots = _mm512_set1_epi8('.');
  const __m512i dashes = _mm512_set1_epi8('-');
  const __m512i spaces = _mm512_set1_epi8(' ');
  constexpr __mmask64 kFirstLanes = 0x0101010101010101;
  std::size_t i = 0;
  for (; i + 64 <= text.size(); i += 64) {
    const __m512i c = _mm512_loadu_si512(text.data() + i);
    const __m512i length = simd::lookup(lengthTable, c);
    const __m512i dash = simd::lookup(dashTable, c);
    char* o = out.next();
    for (int part = 0; part < 8; ++part) {
      const __m512i from = simd::spreadEight(8 * part);
      const __m512i lengths = _mm512_permutexvar_epi8(from, length);
      __m512i marks = _mm512_mask_blend_epi8(
          _mm512_test_epi8_mask(_mm512_permutexvar_epi8(from, dash), laneBit), dots, dashes);
      marks = _mm512_mask_mov_epi8(marks, _mm512_cmpeq_epi8_mask(lane, lengths), spaces);
      const __mmask64 plain =
          _mm512_mask_cmpeq_epi8_mask(kFirstLanes, lengths, _mm512_setzero_si512());
      marks = _mm512_mask_mov_epi8(marks, plain, _mm512_permutexvar_epi8(from, c));
      const __mmask64 kept = _mm512_cmple_epu8_mask(lane, lengths);
      _mm512_storeu_si512(o, _mm512_maskz_compress_epi8(kept, marks));
      o += _mm_popcnt_u64(kept);
    }
    out.wrote(o);
  }
  return i;
}

#endif  // ZEMBRAX_HAS_WIDE

// A word of at most seven dots and dashes as a number: a 1 above one bit per
// mark, mark j in bit j (dot 0, dash 1). Every code has its own number below
// 256; every other word is kNotACode.
constexpr unsigned kNotACode = 256;

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
constexpr std::array<char, kNotACode + 1> kSymbolOfNumber = [] {
  std::array<char, kNotACode + 1> symbols{};
  for (const MorseCode& entry : SignalCoder::morseTable)
    symbols[codeNumber(entry.code)] = entry.symbol;
  return symbols;
}();

#if ZEMBRAX_HAS_WIDE

// Decodes the words of 64-byte blocks in place, from `i` on, writing their
// symbols at `o`. Stops where a word runs past the last whole block.
ZEMBRAX_WIDE void morseDecodeBlocks(std::string& text, std::size_t& i, std::size_t& o) {
  char* const data = text.data();
  while (i + 64 <= text.size()) {
    const __m512i c = _mm512_loadu_si512(data + i);
    const std::uint64_t space =
        _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8(' ')) |
        _mm512_cmplt_epu8_mask(_mm512_sub_epi8(c, _mm512_set1_epi8('\t')), _mm512_set1_epi8(5));
    const std::uint64_t dash = _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('-'));
    const std::uint64_t other = ~(space | dash | _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('.')));
    unsigned position = 0;
    while (position < 64) {
      const std::uint64_t word = ~space >> position;
      if (word == 0) {
        position = 64;
        break;
      }
      const unsigned start = position + static_cast<unsigned>(std::countr_zero(word));
      const std::uint64_t after = space >> start;
      if (after == 0) break;  // the word goes on past the block
      const auto length = static_cast<unsigned>(std::countr_zero(after));
      const std::uint64_t marks = (std::uint64_t{1} << length) - 1;
      const bool code = length <= kLongestCode && ((other >> start) & marks) == 0;
      const char symbol =
          kSymbolOfNumber[code ? (1u << length) | ((dash >> start) & marks) : kNotACode];
      data[o] = symbol;
      o += symbol != 0 ? 1 : 0;
      position = start + length;
    }
    if (position == 0) return;  // a word of 64 bytes or more: left to the caller
    i += position;
  }
}

#endif  // ZEMBRAX_HAS_WIDE

}  // namespace

std::string SignalCoder::morseEncode(std::string text) const {
  return spellAll(text, kMorseSpellings, kLongestCode + 1, ZEMBRAX_IF_WIDE(morseEncodeBlocks));
}

std::string SignalCoder::morseDecode(std::string text) const {
  // Decoded in place: a symbol needs a word and the whitespace or end after
  // it, so the output stays behind the input.
  char* const data = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  std::size_t o = 0;
  while (i < n) {
#if ZEMBRAX_HAS_WIDE
    if (simd::wide()) morseDecodeBlocks(text, i, o);
#endif
    while (i < n && ascii::isWhitespace(data[i]))
      ++i;
    const std::size_t start = i;
    while (i < n && !ascii::isWhitespace(data[i]))
      ++i;
    if (i == start) break;
    const char symbol = kSymbolOfNumber[codeNumber(std::string_view(data + start, i - start))];
    data[o] = symbol;
    o += symbol != 0 ? 1 : 0;
  }
  text.resize(o);
  return text;
}

std::string SignalCoder::lsbExtract(std::string text) const {
  simd::mapBytes(text, [](char c) { return static_cast<char>('0' + (c & 1)); });
  return text;
}
