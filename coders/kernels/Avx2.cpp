// The kernels for processors with AVX2 and BMI2 (Haswell, Zen 1 and later).
// Every function here is compiled for those instructions alone, so the rest
// of the program still runs anywhere; active() hands these out only where the
// processor has them. Operations without a kernel here are left to their
// plain loops.

#include "kernels/Avx2.h"

#if ZEMBRAX_HAS_AVX2

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#include "ByteMap.h"
#include "char/DecimalTable.h"
#include "char/HexTable.h"
#include "signal/MorseTable.h"

#define WIDE __attribute__((target("avx2,bmi,bmi2,popcnt")))

namespace kernels {
namespace {

WIDE __m256i load(const char* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

WIDE void store(char* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// All ones in the bytes below `limit` (unsigned), zero elsewhere.
WIDE __m256i below(__m256i bytes, unsigned char limit) {
  return _mm256_cmpeq_epi8(_mm256_min_epu8(bytes, _mm256_set1_epi8(static_cast<char>(limit - 1))),
                           bytes);
}

#include "kernels/ByteMaps.h"

// A byte map kept as the rows of sixteen bytes it changes: for each, its
// number (the high four bits of its bytes) and, in both halves of a vector,
// how far the map moves each of its bytes. Rows the map leaves alone cost nothing, so a map
// of the letters looks at four rows, not sixteen.
struct ChangedRows {
  int count = 0;
  __m256i row[16];
  __m256i moves[16];
};

WIDE ChangedRows changedRows(const unsigned char* table) {
  ChangedRows rows;
  for (int r = 0; r < 16; ++r) {
    alignas(16) unsigned char moves[16];
    bool changed = false;
    for (int k = 0; k < 16; ++k) {
      moves[k] = static_cast<unsigned char>(table[16 * r + k] - (16 * r + k));
      changed |= moves[k] != 0;
    }
    if (!changed) continue;
    rows.row[rows.count] = _mm256_set1_epi8(static_cast<char>(r));
    rows.moves[rows.count] =
        _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(moves)));
    ++rows.count;
  }
  return rows;
}

// The map of 32 bytes: the low four bits pick within a row, the high four
// bits pick the row.
WIDE __m256i moveByRows(const ChangedRows& rows, __m256i bytes) {
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  const __m256i low = _mm256_and_si256(bytes, nibble);
  const __m256i high = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
  __m256i moves = _mm256_setzero_si256();
  for (int r = 0; r < rows.count; ++r) {
    const __m256i inRow = _mm256_cmpeq_epi8(high, rows.row[r]);
    moves =
        _mm256_or_si256(moves, _mm256_and_si256(inRow, _mm256_shuffle_epi8(rows.moves[r], low)));
  }
  return _mm256_add_epi8(bytes, moves);
}

WIDE Progress substitute(const char* in, std::size_t n, char* out, const unsigned char* table) {
  // The head, a byte at a time, up to the next cache line of `out`.
  const std::size_t head = std::min(n, bytesToLine(out));
  for (std::size_t i = 0; i < head; ++i)
    out[i] = static_cast<char>(table[static_cast<unsigned char>(in[i])]);
  const ChangedRows rows = changedRows(table);
  std::size_t i = head;
  for (; i + 32 <= n; i += 32)
    _mm256_store_si256(reinterpret_cast<__m256i*>(out + i), moveByRows(rows, load(in + i)));
  return {i, i};
}

// Each byte's count of the set bytes of `ones` (0 or 1 each) before it.
WIDE __m256i countBefore(__m256i ones) {
  __m256i sum = _mm256_add_epi8(ones, _mm256_slli_si256(ones, 1));
  sum = _mm256_add_epi8(sum, _mm256_slli_si256(sum, 2));
  sum = _mm256_add_epi8(sum, _mm256_slli_si256(sum, 4));
  sum = _mm256_add_epi8(sum, _mm256_slli_si256(sum, 8));
  // The upper half goes on from the lower half's total.
  const __m256i lowTotal =
      _mm256_shuffle_epi8(_mm256_permute2x128_si256(sum, sum, 0x08), _mm256_set1_epi8(15));
  return _mm256_sub_epi8(_mm256_add_epi8(sum, lowTotal), ones);
}

WIDE Progress vigenere(const char* in, std::size_t n, char* out, const char* steps,
                       std::size_t keyLength, std::size_t& position) {
  const __m256i letterBits = _mm256_set1_epi8(static_cast<char>(0xDF));
  const __m256i a = _mm256_set1_epi8('A');
  const __m256i alphabet = _mm256_set1_epi8(26);
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i c = load(in + i);
    const __m256i index = _mm256_sub_epi8(_mm256_and_si256(c, letterBits), a);
    const __m256i letters = below(index, 26);
    // Letter number k of the block takes key step number k from `position`:
    // the first sixteen steps from one half of `window`, the rest from the
    // other.
    const __m256i rank = countBefore(_mm256_and_si256(letters, _mm256_set1_epi8(1)));
    const __m256i window = load(steps + position);
    const __m256i first = _mm256_permute2x128_si256(window, window, 0x00);
    const __m256i second = _mm256_permute2x128_si256(window, window, 0x11);
    const __m256i step =
        _mm256_blendv_epi8(_mm256_shuffle_epi8(first, rank), _mm256_shuffle_epi8(second, rank),
                           _mm256_cmpgt_epi8(rank, _mm256_set1_epi8(15)));
    __m256i moved = _mm256_add_epi8(index, step);
    moved = _mm256_min_epu8(moved, _mm256_sub_epi8(moved, alphabet));
    const __m256i shifted = _mm256_add_epi8(_mm256_sub_epi8(c, index), moved);
    store(out + i, _mm256_blendv_epi8(c, shifted, letters));
    const auto count =
        static_cast<unsigned>(_mm_popcnt_u32(static_cast<unsigned>(_mm256_movemask_epi8(letters))));
    position = (position + count) % keyLength;
  }
  return {i, i};
}

// Each 24 bytes as 32 characters. The lower half of a vector takes bytes
// 0-11 of a 16-byte load from the block's start, the upper half bytes 4-15
// of one from its eighth byte, so no load reaches past the block.
WIDE Progress base64Encode(const char* in, std::size_t n, char* out) {
  // Each group of three bytes b0 b1 b2 goes to a 32-bit word as b1 b0 b2 b1.
  const __m256i spread = _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10, 5, 4,
                                          6, 5, 8, 7, 9, 8, 11, 10, 12, 11, 14, 13, 15, 14);
  // What to add to each 6-bit value, by its class: 0..25 class 13, 26..51
  // class 0, 52..61 classes 1-10, 62 class 11 and 63 class 12.
  const __m256i offsets =
      _mm256_setr_epi8('a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
                       '0' - 52, '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0,
                       'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
                       '0' - 52, '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0);
  std::size_t i = 0;
  char* o = out;
  for (; i + 24 <= n; i += 24, o += 32) {
    const __m256i bytes =
        _mm256_shuffle_epi8(_mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(in + i + 8),
                                                reinterpret_cast<const __m128i*>(in + i)),
                            spread);
    // The four 6-bit fields of every word, each to a byte of its own.
    const __m256i first = _mm256_mulhi_epu16(_mm256_and_si256(bytes, _mm256_set1_epi32(0x0FC0FC00)),
                                             _mm256_set1_epi32(0x04000040));
    const __m256i second = _mm256_mullo_epi16(
        _mm256_and_si256(bytes, _mm256_set1_epi32(0x003F03F0)), _mm256_set1_epi32(0x01000010));
    const __m256i values = _mm256_or_si256(first, second);
    __m256i classes = _mm256_subs_epu8(values, _mm256_set1_epi8(51));
    classes = _mm256_or_si256(
        classes,
        _mm256_and_si256(_mm256_cmpgt_epi8(_mm256_set1_epi8(26), values), _mm256_set1_epi8(13)));
    store(o, _mm256_add_epi8(values, _mm256_shuffle_epi8(offsets, classes)));
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// Decodes blocks of 32 alphabet characters, into 24 bytes each. Stops at a
// block with any other character (whitespace included), or whose bytes hold
// a zero.
WIDE Progress base64Decode(const char* in, std::size_t n, char* out) {
  // Byte 2, 1, 0 of every 32-bit word, which holds one group's 24 bits.
  const __m256i groupBytes =
      _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, 2, 1, 0, 6, 5, 4, 10,
                       9, 8, 14, 13, 12, -1, -1, -1, -1);
  std::size_t i = 0;
  char* o = out;
  for (; i + 32 <= n; i += 32, o += 24) {
    const __m256i c = load(in + i);
    const __m256i upper = below(_mm256_sub_epi8(c, _mm256_set1_epi8('A')), 26);
    const __m256i lower = below(_mm256_sub_epi8(c, _mm256_set1_epi8('a')), 26);
    const __m256i digit = below(_mm256_sub_epi8(c, _mm256_set1_epi8('0')), 10);
    const __m256i plus = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('+'));
    const __m256i slash = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('/'));
    const __m256i alphabet = _mm256_or_si256(_mm256_or_si256(upper, lower),
                                             _mm256_or_si256(digit, _mm256_or_si256(plus, slash)));
    if (_mm256_movemask_epi8(alphabet) != -1) break;
    const __m256i offset = _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(upper, _mm256_set1_epi8(-'A')),
                        _mm256_and_si256(lower, _mm256_set1_epi8(26 - 'a'))),
        _mm256_or_si256(_mm256_and_si256(digit, _mm256_set1_epi8(52 - '0')),
                        _mm256_or_si256(_mm256_and_si256(plus, _mm256_set1_epi8(62 - '+')),
                                        _mm256_and_si256(slash, _mm256_set1_epi8(63 - '/')))));
    const __m256i values = _mm256_add_epi8(c, offset);
    const __m256i pairs = _mm256_maddubs_epi16(values, _mm256_set1_epi32(0x01400140));
    const __m256i groups = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    // Twelve bytes in each half, then the halves' bytes side by side.
    const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(groups, groupBytes),
                                                      _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    const unsigned zeros = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_setzero_si256())));
    if ((zeros & 0xFFFFFF) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(o + 16), _mm256_extracti128_si256(bytes, 1));
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// For each of the three 16-byte parts of the 48 characters of 16 bytes'
// hexadecimal triples, where each place takes its character from: the pairs
// of digits of bytes 0-7 (indexes 0-15) or 8-15 (16-31), or a space (-1).
struct HexPlaces {
  std::array<char, 16> fromFirst;
  std::array<char, 16> fromSecond;
};

