#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtTest/qtestaccessible.h>
#include <QAccessible>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSettings>
#include <QTest>
#include <QTextLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Interface.h"
#include "Memo.h"

namespace {

using namespace std::string_literals;

// A box as assistive tools see it, with the events it sends recorded.
class AccessibilityTest : public testing::Test {
 public:
  void SetUp() override {
    // As a screen reader's bridge turns it on.
    QTestAccessibility::initialize();
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    memo = std::make_unique<TMemo>();
    memo->setEncoding(text::Encoding::utf8);
    memo->resize(457, 151);
    memo->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(memo.get()));
    memo->setFocus();
    accessible = QAccessible::queryAccessibleInterface(memo.get());
    ASSERT_NE(accessible, nullptr);
    text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    forgetEvents();
  }

  void TearDown() override {
    memo.reset();
    forgetEvents();
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    QTestAccessibility::cleanup();
  }

  // The recorder keeps copies of the events, which are ours to delete.
  static void forgetEvents() {
    qDeleteAll(QTestAccessibility::events());
    QTestAccessibility::clearEvents();
  }

  // The recorded events of `type`.
  static std::vector<const QAccessibleEvent*> eventsOf(QAccessible::Event type) {
    std::vector<const QAccessibleEvent*> found;
    for (const QAccessibleEvent* event : QTestAccessibility::events())
      if (event->type() == type) found.push_back(event);
    return found;
  }

  std::unique_ptr<TMemo> memo;
  QAccessibleInterface* accessible = nullptr;
  QAccessibleTextInterface* text = nullptr;
};

struct Span {
  QAccessible::TextBoundaryType boundary;
  int offset;
  QString text;
  int start;
};

TEST_F(AccessibilityTest, ReadsTheTextInUtf16UnitsByEveryBoundary) {
  // The emoji takes two units, the line break two.
  memo->setText("a\xF0\x9F\x98\x80\xC3\xA9\r\nПривет мир. Second one.");
  EXPECT_EQ(accessible->role(), QAccessible::EditableText);
  EXPECT_EQ(text->characterCount(), 1 + 2 + 1 + 2 + 23);
  EXPECT_EQ(text->text(1, 3), QStringLiteral("😀"));
  EXPECT_EQ(text->text(4, -1), QStringLiteral("\r\nПривет мир. Second one."));
  const std::vector<Span> spans = {
      {QAccessible::CharBoundary, 1, QStringLiteral("😀"), 1},
      {QAccessible::CharBoundary, 4, QStringLiteral("\r\n"), 4},
      {QAccessible::WordBoundary, 8, QStringLiteral("Привет"), 6},
      {QAccessible::SentenceBoundary, 20, QStringLiteral("Second one."), 18},
      {QAccessible::LineBoundary, 0, QStringLiteral("a😀é\r\n"), 0},
      {QAccessible::ParagraphBoundary, 10, QStringLiteral("Привет мир. Second one."), 6},
  };
  for (const Span& span : spans) {
    int start = -1, end = -1;
    EXPECT_EQ(text->textAtOffset(span.offset, span.boundary, &start, &end), span.text)
        << span.boundary;
    EXPECT_EQ(start, span.start) << span.boundary;
    EXPECT_EQ(end, span.start + span.text.size()) << span.boundary;
  }
  int start = -1, end = -1;
  EXPECT_EQ(text->textAfterOffset(8, QAccessible::WordBoundary, &start, &end), " ");
  EXPECT_EQ(text->textBeforeOffset(8, QAccessible::WordBoundary, &start, &end), "\r\n");
}

TEST_F(AccessibilityTest, SelectsMovesTheCaretAndEditsThroughTheInterface) {
  memo->setText("a\xF0\x9F\x98\x80z");
  text->setSelection(0, 1, 3);
  EXPECT_EQ(memo->selectedText(), "\xF0\x9F\x98\x80");
  int start = -1, end = -1;
  text->selection(0, &start, &end);
  EXPECT_EQ(std::pair(start, end), std::pair(1, 3));
  EXPECT_EQ(text->selectionCount(), 1);
  text->removeSelection(0);
  EXPECT_EQ(text->selectionCount(), 0);
  text->setCursorPosition(2);  // inside the emoji: before it
  EXPECT_EQ(text->cursorPosition(), 1);

  QAccessibleEditableTextInterface* editable = accessible->editableTextInterface();
  ASSERT_NE(editable, nullptr);
  editable->insertText(0, QStringLiteral("ж"));
  editable->replaceText(2, 4, QStringLiteral("!"));
  editable->deleteText(3, 4);
  EXPECT_EQ(memo->text(),
            "\xD0\xB6"
            "a!");  // жa!

  // A read-only box says so and takes no edits.
  memo->setReadOnly(true);
  EXPECT_TRUE(accessible->state().readOnly);
  EXPECT_FALSE(accessible->state().editable);
  EXPECT_EQ(accessible->editableTextInterface(), nullptr);
}

