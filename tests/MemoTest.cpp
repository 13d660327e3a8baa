#include "Memo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class MemoTest : public testing::Test {
 public:
  void SetUp() override {
    memo = std::make_unique<TMemo>();
    memo->resize(457, 151);
    memo->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(memo.get()));
    memo->setFocus();
  }

  void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(memo.get(), key, modifiers);
  }

  // Runs the action of the context menu named `name`.
  void menuAction(const char* name) {
    std::unique_ptr<QMenu> menu(memo->createContextMenu());
    auto* action = menu->findChild<QAction*>(name);
    ASSERT_NE(action, nullptr) << name;
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
  }

  std::unique_ptr<TMemo> memo;
};

TEST_F(MemoTest, CopiesTheSelectedBytesExactly) {
  std::string bytes = "first\r\nsecond\rthird\nfourth ";
  for (int c = 0x80; c < 0x100; ++c)
    bytes += static_cast<char>(c);
  memo->setText(bytes);
  key(Qt::Key_A, Qt::ControlModifier);
  key(Qt::Key_C, Qt::ControlModifier);
  QString shown = QStringLiteral("first\nsecond\nthird\nfourth ");
  // Windows-1252's characters of 0x80-0x9F (where it has none, the control
  // character of the byte's value), then Latin-1's.
  shown += QString::fromUtf16(
      u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D"
      u"\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A"
      u"\u0153\u009D\u017E\u0178");
  for (char16_t c = 0xA0; c <= 0xFF; ++c)
    shown += QChar(c);
  EXPECT_EQ(QApplication::clipboard()->text(), shown);

  // "second" by keyboard: down a row, then six bytes with Shift.
  key(Qt::Key_Home, Qt::ControlModifier);
  key(Qt::Key_Down);
  for (int i = 0; i < 6; ++i)
    key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(memo->selectedText(), "second");
  menuAction("edit-copy");
  EXPECT_EQ(QApplication::clipboard()->text(), "second");

  // Across a CR LF: a click at the start, two bytes on, then select down to
  // the end of the next row.
  memo->setText("first\r\nsecond");
  const int rowHeight = memo->fontMetrics().height();
  const QPoint firstRow(40, 4 + rowHeight / 2);
  QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(1, firstRow.y()));
  key(Qt::Key_Right);
  key(Qt::Key_Right);
  key(Qt::Key_Down, Qt::ShiftModifier);
  key(Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(memo->selectedText(), "rst\r\nsecond");
  menuAction("select-all");
  EXPECT_EQ(memo->selectedText(), "first\r\nsecond");
}

TEST_F(MemoTest, WrapsAtWordsAndWithinLongRuns) {
  memo->setText(std::string(1000, '1') + " " + std::string(40, 'a') + " word");
  ASSERT_GT(memo->rowCount(), 3u);
  std::string joined;
  for (std::size_t row = 0; row < memo->rowCount(); ++row) {
    const std::string_view text = memo->rowText(row);
    joined += text;
    EXPECT_FALSE(text.empty()) << row;
  }
  EXPECT_EQ(joined, memo->text());  // nothing lost or doubled at a wrap
  // The words after the run start rows of their own.
  EXPECT_EQ(memo->rowText(memo->rowCount() - 1), std::string(40, 'a') + " word");
}

TEST_F(MemoTest, ScrollsToTheEndOfAMultiMegabyteText) {
  std::string text;
  for (int line = 0; line < 200000; ++line)
    text += "line " + std::to_string(line) + "\r\n";
  text += "the end";
  memo->setText(text);
  key(Qt::Key_End, Qt::ControlModifier);
  QScrollBar* bar = memo->verticalScrollBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(memo->rowText(memo->rowCount() - 1), "the end");
  EXPECT_GT(memo->firstVisibleRow(), 199990u);
  key(Qt::Key_A, Qt::ControlModifier);
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(text).replace("\r\n", "\n"));
  // PageUp moves a page of rows.
  const int before = bar->value();
  key(Qt::Key_PageUp);
  EXPECT_EQ(bar->value(), before - bar->pageStep());
}

