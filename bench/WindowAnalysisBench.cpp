#include "WindowAnalysisBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Interface.h"
#include "Memo.h"
#include "char/CharCoder.h"
#include "classic/ClassicCoder.h"

namespace {

constexpr std::size_t KiB = 1024;
constexpr std::size_t MiB = 1024 * KiB;
// The GUI thread may go this long without an event-loop turn: one frame.
constexpr double kLongestGapMs = 16;
// XOR with this value: 0x81 occurs in no text of the corpus.
constexpr std::uint8_t kXorValue = 0x81;
// Substitution's target is for a text of this many letters.
constexpr std::size_t kTargetLetters = 1000;

// English from the analysis corpus, repeated up to `size` bytes.
std::string english(std::size_t size) {
  std::ifstream in(ZEMBRAX_CORPUS_DIR "/en.txt", std::ios::binary);
  const std::string corpus{std::istreambuf_iterator<char>(in), {}};
  std::string text;
  text.reserve(size);
  while (!corpus.empty() && text.size() < size)
    text += corpus.substr(0, size - text.size());
  return text;
}

// The start of `text` that holds `letters` ASCII letters.
std::string firstLetters(const std::string& text, std::size_t letters) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < text.size() && seen < letters; ++end)
    seen += std::isalpha(static_cast<unsigned char>(text[end])) != 0 ? 1 : 0;
  return text.substr(0, end);
}

struct KeyCase {
  const char* name;
  const char* page;
  const char* button;
  double target;           // ms until the key is shown
  std::size_t targetSize;  // of the text the target is for; 0 for kTargetLetters letters
  std::string (*encrypt)(const std::string& plain);
};

const std::vector<KeyCase> kKeyCases = {
    {"Caesar", "caesarPage", "caesarFindKeyBut", 100, MiB,
     [](const std::string& plain) { return ClassicCoder().caesarShift(plain, 11); }},
    {"XOR", "bitManipPage", "bitFindKeyBut", 100, MiB,
     [](const std::string& plain) {
       // A value that is no byte of the corpus, so that no zero byte cuts
       // the text short.
       return CharCoder().bitwiseApply(plain, kXorValue, &CharCoder::bitXor);
     }},
    {"Vigenere", "vigenerePage", "vigenereFindKeyBut", 100, MiB,
     [](const std::string& plain) { return ClassicCoder().vigenereEncode(plain, "HARBOUR"); }},
    {"Substitution", "substPage", "substFindKeyBut", 1000, 0,
     [](const std::string& plain) {
       return CharCoder().substitute(plain, "abcdefghijklmnopqrstuvwxyz",
                                     "qwertyuiopasdfghjklzxcvbnm");
     }},
};

// What one analysis took: the click itself, the longest gap between turns
// of the event loop while it ran, and the time until its answer was shown.
struct Timing {
  double click, longestGap, shown;
};

// Clicks, then turns the event loop, with a timer of 0 ms noting the gaps,
// until the analysis has answered and the window is painted.
Timing timeAnalysis(TmainForm& form, const std::function<void()>& start) {
  QElapsedTimer clock;
  QElapsedTimer sinceTurn;
  double longestGap = 0;
  QTimer turns;
  turns.setInterval(0);
  // Only while the analysis runs: showing its answer is Decrypt's work.
  QObject::connect(&turns, &QTimer::timeout, [&] {
    if (form.analysisRunning())
      longestGap = std::max(longestGap, static_cast<double>(sinceTurn.nsecsElapsed()) / 1e6);
    sinceTurn.restart();
  });
  QApplication::processEvents();
  clock.start();
  start();
  const double click = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  sinceTurn.start();
  turns.start();
  while (form.analysisRunning())
    QApplication::processEvents();
  turns.stop();
  QApplication::processEvents();
  form.grab();
  return {click, longestGap, static_cast<double>(clock.nsecsElapsed()) / 1e6};
}