constexpr std::array<HexPlaces, 3> kHexPlaces = [] {
  std::array<HexPlaces, 3> places{};
  for (int part = 0; part < 3; ++part) {
    for (int j = 0; j < 16; ++j) {
      const int place = 16 * part + j;
      const int byte = place / 3;
      const int digit = 2 * byte + place % 3;
      const bool space = place % 3 == 2;
      places[part].fromFirst[j] = static_cast<char>(!space && byte < 8 ? digit : -1);
      places[part].fromSecond[j] = static_cast<char>(!space && byte >= 8 ? digit - 16 : -1);
    }
  }
  return places;
}();

WIDE __m128i load128(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

WIDE Progress toHex(const char* in, std::size_t n, char* out) {
  const __m128i digits = load128(tables::kHexDigits);
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i spaces = _mm_set1_epi8(' ');
  __m128i first[3];
  __m128i second[3];
  __m128i gaps[3];
  for (int part = 0; part < 3; ++part) {
    first[part] = load128(kHexPlaces[part].fromFirst.data());
    second[part] = load128(kHexPlaces[part].fromSecond.data());
    // A space wherever neither takes a digit.
    gaps[part] = _mm_and_si128(
        spaces, _mm_cmplt_epi8(_mm_and_si128(first[part], second[part]), _mm_setzero_si128()));
  }
  std::size_t i = 0;
  char* o = out;
  for (; i + 16 <= n; i += 16, o += 48) {
    const __m128i c = load128(in + i);
    const __m128i high = _mm_shuffle_epi8(digits, _mm_and_si128(_mm_srli_epi16(c, 4), nibble));
    const __m128i low = _mm_shuffle_epi8(digits, _mm_and_si128(c, nibble));
    const __m128i pairsFirst = _mm_unpacklo_epi8(high, low);
    const __m128i pairsSecond = _mm_unpackhi_epi8(high, low);
    for (int part = 0; part < 3; ++part) {
      const __m128i triples =
          _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(pairsFirst, first[part]),
                                    _mm_shuffle_epi8(pairsSecond, second[part])),
                       gaps[part]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16 * part), triples);
    }
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// For urlEncode, the characters of four bytes for each choice of which of
// them are escaped (bit k for byte k): each byte's first character (itself
// or '%', at index k), then for an escaped byte its two digits (at 4 + k
// and 8 + k); `length` of the sixteen places are in use.
struct UrlOrder {
  std::array<char, 16> from;
  int length;
};