TEST_F(AccessibilityTest, AnnouncesEditsCaretAndSelection) {
  QTest::keyClicks(memo.get(), "ab");
  const auto updates = eventsOf(QAccessible::TextUpdated);
  ASSERT_EQ(updates.size(), 2u);
  const auto* typed = static_cast<const QAccessibleTextUpdateEvent*>(updates.back());
  EXPECT_EQ(typed->changePosition(), 1);
  EXPECT_EQ(typed->textInserted(), "b");
  const auto carets = eventsOf(QAccessible::TextCaretMoved);
  ASSERT_FALSE(carets.empty());
  EXPECT_EQ(static_cast<const QAccessibleTextCursorEvent*>(carets.back())->cursorPosition(), 2);

  forgetEvents();
  QTest::keyClick(memo.get(), Qt::Key_Left, Qt::ShiftModifier);
  const auto selections = eventsOf(QAccessible::TextSelectionChanged);
  ASSERT_EQ(selections.size(), 1u);
  const auto* selected = static_cast<const QAccessibleTextSelectionEvent*>(selections.front());
  EXPECT_EQ(std::pair(selected->selectionStart(), selected->selectionEnd()), std::pair(1, 2));

  // A new result replaces the whole text, and says what it was.
  forgetEvents();
  memo->setText("result");
  const auto results = eventsOf(QAccessible::TextUpdated);
  ASSERT_EQ(results.size(), 1u);
  const auto* result = static_cast<const QAccessibleTextUpdateEvent*>(results.front());
  EXPECT_EQ(result->textRemoved(), "ab");
  EXPECT_EQ(result->textInserted(), "result");
}

TEST_F(AccessibilityTest, ServesSlicesOfAMultiMegabyteResult) {
  std::string large;
  std::size_t lines = 0;
  for (; large.size() < (std::size_t{24} << 20); ++lines)
    large += "line " + std::to_string(lines) + " \xC3\xA9\r\n";
  memo->setText(large);
  const int count = text->characterCount();
  EXPECT_EQ(static_cast<std::size_t>(count), large.size() - lines);  // é is one unit
  int start = -1, end = -1;
  EXPECT_EQ(text->textAtOffset(count - 3, QAccessible::LineBoundary, &start, &end).left(5),
            "line ");
  EXPECT_EQ(end, count);
  EXPECT_EQ(text->text(count - 4, count), QStringLiteral(" é\r\n"));
  const QString word = text->textAtOffset(count / 2, QAccessible::WordBoundary, &start, &end);
  EXPECT_EQ(word.size(), end - start)
      << word.toStdString() << " " << start << " " << end << " " << count;
}

TEST_F(AccessibilityTest, FindsCharactersOnTheScreen) {
  memo->setText(
      "ab\xE4\xBD\xA0"
      "cd");
  for (int offset = 0; offset < 5; ++offset) {
    const QRect rect = text->characterRect(offset);
    EXPECT_GT(rect.width(), 0) << offset;
    EXPECT_EQ(text->offsetAtPoint(rect.center() - QPoint(rect.width() / 4, 0)), offset);
  }
  EXPECT_EQ(text->offsetAtPoint(QPoint(-100, -100)), -1);
}

// The columns that hold ink in the middle of the first row, as runs.
std::vector<std::pair<int, int>> inkRuns(TMemo& memo) {
  const QImage image = memo.viewport()->grab().toImage();
  const int y = memo.cursorRect().center().y();
  const QRgb paper = image.pixel(image.width() - 2, y);
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, y) == paper) continue;
    if (runs.empty() || runs.back().second != x - 1) runs.push_back({x, x});
    runs.back().second = x;
  }
  return runs;
}

// Glyphs are painted where the caret stands before them, also after
// characters that take no room: a soft hyphen, a zero-width space, a mark.
TEST_F(AccessibilityTest, PaintsGlyphsWhereTheCaretStands) {
  for (const auto& [encoding, bytes] :
       {std::pair{text::Encoding::windows1252, "l\xADl\xADl\tl\xADl"s},
        std::pair{text::Encoding::utf8, "l\xE2\x80\x8Bl\xE2\x80\x8Bl\xE2\x80\x8Bl\xCD\x8Fl"s}}) {
    memo->setEncoding(encoding);
    memo->setText(bytes);
    memo->clearFocus();
    std::vector<int> carets;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] != 'l') continue;
      memo->select(i, i);
      carets.push_back(memo->cursorRect().x());
    }
    const std::vector<std::pair<int, int>> runs = inkRuns(*memo);
    ASSERT_EQ(runs.size(), carets.size()) << text::nameOf(encoding);
    for (std::size_t j = 0; j < runs.size(); ++j)
      EXPECT_NEAR(runs[j].first, carets[j], 2) << text::nameOf(encoding) << " glyph " << j;
  }
}

