#include "stream/StreamCoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RandomText.h"
#include "classic/ClassicCoder.h"
#include "signal/SignalCoder.h"

namespace {

// One operation as a stream and as its one-shot call, with the characters
// its test texts are made of (empty for any byte).
struct StreamCase {
  const char* name;
  std::function<std::unique_ptr<StreamCoder>()> stream;
  std::function<std::string(std::string)> oneShot;
  std::string alphabet;
};

CharCoder charCoderOfWidth(int width) {
  CharCoder coder;
  coder.setBitWidth(width);
  return coder;
}

std::vector<StreamCase> streamCases() {
  static const ClassicCoder classic;
  static const SignalCoder signal;
  static const CharCoder chars8 = charCoderOfWidth(8);
  static const CharCoder chars7 = charCoderOfWidth(7);
  const std::string spaces = " \t\r\n\v\f";
  return {
      {"caesarShift", [] { return stream::caesarShift(-29); },
       [](std::string t) { return classic.caesarShift(t, -29); }, ""},
      {"caesarShiftFull", [] { return stream::caesarShiftFull(300); },
       [](std::string t) { return classic.caesarShiftFull(t, 300); }, ""},
      {"vigenereEncode", [] { return stream::vigenereEncode("Lu-X"); },
       [](std::string t) { return classic.vigenereEncode(t, "Lu-X"); }, ""},
      {"vigenereDecode", [] { return stream::vigenereDecode("key"); },
       [](std::string t) { return classic.vigenereDecode(t, "key"); }, ""},
      {"vigenere, empty key", [] { return stream::vigenereEncode(""); },
       [](std::string t) { return classic.vigenereEncode(t, ""); }, ""},
      {"base64Encode", [] { return stream::base64Encode(); },
       [](std::string t) { return classic.base64Encode(t); }, ""},
      {"base64Decode", [] { return stream::base64Decode(); },
       [](std::string t) { return classic.base64Decode(t); }, "QUJDabc019+/=" + spaces + "%"},
      {"substitute", [] { return stream::substitute("abc", "xy"); },
       [](std::string t) { return chars8.substitute(t, "abc", "xy"); }, ""},
      {"urlEncode", [] { return stream::urlEncode(); },
       [](std::string t) { return chars8.urlEncode(t); }, ""},
      {"urlDecode", [] { return stream::urlDecode(); },
       [](std::string t) { return chars8.urlDecode(t); }, "%%%%4aF0zx "},
      {"bitwiseApply", [] { return stream::bitwiseApply(300, &CharCoder::bitXor); },
       [](std::string t) { return chars8.bitwiseApply(t, 300, &CharCoder::bitXor); }, ""},
      {"toBinary/7", [] { return stream::toBinary(7); },
       [](std::string t) { return chars7.toBinary(t); }, ""},
      {"fromBinary/7", [] { return stream::fromBinary(7); },
       [](std::string t) { return chars7.fromBinary(t); }, "0011x"},
      {"fromBinary/8", [] { return stream::fromBinary(8); },
       [](std::string t) { return chars8.fromBinary(t); }, "0011x"},
      {"toDecimal", [] { return stream::toDecimal(); },
       [](std::string t) { return chars8.toDecimal(t); }, ""},
      {"fromDecimal", [] { return stream::fromDecimal(); },
       [](std::string t) { return chars8.fromDecimal(t); }, "0123456789012345678-+" + spaces},
      {"fromDecimal, stopping", [] { return stream::fromDecimal(); },
       [](std::string t) { return chars8.fromDecimal(t); }, "0123456789-+ \nx"},
      {"toHex", [] { return stream::toHex(); }, [](std::string t) { return chars8.toHex(t); }, ""},
      {"morseEncode", [] { return stream::morseEncode(); },
       [](std::string t) { return signal.morseEncode(t); }, ""},
      {"morseDecode", [] { return stream::morseDecode(); },
       [](std::string t) { return signal.morseDecode(t); }, "..........----- \r\nx"},
      {"lsbExtract", [] { return stream::lsbExtract(); },
       [](std::string t) { return signal.lsbExtract(t); }, ""},
  };
}

// The text fed in pieces of the sizes that `pieceSize` gives, and finished.
template <typename PieceSize>
std::string streamed(StreamCoder& coder, const std::string& text, PieceSize pieceSize) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t piece = pieceSize();
    out += coder.feed(text.substr(at, piece));
    at += piece;
  }
  return out + coder.finish();
}

