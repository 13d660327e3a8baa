#include "signal/SignalCoder.h"

#include <cstddef>
#include <string_view>

#include "Ascii.h"
#include "ByteMap.h"
#include "OutputBuffer.h"
#include "Spelling.h"
#include "kernels/Kernels.h"
#include "signal/MorseTable.h"

namespace {

using tables::codeNumber;
using tables::kLongestCode;
using tables::kSymbolOfNumber;

// What the encoder writes for every byte: the code and a space for a table
// symbol (lower-case letters folded to upper case), the byte itself otherwise.
constexpr SpellingTable kMorseSpellings = [] {
  SpellingTable spellings{};
  for (int c = 0; c < 256; ++c) {
    Spelling& s = spellings[c];
    const tables::MorseCode* entry = tables::codeOfByte(c);
    if (entry == nullptr) {
      s.text[s.length++] = static_cast<char>(c);
      continue;
    }
    for (char mark : entry->code)
      s.text[s.length++] = mark;
    s.text[s.length++] = ' ';
  }
  return spellings;
}();

}  // namespace

std::string SignalCoder::morseEncode(std::string text) const {
  return spellAll(text, kMorseSpellings, kLongestCode + 1, kernels::active().morseEncode);
}

std::string SignalCoder::morseDecode(std::string text) const {
  // Decoded in place: a symbol needs a word and the whitespace or end after
  // it, so the output stays behind the input.
  char* const data = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  std::size_t o = 0;
  while (i < n) {
    const kernels::Progress done = kernels::active().morseDecode(data + i, n - i, data + o);
    i += done.read;
    o += done.written;
    while (i < n && ascii::isWhitespace(data[i]))
      ++i;
    const std::size_t start = i;
    while (i < n && !ascii::isWhitespace(data[i]))
      ++i;
    if (i == start) break;
    const char symbol = kSymbolOfNumber[codeNumber(std::string_view(data + start, i - start))];
    data[o] = symbol;
    o += symbol != 0 ? 1 : 0;
  }
  text.resize(o);
  return text;
}

std::string SignalCoder::lsbExtract(std::string text) const {
  const std::size_t done = kernels::active().lsbExtract(text.data(), text.size(), text.data()).read;
  tables::mapBytes(text.data() + done, text.size() - done, tables::lowestBit);
  return text;
}
