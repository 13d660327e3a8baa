#include "analysis/Variants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>
#include <vector>

#include "RandomText.h"

namespace {

using methods::methodNamed;

// Running text of this file's own making, without a J (which a Polybius
// square reads as I).
constexpr std::string_view kSentence =
    "Every morning the ferryman counted the pots of honey before he took the quiet villagers "
    "across the wide brown river to the market on the other bank.";
// Another, with letters beyond ASCII, for reversing by characters.
constexpr std::string_view kAccented =
    "Le boulanger sortait ses pains dorés à l'aube, et les enfants du village couraient "
    "déjà vers la fenêtre pour sentir leur odeur chaude et sucrée.";

// The letters of `text` as capitals, the rest left out.
std::string lettersOf(std::string_view text) {
  std::string letters;
  for (const char c : text)
    if (std::isalpha(static_cast<unsigned char>(c)) != 0)
      letters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return letters;
}

std::string run(const methods::Method& method, const methods::Settings& settings,
                Direction direction, std::string_view text) {
  methods::OwnCoders coders;
  return methods::runExact(method, coders.all(), settings, direction, std::string(text));
}

struct Row {
  const char* method;
  methods::Settings settings;
  Direction made;  // the direction that coded the sentence
  std::string_view sentence;
};

TEST(Variants, TheBestGivesTheSentenceBack) {
  const std::vector<Row> rows = {
      {"keyboard", {}, Direction::encode, kSentence},
      {"keyboard", {}, Direction::decode, kSentence},
      {"trithemius", {}, Direction::encode, kSentence},
      {"trithemius", {}, Direction::decode, kSentence},
      {"bacon", {{"letters", 26}}, Direction::encode, kSentence},
      {"bacon", {{"letters", 26}, {"digits", true}}, Direction::encode, kSentence},
      {"a1z26", {{"separator", std::string(", ")}}, Direction::encode, kSentence},
      {"reverse", {{"chars", true}}, Direction::encode, kAccented},
      {"reverse", {}, Direction::encode, kSentence},
      {"polybius", {}, Direction::encode, kSentence},
      {"atbash", {}, Direction::encode, kSentence},
  };
  for (const Row& row : rows) {
    const methods::Method& method = methodNamed(row.method);
    const std::string coded = run(method, row.settings, row.made, row.sentence);
    const analysis::Identification found = analysis::searchVariants(method, coded, {});
    ASSERT_FALSE(found.candidates.empty()) << row.method;
    const analysis::Chain& best = found.candidates.front();
    ASSERT_EQ(best.steps.size(), 1U) << row.method;
    EXPECT_EQ(best.steps.front().method, &method) << row.method;
    // What the coding's own inverse gives back, letters in capitals where
    // the method decodes so.
    const Direction undo =
        row.made == Direction::encode ? methods::undoing(method) : Direction::encode;
    const std::string back = analysis::runChain(best.steps, coded);
    EXPECT_EQ(back, run(method, row.settings, undo, coded)) << row.method;
    EXPECT_EQ(lettersOf(back), lettersOf(row.sentence)) << row.method;
    EXPECT_GE(best.confidence, 0.5) << row.method;
  }
}

TEST(Variants, ComeFromTheOptionsWhereTheTextHasNoWrittenForm) {
  // Bacon's two alphabets, each in letters and in digits; a plain text is
  // none of its forms.
  const std::vector<analysis::Step> bacon =
      analysis::variantsOf(methodNamed("bacon"), std::string(kSentence));
  ASSERT_EQ(bacon.size(), 4U);
  for (const analysis::Step& step : bacon)
    EXPECT_EQ(step.direction, Direction::decode);
  EXPECT_EQ(bacon[3].options, (methods::Settings{{"letters", 26}, {"digits", true}}));
  // Both ways round, the decoding first.
  const std::vector<analysis::Step> keyboard =
      analysis::variantsOf(methodNamed("keyboard"), std::string(kSentence));
  ASSERT_EQ(keyboard.size(), 2U);
  EXPECT_EQ(keyboard[0].direction, Direction::decode);
  EXPECT_EQ(keyboard[1].direction, Direction::encode);
  // A text option is left empty.
  EXPECT_EQ(analysis::variantsOf(methodNamed("polybius"), "12 34").front().options,
            methods::Settings{});
}

TEST(Variants, SearchOnlyWhatDecodesWithoutAKey) {
  EXPECT_TRUE(analysis::searchable(methodNamed("keyboard")));
  EXPECT_TRUE(analysis::searchable(methodNamed("bacon")));
  EXPECT_FALSE(analysis::searchable(methodNamed("vigenere")));  // a key
  EXPECT_FALSE(analysis::searchable(methodNamed("bitwise")));   // encodes only
  EXPECT_FALSE(analysis::triesBothWays(methodNamed("base32")));
}

// On any bytes, every method of the page's search gives ranked variants of
// itself whose chances add up to one at most, or none where it is stopped.
TEST(Variants, RankAnyBytes) {
  RandomText random;
  std::atomic<bool> stop = true;
  for (const methods::Method& method : methods::all()) {
    if (!analysis::searchable(method)) continue;
    for (int round = 0; round < 4; ++round) {
      const std::string text = random.withoutZero(1 + random.length(300));
      const analysis::Identification found = analysis::searchVariants(method, text, {});
      double total = 0;
      for (const analysis::Chain& chain : found.candidates) {
        ASSERT_EQ(chain.steps.size(), 1U) << method.name;
        EXPECT_EQ(chain.steps.front().method, &method) << method.name;
        total += chain.confidence;
      }
      EXPECT_LE(total, 1 + 1e-9) << method.name;
      analysis::IdentifySettings stopped;
      stopped.stop = &stop;
      EXPECT_TRUE(analysis::searchVariants(method, text, stopped).candidates.empty());
    }
  }
}

}  // namespace
