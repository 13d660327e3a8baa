// Bacon's cipher: each letter as a group of five signs of two kinds, its
// place in the alphabet in binary, A (or 0) for a nought and B (or 1) for a
// one.

#include <string_view>
#include <utility>

#include "puzzle/LetterCodes.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The place of the letter at `index` (0 for A) in Bacon's alphabet: that
// of 24 letters has I and J at one place, and U and V at one.
int placeOf(unsigned char index, bool full) {
  if (full) return index;
  return index - (index > 'I' - 'A' ? 1 : 0) - (index > 'U' - 'A' ? 1 : 0);
}

// The capital at `place` of Bacon's alphabet; '\0' past its end.
char letterAt(int place, bool full) {
  if (!full) place += (place > 'I' - 'A' ? 1 : 0) + (place > 'U' - 'A' - 1 ? 1 : 0);
  return place < 26 ? static_cast<char>('A' + place) : '\0';
}

// Signs of the two kinds, in either case, five at a time; every other byte
// is skipped, and so is a group past the alphabet's end.
class Decoder final : public StreamCoder {
 public:
  Decoder(BaconAlphabet alphabet, bool digits)
      : full(alphabet == BaconAlphabet::full), digits(digits) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() / 5 + 1);
    for (const char c : piece) {
      const char sign = digits ? c : static_cast<char>(c & 0xDF);
      const char nought = digits ? '0' : 'A';
      if (sign != nought && sign != nought + 1) continue;
      place = place << 1 | (sign - nought);
      if (++count < 5) continue;
      if (const char letter = letterAt(place, full); letter != '\0') out += letter;
      place = 0;
      count = 0;
    }
    return out;
  }

 private:
  bool full;
  bool digits;
  int place = 0;
  int count = 0;
};

}  // namespace

std::unique_ptr<StreamCoder> toBacon(BaconAlphabet alphabet, bool digits) {
  const std::string_view signs = digits ? "01" : "AB";
  LetterCodes codes;
  for (unsigned char index = 0; index < 26; ++index) {
    const int place = placeOf(index, alphabet == BaconAlphabet::full);
    for (int bit = 4; bit >= 0; --bit)
      codes[index] += signs[static_cast<std::size_t>(place >> bit & 1)];
  }
  return lettersAsCodes(std::move(codes));
}

std::unique_ptr<StreamCoder> fromBacon(BaconAlphabet alphabet, bool digits) {
  return std::make_unique<Decoder>(alphabet, digits);
}

}  // namespace puzzle