constexpr std::array<UrlOrder, 16> kUrlOrders = [] {
  std::array<UrlOrder, 16> orders{};
  for (int escaped = 0; escaped < 16; ++escaped) {
    UrlOrder& order = orders[escaped];
    order.from.fill(-1);
    for (int k = 0; k < 4; ++k) {
      order.from[order.length++] = static_cast<char>(k);
      if ((escaped >> k & 1) == 0) continue;
      order.from[order.length++] = static_cast<char>(4 + k);
      order.from[order.length++] = static_cast<char>(8 + k);
    }
  }
  return orders;
}();

WIDE Progress urlEncode(const char* in, std::size_t n, char* out) {
  const __m128i digits = load128(tables::kHexDigits);
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i percent = _mm_set1_epi8('%');
  // A group's characters go out in a 16-byte store, except where that would
  // pass the end of the room for 3n.
  const char* const room = out + 3 * n;
  std::size_t i = 0;
  char* o = out;
  for (; i + 16 <= n; i += 16) {
    const __m128i c = load128(in + i);
    const __m128i digit = _mm_sub_epi8(c, _mm_set1_epi8('0'));
    const __m128i letter =
        _mm_sub_epi8(_mm_and_si128(c, _mm_set1_epi8(static_cast<char>(0xDF))), _mm_set1_epi8('A'));
    // All ones in the letters and digits, which stay as they are.
    const __m128i plain =
        _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(digit, _mm_set1_epi8(9)), digit),
                     _mm_cmpeq_epi8(_mm_min_epu8(letter, _mm_set1_epi8(25)), letter));
    const auto escaped = ~static_cast<unsigned>(_mm_movemask_epi8(plain)) & 0xFFFF;
    if (escaped == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), c);
      o += 16;
      continue;
    }
    const __m128i first = _mm_blendv_epi8(percent, c, plain);
    const __m128i high = _mm_shuffle_epi8(digits, _mm_and_si128(_mm_srli_epi16(c, 4), nibble));
    const __m128i low = _mm_shuffle_epi8(digits, _mm_and_si128(c, nibble));
    // Each group of four bytes as its first characters, high digits and low
    // digits, four places each.
    const __m128i firstHigh[2] = {_mm_unpacklo_epi32(first, high), _mm_unpackhi_epi32(first, high)};
    const __m128i groups[4] = {
        _mm_unpacklo_epi64(firstHigh[0], low),
        _mm_unpackhi_epi64(firstHigh[0], _mm_slli_si128(low, 4)),
        _mm_unpacklo_epi64(firstHigh[1], _mm_srli_si128(low, 8)),
        _mm_unpackhi_epi64(firstHigh[1], _mm_srli_si128(low, 4)),
    };
    for (int g = 0; g < 4; ++g) {
      const UrlOrder& order = kUrlOrders[escaped >> (4 * g) & 0xF];
      const __m128i characters = _mm_shuffle_epi8(groups[g], load128(order.from.data()));
      if (o + 16 <= room) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), characters);
      } else {
        char last[16];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(last), characters);
        std::memcpy(o, last, static_cast<std::size_t>(order.length));
      }
      o += order.length;
    }
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// For each choice of which of eight bytes to keep (bit k for byte k), the
// places of the kept bytes in order, one to a byte of the word; the places
// past them are 0.
constexpr std::array<std::uint64_t, 256> kPackOrders = [] {
  std::array<std::uint64_t, 256> orders{};
  for (int keep = 0; keep < 256; ++keep) {
    int length = 0;
    for (int k = 0; k < 8; ++k) {
      if ((keep >> k & 1) != 0) orders[keep] |= std::uint64_t(k) << (8 * length++);
    }
  }
  return orders;
}();

