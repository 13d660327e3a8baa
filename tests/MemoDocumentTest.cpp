#include "MemoDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RandomText.h"

namespace {

constexpr std::int32_t kWidth = 6;

// Every byte one unit wide, tabs every four units.
void measure(MemoLayout& layout) {
  MemoLayout::Advances advances;
  advances.fill(1);
  layout.setMetrics(text::Encoding::windows1252, advances, 4);
  layout.setWidth(kWidth);
}

std::vector<std::size_t> startsOf(const MemoLayout& layout) {
  std::vector<std::size_t> starts;
  for (std::size_t row = 0; row < layout.rowCount(); ++row)
    starts.push_back(layout.rowStart(row));
  return starts;
}

// Replays every notice on a copy of the text, so that the notices must say
// exactly what changed.
class Replay : public MemoDocument::Listener {
 public:
  explicit Replay(const MemoDocument& document) : document(document) {}

  void aboutToChange(std::size_t position, std::size_t count) override {
    EXPECT_FALSE(pending) << "a change announced twice";
    EXPECT_LE(position + count, copy.size());
    pending = true;
    at = position;
    removed = count;
  }
  void changed(std::size_t position, std::size_t inserted) override {
    ASSERT_TRUE(pending) << "a change not announced";
    EXPECT_EQ(position, at);
    copy.replace(at, removed, document.model().bytes().substr(position, inserted));
    pending = false;
  }
  void cursorShown() override {}

  const MemoDocument& document;
  std::string copy;
  bool pending = false;
  std::size_t at = 0;
  std::size_t removed = 0;
};

TEST(MemoDocument, NoticesAndRowsFollowEveryEditUndoAndRedo) {
  RandomText random;
  MemoDocument document;
  measure(document.layout());
  Replay replay(document);
  document.setListener(&replay);
  const auto wrapped = [](const std::string& text) {
    MemoLayout fresh;
    measure(fresh);
    fresh.wrap(text);
    return startsOf(fresh);
  };
  const auto rowsFor = [&wrapped](const std::string& text) {
    return MemoDocument::Rows{wrapped(text), kWidth};
  };
  const std::string start = random.bytes(40, 'a', 'e') + "\r\n" + random.bytes(20, ' ', 'c');
  document.setText(start, rowsFor(start));
  const auto noWrap = [] { FAIL() << "a rewrap without a memory failure"; };
  for (int step = 0; step < 400; ++step) {
    const std::string& text = document.model().bytes();
    switch (random.integer(0, 4)) {
      case 0:
        if (document.model().canUndo()) document.undo();
        break;
      case 1:
        if (document.model().canRedo()) document.redo();
        break;
      case 2: {
        const std::string with = random.bytes(random.length(12), 'a', 'c') + "\r \n\t";
        document.select(0, text.size());
        document.replaceAll(with, false, rowsFor(with));
        break;
      }
      default: {
        const std::size_t from = document.model().characterStart(random.length(text.size()));
        const std::size_t to = document.model().characterStart(random.length(text.size()));
        document.select(from, to);
        const std::string with =
            random.bytes(random.length(8), ' ', 'e') + (step % 3 ? "" : "\r\n");
        document.replaceSelection(with, step % 2 == 0, noWrap);
      }
    }
    ASSERT_EQ(replay.copy, document.model().bytes()) << "step " << step;
    ASSERT_EQ(startsOf(document.layout()), wrapped(document.model().bytes())) << "step " << step;
  }
}

TEST(MemoDocument, FindsTheLineAroundAPlaceWithinItsReach) {
  RandomText random;
  for (int round = 0; round < 200; ++round) {
    MemoDocument document;
    const std::string text = random.bytes(random.length(60), '\n', '\r' + 2);
    document.setText(text, {{0}, kWidth});
    const std::size_t position = random.length(text.size());
    const std::size_t reach = random.length(20);
    const auto [start, end] = document.model().lineAround(position, reach);
    // No line break inside, and either the reach, a line break or the text's
    // end at each side.
    ASSERT_LE(start, position);
    ASSERT_LE(position, end);
    for (std::size_t i = start; i < end; ++i)
      ASSERT_TRUE(text[i] != '\r' && text[i] != '\n') << text << " at " << position;
    EXPECT_TRUE(start == 0 || position - start == reach || text[start - 1] == '\r' ||
                text[start - 1] == '\n');
    EXPECT_TRUE(end == text.size() || end - position == reach || text[end] == '\r' ||
                text[end] == '\n');
  }
}

struct MoveCase {
  std::size_t cursor;
  bool atRowEnd;
  MemoDocument::Move move;
  MemoDocument::Place place;
};

TEST(MemoDocument, MovesAlongWrappedRows) {
  // At six units the first line wraps as "abcd " and "efghij": byte 5 is
  // both the end of the first row and the start of the second.
  MemoDocument document;
  measure(document.layout());
  const std::string text = "abcd efghij\r\nk";
  MemoLayout fresh;
  measure(fresh);
  fresh.wrap(text);
  document.setText(text, {startsOf(fresh), kWidth});
  ASSERT_EQ(startsOf(document.layout()), (std::vector<std::size_t>{0, 5, 13}));
  using Move = MemoDocument::Move;
  const std::vector<MoveCase> cases = {
      {0, false, Move::endOfLine, {5, true}},
      {5, true, Move::startOfLine, {0, false}},
      {5, false, Move::startOfLine, {5, false}},
      {5, false, Move::endOfLine, {11, false}},
      {7, false, Move::nextChar, {8, false}},
      {11, false, Move::nextChar, {13, false}},  // CR LF is one character
      {13, false, Move::previousChar, {11, false}},
      {0, false, Move::nextWord, {5, false}},
      {2, false, Move::endOfDocument, {14, false}},
  };
  const auto aimStart = [&document](std::size_t row) { return document.layout().rowStart(row); };
  for (const MoveCase& row : cases) {
    document.setCursor(row.cursor, false, row.atRowEnd);
    const MemoDocument::Place place = document.target(row.move, 1, aimStart);
    EXPECT_EQ(place.offset, row.place.offset) << row.cursor << " move " << int(row.move);
    EXPECT_EQ(place.atRowEnd, row.place.atRowEnd) << row.cursor << " move " << int(row.move);
  }
  // The cursor at the end of the first row shows on it, and a move down
  // from there lands on the second.
  document.setCursor(5, false, true);
  EXPECT_EQ(document.cursorRow(), 0U);
  EXPECT_EQ(document.target(Move::nextLine, 1, aimStart).offset, 5U);
  EXPECT_EQ(document.target(Move::nextPage, 2, aimStart).offset, 13U);
}

}  // namespace
