#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "CSpinEdit.h"
#include "WindowFixture.h"
#include "analysis/AnalysisController.h"
#include "analysis/AnalysisForm.h"
#include "analysis/AnalysisJob.h"
#include "analysis/LetterChart.h"
#include "analysis/PeriodChart.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"

namespace {

// Running English from the analysis corpus: enough letters for every
// cracker to be sure, substitution included.
std::string english() {
  std::ifstream in(ZEMBRAX_CORPUS "/en.txt", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  return text.substr(0, 3000);
}

const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
const std::string kScrambled = "QWERTYUIOPASDFGHJKLZXCVBNMqwertyuiopasdfghjklzxcvbnm";

// A solve that takes a while: the substitution of a long text.
std::string slowCipherText() {
  return CharCoder().substitute(english(), kLetters, kScrambled);
}

class AnalysisWindowTest : public WindowFixture {
 public:
  void SetUp() override {
    // Each test's analysis window is placed anew.
    QSettings().remove("analysisGeometry");
    WindowFixture::SetUp();
  }
  TanalysisForm* analysisForm() { return form->findChild<TanalysisForm*>(); }
  AnalysisController* controller() { return form->findChild<AnalysisController*>(); }
  QTreeWidget* candidates() { return control<QTreeWidget>("candidateList"); }

  void setInput(const std::string& bytes) {
    srcMemo()->selectAll();
    srcMemo()->insertBytes(bytes);
  }
  void click(const char* name) {
    QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
  }
  // A key pressed in the main window, in front again once the analysis
  // window has shown.
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form.get(), static_cast<Qt::Key>(key), modifiers);
  }
  // Waits for the analysis running to answer.
  bool answered() {
    return QTest::qWaitFor([this] { return !form->analysisRunning(); }, 60000);
  }
};

// A page's Find key, and what it must leave in the page's controls.
struct FindKeyRow {
  const char* page;
  const char* range;  // the radio checked first, or null
  std::string cipherText;
  std::function<void(AnalysisWindowTest&)> check;
};

TEST_F(AnalysisWindowTest, FindKeySetsThePagesOptionsAndDecrypts) {
  const std::string plain = english();
  using T = AnalysisWindowTest;
  const FindKeyRow rows[] = {
      {"caesarPage", "shiftOpt1", ClassicCoder().caesarShift(plain, 7),
       [](T& t) { EXPECT_EQ(t.control<TCSpinEdit>("caesarShiftBox")->value(), 7); }},
      {"caesarPage", "shiftOpt2", ClassicCoder().caesarShiftFull(plain, 200),
       [](T& t) {
         EXPECT_EQ(t.control<TCSpinEdit>("caesarShiftBox")->value(), 200);
         EXPECT_TRUE(t.control<QRadioButton>("shiftOpt2")->isChecked());
       }},
      {"vigenerePage", nullptr, ClassicCoder().vigenereEncode(plain, "HARBOUR"),
       [](T& t) { EXPECT_EQ(t.control<QLineEdit>("vigenereKeyBox")->text(), "HARBOUR"); }},
      {"substPage", nullptr, CharCoder().substitute(plain, kLetters, kScrambled),
       [](T& t) {
         EXPECT_EQ(t.control<QLineEdit>("substKey1Box")->text().toStdString(), kLetters);
         EXPECT_EQ(t.control<QLineEdit>("substKey2Box")->text().size(), 52);
       }},
      {"bitManipPage", "bitANDradio", CharCoder().bitwiseApply(plain, 90, &CharCoder::bitXor),
       [](T& t) {
         EXPECT_TRUE(t.control<QRadioButton>("bitXORradio")->isChecked());
         EXPECT_EQ(t.control<TCSpinEdit>("keyBox")->value(), 90);
       }},
  };
  for (const FindKeyRow& row : rows) {
    SCOPED_TRACE(row.page);
    showPage(row.page);
    if (row.range != nullptr) control<QRadioButton>(row.range)->setChecked(true);
    setInput(row.cipherText);
    key(Qt::Key_K);
    ASSERT_TRUE(answered());
    row.check(*this);
    const std::string found = destMemo()->text();
    // Exactly what the page's own button gives with those options.
    const bool bitwise = std::string_view(row.page) == "bitManipPage";
    click(bitwise ? "encodeBut" : "decodeBut");
    EXPECT_EQ(destMemo()->text(), found);
    if (std::string_view(row.page) == "substPage") {
      std::size_t same = 0;
      for (std::size_t i = 0; i < plain.size(); ++i)
        same += found[i] == plain[i] ? 1 : 0;
      EXPECT_GT(same, plain.size() * 97 / 100);
    } else {
      EXPECT_EQ(found, plain);
    }
    EXPECT_GE(candidates()->topLevelItemCount(), 1);
  }
}

