#ifndef ZEMBRAX_CODERS_WRITTENFORMS_H_
#define ZEMBRAX_CODERS_WRITTENFORMS_H_

// The decoders of the command line and the analysis, where they differ from
// the window's Decrypt: they keep every byte they decode (zero bytes too),
// and read an encoding in the forms people commonly write it in. Each is a
// stream coder, so a text gives the same bytes whole or in pieces; its
// one-shot call is one piece and the end.

#include <cstdint>
#include <memory>
#include <string>

#include "stream/StreamCoder.h"

namespace forms {

// Base64 in the standard alphabet and the URL-safe one ('-' and '_' for '+'
// and '/'), wrapped at any width, with or without its '=' padding: a group
// cut short by '=' or by the end gives the one or two bytes its characters
// hold. Whitespace and other characters are skipped.
std::unique_ptr<StreamCoder> base64Decode();

// Binary digits in groups of `width` (7 or 8); a run of digits between
// whitespace or other characters that is shorter than a group is one byte,
// so that "1100010 1101001" is read as well as "0110001001101001". A "0b"
// before a run is skipped.
std::unique_ptr<StreamCoder> fromBinary(std::int32_t width);

// Signed decimal numbers of bytes, split by whitespace, commas or anything
// else that is not a digit; each number gives its low eight bits.
std::unique_ptr<StreamCoder> fromDecimal();

// Hexadecimal digits in pairs, of either case, split by anything or
// nothing: "41 42", "4142", "0x41,0x42", "\x41\x42", "41:42". A digit
// left alone between others is a byte of its own.
std::unique_ptr<StreamCoder> readHex();

// Morse code, each letter's dots and dashes split by whitespace, as the
// window reads it; a word gap (a "/" or a run of two or more spaces) gives
// a space, and line breaks are kept. A byte that has no code stands for
// itself, as the encoder writes it.
std::unique_ptr<StreamCoder> morseDecode();

// The whole of `text` through `coder`: what feeding it as one piece and
// finishing gives.
std::string readAll(StreamCoder& coder, std::string text);

}  // namespace forms

#endif  // ZEMBRAX_CODERS_WRITTENFORMS_H_
