// A small, fast sample of bench/crack_accuracy's cases: excerpts of the
// held-out running text of every language, encrypted with random keys and
// cracked with the language left to be found.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "CrackCases.h"

namespace {

using analysis::Cipher;

struct Sample {
  Cipher cipher;
  std::size_t letters, bytes, keyLength;
  int perLanguage;  // texts per language; 0: only the first four languages, one each
  double least;     // the share that must be right
};

// Lengths where the full run is right at least 99 % of the time, so that a
// handful of misses in the sample means a fault, not bad luck.
constexpr Sample kSamples[] = {
    {Cipher::caesar, 20, 0, 0, 4, 0.95},        {Cipher::caesarFull, 0, 16, 0, 2, 0.9},
    {Cipher::bitwiseXor, 0, 16, 0, 2, 0.9},     {Cipher::vigenere, 0, 0, 6, 2, 0.9},
    {Cipher::substitution, 300, 0, 0, 0, 0.75},
};

// The corpus text of every language; a language whose text cannot be read
// fails the test, since the corpus is part of the sources.
std::vector<std::string> corpus() {
  std::vector<std::string> texts;
  for (std::size_t l = 0; l < analysis::kLanguageCount; ++l) {
    const std::string path = std::string(ZEMBRAX_CORPUS) + "/" +
                             std::string(analysis::codeOf(static_cast<analysis::Language>(l))) +
                             ".txt";
    std::string text = crackcases::readFile(path);
    if (text.empty()) ADD_FAILURE() << "no corpus text in " << path;
    texts.push_back(std::move(text));
  }
  return texts;
}

TEST(CrackCorpus, FindsTheKeysOfRunningTextAndIsSureOnlyWhenRight) {
  const std::vector<std::string> texts = corpus();
  if (testing::Test::HasFailure()) return;
  std::mt19937 random(20261208);
  std::size_t sure = 0, sureRight = 0;
  for (const Sample& s : kSamples) {
    std::size_t right = 0, count = 0;
    for (std::size_t t = 0; t < texts.size(); ++t) {
      const int cases = s.perLanguage ? s.perLanguage : (t < 4 ? 1 : 0);
      for (int i = 0; i < cases; ++i) {
        const std::size_t letters = s.keyLength ? 25 * s.keyLength : s.letters;
        const std::string plain = crackcases::excerpt(texts[t], letters, s.bytes, random);
        const crackcases::Outcome o = crackcases::run(s.cipher, plain, s.keyLength, random);
        ++count;
        right += o.right ? 1 : 0;
        if (o.confidence >= 0.9) {
          ++sure;
          sureRight += o.right ? 1 : 0;
        }
      }
    }
    EXPECT_GE(static_cast<double>(right), s.least * static_cast<double>(count))
        << "cipher " << static_cast<int>(s.cipher) << ": " << right << " of " << count;
  }
  EXPECT_GE(static_cast<double>(sureRight), 0.95 * static_cast<double>(sure))
      << sureRight << " of " << sure << " sure answers right";
}

}  // namespace
