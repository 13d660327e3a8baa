// The methods that puzzles use: known answers, the published vectors where
// there are any, and agreement with versions written from each method's
// definition.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "Methods.h"
#include "RandomText.h"
#include "Reference.h"

namespace {

// The bytes of hexadecimal digits.
std::string hex(std::string_view digits) {
  std::string bytes;
  for (std::size_t at = 0; at + 1 < digits.size(); at += 2)
    bytes += static_cast<char>(std::stoi(std::string(digits.substr(at, 2)), nullptr, 16));
  return bytes;
}

struct KnownAnswer {
  const char* method;
  methods::Settings settings;
  Direction direction;
  std::string text;
  std::string coded;
};

const Direction encode = Direction::encode;
const Direction decode = Direction::decode;

const std::vector<KnownAnswer>& knownAnswers() {
  static const std::vector<KnownAnswer> answers = {
      // RFC 4648, section 10.
      {"base32", {}, encode, "", ""},
      {"base32", {}, encode, "f", "MY======"},
      {"base32", {}, encode, "fo", "MZXQ===="},
      {"base32", {}, encode, "foo", "MZXW6==="},
      {"base32", {}, encode, "foob", "MZXW6YQ="},
      {"base32", {}, encode, "fooba", "MZXW6YTB"},
      {"base32", {}, encode, "foobar", "MZXW6YTBOI======"},
      {"base32", {{"no-padding", true}}, encode, "foobar", "MZXW6YTBOI"},
      {"base32", {}, decode, "MZXW6YTBOI======", "foobar"},
      {"base32", {}, decode, "mzxw6ytboi", "foobar"},
      {"base32", {}, decode, "MZXW6\r\nYTBOI", "foobar"},
      {"base32", {}, decode, "MZXQ====MY======", "fof"},
      {"base32", {}, decode, "M", ""},
      {"rot47", {}, encode, "Hello, World!", "w6==@[ (@C=5P"},
      {"rot47", {}, encode, std::string("~!\x7f \xe9", 5), std::string("OP\x7f \xe9", 5)},
      {"atbash", {}, encode, "Hello, World! 123", "Svool, Dliow! 123"},
      {"atbash", {}, encode, "AZaz", "ZAza"},
      {"trithemius", {}, encode, "AAAA AAAA", "ABCD EFGH"},
      {"trithemius", {}, encode, "Hello", "Hfnos"},
      {"trithemius", {}, decode, "Hfnos", "Hello"},
      {"trithemius", {}, encode, std::string(27, 'a'), "abcdefghijklmnopqrstuvwxyza"},
      {"reverse", {}, encode, "stressed", "desserts"},
      {"reverse", {}, encode, "h\xc3\xa9!", "!\xa9\xc3h"},
      {"reverse", {{"chars", true}}, encode, "h\xc3\xa9!", "!\xc3\xa9h"},
      {"reverse",
       {{"chars", true}},
       encode,
       "a\xf0\x9f\x99\x82z",
       "z\xf0\x9f\x99\x82"
       "a"},
      // A byte that starts no whole character stands alone.
      {"reverse",
       {{"chars", true}},
       encode,
       "\xc3"
       "a\xa9",
       "\xa9"
       "a\xc3"},
      // Bitcoin's test vectors.
      {"base58", {}, encode, "", ""},
      {"base58", {}, encode, "a", "2g"},
      {"base58", {}, encode, "bbb", "a3gV"},
      {"base58", {}, encode, "simply a long string", "2cFupjhnEsSn59qHXstmK2ffpLv2"},
      {"base58",
       {},
       encode,
       hex("00eb15231dfceb60925886b67d065299925915aeb172c06647"),
       "1NS17iag9jJgTHD1VXjvLCEnZuQ3rJDE9L"},
      {"base58", {}, encode, hex("516b6fcd0f"), "ABnLTmg"},
      {"base58", {}, encode, hex("bf4f89001e670274dd"), "3SEo3LWLoPntC"},
      {"base58", {}, encode, hex("572e4794"), "3EFU7m"},
      {"base58", {}, encode, hex("ecac89cad93923c02321"), "EJDM8drfXA6uyA"},
      {"base58", {}, encode, hex("10c8511e"), "Rt5zm"},
      {"base58", {}, encode, std::string(10, '\0'), "1111111111"},
      {"base58",
       {},
       decode,
       "1NS17iag9jJgTHD1VXjvLCEnZuQ3rJDE9L",
       hex("00eb15231dfceb60925886b67d065299925915aeb172c06647")},
      {"base58", {}, decode, "2NEpo7TZ RRrLZSi2U\n", "Hello World!"},
      {"keyboard", {}, encode, "Hello, World 2026", "Jraap, Eptaf 3137"},
      {"keyboard", {}, decode, "Jraap, Eptaf 3137", "Hello, World 2026"},
      {"keyboard", {}, encode, "pP0mM", "qQ1zZ"},
      {"octal", {}, encode, std::string("Hi\n\0\xff", 5), "110 151 12 0 377 "},
      {"octal", {}, decode, "110 151,12 0o7 777", std::string("Hi\n\0\x07\xff", 6)},
      {"octal", {}, decode, "110151", std::string(1, '\x69')},
  };
  return answers;
}

TEST(PuzzleMethods, GiveTheKnownAnswers) {
  methods::OwnCoders coders;
  for (const KnownAnswer& a : knownAnswers()) {
    const methods::Method& method = methods::methodNamed(a.method);
    EXPECT_EQ(methods::runExact(method, coders.all(), a.settings, a.direction, a.text), a.coded)
        << a.method << " " << methods::commandOptions(a.settings)
        << (a.direction == decode ? " -d " : " ") << a.text;
  }
}

// Each method of the registry that has a version written from its
// definition, against it, on random texts.
TEST(PuzzleMethods, MatchTheirReferences) {
  RandomText random;
  methods::OwnCoders coders;
  std::size_t checked = 0;
  for (const methods::Method& method : methods::all()) {
    const reference::Coding coding = reference::codingOf(method.name);
    if (coding == nullptr) continue;
    ++checked;
    for (int trial = 0; trial < 200; ++trial) {
      const std::string text = random.bytes(random.length(100));
      EXPECT_EQ(methods::runExact(method, coders.all(), {}, encode, text), coding(text))
          << method.name;
    }
  }
  EXPECT_GE(checked, 5u);
}

}  // namespace
