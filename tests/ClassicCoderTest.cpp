#include "classic/ClassicCoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "RandomText.h"

namespace {

using namespace std::string_literals;

struct ShiftCase {
  std::string text;
  std::int32_t shift;
  std::string shifted;
};

TEST(CaesarShift, KnownAnswers) {
  const std::vector<ShiftCase> cases = {
      {"Hello, World!", 3, "Khoor, Zruog!"},
      {"Khoor, Zruog!", -3, "Hello, World!"},
      {"xyz XYZ", 4, "bcd BCD"},  // each case wraps within itself
      {"abc", -3, "xyz"},
      {"Hello", 29, "Khoor"},
      {"Hello", -29, "Ebiil"},
      {"Hello", 0, "Hello"},
      {"Hello", 26, "Hello"},
      {"Hello", 52, "Hello"},
      {"Hello", -26, "Hello"},
      {"A", -30, "W"},
      {"Zebra-9", 1, "Afcsb-9"},
      {"Zebra-9", -27, "Ydaqz-9"},
      {"A", INT32_MAX, "X"},  // 2147483647 leaves 23 after whole turns
      {"A", INT32_MIN, "C"},  // -2147483648 leaves -24
      // Neighbours of the letter ranges, line breaks and bytes whose lower
      // seven bits look like letters are not letters.
      {"@[`{\r\n\xC1\xE1\x80\xFF", 5, "@[`{\r\n\xC1\xE1\x80\xFF"},
  };
  const ClassicCoder coder;
  for (const auto& [text, shift, shifted] : cases) {
    EXPECT_EQ(coder.caesarShift(text, shift), shifted) << text << " by " << shift;
  }
}

TEST(CaesarShiftFull, KnownAnswers) {
  const std::vector<ShiftCase> cases = {
      {"abc", 1, "bcd"},
      {"abc", 254, "\x60\x61\x62"},
      {"abc", 255, "abc"},
      {"abc", 256, "bcd"},
      {"abc", 510, "abc"},
      {"\xFF\x01\x80\x41", 1, "\x01\x02\x81\x42"},   // 1 follows 255
      {"\xFF\x01\x80\x41", -1, "\xFE\xFF\x7F\x40"},  // 255 precedes 1
      {"Hi", 200, "\x11\x32"},
      {"Hi", -200, "\x7F\xA0"},
      {"Hi", -300, "\x1B\x3C"},
      {"\r\n", INT32_MIN, "\x8C\x89"},  // -2147483648 leaves -128
      // A zero byte is outside the cycle: it lands on the shift, or on 255.
      {"\0"s, 5, "\x05"},
      {"\0"s, -5, "\xFA"},
      {"\0"s, 0, "\xFF"},
  };
  const ClassicCoder coder;
  for (const auto& [text, shift, shifted] : cases) {
    EXPECT_EQ(coder.caesarShiftFull(text, shift), shifted) << "shift " << shift;
  }
}

TEST(CaesarShift, ShiftingBackRestoresEveryText) {
  const ClassicCoder coder;
  RandomText random;
  for (int round = 0; round < 500; ++round) {
    const std::string text = random.withoutZero(random.length(200));
    const int shift = random.integer(INT32_MIN + 1, INT32_MAX);
    const int small = random.integer(-600, 600);
    for (int s : {shift, small}) {
      const std::string letters = coder.caesarShift(text, s);
      ASSERT_EQ(letters.size(), text.size());
      ASSERT_EQ(coder.caesarShift(letters, -s), text) << "shift " << s;
      const std::string full = coder.caesarShiftFull(text, s);
      ASSERT_EQ(full.find('\0'), std::string::npos) << "shift " << s;
      ASSERT_EQ(coder.caesarShiftFull(full, -s), text) << "shift " << s;
    }
  }
}

struct VigenereCase {
  std::string text;
  std::string key;
  std::string encoded;
};

TEST(Vigenere, KnownAnswersBothWays) {
  const std::vector<VigenereCase> cases = {
      {"Hello, World!", "ABC", "Hfnlp, Yosnd!"},  // punctuation takes no key letter
      {"xyz", "ABC", "xzb"},
      {"XYZ", "ABC", "XZB"},
      {"a-b c", "ABC", "a-c e"},
      {"Hello, World!", "abc", "Hfnlp, Yosnd!"},  // the key's case does not matter
      {"Hello", "D", "Khoor"},                    // one letter: a Caesar shift
      {"aaa", "b2d", "bad"},                      // a non-letter key byte acts as 'A'
      {"abc", "\xC2", "abc"},                     // so does a byte 0x80-0xFF
      {"Hello", "1 2", "Hello"},
      {"a\r\n\xE9z", "BC",
       "b\r\n\xE9"
       "b"},                   // line breaks and 0xE9 take no key letter
      {"Hello", "", "Hello"},  // an empty key changes nothing
  };
  const ClassicCoder coder;
  for (const auto& [text, key, encoded] : cases) {
    EXPECT_EQ(coder.vigenereEncode(text, key), encoded) << text << " with " << key;
    EXPECT_EQ(coder.vigenereDecode(encoded, key), text) << encoded << " with " << key;
  }
  EXPECT_EQ(coder.vigenereDecode("xyz", "ABC"), "xxx");
  EXPECT_EQ(coder.vigenereCore("xyz", "ABC", 0), "xzb");
  EXPECT_EQ(coder.vigenereCore("xyz", "ABC", 1), "xxx");
}

TEST(Vigenere, SanitizeKeyReplacesNonLetters) {
  const ClassicCoder coder;
  std::string key = "aZ 9@[`{\xC1\xFF";
  coder.sanitizeKey(key);
  EXPECT_EQ(key, "aZAAAAAAAA");
}

TEST(Vigenere, DecodingRestoresEveryText) {
  const ClassicCoder coder;
  RandomText random;
  for (int round = 0; round < 500; ++round) {
    const std::string text = random.withoutZero(random.length(200));
    // Mostly letters, so that key letters of every value are used.
    const std::string key = round % 2 ? random.bytes(1 + random.length(9), 'A', 'z')
                                      : random.withoutZero(1 + random.length(9));
    const std::string encoded = coder.vigenereEncode(text, key);
    ASSERT_EQ(encoded.size(), text.size());
    ASSERT_EQ(coder.vigenereDecode(encoded, key), text);
  }
}

struct Base64Case {
  std::string plain;
  std::string coded;
};

TEST(Base64, KnownAnswersBothWays) {
  const std::vector<Base64Case> cases = {
      {"", ""},
      {"abc", "YWJj"},
      {"Hello", "SGVsbG8="},
      {"a", "YQ=="},
      {"ab", "YWI="},
      {"Hello, World!", "SGVsbG8sIFdvcmxkIQ=="},
      {"a 0", "YSAw"},  // an 'A' carrying data is never padding
      {"ab\xC0", "YWLA"},
      {"a ", "YSA="},
      {"\xE9", "6Q=="},  // bytes are unsigned
      {"\xFF\xFE\xFD", "//79"},
      {"a\r\nb", "YQ0KYg=="},  // a line break in the text is data
  };
  const ClassicCoder coder;
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(coder.base64Encode(plain), coded) << plain;
    EXPECT_EQ(coder.base64Decode(coded), plain) << coded;
  }
}

