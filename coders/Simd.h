#ifndef ZEMBRAX_CODERS_SIMD_H_
#define ZEMBRAX_CODERS_SIMD_H_

// Wide kernels for processors with AVX-512 (byte and permute instructions
// included), chosen at run time. Every operation keeps its plain loop as the
// portable path, which ZEMBRAX_PORTABLE=1 in the environment also selects.

#include <cstdlib>
#include <string>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// GCC 12's AVX-512 intrinsics pass deliberately undefined vectors, which its
// uninitialised-use warnings report wherever they are inlined (GCC bug
// 105593). The warnings point into the intrinsics' own header, so they are
// silenced there alone and stay on for the code that uses them.
#if !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif
#define ZEMBRAX_HAS_WIDE 1
// Marks a function that may use the wide instructions.
#define ZEMBRAX_WIDE \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))
// A wide kernel where they exist, otherwise nothing (a null pointer).
#define ZEMBRAX_IF_WIDE(kernel) kernel
#else
#define ZEMBRAX_HAS_WIDE 0
#define ZEMBRAX_IF_WIDE(kernel) nullptr
#endif

namespace simd {

// True when the wide kernels may run here.
inline bool wide() {
#if ZEMBRAX_HAS_WIDE
  static const bool available = [] {
    const char* portable = std::getenv("ZEMBRAX_PORTABLE");
    if (portable != nullptr && *portable != '\0' && *portable != '0') return false;
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
           __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2");
  }();
  return available;
#else
  return false;
#endif
}

#if ZEMBRAX_HAS_WIDE
// A table of 256 bytes, held in four vectors for `lookup`.
struct ByteTable {
  __m512i quarter[4];
};

ZEMBRAX_WIDE inline ByteTable loadTable(const unsigned char* table) {
  return {{_mm512_loadu_si512(table), _mm512_loadu_si512(table + 64),
           _mm512_loadu_si512(table + 128), _mm512_loadu_si512(table + 192)}};
}

// The table entries of 64 bytes at once: two 128-entry lookups, between
// which the top bit of each byte chooses.
ZEMBRAX_WIDE inline __m512i lookup(const ByteTable& table, __m512i bytes) {
  const __m512i low = _mm512_permutex2var_epi8(table.quarter[0], bytes, table.quarter[1]);
  const __m512i high = _mm512_permutex2var_epi8(table.quarter[2], bytes, table.quarter[3]);
  return _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), low, high);
}

// Lane 8k + j holds byte `first` + k of a vector, for eight bytes k: the
// order that spreads eight bytes over eight lanes each.
ZEMBRAX_WIDE inline __m512i spreadEight(int first) {
  return _mm512_add_epi8(
      _mm512_set_epi64(0x0707070707070707, 0x0606060606060606, 0x0505050505050505,
                       0x0404040404040404, 0x0303030303030303, 0x0202020202020202,
                       0x0101010101010101, 0),
      _mm512_set1_epi8(static_cast<char>(first)));
}

template <typename Map>
ZEMBRAX_WIDE void mapBytesWide(std::string& text, Map map) {
  for (char& c : text)
    c = map(c);
}
#endif

// Replaces every byte `c` of `text` by `map(c)`. A branch-free `map` lets the
// compiler vectorise the loop, with the wide instructions where they run.
template <typename Map>
void mapBytes(std::string& text, Map map) {
#if ZEMBRAX_HAS_WIDE
  if (wide()) return mapBytesWide(text, map);
#endif
  for (char& c : text)
    c = map(c);
}

}  // namespace simd

#endif  // ZEMBRAX_CODERS_SIMD_H_