std::string streamed(StreamCoder& coder, const std::string& text, RandomText& random,
                     std::size_t largestPiece) {
  return streamed(coder, text, [&] { return 1 + random.length(largestPiece - 1); });
}

// A text of `length` random bytes other than zero, or of the row's characters.
std::string textFor(const StreamCase& row, RandomText& random, std::size_t length) {
  std::string text = random.withoutZero(length);
  if (!row.alphabet.empty()) {
    for (char& c : text)
      c = row.alphabet[static_cast<unsigned char>(c) % row.alphabet.size()];
  }
  return text;
}

// Wherever the pieces end, the stream gives what the one-shot call gives.
TEST(StreamCoder, GivesTheOneShotResultWhereverThePiecesEnd) {
  RandomText random;
  for (const StreamCase& row : streamCases()) {
    for (int round = 0; round < 300; ++round) {
      const std::string text = textFor(row, random, random.length(round < 200 ? 40 : 400));
      const std::size_t largestPiece = round % 3 == 0 ? 1 : 1 + random.length(70);
      auto coder = row.stream();
      ASSERT_EQ(streamed(*coder, text, random, largestPiece), row.oneShot(text))
          << row.name << " on \"" << text << "\"";
    }
    // No text at all.
    EXPECT_EQ(row.stream()->finish(), row.oneShot("")) << row.name;
  }
}

// Long texts too, up to 1 MiB, in pieces of every scale: single bytes
// throughout, and sizes spread evenly over the powers of two up to 1 MiB,
// so that one piece may hold the whole text.
TEST(StreamCoder, GivesTheOneShotResultForLongTextsInPiecesOfAnySize) {
  constexpr std::size_t kMiB = 1 << 20;
  RandomText random;
  for (const StreamCase& row : streamCases()) {
    const std::string bytewise = textFor(row, random, 64 << 10);
    auto coder = row.stream();
    ASSERT_EQ(streamed(*coder, bytewise, [] { return std::size_t{1}; }), row.oneShot(bytewise))
        << row.name << " in single bytes";
    for (const std::size_t length : {kMiB, kMiB - 1, std::size_t{300'000}}) {
      const std::string text = textFor(row, random, length);
      const auto anyScale = [&] { return 1 + random.length((1 << random.integer(0, 20)) - 1); };
      coder = row.stream();
      ASSERT_EQ(streamed(*coder, text, anyScale), row.oneShot(text))
          << row.name << " on " << length << " bytes";
    }
  }
}

// What a stream keeps back stays small: a word or number longer than any
// piece still reads as it would in one piece.
TEST(StreamCoder, ReadsWordsLongerThanWhatItKeeps) {
  const CharCoder chars;
  const SignalCoder signal;
  RandomText random;
  const std::vector<std::string> decimals = {
      "72 " + std::string(200, '9') + "7 105",  // a 201-digit number, modulo 2^32
      "-" + std::string(150, '1') + " 65",
      "72 " + std::string(100, '1') + "x 65",  // read up to the x, then stop
      "72 +" + std::string(100, 'y') + " 65",
      // Signs start numbers within a word: a long word of many numbers
      // reads as they do whole, and so does one that stops partway.
      "72 " + std::string(40, '5') + "-" + std::string(40, '5') + " 65",
      "1" + std::string(30, '+') + std::string(60, '2'),
      [] {
        std::string word;
        for (int i = 0; i < 40; ++i)
          word += "12-";
        return word + "3 65";
      }(),
      "7 " + std::string(70, '8') + "+-9 65",
      std::string(70, '4') + "-",
  };
  for (const std::string& text : decimals) {
    auto coder = stream::fromDecimal();
    EXPECT_EQ(streamed(*coder, text, random, 1), chars.fromDecimal(text)) << text;
  }
  const std::string morse = "... " + std::string(100, '.') + " --- " + std::string(9, '-') + "x";
  auto coder = stream::morseDecode();
  EXPECT_EQ(streamed(*coder, morse, random, 3), signal.morseDecode(morse));
}

}  // namespace
