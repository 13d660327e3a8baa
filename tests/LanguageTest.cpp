#include "Language.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numeric>
#include <random>
#include <string>

#include "Fitness.h"
#include "TableData.h"

namespace {

using analysis::Language;

TEST(Language, CodesAndNamesGoBothWays) {
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto language = static_cast<Language>(i);
    EXPECT_EQ(analysis::languageCoded(analysis::codeOf(language)), language);
    EXPECT_FALSE(analysis::nameOf(language).empty());
  }
  EXPECT_EQ(analysis::nameOf(Language::nb), "Norwegian (Bokmål)");
  EXPECT_FALSE(analysis::languageCoded("EN"));
  EXPECT_FALSE(analysis::languageCoded("auto"));
  EXPECT_FALSE(analysis::languageCoded(""));
}

TEST(Language, LetterIndicesKeepOnlyAsciiLetters) {
  // "für" in UTF-8, a digit, a space, and the letters bordering the ranges.
  const std::string text = "f\xC3\xBCr 9 AZaz@[`{";
  EXPECT_EQ(analysis::letterIndices(text), (std::vector<std::uint8_t>{5, 17, 0, 25, 0, 25}));
  EXPECT_TRUE(analysis::letterIndices("\xE9\xFF 123").empty());
}

TEST(Language, EveryTableLoadsAndItsFrequenciesSumToOne) {
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto& model = analysis::modelOf(static_cast<Language>(i));
    const auto& frequencies = model.letterFrequencies();
    EXPECT_NEAR(std::accumulate(frequencies.begin(), frequencies.end(), 0.0), 1.0, 1e-9);
    // E is common in every one of these languages.
    EXPECT_GT(frequencies[4], 0.05) << analysis::codeOf(static_cast<Language>(i));
  }
  EXPECT_TRUE(analysis::tableCoded("xx").empty());
  EXPECT_TRUE(analysis::tableCoded("EN").empty());
}

TEST(Language, CoincidenceOfSharesLiesBetweenEvenLettersAndOneLetter) {
  std::array<double, 26> even;
  even.fill(1.0 / 26);
  EXPECT_NEAR(analysis::coincidenceOf(even), 1.0 / 26, 1e-12);
  std::array<double, 26> single{};
  single[7] = 1;
  EXPECT_DOUBLE_EQ(analysis::coincidenceOf(single), 1.0);
  EXPECT_EQ(analysis::coincidenceOf({}), 0.0);
  // Natural languages repeat letters more often than chance, and far less
  // often than a text of one letter; English near 0.066.
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto language = static_cast<Language>(i);
    const double index = analysis::coincidenceOf(analysis::modelOf(language).letterFrequencies());
    EXPECT_GT(index, 1.2 / 26) << analysis::codeOf(language);
    EXPECT_LT(index, 0.1) << analysis::codeOf(language);
  }
  EXPECT_NEAR(analysis::coincidenceOf(analysis::modelOf(Language::en).letterFrequencies()), 0.066,
              0.004);
}

// The base-26 index of a lower-case n-gram.
std::uint32_t indexOf(std::string_view gram) {
  std::uint32_t index = 0;
  for (const char c : gram)
    index = index * 26 + static_cast<std::uint32_t>(c - 'a');
  return index;
}

TEST(Language, CommonNgramsOutscoreImpossibleOnes) {
  const auto& chain = analysis::fitness::chainOf(Language::en);
  EXPECT_GT(chain.next(indexOf("t"), 1, 'h' - 'a'), chain.next(indexOf("q"), 1, 'z' - 'a'));
  EXPECT_GT(chain.next(indexOf("th"), 2, 'e' - 'a'), chain.next(indexOf("qz"), 2, 'x' - 'a'));
  EXPECT_GT(chain.next(indexOf("tio"), 3, 'n' - 'a'), chain.next(indexOf("qzx"), 3, 'j' - 'a'));
  const auto& english = analysis::modelOf(Language::en);
  EXPECT_GT(english.quadgram(indexOf("tion")), english.quadgram(indexOf("qzxj")));
  const auto& german = analysis::modelOf(Language::de);
  EXPECT_GT(german.quadgram(indexOf("sche")), english.quadgram(indexOf("sche")));
}

TEST(Language, EveryChainGivesEachContextChancesSummingToOne) {
  // The codes after three letters round each log by at most half a step.
  constexpr double kCodedTolerance = 0.03;
  std::mt19937 random(11);
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto& chain = analysis::fitness::chainOf(static_cast<Language>(i));
    for (unsigned known = 0; known <= 3; ++known) {
      std::uint32_t contexts = 1;
      for (unsigned k = 0; k < known; ++k)
        contexts *= 26;
      for (int trial = 0; trial < 20; ++trial) {
        const std::uint32_t context = random() % contexts;
        double total = 0;
        for (std::uint8_t letter = 0; letter < 26; ++letter)
          total += std::exp(chain.next(context, known, letter));
        EXPECT_NEAR(total, 1.0, known == 3 ? kCodedTolerance : 1e-4)
            << analysis::codeOf(static_cast<Language>(i)) << " after " << known;
      }
    }
  }
  EXPECT_TRUE(analysis::chainCoded("xx").empty());
}

TEST(Language, FitnessPrefersThePlainText) {
  const auto& english = analysis::modelOf(Language::en);
  const auto plain = analysis::letterIndices("the quick brown fox jumps over the lazy dog");
  auto shifted = plain;
  for (auto& letter : shifted)
    letter = static_cast<std::uint8_t>((letter + 3) % 26);
  EXPECT_GT(analysis::quadgramFitness(english, plain), analysis::quadgramFitness(english, shifted));
  EXPECT_EQ(analysis::quadgramFitness(english, std::vector<std::uint8_t>{1, 2, 3}), 0.0);
}

TEST(Language, RankingIsAProbabilityDistribution) {
  for (const std::string_view text : {"", "a", "Dies ist ein kurzer deutscher Satz."}) {
    const auto ranking = analysis::fitness::rankLanguages(analysis::letterIndices(text));
    ASSERT_EQ(ranking.size(), analysis::kLanguageCount);
    double total = 0;
    for (std::size_t i = 0; i < ranking.size(); ++i) {
      total += ranking[i].probability;
      if (i > 0) {
        EXPECT_LE(ranking[i].logLikelihood, ranking[i - 1].logLikelihood);
      }
    }
    EXPECT_NEAR(total, 1.0, 1e-9);
  }
}

}  // namespace