// Writes the bytes of `bytes` that `keep` marks (bit k for byte k) to the
// front of `out`, in order, and says how many there are. Each eight bytes go
// out in an 8-byte store, so bytes after the kept ones are written over too,
// though never past out + 32.
WIDE std::size_t pack(__m256i bytes, std::uint32_t keep, char* out) {
  const __m256i order =
      _mm256_or_si256(_mm256_setr_epi64x(static_cast<long long>(kPackOrders[keep & 0xFF]),
                                         static_cast<long long>(kPackOrders[keep >> 8 & 0xFF]),
                                         static_cast<long long>(kPackOrders[keep >> 16 & 0xFF]),
                                         static_cast<long long>(kPackOrders[keep >> 24])),
                      _mm256_setr_epi64x(0, 0x0808080808080808, 0, 0x0808080808080808));
  const __m256i packed = _mm256_shuffle_epi8(bytes, order);
  const __m128i halves[2] = {_mm256_castsi256_si128(packed), _mm256_extracti128_si256(packed, 1)};
  std::size_t o = 0;
  for (int half = 0; half < 2; ++half) {
    const std::uint32_t kept = keep >> (16 * half);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o), halves[half]);
    o += static_cast<std::size_t>(_mm_popcnt_u32(kept & 0xFF));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + o),
                     _mm_unpackhi_epi64(halves[half], halves[half]));
    o += static_cast<std::size_t>(_mm_popcnt_u32(kept >> 8 & 0xFF));
  }
  return o;
}

// The value that an escape gives each of 32 characters as a digit: 0-9 for
// '0'-'9', 10-35 for 'A'-'Z', 10-15 for 'a'-'f' and 32 for all else.
WIDE __m256i hexValuesOf(__m256i c) {
  const __m256i digit = _mm256_sub_epi8(c, _mm256_set1_epi8('0'));
  const __m256i upper = _mm256_sub_epi8(c, _mm256_set1_epi8('A'));
  const __m256i lower = _mm256_sub_epi8(c, _mm256_set1_epi8('a'));
  const __m256i ten = _mm256_set1_epi8(10);
  __m256i value = _mm256_blendv_epi8(_mm256_set1_epi8(32), digit, below(digit, 10));
  value = _mm256_blendv_epi8(value, _mm256_add_epi8(upper, ten), below(upper, 26));
  return _mm256_blendv_epi8(value, _mm256_add_epi8(lower, ten), below(lower, 6));
}

