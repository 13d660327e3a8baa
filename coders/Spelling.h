#ifndef ZEMBRAX_CODERS_SPELLING_H_
#define ZEMBRAX_CODERS_SPELLING_H_

#include <array>
#include <cstddef>
#include <cstring>
#include <string>

// The text that one byte is written as, up to eight characters, padded so
// that a writer can copy all eight at once and then advance by `length`.
struct Spelling {
  char text[8];
  unsigned char length;
};

using SpellingTable = std::array<Spelling, 256>;

// Writes the spelling of every byte of `text` back to back; `longest` is the
// longest spelling in `table`.
inline std::string spellEach(const std::string& text, const SpellingTable& table,
                             std::size_t longest) {
  std::string out(text.size() * longest + sizeof(Spelling::text), '\0');
  char* o = out.data();
  for (unsigned char c : text) {
    std::memcpy(o, table[c].text, sizeof(Spelling::text));
    o += table[c].length;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

#endif  // ZEMBRAX_CODERS_SPELLING_H_
