// The kernels for processors with AVX-512 and its byte, permute and compress
// instructions (F, BW, VL, VBMI, VBMI2) with BMI2. Every function here is
// compiled for those instructions alone, so the rest of the program still
// runs anywhere; active() hands these out only where the processor has them.

#include "kernels/Avx512.h"

#if ZEMBRAX_HAS_AVX512

#if !defined(__clang__) && __GNUC__ == 12
// GCC 12's AVX-512 intrinsics pass deliberately undefined vectors, which its
// uninitialised-use warnings report wherever they are inlined (GCC bug
// 105593). The warnings point into the intrinsics' own header, so they are
// silenced there alone.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#include "ByteMap.h"
#include "char/DecimalTable.h"
#include "char/HexTable.h"
#include "classic/Base64Table.h"
#include "puzzle/Base32Table.h"
#include "signal/MorseTable.h"

#define WIDE \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))

namespace kernels {
namespace {

// A table of 256 bytes, held in four vectors for `lookup`.
struct ByteTable {
  __m512i quarter[4];
};

WIDE ByteTable loadTable(const unsigned char* table) {
  return {{_mm512_loadu_si512(table), _mm512_loadu_si512(table + 64),
           _mm512_loadu_si512(table + 128), _mm512_loadu_si512(table + 192)}};
}

// The table entries of 64 bytes at once: two 128-entry lookups, between
// which the top bit of each byte chooses.
WIDE __m512i lookup(const ByteTable& table, __m512i bytes) {
  const __m512i low = _mm512_permutex2var_epi8(table.quarter[0], bytes, table.quarter[1]);
  const __m512i high = _mm512_permutex2var_epi8(table.quarter[2], bytes, table.quarter[3]);
  return _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), low, high);
}

// Lane 8k + j holds byte `first` + k of a vector, for eight bytes k: the
// order that spreads eight bytes over eight lanes each.
WIDE __m512i spreadEight(int first) {
  return _mm512_add_epi8(
      _mm512_set_epi64(0x0707070707070707, 0x0606060606060606, 0x0505050505050505,
                       0x0404040404040404, 0x0303030303030303, 0x0202020202020202,
                       0x0101010101010101, 0),
      _mm512_set1_epi8(static_cast<char>(first)));
}

// Stores the first `count` bytes of `v` at `out`, and nothing past them.
WIDE void storeFirst(char* out, __m512i v, std::size_t count) {
  _mm512_mask_storeu_epi8(out, _bzhi_u64(~std::uint64_t{0}, static_cast<unsigned>(count)), v);
}

// Space, tab, line feed, vertical tab, form feed and carriage return.
WIDE std::uint64_t whitespaceOf(__m512i c) {
  return _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8(' ')) |
         _mm512_cmplt_epu8_mask(_mm512_sub_epi8(c, _mm512_set1_epi8('\t')), _mm512_set1_epi8(5));
}

#include "kernels/ByteMaps.h"

WIDE Progress substitute(const char* in, std::size_t n, char* out, const unsigned char* table) {
  const ByteTable replacement = loadTable(table);
  // The head, masked, up to the next cache line of `out`.
  const std::size_t head = std::min(n, bytesToLine(out));
  const __m512i first = _mm512_maskz_loadu_epi8(_bzhi_u64(~std::uint64_t{0}, head), in);
  storeFirst(out, lookup(replacement, first), head);
  std::size_t i = head;
  for (; i + 64 <= n; i += 64)
    _mm512_store_si512(out + i, lookup(replacement, _mm512_loadu_si512(in + i)));
  return {i, i};
}

WIDE Progress vigenere(const char* in, std::size_t n, char* out, const char* steps,
                       std::size_t keyLength, std::size_t& position) {
  const __m512i letterBits = _mm512_set1_epi8(static_cast<char>(0xDF));
  const __m512i a = _mm512_set1_epi8('A');
  const __m512i alphabet = _mm512_set1_epi8(26);
  std::size_t i = 0;
  for (; i + 64 <= n; i += 64) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __m512i index = _mm512_sub_epi8(_mm512_and_si512(c, letterBits), a);
    const __mmask64 letters = _mm512_cmplt_epu8_mask(index, alphabet);
    // Deals the next key steps out to the letters, in order.
    const __m512i step = _mm512_maskz_expand_epi8(letters, _mm512_loadu_si512(steps + position));
    __m512i moved = _mm512_add_epi8(index, step);
    moved = _mm512_min_epu8(moved, _mm512_sub_epi8(moved, alphabet));
    _mm512_storeu_si512(out + i,
                        _mm512_mask_add_epi8(c, letters, _mm512_sub_epi8(c, index), moved));
    position = (position + static_cast<std::size_t>(_mm_popcnt_u64(letters))) % keyLength;
  }
  return {i, i};
}

