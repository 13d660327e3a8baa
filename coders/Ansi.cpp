#include "Ansi.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// The characters of the bytes 0x80-0x9F.
constexpr std::array<char16_t, 32> kHighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the UTF-8 sequence at the start of `text` and its
// character, or nothing where no valid sequence starts.
std::optional<std::pair<std::size_t, char32_t>> utf8At(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || text.size() < length) return std::nullopt;
  char32_t character = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    character = character << 6 | (next & 0x3F);
  }
  // No overlong forms, surrogates or characters past U+10FFFF.
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (character < kLeast[length] || (character >= 0xD800 && character < 0xE000) ||
      character > 0x10FFFF) {
    return std::nullopt;
  }
  return std::pair{length, character};
}

}  // namespace

namespace ansi {

char16_t toUnicode(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighCharacters[byte - 0x80] : char16_t{byte};
}

char fromUnicode(char32_t character) {
  if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
    return static_cast<char>(character);
  const auto* found = std::find(kHighCharacters.begin(), kHighCharacters.end(), character);
  if (found == kHighCharacters.end()) return '?';
  return static_cast<char>(0x80 + std::distance(kHighCharacters.begin(), found));
}

std::string fromUtf8(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  while (!text.empty()) {
    const auto sequence = utf8At(text);
    bytes += sequence ? fromUnicode(sequence->second) : text[0];
    text.remove_prefix(sequence ? sequence->first : 1);
  }
  return bytes;
}

std::optional<std::int32_t> readInteger(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // The magnitude can reach 2^31 for the most negative value.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace ansi
