#include "signal/SignalCoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "RandomText.h"

namespace {

struct MorseCase {
  std::string text;
  std::string morse;
  std::string decoded;
};

TEST(Morse, KnownAnswersBothWays) {
  const std::vector<MorseCase> cases = {
      {"", "", ""},
      {"SOS", "... --- ... ", "SOS"},
      {"sos", "... --- ... ", "SOS"},  // letters are folded to upper case
      {"Hi there", ".... ..  - .... . .-. . ", "HITHERE"},
      {"Hello, World!", ".... . .-.. .-.. --- --..--  .-- --- .-. .-.. -.. !", "HELLO,WORLD"},
      {"AB\r\nE", ".- -... \r\n. ", "ABE"},
      {"A#B", ".- #-... ", "A"},  // '#' passes and spoils the word that follows
      {"\xE9t\xE9", "\xE9- \xE9", ""},
      {"e=mc2", ". -...- -- -.-. ..--- ", "E=MC2"},
      {"1", ".---- ", "1"},
      {"J", ".--- ", "J"},
      {"...", ".-.-.- .-.-.- .-.-.- ", "..."},
      {"$", "...-..- ", "$"},
      {" ", " ", ""},
  };
  const SignalCoder coder;
  for (const auto& [text, morse, decoded] : cases) {
    EXPECT_EQ(coder.morseEncode(text), morse) << text;
    EXPECT_EQ(coder.morseDecode(morse), decoded) << morse;
  }
}

TEST(Morse, DecodesOnlyWholeWordsThatAreCodes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"...---...", ""},                                    // without whitespace it is one word
      {".- ...---... -", "AT"}, {".-   -...\t-..", "ABD"},  // any run of whitespace separates
      {"\v.-\f\r\n", "A"},      {".- / -...", "AB"},        // '/' is not the code of a slash
      {".-.-.-", "."},          {"--------", ""},           // longer than any code
      {"-......", ""},                                      // seven marks, but no code
      {".-\xE9 .-", "A"},
  };
  const SignalCoder coder;
  for (const auto& [morse, decoded] : cases) {
    EXPECT_EQ(coder.morseDecode(morse), decoded) << morse;
  }
}

// Every symbol with a code, and the international code of each, written
// out here rather than taken from the coder's table.
constexpr std::string_view kSymbols = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890/+=.,?()-\"_':;$";
constexpr std::string_view kCodes =
    ".- -... -.-. -.. . ..-. --. .... .. .--- -.- .-.. -- -. --- .--. --.- .-. ... - ..- ...- "
    ".-- -..- -.-- --.. "
    ".---- ..--- ...-- ....- ..... -.... --... ---.. ----. ----- "
    "-..-. .-.-. -...- .-.-.- --..-- ..--.. -.--. -.--.- -....- .-..-. ..--.- .----. ---... "
    "-.-.-. ...-..- ";

TEST(Morse, CodesEverySymbolAsTheInternationalCode) {
  const SignalCoder coder;
  EXPECT_EQ(coder.morseEncode(std::string(kSymbols)), kCodes);
  EXPECT_EQ(coder.morseDecode(std::string(kCodes)), kSymbols);
  // Nothing else has a code: every other byte passes through, and a lower-case
  // letter is coded as its upper-case form.
  std::string others;
  for (int c = 1; c < 256; ++c) {
    if (kSymbols.find(static_cast<char>(c)) == std::string_view::npos && !(c >= 'a' && c <= 'z'))
      others += static_cast<char>(c);
  }
  EXPECT_EQ(coder.morseEncode(others), others);
  EXPECT_EQ(coder.morseEncode("abcxyz"), ".- -... -.-. -..- -.-- --.. ");
}

TEST(Morse, DecodingGivesBackTheSymbolsOfAnyText) {
  const SignalCoder coder;
  RandomText random;
  const std::string alphabet = std::string(kSymbols) + "abcxyz \r\n\t";
  for (int round = 0; round < 300; ++round) {
    std::string text;
    std::string symbols;
    for (std::size_t i = random.length(100); i > 0; --i) {
      const char c = alphabet[random.length(alphabet.size() - 1)];
      text += c;
      if (c >= 'a' && c <= 'z')
        symbols += static_cast<char>(c - 'a' + 'A');
      else if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
        symbols += c;
    }
    ASSERT_EQ(coder.morseDecode(coder.morseEncode(text)), symbols) << text;
  }
}

// Long texts of every kind of word: codes, runs of marks that may or may not
// be codes, runs too long for any code (some longer than the blocks that the
// wide kernels take), and words spoilt by another byte, apart by runs of any
// whitespace; each against a decoding by the codes written out above.
TEST(Morse, DecodesEveryKindOfWordWhereverItFalls) {
  std::map<std::string, char, std::less<>> symbolOf;
  for (std::size_t k = 0, at = 0; k < kSymbols.size(); ++k) {
    const std::size_t end = kCodes.find(' ', at);
    symbolOf[std::string(kCodes.substr(at, end - at))] = kSymbols[k];
    at = end + 1;
  }
  const std::string whitespace = " \t\n\v\f\r";
  const std::string spoilers = "#/_x\xE9";
  const auto marks = [](RandomText& random, int length) {
    std::string word;
    for (int j = 0; j < length; ++j)
      word += random.integer(0, 1) != 0 ? '-' : '.';
    return word;
  };
  const SignalCoder coder;
  RandomText random;
  for (int round = 0; round < 200; ++round) {
    std::string text;
    std::string symbols;
    for (std::size_t words = random.length(80); words > 0; --words) {
      for (int gap = random.integer(text.empty() ? 0 : 1, 3); gap > 0; --gap)
        text += whitespace[random.length(whitespace.size() - 1)];
      std::string word;
      switch (random.integer(0, 3)) {
        case 0:
          word = marks(random, random.integer(8, 150));
          break;
        case 1:
          word = marks(random, random.integer(0, 6));
          word.insert(random.length(word.size()), 1, spoilers[random.length(spoilers.size() - 1)]);
          break;
        default:
          word = marks(random, random.integer(1, 7));
          if (const auto found = symbolOf.find(word); found != symbolOf.end())
            symbols += found->second;
      }
      text += word;
    }
    ASSERT_EQ(coder.morseDecode(text), symbols) << text;
  }
}

TEST(Lsb, WritesTheLowestBitOfEveryByte) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},           {"Hello", "01001"}, {"AB", "10"},       {"Hi there", "01000101"},
      {"a\r\nb", "1100"}, {"01", "01"},       {"\xFF\x80", "10"},
  };
  const SignalCoder coder;
  for (const auto& [text, bits] : cases)
    EXPECT_EQ(coder.lsbExtract(text), bits) << text;
}

}  // namespace
