#include "Interface.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Aboutmsg.h"
#include "BoxText.h"
#include "CSpinEdit.h"
#include "Memo.h"
#include "WindowFixture.h"

namespace {

using namespace std::string_literals;

// The pages by their object names, as the window finds them.
using Page = const char*;
constexpr Page caesar = "caesarPage", vigenere = "vigenerePage", base64 = "base64Page",
               substitution = "substPage", url = "URLPage", bitwise = "bitManipPage",
               numbers = "asciiPage", morse = "morsePage", lsb = "lsbPage",
               more = "moreMethodsPage";
constexpr Page kPages[] = {caesar,  vigenere, base64, substitution, url,
                           bitwise, numbers,  morse,  lsb,          more};

// Waits for the next modal window, hands it to `inspect` and closes it, so
// that a click that opens one returns. Gives up after five seconds.
void closeNextModal(std::function<void(QWidget*)> inspect) {
  auto* poll = new QTimer;
  auto waited = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, waited, inspect] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && ++*waited < 250) return;
    poll->stop();
    poll->deleteLater();
    inspect(modal);
    if (modal != nullptr) modal->close();
  });
  poll->start(20);
}

class MainFormTest : public WindowFixture {
 public:
  void SetUp() override {
    WindowFixture::SetUp();
    about = std::make_unique<TaboutForm>();
    mainForm = form.get();
    aboutForm = about.get();
  }

  void TearDown() override {
    mainForm = nullptr;
    aboutForm = nullptr;
  }

  void choosePage(Page page) {
    const int index = pages()->indexOf(control<QWidget>(page));
    QTabBar* bar = pages()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    ASSERT_EQ(pages()->currentIndex(), index);
  }

  // Clicks a button; a radio button on its indicator, which is part of what
  // takes clicks however wide the button is.
  void click(const char* name) {
    auto* button = control<QAbstractButton>(name);
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      radio ? QPoint(6, button->height() / 2) : button->rect().center());
  }

  // Types `text` key by key; characters beyond ASCII arrive as the text of a
  // key event, as an input method delivers them.
  static void typeText(QWidget* field, const QString& text) {
    for (QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClicks(field, QString(c));
      } else {
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  }

  // Replaces the text of an edit or spin edit by typing, as a user does.
  void typeInto(const char* name, const QString& text) {
    auto* field = control<QWidget>(name);
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    typeText(field, text);
  }

  void typeInput(const QString& text) {
    QTest::mouseClick(srcMemo(), Qt::LeftButton);
    QTest::keyClick(srcMemo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(srcMemo(), Qt::Key_Backspace);
    const QStringList lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0) QTest::keyClick(srcMemo(), Qt::Key_Return);
      typeText(srcMemo(), lines[i]);
    }
  }

  // Pastes bytes into the input box, in place of what it held.
  void pasteInput(const std::string& bytes) {
    srcMemo()->selectAll();
    srcMemo()->insertText(fromBytes(bytes, text::Encoding::windows1252));
  }

  std::string output() { return destMemo()->text(); }

  std::unique_ptr<TaboutForm> about;
};

struct PageCase {
  Page page;
  std::function<void(MainFormTest&)> options;
  QString input;
  const char* button;
  std::string result;
};