TEST_F(AnalysisWindowTest, ARunnerUpChosenIsAppliedTheSameWay) {
  showPage("caesarPage");
  setInput(ClassicCoder().caesarShift(english().substr(0, 400), 3));
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  ASSERT_GE(candidates()->topLevelItemCount(), 2);
  EXPECT_EQ(candidates()->topLevelItem(0)->text(0), "Caesar shift 3");
  const QString second = candidates()->topLevelItem(1)->text(0);
  analysisForm()->chooseRow(1);
  QTest::mouseClick(control<QPushButton>("applyBut"), Qt::LeftButton);
  const int shift = control<TCSpinEdit>("caesarShiftBox")->value();
  EXPECT_EQ(second, QStringLiteral("Caesar shift %1").arg(shift));
  EXPECT_EQ(
      destMemo()->text(),
      ClassicCoder().caesarShift(ClassicCoder().caesarShift(english().substr(0, 400), 3), -shift));
}

TEST_F(AnalysisWindowTest, WhatIsThisNamesAndAppliesATwoLayerChain) {
  // The input box's menu offers it, with its key.
  std::unique_ptr<QMenu> menu(srcMemo()->createContextMenu());
  const QAction* offered = menu->findChild<QAction*>("whatIsThis");
  bool listed = false;
  for (const QAction* action : menu->actions())
    listed = listed || action->objectName() == "whatIsThis";
  EXPECT_TRUE(listed) << offered;

  showPage("URLPage");
  const std::string plain = english().substr(0, 1500);
  const std::string input = ClassicCoder().base64Encode(ClassicCoder().caesarShift(plain, 3));
  setInput(input);
  // Its key works where the typing goes, in the input box.
  QApplication::setActiveWindow(form.get());
  srcMemo()->setFocus();
  QTest::keyClick(srcMemo(), Qt::Key_I, Qt::ControlModifier);
  ASSERT_TRUE(answered());
  ASSERT_GE(candidates()->topLevelItemCount(), 1);
  EXPECT_EQ(candidates()->topLevelItem(0)->text(0), "Base64 \u2192 Caesar shift 3");
  EXPECT_EQ(candidates()->topLevelItem(0)->text(1), "English");
  EXPECT_TRUE(destMemo()->text().empty());  // nothing runs before Apply

  QTest::mouseClick(control<QPushButton>("applyBut"), Qt::LeftButton);
  EXPECT_EQ(control<QTabWidget>("optionPagina")->currentWidget()->objectName(), "caesarPage");
  EXPECT_EQ(control<TCSpinEdit>("caesarShiftBox")->value(), 3);
  EXPECT_EQ(destMemo()->text(), plain);
  EXPECT_EQ(analysisForm()->note(),
            "Ran 2 steps: Base64 \u2192 Caesar shift 3; the input is now what Caesar took");
  // The input is what the Caesar step took, so that the page's Decrypt
  // gives the result shown; Undo brings back the Base64.
  EXPECT_EQ(srcMemo()->text(), ClassicCoder().caesarShift(plain, 3));
  click("decodeBut");
  EXPECT_EQ(destMemo()->text(), plain);
  srcMemo()->undo();
  srcMemo()->undo();
  EXPECT_EQ(srcMemo()->text(), input);
}

