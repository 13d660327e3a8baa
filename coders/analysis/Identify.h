#ifndef ZEMBRAX_CODERS_ANALYSIS_IDENTIFY_H_
#define ZEMBRAX_CODERS_ANALYSIS_IDENTIFY_H_

// What a text is: the chains of the window's methods that turn it into
// plaintext, prose or token text (see Reading.h). A chain undoes up to
// kMostDecodings encodings that need no key (Base64, URL, binary, decimal,
// hexadecimal, Morse), then at most one cipher (Caesar, Vigenere,
// substitution, XOR), each step with the options that undo it.

#include <array>
#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Methods.h"
#include "analysis/Crack.h"
#include "analysis/Language.h"

namespace analysis {

// One step of a chain: a method of the registry run in a direction with
// options, as the window or `zembrax-cli METHOD [-d]` would run it.
struct Step {
  const methods::Method* method;
  Direction direction;
  methods::Settings options;
};

struct Chain {
  std::vector<Step> steps;  // in the order they run; none for plain text
  Language language;        // the language that the result reads as
  // Other languages whose reading of the same steps was merged into this
  // chain, best first.
  std::vector<Language> alsoLanguages;
  double confidence;    // in [0, 1]: the chance that this is what the text is
  double score;         // ln p of the text's first bytes, made by this chain
  std::string preview;  // the start of the result
};

struct IdentifySettings {
  std::optional<Language> language;  // none: found from the text
  std::size_t top = 5;               // chains wanted
  std::string crib;                  // text known to stand in the result; empty for none
  // Set from another thread to end the search early: identify() then gives
  // no chain and the note kCancelled.
  const std::atomic<bool>* stop = nullptr;

  bool stopped() const { return stop != nullptr && stop->load(std::memory_order_relaxed); }
};

// What the chance that the first chain of a list is right is judged on,
// as tools/calibrate fits it on cases of known answer: how far its result
// reads as plaintext ahead of reading as nothing and ahead of the next
// chain's (nats, each capped), how well it reads per letter, how many
// letters it has (ln of one more, up to a bound), whether it ends in a cipher of all bytes
// or of letters, and how many keyless decodings it has.
inline constexpr std::size_t kFeatureCount = 7;
using Features = std::array<double, kFeatureCount>;

struct Identification {
  std::vector<Chain> candidates;  // best first
  std::string note;               // empty, or why the answer is unsure
  bool sampled = false;           // only the first kIdentifySample bytes were used
  Features features{};            // what the first chain's chance was judged on
};

// Encodings undone in one chain, at most: puzzles stack six to eight
// layers of Base64, and a few more cost little, as each layer shrinks the
// text.
inline constexpr std::size_t kMostDecodings = 32;
// The bytes of a text that identification reads.
inline constexpr std::size_t kIdentifySample = std::size_t{1} << 20;

// What `text` is, judged on its first kIdentifySample bytes; `sampled` says
// that the text went on past them.
Identification identify(std::string_view text, const IdentifySettings& settings,
                        bool sampled = false);

// The chains `tried` on `text`, ranked as identify() ranks the chains it
// finds: each judged on what it makes of the text's first bytes, against
// the text reading as nothing and against the others, with the calibrated
// chance of the first. Chains that make the same of the text are one.
// None where none are tried, and none with the note kCancelled once
// `settings.stop` is set.
Identification rankChains(std::string_view text, std::vector<std::vector<Step>> tried,
                          const IdentifySettings& settings);

// The step that applies a candidate of `cipher` with `options`.
Step stepOf(Cipher cipher, const methods::Settings& options);

// The result of running `steps` on `text`, one after the other.
std::string runChain(const std::vector<Step>& steps, std::string text);

}  // namespace analysis

#endif  // ZEMBRAX_CODERS_ANALYSIS_IDENTIFY_H_
