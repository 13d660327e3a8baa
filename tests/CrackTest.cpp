#include <gtest/gtest.h>

#include <random>
#include <string>

#include "CrackCases.h"
#include "RandomText.h"
#include "analysis/Crack.h"

namespace {

using analysis::Cipher;
using analysis::Report;

// Running English of this file's own making.
constexpr std::string_view kEnglish =
    "When the harbour master finally opened the old ledger, he found that every ship which "
    "had left the port during the long winter was written down in the same careful hand, with "
    "the name of its captain, the weight of its cargo and the day on which it was expected to "
    "return. Nobody in the town could remember who had kept those pages so faithfully.";

Report crack(Cipher cipher, std::string_view text, analysis::CrackSettings settings = {}) {
  auto cracker = analysis::makeCracker(cipher, settings);
  cracker->feed(text);
  return cracker->finish();
}

// The candidate's decryption of `text`.
std::string decrypted(Cipher cipher, const Report& report, const std::string& text) {
  return crackcases::decryptWith(cipher, report.candidates.at(0), text);
}

struct KnownAnswer {
  Cipher cipher;
  std::string cipherText;
  methods::Settings options;
};

TEST(Crack, FindsTheKeysOfKnownAnswers) {
  const std::string plain(kEnglish.substr(0, 120));
  const std::string lower = "abcdefghijklmnopqrstuvwxyz", upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const std::string to = "QWERTYUIOPASDFGHJKLZXCVBNM";
  std::string toLower = to;
  for (char& c : toLower)
    c = static_cast<char>(c + 32);
  const KnownAnswer rows[] = {
      {Cipher::caesar, ClassicCoder().caesarShift(plain, 3), {{"shift", 3}}},
      {Cipher::caesar, ClassicCoder().caesarShift(plain, -1), {{"shift", 25}}},
      {Cipher::caesarFull,
       ClassicCoder().caesarShiftFull(plain, 200),
       {{"shift", 200}, {"full", true}}},
      {Cipher::bitwiseXor,
       CharCoder().bitwiseApply(plain, 0x5A, &CharCoder::bitXor),
       {{"xor", 0x5A}}},
      {Cipher::bitwiseXor, CharCoder().bitwiseApply(plain, 32, &CharCoder::bitXor), {{"xor", 32}}},
      {Cipher::vigenere,
       ClassicCoder().vigenereEncode(plain, "lux"),
       {{"key", std::string("LUX")}}},
      {Cipher::vigenere,
       ClassicCoder().vigenereEncode(plain, "LUXLUX"),
       {{"key", std::string("LUX")}}},
  };
  for (const KnownAnswer& row : rows) {
    const Report report = crack(row.cipher, row.cipherText);
    ASSERT_FALSE(report.candidates.empty()) << row.cipherText;
    EXPECT_EQ(report.candidates[0].options, row.options) << row.cipherText;
    EXPECT_GE(report.candidates[0].confidence, 0.9) << row.cipherText;
    EXPECT_EQ(report.language, analysis::Language::en);
    EXPECT_TRUE(report.note.empty()) << report.note;
  }
  // A substitution decrypts with both cases in one alphabet.
  const std::string cipherText =
      CharCoder().substitute(std::string(kEnglish), upper + lower, to + toLower);
  const Report report = crack(Cipher::substitution, cipherText);
  ASSERT_FALSE(report.candidates.empty());
  EXPECT_EQ(decrypted(Cipher::substitution, report, cipherText), kEnglish);
}

TEST(Crack, NamesTheOptionsInTheCommandLinesTerms) {
  const Report report = crack(Cipher::caesar, ClassicCoder().caesarShift(std::string(kEnglish), 7));
  for (const auto& candidate : report.candidates) {
    ASSERT_EQ(candidate.options.size(), 1u);
    EXPECT_EQ(candidate.options[0].name, "shift");
  }
  EXPECT_LE(report.candidates.size(), 5u);
  analysis::CrackSettings none;
  none.top = 0;
  EXPECT_EQ(crack(Cipher::bitwiseXor, "Hello", none).candidates.size(), 1u);
  EXPECT_EQ(report.candidates[0].preview, kEnglish.substr(0, 80));
  // Every shift scored, best first, chances that add up to at most one.
  EXPECT_EQ(report.evidence.keyScores.size(), 26u);
  double sum = 0;
  for (std::size_t i = 0; i < report.candidates.size(); ++i) {
    sum += report.candidates[i].confidence;
    if (i > 0) {
      EXPECT_GE(report.candidates[i - 1].score, report.candidates[i].score);
    }
  }
  EXPECT_LE(sum, 1 + 1e-9);
}

TEST(Crack, CutsThePreviewBetweenCharacters) {
  // 79 ASCII letters, then two-byte characters: the preview keeps whole ones.
  const std::string plain = std::string(kEnglish.substr(0, 79)) + "\xC3\xA9\xC3\xA9 and more";
  const Report report = crack(Cipher::caesar, ClassicCoder().caesarShift(plain, 5));
  EXPECT_EQ(report.candidates.at(0).preview, plain.substr(0, 81));
}

TEST(Crack, GivesTheSameAnswerForAnyCutIntoPieces) {
  RandomText random;
  const std::string plain = std::string(kEnglish) + " 123 \r\n" + std::string(kEnglish);
  for (const Cipher cipher :
       {Cipher::caesar, Cipher::caesarFull, Cipher::bitwiseXor, Cipher::vigenere}) {
    std::mt19937 keys(7);
    const std::string text = crackcases::encrypt(cipher, plain, 5, keys);
    const Report whole = crack(cipher, text);
    auto cracker = analysis::makeCracker(cipher, {});
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t piece = std::min(text.size() - at, random.length(40));
      cracker->feed(std::string_view(text).substr(at, piece));
      at += piece;
    }
    const Report pieces = cracker->finish();
    ASSERT_EQ(whole.candidates.size(), pieces.candidates.size());
    for (std::size_t i = 0; i < whole.candidates.size(); ++i) {
      EXPECT_EQ(whole.candidates[i].options, pieces.candidates[i].options);
      EXPECT_NEAR(whole.candidates[i].confidence, pieces.candidates[i].confidence, 1e-9);
    }
  }
}

