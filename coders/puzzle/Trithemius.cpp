#include "ByteMap.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The shift carries on from piece to piece, one step per letter.
class Trithemius final : public StreamCoder {
 public:
  explicit Trithemius(bool back) : back(back) {}

  std::string feed(std::string piece) override {
    // Without branches: every byte is moved by the letters' step, which
    // leaves a non-letter as it is, and the step goes on at letters alone.
    for (char& c : piece) {
      const unsigned char letter = ascii::isLetter(c) ? 1 : 0;
      c = tables::moveLetter(c, back ? static_cast<unsigned char>(26 - step) % 26 : step);
      step = static_cast<unsigned char>(step + letter);
      step = step == 26 ? 0 : step;
    }
    return piece;
  }

 private:
  bool back;
  unsigned char step = 0;
};

}  // namespace

std::unique_ptr<StreamCoder> trithemius(bool back) {
  return std::make_unique<Trithemius>(back);
}

}  // namespace puzzle