TEST_F(MemoTest, EditsUndoesAndKeepsTabForTheFocus) {
  QTest::keyClicks(memo.get(), "abc");
  key(Qt::Key_Return);
  QTest::keyClicks(memo.get(), "de");
  key(Qt::Key_Left);
  key(Qt::Key_Backspace);
  EXPECT_EQ(memo->text(), "abc\r\ne");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(memo->text(), "abc\r\nde");
  key(Qt::Key_Z, Qt::ControlModifier);  // the typing undoes as one
  EXPECT_EQ(memo->text(), "");
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(memo->text(), "abc\r\nde");

  // A pasted tab arrives; a typed one does not.
  QApplication::clipboard()->setText(QStringLiteral("\tx\u20AC\u03A9"));
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo->text(), "abc\r\nde\tx\x80?");
  key(Qt::Key_Tab);
  EXPECT_EQ(memo->text(), "abc\r\nde\tx\x80?");

  // A read-only box selects and copies but does not change.
  memo->setReadOnly(true);
  QTest::keyClicks(memo.get(), "zz");
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo->text(), "abc\r\nde\tx\x80?");
  std::unique_ptr<QMenu> menu(memo->createContextMenu());
  EXPECT_EQ(menu->findChild<QAction*>("edit-paste"), nullptr);
  EXPECT_NE(menu->findChild<QAction*>("edit-copy"), nullptr);
}

// Typed text goes in as UTF-8 bytes, and the caret, selection and deletion
// never stop inside a character.
TEST_F(MemoTest, StepsOverWholeCharactersOfUtf8) {
  memo->setEncoding(text::Encoding::utf8);
  for (const char16_t* typed : {u"a", u"\U0001F600", u"\u00E9", u"\u4F60"})
    QTest::sendKeyEvent(QTest::Click, memo.get(), Qt::Key_unknown, QString::fromUtf16(typed),
                        Qt::NoModifier);
  EXPECT_EQ(memo->text(), "a😀é你");
  key(Qt::Key_Left, Qt::ShiftModifier);
  key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(memo->selectedText(), "é你");
  key(Qt::Key_Left);  // to the selection's start
  EXPECT_EQ(memo->cursorPosition(), 5u);
  key(Qt::Key_Backspace);
  EXPECT_EQ(memo->text(), "aé你");
  key(Qt::Key_Delete);
  EXPECT_EQ(memo->text(), "a你");
  // A letter with its mark, a flag, emoji joined into one, and one with its
  // skin tone each move as one character.
  memo->setText(
      "e\xCC\x81\xF0\x9F\x87\xB3\xF0\x9F\x87\xB1\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"
      "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDz");
  std::vector<std::size_t> stops{memo->cursorPosition()};
  for (int i = 0; i < 5; ++i) {
    key(Qt::Key_Right);
    stops.push_back(memo->cursorPosition());
  }
  EXPECT_EQ(stops, (std::vector<std::size_t>{0, 3, 11, 22, 30, 31}));
  key(Qt::Key_Left);
  key(Qt::Key_Backspace);
  EXPECT_EQ(
      memo->text(),
      "e\xCC\x81\xF0\x9F\x87\xB3\xF0\x9F\x87\xB1\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7z");
  // A click anywhere on a character puts the caret before or after it.
  memo->setText("\xF0\x9F\x98\x80\xF0\x9F\x98\x80");
  for (int x = 0; x < 60; x += 3) {
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(x, 8));
    EXPECT_EQ(memo->cursorPosition() % 4, 0u) << x;
  }
}

TEST_F(MemoTest, SaysHowManyTypedCharactersTheCodePageLacks) {
  memo->setEncoding(text::Encoding::windows1250);
  QApplication::clipboard()->setText(QStringLiteral("Zażółć, Привет"));
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(memo->text(), "Za\xBF\xF3\xB3\xE6, ??????");
  EXPECT_TRUE(QToolTip::text().startsWith("6 characters cannot be written in windows-1250"))
      << QToolTip::text().toStdString();
  // Switching shows the same bytes anew.
  memo->setEncoding(text::Encoding::windows1251);
  EXPECT_EQ(memo->text(), "Za\xBF\xF3\xB3\xE6, ??????");
  memo->selectAll();
  memo->copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Zaїуіж, ??????"));
}

}  // namespace
