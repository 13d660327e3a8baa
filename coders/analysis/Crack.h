#ifndef ZEMBRAX_CODERS_ANALYSIS_CRACK_H_
#define ZEMBRAX_CODERS_ANALYSIS_CRACK_H_

// Breaking the window's ciphers without their key: Caesar (letters or all
// byte values), bitwise XOR, Vigenere and the substitution of letters. A
// cracker is fed the ciphertext in pieces and then ranks the keys that may
// have made it, each with the chance that it is the right one.

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
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
  std::vector<double> keyScores;           // Caesar/XOR: the score of every shift or value
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

std::unique_ptr<Cracker> makeCracker(Cipher cipher, const CrackSettings& settings);

// The method of the registry whose options a candidate of `cipher` carries.
const methods::Method& methodOf(Cipher cipher);

// The direction in which a candidate's options decrypt: a substitution's
// alphabets map the cipher's letters to the plain ones, so they are applied
// as they stand.
Direction decryptionOf(Cipher cipher);

// `text` decrypted by a candidate of `cipher` with `options`.
std::string decrypt(Cipher cipher, const methods::Settings& options, std::string text);

// How much less likely an answer is taken to be when its result does not
// hold the crib, in nats: the user may have the crib slightly wrong, so not
// impossible, but far behind every answer that holds it.
inline constexpr double kCribMissNats = 25;

// ln of the chance that `crib` stands somewhere in `length` bytes drawn at
// random (letters of either case, and the printable bytes), as it would
// were no key right; 0 for no crib.
double cribChanceNats(std::string_view crib, std::size_t length);

// Whether `text` holds `crib`, its letters in either case.
bool holdsCrib(std::string_view text, std::string_view crib);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_CRACK_H_