TEST(Base64, DecodesMalformedTextTolerantly) {
  const std::vector<Base64Case> cases = {
      {"abc", "YWJjYQ"},  // an unfinished last group is ignored
      {"abc", "YWJjZA"},
      {"", "YWJ"},
      {"aabc", "YQ==YWJj"},  // padding in the middle ends only its own group
      {"a ", "YS=="},        // '=' counts as 0
      {"", "AAAA"},          // a zero byte ends its group's output
      {"", "AGJj"},
      {"a", "YQBj"},
      {"a`#", "YW*j"},     // a character outside the alphabet counts as 0
      {"ab@", "YWJ\xE9"},  // so does a byte 0x80-0xFF
      // Whitespace is skipped, so wrapped Base64 decodes whole.
      {"abcabc", "YWJj\r\nYWJj"},
      {"abcabc", "YW Jj\tYW\nJj"},
      {"abc", "\v\fYWJj \r\n"},
      {"", " \r\n"},
  };
  const ClassicCoder coder;
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(coder.base64Decode(coded), plain) << coded;
  }
}

TEST(Base64, IndexIsThePlaceInTheAlphabet) {
  const std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const ClassicCoder coder;
  for (int c = 0; c < 256; ++c) {
    const std::size_t place = alphabet.find(static_cast<char>(c));
    const int expected = place == std::string_view::npos ? 0 : static_cast<int>(place);
    EXPECT_EQ(coder.base64Index(static_cast<unsigned char>(c)), expected) << c;
  }
}

TEST(Base64, DecodingRestoresEveryTextWithoutZeroBytes) {
  const ClassicCoder coder;
  RandomText random;
  for (int round = 0; round < 500; ++round) {
    const std::string text = random.withoutZero(random.length(300));
    const std::string coded = coder.base64Encode(text);
    ASSERT_EQ(coded.size(), (text.size() + 2) / 3 * 4);
    ASSERT_EQ(coder.base64Decode(coded), text);
    // Wrapped at 76 columns, as mail does, it still decodes whole.
    std::string wrapped;
    for (std::size_t i = 0; i < coded.size(); i += 76)
      wrapped += coded.substr(i, 76) + "\r\n";
    ASSERT_EQ(coder.base64Decode(wrapped), text);
  }
}

// Whitespace anywhere counts for nothing, also where zero bytes cut groups
// short and other characters end the fast runs.
TEST(Base64, WhitespaceAnywhereDecodesAsWithoutIt) {
  const ClassicCoder coder;
  RandomText random;
  const std::string blanks = " \t\r\n\v\f";
  for (int round = 0; round < 500; ++round) {
    std::string coded = coder.base64Encode(random.bytes(random.length(600)));
    if (round % 4 == 0 && !coded.empty()) coded[random.length(coded.size() - 1)] = '*';
    std::string spaced;
    for (char c : coded) {
      while (random.integer(0, 9) == 0)
        spaced += blanks[static_cast<std::size_t>(random.integer(0, 5))];
      spaced += c;
    }
    ASSERT_EQ(coder.base64Decode(spaced), coder.base64Decode(coded)) << spaced;
  }
}

}  // namespace
