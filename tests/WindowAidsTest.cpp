// The window as a newcomer meets it: the choice of line breaks, the note on
// what the output box hides, placeholders, the keys that tooltips name, and
// the keys themselves.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Application.h"
#include "CSpinEdit.h"
#include "WindowFixture.h"

namespace {

class WindowAidsTest : public WindowFixture {
 public:
  void press(const char* button) { control<QPushButton>(button)->click(); }
  void activate() {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  // Chooses `name` under "Line breaks" in `memo`'s menu, if given, and says
  // which choice the menu has checked then.
  QString lineBreakMenu(TMemo* memo, const char* name = nullptr) {
    std::unique_ptr<QMenu> menu(memo->createContextMenu());
    for (QAction* action : menu->actions()) {
      if (action->objectName() != "lineBreaks") continue;
      QString checked;
      for (QAction* choice : action->menu()->actions()) {
        if (name != nullptr && choice->objectName() == name) choice->trigger();
        if (choice->isChecked()) checked = choice->objectName();
      }
      return checked;
    }
    ADD_FAILURE() << "no \"Line breaks\" menu";
    return {};
  }

  // A file of `bytes` in the test's own folder.
  QString file(const QByteArray& bytes) {
    const QString path = folder.filePath(QString::number(files++));
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    return path;
  }

  QTemporaryDir folder;
  int files = 0;
};

struct LineBreakCase {
  const char* name;
  LineBreak lineBreak;
  std::string typed;   // "one", Enter, "two"
  std::string pasted;  // "a\nb\r\nc\rd"
};
const std::vector<LineBreakCase> kLineBreakCases = {
    {"crlf", LineBreak::crlf, "one\r\ntwo", "a\r\nb\r\nc\r\nd"},
    {"lf", LineBreak::lf, "one\ntwo", "a\nb\nc\nd"},
};

TEST_F(WindowAidsTest, TypingAndPastingGiveTheChosenLineBreaks) {
  EXPECT_EQ(lineBreakMenu(srcMemo()), "crlf");  // from the start
  for (const LineBreakCase& row : kLineBreakCases) {
    // Either box's menu chooses for both, and the choice is remembered.
    EXPECT_EQ(lineBreakMenu(destMemo(), row.name), row.name);
    EXPECT_EQ(lineBreakMenu(srcMemo()), row.name);
    EXPECT_EQ(form->lineBreak(), row.lineBreak);
    EXPECT_EQ(TmainForm::savedLineBreak(), row.lineBreak);

    srcMemo()->setFocus();
    srcMemo()->selectAll();
    QTest::keyClicks(srcMemo(), "one");
    QTest::keyClick(srcMemo(), Qt::Key_Return);
    QTest::keyClicks(srcMemo(), "two");
    EXPECT_EQ(srcMemo()->text(), row.typed) << row.name;

    QApplication::clipboard()->setText("a\nb\r\nc\rd");
    srcMemo()->selectAll();
    QTest::keyClick(srcMemo(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(srcMemo()->text(), row.pasted) << row.name;
    // A copy gives the platform's line breaks, whichever the bytes hold.
    srcMemo()->selectAll();
    QTest::keyClick(srcMemo(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "a\nb\nc\nd") << row.name;
  }
}

TEST_F(WindowAidsTest, SwitchingLineBreaksChangesNoByteInTheBoxes) {
  const std::string mixed = "a\r\nb\nc\rd";
  for (const LineBreakCase& row : kLineBreakCases) {
    srcMemo()->setText(mixed);
    destMemo()->setText(mixed);
    lineBreakMenu(srcMemo(), row.name);
    EXPECT_EQ(srcMemo()->text(), mixed) << row.name;
    EXPECT_EQ(destMemo()->text(), mixed) << row.name;
  }
}

TEST_F(WindowAidsTest, OpenedAndDroppedFilesKeepTheirLineBreaksUnderEitherChoice) {
  const QByteArray bytes = "one\ntwo\r\nthree\rfour\n\n";
  for (const LineBreakCase& row : kLineBreakCases) {
    form->setLineBreak(row.lineBreak);
    srcMemo()->setText("old");
    ASSERT_TRUE(form->openFile(file(bytes)));
    EXPECT_EQ(srcMemo()->text(), bytes.toStdString()) << row.name;

    srcMemo()->setText("old");
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(file(bytes))});
    QWidget* target = srcMemo()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_EQ(srcMemo()->text(), bytes.toStdString()) << row.name;

    // UTF-8 text is still read in the boxes' encoding, line breaks and all.
    form->setEncoding(text::Encoding::windows1252);
    ASSERT_TRUE(form->openFile(file("caf\xC3\xA9\n\xE2\x82\xAC\r\n")));
    EXPECT_EQ(srcMemo()->text(), "caf\xE9\n\x80\r\n") << row.name;
  }
}

struct NoteCase {
  const char* page;
  const char* radio;  // the option to choose, if any
  const char* input;
  bool decode;
  std::string shown;
  QString note;  // none where the whole result shows
};

TEST_F(WindowAidsTest, ANoteUnderTheResultSaysWhatTheBoxHides) {
  const QRect whole = destMemo()->geometry();
  const QString plural =
      "The box stops at a zero byte: %1 bytes are hidden. \"Save result as\u2026\" keeps them all.";
  const std::vector<NoteCase> cases = {
      {"bitManipPage", "bitXORradio", "HA", false, "", plural.arg(2)},
      {"URLPage", nullptr, "ab%00cd", true, "ab", plural.arg(3)},
      {"asciiPage", "bitDecRadio", "72 0", true, "H",
       "The box stops at a zero byte: 1 byte is hidden. \"Save result as\u2026\" keeps it."},
      {"morsePage", nullptr, "Hello", true, "", "The result is empty."},
      {"base64Page", nullptr, "Hi", false, "SGk=", {}},
  };
  auto* note = control<QLabel>("resultNote");
  control<TCSpinEdit>("keyBox")->setValue(72);
  for (const NoteCase& row : cases) {
    showPage(row.page);
    if (row.radio != nullptr) control<QRadioButton>(row.radio)->setChecked(true);
    srcMemo()->setText(row.input);
    press(row.decode ? "decodeBut" : "encodeBut");
    ASSERT_EQ(destMemo()->text(), row.shown) << row.input;
    EXPECT_EQ(note->isVisible(), !row.note.isEmpty()) << row.input;
    EXPECT_EQ(form->size(), QSize(490, 470));
    if (row.note.isEmpty()) {
      EXPECT_EQ(destMemo()->geometry(), whole);
      continue;
    }
    EXPECT_EQ(note->text(), row.note);
    // Under the box, within the box's own place, and read out.
    EXPECT_LT(destMemo()->geometry().bottom(), note->geometry().top());
    EXPECT_EQ(destMemo()->geometry().top(), whole.top());
    EXPECT_LE(note->geometry().bottom(), whole.bottom());
    EXPECT_GE(note->geometry().height(), note->fontMetrics().height());
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(note);
    EXPECT_EQ(read->text(QAccessible::Name), row.note);
    EXPECT_FALSE(read->text(QAccessible::Description).isEmpty());
    const QAccessibleInterface* box = QAccessible::queryAccessibleInterface(destMemo());
    EXPECT_EQ(box->text(QAccessible::Name), "Result");
    EXPECT_TRUE(box->text(QAccessible::Description).endsWith(row.note));
  }
  // A page change clears the result and its note.
  showPage("bitManipPage");
  srcMemo()->setText("H");
  press("encodeBut");  // H XOR 72 is a zero byte
  ASSERT_TRUE(note->isVisible());
  pages()->setCurrentIndex(0);
  ASSERT_TRUE(destMemo()->text().empty());
  EXPECT_FALSE(note->isVisible());
  EXPECT_EQ(destMemo()->geometry(), whole);
}

// Whether `memo` paints its placeholder: whether it looks otherwise without.
bool showsPlaceholder(TMemo* memo) {
  const QString placeholder = memo->placeholderText();
  const QImage with = memo->viewport()->grab().toImage();
  memo->setPlaceholderText({});
  const QImage without = memo->viewport()->grab().toImage();
  memo->setPlaceholderText(placeholder);
  return with != without;
}

TEST_F(WindowAidsTest, EmptyBoxesShowWhatTheyAreForAsNoPartOfTheText) {
  EXPECT_EQ(srcMemo()->placeholderText(), "Text to encrypt or decrypt");
  EXPECT_EQ(destMemo()->placeholderText(), "Result");
  for (TMemo* memo : {srcMemo(), destMemo()}) {
    const std::string name = memo->objectName().toStdString();
    memo->clearFocus();  // no caret blinking between two pictures
    EXPECT_TRUE(showsPlaceholder(memo)) << name;
    EXPECT_TRUE(memo->text().empty()) << name;
    memo->setText("x");
    EXPECT_FALSE(showsPlaceholder(memo)) << name;
    memo->clear();
    EXPECT_TRUE(showsPlaceholder(memo)) << name;
  }
  // The names stay what assistive tools knew them by.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(srcMemo())->text(QAccessible::Name),
            "Input text");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(destMemo())->text(QAccessible::Name), "Result");
}

TEST_F(WindowAidsTest, ButtonsAndOptionControlsNameTheirKeys) {
  const QString coding = "Ctrl+Return encrypts, Ctrl+Shift+Return decrypts.";
  for (const char* box :
       {"caesarShiftBox", "vigenereKeyBox", "substKey1Box", "substKey2Box", "keyBox"})
    EXPECT_EQ(control<QWidget>(box)->toolTip(),
              "Enter runs Encrypt, or Decrypt where Encrypt is off. " + coding)
        << box;
  for (const QRadioButton* radio : pages()->findChildren<QRadioButton*>())
    EXPECT_EQ(radio->toolTip(), coding) << radio->objectName().toStdString();
  EXPECT_TRUE(pages()->tabBar()->toolTip().startsWith("Ctrl+Tab or Ctrl+PgDown"));
  EXPECT_EQ(control<QPushButton>("encodeBut")->toolTip(), "Encrypt (Ctrl+Return)");
  EXPECT_EQ(control<QPushButton>("decodeBut")->toolTip(), "Decrypt (Ctrl+Shift+Return)");
  const QString about = control<QPushButton>("aboutBut")->toolTip();
  for (const char* key : {"Ctrl+Return", "Ctrl+Shift+Return", "Ctrl+O", "Ctrl+S", "Ctrl+Tab",
                          "Ctrl+PgUp", "Ctrl+Plus", "Ctrl+Minus", "Ctrl+0", "Enter"})
    EXPECT_TRUE(about.contains(key)) << key;
  // Every action that the window's keys run, whoever added it, by one of
  // its keys (Ctrl+Enter stands for Ctrl+Return, Ctrl+Shift+Backtab for
  // Ctrl+Shift+Tab).
  for (const QAction* action : form->findChildren<QAction*>()) {
    const QList<QKeySequence> keys = action->shortcuts();
    EXPECT_TRUE(keys.isEmpty() ||
                std::any_of(keys.begin(), keys.end(),
                            [&](const auto& key) {
                              return about.contains(key.toString(QKeySequence::NativeText));
                            }))
        << action->objectName().toStdString();
  }
}

TEST_F(WindowAidsTest, EnterAndSpacePressTheFocusedButton) {
  activate();
  showPage("base64Page");
  for (const auto& [button, key, shown] : {std::tuple{"encodeBut", Qt::Key_Return, "SGk="},
                                           std::tuple{"decodeBut", Qt::Key_Enter, "Hi"},
                                           std::tuple{"encodeBut", Qt::Key_Space, "SGk="}}) {
    srcMemo()->setText(key == Qt::Key_Enter ? "SGk=" : "Hi");
    destMemo()->clear();
    auto* pressed = control<QPushButton>(button);
    pressed->setFocus();
    QTest::keyClick(pressed, key);
    EXPECT_EQ(destMemo()->text(), shown) << button;
  }
}

TEST_F(WindowAidsTest, EnterInAnOptionBoxRunsEncryptOrElseDecrypt) {
  activate();
  struct BoxCase {
    const char* page;
    const char* box;
    const char* value;
    const char* input;
    std::string encrypted;
  };
  for (const BoxCase& row : std::vector<BoxCase>{
           {"caesarPage", "caesarShiftBox", "3", "Hello", "Khoor"},
           {"vigenerePage", "vigenereKeyBox", "LUX", "Hello", "Syiwi"},
           {"bitManipPage", "keyBox", "32", "abc", "ABC"},  // XOR 32 turns the case
       }) {
    showPage(row.page);
    if (std::string(row.box) == "keyBox") control<QRadioButton>("bitXORradio")->setChecked(true);
    srcMemo()->setText(row.input);
    auto* box = control<QWidget>(row.box);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, row.value);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(destMemo()->text(), row.encrypted) << row.box;
    EXPECT_EQ(srcMemo()->text(), row.input) << row.box;
  }
  // Where Encrypt is off, Enter decrypts.
  showPage("caesarPage");
  srcMemo()->setText("Khoor");
  control<QPushButton>("encodeBut")->setEnabled(false);
  QTest::keyClick(control<QWidget>("caesarShiftBox"), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(destMemo()->text(), "Hello");
}

TEST_F(WindowAidsTest, CtrlTabAndCtrlPageKeysChangePagesAndClearTheBoxes) {
  activate();
  const int count = pages()->count();
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int by;
  };
  const std::vector<Step> steps = {
      {Qt::Key_Tab, Qt::ControlModifier, 1},
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1},
      {Qt::Key_PageDown, Qt::ControlModifier, 1},
      {Qt::Key_PageUp, Qt::ControlModifier, -1},
  };
  for (const Step& step : steps) {
    // From the middle, and round past either end.
    for (int from : {3, count - 1, 0}) {
      pages()->setCurrentIndex(from);
      srcMemo()->setText("input");
      destMemo()->setText("output");
      srcMemo()->setFocus();
      QTest::keyClick(QApplication::focusWidget(), step.key, step.modifiers);
      EXPECT_EQ(pages()->currentIndex(), (from + step.by + count) % count)
          << step.key << " " << from;
      EXPECT_TRUE(srcMemo()->text().empty());
      EXPECT_TRUE(destMemo()->text().empty());
      // The typing goes on in the input box, not into a button.
      EXPECT_EQ(QApplication::focusWidget(), srcMemo());
    }
  }
}

