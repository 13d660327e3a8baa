// The Polybius square: the 25 letters (I and J share a cell) in five rows
// of five, each letter written as its row and its column, 1 to 5.

#include <array>
#include <string_view>
#include <utility>

#include "Ascii.h"
#include "puzzle/LetterCodes.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The square's letters row by row: the key word's letters first, each once,
// then the rest of the alphabet; J is I throughout.
std::array<char, 25> squareOf(std::string_view key) {
  std::array<char, 25> square{};
  std::array<bool, 26> placed{};
  std::size_t filled = 0;
  const auto place = [&](char c) {
    unsigned char index = ascii::letterIndex(c);
    if (index >= 26) return;
    if (index == 'J' - 'A') index = 'I' - 'A';
    if (placed[index]) return;
    placed[index] = true;
    square[filled++] = static_cast<char>('A' + index);
  };
  for (const char c : key)
    place(c);
  for (char c = 'A'; c <= 'Z'; ++c)
    place(c);
  return square;
}

// The digits 1 to 5, two at a time, as capitals; every other byte is
// skipped.
class Decoder final : public StreamCoder {
 public:
  explicit Decoder(std::string_view key) : square(squareOf(key)) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() / 2 + 1);
    for (const char c : piece) {
      const auto digit = static_cast<unsigned char>(c - '1');
      if (digit >= 5) continue;
      if (row < 0) {
        row = digit;
      } else {
        out += square[static_cast<std::size_t>(row * 5 + digit)];
        row = -1;
      }
    }
    return out;
  }

 private:
  std::array<char, 25> square;
  int row = -1;
};

}  // namespace

std::unique_ptr<StreamCoder> toPolybius(std::string_view key) {
  const std::array<char, 25> square = squareOf(key);
  LetterCodes codes;
  for (std::size_t cell = 0; cell < square.size(); ++cell)
    codes[static_cast<std::size_t>(square[cell] - 'A')] = {static_cast<char>('1' + cell / 5),
                                                           static_cast<char>('1' + cell % 5)};
  codes['J' - 'A'] = codes['I' - 'A'];
  return lettersAsCodes(std::move(codes));
}

std::unique_ptr<StreamCoder> fromPolybius(std::string_view key) {
  return std::make_unique<Decoder>(key);
}

}  // namespace puzzle