TEST_F(MainFormTest, EveryPageCodesThroughItsControls) {
  const auto none = [](MainFormTest&) {};
  const auto shift = [](const char* value, const char* range) {
    return [=](MainFormTest& t) {
      t.typeInto("caesarShiftBox", value);
      t.click(range);
    };
  };
  const auto radio = [](const char* name) { return [=](MainFormTest& t) { t.click(name); }; };
  const std::vector<PageCase> cases = {
      {caesar, shift("3", "shiftOpt1"), "Hello, World!", "encodeBut", "Khoor, Zruog!"},
      {caesar, shift("3", "shiftOpt1"), "Khoor, Zruog!", "decodeBut", "Hello, World!"},
      {caesar, shift("1", "shiftOpt2"), "abc", "encodeBut", "bcd"},
      {caesar, shift("1", "shiftOpt2"), "bcd", "decodeBut", "abc"},
      {vigenere, none, "Hello", "encodeBut", "Syiwi"},  // the key "LUX" from the start
      {vigenere, none, "Syiwi", "decodeBut", "Hello"},
      {base64, none, "Hello", "encodeBut", "SGVsbG8="},
      {base64, none, "SGVsbG8=", "decodeBut", "Hello"},
      {substitution,
       [](MainFormTest& t) {
         t.typeInto("substKey1Box", "abc");
         t.typeInto("substKey2Box", "bca");
       },
       "abc", "encodeBut", "bca"},
      {substitution, none, "abc", "decodeBut", "bca"},  // the alphabets are not swapped
      {url, none, "Hello World!", "encodeBut", "Hello%20World%21"},
      {url, none, "Hello%20World%21", "decodeBut", "Hello World!"},
      {bitwise,
       [](MainFormTest& t) {
         t.click("bitXORradio");
         t.typeInto("keyBox", "32");
       },
       "xyz", "encodeBut", "XYZ"},
      {numbers, none, "Hi", "encodeBut", "72 105 "},  // decimal from the start
      {numbers, none, "72 105", "decodeBut", "Hi"},
      {numbers, radio("bitBinRadio"), "Hi", "encodeBut", "0100100001101001"},
      {numbers, radio("bitBinRadio"), "0100100001101001", "decodeBut", "Hi"},
      {numbers, radio("bitHexRadio"), "Hi", "encodeBut", "48 69 "},
      {numbers, radio("bitHexRadio"), "48 69", "decodeBut", "HEX -> ASCII nog niet beschikbaar..."},
      {morse, none, "SOS", "encodeBut", "... --- ... "},
      {morse, none, "... --- ...", "decodeBut", "SOS"},
      {lsb, none, "Hello", "decodeBut", "01001"},
  };
  for (const PageCase& row : cases) {
    if (pages()->currentWidget()->objectName() != row.page) choosePage(row.page);
    row.options(*this);
    typeInput(row.input);
    click(row.button);
    EXPECT_EQ(output(), row.result)
        << "page " << row.page << ", " << row.button << " on " << row.input.toStdString();
  }
}

TEST_F(MainFormTest, RefusesIncompleteInput) {
  // An empty input box is refused on every page, whichever button works there.
  for (Page page : kPages) {
    choosePage(page);
    click(page == lsb ? "decodeBut" : "encodeBut");
    EXPECT_EQ(output(), "Insufficient input...") << "page " << page;
  }
  struct Field {
    Page page;
    const char* emptied;
    const char* filled;
  };
  const std::vector<Field> fields = {
      {vigenere, "vigenereKeyBox", nullptr},
      {substitution, "substKey1Box", "substKey2Box"},
      {substitution, "substKey2Box", "substKey1Box"},
      {bitwise, "keyBox", nullptr},
  };
  for (const auto& [page, emptied, filled] : fields) {
    choosePage(page);
    if (filled != nullptr) typeInto(filled, "ab");
    typeInto(emptied, "");
    typeInput("text");
    click("encodeBut");
    EXPECT_EQ(output(), "Insufficient input...") << emptied;
  }
  // One space is input.
  choosePage(base64);
  typeInput(" ");
  click("encodeBut");
  EXPECT_EQ(output(), "IA==");
}

TEST_F(MainFormTest, PageChangesClearTheBoxesAndSetTheButtons) {
  EXPECT_EQ(pages()->currentWidget()->objectName(), "asciiPage");
  const QStringList captions = {
      "Shift (Caesar)", "Vigenere", "Base64", "Substitution", "URL-encoding",
      "Bitwise",        "ASCII",    "Morse",  "LSB",          "More methods"};
  for (int page = 0; page < captions.size(); ++page)
    EXPECT_EQ(pages()->tabText(page), captions[page]);

  for (Page page : {bitwise, caesar, lsb, vigenere, bitwise, lsb, morse, base64}) {
    typeInput("input");
    destMemo()->setText("output");
    choosePage(page);
    EXPECT_TRUE(srcMemo()->text().empty()) << page;
    EXPECT_TRUE(destMemo()->text().empty()) << page;
    EXPECT_EQ(control<QPushButton>("encodeBut")->isEnabled(), page != lsb) << page;
    EXPECT_EQ(control<QPushButton>("decodeBut")->isEnabled(), page != bitwise) << page;
  }
}

