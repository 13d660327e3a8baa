#ifndef ZEMBRAX_CODERS_ANALYSIS_WORDS_H_
#define ZEMBRAX_CODERS_ANALYSIS_WORDS_H_

// The commonest words of each language, as tools/langstats lists them from
// the same running text as the letter statistics: for reading short texts,
// whose letters alone say little, and for trying words as keys.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "analysis/Language.h"

namespace analysis::words {

class WordList {
 public:
  // Reads a list of a word and its count a line, the commonest first.
  explicit WordList(std::string_view listing);

  // ln p of `word` (small letters a-z) among the words of running text;
  // zero where the list does not hold it (no chance is zero or more).
  float logChance(std::string_view word) const;

  // Whether the list holds `word`.
  bool holds(std::string_view word) const { return logChance(word) < 0; }

  // The words, the commonest first.
  std::span<const std::string_view> ranked() const { return words; }

 private:
  std::vector<std::string_view> words;
  std::vector<float> chances;
  // An open-addressed table of 1 + the rank of each word at the slot of its
  // hash, or the next free one after it; 0 for a free slot. A tenth of a
  // millisecond to fill, where a map of nodes takes a hundred times that.
  std::vector<std::uint32_t> slots;
};

// The word list of `language`; the first call reads every language's
// (thread-safe), and they are kept.
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