// Decodes 32-byte blocks while no '%' falls on the two characters after
// another '%'. Escapes may reach two characters past a block.
WIDE Progress urlDecode(const char* in, std::size_t n, char* out) {
  std::size_t i = 0;
  std::size_t o = 0;
  while (i + 34 <= n) {
    const __m256i c = load(in + i);
    const __m256i escapes = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('%'));
    const auto percent = static_cast<std::uint32_t>(_mm256_movemask_epi8(escapes));
    // As o <= i, no store reaches past the block, all of which is loaded.
    if (percent == 0) {
      store(out + o, c);
      i += 32;
      o += 32;
      continue;
    }
    const std::uint32_t digits = percent << 1 | percent << 2;
    if ((percent & digits) != 0) break;
    const __m256i high = hexValuesOf(load(in + i + 1));
    const __m256i low = hexValuesOf(load(in + i + 2));
    const __m256i decoded = _mm256_add_epi8(
        _mm256_and_si256(_mm256_slli_epi16(high, 4), _mm256_set1_epi8(static_cast<char>(0xF0))),
        low);
    o += pack(_mm256_blendv_epi8(c, decoded, escapes), ~digits, out + o);
    // Digits of escapes at the last two places lie beyond the block.
    i += 32 + (percent >> 31 ? 2 : (percent >> 30) & 1);
  }
  return {i, o};
}

// Space, tab, line feed, vertical tab, form feed and carriage return.
WIDE __m256i whitespaceOf(__m256i c) {
  return _mm256_or_si256(_mm256_cmpeq_epi8(c, _mm256_set1_epi8(' ')),
                         below(_mm256_sub_epi8(c, _mm256_set1_epi8('\t')), 5));
}

// Each byte of `bytes` moved up `places` (1 to 15) places, with zeros in the
// first.
template <int places>
WIDE __m256i shiftUp(__m256i bytes) {
  return _mm256_alignr_epi8(bytes, _mm256_permute2x128_si256(bytes, bytes, 0x08), 16 - places);
}

// Reads the numbers of 32-byte blocks that hold only whitespace, digits and
// signs directly before digits, with no number longer than three digits.
// Each block is taken up to its last whitespace, so that no number runs past
// it. Stops at the first block it cannot take whole.
WIDE Progress fromDecimal(const char* in, std::size_t n, char* out) {
  const __m256i zero = _mm256_set1_epi8('0');
  const __m256i tens = _mm256_broadcastsi128_si256(
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(tables::kDigitTens.data())));
  const __m256i hundreds = _mm256_broadcastsi128_si256(
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(tables::kDigitHundreds.data())));
  std::size_t i = 0;
  std::size_t o = 0;
  while (i + 34 <= n) {
    const __m256i c = load(in + i);
    const __m256i d0 = _mm256_sub_epi8(c, zero);
    const __m256i d1 = _mm256_sub_epi8(load(in + i + 1), zero);
    const __m256i d2 = _mm256_sub_epi8(load(in + i + 2), zero);
    const __m256i digit = below(d0, 10);
    const __m256i digitNext = below(d1, 10);
    const __m256i space = whitespaceOf(c);
    const __m256i minus = _mm256_cmpeq_epi8(c, _mm256_set1_epi8('-'));
    const __m256i sign = _mm256_or_si256(minus, _mm256_cmpeq_epi8(c, _mm256_set1_epi8('+')));
    const auto spaces = static_cast<std::uint32_t>(_mm256_movemask_epi8(space));
    if (spaces == 0) break;
    const auto end = static_cast<unsigned>(32 - std::countl_zero(spaces));
    const std::uint32_t taken = _bzhi_u32(~0u, end);
    const auto usable = static_cast<std::uint32_t>(_mm256_movemask_epi8(
        _mm256_or_si256(_mm256_or_si256(space, digit), _mm256_and_si256(sign, digitNext))));
    const auto digits = static_cast<std::uint32_t>(_mm256_movemask_epi8(digit));
    const std::uint32_t longRun = digits & digits >> 1 & digits >> 2 & digits >> 3;
    if (((~usable | longRun) & taken) != 0) break;
    // The value of one, two or three digits starting at each place, negated
    // after a '-'.
    __m256i value =
        _mm256_blendv_epi8(d0, _mm256_add_epi8(_mm256_shuffle_epi8(tens, d0), d1), digitNext);
    value = _mm256_blendv_epi8(
        value,
        _mm256_add_epi8(
            _mm256_add_epi8(_mm256_shuffle_epi8(hundreds, d0), _mm256_shuffle_epi8(tens, d1)), d2),
        _mm256_and_si256(digitNext, below(d2, 10)));
    const __m256i negative = shiftUp<1>(minus);
    value = _mm256_sub_epi8(_mm256_xor_si256(value, negative), negative);
    const std::uint32_t starts = digits & ~(digits << 1) & taken;
    // The stores reach up to 32 bytes on; where that could pass input still
    // to read, the numbers go through a buffer.
    if (o + 32 <= i + end) {
      o += pack(value, starts, out + o);
    } else {
      char numbers[32];
      const std::size_t count = pack(value, starts, numbers);
      std::memcpy(out + o, numbers, count);
      o += count;
    }
    i += end;
  }
  return {i, o};
}

