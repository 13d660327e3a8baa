// Each key of a QWERTY keyboard's rows of digits and letters typed as the
// key beside it, round the end of its row.

#include <array>
#include <string_view>

#include "ByteMap.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

constexpr std::string_view kRows[] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm"};

// Every byte's neighbour `step` keys to the right (1) or left (-1); the
// capitals as their small letters are.
constexpr std::array<char, 256> neighbours(int step) {
  std::array<char, 256> map{};
  for (int c = 0; c < 256; ++c)
    map[static_cast<std::size_t>(c)] = static_cast<char>(c);
  for (const std::string_view row : kRows) {
    const int size = static_cast<int>(row.size());
    for (int at = 0; at < size; ++at) {
      const char key = row[static_cast<std::size_t>(at)];
      const char beside = row[static_cast<std::size_t>((at + step + size) % size)];
      map[static_cast<unsigned char>(key)] = beside;
      if (ascii::isLetter(key))
        map[static_cast<unsigned char>(key & 0xDF)] = static_cast<char>(beside & 0xDF);
    }
  }
  return map;
}

constexpr std::array<char, 256> kRight = neighbours(1);
constexpr std::array<char, 256> kLeft = neighbours(-1);

std::string shifted(std::string text, const std::array<char, 256>& map) {
  tables::mapBytes(text.data(), text.size(),
                   [&map](char c) { return map[static_cast<unsigned char>(c)]; });
  return text;
}

}  // namespace

std::string keyboardShift(std::string text, bool left) {
  return shifted(std::move(text), left ? kLeft : kRight);
}

std::unique_ptr<StreamCoder> keyboardShiftStream(bool left) {
  return stream::eachByte(
      [left](std::string text) { return keyboardShift(std::move(text), left); });
}

}  // namespace puzzle
