#ifndef ZEMBRAX_CODERS_CHAR_CHARCODER_H_
#define ZEMBRAX_CODERS_CHAR_CHARCODER_H_

#include <cstdint>
#include <string>

// The character coder: alphabet substitution, URL encoding, bitwise
// operations and number-base conversions over byte strings. Every operation
// takes its inputs by value, returns a new string and never fails; the only
// state is the width of the binary conversions.
class CharCoder {
 public:
  // One of `bitAnd`, `bitOr` and `bitXor`, for `bitwiseApply`.
  using ByteOperation = unsigned char (CharCoder::*)(unsigned char, unsigned char) const;

  // Replaces each byte of `text` that occurs in `from` by the byte at the same
  // place in `to`, looking only at the first min(|from|, |to|) places; the
  // first occurrence wins and replaced bytes are not looked up again.
  std::string substitute(std::string text, std::string from, std::string to) const;

  // Percent-encodes every byte but the ASCII letters and digits as '%XX' with
  // upper-case digits; a space becomes '%20'.
  std::string urlEncode(std::string text) const;

  // Turns every '%' and the two characters after it, whatever they are, into
  // one byte; an escape cut short by the end of the text is dropped. All
  // other bytes, '+' included, are copied.
  std::string urlDecode(std::string text) const;

  // True for every byte except the ASCII letters and digits.
  bool needsEscape(unsigned char c) const;

  // The upper-case hexadecimal digit of `value` (0-15).
  char hexDigit(int value) const;

  // The value of an escape digit: '0'-'9' are 0-9, 'A'-'Z' 10-35, 'a'-'f'
  // 10-15, and any other character 32.
  int hexValue(unsigned char c) const;

  unsigned char bitAnd(unsigned char c, unsigned char value) const;
  unsigned char bitOr(unsigned char c, unsigned char value) const;
  unsigned char bitXor(unsigned char c, unsigned char value) const;

  // Combines every byte of `text` with the low eight bits of `value` by
  // `operation`. Same length as `text`; zero bytes stay in the result.
  std::string bitwiseApply(std::string text, std::int32_t value, ByteOperation operation) const;

  // Sets the width of the binary conversions. Only 7 and 8 are taken; any
  // other width returns false and keeps the old one.
  bool setBitWidth(std::int32_t width);

  // Every byte as `bitWidth` binary digits, most significant first, without
  // separators; at 7 bits the top bit of each byte is left out.
  std::string toBinary(std::string text) const;

  // One byte from each whole group of `bitWidth` characters, counted from the
  // start; only '1' is a set bit, and characters left over are ignored.
  std::string fromBinary(std::string text) const;

  // Every byte as a signed decimal number (-128..127) followed by a space.
  std::string toDecimal(std::string text) const;

  // Reads whitespace-separated integers with an optional sign, as a C++
  // stream reads ints, and writes the low eight bits of each as one byte.
  // Stops at the first thing that is not a number.
  std::string fromDecimal(std::string text) const;

  // Every byte as two upper-case hexadecimal digits followed by a space.
  std::string toHex(std::string text) const;

  // Hexadecimal to text is not offered in the window: always a fixed notice.
  std::string fromHex(std::string text) const;

  // Reads hexadecimal digits (either case) two at a time into bytes, pairing
  // them from the start of each run of digits; a run of odd length ends with
  // a byte of its last digit alone. Every other character ends a run and is
  // skipped, so "48 65", "4865" and "48:65" all give "He".
  std::string readHex(std::string text) const;

 private:
  std::int32_t bitWidth = 8;
};

#endif  // ZEMBRAX_CODERS_CHAR_CHARCODER_H_