// Each 48 bytes as 64 characters.
WIDE Progress base64Encode(const char* in, std::size_t n, char* out) {
  // Each group of three bytes b0 b1 b2 goes to a 32-bit word as b1 b0 b2 b1,
  // from which one multishift takes the four 6-bit fields.
  const __m512i spread =
      _mm512_setr_epi32(0x01020001, 0x04050304, 0x07080607, 0x0a0b090a, 0x0d0e0c0d, 0x10110f10,
                        0x13141213, 0x16171516, 0x191a1819, 0x1c1d1b1c, 0x1f201e1f, 0x22232122,
                        0x25262425, 0x28292728, 0x2b2c2a2b, 0x2e2f2d2e);
  const __m512i fields = _mm512_set1_epi64(0x3036242a1016040a);
  const __m512i alphabet = _mm512_loadu_si512(tables::kBase64Chars);
  std::size_t i = 0;
  char* o = out;
  for (; i + 48 <= n; i += 48, o += 64) {
    const __m512i bytes = _mm512_maskz_loadu_epi8(0xFFFFFFFFFFFF, in + i);
    const __m512i values =
        _mm512_multishift_epi64_epi8(fields, _mm512_permutexvar_epi8(spread, bytes));
    _mm512_storeu_si512(o, _mm512_permutexvar_epi8(values, alphabet));
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// The 6-bit value of every ASCII character, and 0x80 for those outside the
// alphabet.
constexpr std::array<unsigned char, 256> kStrictValues = tables::base64Values(0x80, 0x80);

// Byte 2, 1, 0 of every 32-bit word, which holds one group's 24 bits.
constexpr std::array<char, 64> kGroupBytes = [] {
  std::array<char, 64> order{};
  for (int k = 0; k < 16; ++k) {
    for (int j = 0; j < 3; ++j)
      order[3 * k + j] = static_cast<char>(4 * k + 2 - j);
  }
  return order;
}();

// The 6-bit values of 64 characters, with the top bit set for those outside
// the alphabet, from kStrictValues in two vectors.
WIDE __m512i strictValuesOf(__m512i c, __m512i lowTable, __m512i highTable) {
  return _mm512_permutex2var_epi8(lowTable, c, highTable);
}

// The 48 bytes of 64 values of alphabet characters.
WIDE __m512i bytesOfValues(__m512i values) {
  const __m512i pairs = _mm512_maddubs_epi16(values, _mm512_set1_epi32(0x01400140));
  const __m512i groups = _mm512_madd_epi16(pairs, _mm512_set1_epi32(0x00011000));
  return _mm512_permutexvar_epi8(_mm512_loadu_si512(kGroupBytes.data()), groups);
}

// Decodes 64 alphabet characters at a time. Whitespace between them is
// squeezed out through a small buffer of waiting characters; a block with
// any other character, or whose bytes hold a zero, ends the run, and what
// is waiting is left to the plain loop.
WIDE Progress base64Decode(const char* in, std::size_t n, char* out) {
  const __m512i lowTable = _mm512_loadu_si512(kStrictValues.data());
  const __m512i highTable = _mm512_loadu_si512(kStrictValues.data() + 64);
  constexpr __mmask64 kOutput = 0xFFFFFFFFFFFF;
  alignas(64) char waiting[128];
  std::size_t held = 0;  // characters waiting to be decoded
  std::size_t read = 0;  // the input up to the end of the last group decoded
  std::size_t written = 0;
  for (std::size_t i = 0; i + 64 <= n; i += 64) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __m512i values = strictValuesOf(c, lowTable, highTable);
    // Whitespace is outside the alphabet too, so a block of alphabet
    // characters alone is told at once.
    const std::uint64_t outside = _mm512_movepi8_mask(_mm512_or_si512(values, c));
    if (outside == 0 && held == 0) {
      const __m512i bytes = bytesOfValues(values);
      if (_mm512_mask_cmpeq_epi8_mask(kOutput, bytes, _mm512_setzero_si512()) != 0) break;
      _mm512_mask_storeu_epi8(out + written, kOutput, bytes);
      written += 48;
      read = i + 64;
      continue;
    }
    const std::uint64_t kept = ~whitespaceOf(c);
    if ((outside & kept) != 0) break;
    // The characters join those waiting; 64 of them make a block.
    _mm512_storeu_si512(waiting + held, _mm512_maskz_compress_epi8(kept, c));
    const std::size_t before = held;
    held += static_cast<std::size_t>(_mm_popcnt_u64(kept));
    if (held < 64) continue;
    const __m512i bytes =
        bytesOfValues(strictValuesOf(_mm512_load_si512(waiting), lowTable, highTable));
    if (_mm512_mask_cmpeq_epi8_mask(kOutput, bytes, _mm512_setzero_si512()) != 0) break;
    _mm512_mask_storeu_epi8(out + written, kOutput, bytes);
    written += 48;
    held -= 64;
    _mm512_store_si512(waiting, _mm512_load_si512(waiting + 64));
    // The 64th character came from this block: it is its kept character
    // number 64 - before.
    const std::uint64_t last = _pdep_u64(std::uint64_t{1} << (63 - before), kept);
    read = i + static_cast<std::size_t>(std::countr_zero(last)) + 1;
  }
  return {read, written};
}

// The upper-case hexadecimal digits of the high and of the low four bits of
// each of 64 bytes.
struct HexDigits {
  __m512i high;
  __m512i low;
};

WIDE HexDigits hexDigitsOf(__m512i bytes) {
  const __m512i digits =
      _mm512_broadcast_i32x4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tables::kHexDigits)));
  const __m512i nibble = _mm512_set1_epi8(0x0F);
  return {_mm512_shuffle_epi8(digits, _mm512_and_si512(_mm512_srli_epi16(bytes, 4), nibble)),
          _mm512_shuffle_epi8(digits, _mm512_and_si512(bytes, nibble))};
}

