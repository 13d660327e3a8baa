#include "analysis/Identify.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "IdentifyCases.h"
#include "JsonCheck.h"
#include "RandomText.h"
#include "analysis/Json.h"
#include "puzzle/Puzzle.h"

namespace {

using identifycases::code;

// Running English of this file's own making.
constexpr std::string_view kEnglish =
    "The lighthouse keeper wrote to his sister every Sunday, telling her about the gulls, the "
    "storms that rattled the lamp room, and the supply boat that came whenever the sea allowed.";

// The methods of a chain's steps, by name, with "-d" where they decode.
std::vector<std::string> namesOf(const analysis::Chain& chain) {
  std::vector<std::string> names;
  for (const analysis::Step& step : chain.steps)
    names.push_back(std::string(step.method->name) +
                    (step.direction == Direction::decode ? " -d" : ""));
  return names;
}

struct Row {
  const char* name;
  std::string text;
  std::vector<std::string> steps;
};

TEST(Identify, NamesTheChainsOfKnownAnswers) {
  const std::string plain(kEnglish);
  const std::string caesar = ClassicCoder().caesarShift(plain, 3);
  const std::vector<Row> rows = {
      {"plain", plain, {}},
      {"base64", code("base64", plain, Direction::encode), {"base64 -d"}},
      {"url", code("url", plain, Direction::encode), {"url -d"}},
      {"decimal", code("decimal", plain, Direction::encode), {"decimal -d"}},
      {"hex", code("hex", plain, Direction::encode), {"hex -d"}},
      {"binary", code("binary", plain, Direction::encode), {"binary -d"}},
      {"morse", code("morse", plain, Direction::encode), {"morse -d"}},
      {"caesar", caesar, {"caesar -d"}},
      {"base64 of hex of caesar",
       code("base64", code("hex", caesar, Direction::encode), Direction::encode),
       {"base64 -d", "hex -d", "caesar -d"}},
      {"four layers",
       code(
           "url",
           code("decimal", code("base64", code("hex", plain, Direction::encode), Direction::encode),
                Direction::encode),
           Direction::encode),
       {"url -d", "decimal -d", "base64 -d", "hex -d"}},
      {"xor keeping letters letters",
       CharCoder().bitwiseApply(plain, 5, &CharCoder::bitXor),
       {"bitwise"}},
      {"a small shift of all bytes", ClassicCoder().caesarShiftFull(plain, 3), {"caesar -d"}},
      {"xor under base64",
       code("base64", CharCoder().bitwiseApply(plain, 77, &CharCoder::bitXor), Direction::encode),
       {"base64 -d", "bitwise"}},
      {"base58", code("base58", plain, Direction::encode), {"base58 -d"}},
      {"keyboard shift", code("keyboard", plain, Direction::encode), {"keyboard -d"}},
      {"trithemius", code("trithemius", plain, Direction::encode), {"trithemius -d"}},
      {"atbash of reversed text",
       code("atbash", code("reverse", plain, Direction::encode), Direction::encode),
       {"atbash", "reverse"}},
  };
  for (const Row& row : rows) {
    const analysis::Identification found = analysis::identify(row.text, {});
    ASSERT_FALSE(found.candidates.empty()) << row.name;
    const analysis::Chain& best = found.candidates.front();
    EXPECT_EQ(namesOf(best), row.steps) << row.name;
    EXPECT_EQ(best.language, analysis::Language::en) << row.name;
    EXPECT_GE(best.confidence, 0.9) << row.name;
    EXPECT_TRUE(found.note.empty()) << row.name << ": " << found.note;
  }
}

// Text written backwards is turned round as it was: by characters where it
// is UTF-8, by bytes where its bytes were turned round and so make none.
TEST(Identify, TurnsBackwardsTextRoundAsItWasTurned) {
  const std::string plain =
      "Der Fu\xc3\x9fg\xc3\xa4nger \xc3\xbc"
      "berquerte die Stra\xc3\x9f"
      "e vor dem gro\xc3\x9f"
      "en Rathaus, w\xc3\xa4hrend es regnete.";
  for (const bool characters : {false, true}) {
    const std::string text = puzzle::reversed(plain, characters);
    const analysis::Identification found = analysis::identify(text, {});
    ASSERT_FALSE(found.candidates.empty()) << characters;
    const analysis::Chain& best = found.candidates.front();
    ASSERT_EQ(namesOf(best), std::vector<std::string>{"reverse"}) << characters;
    EXPECT_EQ(methods::flagOf(best.steps.front().options, "chars"), characters);
    EXPECT_EQ(analysis::runChain(best.steps, text), plain) << characters;
  }
}

// Applying the best chain to the text gives the plaintext back, and its
// preview is the start of that.
TEST(Identify, TheBestChainUndoesTheLayers) {
  const std::string plain(kEnglish);
  const std::string text =
      code("base64", ClassicCoder().vigenereEncode(plain, "QUAY"), Direction::encode);
  const analysis::Identification found = analysis::identify(text, {});
  ASSERT_FALSE(found.candidates.empty());
  const analysis::Chain& best = found.candidates.front();
  EXPECT_EQ(analysis::runChain(best.steps, text), plain);
  EXPECT_EQ(best.preview, plain.substr(0, best.preview.size()));
}

// A sample of the accuracy run: every kind of text in three languages of
// the held-out corpus. Most are right, and of the answers given as sure,
// none is wrong; either can fail without the other.
TEST(Identify, FindsEveryKindOnTheCorpus) {
  // The share that must be right: the accuracy run's target, so that one
  // miss in the sample may be bad luck and two are a fault.
  constexpr double kLeastRight = 0.95;
  std::mt19937 random(7);
  std::size_t cases = 0;
  std::vector<std::string> missed, sureButWrong;
  for (const char* language : {"en", "de", "pl"}) {
    const std::string corpus =
        crackcases::readFile(std::string(ZEMBRAX_CORPUS) + "/" + language + ".txt");
    ASSERT_FALSE(corpus.empty()) << language;
    for (const identifycases::Kind& kind : identifycases::kinds()) {
      const std::string plain = crackcases::excerpt(corpus, 0, 200, random);
      const identifycases::Outcome outcome = identifycases::run(kind, plain, random);
      const std::string name = std::string(kind.name) + " in " + language;
      ++cases;
      if (outcome.right) continue;
      missed.push_back(name);
      if (outcome.confidence >= 0.9) sureButWrong.push_back(name);
    }
  }
  EXPECT_GE(static_cast<double>(cases - missed.size()), kLeastRight * static_cast<double>(cases))
      << "missed: " << testing::PrintToString(missed);
  EXPECT_TRUE(sureButWrong.empty()) << "sure but wrong: " << testing::PrintToString(sureButWrong);
}

// Whatever the bytes, identification ends with chances in [0, 1] and JSON
// that parses, and says so when nothing reads as language.
TEST(Identify, AnswersAnyBytesWithValidJson) {
  RandomText random;
  for (int trial = 0; trial < 40; ++trial) {
    const std::string bytes = random.bytes(random.length(300));
    const analysis::Identification found = analysis::identify(bytes, {});
    for (const analysis::Chain& chain : found.candidates) {
      EXPECT_GE(chain.confidence, 0.0);
      EXPECT_LE(chain.confidence, 1.0);
    }
    EXPECT_TRUE(jsoncheck::isJson(json::identification(found)));
    if (bytes.size() > 100) {
      ASSERT_FALSE(found.candidates.empty());
      EXPECT_LT(found.candidates.front().confidence, 0.9);
      EXPECT_FALSE(found.note.empty());
    }
  }
  const analysis::Identification empty = analysis::identify("", {});
  EXPECT_TRUE(empty.candidates.empty());
  EXPECT_EQ(empty.note, "no input");
}

// Numbers that are no bytes, and hexadecimal digits between other signs,
// are not taken for encodings: decoding them would throw most away.
TEST(Identify, TakesNoDecodingThatLosesTheText) {
  for (const char* text : {"31415926535897932384626433832795028841971693993751058209749445923",
                           "2026-12-08 11:20:33 42 17 99 1024"}) {
    const analysis::Identification found = analysis::identify(text, {});
    ASSERT_FALSE(found.candidates.empty()) << text;
    EXPECT_LT(found.candidates.front().confidence, 0.9) << text;
    EXPECT_FALSE(found.note.empty()) << text;
  }
}

TEST(Identify, GivesAChainWhenNoneIsAskedFor) {
  analysis::IdentifySettings settings;
  settings.top = 0;
  EXPECT_EQ(analysis::identify(std::string(kEnglish), settings).candidates.size(), 1u);
}

TEST(Identify, KeepsToTheLanguageGiven) {
  analysis::IdentifySettings settings;
  settings.language = analysis::Language::de;
  const analysis::Identification found = analysis::identify(std::string(kEnglish), settings);
  ASSERT_FALSE(found.candidates.empty());
  EXPECT_EQ(found.candidates.front().language, analysis::Language::de);
}

TEST(JsonCheck, TellsJsonFromWhatIsNot) {
  for (const char* valid : {"{}", "[]", "{\"a\": [1, -2.5e3, true, null, \"\\u00e9\"]}", "0"}) {
    EXPECT_TRUE(jsoncheck::isJson(valid)) << valid;
  }
  for (const char* invalid : {"", "{", "[1,]", "{\"a\" 1}", "01", "\"\x01\"", "\"\xff\"", "nul"}) {
    EXPECT_FALSE(jsoncheck::isJson(invalid)) << invalid;
  }
}

}  // namespace
