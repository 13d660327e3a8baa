#ifndef ZEMBRAX_FUZZ_FUZZINPUT_H_
#define ZEMBRAX_FUZZ_FUZZINPUT_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"
#include "signal/SignalCoder.h"

// What every fuzz target reads its input with, and the coders it runs.

// Stops the run, with a word on what failed, so that libFuzzer keeps the input.
inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

// Reads the parameters of an operation from the front of the input.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : rest(reinterpret_cast<const char*>(data), size) {}

  std::int32_t integer() {
    std::int32_t value = 0;
    const std::size_t n = std::min(sizeof value, rest.size());
    std::memcpy(&value, rest.data(), n);
    rest.remove_prefix(n);
    return value;
  }

  unsigned byte() {
    if (rest.empty()) return 0;
    const auto value = static_cast<unsigned char>(rest.front());
    rest.remove_prefix(1);
    return value;
  }

  std::string text(std::size_t most) {
    const std::string taken(rest.substr(0, std::min(most, rest.size())));
    rest.remove_prefix(taken.size());
    return taken;
  }

  std::string remainder() { return std::string(rest); }

 private:
  std::string_view rest;
};

// Each fuzz target is a program of its own, with its own coders.
namespace {

const ClassicCoder classic;
const SignalCoder signal;

}  // namespace

#endif  // ZEMBRAX_FUZZ_FUZZINPUT_H_
