#ifndef ZEMBRAX_CODERS_TEXT_H_
#define ZEMBRAX_CODERS_TEXT_H_

// Texts as the window and the command line read and show them: the
// encodings that turn characters into the coders' bytes and back, and
// decimal integers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// UTF-8, or one of the Windows code pages of one byte a character.
enum class Encoding : std::uint8_t {
  utf8,
  windows874,
  windows1250,
  windows1251,
  windows1252,
  windows1253,
  windows1254,
  windows1255,
  windows1256,
  windows1257,
  windows1258,
};

inline constexpr std::array kEncodings = {
    Encoding::utf8,        Encoding::windows874,  Encoding::windows1250, Encoding::windows1251,
    Encoding::windows1252, Encoding::windows1253, Encoding::windows1254, Encoding::windows1255,
    Encoding::windows1256, Encoding::windows1257, Encoding::windows1258,
};

// The name that the command lines take and show: "utf-8", "windows-1250".
std::string_view nameOf(Encoding encoding);

// The encoding of `name`, in any case: "utf-8" or "utf8", "windows-1250" or
// "cp1250". Nothing for any other name.
std::optional<Encoding> encodingNamed(std::string_view name);

// Every name, separated by ", ", for messages.
std::string encodingNames();

// The encoding of a character set as nl_langinfo(CODESET) names it:
// UTF-8, one of the code pages (CP1250 …), or Windows-1252 for any other.
Encoding encodingOfCharset(std::string_view charset);

// The encoding of the program's locale, as set by setlocale.
Encoding localeEncoding();

// One character of a byte text: how many bytes it takes and what it is.
// U+FFFD stands for bytes that are no character: a byte that a code page
// leaves unassigned, or in UTF-8 the longest start of a sequence that does
// not go on as it must (one byte at least).
struct Character {
  std::size_t length;
  char32_t code;
};

// The character that starts at byte `at` (< bytes.size()).
Character characterAt(std::string_view bytes, std::size_t at, Encoding encoding);

// Where the character before byte `at` (> 0, itself the start of a
// character) starts.
std::size_t previousCharacter(std::string_view bytes, std::size_t at, Encoding encoding);

// True when all of `bytes` is valid UTF-8.
bool isUtf8(std::string_view bytes);

// The bytes as UTF-8, each character as `characterAt` reads it.
std::string toUtf8(std::string_view bytes, Encoding encoding);

// A UTF-8 text in `encoding`. A character the encoding cannot hold becomes
// '?' and counts in `lost`; a byte that starts no valid UTF-8 sequence is
// taken as it is.
struct Encoded {
  std::string bytes;
  std::size_t lost = 0;
};
Encoded fromUtf8(std::string_view utf8, Encoding encoding);

// A signed 32-bit decimal integer: an optional sign and digits, nothing
// else. Nothing for any other text, a lone sign and numbers out of range
// included.
std::optional<std::int32_t> readInteger(std::string_view text);

}  // namespace text

#endif  // ZEMBRAX_CODERS_TEXT_H_
