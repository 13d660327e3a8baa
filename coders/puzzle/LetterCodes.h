#ifndef ZEMBRAX_CODERS_PUZZLE_LETTERCODES_H_
#define ZEMBRAX_CODERS_PUZZLE_LETTERCODES_H_

// What the methods that write each letter as a code of its own share.

#include <array>
#include <memory>
#include <string>

#include "stream/StreamCoder.h"

namespace puzzle {

// The codes of the letters A to Z (either case).
using LetterCodes = std::array<std::string, 26>;

// Each letter as its code in `codes`, the codes split by spaces; every
// other byte goes.
std::unique_ptr<StreamCoder> lettersAsCodes(LetterCodes codes);

}  // namespace puzzle

#endif  // ZEMBRAX_CODERS_PUZZLE_LETTERCODES_H_
