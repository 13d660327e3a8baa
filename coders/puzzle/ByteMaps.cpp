// The byte maps of ROT47 and Atbash: the wide kernels, and the plain loop
// for what they leave.

#include <cstddef>
#include <utility>

#include "ByteMap.h"
#include "kernels/Kernels.h"
#include "puzzle/Puzzle.h"

namespace puzzle {

namespace {

using Kernel = kernels::Progress (*)(const char*, std::size_t, char*);

// Maps `text` in place by `kernel`, and what it leaves by `map`.
template <char (*map)(char)>
std::string mapped(std::string text, Kernel kernel) {
  const std::size_t done = kernel(text.data(), text.size(), text.data()).read;
  tables::mapBytes(text.data() + done, text.size() - done, map);
  return text;
}

}  // namespace

std::string rot47(std::string text) {
  return mapped<tables::rot47Byte>(std::move(text), kernels::active().rot47);
}

std::unique_ptr<StreamCoder> rot47Stream() {
  return stream::eachByte(rot47);
}

std::string atbash(std::string text) {
  return mapped<tables::atbashByte>(std::move(text), kernels::active().atbash);
}

std::unique_ptr<StreamCoder> atbashStream() {
  return stream::eachByte(atbash);
}

}  // namespace puzzle
