#include "char/CharCoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <utility>

#include "Ascii.h"
#include "OutputBuffer.h"
#include "Simd.h"
#include "Spelling.h"
#include "char/DecimalReader.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Every byte but the ASCII letters and digits is escaped.
constexpr std::array<bool, 256> kEscaped = [] {
  std::array<bool, 256> escaped{};
  for (int c = 0; c < 256; ++c) {
    escaped[c] = !ascii::isLetter(static_cast<char>(c)) && !ascii::isDigit(static_cast<char>(c));
  }
  return escaped;
}();

// Escape digits: '0'-'9', 'A'-'Z' as 10-35, 'a'-'f' as 10-15, otherwise 32.
constexpr std::array<unsigned char, 256> kHexValues = [] {
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

// The eight binary digits of every byte, most significant first, back to
// back; eight spare bytes at the end let a reader copy eight at a time.
constexpr std::array<char, 256 * 8 + 8> kBinaryDigits = [] {
  std::array<char, 256 * 8 + 8> digits{};
  for (int c = 0; c < 256; ++c) {
    for (int bit = 0; bit < 8; ++bit)
      digits[c * 8 + bit] = (c >> (7 - bit)) & 1 ? '1' : '0';
  }
  return digits;
}();

// Every byte as a signed decimal number and a space: "-128 " .. "127 ".
constexpr SpellingTable kDecimalSpellings = [] {
  SpellingTable spellings{};
  for (int c = 0; c < 256; ++c) {
    Spelling& s = spellings[c];
    const int number = c < 128 ? c : c - 256;
    int magnitude = number < 0 ? -number : number;
    char reversed[3];
    int digits = 0;
    do {
      reversed[digits++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude > 0);
    if (number < 0) s.text[s.length++] = '-';
    while (digits > 0)
      s.text[s.length++] = reversed[--digits];
    s.text[s.length++] = ' ';
  }
  return spellings;
}();

// Every byte as two hexadecimal digits and a space.
constexpr SpellingTable kHexSpellings = [] {
  SpellingTable spellings{};
  for (int c = 0; c < 256; ++c)
    spellings[c] = {{kHexDigits[c >> 4], kHexDigits[c & 0x0F], ' '}, 3};
  return spellings;
}();

template <CharCoder::ByteOperation operation>
std::string applyToEach(const CharCoder& coder, std::string text, unsigned char value) {
  simd::mapBytes(text, [&coder, value](char c) {
    return static_cast<char>((coder.*operation)(static_cast<unsigned char>(c), value));
  });
  return text;
}

// Reads one group of `width` binary digits.
template <int width>
unsigned char readGroup(const char* digits) {
  unsigned value = 0;
  for (int j = 0; j < width; ++j)
    value = value << 1 | (digits[j] == '1' ? 1 : 0);
  return static_cast<unsigned char>(value);
}

template <int width>
std::string readGroups(const std::string& text) {
  std::string out(text.size() / width, '\0');
  const char* digits = text.data();
  for (char& c : out) {
    c = static_cast<char>(readGroup<width>(digits));
    digits += width;
  }
  return out;
}

#if ZEMBRAX_HAS_WIDE

// Replaces the bytes of whole 64-byte blocks by their entries in `table`;
// returns how many bytes it replaced.
ZEMBRAX_WIDE std::size_t substituteBlocks(std::string& text,
                                          const std::array<unsigned char, 256>& table) {
  const simd::ByteTable replacement = simd::loadTable(table.data());
  std::size_t i = 0;
  for (; i + 64 <= text.size(); i += 64) {
    char* block = text.data() + i;
    _mm512_storeu_si512(block, simd::lookup(replacement, _mm512_loadu_si512(block)));
  }
  return i;
}

// The upper-case hexadecimal digits of the high and of the low four bits of
// each of 64 bytes.
struct HexDigits {
  __m512i high;
  __m512i low;
};

ZEMBRAX_WIDE HexDigits hexDigitsOf(__m512i bytes) {
  const __m512i digits =
      _mm512_broadcast_i32x4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kHexDigits)));
  const __m512i nibble = _mm512_set1_epi8(0x0F);
  return {_mm512_shuffle_epi8(digits, _mm512_and_si512(_mm512_srli_epi16(bytes, 4), nibble)),
          _mm512_shuffle_epi8(digits, _mm512_and_si512(bytes, nibble))};
}

// Every third place of 48, from place 0.
constexpr std::uint64_t kEveryThird = 0x249249249249;