// Every third place of 48, from place 0.
constexpr std::uint64_t kEveryThird = 0x249249249249;

// For each quarter q of a vector, where the triples of `Triples` take their
// bytes from: from a (index j) and b (64 + j) in places 3j and 3j + 1, and
// from c in place 3j + 2, for the 16 bytes j from 16q on.
struct TripleOrder {
  std::array<char, 64> fromAB;
  std::array<char, 64> fromC;
};

constexpr std::array<TripleOrder, 4> kTripleOrders = [] {
  std::array<TripleOrder, 4> orders{};
  for (int quarter = 0; quarter < 4; ++quarter) {
    for (int j = 0; j < 16; ++j) {
      orders[quarter].fromAB[3 * j] = static_cast<char>(16 * quarter + j);
      orders[quarter].fromAB[3 * j + 1] = static_cast<char>(64 + 16 * quarter + j);
      orders[quarter].fromC[3 * j + 2] = static_cast<char>(16 * quarter + j);
    }
  }
  return orders;
}();

// Lays out 16 bytes j (from 16 * quarter on) of three vectors as triples
// a_j b_j c_j, in the first 48 bytes of the result.
class Triples {
 public:
  WIDE explicit Triples(int quarter)
      : abOrder(_mm512_loadu_si512(kTripleOrders[quarter].fromAB.data())),
        cOrder(_mm512_loadu_si512(kTripleOrders[quarter].fromC.data())) {}

  WIDE __m512i of(__m512i a, __m512i b, __m512i c) const {
    const __m512i ab = _mm512_permutex2var_epi8(a, abOrder, b);
    return _mm512_mask_permutexvar_epi8(ab, kEveryThird << 2, cOrder, c);
  }

 private:
  __m512i abOrder;
  __m512i cOrder;
};

WIDE Progress toHex(const char* in, std::size_t n, char* out) {
  const Triples quarters[4] = {Triples(0), Triples(1), Triples(2), Triples(3)};
  const __m512i spaces = _mm512_set1_epi8(' ');
  std::size_t i = 0;
  char* o = out;
  for (; i + 64 <= n; i += 64) {
    const HexDigits d = hexDigitsOf(_mm512_loadu_si512(in + i));
    for (const Triples& quarter : quarters) {
      storeFirst(o, quarter.of(d.high, d.low, spaces), 48);
      o += 48;
    }
  }
  return {i, static_cast<std::size_t>(o - out)};
}

