#include "char/CharCoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "RandomText.h"

namespace {

using namespace std::string_literals;

struct SubstitutionCase {
  std::string text;
  std::string from;
  std::string to;
  std::string result;
};

TEST(Substitute, KnownAnswers) {
  const std::vector<SubstitutionCase> cases = {
      {"Hello World", "abcdefghijklmnopqrstuvwxyz", "zyxwvutsrqponmlkjihgfedcba", "Hvool Wliow"},
      {"abba", "ab", "ba", "baab"},    // each place is replaced once
      {"a", "ab", "bc", "b"},          // no chaining a -> b -> c
      {"aaa", "aa", "xy", "xxx"},      // the first occurrence wins
      {"abcd", "abcd", "XY", "XYcd"},  // pairs end with the shorter alphabet
      {"abcd", "ab", "XYZW", "XYcd"},
      {"Abc", "abc", "xyz", "Ayz"},  // case-sensitive
      {"l1\r\nl2", "l", "L", "L1\r\nL2"},
      {"\xE9\xC9", "\xE9", "e", "e\xC9"},  // bytes 0x80-0xFF match only themselves
      {"abc", "", "xyz", "abc"},           // an empty alphabet pairs nothing
  };
  const CharCoder coder;
  for (const auto& [text, from, to, result] : cases) {
    EXPECT_EQ(coder.substitute(text, from, to), result) << text << " " << from << " " << to;
  }
}

struct CodedCase {
  std::string plain;
  std::string coded;
};

TEST(Url, KnownAnswersBothWays) {
  const std::vector<CodedCase> cases = {
      {"", ""},
      {"Hello World!", "Hello%20World%21"},
      {"a-b_c.d~e", "a%2Db%5Fc%2Ed%7Ee"},  // even the unreserved marks are escaped
      {"a+b=c", "a%2Bb%3Dc"},
      {"100%", "100%25"},
      {"line1\r\nline2", "line1%0D%0Aline2"},
      {"\x80\xE9\xFF\x7F", "%80%E9%FF%7F"},
      {"Az09", "Az09"},
  };
  const CharCoder coder;
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(coder.urlEncode(plain), coded) << plain;
    EXPECT_EQ(coder.urlDecode(coded), plain) << coded;
  }
}

TEST(Url, DecodesMalformedEscapesByTheirDigitValues) {
  const std::vector<CodedCase> cases = {
      {"J", "%4a"},  // lower-case hex digits read as hex
      {"\xE9", "%e9"},
      {"\x10", "%GG"},  // letters beyond F count 16 to 35
      {"S", "%ZZ"},
      {" ", "%zz"},  // other characters count 32
      {"\n", "%gA"},
      {"a+b", "a+b"},   // '+' is not a space
      {"abc", "abc%"},  // an escape cut short is dropped
      {"ab", "ab%4"},
      {"", "%"},
      {"\x04"
       "1",
       "%%41"},  // an escape takes the two characters after '%', whatever they are
      {"ab\0cd"s, "ab%00cd"},
  };
  const CharCoder coder;
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(coder.urlDecode(coded), plain) << coded;
    // After enough plain text that the wide kernels reach each case, at
    // every place within their blocks.
    for (std::size_t lead = 32; lead < 160; ++lead) {
      const std::string before(lead, 'x');
      EXPECT_EQ(coder.urlDecode(before + coded), before + plain) << lead << " " << coded;
    }
  }
}

TEST(Url, SupportOperations) {
  const CharCoder coder;
  int escaped = 0;
  for (int c = 0; c < 256; ++c)
    escaped += coder.needsEscape(static_cast<unsigned char>(c));
  EXPECT_EQ(escaped, 256 - 62);
  EXPECT_FALSE(coder.needsEscape('z'));
  EXPECT_TRUE(coder.needsEscape('~'));
  EXPECT_EQ(coder.hexDigit(9), '9');
  EXPECT_EQ(coder.hexDigit(10), 'A');
  EXPECT_EQ(coder.hexDigit(15), 'F');
  EXPECT_EQ(coder.hexValue('f'), 15);
  EXPECT_EQ(coder.hexValue('g'), 32);
  EXPECT_EQ(coder.hexValue('Z'), 35);
  EXPECT_EQ(coder.hexValue(0xE9), 32);
}

