#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Fitness.h"
#include "Language.h"

// How rankLanguages does on the held-out texts of tests/corpus, which took
// no part in the statistics.
namespace {

using analysis::Language;

std::vector<std::uint8_t> heldOutLetters(Language language) {
  std::ifstream file(
      std::string(ZEMBRAX_CORPUS_DIR) + "/" + std::string(analysis::codeOf(language)) + ".txt",
      std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return analysis::letterIndices(text.str());
}

// The share of `samples` runs of `length` letters, spread evenly over the
// held-out text, that rank their own language first.
double shareRight(Language language, std::size_t length, std::size_t samples) {
  const auto letters = heldOutLetters(language);
  EXPECT_GT(letters.size(), samples * length) << analysis::codeOf(language);
  const std::size_t stride = (letters.size() - length) / samples;
  std::size_t right = 0;
  for (std::size_t s = 0; s < samples; ++s) {
    const std::span sample(letters.data() + s * stride, length);
    right += analysis::fitness::rankLanguages(sample).front().language == language;
  }
  return static_cast<double>(right) / static_cast<double>(samples);
}

// A hundred letters name the language almost always, even between Danish and
// Norwegian; thirty letters mostly.
constexpr double kRightAt100 = 0.95;
constexpr double kRightAt30 = 0.85;

TEST(RankLanguages, NamesTheLanguageOfHeldOutText) {
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto language = static_cast<Language>(i);
    EXPECT_GE(shareRight(language, 100, 40), kRightAt100) << analysis::codeOf(language);
    EXPECT_GE(shareRight(language, 30, 40), kRightAt30) << analysis::codeOf(language);
  }
}

TEST(RankLanguages, IsSureOfALongText) {
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto language = static_cast<Language>(i);
    const auto letters = heldOutLetters(language);
    const auto ranking = analysis::fitness::rankLanguages(std::span(letters).first(1000));
    EXPECT_EQ(ranking.front().language, language);
    EXPECT_GT(ranking.front().probability, 0.999) << analysis::codeOf(language);
  }
}

TEST(RankLanguages, JudgesALongTextByItsFirstLetters) {
  auto letters = heldOutLetters(Language::de);
  const auto head = analysis::fitness::rankLanguages(
      std::span(letters).first(analysis::fitness::kMostLettersRanked));
  const auto whole = analysis::fitness::rankLanguages(letters);
  ASSERT_GT(letters.size(), analysis::fitness::kMostLettersRanked);
  for (std::size_t i = 0; i < head.size(); ++i) {
    EXPECT_EQ(head[i].language, whole[i].language);
    EXPECT_EQ(head[i].logLikelihood, whole[i].logLikelihood);
  }
}

TEST(RankLanguages, ShiftedTextIsLessLikelyThanItsPlainText) {
  // What a Caesar solver leans on: the right shift reads best in its language.
  for (std::size_t i = 0; i < analysis::kLanguageCount; ++i) {
    const auto language = static_cast<Language>(i);
    const auto text = heldOutLetters(language);
    const auto letters = std::span(text).first(60);
    const auto& model = analysis::modelOf(language);
    const auto& chain = analysis::fitness::chainOf(language);
    const double plain = analysis::fitness::chainLogLikelihood(chain, letters);
    std::vector<std::uint8_t> shifted(letters.begin(), letters.end());
    for (int shift = 1; shift < 26; ++shift) {
      for (auto& letter : shifted)
        letter = static_cast<std::uint8_t>((letter + 1) % 26);
      EXPECT_LT(analysis::fitness::chainLogLikelihood(chain, shifted), plain)
          << analysis::codeOf(language) << shift;
      EXPECT_LT(analysis::quadgramFitness(model, shifted),
                analysis::quadgramFitness(model, letters))
          << analysis::codeOf(language) << shift;
    }
  }
}

}  // namespace