TEST_F(MainFormTest, BitWidthStaysAcrossPageChanges) {
  click("RadioButton2");  // 7 bits
  choosePage(morse);
  choosePage(numbers);
  click("bitBinRadio");
  typeInput("Hi");
  click("encodeBut");
  EXPECT_EQ(output(), "10010001101001");
  click("RadioButton1");
  click("encodeBut");
  EXPECT_EQ(output(), "0100100001101001");
}

TEST_F(MainFormTest, NonIntegerValueIsShownAsAnErrorAndChangesNothing) {
  choosePage(bitwise);
  click("bitXORradio");
  typeInto("keyBox", "32");
  typeInput("abc");
  click("encodeBut");
  ASSERT_EQ(output(), "ABC");
  for (const char* value : {"-", "+", "1-", "99999999999"}) {
    typeInto("keyBox", value);
    QString message;
    closeNextModal([&message](QWidget* modal) {
      ASSERT_NE(modal, nullptr);
      message = modal->findChild<QLabel*>("qt_msgbox_label")->text();
    });
    click("encodeBut");
    EXPECT_EQ(message.toStdString(), "'"s + value + "' is not a valid integer value");
    EXPECT_EQ(output(), "ABC") << value;
  }
  // The program goes on.
  typeInto("keyBox", "1");
  click("encodeBut");
  EXPECT_EQ(output(), "`cb");
}

TEST_F(MainFormTest, ResultIsShownUpToItsFirstZeroByte) {
  choosePage(bitwise);
  click("bitXORradio");
  typeInto("keyBox", "65");
  typeInput("AbA");
  click("encodeBut");
  EXPECT_EQ(output(), "");
  choosePage(url);
  typeInput("ab%00cd");
  click("decodeBut");
  EXPECT_EQ(output(), "ab");
  choosePage(numbers);
  typeInput("72 0 105");
  click("decodeBut");
  EXPECT_EQ(output(), "H");
}

TEST_F(MainFormTest, HighBytesAndLineBreaksSurviveTheBoxes) {
  std::string bytes;
  for (int c = 1; c < 256; ++c) {
    if (c != '\r' && c != '\n') bytes += static_cast<char>(c);
  }
  bytes += "\r\nsecond line\r\n";
  choosePage(base64);
  pasteInput(bytes);
  click("encodeBut");
  const std::string coded = output();
  pasteInput(coded);
  click("decodeBut");
  EXPECT_EQ(output(), bytes);

  // Typed characters arrive in Windows-1252; others become '?'.
  choosePage(url);
  typeInput(QString::fromUtf16(u"\u00E9\u20AC\u00FF\n\u03A9"));
  click("encodeBut");
  EXPECT_EQ(output(), "%E9%80%FF%0D%0A%3F");
}