// The binary digits of four bytes, `width` characters each, in the first
// 4 * width bytes of a vector: lane l shows bit width - 1 - l % width of
// byte l / width.
template <int width>
WIDE __m256i binaryDigitsOf(const char* in) {
  static constexpr auto kOrder = [] {
    struct {
      std::array<char, 32> byte;
      std::array<char, 32> bit;
    } order{};
    for (int l = 0; l < 32; ++l) {
      order.byte[l] = static_cast<char>(l < 4 * width ? l / width : 0);
      order.bit[l] = static_cast<char>(1 << (width - 1 - l % width));
    }
    return order;
  }();
  std::int32_t four;
  std::memcpy(&four, in, 4);
  const __m256i bytes = _mm256_shuffle_epi8(_mm256_set1_epi32(four), load(kOrder.byte.data()));
  const __m256i bit = load(kOrder.bit.data());
  const __m256i set = _mm256_cmpeq_epi8(_mm256_and_si256(bytes, bit), bit);
  return _mm256_sub_epi8(_mm256_set1_epi8('0'), set);
}

template <int width>
WIDE Progress toBinaryOf(const char* in, std::size_t n, char* out) {
  std::size_t i = 0;
  char* o = out;
  // At 7 bits a vector holds 28 characters; its last four go past them, and
  // are overwritten by the next four bytes' digits, except at the end.
  for (; i + 8 <= n; i += 4, o += 4 * width)
    store(o, binaryDigitsOf<width>(in + i));
  if (i + 4 <= n) {
    const __m256i digits = binaryDigitsOf<width>(in + i);
    if constexpr (width == 8) {
      store(o, digits);
    } else {
      _mm256_maskstore_epi32(reinterpret_cast<int*>(o),
                             _mm256_setr_epi32(-1, -1, -1, -1, -1, -1, -1, 0), digits);
    }
    i += 4;
    o += 4 * width;
  }
  return {i, static_cast<std::size_t>(o - out)};
}

WIDE Progress toBinary(const char* in, std::size_t n, char* out, int width) {
  return width == 7 ? toBinaryOf<7>(in, n, out) : toBinaryOf<8>(in, n, out);
}

// For toDecimal, how four numbers of one to four characters, each at the
// end of its own four bytes, go out with a space after each: for every
// choice of their lengths (l0 + 4 l1 + 16 l2 + 64 l3, with lk the length of
// number k less one), the place each character comes from (-1 for a space).
// At most 20 places are in use; the last place holds how many.
alignas(32) constexpr std::array<std::array<char, 32>, 256> kDecimalOrders = [] {
  std::array<std::array<char, 32>, 256> orders{};
  for (int lengths = 0; lengths < 256; ++lengths) {
    std::array<char, 32>& from = orders[lengths];
    from.fill(-1);
    int place = 0;
    for (int k = 0; k < 4; ++k) {
      const int length = (lengths >> (2 * k) & 3) + 1;
      for (int j = 4 - length; j < 4; ++j)
        from[place++] = static_cast<char>(4 * k + j);
      ++place;
    }
    from[31] = static_cast<char>(place);
  }
  return orders;
}();