TEST_F(AnalysisWindowTest, AResultForAnInputOrOptionsChangedSinceIsDropped) {
  showPage("caesarPage");
  const std::string cipherText = ClassicCoder().caesarShift(english(), 5);
  // The input changed, then an option, while the key was being found.
  for (const auto& change : std::vector<std::function<void()>>{
           [&] { setInput(cipherText + "."); },
           [&] { control<QRadioButton>("shiftOpt2")->setChecked(true); }}) {
    control<QRadioButton>("shiftOpt1")->setChecked(true);
    setInput(cipherText);
    destMemo()->clear();
    control<TCSpinEdit>("caesarShiftBox")->setValue(0);
    click("caesarFindKeyBut");
    change();
    EXPECT_FALSE(form->analysisRunning());
    QTest::qWait(500);  // time enough for the crack to end and hand its result in
    EXPECT_TRUE(destMemo()->text().empty());
    EXPECT_EQ(control<TCSpinEdit>("caesarShiftBox")->value(), 0);
  }
}

TEST_F(AnalysisWindowTest, ALongInputIsCopiedInSlicesUpToItsZeroByte) {
  showPage("caesarPage");
  std::string plain;
  while (plain.size() < 3 * AnalysisRunner::kCopySlice)
    plain += english();
  const std::string cipherText = ClassicCoder().caesarShift(plain, 11);
  // An edit while the input is still being copied drops the job.
  setInput(cipherText);
  click("caesarFindKeyBut");
  ASSERT_TRUE(form->analysisRunning());
  setInput(cipherText + "!");
  EXPECT_FALSE(form->analysisRunning());
  QTest::qWait(300);
  EXPECT_TRUE(destMemo()->text().empty());
  // Left alone, every slice reaches the job, and nothing past a zero byte.
  setInput(cipherText + std::string(1, '\0') + ClassicCoder().caesarShift(plain, 3));
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_EQ(control<TCSpinEdit>("caesarShiftBox")->value(), 11);
  EXPECT_EQ(destMemo()->text(), plain);
}

TEST_F(AnalysisWindowTest, CancelStopsTheSolveAndAppliesNothing) {
  showPage("substPage");
  setInput(slowCipherText());
  click("substFindKeyBut");
  ASSERT_TRUE(form->analysisRunning());
  // A result comes in only through the event loop, so none can come
  // between the click and the key.
  key(Qt::Key_Escape, Qt::NoModifier);
  EXPECT_FALSE(form->analysisRunning());
  EXPECT_FALSE(analysisForm()->isBusy());
  QTest::qWait(200);
  EXPECT_TRUE(destMemo()->text().empty());
  EXPECT_TRUE(control<QLineEdit>("substKey1Box")->text().isEmpty());
}

// A job that runs until it is stopped, however slow the machine.
AnalysisWork untilStopped() {
  return [](const std::string&, const std::atomic<bool>& stop) -> AnalysisOutcome {
    while (!stop)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return std::string("stopped");
  };
}

TEST(AnalysisRunnerTest, ALongJobShowsBusyUntilDroppedAndHandsNothingIn) {
  AnalysisRunner runner;
  std::vector<bool> busy;
  int finished = 0;
  QObject::connect(&runner, &AnalysisRunner::busyChanged, [&](bool on) { busy.push_back(on); });
  QObject::connect(&runner, &AnalysisRunner::finished, [&] { ++finished; });
  const std::string input = "input";
  runner.start(input, input.size(), untilStopped());
  EXPECT_TRUE(busy.empty());
  QTest::qWait(AnalysisRunner::kBusyDelayMs * 3 / 2);
  EXPECT_EQ(busy, std::vector<bool>{true});
  runner.drop();
  EXPECT_EQ(busy, (std::vector<bool>{true, false}));
  EXPECT_FALSE(runner.isRunning());
  QTest::qWait(100);
  EXPECT_EQ(finished, 0);
}

