#include "Vcl.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
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

TEST(AnsiText, EveryByteButZeroAndLineBreaksSurvivesTheRoundTrip) {
  std::string bytes;
  for (int c = 1; c < 256; ++c) {
    if (c != '\r' && c != '\n') bytes += static_cast<char>(c);
  }
  bytes += "\r\nlast line";
  const QString text = fromAnsi(bytes);
  EXPECT_EQ(text.size(), 253 + 1 + 9);
  EXPECT_EQ(toAnsi(text), bytes);
}

TEST(AnsiText, UsesWindows1252) {
  const std::vector<std::pair<std::string, QString>> cases = {
      {"\x80", QString::fromUtf16(u"\u20AC")},  // euro sign
      {"\x81\x8D\x8F\x90\x9D", QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D")},
      {"\x9F\xE9\xFF", QString::fromUtf16(u"\u0178\u00E9\u00FF")},
      {"\xA0", QString::fromUtf16(u"\u00A0")},  // a non-breaking space stays one
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(fromAnsi(bytes), text);
    EXPECT_EQ(toAnsi(text), bytes);
  }
}

TEST(AnsiText, WritesQuestionMarksForCharactersOutsideTheCodePage) {
  EXPECT_EQ(toAnsi(QString::fromUtf16(u"\u03A9\u20AD")), "??");
  // One character beyond 16 bits is one question mark, not two.
  EXPECT_EQ(toAnsi(QString::fromUtf16(u"a\U0001F600b")), "a?b");
}

TEST(AnsiText, LineBreaks) {
  EXPECT_EQ(toAnsi("a\nb"), "a\r\nb");
  EXPECT_EQ(toAnsi("a\r\nb"), "a\r\nb");
  EXPECT_EQ(toAnsi(QString::fromUtf16(u"a\u2029b\u2028c")), "a\r\nb\r\nc");
  EXPECT_EQ(fromAnsi("a\r\nb"), "a\nb");
  EXPECT_EQ(fromAnsi("a\rb\nc"), "a\nb\nc");  // a lone CR or LF also breaks the line
  EXPECT_EQ(fromAnsi("a\n\r\nb"), "a\n\nb");
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
