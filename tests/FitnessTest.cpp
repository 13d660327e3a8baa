#include "analysis/Fitness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstddef>
#include <memory>
#include <random>
#include <vector>

#include "analysis/Parallel.h"
#include "analysis/PeriodCounts.h"

namespace {

using analysis::Language;

// The chances of the 26 letters after one context, which must sum to one.
double nextLetterMass(const analysis::fitness::LetterChain& chain, std::uint32_t context,
                      unsigned known) {
  double sum = 0;
  for (std::uint8_t letter = 0; letter < 26; ++letter)
    sum += std::exp(static_cast<double>(chain.next(context, known, letter)));
  return sum;
}

TEST(LetterChain, EveryContextsChancesSumToOne) {
  // The chances after three letters are kept to about 0.035 nats either way.
  constexpr double kCodedSlack = 0.04;
  for (std::size_t l = 0; l < analysis::kLanguageCount; ++l) {
    const auto& chain = analysis::fitness::chainOf(static_cast<Language>(l));
    EXPECT_NEAR(nextLetterMass(chain, 0, 0), 1.0, 1e-4);
    for (std::uint32_t context = 0; context < 26; ++context)
      EXPECT_NEAR(nextLetterMass(chain, context, 1), 1.0, 1e-4);
    for (std::uint32_t context = 0; context < 26 * 26; context += 7)
      EXPECT_NEAR(nextLetterMass(chain, context, 2), 1.0, 1e-4);
    for (std::uint32_t context = 0; context < 26 * 26 * 26; context += 97)
      EXPECT_NEAR(nextLetterMass(chain, context, 3), 1.0, kCodedSlack) << "context " << context;
  }
}

TEST(LetterChain, ReadsItsLanguageBetterThanScrambledLetters) {
  const std::vector<std::uint8_t> text = analysis::letterIndices(
      "the quick brown fox jumps over the lazy dog and then it runs back home again");
  std::vector<std::uint8_t> reversed(text.rbegin(), text.rend());
  const auto& english = analysis::fitness::chainOf(Language::en);
  EXPECT_GT(analysis::fitness::chainLogLikelihood(english, text),
            analysis::fitness::chainLogLikelihood(english, reversed) + 20);
}

TEST(LetterChain, SumAboveAFloorIsTheWholeSumOrGivenUpAtTheFloor) {
  std::mt19937 random(7);
  const auto& chain = analysis::fitness::chainOf(Language::fi);
  for (const std::size_t length : {0, 1, 2, 3, 4, 5, 37, 300}) {
    std::vector<std::uint8_t> letters(length);
    for (std::uint8_t& letter : letters)
      letter = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 25)(random));
    // The sum letter by letter, as a cursor takes it.
    analysis::fitness::ChainCursor cursor;
    double whole = 0;
    for (const std::uint8_t letter : letters)
      whole += cursor.take(chain, letter);
    EXPECT_EQ(analysis::fitness::chainLogLikelihood(chain, letters), whole) << length;
    for (const double floor : {-HUGE_VAL, whole - 1, whole, whole / 2, -1.0, 0.0}) {
      const double above = analysis::fitness::chainLogLikelihoodAbove(chain, letters, floor);
      if (whole > floor)
        EXPECT_EQ(above, whole) << length << " letters above " << floor;
      else
        EXPECT_LE(above, floor) << length << " letters above " << floor;
    }
  }
}

TEST(PeriodCounts, ColumnsHoldEveryLetterAtItsPlace) {
  constexpr std::size_t kMost = 40;
  std::mt19937 random(11);
  // Lengths about where a modulus makes room for more places, and past the
  // largest modulus.
  for (const std::size_t length : {0, 1, 63, 64, 65, 129, 700, 6000}) {
    analysis::PeriodCounts counts(kMost);
    std::vector<std::uint8_t> letters(length);
    for (std::uint8_t& letter : letters) {
      letter = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 25)(random));
      counts.add(letter);
    }
    EXPECT_EQ(counts.count(), length);
    for (std::size_t period = 1; period <= kMost; ++period) {
      std::vector<analysis::PeriodCounts::Column> expected(period,
                                                           analysis::PeriodCounts::Column{});
      for (std::size_t j = 0; j < length; ++j)
        expected[j % period][letters[j]] += 1;
      ASSERT_EQ(counts.columns(period), expected) << length << " letters, period " << period;
    }
  }
}

TEST(ForEachAtOnce, CallsEveryIndexOnce) {
  for (const std::size_t count : {0, 1, 2, 3, 17, 1000}) {
    const auto calls = std::make_unique<std::atomic<int>[]>(count + 1);
    analysis::forEachAtOnce(count, [&](std::size_t i) { ++calls[i]; });
    for (std::size_t i = 0; i < count; ++i)
      EXPECT_EQ(calls[i].load(), 1) << i << " of " << count;
    EXPECT_EQ(calls[count].load(), 0);
  }
}

}  // namespace
