#ifndef ZEMBRAX_CODERS_SPELLING_H_
#define ZEMBRAX_CODERS_SPELLING_H_

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "OutputBuffer.h"
#include "kernels/Kernels.h"

// The text that one byte is written as, up to eight characters, padded so
// that a writer can copy all eight at once and then advance by `length`.
struct Spelling {
  char text[8];
  unsigned char length;
};

using SpellingTable = std::array<Spelling, 256>;

// Writes the spelling of every byte of `text` to `out`, back to back.
inline void spellEach(std::string_view text, const SpellingTable& table, OutputBuffer& out) {
  // A run of bytes at a time, as many as surely fit the buffer's room.
  constexpr std::size_t kRun = OutputBuffer::kRoom / sizeof(Spelling::text);
  for (std::size_t start = 0; start < text.size(); start += kRun) {
    char* o = out.next();
    for (unsigned char c : text.substr(start, kRun)) {
      std::memcpy(o, table[c].text, sizeof(Spelling::text));
      o += table[c].length;
    }
    out.wrote(o);
  }
}

// Spells every byte of `text` by `table`, whose spellings are at most
// `longest` characters; `kernel` spells what it can of it first.
inline std::string spellAll(const std::string& text, const SpellingTable& table,
                            std::size_t longest,
                            kernels::Progress (*kernel)(const char*, std::size_t, char*)) {
  OutputBuffer out(text.size() * longest);
  const std::size_t done = runKernel(kernel, text, out, 64, 64 * longest);
  spellEach(std::string_view(text).substr(done), table, out);
  return out.finish();
}

#endif  // ZEMBRAX_CODERS_SPELLING_H_
