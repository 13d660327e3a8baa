#ifndef ZEMBRAX_CODERS_PUZZLE_PUZZLE_H_
#define ZEMBRAX_CODERS_PUZZLE_PUZZLE_H_

// The keyless and fixed methods that puzzles use. Each has a one-shot call
// and a stream coder that gives the same bytes, whole or in pieces. A method
// lives in a file of its own here.

#include <cstddef>
#include <memory>
#include <string>

#include "stream/StreamCoder.h"

namespace puzzle {

// ROT47: each of the 94 printable characters '!'..'~' moves half way round
// them; every other byte stays. Undoes itself.
std::string rot47(std::string text);
std::unique_ptr<StreamCoder> rot47Stream();

// Atbash: each ASCII letter becomes the one as far from the alphabet's other
// end, in its own case; every other byte stays. Undoes itself.
std::string atbash(std::string text);
std::unique_ptr<StreamCoder> atbashStream();

// Trithemius: the n-th letter (counted from 0, letters alone) moves forward
// by n, or with `back` backward by n, within its own case.
std::unique_ptr<StreamCoder> trithemius(bool back);

// The text backwards, by bytes, or with `characters` by UTF-8 characters
// (a byte that starts no whole character is one of its own). The stream
// holds the text until it ends, as its first byte is the text's last.
std::string reversed(std::string text, bool characters);
std::unique_ptr<StreamCoder> reversedStream(bool characters);

// Base32 of RFC 4648 (A-Z, 2-7), with '=' padding to whole groups of eight
// or, with `padded` false, without.
std::unique_ptr<StreamCoder> base32Encode(bool padded);
// Base32 in either case, wrapped or not, padded or not: a group cut short
// by '=' or by the end gives the bytes its characters hold whole. Every
// other byte is skipped.
std::unique_ptr<StreamCoder> base32Decode();

// Every byte as its octal number (0 to 377) and a space.
std::unique_ptr<StreamCoder> toOctal();
// Runs of octal digits, split by anything else; each gives its low eight
// bits.
std::unique_ptr<StreamCoder> fromOctal();

// Each digit and letter as the key to its right on a QWERTY keyboard, or
// with `left` to its left, round the end of its row; capitals stay
// capitals, and every other byte stays.
std::string keyboardShift(std::string text, bool left);
std::unique_ptr<StreamCoder> keyboardShiftStream(bool left);

// Base58 in the Bitcoin alphabet, or with `decoding` back (every byte
// outside the alphabet skipped): the text as one number, each zero byte
// before it a '1'. It is held until it ends, and refused beyond
// kBase58Most bytes.
constexpr std::size_t kBase58Most = 1 << 20;
std::unique_ptr<StreamCoder> base58(bool decoding);

}  // namespace puzzle

#endif  // ZEMBRAX_CODERS_PUZZLE_PUZZLE_H_