TEST_F(WindowAidsTest, UndoAfterAPageChangeBringsTheInputBackOnTheNewPage) {
  activate();
  // Decrypt, use the result as input, go on to the next method's page.
  showPage("base64Page");
  srcMemo()->setText("S2hvb3I=");
  QTest::mouseClick(control<QPushButton>("decodeBut"), Qt::LeftButton);
  QTest::keyClick(form.get(), Qt::Key_U, Qt::ControlModifier);
  ASSERT_EQ(srcMemo()->text(), "Khoor");
  QTest::keyClick(srcMemo(), Qt::Key_PageUp, Qt::ControlModifier);
  ASSERT_TRUE(srcMemo()->text().empty());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(srcMemo()->text(), "Khoor");
  EXPECT_EQ(pages()->currentWidget()->objectName(), "vigenerePage");
  // One more Undo takes back the use of the result, as one edit.
  QTest::keyClick(srcMemo(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(srcMemo()->text(), "S2hvb3I=");
}

TEST_F(WindowAidsTest, ZoomStopsWhereTheTextStaysReadableAndSaysItsSize) {
  srcMemo()->setFocus();
  for (int i = 0; i < 20; ++i)
    QTest::keyClick(srcMemo(), Qt::Key_Minus, Qt::ControlModifier);
  const int floor = srcMemo()->zoom();
  EXPECT_EQ(destMemo()->zoom(), floor);
  // The shown text is 8 pixels high at the least, and one percent less
  // would take it under.
  const QFont shown = srcMemo()->inputMethodQuery(Qt::ImFont).value<QFont>();
  const qreal pixelsPerPoint = srcMemo()->logicalDpiY() / 72.0;
  EXPECT_GE(shown.pointSizeF() * pixelsPerPoint, 8 - 1e-9);
  EXPECT_LT(srcMemo()->font().pointSizeF() * (floor - 1) / 100 * pixelsPerPoint, 8);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("Text size %1%").arg(floor));
  QTest::keyClick(srcMemo(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(QToolTip::text(), "Text size 100%");
  QTest::keyClick(destMemo(), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(srcMemo()->zoom(), 110);
  EXPECT_EQ(QToolTip::text(), "Text size 110%");
}

// Runs the program with `arguments` and no display, and gives its status and
// what it printed.
std::pair<int, QString> runProgram(const QStringList& arguments) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(display);
  program.setProcessEnvironment(environment);
  program.setProcessChannelMode(QProcess::MergedChannels);
  program.start(ZEMBRAX_PROGRAM, arguments);
  EXPECT_TRUE(program.waitForFinished(10000));
  // (Windows' C runtime ends the lines of its standard error with CR LF.)
  return {program.exitCode(), QString::fromUtf8(program.readAll()).replace("\r\n", "\n")};
}

TEST(LineBreakOption, SetsTheLineBreaksForOneRunAndRefusesOthers) {
  const auto read = [](std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "zembrax");
    return readCommandLine(static_cast<int>(arguments.size()), const_cast<char**>(arguments.data()),
                           text::Encoding::utf8);
  };
  EXPECT_EQ(read({}).lineBreak, std::nullopt);
  EXPECT_EQ(read({"--line-breaks", "lf"}).lineBreak, LineBreak::lf);
  EXPECT_EQ(read({"--line-breaks=crlf"}).lineBreak, LineBreak::crlf);
  const StartRequest both = read({"--encoding", "utf-8", "--line-breaks", "lf"});
  EXPECT_EQ(both.encoding, text::Encoding::utf8);
  EXPECT_EQ(both.lineBreak, LineBreak::lf);
  EXPECT_EQ(both.status, std::nullopt);

  const auto [status, error] = runProgram({"--line-breaks", "cr"});
  EXPECT_EQ(status, 2);
  EXPECT_EQ(error, kProgramName + ": unknown line breaks 'cr'; they are crlf and lf\n");
  EXPECT_TRUE(runProgram({"--help"}).second.contains("--line-breaks <kind>"));
}

}  // namespace