// Lays out 16 bytes j (from 16 * quarter on) of three vectors as triples
// a_j b_j c_j, in the first 48 bytes of the result.
class Triples {
 public:
  ZEMBRAX_WIDE explicit Triples(int quarter) {
    std::array<char, 64> fromAB{};
    std::array<char, 64> fromC{};
    for (int j = 0; j < 16; ++j) {
      fromAB[3 * j] = static_cast<char>(16 * quarter + j);
      fromAB[3 * j + 1] = static_cast<char>(64 + 16 * quarter + j);
      fromC[3 * j + 2] = static_cast<char>(16 * quarter + j);
    }
    abOrder = _mm512_loadu_si512(fromAB.data());
    cOrder = _mm512_loadu_si512(fromC.data());
  }

  ZEMBRAX_WIDE __m512i of(__m512i a, __m512i b, __m512i c) const {
    const __m512i ab = _mm512_permutex2var_epi8(a, abOrder, b);
    return _mm512_mask_permutexvar_epi8(ab, kEveryThird << 2, cOrder, c);
  }

 private:
  __m512i abOrder;
  __m512i cOrder;
};

ZEMBRAX_WIDE std::size_t toHexBlocks(const std::string& text, OutputBuffer& out) {
  const Triples quarters[4] = {Triples(0), Triples(1), Triples(2), Triples(3)};
  const __m512i spaces = _mm512_set1_epi8(' ');
  std::size_t i = 0;
  for (; i + 64 <= text.size(); i += 64) {
    const HexDigits d = hexDigitsOf(_mm512_loadu_si512(text.data() + i));
    char* o = out.next();
    for (const Triples& quarter : quarters) {
      _mm512_storeu_si512(o, quarter.of(d.high, d.low, spaces));
      o += 48;
    }
    out.wrote(o);
  }
  return i;
}

ZEMBRAX_WIDE std::size_t urlEncodeBlocks(const std::string& text, OutputBuffer& out) {
  const Triples quarters[4] = {Triples(0), Triples(1), Triples(2), Triples(3)};
  std::size_t i = 0;
  for (; i + 64 <= text.size(); i += 64) {
    const __m512i c = _mm512_loadu_si512(text.data() + i);
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
    char* o = out.next();
    for (int q = 0; q < 4; ++q) {
      const std::uint64_t escaped = escape >> (16 * q) & 0xFFFF;
      const std::uint64_t keep =
          kEveryThird | _pdep_u64(escaped, kEveryThird << 1) | _pdep_u64(escaped, kEveryThird << 2);
      _mm512_storeu_si512(o,
                          _mm512_maskz_compress_epi8(keep, quarters[q].of(first, d.high, d.low)));
      o += _mm_popcnt_u64(keep);
    }
    out.wrote(o);
  }
  return i;
}

// The escape-digit values of 64 characters.
ZEMBRAX_WIDE __m512i hexValuesOf(__m512i c) {
  const __m512i value = _mm512_permutex2var_epi8(_mm512_loadu_si512(kHexValues.data()), c,
                                                 _mm512_loadu_si512(kHexValues.data() + 64));
  return _mm512_mask_mov_epi8(value, _mm512_movepi8_mask(c), _mm512_set1_epi8(32));
}

// Decodes 64-byte blocks in place while no '%' falls on the two characters
// after another '%'. Escapes may reach two characters past a block. Moves
// `i` and `o` (at or behind `i`) past what it decoded.
ZEMBRAX_WIDE void urlDecodeBlocks(std::string& text, std::size_t& i, std::size_t& o) {
  char* const data = text.data();
  while (i + 66 <= text.size()) {
    const __m512i c = _mm512_loadu_si512(data + i);
    const std::uint64_t percent = _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('%'));
    const std::uint64_t digits = percent << 1 | percent << 2;
    if ((percent & digits) != 0) return;
    const __m512i high = hexValuesOf(_mm512_loadu_si512(data + i + 1));
    const __m512i low = hexValuesOf(_mm512_loadu_si512(data + i + 2));
    const __m512i decoded = _mm512_add_epi8(
        _mm512_and_si512(_mm512_slli_epi16(high, 4), _mm512_set1_epi8(static_cast<char>(0xF0))),
        low);
    const __m512i bytes = _mm512_mask_blend_epi8(percent, c, decoded);
    const std::uint64_t keep = ~digits;
    const auto kept = static_cast<std::size_t>(_mm_popcnt_u64(keep));
    _mm512_mask_storeu_epi8(data + o, _bzhi_u64(~0ull, static_cast<unsigned>(kept)),
                            _mm512_maskz_compress_epi8(keep, bytes));
    o += kept;
    // Digits of escapes at the last two places lie beyond the block.
    i += 64 + (percent >> 63 ? 2 : (percent >> 62) & 1);
  }
}

