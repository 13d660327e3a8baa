#include "char/CharCoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

#include "Ascii.h"
#include "Spelling.h"

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
  for (char& c : text) {
    c = static_cast<char>((coder.*operation)(static_cast<unsigned char>(c), value));
  }
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

}  // namespace

std::string CharCoder::substitute(std::string text, std::string from, std::string to) const {
  std::array<unsigned char, 256> replacement;
  for (int c = 0; c < 256; ++c)
    replacement[c] = static_cast<unsigned char>(c);
  // Filled from the last pair to the first, so the first occurrence wins.
  for (std::size_t j = std::min(from.size(), to.size()); j-- > 0;) {
    replacement[static_cast<unsigned char>(from[j])] = static_cast<unsigned char>(to[j]);
  }
  for (char& c : text)
    c = static_cast<char>(replacement[static_cast<unsigned char>(c)]);
  return text;
}

std::string CharCoder::urlEncode(std::string text) const {
  std::string out(text.size() * 3, '\0');
  char* o = out.data();
  for (unsigned char c : text) {
    // Written as an escape every time and kept only when needed, which is
    // faster than a branch on text where both kinds of byte mix.
    const bool escape = needsEscape(c);
    o[0] = escape ? '%' : static_cast<char>(c);
    o[1] = hexDigit(c >> 4);
    o[2] = hexDigit(c & 0x0F);
    o += escape ? 3 : 1;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string CharCoder::urlDecode(std::string text) const {
  const std::size_t n = text.size();
  std::string out(n, '\0');
  char* o = out.data();
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t i = 0;
  // While three bytes are left an escape is always whole.
  for (; i + 3 <= n; ++o) {
    const bool escape = in[i] == '%';
    const auto decoded = static_cast<unsigned char>(hexValue(in[i + 1]) * 16 + hexValue(in[i + 2]));
    *o = static_cast<char>(escape ? decoded : in[i]);
    i += escape ? 3 : 1;
  }
  // In the last two bytes a '%' starts an escape cut short: it and what
  // follows are dropped.
  for (; i < n && in[i] != '%'; ++i)
    *o++ = static_cast<char>(in[i]);
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
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
  // Eight digits are copied for every byte, so leave room for one more.
  std::string out(text.size() * width + 1, '\0');
  char* o = out.data();
  // At 7 bits a byte's digits start one place into its 8-digit spelling.
  const char* digits = kBinaryDigits.data() + (8 - width);
  for (unsigned char c : text) {
    std::memcpy(o, digits + c * 8, 8);
    o += width;
  }
  out.resize(text.size() * width);
  return out;
}

std::string CharCoder::fromBinary(std::string text) const {
  return bitWidth == 8 ? readGroups<8>(text) : readGroups<7>(text);
}

std::string CharCoder::toDecimal(std::string text) const {
  return spellEach(text, kDecimalSpellings, 5);
}

std::string CharCoder::fromDecimal(std::string text) const {
  // Every number takes at least one character, so it gives at most one byte
  // per character.
  std::string out(text.size(), '\0');
  char* o = out.data();
  const char* p = text.data();
  const char* const end = p + text.size();
  while (true) {
    while (p != end && ascii::isWhitespace(*p))
      ++p;
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    if (p == end || !ascii::isDigit(*p)) break;
    // Unsigned arithmetic wraps modulo 2^32, a multiple of 256, so the low
    // eight bits stay exact however long the number is.
    std::uint32_t value = 0;
    for (; p != end && ascii::isDigit(*p); ++p)
      value = value * 10 + static_cast<std::uint32_t>(*p - '0');
    *o++ = static_cast<char>(negative ? 0u - value : value);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string CharCoder::toHex(std::string text) const {
  return spellEach(text, kHexSpellings, 3);
}

std::string CharCoder::fromHex(std::string) const {
  return "HEX -> ASCII nog niet beschikbaar...";
}