TEST_F(MainFormTest, AboutOpensModallyWithItsPictureAndLeavesTheBoxesAlone) {
  typeInput("input");
  destMemo()->setText("output");
  bool opened = false;
  closeNextModal([&](QWidget* modal) {
    ASSERT_EQ(modal, aboutForm);
    opened = true;
    EXPECT_EQ(modal->windowTitle(), "About");
    EXPECT_EQ(modal->size(), QSize(321, 199));
    const QLabel* picture = modal->findChild<QLabel*>("Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(190, 74));
    EXPECT_EQ(modal->findChild<QLabel*>("Label1")->text(), "Created by Harrowin team");
    // The version, under the credit lines and clear of them.
    const QLabel* version = modal->findChild<QLabel*>("versionLabel");
    EXPECT_EQ(version->text(), "Version " + QCoreApplication::applicationVersion());
    EXPECT_FALSE(QCoreApplication::applicationVersion().isEmpty());
    for (const char* credit : {"Label3", "Label4"}) {
      const QLabel* line = modal->findChild<QLabel*>(credit);
      EXPECT_GE(version->geometry().top(), line->geometry().bottom()) << credit;
    }
    EXPECT_LE(version->geometry().bottom(), modal->height());
  });
  click("aboutBut");
  EXPECT_TRUE(opened);
  EXPECT_FALSE(aboutForm->isVisible());
  EXPECT_EQ(srcMemo()->text(), "input");
  EXPECT_EQ(output(), "output");
}

TEST_F(MainFormTest, DecryptUndoesEncryptAtTheMostNegativeShift) {
  choosePage(caesar);
  typeInto("caesarShiftBox", "-2147483648");
  for (const char* range : {"shiftOpt1", "shiftOpt2"}) {
    click(range);
    const std::string text = "Hello, World! \xE9\xFF";
    pasteInput(text);
    click("encodeBut");
    const std::string coded = output();
    EXPECT_NE(coded, text) << range;
    pasteInput(coded);
    click("decodeBut");
    EXPECT_EQ(output(), text) << range;
  }
}

TEST_F(MainFormTest, WindowIsFixedAndShowsAllTabCaptions) {
  EXPECT_EQ(form->windowTitle(), "Zembrax - coded by Harrowin - v2");
  EXPECT_EQ(form->minimumSize(), QSize(490, 470));
  EXPECT_EQ(form->maximumSize(), QSize(490, 470));
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form->font().pointSize(), 8);
  const QTabBar* bar = pages()->tabBar();
  // On Windows, Qt's offscreen platform lays the tabs out in other fonts than
  // the windows platform, where the X test shows them.
  const bool fontsAsShown =
#ifdef _WIN32
      QGuiApplication::platformName() == "windows";
#else
      true;
#endif
  for (int page = 0; page < bar->count(); ++page) {
    const QRect tab = bar->tabRect(page);
    if (fontsAsShown) {
      EXPECT_LE(tab.right(), bar->width()) << page;
    }
    EXPECT_GE(tab.width(), bar->fontMetrics().horizontalAdvance(bar->tabText(page))) << page;
  }
  // Controls and their first state.
  EXPECT_EQ(control<QLineEdit>("vigenereKeyBox")->text(), "LUX");
  EXPECT_EQ(control<TCSpinEdit>("keyBox")->maxValue(), 255);
  EXPECT_EQ(control<TCSpinEdit>("caesarShiftBox")->text(), "0");
  for (const char* checked : {"shiftOpt1", "bitANDradio", "bitDecRadio", "RadioButton1"}) {
    EXPECT_TRUE(control<QRadioButton>(checked)->isChecked()) << checked;
  }
  EXPECT_EQ(control<QGroupBox>("bitGroup1")->title(), "Naar/Van");
}

TEST_F(MainFormTest, TabMovesThroughBothBoxesToTheButtons) {
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  const std::vector<QString> order = {"srcMemo", "destMemo", "encodeBut", "decodeBut", "aboutBut"};
  srcMemo()->setFocus();
  for (std::size_t i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), order[i]);
  }
  for (std::size_t i = order.size() - 1; i > 0; --i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), order[i - 1]);
  }
  EXPECT_TRUE(srcMemo()->text().empty());
}

