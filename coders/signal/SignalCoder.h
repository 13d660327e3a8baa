#ifndef ZEMBRAX_CODERS_SIGNAL_SIGNALCODER_H_
#define ZEMBRAX_CODERS_SIGNAL_SIGNALCODER_H_

#include <array>
#include <string>

#include "signal/MorseTable.h"

// The signal coder: Morse code and LSB extraction. It holds no state; every
// operation takes its text by value and returns a new string.
class SignalCoder {
 public:
  // International Morse code for the letters, the digits and fifteen
  // punctuation symbols.
  static constexpr const std::array<tables::MorseCode, 51>& morseTable = tables::kMorseTable;

  // Writes the code of every byte that has one (lower-case letters as their
  // upper-case form), each followed by one space; every other byte passes
  // through as it is.
  std::string morseEncode(std::string text) const;

  // Splits `text` at runs of whitespace and writes the symbol of every word
  // that is a code; other words are dropped. No separators are written.
  std::string morseDecode(std::string text) const;

  // The lowest bit of every byte as the digit '0' or '1'.
  std::string lsbExtract(std::string text) const;
};

#endif  // ZEMBRAX_CODERS_SIGNAL_SIGNALCODER_H_
