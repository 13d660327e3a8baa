#ifndef ZEMBRAX_CODERS_ASCII_H_
#define ZEMBRAX_CODERS_ASCII_H_

// Character classes shared by the coders. No locale is involved: only ASCII
// bytes belong to a class, bytes 0x80-0xFF never do.
namespace ascii {

// The place of an ASCII letter in the alphabet (0 for 'A' and 'a', 25 for 'Z'
// and 'z'), or 26 and above for any other byte. Clearing bit 5 folds
// 'a'..'z' onto 'A'..'Z' and no other byte onto them.
constexpr unsigned char letterIndex(char c) {
  return static_cast<unsigned char>((static_cast<unsigned char>(c) & 0xDF) - 'A');
}

constexpr bool isLetter(char c) {
  return letterIndex(c) < 26;
}

constexpr bool isDigit(char c) {
  return static_cast<unsigned char>(c - '0') < 10;
}

// Space, tab, line feed, vertical tab, form feed and carriage return (the
// last five are the consecutive bytes 9 to 13).
constexpr bool isWhitespace(char c) {
  return c == ' ' || static_cast<unsigned char>(c - '\t') < 5;
}

}  // namespace ascii

#endif  // ZEMBRAX_CODERS_ASCII_H_