TEST_F(MainFormTest, TakesLongKeysAndCutsTheInputAtAZeroCharacter) {
  const QString longText(40000, u'K');
  for (const char* box : {"vigenereKeyBox", "substKey1Box", "substKey2Box"}) {
    control<QLineEdit>(box)->setText(longText);
    EXPECT_EQ(control<QLineEdit>(box)->text().size(), 40000) << box;
  }
  choosePage(base64);
  srcMemo()->insertText(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
  click("encodeBut");
  EXPECT_EQ(output(), "YWI=");
}

TEST_F(MainFormTest, ShowsAResultOfAnySize) {
  choosePage(numbers);
  click("bitBinRadio");
  pasteInput(std::string(12 << 20, 'Z'));
  click("encodeBut");
  ASSERT_EQ(output().size(), std::size_t{96} << 20);
  EXPECT_EQ(output().substr(0, 16), "0101101001011010");
  EXPECT_GT(destMemo()->rowCount(), 1000000u);
  EXPECT_GT(destMemo()->verticalScrollBar()->maximum(), 0);
}

// Runs the action named `name` of a box's context menu.
void runMenuAction(TMemo* memo, const char* name) {
  std::unique_ptr<QMenu> menu(memo->createContextMenu());
  for (QAction* action : menu->actions()) {
    if (action->objectName() == name) return action->trigger();
  }
  ADD_FAILURE() << "no menu action " << name;
}

// The encoding that a box's "Text encoding" menu has checked, after
// choosing `name` there if given.
QString encodingMenu(TMemo* memo, const char* name = nullptr) {
  std::unique_ptr<QMenu> menu(memo->createContextMenu());
  QString checked;
  for (QAction* action : menu->actions()) {
    if (action->objectName() != "textEncoding") continue;
    for (QAction* choice : action->menu()->actions()) {
      if (name != nullptr && choice->objectName() == name) choice->trigger();
      if (choice->isChecked()) checked = choice->objectName();
    }
  }
  return checked;
}

TEST_F(MainFormTest, BothBoxesReadTheirBytesInTheEncodingChosenInEither) {
  const QString world = QStringLiteral("Zażółć gęślą jaźń — Привет, Γειά σου, 你好 😀");
  choosePage(base64);
  EXPECT_EQ(encodingMenu(srcMemo(), "utf-8"), "utf-8");
  EXPECT_EQ(encodingMenu(destMemo()), "utf-8");
  srcMemo()->insertText(world);
  EXPECT_EQ(QString::fromStdString(srcMemo()->text()), world);
  click("encodeBut");
  EXPECT_EQ(
      output(),
      "WmHFvMOzxYLEhyBnxJnFm2zEhSBqYcW6xYQg4oCUINCf0YDQuNCy0LXRgiwgzpPOtc65zqwgz4POv8+FLCDkvaDl"
      "pb0g8J+YgA==");

  // Another encoding reads the same bytes, and is remembered.
  const std::string input = srcMemo()->text();
  EXPECT_EQ(encodingMenu(destMemo(), "windows-1251"), "windows-1251");
  EXPECT_EQ(encodingMenu(srcMemo()), "windows-1251");
  EXPECT_EQ(srcMemo()->encoding(), text::Encoding::windows1251);
  EXPECT_EQ(srcMemo()->text(), input);
  EXPECT_EQ(TmainForm::savedEncoding(), text::Encoding::windows1251);

  // Option boxes are read in it too.
  choosePage(substitution);
  typeInto("substKey1Box", QStringLiteral("абв"));
  typeInto("substKey2Box", QStringLiteral("где"));
  srcMemo()->insertText(QStringLiteral("бабв"));
  click("encodeBut");
  EXPECT_EQ(output(), "\xE4\xE3\xE4\xE5");  // дгде
  EXPECT_EQ(encodingMenu(srcMemo(), "windows-1252"), "windows-1252");
}

TEST_F(MainFormTest, InvalidUtf8ShowsAsReplacementCharactersAndCopiesSo) {
  form->setEncoding(text::Encoding::utf8);
  choosePage(base64);
  typeInput("WmHFvP/igg==");
  click("decodeBut");
  EXPECT_EQ(output(), "Za\xC5\xBC\xFF\xE2\x82");
  destMemo()->selectAll();
  destMemo()->copy();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Zaż\uFFFD\uFFFD"));
}

TEST_F(MainFormTest, SaysWhenAKeyLosesCharactersToTheCodePage) {
  form->setEncoding(text::Encoding::windows1252);
  choosePage(vigenere);
  typeInto("vigenereKeyBox", QStringLiteral("κλειδί"));
  typeInput("abc");
  click("encodeBut");
  EXPECT_TRUE(QToolTip::text().startsWith("6 characters cannot be written in windows-1252"))
      << QToolTip::text().toStdString();
}

// The text of the next message box, once it has shown and been closed.
std::shared_ptr<QString> messageOfNextModal() {
  auto message = std::make_shared<QString>();
  closeNextModal([message](QWidget* modal) {
    ASSERT_NE(modal, nullptr);
    *message = modal->findChild<QLabel*>("qt_msgbox_label")->text();
  });
  return message;
}

class FilesTest : public MainFormTest {
 public:
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QByteArray read(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
  }

  // Drags `data` over the input box and drops it there, as a window does.
  void drop(QMimeData* data) {
    QWidget* target = srcMemo()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  }

  QTemporaryDir folder;
};

TEST_F(FilesTest, DroppedFilesAndTextReachTheInput) {
  typeInput("old");
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(write("in.txt", QByteArray("one\ntwo\r\xE9\0rest", 13)))});
  drop(&file);
  EXPECT_EQ(srcMemo()->text(), "one\ntwo\r\xE9");  // as it is, up to the zero
  QMimeData text;
  text.setText(QStringLiteral("\u20AC"));
  drop(&text);
  EXPECT_EQ(srcMemo()->text(), "\x80one\ntwo\r\xE9");  // dropped at the start
}

