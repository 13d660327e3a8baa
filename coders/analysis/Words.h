#ifndef ZEMBRAX_CODERS_ANALYSIS_WORDS_H_
#define ZEMBRAX_CODERS_ANALYSIS_WORDS_H_

// The commonest words of each language, as tools/langstats lists them from
// the same running text as the letter statistics: for reading short texts,
// whose letters alone say little, and for trying words as keys.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/Language.h"

namespace analysis::words {

class WordList {
 public:
  // Reads a word table as tools/wordtables writes it, in place: `table`
  // must outlive the list. Throws std::runtime_error when its mark or its
  // sizes are not those of a word table.
  explicit WordList(std::span<const std::uint8_t> table);

  // ln p of `word` (small letters a-z) among the words of running text;
  // zero where the list does not hold it (no chance is zero or more).
  float logChance(std::string_view word) const;

  // Whether the list holds `word`.
  bool holds(std::string_view word) const { return logChance(word) < 0; }

  // How many words the list holds.
  std::size_t size() const { return count; }
  // The word of rank `rank` (below size()), the commonest first.
  std::string_view word(std::size_t rank) const;

 private:
  std::size_t count = 0;
  std::size_t slotMask = 0;
  // The table's parts, where it lies: ln p of each word by rank (floats);
  // where each word starts among the letters, and where the last ends
  // (32 bits each); an open-addressed table of 1 + the rank of each word at
  // the slot of its hash, or the next free one after it, 0 for a free slot
  // (16 bits each); the letters.
  const std::uint8_t* chances = nullptr;
  const std::uint8_t* starts = nullptr;
  const std::uint8_t* slots = nullptr;
  const char* letters = nullptr;
};

// The word list of `language`, compiled in.
const WordList& wordListOf(Language language);

// -ln of the chance of a Vigenere key (capital letters) before the text is
// seen: half the keys are words of some language's list, half are letters
// drawn at random, of any length.
double vigenereKeyNats(std::string_view key);

// The longest word listed, in letters.
inline constexpr std::size_t kLongestWord = 20;

// ln p of `runs` (runs of small letters a-z, split by anything else) as
// words of `language` run together: the likeliest split of each run into
// listed words and stretches of letters the list does not hold, the latter
// read letter by letter at the language's letter frequencies.
double wordNats(std::string_view runs, Language language);

}  // namespace analysis::words

#endif  // ZEMBRAX_CODERS_ANALYSIS_WORDS_H_
