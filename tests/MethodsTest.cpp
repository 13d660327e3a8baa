#include "Methods.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "RandomText.h"

namespace {

// `text` fed to a stream in random pieces, then finished.
std::string streamed(StreamCoder& coder, const std::string& text, RandomText& random) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t piece = random.length(text.size() - at);
    out += coder.feed(text.substr(at, piece));
    at += piece;
  }
  return out + coder.finish();
}

// Every method's stream gives what its one-shot call gives, both ways, for
// every sample the registry gives; Decrypt undoes Encrypt where they are an
// inverse pair, and the one call undoes itself where it is both.
TEST(Methods, EverySampleRoundTripsThroughItsCallAndItsStream) {
  RandomText random;
  methods::OwnCoders coders;
  for (const methods::Method& method : methods::all()) {
    const std::vector<methods::Sample> samples = method.samples();
    EXPECT_FALSE(samples.empty()) << method.name;
    for (const methods::Sample& sample : samples) {
      const std::string named =
          std::string(method.name) + " " + methods::commandOptions(sample.settings);
      for (int trial = 0; trial < 50; ++trial) {
        const std::string text = random.bytes(random.length(300), sample.lowest, sample.highest);
        std::string coded = text;
        for (const Direction direction : {Direction::encode, Direction::decode}) {
          const std::string once = method.run(coders.all(), sample.settings, direction, coded);
          EXPECT_EQ(streamed(*method.stream(sample.settings, direction), coded, random), once)
              << named << (direction == Direction::decode ? " -d" : "");
          coded = once;
        }
        if (method.ways == methods::Ways::inversePair || method.ways == methods::Ways::sameCall) {
          EXPECT_EQ(coded, text) << named;
        }
      }
    }
  }
}

// A text in two pieces gives what it gives whole, wherever it is cut, for
// every sample of every method, either way, in the command line's exact
// decoders too.
TEST(Methods, EveryStreamMayBeCutAnywhere) {
  RandomText random;
  methods::OwnCoders coders;
  for (const methods::Method& method : methods::all()) {
    for (const methods::Sample& sample : method.samples()) {
      for (const Direction direction : {Direction::encode, Direction::decode}) {
        // A decoder reads what its encoder wrote.
        std::string text = random.bytes(40, sample.lowest, sample.highest);
        if (direction == Direction::decode && methods::encodes(method))
          text = method.run(coders.all(), sample.settings, Direction::encode, text);
        const std::string whole =
            methods::runExact(method, coders.all(), sample.settings, direction, text);
        for (std::size_t cut = 0; cut <= text.size(); ++cut) {
          const auto coder = methods::exactStream(method, sample.settings, direction);
          std::string pieces = coder->feed(text.substr(0, cut));
          pieces += coder->feed(text.substr(cut));
          pieces += coder->finish();
          ASSERT_EQ(pieces, whole)
              << method.name << " " << methods::commandOptions(sample.settings)
              << (direction == Direction::decode ? " -d" : "") << " cut at " << cut;
        }
      }
    }
  }
}

// The buttons and -d follow the ways a method codes: Bitwise has no
// Decrypt, LSB no Encrypt, and each decoding of the analysis runs the way
// that takes a text back.
TEST(Methods, OffersTheWaysItCodes) {
  const struct {
    const char* method;
    bool encodes;
    bool decodes;
    Direction undoing;
  } cases[] = {
      {"caesar", true, true, Direction::decode},   {"subst", true, true, Direction::decode},
      {"bitwise", true, false, Direction::encode}, {"lsb", false, true, Direction::decode},
      {"morse", true, true, Direction::decode},
  };
  for (const auto& c : cases) {
    const methods::Method& method = methods::methodNamed(c.method);
    EXPECT_EQ(methods::encodes(method), c.encodes) << c.method;
    EXPECT_EQ(methods::decodes(method), c.decodes) << c.method;
    EXPECT_EQ(methods::undoing(method), c.undoing) << c.method;
  }
}

// The command line's Decrypt of a substitution maps the new alphabet back
// onto the original.
TEST(Methods, SubstitutionDecryptSwapsTheAlphabets) {
  methods::OwnCoders coders;
  const methods::Method& subst = methods::methodNamed("subst");
  const methods::Settings settings = {{"from", std::string("abc")}, {"to", std::string("bca")}};
  EXPECT_EQ(subst.run(coders.all(), settings, Direction::encode, "abcd"), "bcad");
  EXPECT_EQ(subst.run(coders.all(), settings, Direction::decode, "bcad"), "abcd");
}