TEST_F(AnalysisWindowTest, ClosingTheAnalysisWindowStopsTheSolve) {
  showPage("substPage");
  setInput(slowCipherText());
  click("substFindKeyBut");
  ASSERT_TRUE(form->analysisRunning());
  analysisForm()->close();
  EXPECT_FALSE(form->analysisRunning());
  QTest::qWait(200);
  EXPECT_TRUE(destMemo()->text().empty());
}

TEST_F(AnalysisWindowTest, ClosingTheWindowMidSolveEndsCleanly) {
  showPage("substPage");
  setInput(slowCipherText());
  click("substFindKeyBut");
  ASSERT_TRUE(form->analysisRunning());
  form->close();
  form.reset();
  // Whatever the stopped solve hands in now has nowhere to go.
  QTest::qWait(100);
  QApplication::processEvents();
}

TEST_F(AnalysisWindowTest, UseResultAsInputMovesTheWholeResultUndoably) {
  showPage("bitManipPage");
  setInput("AB");
  control<QRadioButton>("bitXORradio")->setChecked(true);
  control<TCSpinEdit>("keyBox")->setValue(65);
  click("encodeBut");
  EXPECT_TRUE(destMemo()->text().empty());  // the box shows the result up to its zero byte
  key(Qt::Key_U);
  EXPECT_EQ(srcMemo()->text(), std::string("\0\3", 2));
  srcMemo()->undo();
  EXPECT_EQ(srcMemo()->text(), "AB");
}

