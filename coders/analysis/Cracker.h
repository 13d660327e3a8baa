#ifndef ZEMBRAX_CODERS_ANALYSIS_CRACKER_H_
#define ZEMBRAX_CODERS_ANALYSIS_CRACKER_H_

// A cracker of one cipher, the settings it is made with and the report it
// gives: what makeCracker's callers and the crackers behind it share.

#include <array>
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Methods.h"
#include "analysis/Language.h"

namespace analysis {

enum class Cipher { caesar, caesarFull, bitwiseXor, vigenere, substitution };

struct CrackSettings {
  std::optional<Language> language;  // none: found from the text
  std::size_t top = 5;               // candidates wanted (at least one is given)
  // Text known to stand somewhere in the plaintext (a crib): keys whose
  // decryption holds it rank first. Letters match in either case.
  std::string crib;
  // The Vigenere key lengths searched; maxKeyLength 0 takes the default
  // bound (32). Keys longer than 100 letters are not searched.
  std::size_t minKeyLength = 1, maxKeyLength = 0;
  // Set from another thread to end the search early: finish() then gives no
  // candidate and the note kCancelled.
  const std::atomic<bool>* stop = nullptr;

  bool stopped() const { return stop != nullptr && stop->load(std::memory_order_relaxed); }
};

struct Candidate {
  // The method's options that decrypt the text: Caesar {"shift": N} (and
  // {"full": true}) applied in the decrypt direction, Vigenere {"key": K}
  // applied in the decrypt direction, substitution {"from", "to"}, bitwise
  // {"xor": N}.
  methods::Settings options;
  Language language;
  // The other languages in which this same key was found, merged into this
  // one candidate (its chance is theirs summed), best first.
  std::vector<Language> alsoLanguages;
  double confidence;    // in [0, 1]: the chance that this is the right key
  double score;         // the fitness it was ranked by (a log-likelihood)
  std::string preview;  // the start of its decryption, whole UTF-8 characters
};

// What the answer rests on, for explanations and charts.
struct Evidence {
  std::vector<double> keyScores;           // Caesar/XOR: the score of shift or value k at k
  std::vector<double> periodCoincidence;   // Vigenere: index of coincidence of periods 1, 2, ...
  std::size_t period = 0;                  // Vigenere: the key length chosen
  std::vector<double> keyLetterFitness;    // Vigenere: the chance of each key letter
  std::array<double, 26> inputLetters{};   // the input's letter frequencies
  std::array<double, 26> outputLetters{};  // the best decryption's
};

// The note of a search ended by its stop request.
inline constexpr std::string_view kCancelled = "cancelled";

struct Report {
  Language language;                  // the language found (or given)
  std::vector<Candidate> candidates;  // best first; empty when nothing can be cracked
  std::string note;                   // empty, or why the answer is unsure
  bool sampled = false;               // only the first part of a large text was used
  Evidence evidence;
};

// A cracker for one cipher, fed the text in pieces and then finished once.
class Cracker {
 public:
  virtual ~Cracker() = default;
  virtual void feed(std::string_view piece) = 0;
  virtual Report finish() = 0;
};

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_CRACKER_H_
