#include "MemoLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RandomText.h"

namespace {

// Every byte one unit wide, except 'W' at three units; tabs every four units.
MemoLayout layoutOf(std::int32_t width) {
  MemoLayout::Advances advances;
  advances.fill(1);
  advances['W'] = 3;
  MemoLayout layout;
  layout.setMetrics(text::Encoding::windows1252, advances, 4);
  layout.setWidth(width);
  return layout;
}

std::vector<std::string> rowsOf(const MemoLayout& layout, const std::string& text) {
  std::vector<std::string> rows;
  for (std::size_t row = 0; row < layout.rowCount(); ++row) {
    const std::size_t start = layout.rowStart(row);
    rows.push_back(text.substr(start, layout.rowEnd(text, row) - start));
  }
  return rows;
}

struct WrapCase {
  std::string text;
  std::int32_t width;
  std::vector<std::string> rows;
};

TEST(MemoLayout, WrapsAtBlanksAndAnywhereInARunWithoutThem) {
  const std::vector<WrapCase> cases = {
      {"", 5, {""}},
      {"abc", 5, {"abc"}},
      {"abc de fgh", 5, {"abc ", "de ", "fgh"}},      // a word that does not fit moves down
      {"abc    de", 5, {"abc    ", "de"}},            // blanks run past the edge
      {"abcdefghijk", 4, {"abcd", "efgh", "ijk"}},    // no blanks: anywhere
      {"ab cdefghij", 4, {"ab ", "cdef", "ghij"}},    // a word longer than a row
      {"WWx", 6, {"WW", "x"}},                        // widths from the table
      {"W", 2, {"W"}},                                // a row holds at least one byte
      {"a\tb\tc", 6, {"a\tb\t", "c"}},                // tabs go to the next stop
      {"ab\r\ncd\re\nf", 9, {"ab", "cd", "e", "f"}},  // CR LF, lone CR and lone LF
      {"ab\r\n", 9, {"ab", ""}},                      // a final break leaves an empty row
      {"\n\r\n\r", 9, {"", "", "", ""}},
      {"abc def\r\nghijkl", 4, {"abc ", "def", "ghij", "kl"}},
  };
  for (const WrapCase& row : cases) {
    MemoLayout layout = layoutOf(row.width);
    layout.wrap(row.text);
    EXPECT_EQ(rowsOf(layout, row.text), row.rows) << row.text << " at " << row.width;
  }
}

TEST(MemoLayout, FindsRowsAndPlacesInThem) {
  const std::string text = "abc def\r\nW\tx";
  MemoLayout layout = layoutOf(5);
  layout.wrap(text);
  ASSERT_EQ(rowsOf(layout, text), (std::vector<std::string>{"abc ", "def", "W\tx"}));
  EXPECT_TRUE(layout.wrapsAfter(text, 0));
  EXPECT_FALSE(layout.wrapsAfter(text, 1));  // ends at a line break
  EXPECT_FALSE(layout.wrapsAfter(text, 2));  // the last row
  EXPECT_EQ(layout.rowOf(0), 0u);
  EXPECT_EQ(layout.rowOf(4), 1u);   // the first byte of a wrapped row
  EXPECT_EQ(layout.rowOf(8), 1u);   // inside the line break
  EXPECT_EQ(layout.rowOf(12), 2u);  // the end of the text
}

TEST(MemoLayout, EndsRowsOfBlanksAndMarksAfterTheLongestRow) {
  constexpr std::size_t longest = MemoLayout::kLongestRow;
  MemoLayout layout = layoutOf(5);
  layout.wrap("a" + std::string(3 * longest, ' ') + "b");
  EXPECT_EQ(layout.rowStart(3), 3 * longest);
  EXPECT_EQ(layout.rowCount(), 4u);

  // In UTF-8, characters of many bytes, some of them no wider than nothing.
  MemoLayout::Advances ascii;
  ascii.fill(1);
  layout.setMetrics(text::Encoding::utf8, ascii, 4,
                    [](char32_t c) { return c == U'\u0301' ? 0 : 2; });
  std::string marks = "e";
  for (std::size_t i = 0; i < longest; ++i)
    marks += "\u0301";
  layout.wrap(marks + "\u4F60\u4F60\u4F60x");
  EXPECT_EQ(layout.rowCount(), 4u);
  EXPECT_EQ(layout.rowStart(1), longest + 1);  // not inside a mark
  EXPECT_EQ(layout.rowStart(2), 2 * longest + 1);
  EXPECT_EQ(layout.rowStart(3), 2 * longest + 7);  // two wide ones fit, not three
}

// An edit rewraps only what it changes; the rows must equal a wrap from
// scratch for any edit of any text.
TEST(MemoLayout, UpdatesAfterAnEditAsAFreshWrapWould) {
  RandomText random;
  const std::string alphabet = "ab W\t\r\n";
  const auto sample = [&](std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
      text += alphabet[static_cast<std::size_t>(random.integer(0, 6))];
    return text;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::int32_t width = random.integer(1, 12);
    std::string text = sample(random.length(60));
    MemoLayout layout = layoutOf(width);
    layout.wrap(text);
    for (int edit = 0; edit < 4; ++edit) {
      const std::size_t position = random.length(text.size());
      const std::size_t removed = random.length(text.size() - position);
      const std::string inserted = sample(random.length(6));
      text.replace(position, removed, inserted);
      layout.update(text, position, removed, inserted.size());
      MemoLayout fresh = layoutOf(width);
      fresh.wrap(text);
      ASSERT_EQ(rowsOf(layout, text), rowsOf(fresh, text))
          << "round " << round << ", width " << width << ", text " << text;
      for (std::size_t row = 0; row < fresh.rowCount(); ++row)
        ASSERT_EQ(layout.rowStart(row), fresh.rowStart(row));
    }
  }
}

}  // namespace