TEST(Crack, VigenereKeysSkipWhatIsNoLetter) {
  // Digits, punctuation, line breaks and UTF-8 take no key letter.
  std::string plain;
  for (std::size_t i = 0; i < kEnglish.size(); ++i)
    plain += std::string(1, kEnglish[i]) + (i % 7 == 0 ? "4\xC3\xB1\r\n" : "");
  const std::string text = ClassicCoder().vigenereEncode(plain, "Secret");
  const Report report = crack(Cipher::vigenere, text);
  EXPECT_EQ(report.candidates.at(0).options, (methods::Settings{{"key", std::string("SECRET")}}));
  EXPECT_EQ(report.evidence.period, 6u);
  EXPECT_EQ(report.evidence.keyLetterFitness.size(), 6u);
  EXPECT_FALSE(report.evidence.periodCoincidence.empty());
}

TEST(Crack, VigenereKeepsToTheKeyLengthsAsked) {
  const std::string text = ClassicCoder().vigenereEncode(std::string(kEnglish), "ORBIT");
  analysis::CrackSettings settings;
  settings.minKeyLength = 10;
  settings.maxKeyLength = 10;
  const Report report = crack(Cipher::vigenere, text, settings);
  // Period 10 holds the key twice; the answer names it once.
  EXPECT_EQ(report.candidates.at(0).options, (methods::Settings{{"key", std::string("ORBIT")}}));
  settings.minKeyLength = 2;
  settings.maxKeyLength = 4;
  const Report narrow = crack(Cipher::vigenere, text, settings);
  EXPECT_LE(std::get<std::string>(narrow.candidates.at(0).options[0].value).size(), 4u);
  EXPECT_LT(narrow.candidates.at(0).confidence, 0.5);
}

TEST(Crack, SaysWhyThereIsNoAnswer) {
  for (const Cipher cipher : {Cipher::caesar, Cipher::caesarFull, Cipher::bitwiseXor,
                              Cipher::vigenere, Cipher::substitution}) {
    const Report empty = crack(cipher, "");
    EXPECT_TRUE(empty.candidates.empty());
    EXPECT_EQ(empty.note, "no input");
  }
  for (const Cipher cipher : {Cipher::caesar, Cipher::vigenere, Cipher::substitution}) {
    const Report report = crack(cipher, "12345 !?\r\n\xC3\xA9");
    EXPECT_TRUE(report.candidates.empty());
    EXPECT_EQ(report.note, "no letters to analyse");
  }
}

TEST(Crack, DoubtsJunkAndShortTexts) {
  RandomText random;
  for (const Cipher cipher : {Cipher::caesar, Cipher::caesarFull, Cipher::bitwiseXor,
                              Cipher::vigenere, Cipher::substitution}) {
    for (const std::size_t length : {1, 3, 50, 2000}) {
      const Report report = crack(cipher, random.bytes(length));
      if (report.candidates.empty()) continue;
      EXPECT_LT(report.candidates[0].confidence, 0.9) << length;
      EXPECT_FALSE(report.note.empty());
      for (const auto& c : report.candidates)
        EXPECT_TRUE(c.confidence >= 0 && c.confidence <= 1);
    }
  }
  const Report shortText = crack(Cipher::caesar, ClassicCoder().caesarShift("Go on", 4));
  EXPECT_EQ(shortText.note, "too short to be sure");
}

