#include "ByteMap.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The shift carries on from piece to piece, one step per letter.
class Trithemius final : public StreamCoder {
 public:
  explicit Trithemius(bool back) : back(back) {}

  std::string feed(std::string piece) override {
    for (char& c : piece) {
      if (!ascii::isLetter(c)) continue;
      c = tables::moveLetter(c, static_cast<unsigned char>(back ? (26 - step) % 26 : step));
      step = step == 25 ? 0 : step + 1;
    }
    return piece;
  }

 private:
  bool back;
  int step = 0;
};

}  // namespace

std::unique_ptr<StreamCoder> trithemius(bool back) {
  return std::make_unique<Trithemius>(back);
}

}  // namespace puzzle