TEST_F(FilesTest, OpensAndSavesThroughTheMenusAndKeepsZeroBytes) {
  QString chosen = write("in.txt", "AbA");
  form->setFileChooser([&chosen](bool) { return chosen; });
  choosePage(bitwise);
  runMenuAction(srcMemo(), "openFile");
  EXPECT_EQ(srcMemo()->text(), "AbA");
  click("bitXORradio");
  typeInto("keyBox", "65");
  click("encodeBut");
  EXPECT_EQ(output(), "");  // the box stops at the first zero byte
  chosen = folder.filePath("out.bin");
  runMenuAction(destMemo(), "saveResult");
  EXPECT_EQ(read(chosen), QByteArray("\0#\0", 3));
  // Nothing chosen, nothing done.
  chosen.clear();
  runMenuAction(srcMemo(), "openFile");
  EXPECT_EQ(srcMemo()->text(), "AbA");
}

TEST_F(FilesTest, RefusesFilesItCannotReadOrWriteAndChangesNothing) {
  typeInput("keep");
  const QString missing = folder.filePath("missing.txt");
  auto message = messageOfNextModal();
  EXPECT_FALSE(form->openFile(missing));
  EXPECT_TRUE(message->contains(missing)) << message->toStdString();
  EXPECT_EQ(srcMemo()->text(), "keep");

  QFile huge(folder.filePath("huge.bin"));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(TmainForm::kLargestFile + 1));
  message = messageOfNextModal();
  EXPECT_FALSE(form->openFile(huge.fileName()));
  EXPECT_TRUE(message->contains("zembrax-cli")) << message->toStdString();
  EXPECT_EQ(srcMemo()->text(), "keep");

  const QString unwritable = folder.filePath("no/such/folder/out.txt");
  message = messageOfNextModal();
  EXPECT_FALSE(form->saveResult(unwritable));
  EXPECT_TRUE(message->contains(unwritable)) << message->toStdString();
  EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(MainFormTest, ShortcutsPressOnlyEnabledButtons) {
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_TRUE(control<QPushButton>("encodeBut")->toolTip().contains("Ctrl+Return"));
  EXPECT_TRUE(control<QPushButton>("decodeBut")->toolTip().contains("Ctrl+Shift+Return"));
  const auto press = [this](Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(srcMemo(), Qt::Key_Return, modifiers);
  };
  choosePage(bitwise);  // Decrypt is disabled here
  click("bitXORradio");
  typeInto("keyBox", "32");
  typeInput("abc");
  press(Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(output(), "");
  press(Qt::ControlModifier);
  EXPECT_EQ(output(), "ABC");
  EXPECT_EQ(srcMemo()->text(), "abc");  // no line break typed
  choosePage(lsb);                      // Encrypt is disabled here
  typeInput("Hello");
  press(Qt::ControlModifier);
  EXPECT_EQ(output(), "");
  press(Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(output(), "01001");
}

TEST_F(FilesTest, OpensOnlyRegularFiles) {
  typeInput("keep");
#ifdef _WIN32
  // A device, which is no file on a disk.
  const QString fifo = "NUL";
#else
  const QString fifo = folder.filePath("fifo");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
#endif
  for (const QString& path : {fifo, folder.path()}) {
    auto message = messageOfNextModal();
    EXPECT_FALSE(form->openFile(path));  // and does not wait for a writer
    EXPECT_TRUE(message->contains("not a regular file")) << message->toStdString();
  }
  EXPECT_EQ(srcMemo()->text(), "keep");
}

TEST_F(MainFormTest, RefusesToCopyMoreThanTheLimitAndPointsToSaving) {
  QApplication::clipboard()->setText("before");
  destMemo()->setText(std::string(TMemo::kLargestCopy + 1, 'a'));
  destMemo()->selectAll();
  auto message = messageOfNextModal();
  destMemo()->copy();
  EXPECT_TRUE(message->contains("Save result as")) << message->toStdString();
  EXPECT_EQ(QApplication::clipboard()->text(), "before");
}

#ifndef _WIN32
// Lowers the address space the process may take to what it takes now and
// `headroom` bytes more.
void limitMemory(std::size_t headroom) {
  QFile status("/proc/self/status");
  ASSERT_TRUE(status.open(QIODevice::ReadOnly));
  const QByteArray lines = status.readAll();
  const qsizetype at = lines.indexOf("VmSize:");
  ASSERT_GE(at, 0);
  const std::size_t taken =
      lines.mid(at + 7, lines.indexOf('\n', at) - at - 7).trimmed().split(' ').front().toULongLong()
      << 10;
  const rlimit limit{taken + headroom, RLIM_INFINITY};
  ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);
}

// Runs in a child process of this test program, whose memory it limits.
TEST_F(FilesTest, LeavesTheBoxesAsTheyWereWhenMemoryRunsOut) {
#ifdef ZEMBRAX_SANITIZED
  GTEST_SKIP() << "the sanitizers need more address space than any limit leaves";
#endif
  const QByteArray child = "ZEMBRAX_MEMORY_LIMITED";
  if (qEnvironmentVariableIsEmpty(child)) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(child, "1");
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationFilePath(),
                  {"--gtest_filter=FilesTest.LeavesTheBoxesAsTheyWereWhenMemoryRunsOut"});
    ASSERT_TRUE(program.waitForFinished(120000));
    const QByteArray output = program.readAll();
    EXPECT_EQ(program.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    return;
  }
  constexpr std::size_t kInput = std::size_t{48} << 20;
  choosePage(numbers);
  click("bitBinRadio");
  pasteInput(std::string(kInput, 'Z'));
  QApplication::clipboard()->setText(QString(kInput, u'y'));
  const QString large = write("large.txt", QByteArray(kInput * 2, 'x'));
  limitMemory(std::size_t{160} << 20);

  // An eight-fold result, a paste, a copy and a file, each larger than the
  // memory left.
  const std::vector<std::pair<const char*, std::function<void()>>> actions = {
      {"encrypt", [this] { click("encodeBut"); }},
      {"paste", [this] { QTest::keyClick(srcMemo(), Qt::Key_V, Qt::ControlModifier); }},
      {"copy", [this] { QTest::keyClick(srcMemo(), Qt::Key_C, Qt::ControlModifier); }},
      {"open the file", [this, &large] { form->openFile(large); }},
  };
  srcMemo()->setFocus();
  srcMemo()->selectAll();
  for (const auto& [doing, action] : actions) {
    auto message = messageOfNextModal();
    action();
    EXPECT_EQ(*message, QStringLiteral("Not enough memory to %1. Nothing was changed.").arg(doing));
    EXPECT_EQ(srcMemo()->text().size(), kInput) << doing;
    EXPECT_EQ(srcMemo()->text().find_first_not_of('Z'), std::string::npos) << doing;
    EXPECT_EQ(output(), "") << doing;
  }
  EXPECT_EQ(QApplication::clipboard()->text().size(), kInput);
  // The window goes on working.
  typeInput("A");
  click("encodeBut");
  EXPECT_EQ(output(), "01000001");
}
#endif
#ifdef _WIN32
TEST_F(FilesTest, LeavesTheBoxesAsTheyWereWhenMemoryRunsOut) {
  GTEST_SKIP() << "the memory limit is set with POSIX's setrlimit, which Windows lacks";
}
#endif