WIDE Progress urlEncode(const char* in, std::size_t n, char* out) {
  const Triples quarters[4] = {Triples(0), Triples(1), Triples(2), Triples(3)};
  std::size_t i = 0;
  char* o = out;
  for (; i + 64 <= n; i += 64) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __mmask64 digit =
        _mm512_cmplt_epu8_mask(_mm512_sub_epi8(c, _mm512_set1_epi8('0')), _mm512_set1_epi8(10));
    const __mmask64 letter = _mm512_cmplt_epu8_mask(
        _mm512_sub_epi8(_mm512_and_si512(c, _mm512_set1_epi8(static_cast<char>(0xDF))),
                        _mm512_set1_epi8('A')),
        _mm512_set1_epi8(26));
    const std::uint64_t escape = ~(digit | letter);
    const HexDigits d = hexDigitsOf(c);
    // Every byte as a triple: itself or '%', then its two digits; the digits
    // are kept for escaped bytes only.
    const __m512i first = _mm512_mask_blend_epi8(escape, c, _mm512_set1_epi8('%'));
    for (int q = 0; q < 4; ++q) {
      const std::uint64_t escaped = escape >> (16 * q) & 0xFFFF;
      const std::uint64_t keep =
          kEveryThird | _pdep_u64(escaped, kEveryThird << 1) | _pdep_u64(escaped, kEveryThird << 2);
      const auto kept = static_cast<std::size_t>(_mm_popcnt_u64(keep));
      storeFirst(o, _mm512_maskz_compress_epi8(keep, quarters[q].of(first, d.high, d.low)), kept);
      o += kept;
    }
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// The escape-digit values of 64 characters.
WIDE __m512i hexValuesOf(__m512i c) {
  const __m512i value =
      _mm512_permutex2var_epi8(_mm512_loadu_si512(tables::kHexValues.data()), c,
                               _mm512_loadu_si512(tables::kHexValues.data() + 64));
  return _mm512_mask_mov_epi8(value, _mm512_movepi8_mask(c), _mm512_set1_epi8(32));
}

// Decodes 64-byte blocks while no '%' falls on the two characters after
// another '%'. Escapes may reach two characters past a block.
WIDE Progress urlDecode(const char* in, std::size_t n, char* out) {
  std::size_t i = 0;
  std::size_t o = 0;
  while (i + 66 <= n) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const std::uint64_t percent = _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('%'));
    const std::uint64_t digits = percent << 1 | percent << 2;
    if ((percent & digits) != 0) break;
    const __m512i high = hexValuesOf(_mm512_loadu_si512(in + i + 1));
    const __m512i low = hexValuesOf(_mm512_loadu_si512(in + i + 2));
    const __m512i decoded = _mm512_add_epi8(
        _mm512_and_si512(_mm512_slli_epi16(high, 4), _mm512_set1_epi8(static_cast<char>(0xF0))),
        low);
    const __m512i bytes = _mm512_mask_blend_epi8(percent, c, decoded);
    const std::uint64_t keep = ~digits;
    const auto kept = static_cast<std::size_t>(_mm_popcnt_u64(keep));
    storeFirst(out + o, _mm512_maskz_compress_epi8(keep, bytes), kept);
    o += kept;
    // Digits of escapes at the last two places lie beyond the block.
    i += 64 + (percent >> 63 ? 2 : (percent >> 62) & 1);
  }
  return {i, o};
}

// For toDecimal, every byte's number laid out in five places: sign,
// hundreds, tens, ones, space. kDecimalKept marks the places in use; the
// tens and ones places take their digits from the other two tables.
constexpr std::array<unsigned char, 256> kDecimalKept = [] {
  std::array<unsigned char, 256> kept{};
  for (int c = 0; c < 256; ++c) {
    const int magnitude = c < 128 ? c : 256 - c;
    kept[c] = static_cast<unsigned char>((c >= 128 ? 1 : 0) | (magnitude >= 100 ? 2 : 0) |
                                         (magnitude >= 10 ? 4 : 0) | 8 | 16);
  }
  return kept;
}();

constexpr std::array<unsigned char, 256> decimalDigits(int place) {
  std::array<unsigned char, 256> digits{};
  for (int c = 0; c < 256; ++c) {
    const int magnitude = c < 128 ? c : 256 - c;
    digits[c] = static_cast<unsigned char>('0' + magnitude / place % 10);
  }
  return digits;
}
constexpr std::array<unsigned char, 256> kTensDigits = decimalDigits(10);
constexpr std::array<unsigned char, 256> kOnesDigits = decimalDigits(1);

