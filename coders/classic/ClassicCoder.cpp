#include "classic/ClassicCoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "Ascii.h"

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

}  // namespace

ClassicCoder::ClassicCoder() : alphabet(new char[kBase64Size]) {
  std::copy_n(kBase64Chars, kBase64Size, alphabet.get());
}

ClassicCoder::~ClassicCoder() = default;

std::string ClassicCoder::caesarShift(std::string text, std::int32_t shift) const {
  const unsigned char forward = letterShift(shift);
  for (char& c : text)
    c = moveLetter(c, forward);
  return text;
}

std::string ClassicCoder::caesarShiftFull(std::string text, std::int32_t shift) const {
  // The same move as a forward step of 0..254 around the cycle 1..255.
  const auto forward = static_cast<unsigned char>((shift % 255 + 255) % 255);
  // A zero byte is outside the cycle: it lands on the shift itself, or on 255
  // when the shift is a whole number of turns.
  const auto fromZero = static_cast<unsigned char>(forward == 0 ? 255 : forward);
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const auto sum = static_cast<unsigned char>(byte + forward);
    // Passing 255 skips the zero byte.
    const auto moved = static_cast<unsigned char>(sum + (sum < byte ? 1 : 0));
    c = static_cast<char>(byte == 0 ? fromZero : moved);
  }
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
  // Turn the working key into forward steps of 0..25; going back by k is
  // going forward by 26 - k.
  for (char& k : key) {
    const int value = ascii::letterIndex(k);
    k = static_cast<char>(direction == 0 ? value : (26 - value) % 26);
  }
  const std::size_t keyLength = key.size();
  std::size_t position = 0;
  for (char& c : text) {
    // Only letters take a key letter; written without branches because
    // letters and other bytes alternate unpredictably in ordinary text.
    const bool isLetter = ascii::isLetter(c);
    c = moveLetter(c, static_cast<unsigned char>(key[position]));
    position += isLetter ? 1 : 0;
    position = position == keyLength ? 0 : position;
  }
  return text;
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
  std::string out((n + 2) / 3 * 4, '=');
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  const char* a = alphabet.get();
  char* o = out.data();
  std::size_t i = 0;
  for (; i + 3 <= n; i += 3, o += 4) {
    const std::uint32_t group = in[i] << 16 | in[i + 1] << 8 | in[i + 2];
    o[0] = a[group >> 18];
    o[1] = a[(group >> 12) & 0x3F];
    o[2] = a[(group >> 6) & 0x3F];
    o[3] = a[group & 0x3F];
  }
  // The last one or two bytes; the '=' already in place pads the rest.
  if (i < n) {
    const bool two = i + 2 == n;
    const std::uint32_t group = in[i] << 16 | (two ? in[i + 1] << 8 : 0);
    o[0] = a[group >> 18];
    o[1] = a[(group >> 12) & 0x3F];
    if (two) o[2] = a[(group >> 6) & 0x3F];
  }
  return out;
}

std::string ClassicCoder::base64Decode(std::string text) const {
  const std::size_t n = text.size();
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  // Every group of four characters gives at most three bytes.
  std::string out(n / 4 * 3, '\0');
  char* o = out.data();
  std::uint32_t group = 0;
  int count = 0;
  std::size_t i = 0;
  while (i < n) {
    // Fast path: a whole group starts here and holds no whitespace.
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
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}
