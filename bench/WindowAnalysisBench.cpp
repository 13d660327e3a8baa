#include "WindowAnalysisBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
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
// Enough English to hold about 1,000 letters.
constexpr std::size_t kThousandLetters = 1300;

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

struct KeyCase {
  const char* name;
  const char* page;
  const char* button;
  double target;  // ms until the key is shown at 1 MiB; 0 for none
  std::string (*encrypt)(const std::string& plain);
};

const std::vector<KeyCase> kKeyCases = {
    {"Caesar", "caesarPage", "caesarFindKeyBut", 100,
     [](const std::string& plain) { return ClassicCoder().caesarShift(plain, 11); }},
    {"XOR", "bitManipPage", "bitFindKeyBut", 100,
     [](const std::string& plain) {
       return CharCoder().bitwiseApply(plain, 77, &CharCoder::bitXor);
     }},
    {"Vigenere", "vigenerePage", "vigenereFindKeyBut", 100,
     [](const std::string& plain) { return ClassicCoder().vigenereEncode(plain, "HARBOUR"); }},
    {"Substitution", "substPage", "substFindKeyBut", 0,
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

void printTiming(const std::string& label, const Timing& timing, double target) {
  std::printf("%-40s %9.1f %9.1f%s %9.1f%s %9s\n", label.c_str(), timing.click, timing.longestGap,
              timing.longestGap > kLongestGapMs ? "!" : " ", timing.shown,
              target > 0 && timing.shown > target ? "!" : " ",
              target > 0 ? std::to_string(static_cast<int>(target)).c_str() : "-");
}

}  // namespace

void measureAnalysis() {
  std::printf(
      "\nThe analysis, ms (! over target): the click, the longest gap between event-loop turns "
      "while it ran (target %.0f), and until its answer is shown\n",
      kLongestGapMs);
  std::printf("%-40s %9s %10s %10s %9s\n", "", "click", "gap", "shown", "target");
  {
    // The language tables load on first use, which no row should pay for.
    TmainForm form;
    form.findChild<TMemo*>("srcMemo")->setText(english(KiB));
    timeAnalysis(form, [&form] { form.whatIsThisClick(); });
  }
  for (const KeyCase& key : kKeyCases) {
    std::vector<std::pair<std::string, std::size_t>> sizes = {
        {"1 KiB", KiB}, {"1 MiB", MiB}, {"16 MiB", 16 * MiB}};
    if (key.target == 0) sizes.insert(sizes.begin(), {"1,000 letters", kThousandLetters});
    for (const auto& [sizeName, size] : sizes) {
      TmainForm form;
      form.show();
      QTest::qWaitForWindowExposed(&form);
      form.findChild<QTabWidget*>("optionPagina")
          ->setCurrentWidget(form.findChild<QWidget*>(key.page));
      TMemo* input = form.findChild<TMemo*>("srcMemo");
      input->setText(key.encrypt(english(size)));
      auto* button = form.findChild<QPushButton*>(key.button);
      const Timing timing = timeAnalysis(form, [button] { button->click(); });
      // Substitution's target is for 1,000 letters; the others' for 1 MiB.
      const bool targeted = key.target == 0 ? size == kThousandLetters : size == MiB;
      printTiming(std::string("Find key, ") + key.name + ", " + sizeName, timing,
                  targeted ? (key.target == 0 ? 1000 : key.target) : 0);
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
    TmainForm form;
    form.show();
    QTest::qWaitForWindowExposed(&form);
    form.findChild<TMemo*>("srcMemo")->setText(layers(english(MiB)));
    const Timing timing = timeAnalysis(form, [&form] { form.whatIsThisClick(); });
    printTiming(std::string("What is this?, ") + name + ", 1 MiB", timing, 0);
  }
}