// A text of one or a few letters gives the substitution search nothing to
// weigh a swap by; it still ends, with an answer that says it is unsure.
TEST(Crack, SubstitutionEndsOnAFewLetters) {
  for (const char* text : {"A", "Hi", "Hey", "Hello", "Hi, you"}) {
    const Report report = crack(Cipher::substitution, text);
    ASSERT_FALSE(report.candidates.empty()) << text;
    EXPECT_EQ(report.note, "too short to be sure") << text;
  }
}

// Letters that no substitution made, though every alphabet decrypts them to
// something: random letters, and running text through a method that moves
// its letters (rows of seven read by columns) or changes them by their place
// (Vigenere). The search finds some best key in some language all the same;
// the answer must say that its decryption is no text.
TEST(Crack, SubstitutionSaysWhenNoKeyMadeTheLetters) {
  const std::string english = crackcases::readFile(ZEMBRAX_CORPUS "/en.txt").substr(0, 3000);
  ASSERT_EQ(english.size(), 3000u);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> letter('a', 'z');
  std::string letters(3000, ' ');
  for (char& c : letters)
    c = static_cast<char>(letter(random));
  std::string columns;
  for (std::size_t column = 0; column < 7; ++column)
    for (std::size_t at = column; at < english.size(); at += 7)
      columns += english[at];
  const std::pair<const char*, std::string> rows[] = {
      {"random letters", letters},
      {"columns", columns},
      {"vigenere", ClassicCoder().vigenereEncode(english, "HARBOUR")},
  };
  for (const auto& [name, text] : rows) {
    const Report report = crack(Cipher::substitution, text);
    ASSERT_FALSE(report.candidates.empty()) << name;
    EXPECT_LT(report.candidates[0].confidence, 0.5) << name;
    EXPECT_EQ(report.note, "the decryptions do not look like text in any language") << name;
  }
}

// A substitution of running text keeps the confidence it earns beside "no
// key": 300 letters are enough to be sure in any language.
TEST(Crack, SubstitutionOfRunningTextStaysSure) {
  std::mt19937 random(12);
  for (const char* language : {"en", "de", "fr", "pl", "fi", "hu"}) {
    const std::string corpus =
        crackcases::readFile(std::string(ZEMBRAX_CORPUS) + "/" + language + ".txt");
    const std::string plain = crackcases::excerpt(corpus, 300, 0, random);
    const crackcases::Outcome outcome = crackcases::run(Cipher::substitution, plain, 0, random);
    EXPECT_TRUE(outcome.right) << language;
    EXPECT_GE(outcome.confidence, 0.9) << language;
  }
}

// Swedish that the search decrypts right but in another language's terms:
// the answer is judged by how its decryption reads in every language.
TEST(Crack, SubstitutionJudgesTheDecryptionInEveryLanguage) {
  const std::string swedish = crackcases::readFile(ZEMBRAX_CORPUS "/sv.txt");
  const std::size_t at = swedish.find("fil (\xC3\xA5sidos\xC3\xA4tter en tidigare flagga");
  ASSERT_NE(at, std::string::npos);
  std::string plain;
  for (std::size_t i = at, letters = 0; i < swedish.size() && letters < 1000; ++i) {
    plain += swedish[i];
    letters += ascii::isLetter(swedish[i]) ? 1 : 0;
  }
  // With one of these keys the search finds the answer in another language.
  std::mt19937 random(20261208);
  for (int key = 0; key < 6; ++key) {
    const crackcases::Outcome outcome = crackcases::run(Cipher::substitution, plain, 0, random);
    EXPECT_TRUE(outcome.right) << key;
    EXPECT_GE(outcome.confidence, 0.9) << key;
  }
}

TEST(Crack, ReadsALargeTextWhole) {
  std::string plain;
  while (plain.size() < (std::size_t{3} << 20))
    plain += std::string(kEnglish) + "\n";
  const std::string text = ClassicCoder().caesarShift(plain, 11);
  auto cracker = analysis::makeCracker(Cipher::caesar, {});
  for (std::size_t at = 0; at < text.size(); at += 65536)
    cracker->feed(std::string_view(text).substr(at, 65536));
  const Report report = cracker->finish();
  EXPECT_FALSE(report.sampled);
  EXPECT_EQ(report.candidates.at(0).options, (methods::Settings{{"shift", 11}}));
  EXPECT_NEAR(report.evidence.inputLetters[('o' - 'a' + 11) % 26],
              report.evidence.outputLetters['o' - 'a'], 1e-12);

  const Report sampled = crack(Cipher::substitution, plain);
  EXPECT_TRUE(sampled.sampled);
  EXPECT_EQ(sampled.note, "only the first 1 MiB of the text was analysed");
}

}  // namespace