TEST(Url, DecodingRestoresEveryText) {
  const CharCoder coder;
  RandomText random;
  for (int round = 0; round < 500; ++round) {
    const std::string text = random.bytes(random.length(200));
    const std::string coded = coder.urlEncode(text);
    std::size_t escapes = 0;
    for (unsigned char c : text)
      escapes += coder.needsEscape(c);
    ASSERT_EQ(coded.size(), text.size() + 2 * escapes);
    ASSERT_EQ(coder.urlDecode(coded), text);
  }
}

struct BitwiseCase {
  std::string text;
  std::int32_t value;
  CharCoder::ByteOperation operation;
  std::string result;
};

TEST(Bitwise, KnownAnswers) {
  const std::vector<BitwiseCase> cases = {
      {"xyz", 32, &CharCoder::bitXor, "XYZ"},
      {"XYZ", 32, &CharCoder::bitXor, "xyz"},
      {"Hello", 223, &CharCoder::bitAnd, "HELLO"},
      {"HELLO", 32, &CharCoder::bitOr, "hello"},
      {"abc", 0, &CharCoder::bitOr, "abc"},
      {"abc", 255, &CharCoder::bitAnd, "abc"},
      {"abc", 255, &CharCoder::bitXor, "\x9E\x9D\x9C"},
      {"abc", 0, &CharCoder::bitAnd, "\0\0\0"s},  // zero bytes stay in the result
      {"AbA", 65, &CharCoder::bitXor, "\0#\0"s},
      {"abc", 256, &CharCoder::bitXor, "abc"},  // only the low eight bits count
      {"abc", 300, &CharCoder::bitXor, "MNO"},
      {"abc", -1, &CharCoder::bitXor, "\x9E\x9D\x9C"},
      {"a\r\nb", 32, &CharCoder::bitXor, "A-*B"},
      {"abc", 32, nullptr, "abc"},  // no operation
  };
  const CharCoder coder;
  for (const auto& [text, value, operation, result] : cases) {
    EXPECT_EQ(coder.bitwiseApply(text, value, operation), result) << text << " " << value;
  }
}

struct BinaryCase {
  std::int32_t width;
  std::string plain;
  std::string binary;
};

TEST(Binary, KnownAnswersBothWays) {
  const std::vector<BinaryCase> cases = {
      {8, "", ""},
      {8, "Hi", "0100100001101001"},
      {7, "Hi", "10010001101001"},
      {8, "H\r\ni", "01001000000011010000101001101001"},  // line breaks are bytes too
      {8, "\xE9", "11101001"},
      {8, "\0"s, "00000000"},
  };
  for (const auto& [width, plain, binary] : cases) {
    CharCoder coder;
    ASSERT_TRUE(coder.setBitWidth(width));
    EXPECT_EQ(coder.toBinary(plain), binary) << width;
    EXPECT_EQ(coder.fromBinary(binary), plain) << width << " " << binary;
  }
}

TEST(Binary, ReadsWholeGroupsFromTheStart) {
  const std::vector<BinaryCase> cases = {
      {8, "\x91", "10010001101001"},  // the last six characters are no group
      {7, "$\x1A", "0100100001101001"},
      {8, "H4", "01001000 01101001"},  // the space is a 0 bit and shifts what follows
      {8, "", "0100100"},
      {7, "i", "1101001"},
      {8, "\xAA", "1a1b1c1d"},  // only '1' is a set bit
  };
  for (const auto& [width, plain, binary] : cases) {
    CharCoder coder;
    ASSERT_TRUE(coder.setBitWidth(width));
    EXPECT_EQ(coder.fromBinary(binary), plain) << width << " " << binary;
  }
  CharCoder coder;
  coder.setBitWidth(7);
  EXPECT_EQ(coder.toBinary("\xE9"), "1101001");  // bit 7 is left out
}

TEST(Binary, WidthIsSevenOrEight) {
  CharCoder coder;
  EXPECT_EQ(coder.toBinary("A"), "01000001");  // 8 from the start
  for (int refused : {16, 0, 6, 9, -8})
    EXPECT_FALSE(coder.setBitWidth(refused)) << refused;
  EXPECT_EQ(coder.toBinary("A"), "01000001");
  EXPECT_TRUE(coder.setBitWidth(7));
  EXPECT_FALSE(coder.setBitWidth(16));
  EXPECT_EQ(coder.toBinary("A"), "1000001");
}

