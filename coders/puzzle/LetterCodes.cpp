#include "puzzle/LetterCodes.h"

#include <utility>

#include "Ascii.h"

namespace puzzle {

namespace {

class Coder final : public StreamCoder {
 public:
  explicit Coder(LetterCodes codes) : codes(std::move(codes)) {}

  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() * (codes[0].size() + 1));
    for (const char c : piece) {
      const unsigned char index = ascii::letterIndex(c);
      if (index >= 26) continue;
      if (any) out += ' ';
      out += codes[index];
      any = true;
    }
    return out;
  }

 private:
  LetterCodes codes;
  bool any = false;
};

}  // namespace

std::unique_ptr<StreamCoder> lettersAsCodes(LetterCodes codes) {
  return std::make_unique<Coder>(std::move(codes));
}

}  // namespace puzzle
