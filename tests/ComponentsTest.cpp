#include "BoxText.h"
#include "Exceptions.h"
#include "StrToInt.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "CSpinEdit.h"
#include "JpegImage.h"

namespace {

using namespace std::string_literals;

TEST(StrToInt, ReadsSigned32BitDecimals) {
  const std::vector<std::pair<QString, std::int32_t>> cases = {
      {"0", 0},
      {"-0", 0},
      {"+5", 5},
      {"007", 7},
      {"255", 255},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
  };
  for (const auto& [text, value] : cases)
    EXPECT_EQ(StrToInt(text), value) << text.toStdString();
}

TEST(StrToInt, RaisesTheConversionErrorForAnythingElse) {
  const std::vector<QString> notIntegers = {
      "",   // nothing
      "-",  // a sign alone
      "+",
      "--1",          // two signs
      "2147483648",   // one past the largest
      "-2147483649",  // one past the smallest
      "1a",           // trailing letter
      " 1",           // spaces are not digits
      "1 ",
      "0x10",                         // no hexadecimal
      QString::fromUtf16(u"\uFF11"),  // a full-width digit is not a decimal digit here
  };
  for (const QString& text : notIntegers) {
    EXPECT_THROW(StrToInt(text), EConvertError) << text.toStdString();
  }
  try {
    StrToInt("-");
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "'-' is not a valid integer value");
  }
}

TEST(BoxText, EveryByteButZeroAndLineBreaksSurvivesTheRoundTripInEachCodePage) {
  std::string bytes;
  for (int c = 1; c < 256; ++c) {
    if (c != '\r' && c != '\n') bytes += static_cast<char>(c);
  }
  bytes += "\r\nlast line";
  // Only the bytes a code page leaves without a character come back as '?'.
  for (text::Encoding encoding : text::kEncodings) {
    if (encoding == text::Encoding::utf8) continue;
    const QString shown = fromBytes(bytes, encoding);
    std::string expected = bytes;
    for (std::size_t i = 0; i < expected.size(); ++i)
      if (shown[static_cast<qsizetype>(i)] == QChar::ReplacementCharacter) expected[i] = '?';
    EXPECT_EQ(shown.size(), 253 + 1 + 9) << text::nameOf(encoding);
    EXPECT_EQ(toBytes(shown, encoding).bytes, expected) << text::nameOf(encoding);
  }
}

TEST(BoxText, LineBreaks) {
  for (text::Encoding encoding : {text::Encoding::windows1252, text::Encoding::utf8}) {
    EXPECT_EQ(toBytes("a\nb", encoding).bytes, "a\r\nb");
    EXPECT_EQ(toBytes("a\r\nb", encoding).bytes, "a\r\nb");
    EXPECT_EQ(toBytes(QString::fromUtf16(u"a\u2029b\u2028c"), encoding).bytes, "a\r\nb\r\nc");
    EXPECT_EQ(fromBytes("a\r\nb", encoding), "a\nb");
    EXPECT_EQ(fromBytes("a\rb\nc", encoding), "a\nb\nc");  // a lone CR or LF also breaks
    EXPECT_EQ(fromBytes("a\n\r\nb", encoding), "a\n\nb");
  }
}

TEST(BoxText, EveryKindOfLineBreakBecomesTheChosenOne) {
  const QString text = QString::fromUtf16(u"a\nb\r\nc\rd\u2029e\u2028f\n\r\n");
  for (const auto& [lineBreak, name, expected] :
       {std::tuple{LineBreak::crlf, "crlf", "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n"},
        std::tuple{LineBreak::lf, "lf", "a\nb\nc\nd\ne\nf\n\n"}}) {
    EXPECT_EQ(toBytes(text, text::Encoding::utf8, lineBreak).bytes, expected) << name;
    EXPECT_EQ(lineBreakNamed(nameOf(lineBreak)), lineBreak);
    EXPECT_EQ(fromBytes(expected, text::Encoding::utf8), "a\nb\nc\nd\ne\nf\n\n") << name;
  }
  for (const char* unknown : {"", "cr", "CRLF", "lf "})
    EXPECT_EQ(lineBreakNamed(unknown), std::nullopt) << unknown;
}

TEST(BoxText, CountsTheCharactersACodePageCannotHold) {
  const text::Encoded encoded =
      toBytes(QString::fromUtf16(u"\u03A9a\U0001F600\u20AC"), text::Encoding::windows1252);
  // One character beyond 16 bits is one question mark, not two.
  EXPECT_EQ(encoded.bytes, "?a?\x80");
  EXPECT_EQ(encoded.lost, 2u);
  EXPECT_EQ(lossNotice(encoded.lost, text::Encoding::windows1252),
            "2 characters cannot be written in windows-1252 and became \"?\". UTF-8 keeps every "
            "character: choose it under \"Text encoding\" in the box's context menu.");
  EXPECT_TRUE(lossNotice(1, text::Encoding::windows1250).startsWith("1 character cannot"));
}

TEST(SpinEdit, TakesDigitsAndSignsAsTyped) {
  TCSpinEdit spin;
  EXPECT_EQ(spin.text(), "0");
  spin.selectAll();
  QTest::keyClicks(&spin, "1x2+-");  // the letter is refused
  EXPECT_EQ(spin.text(), "12+-");
  EXPECT_EQ(spin.value(), 0);  // not a number: the minimum
  spin.setValue(-40);
  EXPECT_EQ(spin.text(), "-40");
}

TEST(SpinEdit, KeepsTheValueWithinItsLimits) {
  TCSpinEdit limited;
  limited.setMaxValue(255);
  limited.selectAll();
  QTest::keyClicks(&limited, "300");
  EXPECT_EQ(limited.text(), "300");  // the text stays as typed
  EXPECT_EQ(limited.value(), 255);
  limited.stepBy(1);
  EXPECT_EQ(limited.text(), "255");

  TCSpinEdit unlimited;
  unlimited.setValue(INT32_MAX);
  unlimited.stepBy(1);
  EXPECT_EQ(unlimited.value(), INT32_MAX);
  unlimited.setValue(INT32_MIN);
  unlimited.stepBy(-1);
  EXPECT_EQ(unlimited.value(), INT32_MIN);
}

TEST(Jpeg, DecodesTheAboutPicture) {
  QFile file(":/about.jpg");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray picture = file.readAll();
  const QImage image = decodeJpeg(picture);
  EXPECT_EQ(image.size(), QSize(190, 74));

  // What is no picture gives a null image.
  EXPECT_TRUE(decodeJpeg("not a picture").isNull());
  EXPECT_TRUE(decodeJpeg(QByteArray()).isNull());

  // A picture cut in half decodes whole: the rows its first half holds (the
  // top 32) as in the whole picture, and from row 40 on the grey of blocks
  // without data.
  const QImage cut = decodeJpeg(picture.left(picture.size() / 2));
  ASSERT_EQ(cut.size(), QSize(190, 74));
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 190; ++x)
      ASSERT_EQ(cut.pixel(x, y), image.pixel(x, y)) << x << ", " << y;
  }
  for (int y = 40; y < 74; ++y) {
    for (int x = 0; x < 190; ++x)
      ASSERT_EQ(cut.pixel(x, y), qRgb(128, 128, 128)) << x << ", " << y;
  }

  // A picture whose coded data is scrambled stops the decoder, which gives
  // up with a null image.
  QByteArray scrambled = picture;
  for (qsizetype i = 200; i < scrambled.size(); i += 7)
    scrambled[i] = static_cast<char>(i);
  EXPECT_TRUE(decodeJpeg(scrambled).isNull());
}

}  // namespace