WIDE Progress toDecimal(const char* in, std::size_t n, char* out) {
  const ByteTable keptTable = loadTable(kDecimalKept.data());
  const ByteTable tensTable = loadTable(kTensDigits.data());
  const ByteTable onesTable = loadTable(kOnesDigits.data());
  // The fixed places: '-' first, '1' for the hundreds (which never exceed
  // one), a space last.
  const __m512i fixed = _mm512_set1_epi64(0x000000200000312D);
  constexpr __mmask64 kDigitPlaces = 0x0C0C0C0C0C0C0C0C;
  std::size_t i = 0;
  char* o = out;
  for (; i + 64 <= n; i += 64) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __m512i tens = lookup(tensTable, c);
    const __m512i ones = lookup(onesTable, c);
    std::uint64_t kept[8];
    _mm512_storeu_si512(kept, lookup(keptTable, c));
    for (int part = 0; part < 8; ++part) {
      // Places 2 and 3 of byte k take its tens and ones digits.
      const __m512i from = _mm512_mask_add_epi8(spreadEight(8 * part), 0x0808080808080808,
                                                spreadEight(8 * part), _mm512_set1_epi8(64));
      const __m512i digits = _mm512_permutex2var_epi8(tens, from, ones);
      const __m512i places = _mm512_mask_blend_epi8(kDigitPlaces, fixed, digits);
      const auto count = static_cast<std::size_t>(_mm_popcnt_u64(kept[part]));
      storeFirst(o, _mm512_maskz_compress_epi8(kept[part], places), count);
      o += count;
    }
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// Reads the numbers of 64-byte blocks that hold only whitespace, digits and
// signs directly before digits, with no number longer than three digits.
// Each block is taken up to its last whitespace, so that no number runs past
// it. Stops at the first block it cannot take whole.
WIDE Progress fromDecimal(const char* in, std::size_t n, char* out) {
  const __m512i zero = _mm512_set1_epi8('0');
  const __m512i ten = _mm512_set1_epi8(10);
  const __m512i tens = _mm512_broadcast_i32x4(
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(tables::kDigitTens.data())));
  const __m512i hundreds = _mm512_broadcast_i32x4(
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(tables::kDigitHundreds.data())));
  std::size_t i = 0;
  std::size_t o = 0;
  while (i + 66 <= n) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __m512i d0 = _mm512_sub_epi8(c, zero);
    const __m512i d1 = _mm512_sub_epi8(_mm512_loadu_si512(in + i + 1), zero);
    const __m512i d2 = _mm512_sub_epi8(_mm512_loadu_si512(in + i + 2), zero);
    const std::uint64_t digit = _mm512_cmplt_epu8_mask(d0, ten);
    const std::uint64_t digitNext = _mm512_cmplt_epu8_mask(d1, ten);
    const std::uint64_t space = whitespaceOf(c);
    const std::uint64_t minus = _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('-'));
    const std::uint64_t sign = minus | _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('+'));
    if (space == 0) break;
    const auto end = static_cast<unsigned>(64 - std::countl_zero(space));
    const std::uint64_t taken = end == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << end) - 1;
    const std::uint64_t odd = ~(space | digit | (sign & digitNext)) & taken;
    const std::uint64_t longRun = digit & digit >> 1 & digit >> 2 & digit >> 3 & taken;
    if ((odd | longRun) != 0) break;
    // The value of one, two or three digits starting at each place.
    const __mmask64 two = digitNext;
    const __mmask64 three = two & _mm512_cmplt_epu8_mask(d2, ten);
    __m512i value = _mm512_mask_add_epi8(d0, two, _mm512_shuffle_epi8(tens, d0), d1);
    value = _mm512_mask_add_epi8(
        value, three,
        _mm512_add_epi8(_mm512_shuffle_epi8(hundreds, d0), _mm512_shuffle_epi8(tens, d1)), d2);
    const std::uint64_t starts = digit & ~(digit << 1) & taken;
    value = _mm512_mask_sub_epi8(value, starts & minus << 1, _mm512_setzero_si512(), value);
    const auto count = static_cast<unsigned>(_mm_popcnt_u64(starts));
    storeFirst(out + o, _mm512_maskz_compress_epi8(starts, value), count);
    o += count;
    i += end;
  }
  return {i, o};
}

