#include "TextModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RandomText.h"

namespace {

using namespace std::string_literals;
using text::Encoding;

TextModel modelOf(std::string bytes, Encoding encoding) {
  TextModel model;
  model.setEncoding(encoding);
  model.setText(std::move(bytes));
  return model;
}

// The places the cursor stops at going forward, and going back.
std::vector<std::size_t> stops(const TextModel& model) {
  std::vector<std::size_t> forward{0};
  while (forward.back() < model.bytes().size())
    forward.push_back(model.nextCharacter(forward.back()));
  std::vector<std::size_t> back{model.bytes().size()};
  while (back.back() > 0)
    back.push_back(model.previousCharacter(back.back()));
  EXPECT_EQ(std::vector<std::size_t>(back.rbegin(), back.rend()), forward);
  return forward;
}

TEST(TextModel, StopsOnlyBetweenCharacters) {
  // An emoji, a two-byte letter, a CR LF pair, an invalid byte, a sequence
  // cut by a zero byte and one cut by the end.
  const std::string bytes = "a\xF0\x9F\x98\x80\xC3\xA9\r\nb\xFF\xE2\x82\0c\xF0\x9F"s;
  EXPECT_EQ(stops(modelOf(bytes, Encoding::utf8)),
            (std::vector<std::size_t>{0, 1, 5, 7, 9, 10, 11, 13, 14, 15, 17}));
  // In a code page every byte is a character; CR LF is still one.
  std::vector<std::size_t> everyByte;
  for (std::size_t i = 0; i <= bytes.size(); ++i)
    if (i != 8) everyByte.push_back(i);
  EXPECT_EQ(stops(modelOf(bytes, Encoding::windows1252)), everyByte);
}

TEST(TextModel, AnotherEncodingKeepsTheBytesAndMovesTheCursorToACharacter) {
  TextModel model = modelOf("x\xF0\x9F\x98\x80y", Encoding::windows1252);
  model.select(5, 3);
  model.setEncoding(Encoding::utf8);
  EXPECT_EQ(model.bytes(), "x\xF0\x9F\x98\x80y");
  EXPECT_EQ(model.anchor(), 5u);
  EXPECT_EQ(model.cursor(), 1u);
}

TEST(TextModel, WordsOfEveryScript) {
  TextModel model = modelOf("zażółć, gęślą\r\nПривет", Encoding::utf8);
  EXPECT_EQ(model.nextWord(0), 10u);   // over "zażółć"
  EXPECT_EQ(model.nextWord(10), 12u);  // over ", "
  EXPECT_EQ(model.nextWord(12), 22u);  // over "gęślą" and the line break
  EXPECT_EQ(model.previousWord(22), 12u);
  EXPECT_EQ(model.wordAt(3), (std::pair<std::size_t, std::size_t>{0, 10}));
  EXPECT_EQ(model.wordAt(20), (std::pair<std::size_t, std::size_t>{20, 20}));  // a line break
  EXPECT_EQ(model.wordAt(25), (std::pair<std::size_t, std::size_t>{22, 34}));
}

TEST(TextModel, UndoesAndRedoesTypingAsOneEdit) {
  TextModel model;
  for (const char* typed : {"a", "b", "c"})
    model.replaceSelection(typed, true);
  model.select(0, 1);
  model.replaceSelection("XY", false);
  EXPECT_EQ(model.bytes(), "XYbc");
  EXPECT_EQ(model.undo().position, 0u);
  EXPECT_EQ(model.bytes(), "abc");
  model.undo();
  EXPECT_EQ(model.bytes(), "");
  EXPECT_FALSE(model.canUndo());
  model.redo();
  model.redo();
  EXPECT_EQ(model.bytes(), "XYbc");
  EXPECT_EQ(model.cursor(), 2u);
}

TEST(TextModel, KeepsABoundedHistory) {
  TextModel model(10);
  model.replaceSelection("1234", false);
  model.replaceSelection("5678", false);
  // Keeping this one too would pass ten bytes: the oldest edit goes.
  model.replaceSelection("9ab", false);
  model.undo();
  model.undo();
  EXPECT_FALSE(model.canUndo());
  EXPECT_EQ(model.bytes(), "1234");
  // An edit larger than the whole history clears it and is not kept.
  model.select(0, 4);
  model.replaceSelection("0123456789", false);
  EXPECT_FALSE(model.canUndo());
  EXPECT_FALSE(model.canRedo());
}

TEST(TextModel, TypingKeepsTheHistoryBoundedToo) {
  TextModel model(4);
  for (const char* typed : {"a", "b", "c", "d", "e"})
    model.replaceSelection(typed, true);
  // "abcd" was one edit; "e" starts another, and the history keeps it alone.
  model.undo();
  EXPECT_EQ(model.bytes(), "abcd");
  EXPECT_FALSE(model.canUndo());
}

TEST(TextModel, TakesBackTheLastEditOnce) {
  TextModel model;
  model.replaceSelection("abc", false);
  model.select(1, 2);
  model.replaceSelection("XYZ", false);
  EXPECT_TRUE(model.takeBack());
  EXPECT_EQ(model.bytes(), "abc");
  EXPECT_FALSE(model.takeBack());
  EXPECT_EQ(model.bytes(), "abc");
  model.undo();
  EXPECT_EQ(model.bytes(), "");
}

// Places in UTF-16 units agree with a count from the start, across the
// checkpoints and after edits anywhere.
TEST(TextModel, CountsUtf16UnitsAsAFreshCountDoes) {
  RandomText random;
  const std::vector<std::string> pieces = {"a",    "\xC3\xA9", "\xE4\xBD\xA0", "\xF0\x9F\x98\x80",
                                           "\xFF", "\r\n",     "\xE2\x82"};
  const auto sample = [&](std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i)
      bytes += pieces[static_cast<std::size_t>(random.integer(0, 6))];
    return bytes;
  };
  TextModel model = modelOf(sample(5000), Encoding::utf8);
  for (int round = 0; round < 40; ++round) {
    const std::size_t at = model.characterStart(random.length(model.bytes().size()));
    model.select(at, model.characterStart(std::min(model.bytes().size(), at + random.length(50))));
    model.replaceSelection(sample(random.length(8)), false);
    // A count from the start, character by character.
    std::size_t units = 0;
    for (std::size_t i = 0; i < model.bytes().size();) {
      const text::Character character = text::characterAt(model.bytes(), i, Encoding::utf8);
      ASSERT_EQ(model.unitOf(i), units) << round;
      ASSERT_EQ(model.byteOfUnit(units), i) << round;
      units += character.code < 0x10000 ? 1 : 2;
      i += character.length;
    }
    ASSERT_EQ(model.unitCount(), units);
  }
}

TEST(TextModel, PunctuationBeyondAsciiEndsAWord) {
  TextModel model = modelOf("word\xE2\x80\x94word \xC2\xABquote\xC2\xBB", Encoding::utf8);
  EXPECT_EQ(model.nextWord(0), 4u);    // stops at the em dash
  EXPECT_EQ(model.nextWord(4), 7u);    // over it
  EXPECT_EQ(model.nextWord(12), 14u);  // over the guillemet
}

}  // namespace
