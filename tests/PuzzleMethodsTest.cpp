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
      {"phone", {}, encode, "Hi you!", "44 444 0 999 666 88!"},
      {"phone", {}, decode, "44 444 0 999 666 88!", "HI YOU!"},
      // Presses run together part where the key changes, and a run too long
      // for its key goes round it.
      {"phone", {}, decode, "4433555\n2222", "HEL\nCA"},
      {"octal", {}, encode, std::string("Hi\n\0\xff", 5), "110 151 12 0 377 "},
      {"octal", {}, decode, "110 151,12 0o7 777", std::string("Hi\n\0\x07\xff", 6)},
      {"octal", {}, decode, "110151", std::string(1, '\x69')},
      // Adobe's examples; a group of zeros is 'z' only when whole.
      {"base85", {}, encode, "Man ", "9jqo^"},
      {"base85", {}, encode, "sure.", "F*2M7/c"},
      {"base85", {}, encode, std::string(5, '\0'), "z!!"},
      {"base85", {{"wrapper", true}}, encode, "Man", "<~9jqo~>"},
      {"base85", {{"wrapper", true}}, encode, "", "<~~>"},
      {"base85", {}, decode, "<~F*2M\n7/c~>", "sure."},
      {"base85", {}, decode, "F*2M7/c", "sure."},
      {"base85", {}, decode, "z 9jqo", std::string(4, '\0') + "Man"},
      {"base85", {}, decode, "<~9jqo^~>", "Man "},
      // The first digit is '>', which makes no end mark with the '~' of <~.
      {"base85", {}, decode, "<~>%MP[Eaa2D+>PW+2B`~>", "Zembrax, 2026!"},
      // Text after the end mark is another text.
      {"base85", {}, decode, "<~9jqo~><~9jqo^~>", "ManMan "},
      // The example of ZeroMQ's Z85.
      {"z85", {}, encode, hex("864fd26fb559f75b"), "HelloWorld"},
      {"z85", {}, decode, "Hello\r\nWorld", hex("864fd26fb559f75b")},
      {"z85", {}, encode, "z", "Dh"},
      {"a1z26", {}, encode, "Hello, World 42", "8-5-12-12-15, 23-15-18-12-4 42"},
      {"a1z26", {{"separator", std::string(" ")}}, encode, "abc", "1 2 3"},
      {"a1z26", {}, decode, "8-5-12-12-15, 23-15-18-12-4 42", "HELLO, WORLD 42"},
      {"a1z26", {}, decode, "08-09 27-1 1-123", "HI 27-A A-123"},
      {"a1z26", {{"separator", std::string(" ")}}, decode, "1 2 3", "ABC"},
      {"a1z26", {{"separator", std::string(", ")}}, decode, "1, 2,3", "AB,C"},
      {"nato", {}, encode, "Hi 2!", "Hotel India / Two !"},
      {"nato", {}, encode, "JX\n9", "Juliett X-ray\nNine"},
      {"nato", {}, decode, "Hotel India / Two !", "HI 2!"},
      {"nato", {}, decode, "alpha JULIET xray Niner whisky\nAlfa", "AJX9W\nA"},
      {"nato", {}, decode, "Hotels Yankee", "HotelsY"},
      {"bacon", {}, encode, "Bacon!", "AAAAB AAAAA AAABA ABBAB ABBAA"},
      {"bacon", {}, encode, "JVK", "ABAAA BAABB ABAAB"},
      {"bacon", {{"letters", 26}}, encode, "JVK", "ABAAB BABAB ABABA"},
      {"bacon", {{"digits", true}}, encode, "ba", "00001 00000"},
      {"bacon", {}, decode, "aaaab-AAAAA.aaab a", "BAC"},
      {"bacon", {{"letters", 26}, {"digits", true}}, decode, "01001 11001 0101", "JZ"},
      // Past the end of the alphabet of 24.
      {"bacon", {}, decode, "BBBBA AAAAA", "A"},
      {"polybius", {}, encode, "Hello, Jim", "23 15 31 31 34 24 24 32"},
      {"polybius", {}, decode, "23-15 3131,34 (52 34 42 31 14)", "HELLOWORLD"},
      {"polybius", {{"key", std::string("zembrax")}}, encode, "HIz", "32 33 11"},
      {"polybius", {{"key", std::string("ZEMBRAX")}}, decode, "32 33 11 21", "HIZA"},
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