// For toDecimal's kernel, every byte's number laid out in five places:
// sign, hundreds, tens, ones, space. kDecimalKept marks the places in use;
// the tens and ones places take their digits from the other two tables.
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

ZEMBRAX_WIDE std::size_t toDecimalBlocks(const std::string& text, OutputBuffer& out) {
  const simd::ByteTable keptTable = simd::loadTable(kDecimalKept.data());
  const simd::ByteTable tensTable = simd::loadTable(kTensDigits.data());
  const simd::ByteTable onesTable = simd::loadTable(kOnesDigits.data());
  // The fixed places: '-' first, '1' for the hundreds (which never exceed
  // one), a space last.
  const __m512i fixed = _mm512_set1_epi64(0x000000200000312D);
  constexpr __mmask64 kDigitPlaces = 0x0C0C0C0C0C0C0C0C;
  std::size_t i = 0;
  for (; i + 64 <= text.size(); i += 64) {
    const __m512i c = _mm512_loadu_si512(text.data() + i);
    const __m512i tens = simd::lookup(tensTable, c);
    const __m512i ones = simd::lookup(onesTable, c);
    std::uint64_t kept[8];
    _mm512_storeu_si512(kept, simd::lookup(keptTable, c));
    char* o = out.next();
    for (int part = 0; part < 8; ++part) {
      // Places 2 and 3 of byte k take its tens and ones digits.
      const __m512i from = _mm512_mask_add_epi8(simd::spreadEight(8 * part), 0x0808080808080808,
                                                simd::spreadEight(8 * part), _mm512_set1_epi8(64));
      const __m512i digits = _mm512_permutex2var_epi8(tens, from, ones);
      const __m512i places = _mm512_mask_blend_epi8(kDigitPlaces, fixed, digits);
      _mm512_storeu_si512(o, _mm512_maskz_compress_epi8(kept[part], places));
      o += _mm_popcnt_u64(kept[part]);
    }
    out.wrote(o);
  }
  return i;
}

// Reads the numbers of 64-byte blocks that hold only whitespace, digits and
// signs directly before digits, with no number longer than three digits,
// writing their bytes at `o` (behind `i` in the same buffer). Each block is
// taken up to its last whitespace, so that no number runs past it. Stops at
// the first block it cannot take whole.
ZEMBRAX_WIDE void fromDecimalBlocks(std::string& text, std::size_t& i, std::size_t& o) {
  char* const data = text.data();
  const __m512i zero = _mm512_set1_epi8('0');
  const __m512i ten = _mm512_set1_epi8(10);
  // 10 * d and 100 * d modulo 256 for the digits d.
  const __m512i tens = _mm512_broadcast_i32x4(
      _mm_setr_epi8(0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 0, 0, 0, 0, 0));
  const __m512i hundreds = _mm512_broadcast_i32x4(_mm_setr_epi8(
      0, 100, static_cast<char>(200), 44, static_cast<char>(144), static_cast<char>(244), 88,
      static_cast<char>(188), 32, static_cast<char>(132), 0, 0, 0, 0, 0, 0));
  while (i + 66 <= text.size()) {
    const __m512i c = _mm512_loadu_si512(data + i);
    const __m512i d0 = _mm512_sub_epi8(c, zero);
    const __m512i d1 = _mm512_sub_epi8(_mm512_loadu_si512(data + i + 1), zero);
    const __m512i d2 = _mm512_sub_epi8(_mm512_loadu_si512(data + i + 2), zero);
    const std::uint64_t digit = _mm512_cmplt_epu8_mask(d0, ten);
    const std::uint64_t digitNext = _mm512_cmplt_epu8_mask(d1, ten);
    const std::uint64_t space =
        _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8(' ')) |
        _mm512_cmplt_epu8_mask(_mm512_sub_epi8(c, _mm512_set1_epi8('\t')), _mm512_set1_epi8(5));
    const std::uint64_t minus = _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('-'));
    const std::uint64_t sign = minus | _mm512_cmpeq_epi8_mask(c, _mm512_set1_epi8('+'));
    if (space == 0) return;
    const auto end = static_cast<unsigned>(64 - std::countl_zero(space));
    const std::uint64_t taken = end == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << end) - 1;
    const std::uint64_t odd = ~(space | digit | (sign & digitNext)) & taken;
    const std::uint64_t longRun = digit & digit >> 1 & digit >> 2 & digit >> 3 & taken;
    if ((odd | longRun) != 0) return;
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
    _mm512_mask_storeu_epi8(data + o, _bzhi_u64(~std::uint64_t{0}, count),
                            _mm512_maskz_compress_epi8(starts, value));
    o += count;
    i += end;
  }
}

