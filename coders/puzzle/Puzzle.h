#ifndef ZEMBRAX_CODERS_PUZZLE_PUZZLE_H_
#define ZEMBRAX_CODERS_PUZZLE_PUZZLE_H_

// The keyless and fixed methods that puzzles use. Each has a one-shot call
// and a stream coder that gives the same bytes, whole or in pieces. A method
// lives in a file of its own here.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

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
// Its digits, in their order: no 0, O, I or l, which look alike.
constexpr std::string_view kBase58Digits =
    "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";
std::unique_ptr<StreamCoder> base58(bool decoding);

// Base85: four bytes as five digits, the highest first; a last group of n
// bytes as its first n + 1 digits. Ascii85 (Adobe's, '!' to 'u') writes a
// group of four zero bytes as 'z', and with `wrapped` puts the text in
// <~ ~>; Z85 (ZeroMQ's) has its own alphabet and no 'z'.
enum class Base85 { ascii85, z85 };
std::unique_ptr<StreamCoder> base85Encode(Base85 alphabet, bool wrapped);
// Base85 with its whitespace and every other byte outside the alphabet
// skipped; a short last group gives one byte fewer than its digits. Ascii85
// takes its 'z' and its <~ ~> marks, or none.
std::unique_ptr<StreamCoder> base85Decode(Base85 alphabet);

// A1Z26: each letter as its number, 1 to 26, `separator` ("-" when empty)
// between two letters in a row; every other byte stays. Back, a run of one
// or two digits worth 1 to 26 is its capital and the separator between two
// such runs goes.
std::unique_ptr<StreamCoder> toA1Z26(std::string separator);
std::unique_ptr<StreamCoder> fromA1Z26(std::string separator);

// The ICAO spelling alphabet: each letter and digit as its word (Alfa,
// Juliett, X-ray; Zero to Nine), the words split by spaces, a space as "/";
// every other byte is a word of its own and line breaks stay. Back, each
// spelling in any case (Alpha, Juliet, Xray, Whisky and Niner too) gives
// its capital or digit.
std::unique_ptr<StreamCoder> toNato();
// The capital or digit that `word` spells, in any case; '\0' for none.
char natoSign(std::string_view word);
std::unique_ptr<StreamCoder> fromNato();

// Bacon's cipher: each letter as five signs, A and B or with `digits` 0 and
// 1, in groups split by spaces; every other byte goes. The alphabet of 24
// has I for J and U for V. Back, the signs in either case, every other byte
// skipped, give capitals.
enum class BaconAlphabet { classic, full };
std::unique_ptr<StreamCoder> toBacon(BaconAlphabet alphabet, bool digits);
std::unique_ptr<StreamCoder> fromBacon(BaconAlphabet alphabet, bool digits);

// The Polybius square of 5 x 5 (I for J), the letters of `key` first: each
// letter as its row and column, 1 to 5, the pairs split by spaces; every
// other byte goes. Back, the digits 1 to 5 two at a time, every other byte
// skipped, give capitals.
std::unique_ptr<StreamCoder> toPolybius(std::string_view key);
std::unique_ptr<StreamCoder> fromPolybius(std::string_view key);

// The phone keypad: each letter as the presses of its key (ABC on 2 ...
// WXYZ on 9: "44 444" for HI), a space as 0, the codes split by spaces; or
// with `decoding` back, as capitals. Every other byte stays both ways.
std::unique_ptr<StreamCoder> phoneKeypad(bool decoding);
// Whether `text` is mostly such presses, four letters or more, with no
// letters.
bool isPhoneKeypad(std::string_view text);

}  // namespace puzzle

#endif  // ZEMBRAX_CODERS_PUZZLE_PUZZLE_H_