TEST(Methods, DescribesAStepInWords) {
  const struct {
    const char* method;
    methods::Settings settings;
    const char* words;
    const char* command;
  } cases[] = {
      {"caesar", {{"shift", 7}}, "Caesar shift 7", "--shift 7"},
      {"caesar", {{"shift", -3}, {"full", true}}, "Caesar shift -3 (0-255)", "--shift -3 --full"},
      {"vigenere", {{"key", std::string("LUX")}}, "Vigenere key LUX", "--key LUX"},
      {"bitwise", {{"xor", 32}}, "XOR 32", "--xor 32"},
      {"binary", {{"bits", 7}}, "Binary 7 bits", "--bits 7"},
      {"binary", {{"bits", 8}}, "Binary", "--bits 8"},
      {"base64", {}, "Base64", ""},
      {"caesar", {{"shift", 1}, {"full", false}}, "Caesar shift 1", "--shift 1"},
      {"bacon", {}, "Bacon, 24 letters", ""},
      {"bacon",
       {{"letters", 26}, {"digits", true}},
       "Bacon, 26 letters, 0 and 1",
       "--letters 26 --digits"},
      {"a1z26", {{"separator", std::string(" ")}}, "A1Z26 split by \" \"", "--separator  "},
      {"a1z26", {{"separator", std::string("-")}}, "A1Z26", "--separator -"},
      {"polybius", {{"key", std::string("LUX")}}, "Polybius square key LUX", "--key LUX"},
      {"base85", {{"wrapper", true}}, "Base85 <~ ~>", "--wrapper"},
  };
  for (const auto& c : cases) {
    const methods::Method& method = methods::methodNamed(c.method);
    EXPECT_EQ(methods::describe(method, c.settings), c.words);
    EXPECT_EQ(methods::commandOptions(c.settings), c.command);
  }
}

