#ifndef ZEMBRAX_CODERS_SHAPES_H_
#define ZEMBRAX_CODERS_SHAPES_H_

// Whether a text has the written form of an encoding, as the registry's
// `accepts` asks: the text's decoding then loses nothing and is worth trying.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shapes {

// The widths (7, 8) of binary digits that `text` reads as, none where it is
// no list of binary digits: runs of digits as long as a group or shorter are
// a byte each; longer runs are groups of eight unless their count says
// seven.
std::vector<std::int32_t> binaryWidths(std::string_view text);

// Mostly dots and dashes: Morse code passes on the bytes it has no code
// for, so a little else may stand among them.
bool isMorse(std::string_view text);

// Whether `text` reads as a list of bytes in another form already (binary
// digits or Morse code), which numbers and Base64 would read as well but
// worse.
bool isBinaryOrMorse(std::string_view text);

// A list of decimal numbers of bytes, signed or not (-128..255).
bool isDecimalBytes(std::string_view text);

// A list of whole bytes of hexadecimal digits, perhaps each pair with its
// own prefix ("0x41", "\x41\x42", "4142").
bool isHexBytes(std::string_view text);

// Base64 as it is written: its alphabet (standard or URL-safe) wrapped at
// any width, padded or not.
bool isBase64(std::string_view text);

// A list of octal numbers of bytes (0 to 377).
bool isOctalBytes(std::string_view text);

// Base32 as it is written: its capitals and digits 2-7 wrapped at any
// width, padded or not.
bool isBase32(std::string_view text);

// Base58 as it is written: one word of its digits, with a digit, a capital
// and a small letter among them (as any but the shortest has), and short
// enough to decode at once, as its cost grows with the square of its
// length.
bool isBase58(std::string_view text);

// Percent escapes, of which most are well formed.
bool isUrlEncoded(std::string_view text);

// Printable ASCII that ROT47 turns mostly into small letters, where it has
// few itself: what ROT47 makes of running text, words and flags.
bool isRot47(std::string_view text);

// Mostly letters, which Atbash keeps letters: a text it may have made.
bool isMostlyLetters(std::string_view text);

// Mostly letters, or written backwards in a form that gives it away: a
// wrapper's closing brace first and its opening brace after the name
// ("}...{flag"), or Base64's padding at the start; but no groups of
// Bacon's cipher, which read backwards as other groups.
bool isBackwards(std::string_view text);

// Ascii85 as it is written: inside <~ ~>, or its digits '!' to 'u' and 'z'
// alone, wrapped at any width, with some digit that Base64 lacks.
bool isAscii85(std::string_view text);

// Z85 as it is written: its digits alone, wrapped at any width, with some
// sign that Base64 lacks.
bool isZ85(std::string_view text);

// The separator of a text of A1Z26, whose numbers are mostly 1 to 26 and
// which has no letters: what most often stands between two numbers, empty
// where that is the coder's own "-". None where the text is no A1Z26.
std::optional<std::string> a1z26Separator(std::string_view text);

// Words of the spelling alphabet, with little else but signs of
// punctuation ("/" for a space).
bool isNato(std::string_view text);

// The signs that a text of Bacon's cipher is written in, "AB" (in either
// case) or "01", when it has those alone and its words are groups of five;
// empty otherwise.
std::string_view baconSigns(std::string_view text);

// Pairs of the digits 1 to 5, four or more, split by spaces, commas and the
// like.
bool isPolybius(std::string_view text);

}  // namespace shapes

#endif  // ZEMBRAX_CODERS_SHAPES_H_
