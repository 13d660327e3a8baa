#include "classic/ClassicCoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "Ascii.h"
#include "OutputBuffer.h"
#include "Simd.h"
#include "classic/VigenereKey.h"

namespace {

constexpr char kBase64Chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kBase64Size = 64;

// Marks the characters that the decoder skips; no 6-bit value has this bit.
constexpr unsigned char kSkip = 0x80;

// The decoder's view of every byte: its 6-bit value, kSkip for whitespace,
// and 0 for everything else outside the alphabet.
constexpr std::array<unsigned char, 256> kBase64Values = [] {
  std::array<unsigned char, 256> values{};
  for (int p = 0; p < kBase64Size; ++p) {
    values[static_cast<unsigned char>(kBase64Chars[p])] = static_cast<unsigned char>(p);
  }
  for (int c = 0; c < 256; ++c) {
    if (ascii::isWhitespace(static_cast<char>(c))) values[c] = kSkip;
  }
  return values;
}();

// The shift in 0..25 that moves a letter as `shift` does.
unsigned char letterShift(std::int32_t shift) {
  return static_cast<unsigned char>((shift % 26 + 26) % 26);
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

// Appends the non-zero prefix of the three bytes in `group` (24 bits, first
// byte highest) at `out` and returns the position after it.
inline char* putGroup(char* out, std::uint32_t group) {
  const auto b0 = static_cast<unsigned char>(group >> 16);
  const auto b1 = static_cast<unsigned char>(group >> 8);
  const auto b2 = static_cast<unsigned char>(group);
  out[0] = static_cast<char>(b0);
  out[1] = static_cast<char>(b1);
  out[2] = static_cast<char>(b2);
  const int kept = b0 == 0 ? 0 : b1 == 0 ? 1 : b2 == 0 ? 2 : 3;
  return out + kept;
}

#if ZEMBRAX_HAS_WIDE

// Moves the letters of 64-byte blocks of `text` from `start` on, the n-th
// letter by steps[(position + n) % keyLength]; `steps` holds the key's steps
// repeated to keyLength + 64 bytes. Returns where it stopped.
ZEMBRAX_WIDE std::size_t vigenereBlocks(std::string& text, const std::string& steps,
                                        std::size_t keyLength, std::size_t& position) {
  const __m512i letterBits = _mm512_set1_epi8(static_cast<char>(0xDF));
  const __m512i a = _mm512_set1_epi8('A');
  const __m512i alphabet = _mm512_set1_epi8(26);
  std::size_t i = 0;
  for (; i + 64 <= text.size(); i += 64) {
    char* block = text.data() + i;
    const __m512i c = _mm512_loadu_si512(block);
    const __m512i index = _mm512_sub_epi8(_mm512_and_si512(c, letterBits), a);
    const __mmask64 letters = _mm512_cmplt_epu8_mask(index, alphabet);
    // Deals the next key steps out to the letters, in order.
    const __m512i step =
        _mm512_maskz_expand_epi8(letters, _mm512_loadu_si512(steps.data() + position));
    __m512i moved = _mm512_add_epi8(index, step);
    moved = _mm512_min_epu8(moved, _mm512_sub_epi8(moved, alphabet));
    _mm512_storeu_si512(block, _mm512_mask_add_epi8(c, letters, _mm512_sub_epi8(c, index), moved));
    position = (position + static_cast<std::size_t>(_mm_popcnt_u64(letters))) % keyLength;
  }
  return i;
}

// Encodes whole runs of 192 bytes, each 48 as 64 characters; returns the
// number of bytes encoded.
ZEMBRAX_WIDE std::size_t base64EncodeBlocks(const char* in, std::size_t n, OutputBuffer& out) {
  // Each group of three bytes b0 b1 b2 goes to a 32-bit word as b1 b0 b2 b1,
  // from which one multishift takes the four 6-bit fields.
  const __m512i spread =
      _mm512_setr_epi32(0x01020001, 0x04050304, 0x07080607, 0x0a0b090a, 0x0d0e0c0d, 0x10110f10,
                        0x13141213, 0x16171516, 0x191a1819, 0x1c1d1b1c, 0x1f201e1f, 0x22232122,
                        0x25262425, 0x28292728, 0x2b2c2a2b, 0x2e2f2d2e);
  const __m512i fields = _mm512_set1_epi64(0x3036242a1016040a);
  const __m512i alphabet = _mm512_loadu_si512(kBase64Chars);
  std::size_t i = 0;
  // Four blocks a round, so that the output buffer is asked for room less
  // often.
  for (; i + 4 * 48 <= n; i += 4 * 48) {
    char* o = out.next();
    for (int block = 0; block < 4; ++block) {
      const __m512i bytes = _mm512_maskz_loadu_epi8(0xFFFFFFFFFFFF, in + i + 48 * block);
      const __m512i values =
          _mm512_multishift_epi64_epi8(fields, _mm512_permutexvar_epi8(spread, bytes));
      _mm512_storeu_si512(o + 64 * block, _mm512_permutexvar_epi8(values, alphabet));
    }
    out.wrote(o + 4 * 64);
  }
  return i;
}

// The 6-bit value of every ASCII character, and 0x80 for those outside the
// alphabet.
constexpr std::array<unsigned char, 128> kStrictValues = [] {
  std::array<unsigned char, 128> values{};
  values.fill(0x80);
  for (int p = 0; p < kBase64Size; ++p) {
    values[static_cast<unsigned char>(kBase64Chars[p])] = static_cast<unsigned char>(p);
  }
  return values;
}();

// Decodes 64-character blocks made only of alphabet characters and free of
// zero bytes in their output, writing 48 bytes for each at `out`, which may
// trail `in` in the same buffer. Stops before the first other block; returns
// the number of characters decoded.
ZEMBRAX_WIDE std::size_t base64DecodeBlocks(const char* in, std::size_t n, char* out) {
  const __m512i lowTable = _mm512_loadu_si512(kStrictValues.data());
  const __m512i highTable = _mm512_loadu_si512(kStrictValues.data() + 64);
  // Byte 2, 1, 0 of every 32-bit word, which holds one group's 24 bits.
  constexpr auto gather = [] {
    std::array<char, 64> order{};
    for (int k = 0; k < 16; ++k) {
      for (int j = 0; j < 3; ++j)
        order[3 * k + j] = static_cast<char>(4 * k + 2 - j);
    }
    return order;
  }();
  const __m512i order = _mm512_loadu_si512(gather.data());
  constexpr __mmask64 kOutput = 0xFFFFFFFFFFFF;
  std::size_t i = 0;
  for (; i + 64 <= n; i += 64, out += 48) {
    const __m512i c = _mm512_loadu_si512(in + i);
    const __m512i values = _mm512_permutex2var_epi8(lowTable, c, highTable);
    if (_mm512_movepi8_mask(_mm512_or_si512(values, c)) != 0) break;
    const __m512i pairs = _mm512_maddubs_epi16(values, _mm512_set1_epi32(0x01400140));
    const __m512i groups = _mm512_madd_epi16(pairs, _mm512_set1_epi32(0x00011000));
    const __m512i bytes = _mm512_permutexvar_epi8(order, groups);
    if (_mm512_mask_cmpeq_epi8_mask(kOutput, bytes, _mm512_setzero_si512()) != 0) break;
    _mm512_mask_storeu_epi8(out, kOutput, bytes);
  }
  return i;
}

#endif  // ZEMBRAX_HAS_WIDE

}  // namespace

ClassicCoder::ClassicCoder() : alphabet(new char[kBase64Size]) {
  std::copy_n(kBase64Chars, kBase64Size, alphabet.get());
}

ClassicCoder::~ClassicCoder() = default;

std::string ClassicCoder::caesarShift(std::string text, std::int32_t shift) const {
  const unsigned char forward = letterShift(shift);
  simd::mapBytes(text, [forward](char c) { return moveLetter(c, forward); });
  return text;
}

std::string ClassicCoder::caesarShiftFull(std::string text, std::int32_t shift) const {
  // The same move as a forward step of 0..254 around the cycle 1..255.
  const auto forward = static_cast<unsigned char>((shift % 255 + 255) % 255);
  // A zero byte is outside the cycle: it lands on the shift itself, or on 255
  // when the shift is a whole number of turns.
  const auto fromZero = static_cast<unsigned char>(forward == 0 ? 255 : forward);
  simd::mapBytes(text, [forward, fromZero](char c) {
    const auto byte = static_cast<unsigned char>(c);
    const auto sum = static_cast<unsigned char>(byte + forward);
    // Passing 255 skips the zero byte.
    const auto moved = static_cast<unsigned char>(sum + (sum < byte ? 1 : 0));
    return static_cast<char>(byte == 0 ? fromZero : moved);
  });
  return text;
}

std::string ClassicCoder::vigenereEncode(std::string text, std::string key) const {
  return vigenereCore(std::move(text), std::move(key), 0);
}

std::string ClassicCoder::vigenereDecode(std::string text, std::string key) const {
  return vigenereCore(std::move(text), std::move(key), 1);
}

std::string ClassicCoder::vigenereCore(std::string text, std::string key, int direction) const {
  if (key.empty()) return text;
  sanitizeKey(key);
  VigenereKey(key, direction).apply(text);
  return text;
}

VigenereKey::VigenereKey(const std::string& key, int direction)
    : steps(key.size() + 64, '\0'), length(key.size()) {
  // Going back by k is going forward by 26 - k.
  for (std::size_t j = 0; j < steps.size(); ++j) {
    const int value = ascii::letterIndex(key[j % length]);
    steps[j] = static_cast<char>(direction == 0 ? value : (26 - value) % 26);
  }
}

void VigenereKey::apply(std::string& text) {
  std::size_t i = 0;
#if ZEMBRAX_HAS_WIDE
  if (simd::wide()) i = vigenereBlocks(text, steps, length, position);
#endif
  for (; i < text.size(); ++i) {
    // Only letters take a key letter; written without branches because
    // letters and other bytes alternate unpredictably in ordinary text.
    const bool isLetter = ascii::isLetter(text[i]);
    text[i] = moveLetter(text[i], static_cast<unsigned char>(steps[position]));
    position += isLetter ? 1 : 0;
    position = position == length ? 0 : position;
  }
}

void ClassicCoder::sanitizeKey(std::string& key) const {
  for (char& c : key) {
    if (!ascii::isLetter(c)) c = 'A';
  }
}

int ClassicCoder::base64Index(unsigned char c) const {
  return kBase64Values[c] & 0x3F;
}

std::string ClassicCoder::base64Encode(std::string text) const {
  const std::size_t n = text.size();
  OutputBuffer out((n + 2) / 3 * 4);
  std::size_t i = 0;
#if ZEMBRAX_HAS_WIDE
  if (simd::wide()) i = base64EncodeBlocks(text.data(), n, out);
#endif
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  const char* a = alphabet.get();
  for (; i < n; i += 3) {
    // The last group may hold one or two bytes; '=' pads it to four.
    const std::size_t bytes = std::min<std::size_t>(3, n - i);
    const std::uint32_t group =
        in[i] << 16 | (bytes > 1 ? in[i + 1] << 8 : 0) | (bytes > 2 ? in[i + 2] : 0);
    char* o = out.next();
    o[0] = a[group >> 18];
    o[1] = a[(group >> 12) & 0x3F];
    o[2] = bytes > 1 ? a[(group >> 6) & 0x3F] : '=';
    o[3] = bytes > 2 ? a[group & 0x3F] : '=';
    out.wrote(o + 4);
  }
  return out.finish();
}

std::string ClassicCoder::base64Decode(std::string text) const {
  // Decoded in place: the output never overtakes the characters still to read.
  const std::size_t n = text.size();
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  char* const start = text.data();
  char* o = start;
  std::uint32_t group = 0;
  int count = 0;
  std::size_t i = 0;
  while (i < n) {
#if ZEMBRAX_HAS_WIDE
    if (count == 0 && simd::wide()) {
      const std::size_t done = base64DecodeBlocks(text.data() + i, n - i, o);
      o += done / 4 * 3;
      i += done;
    }
#endif
    // Up to the next 64 characters one at a time, or four at once where a
    // whole group without whitespace starts.
    for (const std::size_t stop = std::min(n, i + 64); i < stop;) {
      if (count == 0 && i + 4 <= n) {
        const unsigned v0 = kBase64Values[in[i]], v1 = kBase64Values[in[i + 1]],
                       v2 = kBase64Values[in[i + 2]], v3 = kBase64Values[in[i + 3]];
        if (((v0 | v1 | v2 | v3) & kSkip) == 0) {
          o = putGroup(o, v0 << 18 | v1 << 12 | v2 << 6 | v3);
          i += 4;
          continue;
        }
      }
      const unsigned value = kBase64Values[in[i++]];
      if (value & kSkip) continue;
      group = group << 6 | value;
      if (++count == 4) {
        o = putGroup(o, group);
        group = 0;
        count = 0;
      }
    }
  }
  text.resize(static_cast<std::size_t>(o - start));
  return text;
}
