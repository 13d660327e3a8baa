// The byte maps of ROT47 and Atbash, written without branches so that their
// loops vectorise.

#include <utility>

#include "ByteMap.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

char rot47Byte(char c) {
  const auto place = static_cast<unsigned char>(static_cast<unsigned char>(c) - '!');
  const auto moved = static_cast<unsigned char>(place >= 47 ? place - 47 : place + 47);
  return place < 94 ? static_cast<char>('!' + moved) : c;
}

char atbashByte(char c) {
  const unsigned char index = ascii::letterIndex(c);
  return index < 26 ? static_cast<char>(static_cast<unsigned char>(c) - index + (25 - index)) : c;
}

template <char (*map)(char)>
std::string mapped(std::string text) {
  tables::mapBytes(text.data(), text.size(), map);
  return text;
}

}  // namespace

std::string rot47(std::string text) {
  return mapped<rot47Byte>(std::move(text));
}

std::unique_ptr<StreamCoder> rot47Stream() {
  return stream::eachByte(mapped<rot47Byte>);
}

std::string atbash(std::string text) {
  return mapped<atbashByte>(std::move(text));
}

std::unique_ptr<StreamCoder> atbashStream() {
  return stream::eachByte(mapped<atbashByte>);
}

}  // namespace puzzle
