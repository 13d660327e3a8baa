#ifndef ZEMBRAX_TESTS_CRACKCASES_H_
#define ZEMBRAX_TESTS_CRACKCASES_H_

// Cases for the crackers: an excerpt of running text encrypted with a random
// key, cracked with the language left to be found, and judged. Shared by the
// tests (a small sample) and the accuracy benchmark (the full run).

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <numeric>
#include <random>
#include <string>
#include <variant>

#include "Ascii.h"
#include "Methods.h"
#include "analysis/Crack.h"

namespace crackcases {

// A case's outcome: whether the best candidate was right, how sure it was,
// and how long the crack took.
struct Outcome {
  bool right = false;
  double confidence = 0;
  double seconds = 0;
};

// Reads a whole file; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::size_t countLetters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), ascii::isLetter));
}

// A random excerpt of `text` that starts at a word and holds `letters`
// letters (or `bytes` bytes when `letters` is 0), running text as it is.
inline std::string excerpt(const std::string& text, std::size_t letters, std::size_t bytes,
                           std::mt19937& random) {
  std::size_t start = std::uniform_int_distribution<std::size_t>(0, text.size() / 2)(random);
  while (start < text.size() && !(start == 0 || text[start - 1] == ' '))
    ++start;
  std::string out;
  std::size_t counted = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (letters == 0 ? out.size() == bytes : counted == letters) break;
    out += text[i];
    counted += ascii::isLetter(text[i]) ? 1 : 0;
  }
  // Never stop inside a UTF-8 character.
  while (!out.empty() && (static_cast<unsigned char>(out.back()) & 0xC0) == 0x80 && letters == 0)
    out.pop_back();
  return out;
}

inline const methods::Setting* option(const analysis::Candidate& c, std::string_view name) {
  for (const auto& s : c.options)
    if (s.name == name) return &s;
  return nullptr;
}

// What the candidate's options make of `cipher`.
inline std::string decryptWith(analysis::Cipher cipher, const analysis::Candidate& c,
                               const std::string& text) {
  return analysis::decrypt(cipher, c.options, text);
}

// A random key of `cipher` (Vigenere keys of `keyLength` letters), as its
// method's settings.
inline methods::Settings randomKey(analysis::Cipher cipher, std::size_t keyLength,
                                   std::mt19937& random) {
  using analysis::Cipher;
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  switch (cipher) {
    case Cipher::caesar:
      return {{"shift", pick(1, 25)}};
    case Cipher::caesarFull:
      return {{"shift", pick(1, 254)}, {"full", true}};
    case Cipher::bitwiseXor:
      return {{"xor", pick(1, 255)}};
    case Cipher::vigenere: {
      std::string key;
      for (std::size_t i = 0; i < keyLength; ++i)
        key += static_cast<char>('A' + pick(0, 25));
      return {{"key", key}};
    }
    case Cipher::substitution: {
      std::string alphabet(26, 'A');
      std::iota(alphabet.begin(), alphabet.end(), 'A');
      std::string to = alphabet;
      std::shuffle(to.begin(), to.end(), random);
      std::string lower = alphabet, lowerTo = to;
      for (char& c : lower)
        c = static_cast<char>(c + 32);
      for (char& c : lowerTo)
        c = static_cast<char>(c + 32);
      return {{"from", alphabet + lower}, {"to", to + lowerTo}};
    }
  }
  return {};
}

// `plain` encrypted with a random key of `cipher` (Vigenere keys of
// `keyLength` letters), by its method in the registry.
inline std::string encrypt(analysis::Cipher cipher, const std::string& plain, std::size_t keyLength,
                           std::mt19937& random) {
  methods::OwnCoders coders;
  return methods::runExact(analysis::methodOf(cipher), coders.all(),
                           randomKey(cipher, keyLength, random), Direction::encode, plain);
}

// Whether `decrypted` is right: equal to `plain`, or for a substitution with
// at least 95 % of its letters right.
inline bool isRight(analysis::Cipher cipher, const std::string& plain,
                    const std::string& decrypted) {
  if (cipher != analysis::Cipher::substitution) return plain == decrypted;
  std::size_t letters = 0, same = 0;
  for (std::size_t i = 0; i < plain.size() && i < decrypted.size(); ++i) {
    if (!ascii::isLetter(plain[i])) continue;
    ++letters;
    same += (plain[i] & 0xDF) == (decrypted[i] & 0xDF) ? 1 : 0;
  }
  return letters > 0 && same * 100 >= letters * 95;
}

// Encrypts `plain`, cracks it with the language left open, and judges the
// best candidate.
inline Outcome run(analysis::Cipher cipher, const std::string& plain, std::size_t keyLength,
                   std::mt19937& random) {
  const std::string cipherText = encrypt(cipher, plain, keyLength, random);
  const auto start = std::chrono::steady_clock::now();
  auto cracker = analysis::makeCracker(cipher, {});
  cracker->feed(cipherText);
  const analysis::Report report = cracker->finish();
  Outcome outcome;
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (report.candidates.empty()) return outcome;
  const analysis::Candidate& best = report.candidates.front();
  outcome.right = isRight(cipher, plain, decryptWith(cipher, best, cipherText));
  outcome.confidence = best.confidence;
  return outcome;
}

}  // namespace crackcases

#endif  // ZEMBRAX_TESTS_CRACKCASES_H_
