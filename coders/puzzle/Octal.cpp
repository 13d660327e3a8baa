#include <algorithm>
#include <cstddef>
#include <string_view>

#include "Spelling.h"
#include "kernels/Kernels.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The octal number of every byte and a space: "0 ", "377 ".
constexpr SpellingTable kOctalSpellings = [] {
  SpellingTable spellings{};
  for (int byte = 0; byte < 256; ++byte) {
    Spelling& s = spellings[static_cast<std::size_t>(byte)];
    if (byte >= 64) s.text[s.length++] = static_cast<char>('0' + byte / 64);
    if (byte >= 8) s.text[s.length++] = static_cast<char>('0' + byte / 8 % 8);
    s.text[s.length++] = static_cast<char>('0' + byte % 8);
    s.text[s.length++] = ' ';
  }
  return spellings;
}();

class Writer final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    return spellAll(piece, kOctalSpellings, 4, kernels::active().toOctal);
  }
};

// A number goes on until a byte that is no octal digit. Only the low eight
// bits of a number count, and those come from its last three digits, so the
// number so far is kept to eight bits.
class Reader final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    // Read in place. Where no number is open, the kernel takes what it can;
    // then the plain loop goes on for a block, without branches: the number
    // so far is written at the output's end before every byte, and kept
    // there when the byte ends it. Every number with the byte that ends it
    // takes at least two bytes, so the output never passes the byte being
    // read. The state is copied out of the coder, where the stores to the
    // text might change it.
    char* const p = piece.data();
    const std::size_t n = piece.size();
    std::size_t o = 0;
    unsigned char number = value;
    bool digitBefore = inNumber;
    for (std::size_t i = 0; i < n;) {
      if (!digitBefore) {
        const kernels::Progress done = kernels::active().fromOctal(p + i, n - i, p + o);
        i += done.read;
        o += done.written;
      }
      for (const std::size_t stop = std::min(n, i + 64); i < stop; ++i) {
        const auto digit = static_cast<unsigned char>(p[i] - '0');
        const bool isDigit = digit < 8;
        p[o] = static_cast<char>(number);
        o += !isDigit && digitBefore ? 1 : 0;
        number = static_cast<unsigned char>(isDigit ? number << 3 | digit : 0);
        digitBefore = isDigit;
      }
    }
    value = number;
    inNumber = digitBefore;
    piece.resize(o);
    return piece;
  }

  std::string finish() override {
    std::string out = inNumber ? std::string(1, static_cast<char>(value)) : "";
    value = 0;
    inNumber = false;
    return out;
  }

 private:
  unsigned char value = 0;
  bool inNumber = false;
};

}  // namespace

std::unique_ptr<StreamCoder> toOctal() {
  return std::make_unique<Writer>();
}

std::unique_ptr<StreamCoder> fromOctal() {
  return std::make_unique<Reader>();
}

}  // namespace puzzle