// Writes the binary digits of 64 bytes at a time: `width` characters each.
// With the bits of each byte reversed, bit j of a group of eight bytes says
// whether digit j of their spelling is a "1".
template <int width>
WIDE Progress toBinaryOf(const char* in, std::size_t n, char* out) {
  const __m512i reversedNibble = _mm512_broadcast_i32x4(_mm_setr_epi8(
      0x0, 0x8, 0x4, 0xC, 0x2, 0xA, 0x6, 0xE, 0x1, 0x9, 0x5, 0xD, 0x3, 0xB, 0x7, 0xF));
  const __m512i lowNibble = _mm512_set1_epi8(0x0F);
  const __m512i zeros = _mm512_set1_epi8('0');
  const __m512i ones = _mm512_set1_epi8('1');
  std::size_t i = 0;
  char* o = out;
  for (; i + 64 <= n; i += 64) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __m512i low = _mm512_shuffle_epi8(reversedNibble, _mm512_and_si512(c, lowNibble));
    const __m512i high =
        _mm512_shuffle_epi8(reversedNibble, _mm512_and_si512(_mm512_srli_epi16(c, 4), lowNibble));
    alignas(64) std::uint64_t digits[8];
    _mm512_store_si512(digits, _mm512_or_si512(_mm512_slli_epi16(low, 4), high));
    for (std::uint64_t set : digits) {
      // At 7 bits the first digit of each byte is left out.
      if constexpr (width == 7) set = _pext_u64(set, 0xFEFEFEFEFEFEFEFE);
      storeFirst(o, _mm512_mask_blend_epi8(set, zeros, ones), 8 * width);
      o += 8 * width;
    }
  }
  return {i, static_cast<std::size_t>(o - out)};
}

WIDE Progress toBinary(const char* in, std::size_t n, char* out, int width) {
  return width == 7 ? toBinaryOf<7>(in, n, out) : toBinaryOf<8>(in, n, out);
}

// For the Morse encoder, the length of every byte's code (0 for a byte
// without one) and its dashes as bits, the first mark in bit 0.
constexpr std::array<unsigned char, 256> morseCodeInfo(bool lengths) {
  std::array<unsigned char, 256> info{};
  for (int c = 0; c < 256; ++c) {
    const tables::MorseCode* entry = tables::codeOfByte(c);
    if (entry == nullptr) continue;
    unsigned dashes = 0;
    for (std::size_t j = 0; j < entry->code.size(); ++j) {
      if (entry->code[j] == '-') dashes |= 1u << j;
    }
    info[c] = static_cast<unsigned char>(lengths ? entry->code.size() : dashes);
  }
  return info;
}
constexpr std::array<unsigned char, 256> kCodeLengths = morseCodeInfo(true);
constexpr std::array<unsigned char, 256> kCodeDashes = morseCodeInfo(false);

// Encodes 64 bytes at a time, giving each byte eight lanes: lane j holds
// mark j of its code, lane `length` the space after it, and a byte without
// a code keeps itself in lane 0. The lanes in use are then packed together.
WIDE Progress morseEncode(const char* in, std::size_t n, char* out) {
  const ByteTable lengthTable = loadTable(kCodeLengths.data());
  const ByteTable dashTable = loadTable(kCodeDashes.data());
  const __m512i lane = _mm512_set1_epi64(0x0706050403020100);
  const __m512i laneBit = _mm512_set1_epi64(static_cast<long long>(0x8040201008040201));
  const __m512i dots = _mm512_set1_epi8('.');
  const __m512i dashes = _mm512_set1_epi8('-');
  const __m512i spaces = _mm512_set1_epi8(' ');
  constexpr __mmask64 kFirstLanes = 0x0101010101010101;
  std::size_t i = 0;
  char* o = out;
  for (; i + 64 <= n; i += 64) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __m512i length = lookup(lengthTable, c);
    const __m512i dash = lookup(dashTable, c);
    for (int part = 0; part < 8; ++part) {
      const __m512i from = spreadEight(8 * part);
      const __m512i lengths = _mm512_permutexvar_epi8(from, length);
      __m512i marks = _mm512_mask_blend_epi8(
          _mm512_test_epi8_mask(_mm512_permutexvar_epi8(from, dash), laneBit), dots, dashes);
      marks = _mm512_mask_mov_epi8(marks, _mm512_cmpeq_epi8_mask(lane, lengths), spaces);
      const __mmask64 plain =
          _mm512_mask_cmpeq_epi8_mask(kFirstLanes, lengths, _mm512_setzero_si512());
      marks = _mm512_mask_mov_epi8(marks, plain, _mm512_permutexvar_epi8(from, c));
      const __mmask64 kept = _mm512_cmple_epu8_mask(lane, lengths);
      const auto count = static_cast<std::size_t>(_mm_popcnt_u64(kept));
      storeFirst(o, _mm512_maskz_compress_epi8(kept, marks), count);
      o += count;
    }
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// Decodes the words of 64-byte blocks. Stops where a word runs past the last
// whole block, or at a word of 64 bytes or more.
WIDE Progress morseDecode(const char* in, std::size_t n, char* out) {
  std::size_t i = 0;
  std::size_t o = 0;
  while (i + 64 <= n) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const std::uint64_t space = whitespaceOf(c);
    const std::uint64_t dash = _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('-'));
    const std::uint64_t other = ~(space | dash | _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('.')));
    const unsigned position = tables::decodeMorseWords({space, dash, other}, out, o);
    if (position == 0) break;
    i += position;
  }
  return {i, o};
}

