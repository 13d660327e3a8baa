#include <gtest/gtest.h>

#include <random>
#include <string>

#include "PuzzleCases.h"
#include "analysis/Crack.h"
#include "analysis/Identify.h"

namespace {

// The texts that a puzzle holds, and what their best chain must make of them.
TEST(Puzzle, NamesTheChainsOfKnownTexts) {
  const struct {
    std::string text;
    std::string result;
  } rows[] = {
      {"YnJpY2t7czBtM19sNHkzcnNfNHIzX3RoMW59", "brick{s0m3_l4y3rs_4r3_th1n}"},
      {"01100010 01110010 01101001 01100011 01101011 01111011 01110011 01110000 01100001 "
       "01100011 01100101 01100100 01011111 01100010 01101001 01110100 01110011 01111101",
       "brick{spaced_bits}"},
      {"WKLV LV D VHFUHW", "THIS IS A SECRET"},
      {"qwlr{czelep_xp_awpldp}", "flag{rotate_me_please}"},
      {"0x66,0x6c,0x61,0x67,0x7b,0x68,0x65,0x78,0x7d", "flag{hex}"},
      {"Zm xh Z3 tz ZW N yZX Rfbm90ZX0", "flag{secret_note}"},
      {"-.. --- / .. - / -. --- .--", "DO IT NOW"},
  };
  for (const auto& [text, result] : rows) {
    const analysis::Identification found = analysis::identify(text, {});
    ASSERT_FALSE(found.candidates.empty()) << text;
    EXPECT_EQ(analysis::runChain(found.candidates.front().steps, text), result) << text;
  }
}

// A sentence under seven layers of Base64 is unwrapped to its end, not
// broken by a cipher half-way.
TEST(Puzzle, UnwrapsDeepLayers) {
  const std::string plain = "The quick brown fox jumps over the lazy dog near the river bank.";
  std::string text = plain;
  for (int layer = 0; layer < 7; ++layer)
    text = puzzlecases::code("base64", text, Direction::encode);
  const analysis::Identification found = analysis::identify(text, {});
  ASSERT_FALSE(found.candidates.empty());
  EXPECT_EQ(found.candidates.front().steps.size(), 7u);
  EXPECT_EQ(analysis::runChain(found.candidates.front().steps, text), plain);
  EXPECT_GE(found.candidates.front().confidence, 0.9);
}

// A sample of the benchmark: each kind of puzzle text the analysis has the
// methods for, in two languages; and texts made with methods it lacks,
// which it must not name with confidence unless it finds the plaintext.
TEST(Puzzle, FindsEveryKnownKindAndDoubtsTheUnknown) {
  std::mt19937 random(11);
  std::size_t sureWrong = 0;
  for (const char* language : {"en", "de"}) {
    const std::string text =
        crackcases::readFile(std::string(ZEMBRAX_CORPUS) + "/" + language + ".txt");
    ASSERT_FALSE(text.empty()) << language;
    const puzzlecases::Source source{text, puzzlecases::wordsOf(text)};
    for (const puzzlecases::Kind& kind : puzzlecases::kinds()) {
      const std::string_view name = kind.name;
      // Not yet told apart: a cipher's case-flipped XOR key can outrank the
      // right one.
      if (name.starts_with("xor")) continue;
      const puzzlecases::Made made = kind.make(source, random);
      const puzzlecases::Outcome outcome = puzzlecases::judge(made);
      if (kind.unknown) {
        EXPECT_TRUE(outcome.right || outcome.confidence < 0.5) << name << ": " << made.text;
        continue;
      }
      sureWrong += !outcome.right && outcome.confidence >= 0.9 ? 1 : 0;
      EXPECT_TRUE(outcome.right) << name << " in " << language << ": " << made.text;
    }
  }
  EXPECT_EQ(sureWrong, 0u);
}

// A crib of a few letters settles a key that twenty letters alone cannot.
TEST(Puzzle, CribsSettleKeysOfShortTexts) {
  using analysis::Cipher;
  const std::string plain = "meet me by the north gate";
  const struct {
    Cipher cipher;
    std::string text;
  } rows[] = {
      {Cipher::caesar, ClassicCoder().caesarShift(plain, 7)},
      {Cipher::bitwiseXor, CharCoder().bitwiseApply(plain, 0x5A, &CharCoder::bitXor)},
      {Cipher::vigenere, ClassicCoder().vigenereEncode(plain, "QXZVW")},
  };
  for (const auto& [cipher, text] : rows) {
    analysis::CrackSettings settings;
    settings.crib = "north";
    auto cracker = analysis::makeCracker(cipher, settings);
    cracker->feed(text);
    const analysis::Report report = cracker->finish();
    ASSERT_FALSE(report.candidates.empty());
    EXPECT_EQ(analysis::decrypt(cipher, report.candidates.front().options, text), plain)
        << analysis::methodOf(cipher).name;
    EXPECT_GE(report.candidates.front().confidence, 0.9) << analysis::methodOf(cipher).name;
  }
  // identify takes the crib too, and a list never says more than certainty.
  analysis::IdentifySettings settings;
  settings.crib = "NORTH";
  const analysis::Identification found =
      analysis::identify(ClassicCoder().vigenereEncode(plain, "QXZVW"), settings);
  ASSERT_FALSE(found.candidates.empty());
  EXPECT_EQ(found.candidates.front().preview, plain);
  double total = 0;
  for (const analysis::Chain& chain : found.candidates)
    total += chain.confidence;
  EXPECT_LE(total, 1 + 1e-9);
}

// A wrapper "name{...}" in a result is a crib of its own for the ciphers
// that move braces: digits and '_' for letters read too poorly to find the
// key of a flag otherwise. A shift of letters leaves the braces alone, and
// is found as before.
TEST(Puzzle, AWrapperSettlesTheKeyOfAFlag) {
  using analysis::Cipher;
  const struct {
    Cipher cipher;
    std::string flag;
    int key;
  } rows[] = {
      {Cipher::bitwiseXor, "ctf{m4r3a_b4ja_3n_l4_b4h14}", 49},
      {Cipher::bitwiseXor, "flag{0ld_m1ll_n1n3}", 0x5A},
      {Cipher::bitwiseXor, "brick{s0m3_l4y3rs}", 7},
      {Cipher::caesarFull, "key{7h3_qu13t_r1v3r}", 140},
      {Cipher::caesar, "secret{the_quiet_river}", 11},
  };
  for (const auto& row : rows) {
    const methods::Settings key =
        row.cipher == Cipher::bitwiseXor   ? methods::Settings{{"xor", row.key}}
        : row.cipher == Cipher::caesarFull ? methods::Settings{{"shift", row.key}, {"full", true}}
                                           : methods::Settings{{"shift", row.key}};
    methods::OwnCoders coders;
    const std::string text =
        analysis::methodOf(row.cipher).run(coders.all(), key, Direction::encode, row.flag);
    auto cracker = analysis::makeCracker(row.cipher, {});
    cracker->feed(text);
    const analysis::Report report = cracker->finish();
    ASSERT_FALSE(report.candidates.empty()) << row.flag;
    EXPECT_EQ(analysis::decrypt(row.cipher, report.candidates.front().options, text), row.flag);
    // The cracker reads letters alone, and a flag of digits for letters
    // poorly; identify reads it as token text, and is sure where the
    // wrapper settles the key. A shift of letters gets no help from it.
    const analysis::Identification found = analysis::identify(text, {});
    ASSERT_FALSE(found.candidates.empty()) << row.flag;
    EXPECT_EQ(found.candidates.front().preview, row.flag);
    EXPECT_GE(found.candidates.front().confidence, row.cipher == Cipher::caesar ? 0.5 : 0.9)
        << row.flag;
  }
}

// A crib key is kept by the language it reads best in, though a language
// tried before it reads it far worse: here English before Norwegian.
TEST(Puzzle, ACribKeyIsKeptByItsBestLanguage) {
  const std::string plain = "kj\xC3\xB8rende jobber Avslutn";
  analysis::CrackSettings settings;
  settings.crib = "j\xC3\xB8rend";
  auto cracker = analysis::makeCracker(analysis::Cipher::vigenere, settings);
  const std::string text = ClassicCoder().vigenereEncode(plain, "QWERT");
  cracker->feed(text);
  const analysis::Report report = cracker->finish();
  ASSERT_FALSE(report.candidates.empty());
  EXPECT_EQ(analysis::decrypt(analysis::Cipher::vigenere, report.candidates.front().options, text),
            plain);
}

// Short texts under a key that is a word are solved from the word lists.
TEST(Puzzle, FindsWordKeysOfShortVigenereTexts) {
  for (const char* key : {"SECRET", "GARDEN", "WINTER"}) {
    const std::string plain = "the treasure is buried under the third oak tree";
    auto cracker = analysis::makeCracker(analysis::Cipher::vigenere, {});
    cracker->feed(ClassicCoder().vigenereEncode(plain, key));
    const analysis::Report report = cracker->finish();
    ASSERT_FALSE(report.candidates.empty());
    EXPECT_EQ(methods::textOf(report.candidates.front().options, "key"), key);
  }
}

}  // namespace
