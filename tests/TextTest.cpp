#include "Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RandomText.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"

namespace {

using namespace std::string_literals;
using text::Encoding;

struct EncodingCase {
  Encoding encoding;
  std::string characters;  // UTF-8
  std::string bytes;
  std::string read = characters;  // the characters read back, where they differ
};

// Characters of each encoding's own script and the bytes it writes them as.
TEST(Text, WritesAndReadsTheCharactersOfEveryEncoding) {
  const std::vector<EncodingCase> cases = {
      {Encoding::utf8, "Zażółć 你好 😀", "Zażółć 你好 😀"},
      {Encoding::windows874, "สวัสดี €", "\xCA\xC7\xD1\xCA\xB4\xD5 \x80"},
      {Encoding::windows1250, "Zażółć", "Za\xBF\xF3\xB3\xE6"},
      {Encoding::windows1251, "Привет", "\xCF\xF0\xE8\xE2\xE5\xF2"},
      {Encoding::windows1252, "café €", "caf\xE9 \x80"},
      {Encoding::windows1253, "Γειά", "\xC3\xE5\xE9\xDC"},
      {Encoding::windows1254, "ğış", "\xF0\xFD\xFE"},
      {Encoding::windows1255, "שלום", "\xF9\xEC\xE5\xED"},
      {Encoding::windows1256, "سلام", "\xD3\xE1\xC7\xE3"},
      {Encoding::windows1257, "ąčę", "\xE0\xE8\xE6"},
      // ệ as ê and a combining dot, which it is read back as
      {Encoding::windows1258, "Việt", "Vi\xEA\xF2t", "Viê\u0323t"},
  };
  for (const EncodingCase& row : cases) {
    const text::Encoded encoded = text::fromUtf8(row.characters, row.encoding);
    EXPECT_EQ(encoded.bytes, row.bytes) << text::nameOf(row.encoding);
    EXPECT_EQ(encoded.lost, 0u) << text::nameOf(row.encoding);
    EXPECT_EQ(text::toUtf8(row.bytes, row.encoding), row.read) << text::nameOf(row.encoding);
  }
}

TEST(Text, WritesAQuestionMarkForEachCharacterACodePageLacks) {
  const text::Encoded encoded = text::fromUtf8("Ωa😀€\xFFz", Encoding::windows1252);
  // A byte that is no UTF-8 is taken as it is, and is not lost.
  EXPECT_EQ(encoded.bytes, "?a?\x80\xFFz");
  EXPECT_EQ(encoded.lost, 2u);
  EXPECT_EQ(text::fromUtf8("Привет", Encoding::windows1250).lost, 6u);
  EXPECT_EQ(text::fromUtf8("\xEF\xBF\xBD", Encoding::windows1252).bytes, "?");
}

TEST(Text, UnassignedBytesOfACodePage) {
  // Those among 0x80-0x9F stand for the control character of their value,
  // both ways; others are no character.
  EXPECT_EQ(text::toUtf8("\x81\x8D", Encoding::windows1252), "\u0081\u008D");
  EXPECT_EQ(text::fromUtf8("\u0081\u008D", Encoding::windows1252).bytes, "\x81\x8D");
  EXPECT_EQ(text::toUtf8("\xAA", Encoding::windows1253), "\uFFFD");
  EXPECT_EQ(text::toUtf8("\xDB", Encoding::windows874), "\uFFFD");
}

struct InvalidCase {
  std::string bytes;
  std::vector<std::size_t> lengths;  // of the characters read
  std::string shown;
};

// One replacement character for each longest start of a sequence that
// could still have gone on.
TEST(Text, ReadsInvalidUtf8AsTheWebDoes) {
  const std::string r = "\uFFFD";
  const std::vector<InvalidCase> cases = {
      {"\x80", {1}, r},
      {"\xE2\x82", {2}, r},  // cut at the end
      {"\xE2\x82"
       "A",
       {2, 1},
       r + "A"},                                              // cut by another character
      {"a\xF0\x9F\x98\0b"s, {1, 3, 1, 1}, "a" + r + "\0b"s},  // cut by a zero byte
      {"\xF0\x80\x80", {1, 1, 1}, r + r + r},                 // overlong
      {"\xED\xA0\x80", {1, 1, 1}, r + r + r},                 // a surrogate
      {"\xF4\x90\x80\x80", {1, 1, 1, 1}, r + r + r + r},      // past U+10FFFF
      {"\xC0\xAF", {1, 1}, r + r},
      {"\xF0\x9F\x98\x80\x80", {4, 1}, "😀" + r},
      {"\xEF\xBF\xBD", {3}, r},  // U+FFFD itself
  };
  for (const InvalidCase& row : cases) {
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < row.bytes.size(); i += lengths.back())
      lengths.push_back(text::characterAt(row.bytes, i, Encoding::utf8).length);
    EXPECT_EQ(lengths, row.lengths);
    EXPECT_EQ(text::toUtf8(row.bytes, Encoding::utf8), row.shown);
  }
  EXPECT_TRUE(text::isUtf8("Zażółć \xEF\xBF\xBD"));
  EXPECT_FALSE(text::isUtf8("caf\xE9"));
}