// Writes 32 bytes as signed numbers, each with a space after it, at `out`,
// and returns the end of them. Each number is worked out in a byte lane,
// right-aligned in four bytes of its own; four such numbers at a time are
// then packed and spaced by a shuffle from kDecimalOrders into a 32-byte
// store. Where `room` is given, a store that would pass it goes through a
// buffer instead; otherwise up to 24 bytes past the end are written over.
[[gnu::always_inline]] WIDE inline char* spellDecimals(const char* in, char* out,
                                                       const char* room = nullptr) {
  const __m256i c = load(in);
  const __m256i minus = _mm256_cmpgt_epi8(_mm256_setzero_si256(), c);
  const __m256i magnitude = _mm256_abs_epi8(c);
  // Magnitudes are at most 128: a tenth of each, in 16-bit lanes, and ten
  // times that, which stays within each byte.
  const __m256i lowByte = _mm256_set1_epi16(0xFF);
  const __m256i tenth = _mm256_set1_epi16(6554);
  const __m256i tens = _mm256_or_si256(
      _mm256_mulhi_epu16(_mm256_and_si256(magnitude, lowByte), tenth),
      _mm256_slli_epi16(_mm256_mulhi_epu16(_mm256_srli_epi16(magnitude, 8), tenth), 8));
  const __m256i ones =
      _mm256_add_epi8(_mm256_sub_epi8(magnitude, _mm256_mullo_epi16(tens, _mm256_set1_epi16(10))),
                      _mm256_set1_epi8('0'));
  const __m256i twoDigits = _mm256_cmpgt_epi8(tens, _mm256_setzero_si256());
  const __m256i threeDigits = _mm256_cmpgt_epi8(tens, _mm256_set1_epi8(9));
  const __m256i ten =
      _mm256_add_epi8(_mm256_sub_epi8(tens, _mm256_and_si256(threeDigits, _mm256_set1_epi8(10))),
                      _mm256_set1_epi8('0'));
  // The sign goes right before the first digit: in place 0 before three
  // digits, 1 before two, 2 before one.
  const __m256i sign = _mm256_and_si256(minus, _mm256_set1_epi8('-'));
  const __m256i place0 = _mm256_and_si256(threeDigits, sign);
  const __m256i place1 =
      _mm256_blendv_epi8(_mm256_and_si256(twoDigits, sign), _mm256_set1_epi8('1'), threeDigits);
  const __m256i place2 = _mm256_blendv_epi8(sign, ten, twoDigits);
  const __m256i low01 = _mm256_unpacklo_epi8(place0, place1);
  const __m256i high01 = _mm256_unpackhi_epi8(place0, place1);
  const __m256i low23 = _mm256_unpacklo_epi8(place2, ones);
  const __m256i high23 = _mm256_unpackhi_epi8(place2, ones);
  // Numbers 0-3 and 16-19, 4-7 and 20-23, 8-11 and 24-27, 12-15 and 28-31.
  const __m256i numbers[4] = {
      _mm256_unpacklo_epi16(low01, low23), _mm256_unpackhi_epi16(low01, low23),
      _mm256_unpacklo_epi16(high01, high23), _mm256_unpackhi_epi16(high01, high23)};
  // Each group's place in kDecimalOrders, in bytes.
  const __m256i less = _mm256_abs_epi8(
      _mm256_add_epi8(_mm256_add_epi8(twoDigits, threeDigits), minus));  // length - 1
  alignas(32) std::uint32_t at[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(at),
                     _mm256_madd_epi16(_mm256_maddubs_epi16(less, _mm256_set1_epi16(0x0401)),
                                       _mm256_set1_epi32(0x02000020)));
  const char* const orders = kDecimalOrders[0].data();
  for (int group = 0; group < 8; ++group) {
    // Each group of four fills both halves of a vector, for a shuffle to 32
    // places.
    const __m256i source = group < 4 ? _mm256_permute4x64_epi64(numbers[group], 0x44)
                                     : _mm256_permute4x64_epi64(numbers[group - 4], 0xEE);
    const char* const order = orders + at[group];
    const __m256i characters =
        _mm256_max_epu8(_mm256_shuffle_epi8(source, load(order)), _mm256_set1_epi8(' '));
    const auto length = static_cast<unsigned char>(order[31]);
    if (room == nullptr || out + 32 <= room) {
      store(out, characters);
    } else {
      char last[32];
      store(last, characters);
      std::memcpy(out, last, length);
    }
    out += length;
  }
  return out;
}

WIDE Progress toDecimal(const char* in, std::size_t n, char* out) {
  std::size_t i = 0;
  char* o = out;
  // While 64 bytes are left, the room for them takes what a block writes
  // past its end.
  for (; i + 64 <= n; i += 32)
    o = spellDecimals(in + i, o);
  if (i + 32 <= n) {
    o = spellDecimals(in + i, o, out + 5 * n);
    i += 32;
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// The bits of 64 bytes' movemasks, the first 32 bytes' low.
WIDE std::uint64_t maskOf64(__m256i first, __m256i second) {
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(first)) |
         std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(second))} << 32;
}

// Decodes the words of 64-byte blocks. Stops where a word runs past the last
// whole block, or at a word of 64 bytes or more.
WIDE Progress morseDecode(const char* in, std::size_t n, char* out) {
  const __m256i dash = _mm256_set1_epi8('-');
  const __m256i dot = _mm256_set1_epi8('.');
  std::size_t i = 0;
  std::size_t o = 0;
  while (i + 64 <= n) {
    const __m256i first = load(in + i);
    const __m256i second = load(in + i + 32);
    const __m256i firstSpace = whitespaceOf(first);
    const __m256i secondSpace = whitespaceOf(second);
    const __m256i firstDash = _mm256_cmpeq_epi8(first, dash);
    const __m256i secondDash = _mm256_cmpeq_epi8(second, dash);
    const tables::MorseBlock block = {
        maskOf64(firstSpace, secondSpace),
        maskOf64(firstDash, secondDash),
        ~maskOf64(
            _mm256_or_si256(_mm256_or_si256(firstSpace, firstDash), _mm256_cmpeq_epi8(first, dot)),
            _mm256_or_si256(_mm256_or_si256(secondSpace, secondDash),
                            _mm256_cmpeq_epi8(second, dot))),
    };
    const unsigned position = tables::decodeMorseWords(block, out, o);
    if (position == 0) break;
    i += position;
  }
  return {i, o};
}