TEST_F(FilesTest, OpensUtf8TextInTheChosenCodePage) {
  form->setEncoding(text::Encoding::windows1250);
  EXPECT_TRUE(form->openFile(write("utf8.txt", "Zażółć 😀\n")));
  EXPECT_EQ(srcMemo()->text(), "Za\xBF\xF3\xB3\xE6 ?\n");
  EXPECT_TRUE(QToolTip::text().startsWith("1 character cannot be written in windows-1250"));
  // Bytes that are no UTF-8 come as they are.
  EXPECT_TRUE(form->openFile(write("bytes.bin", "\xBF\xF3")));
  EXPECT_EQ(srcMemo()->text(), "\xBF\xF3");
}

// Runs the program without a display, in `locale`, and gives its exit
// status, output and error output.
struct Finished {
  int status;
  QString output;
  QString error;
};
Finished runProgram(const QStringList& arguments, const QString& locale = "C.UTF-8") {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(display);
  environment.insert("LC_ALL", locale);
  program.setProcessEnvironment(environment);
  program.start(ZEMBRAX_PROGRAM, arguments);
  EXPECT_TRUE(program.waitForFinished(10000)) << arguments.join(' ').toStdString();
  // (Windows' C runtime ends the lines of its standard error with CR LF.)
  return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
          QString::fromUtf8(program.readAllStandardError()).replace("\r\n", "\n")};
}