// Going back a character lands where going forward started, in any bytes.
TEST(Text, StepsBackOverWhatItStepsForwardOver) {
  RandomText random;
  for (int round = 0; round < 2000; ++round) {
    // Mostly bytes that UTF-8 sequences are made of.
    std::string bytes = random.bytes(random.length(24), 0x70, 0xF5);
    if (round % 2 == 0) bytes += "😀é";
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < bytes.size();
         i += text::characterAt(bytes, i, Encoding::utf8).length)
      starts.push_back(i);
    starts.push_back(bytes.size());
    for (std::size_t k = 1; k < starts.size(); ++k)
      ASSERT_EQ(text::previousCharacter(bytes, starts[k], Encoding::utf8), starts[k - 1]);
  }
}

TEST(Text, NamesAndLocaleCharacterSets) {
  EXPECT_EQ(text::encodingNamed("UTF-8"), Encoding::utf8);
  EXPECT_EQ(text::encodingNamed("utf8"), Encoding::utf8);
  EXPECT_EQ(text::encodingNamed("Windows-1250"), Encoding::windows1250);
  EXPECT_EQ(text::encodingNamed("CP874"), Encoding::windows874);
  EXPECT_EQ(text::encodingNamed("latin1"), std::nullopt);
  EXPECT_EQ(text::encodingNamed("cp1259"), std::nullopt);
  for (Encoding encoding : text::kEncodings)
    EXPECT_EQ(text::encodingNamed(text::nameOf(encoding)), encoding);
  EXPECT_EQ(text::encodingOfCharset("UTF-8"), Encoding::utf8);
  EXPECT_EQ(text::encodingOfCharset("CP1251"), Encoding::windows1251);
  // The C locale's ASCII, and any other character set, read as Windows-1252.
  EXPECT_EQ(text::encodingOfCharset("ANSI_X3.4-1968"), Encoding::windows1252);
  EXPECT_EQ(text::encodingOfCharset("ISO-8859-2"), Encoding::windows1252);
}

// The coders see the text's UTF-8 bytes, so their results are what other
// tools give for the same text.
TEST(Text, CodersGiveWhatOtherToolsGiveForUtf8Text) {
  const std::string text =
      text::fromUtf8("Zażółć gęślą jaźń — Привет, Γειά σου, 你好 😀", Encoding::utf8).bytes;
  EXPECT_EQ(
      ClassicCoder().base64Encode(text),
      "WmHFvMOzxYLEhyBnxJnFm2zEhSBqYcW6xYQg4oCUINCf0YDQuNCy0LXRgiwgzpPOtc65zqwgz4POv8+FLCDkvaDl"
      "pb0g8J+YgA==");
  EXPECT_EQ(CharCoder().urlEncode(text::fromUtf8("ä €", Encoding::utf8).bytes),
            "%C3%A4%20%E2%82%AC");
  EXPECT_EQ(text::toUtf8(ClassicCoder().base64Decode("WmHFvMOzxYLEhw=="), Encoding::utf8),
            "Zażółć");
}

}  // namespace