TEST(Binary, DecodingRestoresEveryText) {
  RandomText random;
  CharCoder eight;
  CharCoder seven;
  seven.setBitWidth(7);
  for (int round = 0; round < 300; ++round) {
    const std::string text = random.bytes(random.length(200));
    const std::string binary = eight.toBinary(text);
    ASSERT_EQ(binary.size(), text.size() * 8);
    ASSERT_EQ(eight.fromBinary(binary), text);
    std::string low = text;
    for (char& c : low)
      c = static_cast<char>(c & 0x7F);
    const std::string sevenBits = seven.toBinary(text);
    ASSERT_EQ(sevenBits.size(), text.size() * 7);
    ASSERT_EQ(seven.fromBinary(sevenBits), low);
  }
}

// Long enough that each result is built the way results too big for the
// caches are.
TEST(LongText, BinaryAndDecimalRestoreIt) {
  const std::string text = RandomText().bytes(1 << 20);
  const CharCoder coder;
  ASSERT_EQ(coder.fromBinary(coder.toBinary(text)), text);
  ASSERT_EQ(coder.fromDecimal(coder.toDecimal(text)), text);
}

TEST(Decimal, WritesSignedBytes) {
  const std::vector<CodedCase> cases = {
      {"", ""},         {"Hi", "72 105 "},        {"\r\n", "13 10 "},
      {"\xE9", "-23 "}, {"\x80\xFF", "-128 -1 "}, {"\0\x7F"s, "0 127 "},
  };
  const CharCoder coder;
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(coder.toDecimal(plain), coded) << coded;
    EXPECT_EQ(coder.fromDecimal(coded), plain) << coded;
  }
}

// Every byte value at every place of the blocks that the wide kernels take,
// against numbers written here by the standard library.
TEST(Decimal, WritesEveryByteAtEveryPlace) {
  const CharCoder coder;
  for (int start = 0; start < 256; ++start) {
    std::string text;
    std::string coded;
    for (int k = 0; k < 256; ++k) {
      const auto c = static_cast<char>(start + k);
      text += c;
      coded += std::to_string(static_cast<signed char>(c)) + " ";
    }
    ASSERT_EQ(coder.toDecimal(text), coded) << "from byte " << start;
  }
}

TEST(Decimal, ReadsNumbersAsAStreamDoes) {
  const std::vector<CodedCase> cases = {
      {"Hi", "  72\r\n105 "},
      {"Hi", "328 -151"},  // only the low eight bits count
      {"\xE9", "233"},
      {"\xE9", "-23"},
      {"Hi", "072 +105"},  // leading zeros and a plus sign are fine
      {"H", "\v\f72\t"},
      {"H\xFF", "72-1"},   // a sign may follow a number directly
      {"H", "72,105"},     // a comma ends the reading
      {"H", "72abc 105"},  // so does a letter, after the number it follows
      {"", "abc 72"},
      {"", "- 5"},  // a sign must be followed by a digit
      {"", "+-5"},
      {"H\0i"s, "72 0 105"},
      {"\0"s, "0x48"},  // no hexadecimal prefix: "x" ends the reading
      // Numbers beyond 32 bits still give their low eight bits.
      {"H", "4294967368"},
      {"\xFF"
       "i",
       "99999999999999999999 105"},
      {"\xB8", "-4294967368"},
  };
  const CharCoder coder;
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(coder.fromDecimal(coded), plain) << coded;
    // After enough numbers, and with enough whitespace after, that the wide
    // kernels reach each case, at every place within their blocks.
    for (std::size_t lead = 32; lead < 160; ++lead) {
      std::string before;
      for (std::size_t k = 0; k < lead / 2; ++k)
        before += "7 ";
      before.resize(lead, ' ');
      EXPECT_EQ(coder.fromDecimal(before + coded + std::string(40, ' ')),
                std::string(lead / 2, '\a') + plain)
          << lead << " " << coded;
    }
  }
}

TEST(Decimal, DecodingRestoresEveryText) {
  const CharCoder coder;
  RandomText random;
  for (int round = 0; round < 300; ++round) {
    const std::string text = random.bytes(random.length(200));
    ASSERT_EQ(coder.fromDecimal(coder.toDecimal(text)), text);
  }
}

TEST(Hex, WritesTwoDigitsAndASpacePerByte) {
  const std::vector<CodedCase> cases = {
      {"", ""},     {"Hi", "48 69 "}, {"\r\n", "0D 0A "},
      {"~", "7E "}, {" ", "20 "},     {"\xE9\x80\xFF", "E9 80 FF "},
  };
  const CharCoder coder;
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(coder.toHex(plain), coded) << coded;
    EXPECT_EQ(coder.fromHex(coded), "HEX -> ASCII nog niet beschikbaar...");
  }
}

}  // namespace
