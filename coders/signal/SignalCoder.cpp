#include "signal/SignalCoder.h"

#include <array>
#include <cstddef>

#include "Ascii.h"
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

// A word of at most seven dots and dashes read as a number: a leading 1, then
// one bit per mark (dot 0, dash 1). Every code has its own number below 256.
constexpr unsigned kWordStart = 1;
constexpr unsigned kNotACode = 256;

constexpr unsigned addMark(unsigned word, char mark) {
  if (word >= (1u << kLongestCode) || (mark != '.' && mark != '-')) return kNotACode;
  return word << 1 | (mark == '-' ? 1 : 0);
}

// The symbol of every code number; 0 where no code has that number.
constexpr std::array<char, 257> kSymbolOfWord = [] {
  std::array<char, 257> symbols{};
  for (const MorseCode& entry : SignalCoder::morseTable) {
    unsigned word = kWordStart;
    for (char mark : entry.code)
      word = addMark(word, mark);
    symbols[word] = entry.symbol;
  }
  symbols[kNotACode] = 0;
  return symbols;
}();

}  // namespace

std::string SignalCoder::morseEncode(std::string text) const {
  return spellEach(text, kMorseSpellings, kLongestCode + 1);
}

std::string SignalCoder::morseDecode(std::string text) const {
  // Every symbol needs a word of at least one byte.
  std::string out(text.size(), '\0');
  char* o = out.data();
  const char* p = text.data();
  const char* const end = p + text.size();
  while (true) {
    while (p != end && ascii::isWhitespace(*p))
      ++p;
    if (p == end) break;
    unsigned word = kWordStart;
    for (; p != end && !ascii::isWhitespace(*p); ++p)
      word = addMark(word, *p);
    *o = kSymbolOfWord[word];
    o += *o != 0 ? 1 : 0;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string SignalCoder::lsbExtract(std::string text) const {
  for (char& c : text)
    c = static_cast<char>('0' + (c & 1));
  return text;
}
