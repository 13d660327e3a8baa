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
  const char* name;
  // The chain's steps, innermost first, as (method, options) that encode;
  // a cipher's options are drawn by `crackcases::encrypt`.
  std::vector<const char*> encodings;
  // The cipher that comes first, if any (Vigenere keys of 3 to 8 letters).
  std::optional<analysis::Cipher> cipher;
};

inline const std::vector<Kind>& kinds() {
  static const std::vector<Kind> all = {
      {"base64", {"base64"}, {}},
      {"url", {"url"}, {}},
      {"binary", {"binary"}, {}},
      {"decimal", {"decimal"}, {}},
      {"hex", {"hex"}, {}},
      {"morse", {"morse"}, {}},
      {"caesar", {}, analysis::Cipher::caesar},
      {"vigenere", {}, analysis::Cipher::vigenere},
      {"subst", {}, analysis::Cipher::substitution},
      {"xor under base64", {"base64"}, analysis::Cipher::bitwiseXor},
      {"caesar under base64", {"base64"}, analysis::Cipher::caesar},
      {"caesar under hex", {"hex"}, analysis::Cipher::caesar},
      {"vigenere under url", {"url"}, analysis::Cipher::vigenere},
      {"base85", {"base85"}, {}},
      {"z85", {"z85"}, {}},
      {"a1z26", {"a1z26"}, {}},
      {"nato", {"nato"}, {}},
      {"bacon", {"bacon"}, {}},
      {"polybius", {"polybius"}, {}},
  };
  return all;
}

struct Outcome {
  bool right = false;
  double confidence = 0;
  analysis::Features features{};
};

// Runs `method` one way on `text`, as the command line does.
inline std::string code(const char* method, const std::string& text, Direction direction) {
  methods::OwnCoders coders;
  return methods::runExact(methods::methodNamed(method), coders.all(), {}, direction, text);
}

// Makes a text of `kind` from `plain`, identifies it, and judges the best
// chain: right when it gives what undoing the kind's own steps gives.
inline Outcome run(const Kind& kind, const std::string& plain, std::mt19937& random) {
  std::string made =
      kind.cipher
          ? crackcases::encrypt(*kind.cipher, plain,
                                std::uniform_int_distribution<std::size_t>(3, 8)(random), random)
          : plain;
  for (const char* method : kind.encodings)
    made = code(method, made, Direction::encode);
  // What undoing the encodings gives: the plaintext, as far as they keep it.
  std::string expected = plain;
  for (const char* method : kind.encodings)
    expected = code(method, code(method, expected, Direction::encode), Direction::decode);
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
