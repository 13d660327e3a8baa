#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ByteMap.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

constexpr std::size_t kBlock = 64;
constexpr std::uint64_t kEveryByte = 0x0101010101010101;
// The sums below count byte 0 of a word as its first.
static_assert(std::endian::native == std::endian::little);

// The shift carries on from piece to piece, one step per letter.
class Trithemius final : public StreamCoder {
 public:
  explicit Trithemius(bool back) : back(back) {}

  std::string feed(std::string piece) override {
    for (std::size_t start = 0; start < piece.size(); start += kBlock)
      step = moveBlock(piece.data() + start, std::min(kBlock, piece.size() - start), step, back);
    return piece;
  }

 private:
  // Moves the `n` (at most kBlock) letters at `p` by their steps from `step`
  // on, and returns the step of the letter after them. In three passes
  // without branches: which bytes are letters; each byte's step from the
  // letters before it; the move. A static function, so that the stores to
  // the text cannot change the step that the loops read.
  static unsigned char moveBlock(char* p, std::size_t n, unsigned char step, bool back) {
    unsigned char letters[kBlock] = {};
    for (std::size_t j = 0; j < n; ++j)
      letters[j] = ascii::isLetter(p[j]) ? 1 : 0;
    // Eight bytes at a time: multiplying by kEveryByte adds up in each byte
    // the letters up to it, at most eight, so no byte carries into the next.
    unsigned char steps[kBlock];
    for (std::size_t at = 0; at < kBlock; at += 8) {
      std::uint64_t these;
      std::memcpy(&these, letters + at, 8);
      const std::uint64_t upTo = these * kEveryByte;
      const std::uint64_t before = upTo - these + step * kEveryByte;
      std::memcpy(steps + at, &before, 8);
      step = static_cast<unsigned char>(step + (upTo >> 56));
      step = step >= 26 ? static_cast<unsigned char>(step - 26) : step;
    }
    // Steps of up to 25 + 7 (the letters before in the word) wrap once.
    for (std::size_t j = 0; j < n; ++j) {
      auto forward = static_cast<unsigned char>(steps[j] >= 26 ? steps[j] - 26 : steps[j]);
      forward = back && forward != 0 ? static_cast<unsigned char>(26 - forward) : forward;
      p[j] = tables::moveLetter(p[j], forward);
    }
    return step;
  }

  bool back;
  unsigned char step = 0;  // of the next letter, 0..25
};

}  // namespace

std::unique_ptr<StreamCoder> trithemius(bool back) {
  return std::make_unique<Trithemius>(back);
}

}  // namespace puzzle