// A main window shown with `text` in its input box, on page `page`.
class Shown {
 public:
  Shown(const char* page, const std::string& text) {
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    form.findChild<QTabWidget*>("optionPagina")->setCurrentWidget(form.findChild<QWidget*>(page));
    form.findChild<TMemo*>("srcMemo")->setText(text);
  }

  TmainForm form;
};

// Milliseconds that a keystroke at the start of the input box takes until
// painted, while a substitution solve of `text` runs.
double keystrokeWhileSolving(const std::string& text) {
  Shown window("substPage", kKeyCases.back().encrypt(text));
  QApplication::setActiveWindow(&window.form);
  TMemo* input = window.form.findChild<TMemo*>("srcMemo");
  input->setFocus();
  QTest::keyClick(input, Qt::Key_Home, Qt::ControlModifier);
  window.form.findChild<QPushButton*>("substFindKeyBut")->click();
  QApplication::processEvents();
  QElapsedTimer clock;
  clock.start();
  QTest::keyClick(input, Qt::Key_X);
  QApplication::processEvents();
  window.form.grab();
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void printTiming(const std::string& label, const Timing& timing, double target) {
  std::printf("%-40s %9.1f%s %9.1f%s %9.1f%s %9s\n", label.c_str(), timing.click,
              timing.click > kLongestGapMs ? "!" : " ", timing.longestGap,
              timing.longestGap > kLongestGapMs ? "!" : " ", timing.shown,
              target > 0 && timing.shown > target ? "!" : " ",
              target > 0 ? std::to_string(static_cast<int>(target)).c_str() : "-");
}

}  // namespace

void measureAnalysis() {
  std::printf(
      "\nThe analysis, ms (! over target): the click (the first slice of the input copied for the "
      "job) and the "
      "longest gap between event-loop turns while it ran, each a block of the GUI thread "
      "(target %.0f), and the time until its answer is shown\n",
      kLongestGapMs);
  std::printf("%-40s %10s %10s %10s %9s\n", "", "click", "gap", "shown", "target");
  {
    // The language tables and chains are made on first use, which no row
    // should pay for: a cipher to name makes every cracker run.
    TmainForm form;
    form.findChild<TMemo*>("srcMemo")->setText(ClassicCoder().caesarShift(english(KiB), 3));
    timeAnalysis(form, [&form] { form.whatIsThisClick(); });
  }
  for (const KeyCase& key : kKeyCases) {
    std::vector<std::pair<std::string, std::size_t>> sizes = {
        {"1 KiB", KiB}, {"1 MiB", MiB}, {"16 MiB", 16 * MiB}};
    // A size of 0 stands for kTargetLetters letters.
    if (key.targetSize == 0) sizes.insert(sizes.begin(), {"1,000 letters", 0});
    for (const auto& [sizeName, size] : sizes) {
      const std::string plain =
          size == 0 ? firstLetters(english(4 * KiB), kTargetLetters) : english(size);
      Shown window(key.page, key.encrypt(plain));
      auto* button = window.form.findChild<QPushButton*>(key.button);
      const Timing timing = timeAnalysis(window.form, [button] { button->click(); });
      printTiming(std::string("Find key, ") + key.name + ", " + sizeName, timing,
                  size == key.targetSize ? key.target : 0);
      std::fflush(stdout);
    }
  }
  for (const auto& [name, layers] :
       std::vector<std::pair<const char*, std::string (*)(const std::string&)>>{
           {"Caesar",
            [](const std::string& plain) { return ClassicCoder().caesarShift(plain, 3); }},
           {"Base64 of Caesar", [](const std::string& plain) {
              return ClassicCoder().base64Encode(ClassicCoder().caesarShift(plain, 3));
            }}}) {
    Shown window("caesarPage", layers(english(MiB)));
    const Timing timing = timeAnalysis(window.form, [&window] { window.form.whatIsThisClick(); });
    printTiming(std::string("What is this?, ") + name + ", 1 MiB", timing, 0);
  }
  std::printf(
      "\nA keystroke in a 1 MiB input while a substitution solve runs: %.1f ms (target %.0f)\n",
      keystrokeWhileSolving(english(MiB)), kLongestGapMs);
}