// The order that moves eight groups of five bytes, each `from` bytes apart,
// to `to` bytes apart, turning each group round: byte `to` * k + j takes
// byte `from` * k + 4 - j. From 5 to 8 it gives each group a 64-bit lane in
// which it reads as one number with its first byte the highest, the three
// top bytes left as they fall; from 8 to 5, the way back.
constexpr std::array<char, 64> turnedGroups(int from, int to) {
  std::array<char, 64> order{};
  for (int k = 0; k < 8; ++k) {
    for (int j = 0; j < 5; ++j)
      order[static_cast<std::size_t>(to * k + j)] = static_cast<char>(from * k + 4 - j);
  }
  return order;
}
constexpr std::array<char, 64> kBase32Lanes = turnedGroups(5, 8);
constexpr std::array<char, 64> kBase32Bytes = turnedGroups(8, 5);

// Each 40 bytes as 64 digits: a group of five bytes to each 64-bit lane,
// from which one multishift takes the eight 5-bit fields, highest first.
WIDE Progress base32Encode(const char* in, std::size_t n, char* out) {
  const __m512i spread = _mm512_loadu_si512(kBase32Lanes.data());
  const __m512i fields = _mm512_set1_epi64(0x00050A0F14191E23);
  const __m512i digits = _mm512_maskz_loadu_epi8(0xFFFFFFFF, tables::kBase32Digits);
  std::size_t i = 0;
  char* o = out;
  for (; i + 40 <= n; i += 40, o += 64) {
    const __m512i bytes = _mm512_maskz_loadu_epi8(0xFFFFFFFFFF, in + i);
    const __m512i groups = _mm512_maskz_permutexvar_epi8(0x1F1F1F1F1F1F1F1F, spread, bytes);
    const __m512i values =
        _mm512_and_si512(_mm512_multishift_epi64_epi8(fields, groups), _mm512_set1_epi8(31));
    _mm512_storeu_si512(o, _mm512_permutexvar_epi8(values, digits));
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// Each 64 digits as 40 bytes, up to the first block with a byte that is no
// digit.
WIDE Progress base32Decode(const char* in, std::size_t n, char* out) {
  const ByteTable valueTable = loadTable(tables::kBase32Values.data());
  const __m512i gather = _mm512_loadu_si512(kBase32Bytes.data());
  std::size_t i = 0;
  char* o = out;
  for (; i + 64 <= n; i += 64, o += 40) {
    const __m512i values = lookup(valueTable, _mm512_loadu_si512(in + i));
    if (_mm512_movepi8_mask(values) != 0) break;
    // Pairs of digits to 10 bits, pairs of those to 20, and two of those to
    // the group's 40 bits.
    const __m512i tens = _mm512_maddubs_epi16(values, _mm512_set1_epi16(0x0120));
    const __m512i twenties = _mm512_madd_epi16(tens, _mm512_set1_epi32(0x00010400));
    const __m512i groups = _mm512_or_si512(
        _mm512_and_si512(_mm512_slli_epi64(twenties, 20), _mm512_set1_epi64(0xFFFFF00000)),
        _mm512_srli_epi64(twenties, 32));
    storeFirst(o, _mm512_permutexvar_epi8(gather, groups), 40);
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// Each sixteen bytes as their octal numbers, each with a space: two bytes to
// each 64-bit lane, from which one multishift takes each byte's three digits
// into four places, the space last; a compress drops the high digits of
// numbers below 64 and the middle ones of numbers below 8.
WIDE Progress toOctal(const char* in, std::size_t n, char* out) {
  const __m512i fields = _mm512_set1_epi64(0x00080B0E00000306);
  const __m512i digitBits = _mm512_set1_epi64(0x0007070300070703);
  const __m512i characters = _mm512_set1_epi64(0x2030303020303030);
  constexpr std::uint64_t kHigh = 0x1111111111111111;
  constexpr std::uint64_t kLowAndSpace = 0xCCCCCCCCCCCCCCCC;
  std::size_t i = 0;
  char* o = out;
  for (; i + 16 <= n; i += 16) {
    const __m512i pairs =
        _mm512_cvtepu16_epi64(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)));
    const __m512i digits = _mm512_and_si512(_mm512_multishift_epi64_epi8(fields, pairs), digitBits);
    const std::uint64_t nonzero = _mm512_test_epi8_mask(digits, digits);
    const std::uint64_t high = nonzero & kHigh;
    const std::uint64_t kept = high | high << 1 | (nonzero & kHigh << 1) | kLowAndSpace;
    const auto count = static_cast<std::size_t>(_mm_popcnt_u64(kept));
    storeFirst(o, _mm512_maskz_compress_epi8(kept, _mm512_add_epi8(digits, characters)), count);
    o += count;
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// Lane j takes lane j - `places` of a vector.
constexpr std::array<char, 64> lanesBack(int places) {
  std::array<char, 64> order{};
  for (int j = 0; j < 64; ++j)
    order[static_cast<std::size_t>(j)] = static_cast<char>((j - places) & 63);
  return order;
}
constexpr std::array<char, 64> kOneBack = lanesBack(1);
constexpr std::array<char, 64> kTwoBack = lanesBack(2);
constexpr std::array<char, 64> kThreeBack = lanesBack(3);

// Octal numbers of 64-byte blocks, each block up to its last byte that is
// no digit, after which no number is open. A number's low eight bits come
// from its last three digits, so the byte before each end and the two
// before that are all it needs.
WIDE Progress fromOctal(const char* in, std::size_t n, char* out) {
  const __m512i back1 = _mm512_loadu_si512(kOneBack.data());
  const __m512i back2 = _mm512_loadu_si512(kTwoBack.data());
  const __m512i back3 = _mm512_loadu_si512(kThreeBack.data());
  std::size_t i = 0;
  char* o = out;
  while (i < n) {
    const std::uint64_t valid =
        _bzhi_u64(~std::uint64_t{0}, static_cast<unsigned>(std::min<std::size_t>(n - i, 64)));
    const __m512i digits =
        _mm512_sub_epi8(_mm512_maskz_loadu_epi8(valid, in + i), _mm512_set1_epi8('0'));
    const std::uint64_t isDigit = _mm512_cmplt_epu8_mask(digits, _mm512_set1_epi8(8)) & valid;
    const std::uint64_t other = ~isDigit & valid;
    if (other == 0) break;
    // Ends: bytes that are no digit after a digit. The digits one, two and
    // three places back count where the run reaches that far.
    const std::uint64_t run1 = isDigit << 1;
    const std::uint64_t run2 = run1 & isDigit << 2;
    const std::uint64_t run3 = run2 & isDigit << 3;
    const __m512i d = _mm512_maskz_mov_epi8(isDigit, digits);
    const __m512i ones = _mm512_maskz_permutexvar_epi8(run1, back1, d);
    const __m512i eights = _mm512_maskz_permutexvar_epi8(run2, back2, d);
    const __m512i sixtyFours = _mm512_maskz_permutexvar_epi8(run3, back3, d);
    const __m512i numbers =
        _mm512_or_si512(_mm512_or_si512(ones, _mm512_slli_epi16(eights, 3)),
                        _mm512_slli_epi16(_mm512_and_si512(sixtyFours, _mm512_set1_epi8(3)), 6));
    const std::uint64_t ends = other & run1;
    const auto count = static_cast<std::size_t>(_mm_popcnt_u64(ends));
    storeFirst(o, _mm512_maskz_compress_epi8(ends, numbers), count);
    o += count;
    i += 64 - static_cast<std::size_t>(std::countl_zero(other));
  }
  return {i, static_cast<std::size_t>(o - out)};
}

}  // namespace

const Kernels& avx512Kernels() {
  static constexpr Kernels kAvx512 = {
      .name = "AVX-512",
      .caesarShift = caesarShift,
      .caesarShiftFull = caesarShiftFull,
      .bitwise = bitwise,
      .lsbExtract = lsbExtract,
      .substitute = substitute,
      .rot47 = rot47,
      .atbash = atbash,
      .vigenere = vigenere,
      .base64Encode = base64Encode,
      .urlEncode = urlEncode,
      .toBinary = toBinary,
      .toDecimal = toDecimal,
      .toHex = toHex,
      .morseEncode = morseEncode,
      .base32Encode = base32Encode,
      .toOctal = toOctal,
      .base64Decode = base64Decode,
      .urlDecode = urlDecode,
      .fromDecimal = fromDecimal,
      .morseDecode = morseDecode,
      .base32Decode = base32Decode,
      .fromOctal = fromOctal,
  };
  return kAvx512;
}

bool avx512Available() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
         __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2");
}

}  // namespace kernels

#endif  // ZEMBRAX_HAS_AVX512
