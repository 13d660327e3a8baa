#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

// The octal number of every byte and a space: "0 ", "377 ".
constexpr std::array<std::array<char, 4>, 256> kNumbers = [] {
  std::array<std::array<char, 4>, 256> numbers{};
  for (int byte = 0; byte < 256; ++byte) {
    std::array<char, 4>& number = numbers[static_cast<std::size_t>(byte)];
    number.fill('\0');
    std::size_t at = 0;
    if (byte >= 64) number[at++] = static_cast<char>('0' + byte / 64);
    if (byte >= 8) number[at++] = static_cast<char>('0' + byte / 8 % 8);
    number[at++] = static_cast<char>('0' + byte % 8);
    number[at] = ' ';
  }
  return numbers;
}();

class Writer final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string out(piece.size() * 4, '\0');
    char* o = out.data();
    for (const char c : piece) {
      // All four bytes are written; the next number starts after the space.
      const std::array<char, 4>& number = kNumbers[static_cast<unsigned char>(c)];
      std::copy_n(number.data(), 4, o);
      o += number[3] == ' ' ? 4 : number[2] == ' ' ? 3 : 2;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
  }
};

// A number goes on until a byte that is no octal digit.
class Reader final : public StreamCoder {
 public:
  std::string feed(std::string piece) override {
    std::string out;
    out.reserve(piece.size() / 2 + 1);
    for (const char c : piece) {
      const auto digit = static_cast<unsigned char>(c - '0');
      if (digit < 8) {
        value = static_cast<std::uint8_t>(value << 3 | digit);
        inNumber = true;
      } else {
        endNumber(out);
      }
    }
    return out;
  }

  std::string finish() override {
    std::string out;
    endNumber(out);
    return out;
  }

 private:
  void endNumber(std::string& out) {
    if (inNumber) out += static_cast<char>(value);
    value = 0;
    inNumber = false;
  }

  std::uint8_t value = 0;
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
