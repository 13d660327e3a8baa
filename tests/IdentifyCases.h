#ifndef ZEMBRAX_TESTS_IDENTIFYCASES_H_
#define ZEMBRAX_TESTS_IDENTIFYCASES_H_

// Cases for identification: an excerpt of running text put through a chain
// of the window's methods (an encoding, a cipher, or a cipher under an
// encoding), identified with the language left to be found, and judged by
// whether the best chain undoes it. Shared by the tests (a small sample)
// and the accuracy benchmark (the full run).

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CrackCases.h"
#include "analysis/Identify.h"

namespace identifycases {

// A kind of text: what made it from running text.
struct Kind {
  std::string name;
  // The chain's steps, innermost first, as methods that encode with their
  // first sample's settings; a cipher's options are drawn by
  // `crackcases::encrypt`.
  std::vector<std::string> encodings;
  // The cipher that comes first, if any (Vigenere keys of 3 to 8 letters).
  std::optional<analysis::Cipher> cipher;
};

// Whether `method` is an encoding that a cipher's bytes may be put under:
// one that gives back every byte of any text, and writes it longer.
inline bool isEncodingOfBytes(const methods::Method& method) {
  const methods::Sample first = method.samples().front();
  return method.ways == methods::Ways::inversePair && first.lowest <= 1 && first.highest == 255 &&
         !methods::mapsSignForSign(method);
}

// Each decoding that identification tries, alone and, for an encoding of
// bytes, over a Caesar shift; then the ciphers, and some under the window's
// encodings.
inline const std::vector<Kind>& kinds() {
  static const std::vector<Kind> all = [] {
    using analysis::Cipher;
    std::vector<Kind> made;
    for (const methods::Method& method : methods::all()) {
      if (method.accepts == nullptr) continue;
      const std::string name(method.name);
      made.push_back({name, {name}, {}});
      if (isEncodingOfBytes(method))
        made.push_back({"caesar under " + name, {name}, Cipher::caesar});
    }
    made.push_back({"caesar", {}, Cipher::caesar});
    made.push_back({"vigenere", {}, Cipher::vigenere});
    made.push_back({"subst", {}, Cipher::substitution});
    made.push_back({"xor under base64", {"base64"}, Cipher::bitwiseXor});
    made.push_back({"vigenere under url", {"url"}, Cipher::vigenere});
    return made;
  }();
  return all;
}

struct Outcome {
  bool right = false;
  double confidence = 0;
  analysis::Features features{};
};

// Runs `name`'s method one way on `text` with its first sample's settings,
// as the command line does.
inline std::string code(const std::string& name, const std::string& text, Direction direction) {
  const methods::Method& method = methods::methodNamed(name);
  methods::OwnCoders coders;
  return methods::runExact(method, coders.all(), method.samples().front().settings, direction,
                           text);
}

// Makes a text of `kind` from `plain`, identifies it, and judges the best
// chain: right when it gives what undoing the kind's own steps gives.
inline Outcome run(const Kind& kind, const std::string& plain, std::mt19937& random) {
  std::string made =
      kind.cipher
          ? crackcases::encrypt(*kind.cipher, plain,
                                std::uniform_int_distribution<std::size_t>(3, 8)(random), random)
          : plain;
  for (const std::string& method : kind.encodings)
    made = code(method, made, Direction::encode);
  // What undoing the encodings gives: the plaintext, as far as they keep it.
  std::string expected = plain;
  for (const std::string& method : kind.encodings)
    expected = code(method, code(method, expected, Direction::encode),
                    methods::undoing(methods::methodNamed(method)));
  const analysis::Identification found = analysis::identify(made, {});
  Outcome outcome;
  if (found.candidates.empty()) return outcome;
  const analysis::Chain& best = found.candidates.front();
  const std::string result = analysis::runChain(best.steps, made);
  outcome.right = kind.cipher == analysis::Cipher::substitution
                      ? crackcases::isRight(*kind.cipher, expected, result)
                      : result == expected;
  outcome.confidence = best.confidence;
  outcome.features = found.features;
  return outcome;
}

}  // namespace identifycases

#endif  // ZEMBRAX_TESTS_IDENTIFYCASES_H_