TEST_F(AccessibilityTest, ShowsWhatAnInputMethodComposesAndTakesItsReplacements) {
  QTest::keyClicks(memo.get(), "abc");
  const int before = memo->cursorRect().x();
  QInputMethodEvent composing(QStringLiteral("xyz"),
                              {{QInputMethodEvent::Cursor, 2, 1, QVariant()}});
  QApplication::sendEvent(memo.get(), &composing);
  EXPECT_EQ(memo->text(), "abc");  // not yet in the text
  EXPECT_NEAR(memo->cursorRect().x() - before,
              QFontMetricsF(memo->font()).horizontalAdvance(QStringLiteral("xy")), 2.0);
  EXPECT_EQ(memo->inputMethodQuery(Qt::ImSurroundingText).toString(), "abc");
  EXPECT_EQ(memo->inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);

  // The commit takes the place of "b".
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("ß"), -2, 1);
  QApplication::sendEvent(memo.get(), &commit);
  EXPECT_EQ(memo->text(),
            "a\xC3\x9F"
            "c");
}

struct TypedKey {
  Qt::KeyboardModifiers modifiers;
  const char16_t* text;
  bool types;
};

TEST_F(AccessibilityTest, TypesAltGrAndAltCharactersButNotControlShortcuts) {
  const std::vector<TypedKey> keys = {
      {Qt::ControlModifier | Qt::AltModifier, u"@", true},  // AltGr on Windows
      {Qt::AltModifier, u"\u00E5", true},
      {Qt::GroupSwitchModifier, u"\u20AC", true},
      {Qt::ControlModifier, u"x", false},
      {Qt::ControlModifier | Qt::ShiftModifier, u"X", false},
      {Qt::ControlModifier | Qt::ShiftModifier, u"\u200D", true},  // a joiner
  };
  std::string typed;
  for (const TypedKey& key : keys) {
    QTest::sendKeyEvent(QTest::Click, memo.get(), Qt::Key_unknown, QString::fromUtf16(key.text),
                        key.modifiers);
    if (key.types) typed += QString::fromUtf16(key.text).toStdString();
    EXPECT_EQ(memo->text(), typed) << QString::fromUtf16(key.text).toStdString();
  }
}

TEST(Zoom, ScalesBothBoxesTogetherAndRemembersIt) {
  TmainForm form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  auto* source = form.findChild<TMemo*>("srcMemo");
  auto* result = form.findChild<TMemo*>("destMemo");
  const QSize window = form.size();
  const auto wheel = [source](int delta) {
    QWheelEvent event(QPointF(20, 20), source->mapToGlobal(QPointF(20, 20)), {}, {0, delta},
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(source->viewport(), &event);
  };
  wheel(120);
  EXPECT_EQ(source->zoom(), 110);
  EXPECT_EQ(result->zoom(), 110);
  wheel(60);  // a touchpad's half step, then the other half
  EXPECT_EQ(source->zoom(), 110);
  wheel(60);
  EXPECT_EQ(source->zoom(), 120);
  QTest::keyClick(result, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(result, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(source->zoom(), 140);
  for (int i = 0; i < 5; ++i)
    QTest::keyClick(result, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(source->zoom(), 90);
  EXPECT_EQ(QSettings().value("textZoom").toInt(), 90);
  EXPECT_EQ(form.size(), window);
  EXPECT_EQ(form.findChild<QLineEdit*>("vigenereKeyBox")->font(), form.font());
  TmainForm again;
  EXPECT_EQ(again.findChild<TMemo*>("srcMemo")->zoom(), 90);
  QTest::keyClick(source, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(source->zoom(), 100);
  EXPECT_EQ(QSettings().value("textZoom").toInt(), 100);
}

TEST(AccessibleNames, EveryControlHasOneAListenerUnderstands) {
  TmainForm form;
  const auto nameOf = [&form](const char* control) {
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(form.findChild<QWidget*>(control));
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(nameOf("srcMemo"), "Input text");
  EXPECT_EQ(nameOf("destMemo"), "Result");
  EXPECT_EQ(nameOf("vigenereKeyBox"), "Key :");
  EXPECT_EQ(nameOf("substKey1Box"), "Original alphabet :");
  EXPECT_EQ(nameOf("keyBox"), "Manipulation value:");
  EXPECT_EQ(nameOf("encodeBut"), "Encrypt");
  EXPECT_EQ(nameOf("bitXORradio"), "XOR");
}

}  // namespace
