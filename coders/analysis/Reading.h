#ifndef ZEMBRAX_CODERS_ANALYSIS_READING_H_
#define ZEMBRAX_CODERS_ANALYSIS_READING_H_

// How well a text reads as plaintext, against readings of it as something
// else. Plaintext takes two forms: prose (words and spaces, the usual
// punctuation, capitals where sentences and names start) and token text
// (what puzzles and flags hold: words joined by '_', '-' or nothing, digits
// standing for letters, all capitals or none, a wrapper "name{...}").
// Pure functions of the text and the language tables.

#include <optional>
#include <string_view>

#include "analysis/Language.h"

namespace analysis::reading {

struct Reading {
  Language language;  // the language it reads best in
  double asLanguage;  // ln p of the text as plaintext in `language`
  double asNothing;   // ln p of it as scrambled letters or as random bytes
  double natural;     // the chance that it is plaintext
};

// A text is judged on its first letters, as many as the language ranking
// reads, within this many bytes.
inline constexpr std::size_t kJudgedBytes = 16 << 10;

// How the first kJudgedBytes of `text` read, in `language` or, where none
// is given, in the language they read best in.
Reading readingOf(std::string_view text, std::optional<Language> language);

// The chance that a text that reads as plaintext by `nats` more than as
// anything else is plaintext.
double naturalChance(double nats);

// How much likelier than the other readings a text must read as plaintext
// before it counts as plaintext, in nats.
inline constexpr double kNaturalNats = 6.0;

// The letter that a digit or sign stands for inside a word of token text
// ('0' for 'o', '3' for 'e', '@' for 'a'); 0 for none.
char letterFor(char c);

// Whether `text`, less whitespace around it, is a wrapper: a name of
// letters, digits, '_' or '-', then "{", anything but braces, then "}".
bool isWrapped(std::string_view text);

}  // namespace analysis::reading

#endif  // ZEMBRAX_CODERS_ANALYSIS_READING_H_
