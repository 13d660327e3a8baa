#include "analysis/PairSearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using analysis::Language;
using analysis::fitness::LetterChain;

// ln p of `letters` decrypted with `key`, read as pairs: the first letter
// alone, then each letter after the one before it.
double pairNats(const std::vector<std::uint8_t>& letters, const std::vector<std::uint8_t>& key,
                const LetterChain& chain) {
  const auto plain = [&](std::size_t j) {
    return static_cast<std::uint8_t>((letters[j] + 26 - key[j % key.size()]) % 26);
  };
  double sum = letters.empty() ? 0 : chain.alone(plain(0));
  for (std::size_t j = 1; j < letters.size(); ++j)
    sum += chain.next(plain(j - 1), 1, plain(j));
  return sum;
}

TEST(PairSearch, FindsTheBestKeyOfEveryKeyOfThePeriod) {
  std::mt19937 random(3);
  const struct {
    std::size_t period, letters;
    Language language;
  } cases[] = {{1, 30, Language::en}, {2, 9, Language::de},  {2, 40, Language::pl},
               {3, 3, Language::fr},  {3, 12, Language::fi}, {3, 60, Language::tr},
               {4, 12, Language::hu}};
  for (const auto& c : cases) {
    const LetterChain& chain = analysis::fitness::chainOf(c.language);
    for (int round = 0; round < 3; ++round) {
      // Random letters, or a text read under a key, where the search must
      // come back to that key or one that reads better still.
      std::vector<std::uint8_t> letters = analysis::letterIndices(
          "wherethepathsofthetwoscoutsparttheriverrunsonpasttheoldmillandthebridge");
      letters.resize(c.letters);
      for (std::size_t j = 0; j < letters.size(); ++j)
        letters[j] = round == 0 ? static_cast<std::uint8_t>((letters[j] + j % c.period * 7) % 26)
                                : static_cast<std::uint8_t>(random() % 26);
      double most = -INFINITY;
      std::vector<std::uint8_t> key(c.period, 0);
      for (std::size_t k = 0; k < static_cast<std::size_t>(std::pow(26, c.period)); ++k) {
        for (std::size_t i = 0, rest = k; i < c.period; ++i, rest /= 26)
          key[i] = static_cast<std::uint8_t>(rest % 26);
        most = std::max(most, pairNats(letters, key, chain));
      }
      const analysis::PairBest found = analysis::bestKeyOnPairs(letters, c.period, chain);
      ASSERT_EQ(found.key.size(), c.period);
      EXPECT_NEAR(found.logLikelihood, most, 1e-9) << c.period << " " << c.letters;
      EXPECT_NEAR(pairNats(letters, found.key, chain), most, 1e-9) << c.period << " " << c.letters;
    }
  }
}

}  // namespace
