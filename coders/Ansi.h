#ifndef ZEMBRAX_CODERS_ANSI_H_
#define ZEMBRAX_CODERS_ANSI_H_

// Windows-1252, the code page that the coders' bytes are read in, and
// decimal integers as the windows and the command line read them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ansi {

// The character of a Windows-1252 byte. The five bytes that the code page
// leaves unassigned stand for the control characters of their value.
char16_t toUnicode(unsigned char byte);

// The Windows-1252 byte of a character, or '?' where the code page has none.
char fromUnicode(char32_t character);

// A UTF-8 text in Windows-1252. A byte that starts no valid UTF-8 sequence
// is taken as the Windows-1252 byte it already is.
std::string fromUtf8(std::string_view text);

// A signed 32-bit decimal integer: an optional sign and digits, nothing
// else. Nothing for any other text, a lone sign and numbers out of range
// included.
std::optional<std::int32_t> readInteger(std::string_view text);

}  // namespace ansi

#endif  // ZEMBRAX_CODERS_ANSI_H_