TEST_F(AnalysisWindowTest, BadInputGetsAMessageAndNoBox) {
  showPage("vigenerePage");
  key(Qt::Key_K);
  EXPECT_EQ(destMemo()->text(), "Insufficient input...");
  destMemo()->clear();
  key(Qt::Key_I);
  EXPECT_EQ(destMemo()->text(), "Insufficient input...");
  setInput("12345 67890, 4711!");
  click("vigenereFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(analysisForm()->note(), "no letters to analyse");
  EXPECT_EQ(candidates()->topLevelItemCount(), 0);
}

TEST_F(AnalysisWindowTest, FindKeyChartsWhatTheKeyRestsOn) {
  showPage("vigenerePage");
  setInput(ClassicCoder().vigenereEncode(english(), "HARBOUR"));
  click("vigenereFindKeyBut");
  ASSERT_TRUE(answered());
  auto* letters = analysisForm()->findChild<LetterChart*>();
  auto* periods = analysisForm()->findChild<PeriodChart*>();
  ASSERT_NE(letters, nullptr);
  ASSERT_NE(periods, nullptr);
  ASSERT_EQ(letters->series().size(), 3u);
  EXPECT_EQ(letters->series()[0].name, "Input");
  EXPECT_EQ(letters->series()[1].name, "English");
  EXPECT_FALSE(periods->isHidden());
  EXPECT_EQ(periods->chosen(), 7u);
  EXPECT_GE(periods->coincidence().size(), 7u);

  // The charts follow the boxes' zoom.
  QApplication::setActiveWindow(form.get());
  srcMemo()->setFocus();
  QTest::keyClick(srcMemo(), Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_NE(srcMemo()->zoom(), 100);
  EXPECT_EQ(letters->zoom(), srcMemo()->zoom());

  // A Caesar key has no periods; a chain of steps no charts at all.
  showPage("caesarPage");
  setInput(ClassicCoder().caesarShift(english(), 4));
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_TRUE(periods->isHidden());
  EXPECT_FALSE(letters->isHidden());
  key(Qt::Key_I);
  ASSERT_TRUE(answered());
  EXPECT_TRUE(control<QWidget>("chartArea")->isHidden());
}

TEST_F(AnalysisWindowTest, EveryNewControlHasAnAccessibleName) {
  setInput("Khoor");
  showPage("caesarPage");
  setInput("Khoor zruog");
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  for (const char* name :
       {"caesarFindKeyBut", "vigenereFindKeyBut", "substFindKeyBut", "bitFindKeyBut",
        "candidateList", "applyBut", "cancelBut", "busyBar", "noteLabel", "chartArea"})
    EXPECT_FALSE(control<QWidget>(name)->accessibleName().isEmpty()) << name;
}

TEST_F(AnalysisWindowTest, AnAnswerGreysOutOnceItsInputOptionsOrPageChange) {
  const std::string cipherText = CharCoder().substitute(english(), kLetters, kScrambled);
  for (const auto& change : std::vector<std::function<void()>>{
           [&] { setInput(cipherText + "."); },
           [&] { control<QLineEdit>("substKey1Box")->setText("ABC"); },
           [&] { showPage("caesarPage"); }}) {
    showPage("substPage");
    setInput(cipherText);
    click("substFindKeyBut");
    ASSERT_TRUE(answered());
    EXPECT_EQ(analysisForm()->heading(), "Keys for Substitution, best first");
    EXPECT_FALSE(controller()->isStale());
    EXPECT_TRUE(control<QPushButton>("applyBut")->isEnabled());
    change();
    EXPECT_TRUE(controller()->isStale());
    EXPECT_EQ(control<QLabel>("staleLabel")->text(), "The input has changed: Find key again");
    EXPECT_FALSE(control<QLabel>("staleLabel")->isHidden());
    EXPECT_FALSE(candidates()->isEnabled());
    EXPECT_FALSE(control<QPushButton>("applyBut")->isEnabled());
  }
  // The old alphabets never reach the Caesar page's new text, whatever asks.
  setInput("Khoor");
  const QString page = pages()->currentWidget()->objectName();
  emit analysisForm()->applyRequested(0);
  EXPECT_EQ(pages()->currentWidget()->objectName(), page);
  EXPECT_TRUE(destMemo()->text().empty());
  // Applying a runner-up of a current answer keeps it current.
  setInput(ClassicCoder().caesarShift(english().substr(0, 400), 3));
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  emit analysisForm()->applyRequested(1);
  EXPECT_FALSE(controller()->isStale());
  EXPECT_TRUE(control<QLabel>("staleLabel")->isHidden());
}

TEST_F(AnalysisWindowTest, TheHeadingAndChartsSayWhatIsOnScreen) {
  showPage("vigenerePage");
  setInput(ClassicCoder().vigenereEncode(english(), "HARBOUR"));
  click("vigenereFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_EQ(analysisForm()->heading(), "Keys for Vigenere, best first");
  EXPECT_FALSE(control<QWidget>("chartArea")->isHidden());
  // A new job clears the charts and the list at once.
  showPage("substPage");
  setInput(slowCipherText());
  click("substFindKeyBut");
  ASSERT_TRUE(form->analysisRunning());
  EXPECT_TRUE(analysisForm()->heading().startsWith("Finding"));
  EXPECT_TRUE(control<QWidget>("chartArea")->isHidden());
  EXPECT_EQ(candidates()->topLevelItemCount(), 0);
  key(Qt::Key_Escape, Qt::NoModifier);
  EXPECT_EQ(analysisForm()->heading(), "Cancelled");
  // A job dropped because the input changed is cancelled too, and says why.
  click("substFindKeyBut");
  setInput("Khoor");
  EXPECT_EQ(analysisForm()->heading(), "Cancelled");
  EXPECT_EQ(control<QLabel>("staleLabel")->text(), "The input has changed: Find key again");
}

TEST_F(AnalysisWindowTest, RowsOfTheSameKeyMergeAndTheListAddsUpToAtMostAHundred) {
  using analysis::Language;
  const auto shift = [](int n) { return methods::Settings{{"shift", n}, {"full", false}}; };
  analysis::Report report{Language::en, {}, "", false, {}};
  report.candidates = {{shift(3), Language::en, {Language::fr}, 0.9, -1, "hello"},
                       {shift(3), Language::nl, {Language::fr}, 0.8, -2, "hello"},
                       {shift(5), Language::de, {}, 0.5, -3, "fcjjm"}};
  // Asked for on the Caesar page, answered by hand.
  showPage("caesarPage");
  setInput("Khoor zruog");
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  controller()->showOutcome(report);
  ASSERT_EQ(candidates()->topLevelItemCount(), 2);
  EXPECT_EQ(candidates()->topLevelItem(0)->text(0), "Caesar shift 3");
  EXPECT_EQ(candidates()->topLevelItem(0)->text(1), "English, French, Dutch");
  EXPECT_EQ(candidates()->topLevelItem(1)->text(1), "German");
  // 1.7 and 0.5, scaled to add up to 1: 77 % and 23 %.
  EXPECT_EQ(candidates()->topLevelItem(0)->text(2), "77 %");
  EXPECT_EQ(candidates()->topLevelItem(1)->text(2), "23 %");
  // Applying the merged row applies its key.
  emit analysisForm()->applyRequested(1);
  EXPECT_EQ(control<TCSpinEdit>("caesarShiftBox")->value(), 5);

  // Any answers: one row per key, each language once, at most 100 % in all.
  QRandomGenerator random(28);
  for (int round = 0; round < 200; ++round) {
    std::vector<Answer> answers;
    const int count = random.bounded(12);
    for (int i = 0; i < count; ++i)
      answers.push_back(
          {QString::number(random.bounded(4)),
           {static_cast<Language>(random.bounded(3)), static_cast<Language>(random.bounded(3))},
           random.generateDouble(),
           {}});
    std::vector<std::size_t> sources;
    const std::vector<TanalysisForm::Row> rows = mergedRows(answers, sources);
    ASSERT_EQ(rows.size(), sources.size());
    int total = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      EXPECT_EQ(rows[r].key, answers[sources[r]].key);
      for (std::size_t other = 0; other < r; ++other)
        EXPECT_NE(rows[r].key, rows[other].key);
      const QStringList languages = rows[r].language.split(", ");
      EXPECT_EQ(QSet<QString>(languages.begin(), languages.end()).size(), languages.size());
      EXPECT_GE(rows[r].percent, 0);
      total += rows[r].percent;
    }
    EXPECT_LE(total, 100);
  }
}

TEST_F(AnalysisWindowTest, TheWindowStandsClearOfTheMainWindowAndKeepsItsPlace) {
  // Beside, else under, else nowhere: never over the main window.
  const QRect main(400, 100, 490, 500);
  const QSize wanted(640, 600), least(300, 240);
  struct Room {
    QRect screen;
    bool fits;
  };
  for (const Room& room : {Room{{0, 0, 1920, 1080}, true}, Room{{0, 0, 1280, 900}, true},
                           Room{{300, 0, 900, 1400}, true}, Room{{380, 90, 520, 520}, false}}) {
    const std::optional<QRect> place = placeBeside(room.screen, main, wanted, least, 8);
    ASSERT_EQ(place.has_value(), room.fits) << room.screen.width();
    if (!place) continue;
    EXPECT_FALSE(place->intersects(main));
    EXPECT_TRUE(room.screen.contains(*place));
    EXPECT_GE(place->width(), least.width());
    EXPECT_GE(place->height(), least.height());
  }
  // On the screen, after Find key.
  showPage("caesarPage");
  setInput("Khoor zruog");
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_FALSE(analysisForm()->frameGeometry().intersects(form->frameGeometry()));
  // Moved and resized, it opens there again in the next run.
  const QRect moved = analysisForm()->geometry().adjusted(10, 10, -20, -20);
  analysisForm()->setGeometry(moved);
  const QPoint mainPlace = form->pos();
  form.reset();
  WindowFixture::SetUp();
  form->move(mainPlace);
  showPage("caesarPage");
  setInput("Khoor zruog");
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_EQ(analysisForm()->geometry(), moved);
  // Not where the main window stands now, though.
  analysisForm()->setGeometry(form->geometry());
  form.reset();
  WindowFixture::SetUp();
  showPage("caesarPage");
  setInput("Khoor zruog");
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_FALSE(analysisForm()->frameGeometry().intersects(form->frameGeometry()));
}

TEST_F(AnalysisWindowTest, ColumnsWidenAndTooltipsShowWholeCells) {
  showPage("substPage");
  setInput(CharCoder().substitute(english(), kLetters, kScrambled));
  click("substFindKeyBut");
  ASSERT_TRUE(answered());
  for (int column = 0; column < candidates()->columnCount(); ++column)
    EXPECT_EQ(candidates()->header()->sectionResizeMode(column), QHeaderView::Interactive);
  for (int row = 0; row < candidates()->topLevelItemCount(); ++row)
    for (int column = 0; column < candidates()->columnCount(); ++column)
      EXPECT_EQ(candidates()->topLevelItem(row)->toolTip(column),
                candidates()->topLevelItem(row)->text(column));
}

TEST_F(AnalysisWindowTest, CtrlKWithoutFindKeyAsksWhatIsThisAndSaysSo) {
  showPage("base64Page");
  setInput(ClassicCoder().base64Encode(english().substr(0, 300)));
  key(Qt::Key_K);
  ASSERT_TRUE(answered());
  EXPECT_EQ(analysisForm()->heading(), "What the input may be, likeliest first");
  EXPECT_TRUE(analysisForm()->note().startsWith(
      "This page has no Find key, so Ctrl+K asked What is this? instead."))
      << analysisForm()->note().toStdString();
  EXPECT_GE(candidates()->topLevelItemCount(), 1);
}

TEST_F(AnalysisWindowTest, F6MovesBetweenTheMainWindowAndTheList) {
  showPage("caesarPage");
  setInput("Khoor zruog");
  click("caesarFindKeyBut");
  ASSERT_TRUE(answered());
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  srcMemo()->setFocus();
  QTest::keyClick(srcMemo(), Qt::Key_F6);
  ASSERT_TRUE(QTest::qWaitForWindowActive(analysisForm()));
  EXPECT_EQ(QApplication::focusWidget(), candidates());
  QTest::keyClick(candidates(), Qt::Key_F6);
  ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form.get(); }));
  EXPECT_EQ(QApplication::focusWidget(), srcMemo())
      << QApplication::focusWidget()->objectName().toStdString();
}

}  // namespace

namespace {

// A crib typed into the known text settles a key that the letters of a
// short text cannot, and typing it greys out the answers found without it.
TEST_F(AnalysisWindowTest, TheKnownTextSettlesTheKeyOfAShortText) {
  const std::string plain = "meet me by the north gate";
  showPage("vigenerePage");
  setInput(ClassicCoder().vigenereEncode(plain, "QXZVW"));
  click("vigenereFindKeyBut");
  ASSERT_TRUE(answered());
  auto* known = control<QLineEdit>("knownTextBox");
  EXPECT_FALSE(known->accessibleName().isEmpty());
  QApplication::setActiveWindow(analysisForm());
  known->setFocus();
  QTest::keyClicks(known, "north");
  ASSERT_EQ(known->text(), "north");
  EXPECT_FALSE(control<QAbstractButton>("applyBut")->isEnabled());
  click("vigenereFindKeyBut");
  ASSERT_TRUE(answered());
  EXPECT_EQ(control<QLineEdit>("vigenereKeyBox")->text(), "QXZVW");
  EXPECT_EQ(destMemo()->text(), plain);
}

}  // namespace