// Each keyless decoding takes the texts of its own written form, and not
// those of another: a text of binary digits is neither decimal numbers nor
// hexadecimal, though its digits are both.
TEST(Methods, AcceptsTheTextsOfItsForm) {
  const struct {
    const char* text;
    std::vector<std::string> accepted;  // "name --options"
  } cases[] = {
      {"01001000 01101001", {"binary --bits 8"}},
      {"10010001101001", {"binary --bits 7"}},
      {".... .. / - .... . .-. .", {"morse"}},
      {"72, 105, -1", {"decimal"}},
      {"48 69 ff", {"base64", "hex"}},
      // Letters that Atbash, Trithemius, reversal or a keyboard shift may
      // have made, too.
      {"SGVsbG8=", {"base64", "atbash", "trithemius", "reverse", "keyboard"}},
      {"SGVs bG8", {"base64", "atbash", "trithemius", "reverse", "keyboard"}},
      {"a%20b%21", {"url"}},
      {"4142", {"base64", "hex"}},
      {"Hello, World", {"atbash", "trithemius", "reverse", "keyboard"}},
      {"<~9jqo^~>", {"rot47", "base85"}},
      {"87cURD_*#4\nDfTZ)+T", {"base85"}},
      {"w]7)*DWmUeEe", {"atbash", "trithemius", "reverse", "keyboard", "z85"}},
      {"8-5-12-12-15 23-15-18-12-4", {"a1z26"}},
      {"1.2.3.4", {"a1z26 --separator ."}},
      {"hotel INDIA / Two", {"base64", "atbash", "trithemius", "reverse", "keyboard", "nato"}},
      {"00001 00000",
       {"binary --bits 8", "bacon --letters 24 --digits", "bacon --letters 26 --digits"}},
      {"ABBAA ABABB",
       {"base64", "atbash", "trithemius", "base32", "keyboard", "bacon --letters 24",
        "bacon --letters 26"}},
      {"23 15 31 31 34", {"base64", "decimal", "hex", "octal", "polybius", "phone"}},
      {"Hotel, Tango.", {"atbash", "trithemius", "reverse", "keyboard"}},
      {"flag{a_b}", {"atbash", "trithemius", "reverse", "keyboard"}},
      {" \r\n", {}},
      // What ROT47 makes of running text, of capitals, of a flag and of
      // letters beyond ASCII, which it leaves.
      {"E9:D :D 2 D64C6E ?@E6", {"rot47"}},
      {"!p$$t }x}st &x%'~", {"rot47"}},
      {"7=28L=67E0>6N", {"rot47", "base85", "z85"}},
      {"6DA2\xC3\xA7@D 6> 3C2?4@", {"rot47"}},
      // Written backwards: a flag, Base64 with its padding first, and
      // characters beyond ASCII.
      {"}1_tsuj{galf", {"atbash", "trithemius", "reverse", "keyboard"}},
      {"==Qbvl2c", {"atbash", "trithemius", "reverse", "keyboard"}},
      {"trag \xC3\xA9tirw", {"atbash", "trithemius", "reverse --chars", "keyboard"}},
      {"abc", {}},
      // Base58: one word of its digits with a digit and letters of both
      // cases, none of 0, O, I and l.
      {"2NEpo7TZRRrLZSi2U", {"atbash", "trithemius", "reverse", "base58", "keyboard"}},
      {"2NEpo7TZ RRrLZSi2U", {"atbash", "trithemius", "reverse", "keyboard"}},
      {"2NEpo7TZRRrLZSi2Ul", {"base64", "atbash", "trithemius", "reverse", "keyboard"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> accepted;
    for (const methods::Method& method : methods::all()) {
      if (method.accepts == nullptr) continue;
      for (const methods::Settings& settings : method.accepts(c.text)) {
        const std::string options = methods::commandOptions(settings);
        accepted.push_back(std::string(method.name) + (options.empty() ? "" : " " + options));
      }
    }
    EXPECT_EQ(accepted, c.accepted) << c.text;
  }
}

// Whatever a method with a written form writes of a sentence, in each of
// its samples' settings, has that form.
TEST(Methods, AcceptWhatTheyWrite) {
  const std::string sentence = "Meet me at the old mill at nine, and bring the map";
  methods::OwnCoders coders;
  for (const methods::Method& method : methods::all()) {
    if (method.accepts == nullptr) continue;
    for (const methods::Sample& sample : method.samples()) {
      const std::string written =
          method.run(coders.all(), sample.settings, Direction::encode, sentence);
      EXPECT_FALSE(method.accepts(written).empty())
          << method.name << " " << methods::commandOptions(sample.settings) << ": " << written;
    }
  }
}

// The Caesar Decrypt of any 32-bit shift moves back by exactly its steps.
TEST(Methods, CaesarDecryptUndoesEveryShift) {
  methods::OwnCoders coders;
  const methods::Method& caesar = methods::methodNamed("caesar");
  for (const std::int32_t shift :
       {0, 1, -1, 25, 26, 255, 6630, -6631, 2147483647, -2147483647 - 1}) {
    for (const bool full : {false, true}) {
      const methods::Settings settings = {{"shift", shift}, {"full", full}};
      const std::string text = "Hello, World! \x7f\x80\xff";
      const std::string coded = caesar.run(coders.all(), settings, Direction::encode, text);
      EXPECT_EQ(caesar.run(coders.all(), settings, Direction::decode, coded), text)
          << shift << (full ? " full" : "");
    }
  }
}

TEST(Methods, ReadsHexadecimalAsPairsOfDigits) {
  methods::OwnCoders coders;
  const methods::Method& hex = methods::methodNamed("hex");
  const struct {
    const char* text;
    std::string bytes;
  } cases[] = {
      {"48 65 6C 6c 6F ", "Hello"},
      {"48656c6c6f", "Hello"},
      {"48:65,6c-6c\r\n6f", "Hello"},
      {"4 8", std::string("\x04\x08", 2)},
      {"486", "H\x06"},
      {"zz 00 gg", std::string(1, '\0')},
      {"", ""},
  };
  for (const auto& [text, bytes] : cases)
    EXPECT_EQ(hex.run(coders.all(), {}, Direction::decode, text), bytes) << text;
}

TEST(Methods, NamesAreUniqueAndFound) {
  std::set<std::string_view> names;
  for (const methods::Method& method : methods::all()) {
    EXPECT_TRUE(names.insert(method.name).second) << method.name;
    EXPECT_EQ(methods::named(method.name), &method);
  }
  EXPECT_EQ(methods::named("rot13"), nullptr);
  EXPECT_THROW(methods::methodNamed("rot13"), std::logic_error);
}

}  // namespace