// Writes the binary digits of 64 bytes at a time: `width` characters each.
// With the bits of each byte reversed, bit j of a group of eight bytes says
// whether digit j of their spelling is a "1".
template <int width>
ZEMBRAX_WIDE std::size_t toBinaryBlocks(const std::string& text, OutputBuffer& out) {
  const __m512i reversedNibble = _mm512_broadcast_i32x4(_mm_setr_epi8(
      0x0, 0x8, 0x4, 0xC, 0x2, 0xA, 0x6, 0xE, 0x1, 0x9, 0x5, 0xD, 0x3, 0xB, 0x7, 0xF));
  const __m512i lowNibble = _mm512_set1_epi8(0x0F);
  const __m512i zeros = _mm512_set1_epi8('0');
  const __m512i ones = _mm512_set1_epi8('1');
  std::size_t i = 0;
  for (; i + 64 <= text.size(); i += 64) {
    const __m512i c = _mm512_loadu_si512(text.data() + i);
    const __m512i low = _mm512_shuffle_epi8(reversedNibble, _mm512_and_si512(c, lowNibble));
    const __m512i high =
        _mm512_shuffle_epi8(reversedNibble, _mm512_and_si512(_mm512_srli_epi16(c, 4), lowNibble));
    alignas(64) std::uint64_t digits[8];
    _mm512_store_si512(digits, _mm512_or_si512(_mm512_slli_epi16(low, 4), high));
    char* o = out.next();
    for (std::uint64_t set : digits) {
      // At 7 bits the first digit of each byte is left out.
      if constexpr (width == 7) set = _pext_u64(set, 0xFEFEFEFEFEFEFEFE);
      _mm512_storeu_si512(o, _mm512_mask_blend_epi8(set, zeros, ones));
      o += 8 * width;
    }
    out.wrote(o);
  }
  return i;
}

#endif  // ZEMBRAX_HAS_WIDE

}  // namespace

std::string CharCoder::substitute(std::string text, std::string from, std::string to) const {
  std::array<unsigned char, 256> replacement;
  for (int c = 0; c < 256; ++c)
    replacement[c] = static_cast<unsigned char>(c);
  // Filled from the last pair to the first, so the first occurrence wins.
  for (std::size_t j = std::min(from.size(), to.size()); j-- > 0;) {
    replacement[static_cast<unsigned char>(from[j])] = static_cast<unsigned char>(to[j]);
  }
  std::size_t i = 0;
#if ZEMBRAX_HAS_WIDE
  if (simd::wide()) i = substituteBlocks(text, replacement);
#endif
  for (; i < text.size(); ++i) {
    text[i] = static_cast<char>(replacement[static_cast<unsigned char>(text[i])]);
  }
  return text;
}

std::string CharCoder::urlEncode(std::string text) const {
  OutputBuffer out(text.size() * 3);
  std::size_t i = 0;
#if ZEMBRAX_HAS_WIDE
  if (simd::wide()) i = urlEncodeBlocks(text, out);
#endif
  for (; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    // Written as an escape every time and kept only when needed, which is
    // faster than a branch on text where both kinds of byte mix.
    const bool escape = needsEscape(c);
    char* o = out.next();
    o[0] = escape ? '%' : static_cast<char>(c);
    o[1] = hexDigit(c >> 4);
    o[2] = hexDigit(c & 0x0F);
    out.wrote(o + (escape ? 3 : 1));
  }
  return out.finish();
}

std::string CharCoder::urlDecode(std::string text) const {
  // Decoded in place: the output never overtakes the bytes still to read.
  const std::size_t n = text.size();
  char* const data = text.data();
  std::size_t i = 0;
  std::size_t o = 0;
  // While three bytes are left an escape is always whole.
  while (i + 3 <= n) {
#if ZEMBRAX_HAS_WIDE
    if (simd::wide()) urlDecodeBlocks(text, i, o);
#endif
    for (const std::size_t stop = i + 64; i + 3 <= n && i < stop; ++o) {
      const bool escape = data[i] == '%';
      const auto decoded =
          static_cast<char>(hexValue(static_cast<unsigned char>(data[i + 1])) * 16 +
                            hexValue(static_cast<unsigned char>(data[i + 2])));
      data[o] = escape ? decoded : data[i];
      i += escape ? 3 : 1;
    }
  }
  // In the last two bytes a '%' starts an escape cut short: it and what
  // follows are dropped.
  for (; i < n && data[i] != '%'; ++i)
    data[o++] = data[i];
  text.resize(o);
  return text;
}