TEST(Program, TakesTheLocalesEncodingAndRefusesUnknownOnes) {
  EXPECT_TRUE(
      runProgram({"--help"}, "C.UTF-8").output.simplified().contains("else the locale's (utf-8)"));
#ifdef _WIN32
  // The program's manifest sets the UTF-8 code page, whatever the locale.
  const char* const cLocale = "utf-8";
#else
  const char* const cLocale = "windows-1252";
#endif
  EXPECT_TRUE(runProgram({"--help"}, "C")
                  .output.simplified()
                  .contains(QStringLiteral("else the locale's (%1)").arg(cLocale)));
  const Finished refused = runProgram({"--encoding", "latin9"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(
      refused.error,
      kProgramName +
          ": unknown text encoding 'latin9'; the encodings are utf-8, windows-874, "
          "windows-1250, windows-1251, windows-1252, windows-1253, windows-1254, windows-1255, "
          "windows-1256, windows-1257, windows-1258\n");
}

TEST(Program, AnswersHelpAndVersionWithoutAWindow) {
  for (const auto& [option, expected] :
       {std::pair{"--help", "Usage:"}, std::pair{"--version", "Zembrax " ZEMBRAX_VERSION}}) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      environment.remove(display);
    program.setProcessEnvironment(environment);
    program.start(ZEMBRAX_PROGRAM, {option});
    ASSERT_TRUE(program.waitForFinished(10000)) << option;
    EXPECT_EQ(program.exitCode(), 0) << option;
    EXPECT_TRUE(program.readAllStandardOutput().contains(expected)) << option;
  }
}

}  // namespace