// Each 32 digits as 20 bytes, up to the first block with a byte that is no
// digit: letters in either case are 0..25, '2'..'7' are 26..31.
WIDE Progress base32Decode(const char* in, std::size_t n, char* out) {
  // Within each half, the five bytes of each of its two groups, highest
  // first, from their 64-bit lanes; the last six are left as they fall.
  const __m256i gather = _mm256_setr_epi8(4, 3, 2, 1, 0, 12, 11, 10, 9, 8, -1, -1, -1, -1, -1, -1,
                                          4, 3, 2, 1, 0, 12, 11, 10, 9, 8, -1, -1, -1, -1, -1, -1);
  std::size_t i = 0;
  char* o = out;
  for (; i + 32 <= n; i += 32, o += 20) {
    const __m256i c = load(in + i);
    const __m256i letter = _mm256_sub_epi8(
        _mm256_and_si256(c, _mm256_set1_epi8(static_cast<char>(0xDF))), _mm256_set1_epi8('A'));
    const __m256i digit = _mm256_sub_epi8(c, _mm256_set1_epi8('2' - 26));
    const __m256i isLetter = below(letter, 26);
    const __m256i isDigit = below(_mm256_sub_epi8(c, _mm256_set1_epi8('2')), 6);
    if (~_mm256_movemask_epi8(_mm256_or_si256(isLetter, isDigit)) != 0) break;
    const __m256i values = _mm256_blendv_epi8(digit, letter, isLetter);
    // Pairs of digits to 10 bits, pairs of those to 20, and two of those to
    // the group's 40 bits.
    const __m256i tens = _mm256_maddubs_epi16(values, _mm256_set1_epi16(0x0120));
    const __m256i twenties = _mm256_madd_epi16(tens, _mm256_set1_epi32(0x00010400));
    const __m256i groups = _mm256_or_si256(
        _mm256_and_si256(_mm256_slli_epi64(twenties, 20), _mm256_set1_epi64x(0xFFFFF00000)),
        _mm256_srli_epi64(twenties, 32));
    const __m256i bytes = _mm256_shuffle_epi8(groups, gather);
    // Sixteen bytes for each ten: what spills over is written again by the
    // next store or the next block, and lies within the 32 bytes read.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 10), _mm256_extracti128_si256(bytes, 1));
  }
  return {i, static_cast<std::size_t>(o - out)};
}

// Octal numbers of 32-byte blocks, as the AVX-512 kernel reads them: each
// block up to its last byte that is no digit, each number from the three
// bytes before its end.
WIDE Progress fromOctal(const char* in, std::size_t n, char* out) {
  std::size_t i = 0;
  char* o = out;
  while (i + 32 <= n) {
    const __m256i digits = _mm256_sub_epi8(load(in + i), _mm256_set1_epi8('0'));
    const __m256i isDigit = below(digits, 8);
    const auto other = ~static_cast<std::uint32_t>(_mm256_movemask_epi8(isDigit));
    if (other == 0) break;
    const __m256i run1 = shiftUp<1>(isDigit);
    const __m256i run2 = _mm256_and_si256(run1, shiftUp<2>(isDigit));
    const __m256i run3 = _mm256_and_si256(run2, shiftUp<3>(isDigit));
    const __m256i d = _mm256_and_si256(digits, isDigit);
    const __m256i ones = _mm256_and_si256(shiftUp<1>(d), run1);
    const __m256i eights = _mm256_and_si256(shiftUp<2>(d), run2);
    const __m256i sixtyFours = _mm256_and_si256(shiftUp<3>(d), run3);
    const __m256i numbers =
        _mm256_or_si256(_mm256_or_si256(ones, _mm256_slli_epi16(eights, 3)),
                        _mm256_slli_epi16(_mm256_and_si256(sixtyFours, _mm256_set1_epi8(3)), 6));
    const std::uint32_t ends = other & static_cast<std::uint32_t>(_mm256_movemask_epi8(run1));
    // Packed apart first: pack writes past what it keeps, where input not
    // yet read may lie.
    char packed[40];
    const std::size_t count = pack(numbers, ends, packed);
    std::memcpy(o, packed, count);
    o += count;
    i += 32 - static_cast<std::size_t>(std::countl_zero(other));
  }
  return {i, static_cast<std::size_t>(o - out)};
}

}  // namespace

const Kernels& avx2Kernels() {
  static constexpr Kernels kAvx2 = {
      .name = "AVX2",
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
      .morseEncode = nothing,
      .base32Encode = nothing,
      .toOctal = nothing,
      .base64Decode = base64Decode,
      .urlDecode = urlDecode,
      .fromDecimal = fromDecimal,
      .morseDecode = morseDecode,
      .base32Decode = base32Decode,
      .fromOctal = fromOctal,
  };
  return kAvx2;
}

bool avx2Available() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2");
}

}  // namespace kernels

#endif  // ZEMBRAX_HAS_AVX2
