#include "classic/ClassicCoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

#include "Ascii.h"
#include "ByteMap.h"
#include "OutputBuffer.h"
#include "classic/Base64Table.h"
#include "classic/VigenereKey.h"
#include "kernels/Kernels.h"

namespace {

using tables::kBase64Chars;
using tables::kBase64Size;

// Marks the characters that the decoder skips; no 6-bit value has this bit.
constexpr unsigned char kSkip = 0x80;

// The decoder's view of every byte: its 6-bit value, kSkip for whitespace,
// and 0 for everything else outside the alphabet.
constexpr std::array<unsigned char, 256> kBase64Values = tables::base64Values(kSkip, 0);

// The shift in 0..25 that moves a letter as `shift` does.
unsigned char letterShift(std::int32_t shift) {
  return static_cast<unsigned char>((shift % 26 + 26) % 26);
}

// Every 12 bits as their two Base64 characters, so that a whole group is
// two lookups.
constexpr std::array<std::array<char, 2>, 4096> kBase64Pairs = [] {
  std::array<std::array<char, 2>, 4096> pairs{};
  for (std::size_t bits = 0; bits < pairs.size(); ++bits)
    pairs[bits] = {kBase64Chars[bits >> 6], kBase64Chars[bits & 0x3F]};
  return pairs;
}();

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
  const std::size_t done =
      kernels::active().caesarShift(text.data(), text.size(), text.data(), forward).read;
  tables::mapBytes(text.data() + done, text.size() - done,
                   [forward](char c) { return tables::moveLetter(c, forward); });
  return text;
}

std::string ClassicCoder::caesarShiftFull(std::string text, std::int32_t shift) const {
  // The same move as a forward step of 0..254 around the cycle 1..255.
  const auto forward = static_cast<unsigned char>((shift % 255 + 255) % 255);
  const std::size_t done =
      kernels::active().caesarShiftFull(text.data(), text.size(), text.data(), forward).read;
  tables::mapBytes(text.data() + done, text.size() - done,
                   [forward](char c) { return tables::moveAroundCycle(c, forward); });
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
  std::size_t i =
      kernels::active()
          .vigenere(text.data(), text.size(), text.data(), steps.data(), length, position)
          .read;
  // In runs of 64 bytes, within which the repeated steps need no wrapping
  // back to the key's start: the only chain from byte to byte is one
  // addition.
  char* const data = text.data();
  const auto* const step = reinterpret_cast<const unsigned char*>(steps.data());
  for (const std::size_t n = text.size(); i < n;) {
    std::size_t at = position;
    for (const std::size_t stop = std::min(n, i + 64); i < stop; ++i) {
      // Only letters move and take a key letter. Written as arithmetic on
      // masks, which the compiler keeps free of branches, because letters and
      // other bytes alternate unpredictably in ordinary text: the index of a
      // letter less 26 wraps around to a number with its top bit set.
      const unsigned index = ascii::letterIndex(data[i]);
      const unsigned letter = (index - 26u) >> 31;
      unsigned moved = index + step[at];
      moved -= moved >= 26 ? 26 : 0;
      data[i] = static_cast<char>(static_cast<unsigned char>(data[i]) +
                                  ((moved - index) & (0u - letter)));
      at += letter;
    }
    position = at % length;
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
  std::size_t i = runKernel(kernels::active().base64Encode, text, out, 48, 64);
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  // Whole groups, as many at a time as the buffer has room for.
  while (n - i >= 3) {
    char* o = out.next();
    const std::size_t groups = std::min((n - i) / 3, OutputBuffer::kRoom / 4);
    for (std::size_t g = 0; g < groups; ++g, i += 3, o += 4) {
      const std::uint32_t group = in[i] << 16 | in[i + 1] << 8 | in[i + 2];
      std::memcpy(o, kBase64Pairs[group >> 12].data(), 2);
      std::memcpy(o + 2, kBase64Pairs[group & 0xFFF].data(), 2);
    }
    out.wrote(o);
  }
  if (i < n) {
    // A last group of one or two bytes, which '=' pads to four.
    const char* a = alphabet.get();
    const bool two = n - i == 2;
    const std::uint32_t group = in[i] << 16 | (two ? in[i + 1] << 8 : 0);
    char* o = out.next();
    o[0] = a[group >> 18];
    o[1] = a[(group >> 12) & 0x3F];
    o[2] = two ? a[(group >> 6) & 0x3F] : '=';
    o[3] = '=';
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
  bool kernelTook = false;
  while (i < n) {
    if (count == 0) {
      const kernels::Progress done = kernels::active().base64Decode(text.data() + i, n - i, o);
      i += done.read;
      o += done.written;
      kernelTook = done.read > 0;
    }
    // Up to the next 64 characters one at a time, or four at once where a
    // whole group without whitespace starts. Where the kernel took a block,
    // the kernel goes on after the whitespace that ends a line of groups.
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
      if (value & kSkip) {
        if (kernelTook && count == 0 && i < n && (kBase64Values[in[i]] & kSkip) == 0) break;
        continue;
      }
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