bool CharCoder::needsEscape(unsigned char c) const {
  return kEscaped[c];
}

char CharCoder::hexDigit(int value) const {
  return kHexDigits[value & 0x0F];
}

int CharCoder::hexValue(unsigned char c) const {
  return kHexValues[c];
}

unsigned char CharCoder::bitAnd(unsigned char c, unsigned char value) const {
  return c & value;
}

unsigned char CharCoder::bitOr(unsigned char c, unsigned char value) const {
  return c | value;
}

unsigned char CharCoder::bitXor(unsigned char c, unsigned char value) const {
  return c ^ value;
}

std::string CharCoder::bitwiseApply(std::string text, std::int32_t value,
                                    ByteOperation operation) const {
  const auto low = static_cast<unsigned char>(value);
  // Each operation gets a loop of its own that the compiler can inline and
  // vectorise; a call through the pointer for every byte could not be.
  if (operation == &CharCoder::bitAnd)
    return applyToEach<&CharCoder::bitAnd>(*this, std::move(text), low);
  if (operation == &CharCoder::bitOr)
    return applyToEach<&CharCoder::bitOr>(*this, std::move(text), low);
  if (operation == &CharCoder::bitXor)
    return applyToEach<&CharCoder::bitXor>(*this, std::move(text), low);
  // No operation at all (a null pointer) leaves the text as it is.
  return text;
}

bool CharCoder::setBitWidth(std::int32_t width) {
  if (width != 7 && width != 8) return false;
  bitWidth = width;
  return true;
}

std::string CharCoder::toBinary(std::string text) const {
  const auto width = static_cast<std::size_t>(bitWidth);
  OutputBuffer out(text.size() * width);
  std::size_t i = 0;
#if ZEMBRAX_HAS_WIDE
  if (simd::wide()) i = bitWidth == 8 ? toBinaryBlocks<8>(text, out) : toBinaryBlocks<7>(text, out);
#endif
  // At 7 bits a byte's digits start one place into its 8-digit spelling.
  const char* digits = kBinaryDigits.data() + (8 - width);
  for (; i < text.size(); ++i) {
    char* o = out.next();
    std::memcpy(o, digits + static_cast<unsigned char>(text[i]) * 8, 8);
    out.wrote(o + width);
  }
  return out.finish();
}

std::string CharCoder::fromBinary(std::string text) const {
  return bitWidth == 8 ? readGroups<8>(text) : readGroups<7>(text);
}

std::string CharCoder::toDecimal(std::string text) const {
  return spellAll(text, kDecimalSpellings, 5, ZEMBRAX_IF_WIDE(toDecimalBlocks));
}

std::string CharCoder::fromDecimal(std::string text) const {
  text.resize(readDecimals(text).written);
  return text;
}

DecimalRead readDecimals(std::string& text) {
  // Decoded in place: every number takes at least one character and gives
  // one byte.
  char* const data = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  std::size_t o = 0;
  while (true) {
#if ZEMBRAX_HAS_WIDE
    if (simd::wide()) fromDecimalBlocks(text, i, o);
#endif
    // Numbers one at a time for a stretch: whitespace, an optional sign,
    // digits.
    const std::size_t stretch = i + 64;
    while (i < stretch) {
      while (i < n && ascii::isWhitespace(data[i]))
        ++i;
      const bool negative = i < n && data[i] == '-';
      if (i < n && (data[i] == '-' || data[i] == '+')) ++i;
      if (i == n || !ascii::isDigit(data[i])) return {o, i != n};
      // Unsigned arithmetic wraps modulo 2^32, a multiple of 256, so the low
      // eight bits stay exact however long the number is.
      std::uint32_t value = 0;
      for (; i < n && ascii::isDigit(data[i]); ++i) {
        value = value * 10 + static_cast<std::uint32_t>(data[i] - '0');
      }
      data[o++] = static_cast<char>(negative ? 0u - value : value);
    }
  }
}

std::string CharCoder::toHex(std::string text) const {
  return spellAll(text, kHexSpellings, 3, ZEMBRAX_IF_WIDE(toHexBlocks));
}

std::string CharCoder::fromHex(std::string) const {
  return "HEX -> ASCII nog niet beschikbaar...";
}
